#include "platform/jet/Verbindung.h"

#include "platform/jet/DaoTyp.h"
#include "platform/jet/DiagnoseJet.h"
#include "platform/jet/Field.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/jet/Trigrammnebenbau.h"

#include <QHash>
#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <cstdio>
#include <optional>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// Kept statements per text; enough for the program's few statements without
// holding on to every one-off search.
constexpr std::size_t MaxFreiProText = 4;
constexpr std::size_t MaxTexte = 64;
// From here on a second core builds half the trigram tables of an import.
constexpr qint64 NebenbauAbZeilen = 20'000;

QString meldung(sqlite3 *db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : u"Datenbank geschlossen"_s;
}

QString asciiKlein(const QString &text)
{
    QString klein = text;
    for (QChar &c : klein) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(char16_t(c.unicode() + 32));
    }
    return klein;
}

// SQLite compares names with ASCII letters folded, nothing else.
bool gleicherName(const QString &a, const QString &b)
{
    return asciiKlein(a) == asciiKlein(b);
}

QString spaltentext(sqlite3_stmt *stmt, int i)
{
    const unsigned char *t = sqlite3_column_text(stmt, i);
    return t ? QString::fromUtf8(reinterpret_cast<const char *>(t)) : QString();
}

const QString &trigrammPraefix()
{
    static const QString praefix = u"MSysTrigramm:"_s;
    return praefix;
}

// A 64-bit FNV-1a hash, taken piece by piece; 0 stays free for empty places.
class Fingerabdruck
{
public:
    void dazu(std::string_view bytes)
    {
        for (const char c : bytes) {
            m_h ^= static_cast<unsigned char>(c);
            m_h *= 1099511628211ull;
        }
    }
    quint64 ergebnis() const
    {
        const quint64 h = m_h ^ (m_h >> 32);
        return h == 0 ? 1 : h;
    }

private:
    quint64 m_h = 14695981039346656037ull;
};

bool enthalten(const std::vector<quint64> &plaetze, quint64 abdruck)
{
    if (plaetze.empty())
        return false;
    const std::size_t maske = plaetze.size() - 1;
    for (std::size_t i = abdruck & maske;; i = (i + 1) & maske) {
        if (plaetze[i] == abdruck)
            return true;
        if (plaetze[i] == 0)
            return false;
    }
}

void eintragen(std::vector<quint64> &plaetze, std::size_t &belegt, quint64 abdruck)
{
    if ((belegt + 1) * 2 > plaetze.size()) {
        std::vector<quint64> alt;
        alt.swap(plaetze);
        plaetze.assign(std::max<std::size_t>(1024, alt.size() * 2), 0);
        belegt = 0;
        for (quint64 a : alt) {
            if (a != 0)
                eintragen(plaetze, belegt, a);
        }
    }
    const std::size_t maske = plaetze.size() - 1;
    for (std::size_t i = abdruck & maske;; i = (i + 1) & maske) {
        if (plaetze[i] == abdruck)
            return;
        if (plaetze[i] == 0) {
            plaetze[i] = abdruck;
            ++belegt;
            return;
        }
    }
}

