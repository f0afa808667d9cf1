#pragma once

#include <QString>

#include <array>
#include <memory>
#include <vector>

class Database;

// The free list of the phone database (table "Liste": Nummer, Name, Ort):
// numbers the user names himself, read and written a row at a time. Errors
// of the engine reach the caller as JetFehler.
class FreieListe
{
public:
    using Werte = std::array<QString, 3>; // Nummer, Name, Ort

    struct Eintrag
    {
        qint64 id = 0; // the row in the table
        Werte werte;
    };

    explicit FreieListe(std::shared_ptr<Database> db);

    // Whether the database is there and open.
    static bool nutzbar(const std::shared_ptr<Database> &db);

    std::vector<Eintrag> alle() const;
    // Writes the values in one transaction, in place of row `id` (0: a new
    // row), and gives the row's id; on failure nothing is written. Values
    // are stored trimmed, an empty one as Null.
    qint64 speichere(qint64 id, const Werte &werte);
    void loesche(qint64 id);
    // A value as speichere stores it.
    static QString gespeichert(const QString &wert);

private:
    std::shared_ptr<Database> m_db;
};
