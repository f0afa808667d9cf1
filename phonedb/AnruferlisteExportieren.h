#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct Anruf;
class Dialogs;

// The command "Anruferliste exportieren…": asks where to, writes the caller
// list there as a table or, for a name ending in ".vcf", as an address book,
// and says so when it cannot.
class AnruferlisteExportieren
{
public:
    // The companies of the contacts with these ids (id → company); a
    // contact it does not know has none.
    using Firmensuche = std::function<QHash<QString, QString>(const QStringList &kontaktIds)>;

    // `anrufe`: the caller list in the order it shows them.
    AnruferlisteExportieren(Dialogs &dialogs, std::vector<Anruf> anrufe);
    ~AnruferlisteExportieren();

    // The path written; empty when nothing was (cancelled, failed, nothing to write).
    QString mnuAnruferlisteExportieren(const Firmensuche &firmen = {});
    // What was written, for the status bar: how many calls or contacts, and where.
    const QString &Meldung() const { return m_meldung; }

    // The file name offered first: the list of that day, in the user's home.
    static QString Vorschlag(const QString &ordner, QDate tag);
    static QString Titel();
    static QString Filter();

private:
    Dialogs &m_dialogs;
    std::vector<Anruf> m_anrufe;
    QString m_meldung;
};