QStringList triggernamen(const QString &trigrammtabelle)
{
    return {trigrammtabelle + u":i"_s, trigrammtabelle + u":d"_s, trigrammtabelle + u":u"_s};
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
    // Closing rolls back an open transaction, and with it what an import set aside.
    m_massenimporte.clear();
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
    QString nativ;
    auto it = m_uebersetzt.find(jetSql);
    if (it != m_uebersetzt.end()) {
        nativ = it->second;
    } else {
        bool zeitabhaengig = false;
        nativ = JetSql::translate(jetSql, jetzt(), &zeitabhaengig);
        if (!zeitabhaengig) {
            if (m_uebersetzt.size() >= MaxTexte * 4)
                m_uebersetzt.clear();
            m_uebersetzt.emplace(jetSql, nativ);
        }
    }
    // Whether a LIKE can be answered by a lookup depends on the file as it is
    // now, so this part is never kept.
    if (nativ.contains(u"LIKE"_s, Qt::CaseInsensitive))
        nativ = JetSql::mitTeiltextsuche(nativ, [this](const QString &tabelle, const QStringList &spalten,
                                                      const QString &text) { return teiltextsuche(tabelle, spalten, text); });
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

    // Only a schema SQLite names itself is cut off: "KUNDEN.gdb" is a table's whole name.
    static const QRegularExpression keineTabelle(u"^no such table: (?:(?:main|temp)\\.)?(.+)$"_s);
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
    if (erweitert == SQLITE_CONSTRAINT_UNIQUE || erweitert == SQLITE_CONSTRAINT_PRIMARYKEY)
        doppelterWert();
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

void Verbindung::doppelterWert()
{
    throw JetFehler(JetFehler::DoppelterWert,
                    u"Die Änderungen wurden nicht übernommen, weil sie im Index, Primärschlüssel oder in "
                    u"der Beziehung zu doppelten Werten führen würden."_s);
}

qint64 Verbindung::zahl(const QString &sql, const QVariantList &parameter)
{
    Anweisung a = vorbereitenNativ(sql, parameter);
    const int rc = sqlite3_step(a.get());
    if (rc == SQLITE_ROW)
        return sqlite3_column_int64(a.get(), 0);
    if (rc != SQLITE_DONE)
        fehler(rc, sql);
    return 0;
}

void Verbindung::sicher(const std::function<void()> &schritte)
{
    const QString punkt = u"jet_sicherung_%1"_s.arg(++m_sicherungspunkt);
    ausfuehrenNativ(u"SAVEPOINT "_s + punkt);
    try {
        schritte();
    } catch (...) {
        // Nothing half-made stays behind.
        try {
            ausfuehrenNativ(u"ROLLBACK TO "_s + punkt);
            ausfuehrenNativ(u"RELEASE "_s + punkt);
        } catch (const JetFehler &) {
        }
        --m_sicherungspunkt;
        throw;
    }
    ausfuehrenNativ(u"RELEASE "_s + punkt);
    --m_sicherungspunkt;
}

QStringList Verbindung::spalten(const QString &tabelle)
{
    QStringList namen;
    Anweisung a = vorbereitenNativ(u"SELECT name FROM pragma_table_info(?1)"_s, {tabelle});
    while (sqlite3_step(a.get()) == SQLITE_ROW)
        namen.append(spaltentext(a.get(), 0));
    return namen;
}

QString Verbindung::Trigrammname(const QString &tabelle, const QString &spalte)
{
    // Names in SQLite ignore the case of ASCII letters, so the name does too.
    return trigrammPraefix() + asciiKlein(tabelle) + u':' + asciiKlein(spalte);
}

bool Verbindung::istTrigrammtabelle(const QString &name)
{
    return name.startsWith(trigrammPraefix(), Qt::CaseInsensitive);
}

QString Verbindung::trigrammtabelle(const QString &tabelle, const QString &spalte)
{
    if (!m_db)
        return {};
    const QString name = Trigrammname(tabelle, spalte);
    const QStringList trigger = triggernamen(name);
    try {
        // The table, and the three triggers that keep it in step, on that very table.
        const qint64 n = zahl(u"SELECT (SELECT count(*) FROM main.sqlite_schema WHERE type='table' AND name=?1) + "
                              u"(SELECT count(*) FROM main.sqlite_schema WHERE type='trigger' AND "
                              u"tbl_name=?2 COLLATE NOCASE AND name IN (?3, ?4, ?5))"_s,
                              {name, tabelle, trigger[0], trigger[1], trigger[2]});
        return n == 4 ? name : QString();
    } catch (const JetFehler &) {
        return {};
    }
}

QString Verbindung::teiltextsuche(const QString &tabelle, const QStringList &spalten, const QString &text)
{
    if (!m_db)
        return {};
    QStringList auswahlen;
    for (const QString &spalte : spalten) {
        const QString index = trigrammtabelle(tabelle, spalte);
        if (index.isEmpty())
            return {};
        const QString name = JetSql::quoteIdentifier(index);
        auswahlen.append(u"SELECT rowid FROM "_s + name + u" WHERE "_s + name + u" MATCH "_s
                         + JetSql::textLiteral(JetSql::Trigrammabfrage(text)));
    }
    return auswahlen.join(u" UNION "_s);
}

void Verbindung::trigrammeFuellen(const QString &tabelle, const QString &spalte)
{
    const QString name = Trigrammname(tabelle, spalte);
    const QString t = JetSql::quoteIdentifier(tabelle);
    const QString s = JetSql::quoteIdentifier(spalte);
    const QString f = JetSql::quoteIdentifier(name);
    ausfuehrenNativ(u"INSERT INTO %1(%1) VALUES ('delete-all')"_s.arg(f));
    // In rowid order: FTS5 takes ascending rowids in one sweep, others one
    // flush each. Null and the empty text have no trigrams and are left out,
    // here as in the triggers: most phone fields are empty, and FTS5 counts
    // its rows, so a row it never took must never be taken out.
    ausfuehrenNativ(u"INSERT INTO %1(rowid, %2) SELECT rowid, %2 FROM %3 WHERE %2 <> '' ORDER BY rowid"_s
                        .arg(f, s, t));
    trigrammTriggerAnlegen(tabelle, spalte);
}

std::vector<Trigrammnebenbau::Spalte> Verbindung::trigrammtexte(const QString &tabelle, const QStringList &spalten)
{
    // The rows trigrammeFuellen takes, in its order; all columns in one pass.
    std::vector<Trigrammnebenbau::Spalte> texte(std::size_t(spalten.size()));
    QStringList namen;
    for (qsizetype i = 0; i < spalten.size(); ++i) {
        Trigrammnebenbau::Spalte &t = texte[std::size_t(i)];
        t.tabelle = Trigrammname(tabelle, spalten[i]);
        t.spalte = spalten[i];
        Anweisung a = vorbereitenNativ(u"SELECT sql FROM main.sqlite_schema WHERE type='table' AND name=?1"_s,
                                       {t.tabelle});
        if (sqlite3_step(a.get()) == SQLITE_ROW)
            t.anlage = spaltentext(a.get(), 0);
        // The fill's own condition: what it leaves out comes back as Null.
        const QString s = JetSql::quoteIdentifier(spalten[i]);
        namen.append(u"CASE WHEN %1 <> '' THEN %1 END"_s.arg(s));
    }
    Anweisung a = vorbereitenNativ(u"SELECT rowid, %1 FROM %2 ORDER BY rowid"_s.arg(
        namen.join(u", "_s), JetSql::quoteIdentifier(tabelle)));
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(a.get())) == SQLITE_ROW) {
        const sqlite3_int64 zeile = sqlite3_column_int64(a.get(), 0);
        for (int i = 0; i < int(texte.size()); ++i) {
            if (sqlite3_column_type(a.get(), i + 1) == SQLITE_NULL)
                continue;
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(a.get(), i + 1));
            texte[std::size_t(i)].dazu(zeile, text ? text : "", std::size_t(sqlite3_column_bytes(a.get(), i + 1)));
        }
    }
    if (rc != SQLITE_DONE)
        fehler(rc);
    return texte;
}

