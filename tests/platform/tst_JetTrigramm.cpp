// The engine's trigram tables: "LIKE '*text*'" over an indexed text column is
// answered from them, and must give exactly the rows of a scan, in the
// table's order. Real SQLite files, a contact table made by the generator,
// and a look at the file beside the engine where it matters what it keeps.
#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "app/modOptionen.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/JetSql.h"
#include "platform/settings/IniSettingsStore.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;

template <typename F>
long fehlernummer(F f)
{
    try {
        f();
    } catch (const JetFehler &e) {
        return e.Number();
    }
    return 0;
}

// The file as SQLite itself sees it, beside the engine.
qint64 rohZahl(const QString &pfad, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK
        && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close_v2(db);
    return n;
}

// Runs statements on the file past the engine; gives SQLite's result code.
int rohAusfuehren(const QString &pfad, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    return rc;
}

QStringList ids(std::unique_ptr<Recordset> rs, const QString &feld = u"UNIQUE_ID"_s)
{
    QStringList liste;
    while (rs && !rs->Eof()) {
        liste.append(rs->Wert(feld).toString());
        rs->MoveNext();
    }
    return liste;
}

// A statement of the engine as it reaches SQLite, with trigram tables for
// the PHONE and FAX columns of ACTNR only.
QString umgeschrieben(const QString &sql)
{
    return JetSql::mitTrigrammen(JetSql::translate(sql, QDateTime::currentDateTime()),
                                 [](const QString &tabelle, const QString &spalte) {
                                     if (tabelle.compare(u"ACTNR"_s, Qt::CaseInsensitive) != 0)
                                         return QString();
                                     if (spalte.compare(u"PHONE"_s, Qt::CaseInsensitive) == 0
                                         || spalte.compare(u"FAX"_s, Qt::CaseInsensitive) == 0)
                                         return u"MSysTrigramm:actnr:"_s + spalte.toLower();
                                     return QString();
                                 });
}

struct Kontaktzeile
{
    QString id;
    QStringList telefone; // Null as a null text
};

} // namespace

class tst_JetTrigramm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void teiltext_data();
    void teiltext();
    void abfrageDecktDenText_data();
    void abfrageDecktDenText();
    void umschreiben_data();
    void umschreiben();

    void gleicheZeilenWieDerScan_data();
    void gleicheZeilenWieDerScan();
    void trigrammtabelleWirdWirklichGefragt();
    void triggerHaltenSieImTakt();

    void begleiterNurFuerEinzelneTextspalten();
    void begleiterVerborgenUndMitGeloescht();
    void importInTransaktion();
    void importOhneTransaktionHaeltIndexe();
    void importDoppelteSchluessel_data();
    void importDoppelteSchluessel();
    void importRollbackUndCommitOhneClose();
    void fremdeZeileMitDoppeltemSchluessel();
    void letzteZeileBleibt_data();
    void letzteZeileBleibt();

    void moveLast_data();
    void moveLast();
    void moveLastAufDerKontakttabelle();

private:
    QString kopie(const QString &name);
    std::shared_ptr<Database> neueDatenbank(const QString &name);
    QStringList erwartet(const QString &wert, const QString &verknuepfung, bool nurErstesFeld) const;

    QTemporaryDir m_dir;
    QString m_cache;
    QString m_dbf;
    ActGenerator::Summary m_summary;
    std::vector<Kontaktzeile> m_zeilen;
    QStringList m_datenschluessel;
    FakeSystem m_system;
    std::unique_ptr<IniSettingsStore> m_store;
    std::unique_ptr<modOptionen> m_optionen;
    ScriptedDialogs m_dialogs;
    MemoryClipboard m_clipboard;
};

void tst_JetTrigramm::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_store = std::make_unique<IniSettingsStore>(m_dir.filePath(u"Rufmon.conf"_s));
    m_optionen = std::make_unique<modOptionen>(*m_store, m_system);

    ActGenerator g;
    g.options().seed = 23;
    g.options().contacts = 3000;
    g.addSampleContacts();
    const auto kontakt = [&](const QString &name, const QString &phone, const QString &fax, const QString &home) {
        ActGenerator::Contact c;
        c.lastName = name;
        c.name = name;
        c.phone = phone;
        c.fax = fax;
        c.homePhone = home;
        g.addKnownContact(c);
    };
    kontakt(u"Blumen"_s, u"0800 FLOWERS"_s, QString(), QString());
    kontakt(u"Stern"_s, u"0301*"_s, QString(), QString());
    kontakt(u"Hochkomma"_s, u"089 12'34"_s, QString(), QString());
    kontakt(u"Klammer"_s, u"+49 (89) 123-456"_s, u"+49 (89) 123-457"_s, QString());
    kontakt(u"Zehn"_s, QString(), QString(), u"0891234567"_s);
    kontakt(u"Anführung"_s, u"0221 \"55\" 66"_s, QString(), QString());
    QVERIFY2(g.write(m_dir.filePath(u"act"_s)), qPrintable(g.errorString()));
    m_dbf = g.summary().dbfPath;
    m_summary = g.summary();

    // The cache as the program builds it: the import path of the engine.
    m_cache = m_dir.filePath(u"Cache.mdb"_s);
    {
        clActDBF act(m_dialogs, m_clipboard, *m_optionen);
        QVERIFY(act.init(m_dbf));
        auto quelle = act.Suche(QString(), Telefonfelder + u",NAME,COMPANY,CITY"_s, QString(), QString(), false);
        QVERIFY(quelle);
        clTabellenCache cache(m_dialogs, m_clipboard);
        QVERIFY(cache.init(m_cache, true, {}));
        QVERIFY(cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder));
        quelle->Close();
        act.kill();
    }
    QVERIFY2(m_dialogs.boxes().isEmpty(), qPrintable(m_dialogs.boxes().value(0).text));

    auto db = DBEngine::instance().OpenDatabase(m_cache);
    // The same rows without any index: the reference scan.
    db->Execute(u"CREATE TABLE OHNE AS SELECT * FROM ACTNR"_s);
    auto rs = db->OpenRecordset(u"SELECT UNIQUE_ID, "_s + Telefonfelder + u" FROM ACTNR"_s);
    while (!rs->Eof()) {
        Kontaktzeile z;
        z.id = rs->Wert(0).toString();
        for (int i = 1; i <= 5; ++i)
            z.telefone.append(rs->Fields()[i].isNull() ? QString() : rs->Wert(i).toString());
        m_zeilen.push_back(z);
        rs->MoveNext();
    }
    rs.reset();
    db->Close();
    QCOMPARE(qint64(m_zeilen.size()), m_summary.records - m_summary.deleted);

    // Pieces of numbers that are there, of 3, 4 and 10 characters and whole.
    for (std::size_t i = 0; i < m_zeilen.size(); i += 97) {
        for (const QString &t : m_zeilen[i].telefone) {
            if (t.size() < 4)
                continue;
            m_datenschluessel << t.mid(1, 3) << t.left(4) << t;
            if (t.size() >= 10)
                m_datenschluessel << t.right(10);
            break;
        }
    }
    m_datenschluessel.removeDuplicates();
    QVERIFY(m_datenschluessel.size() > 60);
}

