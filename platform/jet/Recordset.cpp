#include "platform/jet/Recordset.h"

#include "platform/jet/DaoTyp.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/registry/RegionalSettings.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void keinAktuellerDatensatz()
{
    throw JetFehler(JetFehler::KeinAktuellerDatensatz, u"Kein aktueller Datensatz."_s);
}

[[noreturn]] void leereZeichenfolge(const QString &feld)
{
    throw JetFehler(JetFehler::LeereZeichenfolge,
                    u"Das Feld '%1' darf keine Zeichenfolge der Länge Null sein."_s.arg(feld));
}

[[noreturn]] void feldZuKlein(const QString &feld)
{
    throw JetFehler(JetFehler::FeldZuKlein,
                    u"Das Feld '%1' ist zu klein für die Datenmenge, die Sie hinzufügen wollten."_s.arg(feld));
}

[[noreturn]] void schreibgeschuetzt()
{
    throw JetFehler(JetFehler::Schreibgeschuetzt,
                    u"Aktualisieren nicht möglich. Datenbank oder Objekt ist schreibgeschützt."_s);
}

[[noreturn]] void konvertierung(const QString &feld)
{
    throw JetFehler(JetFehler::Typkonvertierung, u"Fehler bei der Datentypkonvertierung (Feld '%1')."_s.arg(feld));
}

// A bare table name, possibly in brackets, rather than a statement.
QString tabellenname(const QString &quelle)
{
    const QString q = quelle.trimmed();
    if (q.size() > 2 && q.startsWith(u'[') && q.endsWith(u']')) {
        const QString innen = q.mid(1, q.size() - 2);
        return innen.contains(u']') ? QString() : innen;
    }
    if (q.isEmpty() || q.compare(u"SELECT"_s, Qt::CaseInsensitive) == 0)
        return QString();
    for (const QChar c : q) {
        if (c.isSpace() || c == u'[' || c == u']' || c == u';' || c == u',' || c == u'(' || c == u')'
            || c == u'\'' || c == u'"')
            return QString();
    }
    return q;
}

int ziffern(const char *t, int von, int anzahl)
{
    int wert = 0;
    for (int i = von; i < von + anzahl; ++i) {
        if (t[i] < '0' || t[i] > '9')
            return -1;
        wert = wert * 10 + (t[i] - '0');
    }
    return wert;
}

QDateTime isoMoment(const char *text, int laenge)
{
    // The stored form "yyyy-MM-dd HH:mm:ss" (or the date alone) is read by hand;
    // a caller list holds a hundred thousand of them.
    if ((laenge == 19 || laenge == 10) && text[4] == '-' && text[7] == '-') {
        const QDate datum(ziffern(text, 0, 4), ziffern(text, 5, 2), ziffern(text, 8, 2));
        if (laenge == 10 && datum.isValid())
            return QDateTime(datum, QTime(0, 0));
        if (laenge == 19 && (text[10] == ' ' || text[10] == 'T') && text[13] == ':' && text[16] == ':') {
            const QTime zeit(ziffern(text, 11, 2), ziffern(text, 14, 2), ziffern(text, 17, 2));
            if (datum.isValid() && zeit.isValid())
                return QDateTime(datum, zeit);
        }
    }
    const QString t = QString::fromUtf8(text, laenge);
    QDateTime m = QDateTime::fromString(t, Qt::ISODate);
    if (!m.isValid())
        m = QDateTime::fromString(t, u"yyyy-MM-dd HH:mm:ss"_s);
    if (!m.isValid()) {
        const QDate d = QDate::fromString(t, u"yyyy-MM-dd"_s);
        if (d.isValid())
            m = QDateTime(d, QTime(0, 0));
    }
    return m;
}

// A column's value as SQLite gave it, copied into buffers that are reused
// from row to row: MoveLast keeps only the last row, without converting
// every row on the way there.
struct Rohwert
{
    int art = SQLITE_NULL;
    qint64 ganz = 0;
    double zahl = 0;
    std::string daten;
};