void Verbindung::trigrammeUebernehmen(const QString &tabelle, const QString &spalte, sqlite3 *quelle)
{
    const QString name = Trigrammname(tabelle, spalte);
    const QString f = JetSql::quoteIdentifier(name);
    // Through the table first: FTS5 forgets what it knew of its index.
    ausfuehrenNativ(u"INSERT INTO %1(%1) VALUES ('delete-all')"_s.arg(f));
    for (const QString &teil : {u"_data"_s, u"_idx"_s}) {
        const QString schatten = JetSql::quoteIdentifier(name + teil);
        ausfuehrenNativ(u"DELETE FROM "_s + schatten);
        const QByteArray lesen = (u"SELECT * FROM "_s + schatten).toUtf8();
        sqlite3_stmt *roh = nullptr;
        if (sqlite3_prepare_v2(quelle, lesen.constData(), int(lesen.size()), &roh, nullptr) != SQLITE_OK)
            throw JetFehler(JetFehler::UnbekanntesFormat, QString::fromUtf8(sqlite3_errmsg(quelle)));
        const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> zeilen(roh, &sqlite3_finalize);
        const int n = sqlite3_column_count(roh);
        QStringList stellen;
        for (int i = 1; i <= n; ++i)
            stellen.append(u'?' + QString::number(i));
        Anweisung schreiben = vorbereitenNativ(u"INSERT INTO %1 VALUES (%2)"_s.arg(schatten, stellen.join(u',')));
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(roh)) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i)
                sqlite3_bind_value(schreiben.get(), i + 1, sqlite3_column_value(roh, i));
            const int geschrieben = sqlite3_step(schreiben.get());
            sqlite3_reset(schreiben.get());
            if (geschrieben != SQLITE_DONE)
                fehler(geschrieben);
        }
        if (rc != SQLITE_DONE)
            throw JetFehler(JetFehler::UnbekanntesFormat, QString::fromUtf8(sqlite3_errmsg(quelle)));
    }
    trigrammTriggerAnlegen(tabelle, spalte);
}

