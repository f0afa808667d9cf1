#pragma once

#include "core/Anruf.h"

#include <QHash>
#include <QList>
#include <QObject>

#include <deque>
#include <memory>
#include <vector>

// The calls of the caller list, in the order they came in (a reload: in the
// order the store gave them). Each has a key for as long as it is in the
// list; a new call is appended, whatever order the window shows. The calls
// loaded at start are kept lean: what the list shows and its commands need,
// the texts many calls share kept once.
class Anruferliste : public QObject
{
    Q_OBJECT

public:
    explicit Anruferliste(QObject *parent = nullptr);
    ~Anruferliste() override;

    // Appends the call; its key (also put into the list's copy as `eintrag`).
    quint64 hinzufuegen(const Anruf &anruf);
    // The call with the key `anruf.eintrag` becomes `anruf`; unknown keys are ignored.
    void aktualisieren(const Anruf &anruf);
    bool enthaelt(quint64 eintrag) const;
    // The call with that key; an empty record (eintrag 0) when there is none.
    Anruf anruf(quint64 eintrag) const;

    int Anzahl() const { return static_cast<int>(m_eintraege.size()); }
    // By position in the order of arrival, 0 = the first.
    Anruf an(int stelle) const;
    // Only the moment, for ordering many calls without copying them.
    const QDateTime &Zeit(int stelle) const { return m_eintraege[stelle].zeit; }
    quint64 Schluessel(int stelle) const { return m_erster + static_cast<quint64>(stelle); }
    // Position of the call with that key in the order of arrival; -1 when it is not in the list.
    int Stelle(quint64 eintrag) const;
    // The key of the call appended last; 0 when the list is empty.
    quint64 ZuletztHinzugefuegt() const;

    // Replaces every call (a reload from the store); the old keys are gone.
    void ersetzen(const std::vector<Anruf> &anrufe);
    void leeren();
    // A reload call by call, as the store reads its rows: the calls so far
    // go, the stored ones come, the end tells whoever shows the list.
    void ladenBeginnen();
    void laden(const Anruf &anruf);
    void ladenBeenden();

signals:
    void Hinzugefuegt(quint64 eintrag);
    void Geaendert(quint64 eintrag);
    // Every call was replaced.
    void Ersetzt();

private:
    struct Eintrag
    {
        QDateTime zeit;
        // The whole record of a call taken while the program runs; none for a loaded one.
        std::unique_ptr<Anruf> ganz;
        quint32 nummer = 0; // where its digits begin in m_ziffern
        quint32 ort = 0;    // these by their number in m_texte
        quint32 name = 0;
        quint32 kontaktId = 0;
        quint32 angerufen = 0;
        qint32 dauer = -1;
        quint16 nummerLaenge = 0;
        quint8 bild = 0;
        quint8 ergebnis = 0; // Anruf::Ergebnis
        bool nachgetragen = false;
        bool verpasst = false;
    };
    void uebernehmen(Eintrag &eintrag, const Anruf &anruf);
    quint32 textNr(const QString &text);

    std::deque<Eintrag> m_eintraege;
    quint64 m_erster = 1; // the key of the first entry; keys count on from there
    // The numbers' characters one after the other: a hundred thousand
    // numbers without a hundred thousand allocations.
    std::vector<QChar> m_ziffern;
    QList<QString> m_texte{QString()}; // 0: the empty text
    QHash<QString, quint32> m_textNr;
};
