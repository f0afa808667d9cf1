#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One open database file (or, for dBASE folders, an in-memory database that
// lists the folder's tables), shared by the database object and its
// recordsets. Prepared statements are kept and reused, since the program
// runs the same few statements for every call.
class Verbindung : public std::enable_shared_from_this<Verbindung>
{
public:
    using Uhr = std::function<QDateTime()>;

    // A prepared statement borrowed from the cache; goes back when destroyed.
    class Anweisung
    {
    public:
        Anweisung() = default;
        Anweisung(std::shared_ptr<Verbindung> verbindung, QString schluessel, sqlite3_stmt *stmt);
        Anweisung(Anweisung &&other) noexcept;
        Anweisung &operator=(Anweisung &&other) noexcept;
        Anweisung(const Anweisung &) = delete;
        Anweisung &operator=(const Anweisung &) = delete;
        ~Anweisung();

        sqlite3_stmt *get() const { return m_stmt; }
        explicit operator bool() const { return m_stmt != nullptr; }
        void freigeben();

    private:
        std::shared_ptr<Verbindung> m_verbindung;
        QString m_schluessel;
        sqlite3_stmt *m_stmt = nullptr;
    };

    Verbindung(sqlite3 *db, QString name, bool nurLesen, Uhr uhr);
    ~Verbindung();

    sqlite3 *db() const { return m_db; }
    const QString &name() const { return m_name; }
    bool nurLesen() const { return m_nurLesen; }
    bool offen() const { return m_db != nullptr; }
    QDateTime jetzt() const { return m_uhr ? m_uhr() : QDateTime::currentDateTime(); }
    void schliessen();

    // Prepares a statement in the engine's dialect (translated first), with
    // the parameters bound; throws a JetFehler.
    Anweisung vorbereiten(const QString &jetSql, const QVariantList &parameter = {});
    // Prepares SQLite's own dialect, untranslated.
    Anweisung vorbereitenNativ(const QString &sql, const QVariantList &parameter = {});
    // Runs a statement to its end; returns the rows it changed.
    int ausfuehren(const QString &jetSql, const QVariantList &parameter = {});
    void ausfuehrenNativ(const QString &sql, const QVariantList &parameter = {});

    // Turns the last SQLite failure into the engine's error.
    [[noreturn]] void fehler(int code, const QString &statement = {}) const;
    static void binde(sqlite3_stmt *stmt, int index, const QVariant &wert);

private:
    void zurueckgeben(const QString &schluessel, sqlite3_stmt *stmt);

    sqlite3 *m_db;
    QString m_name;
    bool m_nurLesen;
    Uhr m_uhr;
    std::unordered_map<QString, std::vector<sqlite3_stmt *>> m_frei;
    // Statements whose translation does not depend on the clock, translated once.
    std::unordered_map<QString, QString> m_uebersetzt;
};