void Verbindung::trigrammTriggerAnlegen(const QString &tabelle, const QString &spalte)
{
    const QString t = JetSql::quoteIdentifier(tabelle);
    const QString s = JetSql::quoteIdentifier(spalte);
    const QString f = JetSql::quoteIdentifier(Trigrammname(tabelle, spalte));
    const QStringList trigger = triggernamen(Trigrammname(tabelle, spalte));
    ausfuehrenNativ(u"CREATE TRIGGER %1 AFTER INSERT ON %2 WHEN new.%4 <> '' BEGIN "
                    u"INSERT INTO %3(rowid, %4) VALUES (new.rowid, new.%4); END"_s
                        .arg(JetSql::quoteIdentifier(trigger[0]), t, f, s));
    ausfuehrenNativ(u"CREATE TRIGGER %1 AFTER DELETE ON %2 WHEN old.%4 <> '' BEGIN "
                    u"INSERT INTO %3(%3, rowid, %4) VALUES ('delete', old.rowid, old.%4); END"_s
                        .arg(JetSql::quoteIdentifier(trigger[1]), t, f, s));
    ausfuehrenNativ(u"CREATE TRIGGER %1 AFTER UPDATE ON %2 WHEN old.rowid IS NOT new.rowid OR old.%4 IS NOT new.%4 "
                    u"BEGIN INSERT INTO %3(%3, rowid, %4) SELECT 'delete', old.rowid, old.%4 WHERE old.%4 <> ''; "
                    u"INSERT INTO %3(rowid, %4) SELECT new.rowid, new.%4 WHERE new.%4 <> ''; END"_s
                        .arg(JetSql::quoteIdentifier(trigger[2]), t, f, s));
}

