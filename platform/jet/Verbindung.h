#pragma once

#include "platform/jet/Trigrammnebenbau.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Fields;

// One open database file (or, for dBASE folders, an in-memory database that
// lists the folder's tables), shared by the database object and its
// recordsets. Prepared statements are kept and reused, since the program
// runs the same few statements for every call.
class Verbindung : public std::enable_shared_from_this<Verbindung>
{
public:
    using Uhr = std::function<QDateTime()>;
    // A row as UTF-8 texts, Null where empty, in the order of its fields.
    using Textzeile = std::vector<std::optional<std::string_view>>;

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

    // Trigram indexes: beside an indexed text column the engine keeps an FTS5
    // table of the column's trigrams, so that "LIKE '*digits*'" need not read
    // every row. Triggers keep it in step with the table; without them it is
    // not used.
    static QString Trigrammname(const QString &tabelle, const QString &spalte);
    static bool istTrigrammtabelle(const QString &name);
    // The SELECT of the rowids whose text in one of the columns may hold the
    // text, from the trigram tables. Empty when every row has to be read.
    QString teiltextsuche(const QString &tabelle, const QStringList &spalten, const QString &text);
    // The trigram table of a column when it is in step with the table, else empty.
    QString trigrammtabelle(const QString &tabelle, const QString &spalte);
    // Makes (or makes anew) the trigram table of a text column, filled from
    // the rows there are; nothing for other columns or when it cannot be made.
    void trigrammeAnlegen(const QString &tabelle, const QString &spalte);
    // Drops the trigram tables of a table that is about to go.
    void trigrammeEntfernen(const QString &tabelle);

    // An import into an empty table inside a transaction: the table's
    // indexes and trigram tables are set aside and made in one go at the end,
    // which is many times faster than keeping them up row by row. A unique
    // index over text columns goes too: the keys of the rows appended are
    // kept in memory, and a duplicate is still refused at once (see
    // schluesselPruefen); other unique indexes stay. True when the import
    // was taken on.
    bool massenimportBeginnen(const QString &tabelle);
    void massenimportAbschliessen(const QString &tabelle);
    // Before a commit: every import of the transaction is finished.
    void massenimporteAbschliessen();
    // After a rollback: what was set aside is back already.
    void massenimporteVerwerfen();
    // Refuses a row of an import whose key a set-aside unique index holds
    // already, as the index would. Gives the row's keys, to be remembered
    // with schluesselMerken once the row is in.
    std::vector<std::optional<quint64>> schluesselPruefen(const QString &tabelle, const ::Fields &felder,
                                                          const QVariantList &werte);
    std::vector<std::optional<quint64>> schluesselPruefen(const QString &tabelle, const ::Fields &felder,
                                                          const Textzeile &werte);
    void schluesselMerken(const QString &tabelle, const std::vector<std::optional<quint64>> &schluessel);

    [[noreturn]] static void doppelterWert();

private:
    struct Eindeutig
    {
        QString name;
        QString sql;
        QStringList spalten;
        std::vector<int> positionen; // of the columns in the rows last checked
        // Fingerprints of the keys, open addressing; 0 marks a free place.
        std::vector<quint64> fingerabdruecke;
        std::size_t belegt = 0;
    };
    struct Massenimport
    {
        QString tabelle;
        std::vector<Eindeutig> eindeutige;
        std::vector<std::pair<QString, QString>> indexe; // name, and the statement that makes it again
        QStringList trigrammspalten;
    };

    void zurueckgeben(const QString &schluessel, sqlite3_stmt *stmt);
    Massenimport *massenimport(const QString &tabelle);
    bool eindeutigZurueckstellbar(const QString &tabelle, const QString &index, QStringList &spalten);
    QStringList spalten(const QString &tabelle);
    void trigrammeFuellen(const QString &tabelle, const QString &spalte);
    // The columns' texts as trigrammeFuellen takes them, for a build elsewhere.
    std::vector<Trigrammnebenbau::Spalte> trigrammtexte(const QString &tabelle, const QStringList &spalten);
    // The index built in `quelle` into the column's trigram table, then its triggers.
    void trigrammeUebernehmen(const QString &tabelle, const QString &spalte, sqlite3 *quelle);
    void trigrammTriggerAnlegen(const QString &tabelle, const QString &spalte);
    void abschliessen(const Massenimport &import);
    qint64 zahl(const QString &sql, const QVariantList &parameter = {});
    // Runs the steps inside a savepoint: all of them or, on an error, none.
    void sicher(const std::function<void()> &schritte);

    sqlite3 *m_db;
    QString m_name;
    bool m_nurLesen;
    Uhr m_uhr;
    std::unordered_map<QString, std::vector<sqlite3_stmt *>> m_frei;
    // Statements whose translation does not depend on the clock, translated once.
    std::unordered_map<QString, QString> m_uebersetzt;
    std::vector<Massenimport> m_massenimporte;
    int m_sicherungspunkt = 0;
};