void tst_JetTrigramm::init()
{
    m_dialogs.clear();
}

void tst_JetTrigramm::cleanup()
{
    DBEngine::instance().setUhr({});
}

QString tst_JetTrigramm::kopie(const QString &name)
{
    const QString ziel = m_dir.filePath(name);
    QFile::remove(ziel);
    if (!QFile::copy(m_cache, ziel))
        return QString();
    QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner);
    return ziel;
}

std::shared_ptr<Database> tst_JetTrigramm::neueDatenbank(const QString &name)
{
    const QString pfad = m_dir.filePath(name);
    QFile::remove(pfad);
    auto db = DBEngine::instance().CreateDatabase(pfad, u";LANGID=0x0409;CP=1252;COUNTRY=0"_s, 32);
    TableDef t(u"T"_s);
    for (const auto &[name, groesse] : {std::pair{u"UNIQUE_ID"_s, 12}, {u"PHONE"_s, 30}, {u"NAME"_s, 40}}) {
        Field f = t.CreateField(name, DaoTyp::dbText, groesse);
        f.setAllowZeroLength(true);
        t.Fields().Append(f);
    }
    Index pk = t.CreateIndex(u"PrimaryKey"_s);
    pk.Primary = true;
    pk.Unique = true;
    pk.Fields().Append(pk.CreateField(u"UNIQUE_ID"_s));
    t.AppendIndex(pk);
    Index phone = t.CreateIndex(u"PHONE"_s);
    phone.Fields().Append(phone.CreateField(u"PHONE"_s));
    t.AppendIndex(phone);
    db->TableDefs().Append(t);
    return db;
}

// The rows whose phone fields match, by the engine's own LIKE, in table order.
QStringList tst_JetTrigramm::erwartet(const QString &wert, const QString &verknuepfung, bool nurErstesFeld) const
{
    const JetLike muster((u'*' + clActDBF::Suchmuster(wert).replace(u"''"_s, u"'"_s) + u'*').toStdString());
    const bool und = verknuepfung.compare(u"AND"_s, Qt::CaseInsensitive) == 0;
    QStringList liste;
    for (const Kontaktzeile &z : m_zeilen) {
        bool treffer = und;
        for (int i = 0; i < (nurErstesFeld ? 1 : 5); ++i) {
            const QString &t = z.telefone[i];
            const bool passt = !t.isNull() && muster.matches(t.toStdString());
            treffer = und ? (treffer && passt) : (treffer || passt);
        }
        if (treffer)
            liste.append(z.id);
    }
    return liste;
}

void tst_JetTrigramm::teiltext_data()
{
    QTest::addColumn<QString>("muster");
    QTest::addColumn<QString>("text"); // null: the pattern stays a scan

    QTest::newRow("digits") << u"*0891*"_s << u"0891"_s;
    QTest::newRow("three digits") << u"*089*"_s << u"089"_s;
    QTest::newRow("two digits") << u"*08*"_s << QString();
    QTest::newRow("blank and slash") << u"*0171/23 4*"_s << u"0171/23 4"_s;
    QTest::newRow("letter pairs") << u"*[fF][lL][oO]*"_s << u"flo"_s;
    QTest::newRow("pair counts as one") << u"*[aA]1*"_s << QString();
    QTest::newRow("not a case pair") << u"*[ab]12*"_s << QString();
    QTest::newRow("bracketed star") << u"*030[*]1*"_s << QString();
    QTest::newRow("question mark") << u"*03?1*"_s << QString();
    QTest::newRow("hash") << u"*03#1*"_s << QString();
    QTest::newRow("quote") << u"*089'12*"_s << QString();
    QTest::newRow("umlaut pair") << u"*[üÜ]ll*"_s << QString();
    QTest::newRow("no leading star") << u"0891*"_s << QString();
    QTest::newRow("no trailing star") << u"*0891"_s << QString();
    QTest::newRow("star inside") << u"*08*91*"_s << QString();
    QTest::newRow("double quote is plain") << u"*2\"5*"_s << u"2\"5"_s;
    QTest::newRow("tab") << u"*12\t3*"_s << QString();
}

void tst_JetTrigramm::teiltext()
{
    QFETCH(QString, muster);
    QFETCH(QString, text);
    const std::optional<QString> t = JetSql::Teiltext(muster);
    QCOMPARE(t.has_value(), !text.isNull());
    if (t)
        QCOMPARE(*t, text);
}