void Verbindung::trigrammeAnlegen(const QString &tabelle, const QString &spalte)
{
    if (!m_db || m_nurLesen)
        return;
    try {
        // Only a text column of an ordinary table with rowids, and none that
        // hides the rowid behind a column of that name.
        QString echt;
        QString typ;
        bool rowidSpalte = false;
        {
            Anweisung a = vorbereitenNativ(u"SELECT name, type FROM pragma_table_info(?1)"_s, {tabelle});
            while (sqlite3_step(a.get()) == SQLITE_ROW) {
                const QString name = spaltentext(a.get(), 0);
                if (gleicherName(name, u"rowid"_s))
                    rowidSpalte = true;
                if (gleicherName(name, spalte)) {
                    echt = name;
                    typ = spaltentext(a.get(), 1);
                }
            }
        }
        if (echt.isEmpty() || rowidSpalte || DaoTyp::ausDeklaration(typ).typ != DaoTyp::dbText)
            return;
        if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE "
                 u"AND sql NOT GLOB 'CREATE VIRTUAL*' AND sql NOT GLOB '*WITHOUT ROWID*'"_s,
                 {tabelle})
            != 1)
            return;
        const QString name = Trigrammname(tabelle, echt);
        const sqlite3_int64 letzteZeile = sqlite3_last_insert_rowid(m_db);
        const auto zuruecksetzen = qScopeGuard([&] { sqlite3_set_last_insert_rowid(m_db, letzteZeile); });
        sicher([&] {
            for (const QString &trigger : triggernamen(name))
                ausfuehrenNativ(u"DROP TRIGGER IF EXISTS "_s + JetSql::quoteIdentifier(trigger));
            ausfuehrenNativ(u"DROP TABLE IF EXISTS "_s + JetSql::quoteIdentifier(name));
            // Only rowids are read back, so the index keeps no positions and no sizes.
            QString inhalt = tabelle;
            inhalt.replace(u"'"_s, u"''"_s);
            ausfuehrenNativ(u"CREATE VIRTUAL TABLE %1 USING fts5(%2, content='%3', tokenize='trigram', "
                            u"detail='none', columnsize=0)"_s
                                .arg(JetSql::quoteIdentifier(name), JetSql::quoteIdentifier(echt), inhalt));
            trigrammeFuellen(tabelle, echt);
        });
    } catch (const JetFehler &) {
        // Without its trigram table the column is searched row by row, as before.
    }
}

void Verbindung::trigrammeEntfernen(const QString &tabelle)
{
    if (!m_db || m_nurLesen)
        return;
    for (const QString &spalte : spalten(tabelle)) {
        const QString name = Trigrammname(tabelle, spalte);
        for (const QString &trigger : triggernamen(name))
            ausfuehrenNativ(u"DROP TRIGGER IF EXISTS "_s + JetSql::quoteIdentifier(trigger));
        ausfuehrenNativ(u"DROP TABLE IF EXISTS "_s + JetSql::quoteIdentifier(name));
    }
}

bool Verbindung::massenimportBeginnen(const QString &tabelle)
{
    // Outside a transaction a crash would leave the table without its indexes.
    if (!m_db || m_nurLesen || sqlite3_get_autocommit(m_db))
        return false;
    for (const Massenimport &m : m_massenimporte) {
        if (gleicherName(m.tabelle, tabelle))
            return false;
    }
    Massenimport import;
    import.tabelle = tabelle;
    try {
        if (zahl(u"SELECT count(*) FROM (SELECT 1 FROM "_s + JetSql::quoteIdentifier(tabelle) + u" LIMIT 1)"_s) != 0)
            return false;
        {
            Anweisung a = vorbereitenNativ(u"SELECT name, sql FROM main.sqlite_schema WHERE type='index' AND "
                                           u"tbl_name=?1 COLLATE NOCASE AND sql IS NOT NULL"_s,
                                           {tabelle});
            std::vector<std::pair<QString, QString>> eindeutige;
            while (sqlite3_step(a.get()) == SQLITE_ROW) {
                const QString sql = spaltentext(a.get(), 1);
                if (!sql.trimmed().startsWith(u"CREATE UNIQUE"_s, Qt::CaseInsensitive))
                    import.indexe.emplace_back(spaltentext(a.get(), 0), sql);
                else
                    eindeutige.emplace_back(spaltentext(a.get(), 0), sql);
            }
            a.freigeben();
            for (const auto &[name, sql] : eindeutige) {
                QStringList schluesselspalten;
                if (eindeutigZurueckstellbar(tabelle, name, schluesselspalten))
                    import.eindeutige.push_back({name, sql, schluesselspalten, {}, {}, 0});
            }
        }
        for (const QString &spalte : spalten(tabelle)) {
            if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='table' AND name=?1"_s,
                     {Trigrammname(tabelle, spalte)})
                > 0)
                import.trigrammspalten.append(spalte);
        }
        if (import.indexe.empty() && import.eindeutige.empty() && import.trigrammspalten.isEmpty())
            return false;
        sicher([&] {
            for (const auto &[name, sql] : import.indexe)
                ausfuehrenNativ(u"DROP INDEX "_s + JetSql::quoteIdentifier(name));
            for (const Eindeutig &index : import.eindeutige)
                ausfuehrenNativ(u"DROP INDEX "_s + JetSql::quoteIdentifier(index.name));
            for (const QString &spalte : import.trigrammspalten) {
                for (const QString &trigger : triggernamen(Trigrammname(tabelle, spalte)))
                    ausfuehrenNativ(u"DROP TRIGGER IF EXISTS "_s + JetSql::quoteIdentifier(trigger));
            }
        });
    } catch (const JetFehler &) {
        return false;
    }
    // What was set aside is made again only from this record.
    m_massenimporte.push_back(std::move(import));
    return true;
}

