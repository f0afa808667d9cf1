#include "platform/jet/Trigrammnebenbau.h"

#include "platform/jet/JetSql.h"

#include <QFile>

#include <memory>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

using Anweisung = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

QString meldung(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

void Trigrammnebenbau::Spalte::dazu(std::int64_t zeile, const char *text, std::size_t laenge)
{
    zeilen.push_back(zeile);
    texte.append(text, laenge);
    enden.push_back(texte.size());
}

Trigrammnebenbau::Trigrammnebenbau(std::vector<Spalte> spalten)
    : m_spalten(std::move(spalten))
{
    m_faden = std::thread([this] { bauen(); });
}

Trigrammnebenbau::~Trigrammnebenbau()
{
    m_abbrechen = true;
    if (m_faden.joinable())
        m_faden.join();
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString Trigrammnebenbau::abwarten()
{
    if (m_faden.joinable())
        m_faden.join();
    return m_fehler;
}

void Trigrammnebenbau::bauen()
{
    m_fehler = bauenMitFehler();
    // The texts are in the index now, or of no use.
    for (Spalte &s : m_spalten) {
        s.zeilen = {};
        s.enden = {};
        s.texte = {};
    }
}

QString Trigrammnebenbau::bauenMitFehler()
{
    if (!m_ordner.isValid())
        return u"kein Ordner für die Zwischendatei: "_s + m_ordner.errorString();
    const QByteArray pfad = QFile::encodeName(m_ordner.filePath(u"trigramme.db"_s));
    if (sqlite3_open_v2(pfad.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr)
        != SQLITE_OK)
        return m_db ? meldung(m_db) : u"Zwischendatei nicht geöffnet"_s;
    // A scratch file: nothing in it needs to survive a crash.
    if (sqlite3_exec(m_db, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", nullptr, nullptr, nullptr)
        != SQLITE_OK)
        return meldung(m_db);
    for (const Spalte &s : m_spalten) {
        if (sqlite3_exec(m_db, s.anlage.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return meldung(m_db);
        const QByteArray sql = (u"INSERT INTO %1(rowid, %2) VALUES (?1, ?2)"_s.arg(
                                    JetSql::quoteIdentifier(s.tabelle), JetSql::quoteIdentifier(s.spalte)))
                                   .toUtf8();
        sqlite3_stmt *roh = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &roh, nullptr) != SQLITE_OK)
            return meldung(m_db);
        const Anweisung einfuegen(roh, &sqlite3_finalize);
        std::size_t anfang = 0;
        for (std::size_t i = 0; i < s.zeilen.size(); ++i) {
            if (i % 4096 == 0 && m_abbrechen)
                return u"abgebrochen"_s;
            sqlite3_bind_int64(roh, 1, s.zeilen[i]);
            sqlite3_bind_text64(roh, 2, s.texte.data() + anfang, s.enden[i] - anfang, SQLITE_STATIC, SQLITE_UTF8);
            if (sqlite3_step(roh) != SQLITE_DONE)
                return meldung(m_db);
            sqlite3_reset(roh);
            anfang = s.enden[i];
        }
    }
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return meldung(m_db);
    return {};
}
