#include "platform/jet/DBEngine.h"

#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/Verbindung.h"
#include "platform/xbase/DbfModule.h"

#include <cerrno>
#include <deque>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// Every connection is used by one thread at a time (the search thread opens
// its own), so SQLite need not lock it for each call: loading a long caller
// list spent a tenth of its time in those locks.
constexpr int EineVerbindungEinThread = SQLITE_OPEN_NOMUTEX;

constexpr int WarteMs = 3000;

void likeFunktion(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // The pattern is usually the same for every row: compile it once.
    auto *muster = static_cast<JetLike *>(sqlite3_get_auxdata(ctx, 0));
    if (!muster) {
        const char *p = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
        muster = new JetLike(std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(argv[0]))));
        sqlite3_set_auxdata(ctx, 0, muster, [](void *m) { delete static_cast<JetLike *>(m); });
        muster = static_cast<JetLike *>(sqlite3_get_auxdata(ctx, 0));
        if (!muster) {
            // SQLite may drop auxiliary data at once; then match without keeping it.
            const char *p2 = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
            const JetLike einmal(std::string_view(p2, static_cast<std::size_t>(sqlite3_value_bytes(argv[0]))));
            const char *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
            sqlite3_result_int(ctx, einmal.matches(std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(argv[1])))));
            return;
        }
    }
    const char *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[1]));
    sqlite3_result_int(ctx, muster->matches(std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(argv[1])))));
}

struct Eigenfunktion
{
    QByteArray name;
    int argumente;
    DBEngine::Textfunktion funktion;
};

// Stable addresses: SQLite keeps a pointer to each for every connection.
std::deque<Eigenfunktion> &eigenfunktionen()
{
    static std::deque<Eigenfunktion> liste;
    return liste;
}

void textfunktion(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    const auto *f = static_cast<const Eigenfunktion *>(sqlite3_user_data(ctx));
    // NULL in, NULL out, as SQL's own functions do: an empty dBASE field is
    // NULL, and most fields of a row are empty.
    if (argc > 0 && sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // One list per thread, reused: the function runs for every row.
    thread_local std::vector<std::string_view> argumente;
    argumente.clear();
    for (int i = 0; i < argc; ++i) {
        const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(argv[i]));
        argumente.emplace_back(t ? std::string_view(t, std::size_t(sqlite3_value_bytes(argv[i]))) : std::string_view());
    }
    const std::string ergebnis = f->funktion(argumente);
    sqlite3_result_text(ctx, ergebnis.data(), int(ergebnis.size()), SQLITE_TRANSIENT);
}

void einrichten(sqlite3 *db)
{
    for (const Eigenfunktion &f : eigenfunktionen())
        sqlite3_create_function(db, f.name.constData(), f.argumente, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                const_cast<Eigenfunktion *>(&f), textfunktion, nullptr, nullptr);
    sqlite3_busy_timeout(db, WarteMs);
    sqlite3_extended_result_codes(db, 1);
    // LIKE speaks the engine's pattern language.
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunktion, nullptr, nullptr);
    // Rows that INSERT OR REPLACE pushes out must leave the trigram tables too.
    sqlite3_exec(db, "PRAGMA recursive_triggers = ON", nullptr, nullptr, nullptr);
    // A large sort (an index made over a million imported rows) takes a
    // second core for half its keys.
    sqlite3_exec(db, "PRAGMA threads = 1", nullptr, nullptr, nullptr);
}

[[noreturn]] void oeffnenFehlgeschlagen(sqlite3 *db, const QString &name)
{
    const int code = db ? sqlite3_errcode(db) : SQLITE_CANTOPEN;
    sqlite3_close_v2(db);
    if ((code & 0xFF) == SQLITE_NOTADB || (code & 0xFF) == SQLITE_CORRUPT)
        throw JetFehler(JetFehler::UnbekanntesFormat, u"Nicht erkanntes Datenbankformat '%1'."_s.arg(name));
    throw JetFehler(JetFehler::DateiNichtZuOeffnen,
                    u"Die Datei '%1' kann nicht geöffnet werden. Sie wird von einem anderen Programm "
                    u"ausschließlich verwendet, oder Ihnen fehlt die Berechtigung, ihre Daten anzuzeigen."_s
                        .arg(name));
}

} // namespace

void DBEngine::RegisterFunction(const QString &name, int argumente, Textfunktion funktion)
{
    for (Eigenfunktion &f : eigenfunktionen()) {
        if (f.name == name.toUtf8() && f.argumente == argumente) {
            f.funktion = std::move(funktion);
            return;
        }
    }
    eigenfunktionen().push_back({name.toUtf8(), argumente, std::move(funktion)});
}