void Verbindung::abschliessen(const Massenimport &import)
{
    if (!m_db)
        return;
    // The program asks for the rowid of the row it appended last; filling
    // the trigram tables must not change it.
    const sqlite3_int64 letzteZeile = sqlite3_last_insert_rowid(m_db);
    const auto zuruecksetzen = qScopeGuard([&] {
        if (m_db)
            sqlite3_set_last_insert_rowid(m_db, letzteZeile);
    });
    // The table may have gone meanwhile, or a rollback brought everything back.
    if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE"_s,
             {import.tabelle})
        == 0)
        return;
    sicher([&] {
        QStringList fuellen;
        for (const QString &spalte : import.trigrammspalten) {
            const QString name = Trigrammname(import.tabelle, spalte);
            if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='table' AND name=?1"_s, {name}) == 0)
                continue;
            if (!trigrammtabelle(import.tabelle, spalte).isEmpty())
                continue;
            for (const QString &trigger : triggernamen(name))
                ausfuehrenNativ(u"DROP TRIGGER IF EXISTS "_s + JetSql::quoteIdentifier(trigger));
            fuellen.append(spalte);
        }
        // A large table: every second column is built on the second core
        // meanwhile. A column and its neighbour (a phone field and its key)
        // hold about as much, so both cores have about as much to do.
        QStringList nebenan;
        std::unique_ptr<Trigrammnebenbau> nebenbau;
        if (fuellen.size() >= 2
            && zahl(u"SELECT coalesce(max(rowid), 0) FROM "_s + JetSql::quoteIdentifier(import.tabelle))
                   >= NebenbauAbZeilen) {
            for (qsizetype i = 1; i < fuellen.size(); i += 2)
                nebenan.append(fuellen[i]);
            nebenbau = std::make_unique<Trigrammnebenbau>(trigrammtexte(import.tabelle, nebenan));
        }
        for (const QString &spalte : fuellen) {
            if (!nebenan.contains(spalte))
                trigrammeFuellen(import.tabelle, spalte);
        }
        // After the trigram tables filled here: their fill reads the table in
        // rowid order, which a covering index would have SQLite read in its
        // own order. Before those of the second core, which may still be at
        // work: copying them in reads nothing of the table.
        // A row written past the recordset may still break a unique index:
        // then making it fails here, with the engine's error for it.
        for (const Eindeutig &index : import.eindeutige) {
            if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='index' AND name=?1"_s, {index.name}) == 0)
                ausfuehrenNativ(index.sql);
        }
        for (const auto &[name, sql] : import.indexe) {
            if (zahl(u"SELECT count(*) FROM main.sqlite_schema WHERE type='index' AND name=?1"_s, {name}) == 0)
                ausfuehrenNativ(sql);
        }
        if (nebenbau) {
            const QString fehlschlag = nebenbau->abwarten();
            for (const QString &spalte : nebenan) {
                bool uebernommen = false;
                if (fehlschlag.isEmpty()) {
                    try {
                        sicher([&] { trigrammeUebernehmen(import.tabelle, spalte, nebenbau->datei()); });
                        uebernommen = true;
                    } catch (const JetFehler &e) {
                        qCWarning(lcJet).noquote() << u"Trigrammtabelle %1 nicht übernommen: %2"_s.arg(
                            Trigrammname(import.tabelle, spalte), e.Description());
                    }
                }
                // Slower, and the same index.
                if (!uebernommen)
                    trigrammeFuellen(import.tabelle, spalte);
            }
            if (!fehlschlag.isEmpty())
                qCWarning(lcJet).noquote() << u"Trigrammtabellen von %1 nicht nebenher gebaut: %2"_s.arg(import.tabelle,
                                                                                                 fehlschlag);
        }
    });
}

