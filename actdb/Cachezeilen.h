#pragma once

#include "actdb/Zeilenleser.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class DbfTable;

// The number cache's rows read straight from the contact table: each phone
// field with its key, then name, company, city and id — what the cache's
// statement gives, without a statement engine between file and cache.
class Cachezeilen : public Zeilenleser
{
public:
    // Nothing when a field is missing or not a character field: then the
    // statement is the way (and reports what is wrong).
    static std::unique_ptr<Cachezeilen> oeffnen(const QString &datei, const QStringList &telefonfelder,
                                                const std::string &heimat);
    ~Cachezeilen() override;

    const Verbindung::Textzeile *naechste() override;
    qint64 ungefaehreAnzahl() const override;

private:
    Cachezeilen();

    std::unique_ptr<DbfTable> m_tabelle;
    std::string m_heimat;
    std::vector<int> m_telefon; // field positions of the phone fields
    std::vector<int> m_weitere; // name, company, city, id
    std::vector<std::string> m_texte; // the current row's values, one buffer per column
    Verbindung::Textzeile m_zeile;
};
