#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The field-definition file of an ACT! database, read whole: runs of
// non-zero bytes, the section markers, and the field records in which a
// column's name follows its length byte, the run's last byte being the
// field's type code, then a zero, two unread bytes and the length-prefixed
// label. Everything is found in one pass over the file.
class Felddefinitionen
{
public:
    struct Fehler
    {
        long nummer;
        QString beschreibung;
    };

    struct Eintrag
    {
        int Feldart = 0;
        QString Bezeichnung;
    };

    // The bytes of the file; throws Fehler when the sections cannot be found.
    explicit Felddefinitionen(QByteArray datei);
    static Felddefinitionen lies(const QString &pfad);

    // Section bounds as positions counted from 1 (0 = not found).
    long KontaktEnde() const { return m_kontaktEnde; }
    long GruppenAnfang() const { return m_gruppenAnfang; }
    long GruppenEnde() const { return m_gruppenEnde; }

    // The definitions of the given columns in the contact section resp. the
    // group section; a column without a record is missing from the result.
    // Throws Fehler for a record that runs past the end of the file.
    QHash<QString, Eintrag> Kontaktfelder(const QStringList &namen) const;
    QHash<QString, Eintrag> Gruppenfelder(const QStringList &namen) const;

private:
    struct Lauf
    {
        qsizetype anfang; // 0-based index of the first byte
        qsizetype laenge;
        qsizetype ende() const { return anfang + laenge; } // index of the zero after it
    };

    // Runs tested for a section: from the first starting at or after
    // `ab` (0-based) up to the first whose next position lies beyond `grenze`.
    QHash<QString, Eintrag> suche(const QStringList &namen, qsizetype ab, long grenze) const;
    Eintrag eintrag(const Lauf &lauf, const QString &name) const;

    QByteArray m_daten; // the file and one zero byte
    std::vector<Lauf> m_laeufe;
    long m_kontaktEnde = 0;
    long m_gruppenAnfang = 0;
    long m_gruppenEnde = 0;
};