void Verbindung::massenimportAbschliessen(const QString &tabelle)
{
    for (auto it = m_massenimporte.begin(); it != m_massenimporte.end(); ++it) {
        if (gleicherName(it->tabelle, tabelle)) {
            // Kept on an error, so that the commit tries again and says why.
            abschliessen(*it);
            m_massenimporte.erase(it);
            return;
        }
    }
}

void Verbindung::massenimporteAbschliessen()
{
    std::vector<Massenimport> fehlgeschlagen;
    std::optional<JetFehler> erster;
    for (const Massenimport &import : m_massenimporte) {
        try {
            abschliessen(import);
        } catch (const JetFehler &e) {
            fehlgeschlagen.push_back(import);
            if (!erster)
                erster = e;
        }
    }
    m_massenimporte.swap(fehlgeschlagen);
    if (erster)
        throw *erster;
}

void Verbindung::massenimporteVerwerfen()
{
    m_massenimporte.clear();
}

bool Verbindung::eindeutigZurueckstellbar(const QString &tabelle, const QString &index, QStringList &spalten)
{
    // Partial indexes and expressions are left to SQLite.
    if (zahl(u"SELECT count(*) FROM pragma_index_list(?1) WHERE name=?2 AND partial=0"_s, {tabelle, index}) != 1)
        return false;
    QHash<QString, QString> typen;
    {
        Anweisung a = vorbereitenNativ(u"SELECT name, type FROM pragma_table_info(?1)"_s, {tabelle});
        while (sqlite3_step(a.get()) == SQLITE_ROW)
            typen.insert(asciiKlein(spaltentext(a.get(), 0)), spaltentext(a.get(), 1));
    }
    Anweisung a = vorbereitenNativ(u"SELECT cid, name, coll FROM pragma_index_xinfo(?1) WHERE key=1"_s, {index});
    while (sqlite3_step(a.get()) == SQLITE_ROW) {
        const QString name = spaltentext(a.get(), 1);
        const QString deklaration = typen.value(asciiKlein(name)).toUpper();
        // Kept as the text the engine binds, compared byte by byte: only
        // columns that store text as given (text affinity) and the binary collation.
        const bool textAffinitaet = !deklaration.contains(u"INT"_s)
                                    && (deklaration.contains(u"CHAR"_s) || deklaration.contains(u"CLOB"_s)
                                        || deklaration.contains(u"TEXT"_s));
        const int typ = DaoTyp::ausDeklaration(deklaration).typ;
        if (sqlite3_column_int(a.get(), 0) < 0 || name.isEmpty() || !textAffinitaet
            || (typ != DaoTyp::dbText && typ != DaoTyp::dbMemo)
            || spaltentext(a.get(), 2).compare(u"BINARY"_s, Qt::CaseInsensitive) != 0)
            return false;
        spalten.append(name);
    }
    return !spalten.isEmpty();
}

