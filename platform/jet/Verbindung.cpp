#include "platform/jet/Verbindung.h"

#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"

#include <QRegularExpression>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// Kept statements per text; enough for the program's few statements without
// holding on to every one-off search.
constexpr std::size_t MaxFreiProText = 4;
constexpr std::size_t MaxTexte = 64;

QString meldung(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : u"Datenbank geschlossen"_s;
}

} // namespace

Verbindung::Anweisung::Anweisung(std::shared_ptr<Verbindung> verbindung, QString schluessel,
                                 sqlite3_stmt *stmt)
    : m_verbindung(std::move(verbindung))
    , m_schluessel(std::move(schluessel))
    , m_stmt(stmt)
{
}

Verbindung::Anweisung::Anweisung(Anweisung &&other) noexcept
    : m_verbindung(std::move(other.m_verbindung))
    , m_schluessel(std::move(other.m_schluessel))
    , m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

Verbindung::Anweisung &Verbindung::Anweisung::operator=(Anweisung &&other) noexcept
{
    if (this != &other) {
        freigeben();
        m_verbindung = std::move(other.m_verbindung);
        m_schluessel = std::move(other.m_schluessel);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

Verbindung::Anweisung::~Anweisung()
{
    freigeben();
}

void Verbindung::Anweisung::freigeben()
{
    if (!m_stmt)
        return;
    if (m_verbindung && m_verbindung->offen())
        m_verbindung->zurueckgeben(m_schluessel, m_stmt);
    else
        sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_verbindung.reset();
}

Verbindung::Verbindung(sqlite3 *db, QString name, bool nurLesen, Uhr uhr)
    : m_db(db)
    , m_name(std::move(name))
    , m_nurLesen(nurLesen)
    , m_uhr(std::move(uhr))
{
}

Verbindung::~Verbindung()
{
    schliessen();
}

void Verbindung::schliessen()
{
    if (!m_db)
        return;
    for (auto &[text, liste] : m_frei) {
        for (sqlite3_stmt *stmt : liste)
            sqlite3_finalize(stmt);
    }
    m_frei.clear();
    // Statements still held by open recordsets are finalised by them.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void Verbindung::zurueckgeben(const QString &schluessel, sqlite3_stmt *stmt)
{
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    auto it = m_frei.find(schluessel);
    if (it == m_frei.end() && m_frei.size() >= MaxTexte) {
        sqlite3_finalize(stmt);
        return;
    }
    std::vector<sqlite3_stmt *> &liste = m_frei[schluessel];
    if (liste.size() >= MaxFreiProText) {
        sqlite3_finalize(stmt);
        return;
    }
    liste.push_back(stmt);
}

void Verbindung::binde(sqlite3_stmt *stmt, int index, const QVariant &wert)
{
    if (!wert.isValid() || wert.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (wert.typeId()) {
    case QMetaType::Bool:
        sqlite3_bind_int(stmt, index, wert.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
    case QMetaType::Char:
        sqlite3_bind_int64(stmt, index, wert.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, wert.toDouble());
        break;
    case QMetaType::QDateTime:
        {
            const QByteArray t = JetSql::isoText(wert.toDateTime()).toUtf8();
            sqlite3_bind_text(stmt, index, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
        break;
    case QMetaType::QDate:
        {
            const QByteArray t = JetSql::isoText(QDateTime(wert.toDate(), QTime(0, 0))).toUtf8();
            sqlite3_bind_text(stmt, index, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
        break;
    case QMetaType::QByteArray:
        {
            const QByteArray b = wert.toByteArray();
            sqlite3_bind_blob(stmt, index, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
        }
        break;
    default:
        {
            const QByteArray t = wert.toString().toUtf8();
            sqlite3_bind_text(stmt, index, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
        }
        break;
    }
}

Verbindung::Anweisung Verbindung::vorbereiten(const QString &jetSql, const QVariantList &parameter)
{
    if (!m_db)
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
    auto it = m_uebersetzt.find(jetSql);
    if (it != m_uebersetzt.end())
        return vorbereitenNativ(it->second, parameter);
    bool zeitabhaengig = false;
    const QString nativ = JetSql::translate(jetSql, jetzt(), &zeitabhaengig);
    if (!zeitabhaengig) {
        if (m_uebersetzt.size() >= MaxTexte * 4)
            m_uebersetzt.clear();
        m_uebersetzt.emplace(jetSql, nativ);
    }
    return vorbereitenNativ(nativ, parameter);
}

Verbindung::Anweisung Verbindung::vorbereitenNativ(const QString &sql, const QVariantList &parameter)
{
    if (!m_db)
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
    sqlite3_stmt *stmt = nullptr;
    auto it = m_frei.find(sql);
    if (it != m_frei.end() && !it->second.empty()) {
        stmt = it->second.back();
        it->second.pop_back();
    } else {
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_db, text.constData(), static_cast<int>(text.size()), &stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            fehler(rc, sql);
        }
        if (!stmt)
            throw JetFehler(JetFehler::SyntaxFehler, u"Leere Anweisung."_s);
    }
    Anweisung a(shared_from_this(), sql, stmt);
    if (parameter.size() > sqlite3_bind_parameter_count(stmt))
        throw JetFehler(JetFehler::ZuWenigParameter, u"Zu viele Parameter für die Anweisung."_s);
    for (int i = 0; i < parameter.size(); ++i)
        binde(stmt, i + 1, parameter[i]);
    return a;
}

int Verbindung::ausfuehren(const QString &jetSql, const QVariantList &parameter)
{
    Anweisung a = vorbereiten(jetSql, parameter);
    int rc;
    while ((rc = sqlite3_step(a.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fehler(rc, jetSql);
    return sqlite3_changes(m_db);
}

void Verbindung::ausfuehrenNativ(const QString &sql, const QVariantList &parameter)
{
    Anweisung a = vorbereitenNativ(sql, parameter);
    int rc;
    while ((rc = sqlite3_step(a.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fehler(rc, sql);
}

void Verbindung::fehler(int code, const QString &statement) const
{
    const int basis = code & 0xFF;
    const int erweitert = m_db ? sqlite3_extended_errcode(m_db) : code;
    const QString text = meldung(m_db);

    static const QRegularExpression keineTabelle(u"^no such table: (?:\\w+\\.)?(.+)$"_s);
    static const QRegularExpression keineSpalte(u"^no such column: (.+)$"_s);
    QRegularExpressionMatch m = keineTabelle.match(text);
    if (m.hasMatch()) {
        throw JetFehler(JetFehler::EingabetabelleFehlt,
                        u"Das Datenbankmodul findet die Eingabetabelle oder Abfrage '%1' nicht. "
                        u"Stellen Sie sicher, dass sie existiert und dass der Name richtig geschrieben ist."_s
                            .arg(m.captured(1)));
    }
    m = keineSpalte.match(text);
    if (m.hasMatch())
        throw JetFehler(JetFehler::ZuWenigParameter, u"Zu wenige Parameter: unbekanntes Feld '%1'."_s.arg(m.captured(1)));
    if (erweitert == SQLITE_CONSTRAINT_UNIQUE || erweitert == SQLITE_CONSTRAINT_PRIMARYKEY) {
        throw JetFehler(JetFehler::DoppelterWert,
                        u"Die Änderungen wurden nicht übernommen, weil sie im Index, Primärschlüssel oder in "
                        u"der Beziehung zu doppelten Werten führen würden."_s);
    }
    if (basis == SQLITE_READONLY)
        throw JetFehler(JetFehler::Schreibgeschuetzt,
                        u"Aktualisieren nicht möglich. Datenbank oder Objekt ist schreibgeschützt."_s);
    if (basis == SQLITE_CORRUPT || basis == SQLITE_NOTADB)
        throw JetFehler(JetFehler::UnbekanntesFormat, u"Nicht erkanntes Datenbankformat '%1'."_s.arg(m_name));
    if (basis == SQLITE_IOERR || basis == SQLITE_FULL)
        throw JetFehler(JetFehler::DatentraegerFehler, u"Datenträger- oder Netzwerkfehler: %1"_s.arg(text));
    if (basis == SQLITE_CANTOPEN)
        throw JetFehler(JetFehler::DateiNichtZuOeffnen, u"Die Datei '%1' kann nicht geöffnet werden."_s.arg(m_name));
    if (basis == SQLITE_BUSY || basis == SQLITE_LOCKED)
        throw JetFehler(JetFehler::DateiNichtZuOeffnen,
                        u"Die Datenbank '%1' wird gerade von einem anderen Vorgang verwendet."_s.arg(m_name));
    if (text.contains(u"syntax error"_s) || text.contains(u"unrecognized token"_s)
        || text.contains(u"incomplete input"_s)) {
        throw JetFehler(JetFehler::SyntaxFehler,
                        u"Syntaxfehler in Abfrageausdruck '%1'."_s.arg(statement.isEmpty() ? text : statement));
    }
    if (text.startsWith(u"xbase:"_s))
        throw JetFehler(JetFehler::DateiBeschaedigt, text.mid(6).trimmed());
    throw JetFehler(JetFehler::Allgemein, text);
}
