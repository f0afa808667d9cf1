#include "actdb/clActDBF.h"

#include "actdb/ActPfad.h"
#include "actdb/Cachezeilen.h"
#include "core/modOptionen.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/Dialogs.h"
#include "core/Nummernschluessel.h"
#include "platform/jet/DBEngine.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

QString mitVorzeichenstelle(long n)
{
    return n < 0 ? QString::number(n) : u' ' + QString::number(n);
}

// The code of a character in Windows-1252, or -1 when it has none there.
int cp1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    return -1;
}

} // namespace

clActDBF::clActDBF(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_optionen(optionen)
{
    // The key in statements: NUMMERNSCHLUESSEL(value, home country code).
    static const bool registriert = [] {
        DBEngine::instance().RegisterFunction(u"NUMMERNSCHLUESSEL"_s, 2, [](const std::vector<std::string_view> &a) {
            return a.size() == 2 ? Nummernschluessel::schluesselUtf8(a[0], a[1]) : std::string();
        });
        return true;
    }();
    Q_UNUSED(registriert);
}

QString clActDBF::Heimatvorwahl()
{
    return Nummernschluessel::Heimatvorwahl(RegionalSettings::LocaleKennung());
}

QString clActDBF::Schluessel(const QString &geschrieben)
{
    return Nummernschluessel::schluessel(geschrieben, Heimatvorwahl());
}

QString clActDBF::Schluesselfeld(const QString &feld)
{
    return feld + u"_SCHL"_s;
}

QString clActDBF::Schluesselfelder(const QString &Telefonfelder)
{
    QStringList namen;
    for (const QString &f : Eintraege(Telefonfelder))
        namen.append(Schluesselfeld(f));
    return namen.join(u',');
}

std::unique_ptr<Recordset> clActDBF::SchluesselSuche(const QString &Suchfelder, const QString &Ergebnisfelder,
                                                     const QString &schluessel, const Kontaktscan::Zeilen *vorab)
{
    const QString t = u'[' + m_tabelle + u']';
    const QString heimat = Heimatvorwahl();
    QString sql = u"SELECT "_s;
    for (const QString &f : Eintraege(Ergebnisfelder))
        sql += t + u'.' + f + u", "_s;
    sql += t + u".UNIQUE_ID FROM "_s + t + u" WHERE "_s;
    QStringList bedingungen;
    // The key holds digits only; it goes through the one quoting of patterns all the same.
    const QString muster = Suchmuster(schluessel);
    // An empty field is NULL, and so is its key: no row matches through it.
    for (const QString &f : Eintraege(Suchfelder))
        bedingungen.append(u"NUMMERNSCHLUESSEL("_s + t + u'.' + f + u", '"_s + heimat + u"') LIKE '*"_s + muster
                           + u"*'"_s);
    const QString bedingung = u'(' + bedingungen.join(u" OR "_s) + u')';
    if (vorab)
        return oeffneNur(sql, bedingung, *vorab);
    return oeffneNur(sql, bedingung, Vorauswahl(Suchfelder, QString(), schluessel, false).nachSchluessel);
}

Kontaktscan::Treffer clActDBF::Vorauswahl(const QString &Suchfelder, const QString &Suchwert,
                                          const QString &schluessel, bool nurErster) const
{
    if (!m_db)
        return {};
    Kontaktscan::Auftrag auftrag;
    auftrag.felder = Eintraege(Suchfelder);
    auftrag.ziffern = Suchwert;
    auftrag.schluessel = schluessel;
    auftrag.heimatvorwahl = Heimatvorwahl();
    auftrag.nurErsterWoertlich = nurErster;
    return Kontaktscan::lesen(m_datei, auftrag);
}

std::unique_ptr<Recordset> clActDBF::oeffneNur(const QString &auswahl, const QString &bedingung,
                                               const Kontaktscan::Zeilen &zeilen)
{
    if (!zeilen)
        return oeffne(auswahl + bedingung);
    QStringList ids;
    for (const qint64 z : *zeilen)
        ids.append(QString::number(z));
    // The statement fetches just the records found and checks them again, in
    // case the contact manager rewrote the file in between.
    const QString t = u'[' + m_tabelle + u']';
    std::unique_ptr<Recordset> rs = oeffne(auswahl + t + u".rowid IN ("_s + ids.join(u',') + u") AND ("_s + bedingung + u')');
    if (rs && rs->Eof() && !zeilen->empty()) {
        rs->Close();
        return oeffne(auswahl + bedingung);
    }
    return rs;
}

QString clActDBF::Firma(const QString &uniqueId)
{
    if (!m_db)
        return {};
    try {
        // The id is unique: the read of the table ends at its record.
        const auto rs = m_db->OpenRecordset(u"SELECT COMPANY FROM ["_s + m_tabelle + u"] WHERE UNIQUE_ID = ? LIMIT 1"_s,
                                            {uniqueId.trimmed()});
        return rs->Eof() ? QString() : rs->Fields()[u"COMPANY"_s].Text().trimmed();
    } catch (const JetFehler &) {
        return {};
    }
}

std::unique_ptr<Recordset> clActDBF::Cachequelle(const QString &Telefonfelder, bool mitSchluesseln)
{
    const QString t = u'[' + m_tabelle + u']';
    const QString heimat = Heimatvorwahl();
    QString sql = u"SELECT "_s;
    for (const QString &f : Eintraege(Telefonfelder)) {
        sql += t + u'.' + f + u", "_s;
        if (mitSchluesseln)
            sql += u"NUMMERNSCHLUESSEL("_s + t + u'.' + f + u", '"_s + heimat + u"') AS ["_s + Schluesselfeld(f)
                   + u"], "_s;
    }
    sql += t + u".NAME, "_s + t + u".COMPANY, "_s + t + u".CITY, "_s + t + u".UNIQUE_ID FROM "_s + t;
    return oeffne(sql);
}

std::unique_ptr<Zeilenleser> clActDBF::Cachezeilen(const QString &Telefonfelder, bool mitSchluesseln) const
{
    if (!m_db)
        return nullptr;
    return ::Cachezeilen::oeffnen(m_datei, Eintraege(Telefonfelder), Heimatvorwahl().toStdString(), mitSchluesseln);
}

clActDBF::~clActDBF() = default;

std::unique_ptr<Recordset> clActDBF::oeffne(const QString &sql)
{
    try {
        if (!m_db)
            throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
        return m_db->OpenRecordset(sql);
    } catch (const JetFehler &e) {
        oeffnenFehlgeschlagen(e.Number(), e.HelpFile(), e.Description());
        return nullptr;
    }
}

QString clActDBF::Klassenname()
{
    return u"clACTDBF"_s;
}

QStringList clActDBF::Eintraege(const QString &liste)
{
    QStringList e;
    if (liste.isEmpty())
        return e;
    for (const QString &teil : liste.split(u','))
        e.append(teil.trimmed());
    return e;
}

bool clActDBF::OhneFelder(const QString &liste)
{
    const QStringList e = Eintraege(liste);
    return std::all_of(e.begin(), e.end(), [](const QString &feld) { return feld.isEmpty(); });
}

QString clActDBF::Suchmuster(const QString &wert)
{
    QString muster;
    for (const QChar c : wert) {
        const int code = cp1252(c);
        if ((code >= 97 && code <= 122) || (code >= 224 && code <= 253)) {
            muster += u'[' + c + QChar(char16_t(code - 32)) + u']';
        } else if ((code >= 65 && code <= 90) || (code >= 192 && code <= 221)) {
            muster += u'[' + c + QChar(char16_t(code + 32)) + u']';
        } else if (c == u'\'') {
            // The value is data: a quote must not end the statement's text...
            muster += u"''"_s;
        } else if (c == u'*' || c == u'?' || c == u'#' || c == u'[') {
            // ...and a pattern character must match only itself.
            muster += u'[' + c + u']';
        } else {
            muster += c;
        }
    }
    return muster;
}

QString clActDBF::Anweisung(const QString &tabelle, const QString &Suchfelder, const QString &Ergebnisfelder,
                            const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld)
{
    std::optional<QString> bedingung;
    const QString auswahl = Anweisungsteile(tabelle, Suchfelder, Ergebnisfelder, Suchwert, Verknuepfung, nurErstesFeld,
                                            bedingung);
    return bedingung ? auswahl + u"WHERE "_s + *bedingung : auswahl;
}

QString clActDBF::Anweisungsteile(const QString &tabelle, const QString &Suchfelder, const QString &Ergebnisfelder,
                                  const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld,
                                  std::optional<QString> &bedingung)
{
    const QString t = u'[' + tabelle + u']';
    const QStringList such = Eintraege(Suchfelder);
    QString s = u"SELECT "_s;
    for (const QString &f : such)
        s += t + u'.' + f + u", "_s;
    for (const QString &f : Eintraege(Ergebnisfelder))
        s += t + u'.' + f + u", "_s;
    s += t + u".UNIQUE_ID "_s + u"FROM "_s + t + u' ';
    bedingung.reset();
    if (!(Suchfelder.isEmpty() && Suchwert.isEmpty())) {
        QStringList bedingungen;
        const QString muster = Suchmuster(Suchwert);
        for (const QString &f : such) {
            bedingungen.append(t + u'.' + f + u" LIKE '*"_s + muster + u"*'"_s);
            if (nurErstesFeld)
                break;
        }
        bedingung = bedingungen.join(u' ' + Verknuepfung + u' ');
    }
    return s;
}

bool clActDBF::init(const QString &Datenbankpfad)
{
    if (Datenbankpfad.isEmpty()) {
        m_dialogs.MsgBox(u"Fehler in Methode init in Klasse "_s + Klassenname() + CRLF
                             + u"Der übergebende Datenbankpfad ist leer."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        return false;
    }
    const ActPfad pfad(Datenbankpfad);
    m_ordner = pfad.Ordner();
    m_tabelle = pfad.Tabellenname();
    m_datei = ActPfad::finde(Datenbankpfad);
    try {
        m_db = DBEngine::instance().OpenDatabase(m_ordner, false, false, u"FoxPro 2.6;"_s);
        return true;
    } catch (const JetFehler &e) {
        m_db.reset();
        oeffnenFehlgeschlagen(e.Number(), e.HelpFile(), e.Description());
        return false;
    }
}

void clActDBF::kill()
{
    if (m_db)
        m_db->Close();
    m_db.reset();
}

bool clActDBF::istOffen() const
{
    return m_db && m_db->isOpen();
}

void clActDBF::oeffnenFehlgeschlagen(long nummer, const QString &hilfe, const QString &beschreibung)
{
    m_dialogs.MsgBox(u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s + CRLF + u"Error #"_s + mitVorzeichenstelle(nummer)
                         + u" ("_s + hilfe + u") "_s + beschreibung,
                     Dialogs::Buttons::Ok, Dialogs::Icon::None, Dialogs::defaultTitle());
}

std::unique_ptr<Recordset> clActDBF::Suche(const QString &Suchfelder, const QString &Ergebnisfelder,
                                           const QString &Suchwert, const QString &Verknuepfung, bool nurErstesFeld,
                                           const Kontaktscan::Zeilen *vorab)
{
    std::optional<QString> bedingung;
    const QString auswahl =
        Anweisungsteile(m_tabelle, Suchfelder, Ergebnisfelder, Suchwert, Verknuepfung, nurErstesFeld, bedingung);
    const QString sql = bedingung ? auswahl + u"WHERE "_s + *bedingung : auswahl;
    if (m_optionen.leseZahl(u"Debug"_s) == 1) {
        m_clipboard.Clear();
        m_clipboard.SetText(sql);
    }
    // Every row, or a condition on no field: nothing to look for in the file.
    if (!bedingung || bedingung->isEmpty())
        return oeffne(sql);
    if (vorab)
        return oeffneNur(auswahl + u"WHERE "_s, *bedingung, *vorab);
    return oeffneNur(auswahl + u"WHERE "_s, *bedingung, Vorauswahl(Suchfelder, Suchwert, QString(), false).woertlich);
}

QString clActDBF::Endung(const QString &tabellentyp)
{
    const QString typ = tabellentyp.toLower();
    if (typ == u"kontakt"_s || typ == u"contact"_s)
        return u".dbf"_s;
    if (typ == u"gruppen"_s || typ == u"gruppe"_s || typ == u"group"_s || typ == u"groups"_s)
        return u".gdb"_s;
    m_dialogs.MsgBox(u"Tabellentyp ist fremd ("_s + tabellentyp + u"). Es wird die Kontakt-Tabelle benutzt."_s,
                     Dialogs::Buttons::Ok, Dialogs::Icon::None, Dialogs::defaultTitle());
    return u".dbf"_s;
}

long clActDBF::SucheMaxWert(const QString &Feld, const QString &Tabellentyp, const QString &Praefix)
{
    const QString sql = u"SELECT "_s + Feld + u" FROM ["_s + m_tabelle + Endung(Tabellentyp) + u"] WHERE "_s + Feld
                        + u" LIKE '"_s + Suchmuster(Praefix) + u"*';"_s;
    std::unique_ptr<Recordset> rs;
    try {
        if (!m_db)
            throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
        rs = m_db->OpenRecordset(sql);
    } catch (const JetFehler &e) {
        m_dialogs.MsgBox(u"Konnte Ihre ACT!-Datenbank nicht öffnen !"_s + CRLF + u"Error #"_s
                             + mitVorzeichenstelle(e.Number()) + u" ("_s + e.HelpFile() + u") "_s + e.Description()
                             + CRLF + u"SQL: "_s + sql,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return 0;
    }
    long groesster = 0;
    while (!rs->Eof()) {
        const QString rest = rs->Fields()[0].Text().mid(Praefix.size());
        bool ok = false;
        const long wert = rest.trimmed().toLong(&ok);
        if (!ok)
            throw JetFehler(JetFehler::Typkonvertierung, u"Typen unverträglich: '%1'."_s.arg(rest));
        groesster = std::max(groesster, wert);
        rs->MoveNext();
    }
    return groesster;
}

long clActDBF::getRecordcount(const QString &Feld, const QString &Tabellentyp)
{
    if (!m_db)
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
    auto rs = m_db->OpenRecordset(u"SELECT COUNT("_s + Feld + u") FROM ["_s + m_tabelle + Endung(Tabellentyp)
                                  + u"] WHERE "_s + Feld + u" IS NOT NULL;"_s);
    const long n = rs->Eof() ? 0 : rs->Fields()[0].Value().toLongLong();
    rs->Close();
    return n;
}
