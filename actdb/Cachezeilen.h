#pragma once

#include "actdb/Zeilenleser.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DbfTable;

// The number cache's rows read straight from the contact table: each phone
// field (with its key, if asked for), then name, company, city and id — what
// the cache's statement gives, without a statement engine between file and
// cache. The
// file is read and the keys are made on a thread of their own, a few hundred
// rows ahead, while the rows before go into the cache.
class Cachezeilen : public Zeilenleser
{
public:
    // Nothing when a field is missing or not a character field: then the
    // statement is the way (and reports what is wrong).
    static std::unique_ptr<Cachezeilen> oeffnen(const QString &datei, const QStringList &telefonfelder,
                                                const std::string &heimat, bool mitSchluesseln = true);
    ~Cachezeilen() override;

    const Verbindung::Textzeile *naechste() override;
    qint64 ungefaehreAnzahl() const override { return m_anzahl; }

private:
    // Rows read in one go: their values one after another, with where each
    // begins and how long it is (-1 for Null).
    struct Stapel
    {
        std::string daten;
        std::vector<std::pair<std::size_t, std::ptrdiff_t>> werte;
        std::size_t zeilen = 0;
    };

    Cachezeilen();
    void lesen();

    std::unique_ptr<DbfTable> m_tabelle; // the reading thread's alone once it runs
    std::string m_heimat;
    bool m_mitSchluesseln = true;
    std::vector<int> m_telefon; // field positions of the phone fields
    std::vector<int> m_weitere; // name, company, city, id
    std::size_t m_spalten = 0;
    qint64 m_anzahl = 0;

    std::mutex m_mutex;
    std::condition_variable m_bereit;
    std::deque<std::unique_ptr<Stapel>> m_voll;
    std::vector<std::unique_ptr<Stapel>> m_leer;
    bool m_fertig = false;     // the file is read to its end, or could not be
    bool m_abbrechen = false;  // the rows are no longer wanted
    QString m_fehler;
    std::thread m_leser;

    std::unique_ptr<Stapel> m_stapel; // the rows handed out now
    std::size_t m_naechste = 0;
    Verbindung::Textzeile m_zeile;
};