QVariant umwandeln(int art, qint64 ganz, double zahl, const char *daten, int laenge, int typ)
{
    switch (art) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qint64 v = ganz;
        switch (typ) {
        case DaoTyp::dbBoolean: return v != 0;
        case DaoTyp::dbText:
        case DaoTyp::dbMemo: return QString::number(v);
        case DaoTyp::dbDouble:
        case DaoTyp::dbSingle:
        case DaoTyp::dbCurrency: return static_cast<double>(v);
        default:
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return static_cast<int>(v);
            return v;
        }
    }
    case SQLITE_FLOAT: {
        const double v = zahl;
        if (typ == DaoTyp::dbText || typ == DaoTyp::dbMemo)
            return QString::number(v, 'g', 15);
        if (typ == DaoTyp::dbBoolean)
            return v != 0;
        return v;
    }
    case SQLITE_BLOB:
        return QByteArray(daten, laenge);
    default: {
        if (typ == DaoTyp::dbDate) {
            const QDateTime m = isoMoment(daten, laenge);
            if (m.isValid())
                return m;
        }
        return QString::fromUtf8(daten, laenge);
    }
    }
}

QVariant spaltenwert(sqlite3_stmt *stmt, int i, int typ)
{
    const int art = sqlite3_column_type(stmt, i);
    switch (art) {
    case SQLITE_INTEGER: return umwandeln(art, sqlite3_column_int64(stmt, i), 0, nullptr, 0, typ);
    case SQLITE_FLOAT: return umwandeln(art, 0, sqlite3_column_double(stmt, i), nullptr, 0, typ);
    case SQLITE_BLOB: {
        const char *daten = static_cast<const char *>(sqlite3_column_blob(stmt, i));
        return umwandeln(art, 0, 0, daten, sqlite3_column_bytes(stmt, i), typ);
    }
    case SQLITE_NULL: return {};
    default: {
        const char *daten = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
        return umwandeln(art, 0, 0, daten, sqlite3_column_bytes(stmt, i), typ);
    }
    }
}

void merken(sqlite3_stmt *stmt, std::vector<Rohwert> &zeile)
{
    for (int i = 0; i < static_cast<int>(zeile.size()); ++i) {
        Rohwert &r = zeile[i];
        r.art = sqlite3_column_type(stmt, i);
        switch (r.art) {
        case SQLITE_INTEGER: r.ganz = sqlite3_column_int64(stmt, i); break;
        case SQLITE_FLOAT: r.zahl = sqlite3_column_double(stmt, i); break;
        case SQLITE_NULL: break;
        case SQLITE_BLOB: {
            const auto *blob = static_cast<const char *>(sqlite3_column_blob(stmt, i));
            if (blob)
                r.daten.assign(blob, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
            else
                r.daten.clear();
            break;
        }
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            if (text)
                r.daten.assign(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
            else
                r.daten.clear();
            break;
        }
        }
    }
}

} // namespace

Recordset::Recordset(std::shared_ptr<Verbindung> verbindung, const QString &quelle, int typ, int optionen,
                     const QVariantList &parameter)
    : m_verbindung(std::move(verbindung))
    , m_quelle(quelle)
    , m_optionen(optionen)
    , m_parameter(parameter)
{
    m_tabelle = tabellenname(quelle);
    if (typ == dbOpenTable && m_tabelle.isEmpty())
        throw JetFehler(JetFehler::EingabetabelleFehlt,
                        u"Das Datenbankmodul findet die Eingabetabelle '%1' nicht."_s.arg(quelle));
    if (!m_tabelle.isEmpty()) {
        felderAusTabelle();
        if (m_optionen & dbAppendOnly) {
            if (typ == dbOpenTable)
                m_massenimport = m_verbindung->massenimportBeginnen(m_tabelle);
            return;
        }
        m_anweisung = m_verbindung->vorbereitenNativ(u"SELECT * FROM "_s + JetSql::quoteName(m_tabelle));
    } else {
        m_anweisung = m_verbindung->vorbereiten(quelle, parameter);
        felderAusAnweisung();
    }
    if (schritt()) {
        m_position = 0;
        m_gesehen = 1;
        // Expression columns take their type from the first row's values.
        if (m_tabelle.isEmpty() && m_ohneDeklaration)
            felderAusAnweisung();
        ladeZeile();
    }
}