void tst_JetTrigramm::abfrageDecktDenText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("verschiedene"); // distinct trigrams the text has

    QTest::newRow("three") << u"089"_s << 1;
    QTest::newRow("four") << u"0891"_s << 2;
    QTest::newRow("five") << u"08912"_s << 3;
    QTest::newRow("six") << u"089123"_s << 4;
    QTest::newRow("ten") << u"0891234567"_s << 8;
    QTest::newRow("typed with blanks") << u"+49 (89) 123-456 78"_s << 17;
    QTest::newRow("quotes") << u"a\"b\"c"_s << 3;
    QTest::newRow("only quotes") << u"\"\"\"\""_s << 1;
    QTest::newRow("one digit over and over") << u"0000000000"_s << 1;
    QTest::newRow("zeros in the middle") << u"0300000001"_s << 4;
    QTest::newRow("same start and end") << u"abcXXabc"_s << 5;
}

void tst_JetTrigramm::abfrageDecktDenText()
{
    QFETCH(QString, text);
    QFETCH(int, verschiedene);
    const QString abfrage = JetSql::Trigrammabfrage(text);
    // "abc" AND "def" ...: quoted trigrams, a double quote doubled inside.
    static const QRegularExpression teil(u"\"((?:[^\"]|\"\")*)\""_s);
    QStringList trigramme;
    QString rest = abfrage;
    auto it = teil.globalMatch(abfrage);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        trigramme.append(m.captured(1).replace(u"\"\""_s, u"\""_s));
        rest.replace(m.captured(0), QString());
    }
    QCOMPARE(rest.remove(u" AND "_s).trimmed(), QString());
    // As many different trigrams of the text as it has, up to four; the
    // first and the last among them.
    QCOMPARE(int(trigramme.size()), std::min(verschiedene, 4));
    QCOMPARE(int(trigramme.size()), int(QSet<QString>(trigramme.begin(), trigramme.end()).size()));
    for (const QString &t : trigramme) {
        QCOMPARE(t.size(), 3);
        QVERIFY2(text.contains(t), qPrintable(t));
    }
    QVERIFY(trigramme.contains(text.left(3)));
    QVERIFY(trigramme.contains(text.right(3)));
}

void tst_JetTrigramm::umschreiben_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("abfragen"); // MATCHes in the rewritten statement
    QTest::addColumn<int>("auswahlen"); // rowid lookups

    const QString kopf = u"SELECT [ACTNR].[PHONE], [ACTNR].[UNIQUE_ID] FROM [ACTNR] WHERE "_s;
    QTest::newRow("as the cache asks") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' OR [ACTNR].[FAX] LIKE '*0891*'"_s
                                       << 2 << 1;
    QTest::newRow("one field") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*'"_s << 1 << 1;
    QTest::newRow("unbracketed column") << kopf + u"[ACTNR].PHONE LIKE '*0891*'"_s << 1 << 1;
    QTest::newRow("plain column") << u"SELECT PHONE FROM ACTNR WHERE phone LIKE '*0891*'"_s << 1 << 1;
    QTest::newRow("double-quoted text") << u"SELECT PHONE FROM ACTNR WHERE PHONE LIKE \"*0891*\""_s << 1 << 1;
    QTest::newRow("AND looks up each")
        << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' AND [ACTNR].[FAX] LIKE '*0892*'"_s << 2 << 2;
    QTest::newRow("groups") << kopf + u"([ACTNR].[PHONE] LIKE '*089*' OR [ACTNR].[FAX] LIKE '*089*') AND "
                                      u"[ACTNR].[PHONE] LIKE '*123*'"_s
                            << 3 << 2;
    QTest::newRow("order kept after") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' ORDER BY [ACTNR].[NAME]"_s << 1 << 1;
    QTest::newRow("column without trigrams")
        << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' OR [ACTNR].[HOME_PHONE] LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("two digits") << kopf + u"[ACTNR].[PHONE] LIKE '*08*'"_s << 0 << 0;
    QTest::newRow("pattern character") << kopf + u"[ACTNR].[PHONE] LIKE '*08[*]1*'"_s << 0 << 0;
    QTest::newRow("quote") << kopf + u"[ACTNR].[PHONE] LIKE '*08''91*'"_s << 0 << 0;
    QTest::newRow("prefix only") << kopf + u"[ACTNR].[PHONE] LIKE '0891*'"_s << 0 << 0;
    QTest::newRow("NOT") << kopf + u"NOT [ACTNR].[PHONE] LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("NOT LIKE") << kopf + u"[ACTNR].[PHONE] NOT LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("other condition") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' AND [ACTNR].[NAME] = 'x'"_s << 0 << 0;
    QTest::newRow("ESCAPE") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*' ESCAPE '!'"_s << 0 << 0;
    QTest::newRow("other table's column") << kopf + u"[ANDERE].[PHONE] LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("alias") << u"SELECT a.PHONE FROM ACTNR a WHERE a.PHONE LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("join") << u"SELECT ACTNR.PHONE FROM ACTNR JOIN X ON X.ID = ACTNR.UNIQUE_ID WHERE "
                             u"ACTNR.PHONE LIKE '*0891*'"_s
                          << 0 << 0;
    QTest::newRow("subquery") << u"SELECT PHONE FROM ACTNR WHERE UNIQUE_ID IN (SELECT ID FROM X) AND "
                                 u"PHONE LIKE '*0891*'"_s
                              << 0 << 0;
    QTest::newRow("two tables") << u"SELECT ACTNR.PHONE FROM ACTNR, X WHERE ACTNR.PHONE LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("not a SELECT") << u"DELETE FROM ACTNR WHERE PHONE LIKE '*0891*'"_s << 0 << 0;
    QTest::newRow("no WHERE") << u"SELECT PHONE FROM ACTNR"_s << 0 << 0;
    QTest::newRow("unclosed text") << kopf + u"[ACTNR].[PHONE] LIKE '*0891*"_s << 0 << 0;
}