Verbindung::Massenimport *Verbindung::massenimport(const QString &tabelle)
{
    for (Massenimport &m : m_massenimporte) {
        if (m.tabelle == tabelle)
            return &m;
    }
    for (Massenimport &m : m_massenimporte) {
        if (gleicherName(m.tabelle, tabelle))
            return &m;
    }
    return nullptr;
}

std::vector<std::optional<quint64>> Verbindung::schluesselPruefen(const QString &tabelle, const ::Fields &felder,
                                                                  const QVariantList &werte)
{
    if (!massenimport(tabelle))
        return {};
    // The values as the statement binds them: the text, in UTF-8.
    std::vector<QByteArray> texte(std::size_t(werte.size()));
    Textzeile zeile(std::size_t(werte.size()));
    for (qsizetype i = 0; i < werte.size(); ++i) {
        if (!werte[i].isValid() || werte[i].isNull())
            continue;
        texte[std::size_t(i)] = werte[i].toString().toUtf8();
        zeile[std::size_t(i)] = std::string_view(texte[std::size_t(i)].constData(), std::size_t(texte[std::size_t(i)].size()));
    }
    return schluesselPruefen(tabelle, felder, zeile);
}

std::vector<std::optional<quint64>> Verbindung::schluesselPruefen(const QString &tabelle, const ::Fields &felder,
                                                                  const Textzeile &werte)
{
    std::vector<std::optional<quint64>> schluessel;
    Massenimport *import = massenimport(tabelle);
    if (!import)
        return schluessel;
    for (Eindeutig &index : import->eindeutige) {
        // Where the key's fields are: found once, checked by name every row.
        if (index.positionen.size() != std::size_t(index.spalten.size()))
            index.positionen.assign(std::size_t(index.spalten.size()), -1);
        std::vector<std::string_view> teile;
        Fingerabdruck abdruck;
        for (qsizetype k = 0; k < index.spalten.size(); ++k) {
            int &i = index.positionen[std::size_t(k)];
            if (i < 0 || i >= felder.Count() || felder[i].Name() != index.spalten[k])
                i = felder.indexOf(index.spalten[k]);
            const std::optional<std::string_view> wert =
                i >= 0 && std::size_t(i) < werte.size() ? werte[std::size_t(i)] : std::nullopt;
            // Null is never equal to anything, not even to Null.
            if (!wert) {
                teile.clear();
                break;
            }
            char laenge[24];
            const int n = std::snprintf(laenge, sizeof laenge, "%zu:", wert->size());
            abdruck.dazu(std::string_view(laenge, std::size_t(n)));
            abdruck.dazu(*wert);
            teile.push_back(*wert);
        }
        if (teile.empty()) {
            schluessel.emplace_back();
            continue;
        }
        if (enthalten(index.fingerabdruecke, abdruck.ergebnis())) {
            // The same fingerprint: the table says whether it is the same key.
            QVariantList texte;
            for (const std::string_view t : teile)
                texte.append(QString::fromUtf8(t.data(), qsizetype(t.size())));
            QString bedingung;
            for (int k = 0; k < index.spalten.size(); ++k) {
                if (k > 0)
                    bedingung += u" AND "_s;
                bedingung += JetSql::quoteIdentifier(index.spalten[k]) + u"=?"_s + QString::number(k + 1);
            }
            const QString sql = u"SELECT count(*) FROM "_s + JetSql::quoteIdentifier(tabelle) + u" WHERE "_s + bedingung;
            if (zahl(sql, texte) > 0)
                doppelterWert();
        }
        schluessel.emplace_back(abdruck.ergebnis());
    }
    return schluessel;
}

void Verbindung::schluesselMerken(const QString &tabelle, const std::vector<std::optional<quint64>> &schluessel)
{
    Massenimport *import = massenimport(tabelle);
    if (!import)
        return;
    for (std::size_t i = 0; i < schluessel.size() && i < import->eindeutige.size(); ++i) {
        if (schluessel[i])
            eintragen(import->eindeutige[i].fingerabdruecke, import->eindeutige[i].belegt, *schluessel[i]);
    }
}