Recordset::~Recordset()
{
    if (m_massenimport && m_verbindung->offen()) {
        try {
            m_verbindung->massenimportAbschliessen(m_tabelle);
        } catch (const JetFehler &) {
            // Not from a destructor: the commit tries again and reports it.
        }
    }
}

void Recordset::felderAusTabelle()
{
    m_fields.clear();
    Verbindung::Anweisung info = m_verbindung->vorbereitenNativ(
        u"SELECT name, type FROM pragma_table_info(?1)"_s, {m_tabelle});
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 0)));
        const QString decl = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1)));
        const DaoTyp::Spalte s = DaoTyp::ausDeklaration(decl);
        m_fields.Append(Field(name, s.typ, s.groesse, s.leerErlaubt));
    }
    if (m_fields.Count() == 0)
        throw JetFehler(JetFehler::EingabetabelleFehlt,
                        u"Das Datenbankmodul findet die Eingabetabelle oder Abfrage '%1' nicht. "
                        u"Stellen Sie sicher, dass sie existiert und dass der Name richtig geschrieben ist."_s
                            .arg(m_tabelle));
}

void Recordset::felderAusAnweisung()
{
    sqlite3_stmt *stmt = m_anweisung.get();
    const int n = sqlite3_column_count(stmt);
    const bool mitZeile = sqlite3_data_count(stmt) > 0;
    ::Fields neu;
    for (int i = 0; i < n; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char *decl = sqlite3_column_decltype(stmt, i);
        DaoTyp::Spalte s;
        if (!decl)
            m_ohneDeklaration = true;
        if (decl) {
            s = DaoTyp::ausDeklaration(QString::fromUtf8(decl));
        } else if (mitZeile) {
            // An expression has no declared type; its value tells.
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER: s.typ = DaoTyp::dbLong; break;
            case SQLITE_FLOAT: s.typ = DaoTyp::dbDouble; break;
            case SQLITE_BLOB: s.typ = DaoTyp::dbLongBinary; break;
            default: s.typ = DaoTyp::dbText; break;
            }
            s.groesse = DaoTyp::Standardgroesse(s.typ);
        }
        neu.Append(Field(name, s.typ, s.groesse, s.leerErlaubt));
    }
    m_fields = neu;
}

void Recordset::pruefeOffen() const
{
    if (!m_offen || !m_verbindung->offen())
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
}

void Recordset::pruefeAktuell() const
{
    pruefeOffen();
    if (m_eof || m_position < 0)
        keinAktuellerDatensatz();
}

bool Recordset::schritt()
{
    if (!m_anweisung || m_fertig) {
        m_eof = true;
        return false;
    }
    const int rc = sqlite3_step(m_anweisung.get());
    if (rc == SQLITE_ROW) {
        m_eof = false;
        return true;
    }
    m_fertig = true;
    m_eof = true;
    if (rc != SQLITE_DONE)
        m_verbindung->fehler(rc, m_quelle);
    return false;
}

void Recordset::ladeZeile()
{
    sqlite3_stmt *stmt = m_anweisung.get();
    const int n = std::min(m_fields.Count(), sqlite3_column_count(stmt));
    for (int i = 0; i < n; ++i) {
        Field &f = m_fields[i];
        f.laden(spaltenwert(stmt, i, f.Type()));
    }
}

void Recordset::leereWerte()
{
    for (Field &f : m_fields)
        f.laden(QVariant());
}

void Recordset::MoveFirst()
{
    pruefeOffen();
    if (m_neu)
        CancelUpdate();
    if (!m_anweisung || (m_gesehen == 0 && m_eof))
        keinAktuellerDatensatz();
    sqlite3_reset(m_anweisung.get());
    m_fertig = false;
    if (schritt()) {
        m_position = 0;
        m_gesehen = std::max(m_gesehen, 1L);
        ladeZeile();
    } else {
        leereWerte();
        keinAktuellerDatensatz();
    }
}