void tst_JetTrigramm::umschreiben()
{
    QFETCH(QString, sql);
    QFETCH(int, abfragen);
    QFETCH(int, auswahlen);
    const QString vorher = JetSql::translate(sql, QDateTime::currentDateTime());
    const QString nachher = umgeschrieben(sql);
    QCOMPARE(int(nachher.count(u" MATCH "_s)), abfragen);
    QCOMPARE(int(nachher.count(u".rowid IN ("_s)), auswahlen);
    if (abfragen == 0) {
        QCOMPARE(nachher, vorher);
        return;
    }
    // Every condition is still there, as the check of the rows found.
    static const QRegularExpression bedingung(u"(?:\\[?\\w+\\]?\\.)?\\[?\\w+\\]? LIKE '[^']*'"_s);
    auto it = bedingung.globalMatch(vorher);
    while (it.hasNext()) {
        const QString b = it.next().captured(0);
        QVERIFY2(nachher.contains(b), qPrintable(nachher));
    }
    const qsizetype wo = vorher.indexOf(u" WHERE "_s);
    QCOMPARE(nachher.left(wo), vorher.left(wo));
    if (vorher.contains(u"ORDER BY"_s))
        QVERIFY(nachher.endsWith(u" ORDER BY [ACTNR].[NAME]"_s));
}

void tst_JetTrigramm::gleicheZeilenWieDerScan_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("verknuepfung");
    QTest::addColumn<bool>("nurErstesFeld");
    QTest::addColumn<bool>("schnell"); // answered from the trigram tables

    QTest::newRow("2 digits") << u"12"_s << u"OR"_s << false << false;
    QTest::newRow("3 digits") << u"030"_s << u"OR"_s << false << true;
    QTest::newRow("4 digits") << u"0301"_s << u"OR"_s << false << true;
    QTest::newRow("10 digits") << u"0891234567"_s << u"OR"_s << false << true;
    QTest::newRow("with blank") << u"030 1234567"_s << u"OR"_s << false << true;
    QTest::newRow("blank at the end") << u"30 "_s << u"OR"_s << false << true;
    QTest::newRow("slash") << u"0171/2345678"_s << u"OR"_s << false << true;
    QTest::newRow("brackets and dash") << u"(89) 123-45"_s << u"OR"_s << false << true;
    QTest::newRow("letters") << u"flowers"_s << u"OR"_s << false << true;
    QTest::newRow("capitals") << u"FLOW"_s << u"OR"_s << false << true;
    QTest::newRow("double quote") << u"\"55\" 6"_s << u"OR"_s << false << true;
    QTest::newRow("nowhere") << u"9999999999"_s << u"OR"_s << false << true;
    QTest::newRow("star") << u"0301*"_s << u"OR"_s << false << false;
    QTest::newRow("quote") << u"12'34"_s << u"OR"_s << false << false;
    QTest::newRow("question mark") << u"030?"_s << u"OR"_s << false << false;
    QTest::newRow("umlaut") << u"ü12"_s << u"OR"_s << false << false;
    QTest::newRow("empty value") << QString() << u"OR"_s << false << false;
    QTest::newRow("first field only") << u"030"_s << u"OR"_s << true << true;
    QTest::newRow("all fields AND") << u"123-45"_s << u"AND"_s << false << true;
    QTest::newRow("AND, two digits") << u"89"_s << u"AND"_s << false << false;
    for (const QString &s : m_datenschluessel) {
        const bool schnell = s.size() >= 3 && !s.contains(u'*') && !s.contains(u'?') && !s.contains(u'#')
                             && !s.contains(u'[') && !s.contains(u'\'');
        bool ascii = true;
        for (QChar c : s)
            ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7F;
        QTest::newRow(qPrintable(u"data "_s + s)) << s << u"OR"_s << false << (schnell && ascii);
    }
}

void tst_JetTrigramm::gleicheZeilenWieDerScan()
{
    QFETCH(QString, wert);
    QFETCH(QString, verknuepfung);
    QFETCH(bool, nurErstesFeld);
    QFETCH(bool, schnell);

    const QString sql = clTabellenCache::Anweisung(u"ACTNR"_s, Telefonfelder, u"UNIQUE_ID"_s, wert, verknuepfung,
                                                   nurErstesFeld);
    // Whether the statement is answered from trigram tables, had it any.
    const bool umgeschrieben = JetSql::mitTrigrammen(JetSql::translate(sql, QDateTime::currentDateTime()),
                                                     [](const QString &, const QString &) {
                                                         return u"MSysTrigramm:x:y"_s;
                                                     })
                               != JetSql::translate(sql, QDateTime::currentDateTime());
    QCOMPARE(umgeschrieben, schnell);

    auto db = DBEngine::instance().OpenDatabase(m_cache);
    const QStringList soll = erwartet(wert, verknuepfung, nurErstesFeld);
    QCOMPARE(ids(db->OpenRecordset(sql)), soll);
    const QString ohne = clTabellenCache::Anweisung(u"OHNE"_s, Telefonfelder, u"UNIQUE_ID"_s, wert, verknuepfung,
                                                    nurErstesFeld);
    QCOMPARE(ids(db->OpenRecordset(ohne)), soll);
    db->Close();
}

