#pragma once

#include "platform/teamjournal/Journalzeile.h"

#include <QList>
#include <QStringList>

#include <memory>

class Database;

// The desk's outbox for the team journal, a table in its own phone database:
// every call goes here first and leaves only when the journal has it, so
// that neither an outage nor a restart loses one.
class Teamausgang
{
public:
    // Creates the table when the database lacks it.
    explicit Teamausgang(std::shared_ptr<Database> db);

    static QString Tabelle();
    bool bereit() const { return m_bereit; }
    // Keeps the row, or puts it in place of the one with its call id.
    bool hinzufuegen(const Journalzeile &zeile);
    QList<Journalzeile> alle();
    // Takes out what the journal has: a row whose outcome came after it was
    // sent stays until the outcome is in the journal too.
    void entfernen(const QStringList &anrufIds, const QStringList &mitAusgang);
    int Anzahl();

    static QString alsText(const Journalzeile &zeile);
    static Journalzeile ausText(const QString &anrufId, const QString &text);

private:
    std::shared_ptr<Database> m_db;
    bool m_bereit = false;
};