void Recordset::MoveNext()
{
    pruefeOffen();
    if (m_neu)
        CancelUpdate();
    if (m_eof)
        keinAktuellerDatensatz();
    if (schritt()) {
        ++m_position;
        m_gesehen = std::max(m_gesehen, m_position + 1);
        ladeZeile();
    } else {
        m_position = m_gesehen;
        leereWerte();
    }
}

void Recordset::MoveLast()
{
    pruefeOffen();
    if (m_neu)
        CancelUpdate();
    if (!m_anweisung || (m_gesehen == 0 && m_eof))
        keinAktuellerDatensatz();
    if (zumLetzten())
        return;
    if (m_fertig) {
        // Past the end already: run again to reach the last row.
        MoveFirst();
    }
    const int spalten = std::min(m_fields.Count(), sqlite3_column_count(m_anweisung.get()));
    std::vector<Rohwert> zeile(static_cast<std::size_t>(spalten));
    bool weiter = false;
    while (!m_fertig) {
        const int rc = sqlite3_step(m_anweisung.get());
        if (rc == SQLITE_ROW) {
            ++m_position;
            merken(m_anweisung.get(), zeile);
            weiter = true;
            continue;
        }
        m_fertig = true;
        if (weiter) {
            for (std::size_t i = 0; i < zeile.size(); ++i) {
                const Rohwert &r = zeile[i];
                Field &f = m_fields[static_cast<int>(i)];
                f.laden(umwandeln(r.art, r.ganz, r.zahl, r.daten.data(), static_cast<int>(r.daten.size()), f.Type()));
            }
        }
        if (rc != SQLITE_DONE)
            m_verbindung->fehler(rc, m_quelle);
    }
    m_gesehen = std::max(m_gesehen, m_position + 1);
    m_eof = false;
}

bool Recordset::zumLetzten()
{
    // Counting the rows and fetching only the last one reads no columns of
    // the rows before it: much less work than stepping through them all,
    // above all for a dBASE table, where every column read is decoded.
    const char *text = sqlite3_sql(m_anweisung.get());
    if (!text)
        return false;
    QString sql = QString::fromUtf8(text).trimmed();
    while (sql.endsWith(u';'))
        sql = sql.chopped(1).trimmed();
    qint64 anzahl = 0;
    try {
        {
            Verbindung::Anweisung zaehlen =
                m_verbindung->vorbereitenNativ(u"SELECT count(*) FROM ("_s + sql + u"\n)"_s, m_parameter);
            const int rc = sqlite3_step(zaehlen.get());
            if (rc != SQLITE_ROW)
                return false;
            anzahl = sqlite3_column_int64(zaehlen.get(), 0);
        }
        if (anzahl <= 0)
            return false;
        Verbindung::Anweisung letzte = m_verbindung->vorbereitenNativ(
            u"SELECT * FROM ("_s + sql + u"\n) LIMIT 1 OFFSET "_s + QString::number(anzahl - 1), m_parameter);
        if (sqlite3_step(letzte.get()) != SQLITE_ROW)
            return false;
        const int n = std::min(m_fields.Count(), sqlite3_column_count(letzte.get()));
        for (int i = 0; i < n; ++i) {
            Field &f = m_fields[i];
            f.laden(spaltenwert(letzte.get(), i, f.Type()));
        }
    } catch (const JetFehler &) {
        // Not every statement can be wrapped (a PRAGMA, say): then step through it.
        return false;
    }
    // The statement itself counts as run to its end; MoveFirst starts it again.
    m_position = static_cast<long>(anzahl - 1);
    m_gesehen = std::max(m_gesehen, m_position + 1);
    m_fertig = true;
    m_eof = false;
    return true;
}

QVariant Recordset::Wert(const QString &feld) const
{
    pruefeAktuell();
    return m_fields[feld].Value();
}