void tst_JetTrigramm::trigrammtabelleWirdWirklichGefragt()
{
    const QString pfad = kopie(u"Gefragt.mdb"_s);
    QVERIFY(!pfad.isEmpty());
    const QString tabelle = u"\"MSysTrigramm:actnr:phone\""_s;
    QCOMPARE(rohZahl(pfad, u"SELECT count(*) FROM sqlite_schema WHERE name = 'MSysTrigramm:actnr:phone' "
                           u"OR name GLOB 'MSysTrigramm:actnr:phone:[idu]'"_s),
             4);
    const QString nurPhone =
        clTabellenCache::Anweisung(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"FLOWERS"_s, u"OR"_s, false);
    const QString kurz = clTabellenCache::Anweisung(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, u"FL"_s, u"OR"_s, false);
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(ids(db->OpenRecordset(nurPhone), u"NAME"_s), QStringList{u"Blumen"_s});
        db->Close();
    }

    // A trigram table that holds a row falsely: the row's own text decides.
    QCOMPARE(rohAusfuehren(pfad, u"INSERT INTO %1(rowid, PHONE) SELECT rowid, 'XX FLOWERS' FROM ACTNR "
                                 u"WHERE UNIQUE_ID = '%2'"_s
                                     .arg(tabelle, m_zeilen[500].id)),
             SQLITE_OK);
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(ids(db->OpenRecordset(nurPhone), u"NAME"_s), QStringList{u"Blumen"_s});
        db->Close();
    }

    // An emptied trigram table finds nothing: proof that it was asked.
    // Two letters are no trigram and still read every row.
    QCOMPARE(rohAusfuehren(pfad, u"INSERT INTO %1(%1) VALUES ('delete-all')"_s.arg(tabelle)), SQLITE_OK);
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(ids(db->OpenRecordset(nurPhone), u"NAME"_s), QStringList());
        QVERIFY(ids(db->OpenRecordset(kurz), u"NAME"_s).contains(u"Blumen"_s));
        db->Close();
    }

    // Without its triggers the table is out of step, and no longer asked.
    QCOMPARE(rohAusfuehren(pfad, u"DROP TRIGGER \"MSysTrigramm:actnr:phone:u\""_s), SQLITE_OK);
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(ids(db->OpenRecordset(nurPhone), u"NAME"_s), QStringList{u"Blumen"_s});
        db->Close();
    }
}

void tst_JetTrigramm::triggerHaltenSieImTakt()
{
    const QString pfad = kopie(u"Takt.mdb"_s);
    QVERIFY(!pfad.isEmpty());
    auto db = DBEngine::instance().OpenDatabase(pfad);
    const auto suche = [&](const QString &wert) {
        return ids(db->OpenRecordset(
            clTabellenCache::Anweisung(u"ACTNR"_s, Telefonfelder, u"UNIQUE_ID"_s, wert, u"OR"_s, false)));
    };

    db->Execute(u"INSERT INTO ACTNR (PHONE, NAME, UNIQUE_ID) VALUES ('0555 777888', 'Neu', 'NEU1')"_s);
    QCOMPARE(suche(u"777888"_s), QStringList{u"NEU1"_s});
    db->Execute(u"UPDATE ACTNR SET PHONE = '0555 999000', FAX = '0555 777889' WHERE UNIQUE_ID = 'NEU1'"_s);
    QCOMPARE(suche(u"777888"_s), QStringList());
    QCOMPARE(suche(u"999000"_s), QStringList{u"NEU1"_s});
    QCOMPARE(suche(u"77788"_s), QStringList{u"NEU1"_s});
    db->Execute(u"UPDATE ACTNR SET FAX = NULL WHERE UNIQUE_ID = 'NEU1'"_s);
    QCOMPARE(suche(u"77788"_s), QStringList());
    // A row pushed out by REPLACE leaves the trigram tables too.
    db->Execute(u"INSERT OR REPLACE INTO ACTNR (PHONE, NAME, UNIQUE_ID) VALUES ('0555 111222', 'Ersatz', 'NEU1')"_s);
    QCOMPARE(suche(u"999000"_s), QStringList());
    QCOMPARE(suche(u"111222"_s), QStringList{u"NEU1"_s});
    const QString erster = m_zeilen.front().id;
    const QString nummer = m_zeilen.front().telefone.first();
    db->Execute(u"DELETE FROM ACTNR WHERE UNIQUE_ID = ?"_s, {erster});
    if (!nummer.isEmpty())
        QVERIFY(!suche(nummer).contains(erster));
    db->Execute(u"DELETE FROM ACTNR WHERE UNIQUE_ID = 'NEU1'"_s);
    QCOMPARE(suche(u"111222"_s), QStringList());
    db->Close();

    // Each trigram table still holds exactly its column's trigrams.
    for (const QString &spalte : Telefonfelder.toLower().split(u','))
        QCOMPARE(rohAusfuehren(pfad, u"INSERT INTO \"MSysTrigramm:actnr:%1\"(\"MSysTrigramm:actnr:%1\", rank) "
                                     u"VALUES ('integrity-check', 1)"_s
                                         .arg(spalte)),
                 SQLITE_OK);
}

void tst_JetTrigramm::begleiterNurFuerEinzelneTextspalten()
{
    auto db = DBEngine::instance().CreateDatabase(m_dir.filePath(u"Arten.mdb"_s), QString());
    TableDef t(u"Arten"_s);
    t.Fields().Append(t.CreateField(u"Nummer"_s, DaoTyp::dbText, 30));
    t.Fields().Append(t.CreateField(u"Zahl"_s, DaoTyp::dbLong));
    t.Fields().Append(t.CreateField(u"Ort"_s, DaoTyp::dbText, 30));
    t.Fields().Append(t.CreateField(u"Schluessel"_s, DaoTyp::dbText, 30));
    const auto index = [&](const QString &name, const QStringList &felder, bool primaer) {
        Index i = t.CreateIndex(name);
        i.Primary = primaer;
        i.Unique = primaer;
        for (const QString &f : felder)
            i.Fields().Append(i.CreateField(f));
        t.AppendIndex(i);
    };
    index(u"PrimaryKey"_s, {u"Schluessel"_s}, true);
    index(u"Zahl"_s, {u"Zahl"_s}, false);
    index(u"NummerOrt"_s, {u"Nummer"_s, u"Ort"_s}, false);
    index(u"Nummer"_s, {u"Nummer"_s}, false);
    db->TableDefs().Append(t);
    db->Close();
    const QString pfad = m_dir.filePath(u"Arten.mdb"_s);
    QCOMPARE(rohZahl(pfad, u"SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
                           u"name GLOB 'MSysTrigramm:arten:*' AND sql GLOB 'CREATE VIRTUAL*'"_s),
             1);
    QCOMPARE(rohZahl(pfad, u"SELECT count(*) FROM sqlite_schema WHERE name = 'MSysTrigramm:arten:nummer'"_s), 1);
}