DBEngine &DBEngine::instance()
{
    // A search reads every row and SQLite allocates for each value it hands
    // over; counting the allocations would take a global lock each time.
    static const bool ohneZaehlung = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    Q_UNUSED(ohneZaehlung);
    static DBEngine engine;
    return engine;
}

void DBEngine::setUhr(std::function<QDateTime()> uhr)
{
    m_uhr = std::move(uhr);
}

QDateTime DBEngine::jetzt() const
{
    return m_uhr ? m_uhr() : QDateTime::currentDateTime();
}

std::shared_ptr<Database> DBEngine::OpenDatabase(const QString &name, bool, bool readOnly, const QString &connect)
{
    auto uhr = [this] { return jetzt(); };
    if (connect.trimmed().startsWith(u"FoxPro"_s, Qt::CaseInsensitive)
        || connect.trimmed().startsWith(u"dBASE"_s, Qt::CaseInsensitive)) {
        const QFileInfo ordner(name);
        if (!ordner.isDir())
            throw JetFehler(JetFehler::UngueltigerPfad,
                            u"'%1' ist kein zulässiger Pfad. Stellen Sie sicher, dass der Pfad richtig "
                            u"geschrieben ist und dass eine Verbindung mit dem Server besteht, auf dem sich "
                            u"die Datei befindet."_s
                                .arg(name));
        sqlite3 *db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | EineVerbindungEinThread, nullptr) != SQLITE_OK)
            oeffnenFehlgeschlagen(db, name);
        einrichten(db);
        QString fehler;
        if (!DbfModule::attachFolder(db, name, &fehler)) {
            sqlite3_close_v2(db);
            throw JetFehler(JetFehler::UngueltigerPfad, fehler);
        }
        // The tables of a dBASE folder are never written.
        auto verbindung = std::make_shared<Verbindung>(db, name, true, uhr);
        return std::make_shared<Database>(verbindung);
    }

    const QFileInfo datei(name);
    if (!datei.absoluteDir().exists())
        throw JetFehler(JetFehler::UngueltigerPfad,
                        u"'%1' ist kein zulässiger Pfad. Stellen Sie sicher, dass der Pfad richtig geschrieben "
                        u"ist und dass eine Verbindung mit dem Server besteht, auf dem sich die Datei befindet."_s
                            .arg(datei.absolutePath()));
    if (!datei.exists() || datei.isDir())
        throw JetFehler(JetFehler::DateiNichtGefunden, u"Datei '%1' nicht gefunden."_s.arg(name));
    sqlite3 *db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | EineVerbindungEinThread;
    if (sqlite3_open_v2(QFile::encodeName(name).constData(), &db, flags, nullptr) != SQLITE_OK)
        oeffnenFehlgeschlagen(db, name);
    // A file that is not a database shows itself at the first read.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK)
        oeffnenFehlgeschlagen(db, name);
    einrichten(db);
    return std::make_shared<Database>(std::make_shared<Verbindung>(db, name, readOnly, uhr));
}

std::shared_ptr<Database> DBEngine::CreateDatabase(const QString &path)
{
    const QFileInfo datei(path);
    if (!datei.absoluteDir().exists())
        throw JetFehler(JetFehler::UngueltigerPfad,
                        u"'%1' ist kein zulässiger Pfad."_s.arg(datei.absolutePath()));
    if (datei.exists() || datei.isSymLink())
        throw JetFehler(3204, u"Die Datenbank '%1' existiert bereits."_s.arg(path));
    // A new database is its maker's alone (contact names and numbers go into
    // it), and a link planted in its place is never followed.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_CREAT | O_EXCL | O_NOFOLLOW | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST || errno == ELOOP)
            throw JetFehler(3204, u"Die Datenbank '%1' existiert bereits."_s.arg(path));
        throw JetFehler(3051, u"Die Datei '%1' kann nicht angelegt werden: %2."_s.arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::close(fd);
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW | EineVerbindungEinThread, nullptr) != SQLITE_OK)
        oeffnenFehlgeschlagen(db, path);
    einrichten(db);
    // Before the first table: larger pages take a million-row import and its
    // index builds through a quarter of the reads and writes.
    sqlite3_exec(db, "PRAGMA page_size = 16384", nullptr, nullptr, nullptr);
    auto verbindung = std::make_shared<Verbindung>(db, path, false, [this] { return jetzt(); });
    // Every new database starts with its catalogue, as a system table.
    verbindung->ausfuehrenNativ(u"CREATE TABLE MSysObjects (Name TEXT PRIMARY KEY, DateCreated TEXT)"_s);
    return std::make_shared<Database>(verbindung);
}