QVariant Recordset::Wert(int feld) const
{
    pruefeAktuell();
    return m_fields[feld].Value();
}

void Recordset::AddNew()
{
    pruefeOffen();
    if (m_tabelle.isEmpty() || m_verbindung->nurLesen())
        schreibgeschuetzt();
    if (m_neu)
        CancelUpdate();
    m_gemerkt.clear();
    for (Field &f : m_fields) {
        m_gemerkt.append(f.Value());
        f.laden(QVariant());
        f.setBearbeitbar(true);
    }
    m_neu = true;
}

void Recordset::CancelUpdate()
{
    if (!m_neu)
        return;
    int i = 0;
    for (Field &f : m_fields) {
        f.setBearbeitbar(false);
        f.laden(i < m_gemerkt.size() ? m_gemerkt[i] : QVariant());
        ++i;
    }
    m_neu = false;
}

QVariant Recordset::zumSpeichern(const Field &feld) const
{
    const QVariant &v = feld.Value();
    if (feld.isNull())
        return {};
    switch (feld.Type()) {
    case DaoTyp::dbText:
    case DaoTyp::dbMemo: {
        QString text;
        if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate)
            text = feld.Text();
        else if (v.typeId() == QMetaType::Double)
            text = QString::number(v.toDouble(), 'g', 15);
        else
            text = v.toString();
        if (text.isEmpty() && !feld.AllowZeroLength())
            leereZeichenfolge(feld.Name());
        if (feld.Type() == DaoTyp::dbText && feld.Size() > 0 && text.size() > feld.Size())
            feldZuKlein(feld.Name());
        return text;
    }
    case DaoTyp::dbDate: {
        if (v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate)
            return v;
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) {
            // Days since 30 December 1899, the engine's serial date.
            const double tage = v.toDouble();
            return QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addMSecs(static_cast<qint64>(tage * 86'400'000.0));
        }
        const std::optional<QDateTime> m = RegionalSettings::ParseDateTime(v.toString());
        if (!m)
            konvertierung(feld.Name());
        return *m;
    }
    case DaoTyp::dbBoolean: {
        if (v.typeId() == QMetaType::Bool)
            return v.toBool();
        const QString t = v.toString().trimmed();
        if (t.compare(u"Wahr"_s, Qt::CaseInsensitive) == 0 || t.compare(u"True"_s, Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(u"Falsch"_s, Qt::CaseInsensitive) == 0 || t.compare(u"False"_s, Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (!ok)
            konvertierung(feld.Name());
        return d != 0;
    }
    case DaoTyp::dbByte:
    case DaoTyp::dbInteger:
    case DaoTyp::dbLong: {
        bool ok = false;
        const double d = v.typeId() == QMetaType::Bool ? (v.toBool() ? -1.0 : 0.0) : v.toString().trimmed().toDouble(&ok);
        if (v.typeId() != QMetaType::Bool && !ok)
            konvertierung(feld.Name());
        const double gerundet = std::nearbyint(d);
        const double min = feld.Type() == DaoTyp::dbByte ? 0 : feld.Type() == DaoTyp::dbInteger ? -32768 : -2147483648.0;
        const double max = feld.Type() == DaoTyp::dbByte ? 255 : feld.Type() == DaoTyp::dbInteger ? 32767 : 2147483647.0;
        if (gerundet < min || gerundet > max)
            konvertierung(feld.Name());
        return static_cast<qint64>(gerundet);
    }
    case DaoTyp::dbSingle:
    case DaoTyp::dbDouble:
    case DaoTyp::dbCurrency: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            konvertierung(feld.Name());
        return d;
    }
    default:
        return v;
    }
}

void Recordset::Update()
{
    pruefeOffen();
    if (!m_neu)
        throw JetFehler(JetFehler::UpdateOhneAddNew, u"Update oder CancelUpdate ohne AddNew oder Edit."_s);
    QVariantList werte;
    werte.reserve(m_fields.Count());
    for (const Field &f : m_fields)
        werte.append(zumSpeichern(f));
    einfuegen(werte, [&](sqlite3_stmt *stmt) {
        for (int i = 0; i < werte.size(); ++i)
            Verbindung::binde(stmt, i + 1, werte[i]);
    });
    CancelUpdate();
}