void tst_JetTrigramm::begleiterVerborgenUndMitGeloescht()
{
    const QString pfad = kopie(u"Verborgen.mdb"_s);
    QVERIFY(!pfad.isEmpty());
    QVERIFY(rohZahl(pfad, u"SELECT count(*) FROM sqlite_schema WHERE name GLOB 'MSysTrigramm:actnr:*'"_s) >= 5 * 4);
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QStringList namen = db->TableDefs().Namen();
        namen.sort();
        QCOMPARE(namen, (QStringList{u"ACTNR"_s, u"MSysObjects"_s, u"OHNE"_s}));
        QCOMPARE(db->TableDefs().Count(), 3);
        db->Close();
    }
    QVERIFY(clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s));
    QVERIFY(!clTabellenCache::TabelleVorhanden(pfad, u"MSysTrigramm:actnr:phone"_s));
    {
        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(fehlernummer([&] { db->TableDefs().Delete(u"MSysTrigramm:actnr:phone"_s); }), 3265L);
        db->TableDefs().Delete(u"ACTNR"_s);
        QCOMPARE(db->TableDefs().Count(), 2);
        db->Close();
    }
    QCOMPARE(rohZahl(pfad, u"SELECT count(*) FROM sqlite_schema WHERE name GLOB 'MSysTrigramm:*'"_s), 0);
    QVERIFY(!clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s));
}

void tst_JetTrigramm::importInTransaktion()
{
    auto db = neueDatenbank(u"Import.mdb"_s);
    const auto indexe = [&] {
        return db->OpenRecordset(u"SELECT count(*) FROM sqlite_schema WHERE type IN ('index', 'trigger') AND "
                                 u"tbl_name = 'T' AND sql IS NOT NULL"_s)
            ->Wert(0)
            .toInt();
    };
    const int vorher = indexe();
    QCOMPARE(vorher, 2 + 3);
    db->BeginTrans();
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    for (int i = 0; i < 250; ++i) {
        rs->AddNew();
        rs->Fields()[u"UNIQUE_ID"_s].setValue(u"ID%1"_s.arg(i));
        rs->Fields()[u"PHONE"_s].setValue(i % 7 == 0 ? QVariant() : QVariant(u"030 55%1"_s.arg(i, 4, 10, QChar(u'0'))));
        rs->Fields()[u"NAME"_s].setValue(u"Name %1"_s.arg(i));
        rs->Update();
    }
    // The indexes wait for the end of the import.
    QCOMPARE(indexe(), 0);
    rs->Close();
    QCOMPARE(indexe(), vorher);
    db->CommitTrans();
    QCOMPARE(indexe(), vorher);

    const auto suche = [&](const QString &wert) {
        return ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE PHONE LIKE '*"_s + clActDBF::Suchmuster(wert)
                                     + u"*'"_s));
    };
    QCOMPARE(suche(u"550013"_s), QStringList{u"ID13"_s});
    QCOMPARE(suche(u"550014"_s), QStringList()); // Null
    QCOMPARE(suche(u"55024"_s).size(), 10 - 1);  // 240 ... 249 without 245
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM T"_s)->Wert(0).toInt(), 250);
    // The rebuilt unique index refuses a duplicate as before.
    QCOMPARE(fehlernummer([&] { db->Execute(u"INSERT INTO T (UNIQUE_ID) VALUES ('ID7')"_s); }), 3022L);
    db->Close();
    QCOMPARE(rohAusfuehren(m_dir.filePath(u"Import.mdb"_s),
                           u"INSERT INTO \"MSysTrigramm:t:phone\"(\"MSysTrigramm:t:phone\", rank) VALUES "
                           u"('integrity-check', 1)"_s),
             SQLITE_OK);
}

void tst_JetTrigramm::importOhneTransaktionHaeltIndexe()
{
    auto db = neueDatenbank(u"Einzeln.mdb"_s);
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    rs->AddNew();
    rs->Fields()[u"UNIQUE_ID"_s].setValue(u"A1"_s);
    rs->Fields()[u"PHONE"_s].setValue(u"0301234"_s);
    rs->Update();
    // Row by row, each row its own transaction: a crash must not leave the table without indexes.
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND tbl_name = 'T'"_s)
                 ->Wert(0)
                 .toInt(),
             2);
    QCOMPARE(ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE PHONE LIKE '*1234*'"_s)), QStringList{u"A1"_s});
    rs->Close();

    // A table that has rows already is appended to as usual, also in a transaction.
    db->BeginTrans();
    auto mehr = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM sqlite_schema WHERE type = 'index' AND tbl_name = 'T'"_s)
                 ->Wert(0)
                 .toInt(),
             2);
    mehr->AddNew();
    mehr->Fields()[u"UNIQUE_ID"_s].setValue(u"A1"_s);
    QCOMPARE(fehlernummer([&] { mehr->Update(); }), 3022L);
    mehr->Close();
    db->CommitTrans();
    db->Close();
}

