#include "actdb/clTabellenCache.h"

#include "actdb/DiagnoseActdb.h"
#include "actdb/Zeilenleser.h"
#include "actdb/clActDBF.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"
#include "platform/jet/Recordset.h"
#include "platform/jet/Verbindung.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

// A number or a key: the searches of every call look for digits.
bool nurZiffern(const QString &wert)
{
    return wert.size() >= 3
        && std::all_of(wert.begin(), wert.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

clTabellenCache::clTabellenCache(Dialogs &dialogs, Clipboard &clipboard)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
{
}

clTabellenCache::~clTabellenCache()
{
    schliessen();
    m_status = nullptr;
}

QString clTabellenCache::Statuskennung()
{
    return u"TabCache"_s;
}

void clTabellenCache::schliessen()
{
    m_ohneZiffernanweisung.clear();
    m_stichproben.clear();
    if (m_db) {
        try {
            m_db->Close();
        } catch (const JetFehler &) {
        }
    }
    m_db.reset();
}

bool clTabellenCache::istOffen() const
{
    return m_db && m_db->isOpen();
}

Database &clTabellenCache::datenbank()
{
    if (!m_db)
        throw JetFehler(JetFehler::ObjektUngueltig, u"Objekt ungültig oder nicht mehr festgelegt."_s);
    return *m_db;
}

void clTabellenCache::status(const QString &text)
{
    if (m_status)
        m_status(text.isEmpty() ? QString() : Statuskennung() + u": "_s + text);
}

void clTabellenCache::initFehler(long nummer, const QString &beschreibung)
{
    m_dialogs.MsgBox(u"Fehler in TabCache - init"_s + CRLF + u"Fehlernummer: "_s + QString::number(nummer) + CRLF
                         + u"Fehlerbeschreibung: "_s + beschreibung,
                     Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

bool clTabellenCache::init(const QString &pfad, bool neu, Statusanzeige status)
{
    m_status = std::move(status);
    schliessen();
    m_pfad = pfad;
    const QFileInfo datei(pfad);
    // The cache is never read or made through a link: it could lead anywhere.
    if (datei.isSymLink()) {
        initFehler(70, u"Zugriff verweigert: '%1' ist ein Verweis."_s.arg(pfad));
        return false;
    }
    if (datei.exists() && !neu) {
        try {
            m_db = DBEngine::instance().OpenDatabase(pfad);
            return true;
        } catch (const JetFehler &e) {
            initFehler(e.Number(), e.Description());
            return false;
        }
    }
    if (datei.exists()) {
        QFile alt(pfad);
        if (!alt.remove()) {
            // The file is held or write-protected: the engine's words for it.
            initFehler(70, u"Zugriff verweigert: '%1' (%2)"_s.arg(pfad, alt.errorString()));
            return false;
        }
    }
    try {
        m_db = DBEngine::instance().CreateDatabase(pfad);
        return true;
    } catch (const JetFehler &e) {
        initFehler(e.Number(), e.Description());
        return false;
    }
}

void clTabellenCache::importFehler(const QString &schritt, const QString &feld, const JetFehler &fehler)
{
    QString text = u"Fehler in TabCache - AddRecordset - "_s + schritt + CRLF;
    if (!feld.isNull())
        text += u"Feld: "_s + feld + CRLF;
    text += u"Fehlernummer: "_s + QString::number(fehler.Number()) + CRLF + u"Fehlerbeschreibung: "_s
            + fehler.Description();
    m_dialogs.MsgBox(text, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
}

bool clTabellenCache::ADDRecordset(Recordset &quelle, const QString &tabelle, const QString &schluessel,
                                   const QString &indexfelder, Zeilenleser *direkt)
{
    // The source's fields as they are now: the copy does not move with it.
    const ::Fields spalten = quelle.Fields();
    return aufbauen(spalten, tabelle, schluessel, indexfelder, direkt, direkt ? nullptr : &quelle);
}

bool clTabellenCache::ADDZeilen(const ::Fields &spalten, const QString &tabelle, const QString &schluessel,
                                const QString &indexfelder, Zeilenleser &zeilen)
{
    return aufbauen(spalten, tabelle, schluessel, indexfelder, &zeilen, nullptr);
}

bool clTabellenCache::aufbauen(const ::Fields &spalten, const QString &tabelle, const QString &schluessel,
                               const QString &indexfelder, Zeilenleser *direkt, Recordset *quelle)
{
    Database &db = datenbank();
    for (const QString &name : db.TableDefs().Namen()) {
        if (name == tabelle)
            db.TableDefs().Delete(name);
    }

    status(u"Tabelle "_s + tabelle + u" wird erstellt"_s);
    TableDef neu(tabelle);
    for (const Field &spalte : spalten) {
        Field f = neu.CreateField(spalte.Name(), spalte.Type(), spalte.Size());
        if (spalte.Type() == DaoTyp::dbText)
            f.setAllowZeroLength(true);
        f.setSize(spalte.Size());
        neu.Fields().Append(f);
    }
    db.TableDefs().Append(neu);
    TableDef &angelegt = db.TableDefs()[tabelle];

    status(u"PrimeryKey-Index für Feld "_s + schluessel + u" wird erstellt"_s);
    Index primaer = angelegt.CreateIndex(u"PrimaryKey"_s);
    primaer.Primary = true;
    primaer.Unique = true;
    primaer.Clustered = false;
    primaer.IgnoreNulls = false;
    primaer.Fields().Append(primaer.CreateField(schluessel));
    angelegt.AppendIndex(primaer);

    for (const QString &feld : clActDBF::Eintraege(indexfelder)) {
        status(u"Index für Feld "_s + feld + u" wird erstellt"_s);
        Index index = angelegt.CreateIndex(feld);
        // Searched only for a part of the number: a sorted index would serve no search.
        index.Teilwortsuche = true;
        index.Fields().Append(index.CreateField(feld));
        angelegt.AppendIndex(index);
    }

    // One transaction for all rows: a million single writes would each wait
    // for the disk. A failed row keeps the ones before it.
    db.BeginTrans();
    // A commit that fails leaves nothing open behind: the file would stay locked.
    const auto uebernehmen = [&db] {
        try {
            db.CommitTrans();
        } catch (const JetFehler &) {
            try {
                db.Rollback();
            } catch (const JetFehler &) {
            }
            throw;
        }
    };
    std::unique_ptr<Recordset> ziel;
    QString schritt;
    QString feld;
    std::optional<JetFehler> fehler;
    try {
        ziel = db.OpenRecordset(tabelle, Recordset::dbOpenTable, Recordset::dbAppendOnly);

        const auto fortschritt = [&](qint64 i, qint64 anzahl) {
            if (i % 100 != 0)
                return;
            const auto prozent = static_cast<qint64>(std::floor(double(i) / double(anzahl + 1) * 100.0));
            status(u"Datenimport in Tabelle "_s + tabelle + u" ("_s + QString::number(prozent) + u"% fertig)"_s);
        };
        qint64 anzahl = 0;
        if (direkt) {
            // Nothing to count first: the file says about how many rows there are.
            anzahl = direkt->ungefaehreAnzahl();
            qint64 i = 0;
            schritt = u"Update"_s;
            while (const Verbindung::Textzeile *zeile = direkt->naechste()) {
                fortschritt(i++, anzahl);
                try {
                    ziel->Anfuegen(*zeile);
                } catch (const JetFehler &e) {
                    fehler = e;
                    break;
                }
            }
            anzahl = 0;
        } else if (quelle && !(quelle->Eof() && quelle->RecordCount() == 0)) {
            quelle->MoveLast();
            anzahl = quelle->RecordCount();
            quelle->MoveFirst();
        }

        const int n = spalten.Count();
        for (qint64 i = 0; i < anzahl && !fehler; ++i) {
            fortschritt(i, anzahl);
            try {
                schritt = u"AddNew"_s;
                ziel->AddNew();
                schritt = u"SetField"_s;
                for (int j = 0; j < n; ++j) {
                    feld = quelle->Fields()[j].Name();
                    ziel->Fields()[j].setValue(quelle->Fields()[j].Value());
                }
                feld.clear();
                schritt = u"Update"_s;
                ziel->Update();
            } catch (const JetFehler &e) {
                ziel->CancelUpdate();
                fehler = e;
                break;
            }
            quelle->MoveNext();
        }
        ziel->Close();
    } catch (const JetFehler &) {
        ziel.reset();
        try {
            uebernehmen();
        } catch (const JetFehler &) {
            // The error that ended the import is the one the caller hears of.
        }
        throw;
    }
    uebernehmen();

    if (fehler) {
        importFehler(schritt, schritt == u"SetField"_s ? feld : QString(), *fehler);
        return false;
    }
    status(QString());
    return true;
}

namespace {

// The columns a cache statement reads: the searched fields, then the result fields.
QString Spaltenliste(const QString &tabelle, const QStringList &suchfelder, const QString &ergebnisfelder)
{
    QStringList spalten;
    for (const QString &f : suchfelder + clActDBF::Eintraege(ergebnisfelder))
        spalten.append(tabelle + u".["_s + f + u']');
    return spalten.join(u", "_s);
}

} // namespace

QString clTabellenCache::Anweisung(const QString &tabelle, const QString &suchfelder, const QString &ergebnisfelder,
                                   const QString &suchwert, const QString &verknuepfung, bool nurErstesFeld)
{
    const QString t = u'[' + tabelle + u']';
    const QStringList such = clActDBF::Eintraege(suchfelder);
    const QString spalten = Spaltenliste(t, such, ergebnisfelder);
    QString s = u"SELECT "_s + spalten + (spalten.isEmpty() ? QString() : u" "_s) + u"FROM "_s + t + u' ';
    if (!such.isEmpty()) {
        QStringList bedingungen;
        const QString muster = clActDBF::Suchmuster(suchwert);
        for (const QString &f : such) {
            bedingungen.append(t + u".["_s + f + u"] LIKE '*"_s + muster + u"*'"_s);
            if (nurErstesFeld)
                break;
        }
        s += u"WHERE "_s + bedingungen.join(u' ' + verknuepfung + u' ');
    }
    return s;
}

QString clTabellenCache::Ziffernanweisung(const QString &tabelle, const QString &suchfelder,
                                         const QString &ergebnisfelder)
{
    // What the engine makes of Anweisung for digits in columns with trigram
    // tables: the rows of the lookup, each checked again by the pattern.
    const QString t = u'[' + tabelle + u']';
    const QStringList such = clActDBF::Eintraege(suchfelder);
    const QString s = u"SELECT "_s + Spaltenliste(t, such, ergebnisfelder);
    QStringList auswahlen;
    QStringList bedingungen;
    for (const QString &f : such) {
        const QString index = u'[' + Verbindung::Trigrammname(tabelle, f) + u']';
        auswahlen.append(u"SELECT rowid FROM "_s + index + u" WHERE "_s + index + u" MATCH ?"_s);
        bedingungen.append(t + u".["_s + f + u"] LIKE ?"_s);
    }
    return s + u" FROM "_s + t + u" WHERE ("_s + t + u".rowid IN ("_s + auswahlen.join(u" UNION "_s) + u") AND ("_s
           + bedingungen.join(u" OR "_s) + u"))"_s;
}

QString clTabellenCache::Ziffernabfrage(const QString &tabelle, const QString &suchfelder, const QString &ziffern)
{
    return JetSql::Trigrammabfrage(ziffern, m_db ? &stichprobe(tabelle, suchfelder) : nullptr);
}

const Trigrammzahlen &clTabellenCache::stichprobe(const QString &tabelle, const QString &suchfelder)
{
    // A thousand rows tell the common trigrams (area codes, mobile prefixes)
    // from the rare ones. They are taken in a hundred runs of ten spread over
    // the table (its rows are numbered from one): rows side by side share
    // the file's pages, which single rows spread out would each read anew.
    constexpr qint64 Laeufe = 100;
    constexpr qint64 Lauflaenge = 10;
    // Every search of a call asks: the fields as the caller wrote them are the key.
    const QString schluessel = tabelle + u':' + suchfelder;
    if (const auto it = m_stichproben.constFind(schluessel); it != m_stichproben.cend())
        return *it;
    const QStringList felder = clActDBF::Eintraege(suchfelder);
    Trigrammzahlen zahlen;
    try {
        const QString t = u'[' + tabelle + u']';
        const auto letzte = m_db->OpenRecordset(u"SELECT max("_s + t + u".rowid) FROM "_s + t, QVariantList{});
        const qint64 n = letzte->Eof() ? 0 : letzte->Wert(0).toLongLong();
        const qint64 schritt = std::max<qint64>(Lauflaenge, n / Laeufe);
        QVariantList zeilen;
        QStringList stellen;
        for (qint64 anfang = 1; anfang <= n && zeilen.size() < Laeufe * Lauflaenge; anfang += schritt) {
            for (qint64 r = anfang; r < anfang + Lauflaenge && r <= n; ++r) {
                zeilen.append(r);
                stellen.append(u"?"_s);
            }
        }
        if (!zeilen.isEmpty() && !felder.isEmpty()) {
            QStringList spalten;
            for (const QString &f : felder)
                spalten.append(t + u".["_s + f + u']');
            const auto rs = m_db->OpenRecordset(u"SELECT "_s + spalten.join(u", "_s) + u" FROM "_s + t + u" WHERE "_s
                                                    + t + u".rowid IN ("_s + stellen.join(u',') + u')',
                                                zeilen);
            for (; !rs->Eof(); rs->MoveNext()) {
                for (int i = 0; i < felder.size(); ++i) {
                    const QString wert = rs->Wert(i).toString();
                    if (!wert.isEmpty())
                        zahlen.zaehlen(wert);
                }
            }
        }
    } catch (const JetFehler &e) {
        // Without a sample the trigrams are chosen by their place alone.
        qCWarning(lcActdb).noquote() << u"Nummern-Cache %1: keine Stichprobe (%2 %3)"_s.arg(
            m_pfad, QString::number(e.Number()), e.Description());
        zahlen = {};
    }
    return *m_stichproben.insert(schluessel, std::move(zahlen));
}

std::unique_ptr<Recordset> clTabellenCache::Suche(const QString &tabelle, const QString &suchfelder,
                                                  const QString &ergebnisfelder, const QString &suchwert,
                                                  const QString &verknuepfung, bool nurErstesFeld)
{
    // Digits, searched in every field: one statement for all values, made
    // once while the file is open. Where it cannot run (a field without
    // trigram table) the statement with the value in its text does.
    if (m_db && nurZiffern(suchwert) && verknuepfung == u"OR"_s && !nurErstesFeld
        && !clActDBF::OhneFelder(suchfelder)) {
        const QString anweisung = Ziffernanweisung(tabelle, suchfelder, ergebnisfelder);
        if (!m_ohneZiffernanweisung.contains(anweisung)) {
            const qsizetype felder = clActDBF::Eintraege(suchfelder).size();
            QVariantList parameter;
            const QString abfrage = Ziffernabfrage(tabelle, suchfelder, suchwert);
            for (qsizetype i = 0; i < felder; ++i)
                parameter.append(abfrage);
            for (qsizetype i = 0; i < felder; ++i)
                parameter.append(u'*' + suchwert + u'*');
            try {
                return m_db->OpenRecordset(anweisung, parameter);
            } catch (const JetFehler &e) {
                // Slower, and the same rows.
                qCWarning(lcActdb).noquote() << u"Nummern-Cache %1: Suche ohne Trigrammtabellen (%2 %3)"_s.arg(
                    m_pfad, QString::number(e.Number()), e.Description());
                m_ohneZiffernanweisung.insert(anweisung);
            }
        }
    }
    const QString sql = Anweisung(tabelle, suchfelder, ergebnisfelder, suchwert, verknuepfung, nurErstesFeld);
    try {
        return datenbank().OpenRecordset(sql);
    } catch (const JetFehler &e) {
        m_clipboard.Clear();
        m_clipboard.SetText(sql);
        m_dialogs.MsgBox(u"Fehler in TabCache - Suche"_s + CRLF + u"Fehlernummer: "_s + QString::number(e.Number())
                             + u" ("_s + e.HelpFile() + u") "_s + CRLF + u"Fehlerbeschreibung: "_s + e.Description()
                             + CRLF + u"MDB-Name: "_s + (m_db ? m_db->Name() : m_pfad) + CRLF
                             + u"(SQL-Befehl in der Zwischenablage)"_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        return nullptr;
    }
}

QString clTabellenCache::Firma(const QString &tabelle, const QString &uniqueId)
{
    if (!m_db)
        return {};
    try {
        const auto rs = m_db->OpenRecordset(u"SELECT [COMPANY] FROM ["_s + tabelle + u"] WHERE [UNIQUE_ID] = ?"_s,
                                            {uniqueId.trimmed()});
        return rs->Eof() ? QString() : rs->Fields()[u"COMPANY"_s].Text().trimmed();
    } catch (const JetFehler &) {
        return {};
    }
}

QDateTime clTabellenCache::Tabellendatum(const QString &tabelle)
{
    return datenbank().TableDefs()[tabelle].DateCreated();
}

double clTabellenCache::Tabellenalter(const QString &tabelle)
{
    const QDateTime erstellt = Tabellendatum(tabelle);
    return double(erstellt.msecsTo(DBEngine::instance().jetzt())) / 86'400'000.0;
}

int clTabellenCache::Tabellenanzahl()
{
    return datenbank().TableDefs().Count();
}

bool clTabellenCache::TabelleVorhanden(const QString &pfad, const QString &tabelle)
{
    const QFileInfo datei(pfad);
    if (!datei.exists() || !datei.isFile() || datei.isSymLink())
        return false;
    try {
        auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
        bool gefunden = false;
        ::TableDefs &defs = db->TableDefs();
        const int n = defs.Count();
        for (int i = 0; i < n && !gefunden; ++i)
            gefunden = defs[i].Name() == tabelle;
        db->Close();
        return gefunden;
    } catch (const JetFehler &) {
        return false;
    }
}