template<typename Werte>
void Recordset::einfuegen(const Werte &werte, const std::function<void(sqlite3_stmt *)> &binden)
{
    std::vector<std::optional<quint64>> schluessel;
    if (m_massenimport)
        schluessel = m_verbindung->schluesselPruefen(m_tabelle, m_fields, werte);
    sqlite3_stmt *stmt = einfuegeanweisung();
    sqlite3_reset(stmt);
    binden(stmt);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        m_verbindung->fehler(rc, m_quelle);
    if (m_massenimport)
        m_verbindung->schluesselMerken(m_tabelle, schluessel);
}

sqlite3_stmt *Recordset::einfuegeanweisung()
{
    if (!m_einfuegen) {
        QString spalten;
        QString platzhalter;
        for (int i = 0; i < m_fields.Count(); ++i) {
            if (i > 0) {
                spalten += u',';
                platzhalter += u',';
            }
            spalten += JetSql::quoteName(m_fields[i].Name());
            platzhalter += u'?' + QString::number(i + 1);
        }
        m_einfuegen = m_verbindung->vorbereitenNativ(u"INSERT INTO "_s + JetSql::quoteName(m_tabelle) + u" ("_s
                                                     + spalten + u") VALUES ("_s + platzhalter + u')');
    }
    return m_einfuegen.get();
}

void Recordset::Anfuegen(const Verbindung::Textzeile &werte)
{
    pruefeOffen();
    if (m_tabelle.isEmpty() || m_verbindung->nurLesen())
        schreibgeschuetzt();
    if (m_neu)
        CancelUpdate();
    const int n = m_fields.Count();
    bool nurText = std::size_t(n) == werte.size();
    for (int i = 0; i < n && nurText; ++i)
        nurText = m_fields[i].Type() == DaoTyp::dbText || m_fields[i].Type() == DaoTyp::dbMemo;
    if (!nurText) {
        // Other types convert as a value set by hand does.
        AddNew();
        for (int i = 0; i < n && std::size_t(i) < werte.size(); ++i) {
            const std::optional<std::string_view> &w = werte[std::size_t(i)];
            m_fields[i].setValue(w ? QVariant(QString::fromUtf8(w->data(), qsizetype(w->size()))) : QVariant());
        }
        Update();
        return;
    }
    for (int i = 0; i < n; ++i) {
        const std::optional<std::string_view> &w = werte[std::size_t(i)];
        const Field &f = m_fields[i];
        if (!w)
            continue;
        if (w->empty() && !f.AllowZeroLength())
            leereZeichenfolge(f.Name());
        // The size counts characters as the program's texts do; a text of no
        // more bytes than that has no more characters either.
        if (f.Type() == DaoTyp::dbText && f.Size() > 0 && w->size() > std::size_t(f.Size())
            && QString::fromUtf8(w->data(), qsizetype(w->size())).size() > f.Size())
            feldZuKlein(f.Name());
    }
    einfuegen(werte, [&](sqlite3_stmt *stmt) {
        for (int i = 0; i < n; ++i) {
            const std::optional<std::string_view> &w = werte[std::size_t(i)];
            if (!w)
                sqlite3_bind_null(stmt, i + 1);
            else // an empty view may have no address, and SQLite would take that for Null
                sqlite3_bind_text(stmt, i + 1, w->empty() ? "" : w->data(), int(w->size()), SQLITE_STATIC);
        }
    });
}

void Recordset::Close()
{
    CancelUpdate();
    m_anweisung.freigeben();
    m_einfuegen.freigeben();
    m_offen = false;
    m_eof = true;
    if (m_massenimport) {
        m_massenimport = false;
        if (m_verbindung->offen())
            m_verbindung->massenimportAbschliessen(m_tabelle);
    }
}