void tst_JetTrigramm::importDoppelteSchluessel_data()
{
    QTest::addColumn<QStringList>("schluessel"); // "-" for Null
    QTest::addColumn<int>("abgelehnt");          // the row refused, -1 for none

    QTest::newRow("same key") << QStringList{u"A1"_s, u"B2"_s, u"A1"_s} << 2;
    QTest::newRow("case differs") << QStringList{u"A1"_s, u"a1"_s, u"B2"_s} << -1;
    QTest::newRow("Null twice") << QStringList{u"-"_s, u"A1"_s, u"-"_s} << -1;
    QTest::newRow("blank differs") << QStringList{u"A1"_s, u"A1 "_s} << -1;
    QTest::newRow("empty twice") << QStringList{QString(u""_s), u"X"_s, QString(u""_s)} << 2;
    QTest::newRow("umlaut") << QStringList{u"Ä1"_s, u"A1"_s, u"Ä1"_s} << 2;
}

void tst_JetTrigramm::importDoppelteSchluessel()
{
    QFETCH(QStringList, schluessel);
    QFETCH(int, abgelehnt);
    auto db = neueDatenbank(u"Doppelt.mdb"_s);
    db->BeginTrans();
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    int abgelehntBei = -1;
    for (int i = 0; i < schluessel.size(); ++i) {
        rs->AddNew();
        rs->Fields()[u"UNIQUE_ID"_s].setValue(schluessel[i] == u"-"_s ? QVariant() : QVariant(schluessel[i]));
        rs->Fields()[u"PHONE"_s].setValue(u"0301234%1"_s.arg(i));
        const long nummer = fehlernummer([&] { rs->Update(); });
        if (nummer != 0) {
            QCOMPARE(nummer, 3022L);
            rs->CancelUpdate();
            abgelehntBei = i;
            break;
        }
    }
    QCOMPARE(abgelehntBei, abgelehnt);
    rs->Close();
    db->CommitTrans();
    const int drin = abgelehnt < 0 ? int(schluessel.size()) : abgelehnt;
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM T"_s)->Wert(0).toInt(), drin);
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM sqlite_schema WHERE name = 'T.PrimaryKey'"_s)->Wert(0).toInt(),
             1);
    db->Close();
}

