#pragma once

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

struct sqlite3;

// The trigram tables of some columns of a large import, built on a second
// core while the connection fills the others: FTS5 writes the same index
// wherever it builds it, so they are built in a scratch file of their own
// from the columns' texts, read out beforehand, and their index is copied
// into the database afterwards. A million contacts have ten such columns,
// and filling them was most of the time a number cache took to build.
class Trigrammnebenbau
{
public:
    struct Spalte
    {
        QString tabelle; // the trigram table
        QString spalte;  // its column
        QString anlage;  // the statement that made it, as the schema holds it
        std::vector<std::int64_t> zeilen;
        std::vector<std::size_t> enden; // where each row's text ends in `texte`
        std::string texte;              // UTF-8, one after the other

        void dazu(std::int64_t zeile, const char *text, std::size_t laenge);
    };

    // Starts building at once.
    explicit Trigrammnebenbau(std::vector<Spalte> spalten);
    // Waits for a build still under way, which stops at its next row.
    ~Trigrammnebenbau();
    Trigrammnebenbau(const Trigrammnebenbau &) = delete;
    Trigrammnebenbau &operator=(const Trigrammnebenbau &) = delete;

    // Waits for the build: empty when it succeeded, else why not.
    QString abwarten();
    // The scratch file's connection, to read the built tables from once
    // abwarten succeeded; its shadow tables bear the trigram tables' names.
    sqlite3 *datei() const { return m_db; }

private:
    void bauen();
    QString bauenMitFehler();

    QTemporaryDir m_ordner;
    std::vector<Spalte> m_spalten;
    sqlite3 *m_db = nullptr;
    QString m_fehler;
    std::atomic<bool> m_abbrechen{false};
    std::thread m_faden;
};