void tst_JetTrigramm::importRollbackUndCommitOhneClose()
{
    auto db = neueDatenbank(u"Zurueck.mdb"_s);
    const auto anzahl = [&](const QString &sql) { return db->OpenRecordset(sql)->Wert(0).toInt(); };
    const QString indexe = u"SELECT count(*) FROM sqlite_schema WHERE type IN ('index', 'trigger') AND tbl_name = 'T' "
                           u"AND sql IS NOT NULL"_s;
    const auto zeile = [](Recordset &rs, const QString &id, const QString &phone) {
        rs.AddNew();
        rs.Fields()[u"UNIQUE_ID"_s].setValue(id);
        rs.Fields()[u"PHONE"_s].setValue(phone);
        rs.Update();
    };

    // A rollback brings back what the import set aside.
    db->BeginTrans();
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    zeile(*rs, u"R1"_s, u"0401111"_s);
    QCOMPARE(anzahl(indexe), 0);
    db->Rollback();
    QCOMPARE(anzahl(indexe), 5);
    rs->Close();
    QCOMPARE(anzahl(u"SELECT count(*) FROM T"_s), 0);
    db->Execute(u"INSERT INTO T (UNIQUE_ID, PHONE) VALUES ('E1', '0402222')"_s);
    QCOMPARE(ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE PHONE LIKE '*2222*'"_s)), QStringList{u"E1"_s});
    db->Execute(u"DELETE FROM T"_s);

    // A commit finishes the import even while its recordset is still open;
    // rows appended after it are kept up row by row.
    db->BeginTrans();
    auto offen = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    zeile(*offen, u"C1"_s, u"0403333"_s);
    QCOMPARE(anzahl(indexe), 0);
    db->CommitTrans();
    QCOMPARE(anzahl(indexe), 5);
    zeile(*offen, u"C2"_s, u"0404444"_s);
    offen->Close();
    QCOMPARE(anzahl(indexe), 5);
    QCOMPARE(ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE PHONE LIKE '*3333*'"_s)), QStringList{u"C1"_s});
    QCOMPARE(ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE PHONE LIKE '*4444*'"_s)), QStringList{u"C2"_s});
    db->Close();
}

void tst_JetTrigramm::fremdeZeileMitDoppeltemSchluessel()
{
    // A row written past the recordset is not among the keys it keeps in
    // memory: the unique index, made at the end, still refuses it.
    auto db = neueDatenbank(u"Fremd.mdb"_s);
    db->BeginTrans();
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    rs->AddNew();
    rs->Fields()[u"UNIQUE_ID"_s].setValue(u"F1"_s);
    rs->Update();
    db->Execute(u"INSERT INTO T (UNIQUE_ID) VALUES ('F1')"_s);
    QCOMPARE(fehlernummer([&] { rs->Close(); }), 3022L);
    QCOMPARE(fehlernummer([&] { db->CommitTrans(); }), 3022L);
    db->Rollback();
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM T"_s)->Wert(0).toInt(), 0);
    QCOMPARE(db->OpenRecordset(u"SELECT count(*) FROM sqlite_schema WHERE name = 'T.PrimaryKey'"_s)->Wert(0).toInt(),
             1);
    db->Close();
}

void tst_JetTrigramm::letzteZeileBleibt_data()
{
    QTest::addColumn<QVariant>("phone");
    QTest::newRow("with a number") << QVariant(u"0301234"_s);
    QTest::newRow("without a number") << QVariant();
}

void tst_JetTrigramm::letzteZeileBleibt()
{
    // A row written anew in place of the only one: the table is empty while
    // the row goes in, and the program then asks for the rowid it got.
    QFETCH(QVariant, phone);
    auto db = neueDatenbank(u"Letzte.mdb"_s);
    db->Execute(u"INSERT INTO T (UNIQUE_ID, PHONE) VALUES ('A', '0409999'), ('B', '0408888')"_s);
    db->BeginTrans();
    db->Execute(u"DELETE FROM T"_s);
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    rs->AddNew();
    rs->Fields()[u"UNIQUE_ID"_s].setValue(u"C"_s);
    rs->Fields()[u"PHONE"_s].setValue(phone);
    rs->Update();
    const qint64 neu = db->OpenRecordset(u"SELECT rowid FROM T WHERE UNIQUE_ID = 'C'"_s)->Wert(0).toLongLong();
    rs->Close();
    QCOMPARE(db->OpenRecordset(u"SELECT last_insert_rowid()"_s)->Wert(0).toLongLong(), neu);
    db->CommitTrans();

    // So does an index made over a table that has rows.
    db->Execute(u"INSERT INTO T (UNIQUE_ID, NAME) VALUES ('D', 'Dora')"_s);
    const qint64 d = db->OpenRecordset(u"SELECT rowid FROM T WHERE UNIQUE_ID = 'D'"_s)->Wert(0).toLongLong();
    Index name = db->TableDefs()[u"T"_s].CreateIndex(u"NAME"_s);
    name.Fields().Append(name.CreateField(u"NAME"_s));
    db->TableDefs()[u"T"_s].AppendIndex(name);
    QCOMPARE(db->OpenRecordset(u"SELECT last_insert_rowid()"_s)->Wert(0).toLongLong(), d);
    QCOMPARE(ids(db->OpenRecordset(u"SELECT UNIQUE_ID FROM T WHERE NAME LIKE '*ora*'"_s)), QStringList{u"D"_s});
    db->Close();
}

void tst_JetTrigramm::moveLast_data()
{
    QTest::addColumn<QString>("quelle");
    QTest::addColumn<QVariantList>("parameter");
    QTest::addColumn<long>("anzahl");
    QTest::addColumn<QString>("erster");
    QTest::addColumn<QString>("letzter");

    QTest::newRow("statement") << u"SELECT Name FROM Z ORDER BY Nr"_s << QVariantList() << 5L << u"eins"_s
                               << u"fünf"_s;
    QTest::newRow("descending, semicolon") << u"SELECT Name FROM Z ORDER BY Nr DESC;"_s << QVariantList() << 5L
                                           << u"fünf"_s << u"eins"_s;
    QTest::newRow("parameter") << u"SELECT Name FROM Z WHERE Nr > ? ORDER BY Nr"_s << QVariantList{2} << 3L
                               << u"drei"_s << u"fünf"_s;
    QTest::newRow("limit") << u"SELECT Name FROM Z ORDER BY Nr LIMIT 2"_s << QVariantList() << 2L << u"eins"_s
                           << u"zwei"_s;
    QTest::newRow("one row") << u"SELECT Name FROM Z WHERE Nr = 4"_s << QVariantList() << 1L << u"vier"_s
                             << u"vier"_s;
    QTest::newRow("table") << u"Z"_s << QVariantList() << 5L << u"eins"_s << u"fünf"_s;
    QTest::newRow("no wrapping for a PRAGMA") << u"PRAGMA table_info(Z)"_s << QVariantList() << 2L << u"0"_s << u"1"_s;
}

void tst_JetTrigramm::moveLast()
{
    QFETCH(QString, quelle);
    QFETCH(QVariantList, parameter);
    QFETCH(long, anzahl);
    QFETCH(QString, erster);
    QFETCH(QString, letzter);

    auto db = DBEngine::instance().CreateDatabase(
        m_dir.filePath(u"Letzte "_s + QString::fromUtf8(QTest::currentDataTag()) + u".mdb"_s), QString());
    db->Execute(u"CREATE TABLE Z (Name TEXT ZEROLENGTH(20), Nr LONG)"_s);
    db->Execute(u"INSERT INTO Z VALUES ('eins', 1), ('zwei', 2), ('drei', 3), ('vier', 4), ('fünf', 5)"_s);
    auto rs = parameter.isEmpty() ? db->OpenRecordset(quelle) : db->OpenRecordset(quelle, parameter);
    QCOMPARE(rs->RecordCount(), 1L);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), anzahl);
    QCOMPARE(rs->Fields()[0].Text(), letzter);
    rs->MoveNext();
    QVERIFY(rs->Eof());
    QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3021L);
    rs->MoveFirst();
    QCOMPARE(rs->Fields()[0].Text(), erster);
    QCOMPARE(rs->RecordCount(), anzahl);
    long schritte = 1;
    for (rs->MoveNext(); !rs->Eof(); rs->MoveNext())
        ++schritte;
    QCOMPARE(schritte, anzahl);
    rs->MoveLast();
    QCOMPARE(rs->Fields()[0].Text(), letzter);
    db->Close();
}

void tst_JetTrigramm::moveLastAufDerKontakttabelle()
{
    clActDBF act(m_dialogs, m_clipboard, *m_optionen);
    QVERIFY(act.init(m_dbf));
    auto rs = act.Suche(QString(), u"PHONE,NAME"_s, QString(), QString(), false);
    QVERIFY(rs);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), long(m_zeilen.size()));
    QCOMPARE(rs->Wert(u"UNIQUE_ID"_s).toString(), m_zeilen.back().id);
    rs->MoveFirst();
    QCOMPARE(rs->Wert(u"UNIQUE_ID"_s).toString(), m_zeilen.front().id);
    // A search over the contact table counts its rows the same way.
    auto treffer = act.Suche(u"PHONE"_s, u"NAME"_s, u"FLOWERS"_s, u"OR"_s, false);
    QVERIFY(treffer);
    treffer->MoveLast();
    QCOMPARE(treffer->RecordCount(), 1L);
    QCOMPARE(treffer->Wert(u"NAME"_s).toString(), u"Blumen"_s);
    act.kill();
}

QTEST_GUILESS_MAIN(tst_JetTrigramm)
#include "tst_JetTrigramm.moc"
