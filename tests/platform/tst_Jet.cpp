#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetSql.h"

#include "tools/dbf/DbfWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Runs `f` and gives the engine error number it raised, 0 for none.
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

const QDateTime Heute(QDate(2026, 12, 6), QTime(11, 30, 15));

} // namespace

// The database engine as the program uses it: real SQLite files in a temp dir.
class tst_Jet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void translate_data();
    void translate();
    void openErrors();
    void statementErrors();
    void recordCountAndMoving();
    void fieldsByNameAndType();
    void likeInStatements();
    void parametersAreData();
    void dateKeepsSecondsAndDateFunctionPrunes();
    void addNewUpdateAndConversions();
    void appendOnlyAndDuplicateKey();
    void tableDefs();
    void readOnlyDatabase();
    void transactionsRollBack();
    void closedDatabase();
    void foxProFolder();

private:
    std::shared_ptr<Database> neueDatenbank(const QString &name = u"test.mdb"_s);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Jet::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    DBEngine::instance().setUhr([] { return Heute; });
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_Jet::cleanup()
{
    DBEngine::instance().setUhr({});
}

std::shared_ptr<Database> tst_Jet::neueDatenbank(const QString &name)
{
    auto db = DBEngine::instance().CreateDatabase(m_dir->filePath(name), u";LANGID=0x0409;CP=1252;COUNTRY=0"_s, 32);
    db->Execute(u"CREATE TABLE Laender (Vorwahl TEXT ZEROLENGTH(10), Land TEXT ZEROLENGTH(100))"_s);
    db->Execute(u"INSERT INTO Laender VALUES ('49', 'Deutschland'), ('43', 'Österreich'), ('1', 'USA/Kanada'), "
                u"('1242', 'Bahamas')"_s);
    return db;
}

void tst_Jet::translate_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");

    QTest::newRow("double-quoted text") << u"SELECT Ort FROM Deutschland WHERE Vorwahl LIKE \"030*\";"_s
                                        << u"SELECT Ort FROM Deutschland WHERE Vorwahl LIKE '030*';"_s;
    QTest::newRow("quote inside double quotes") << u"WHERE Name = \"O'Neil \"\"Jr\"\"\""_s
                                                << u"WHERE Name = 'O''Neil \"Jr\"'"_s;
    QTest::newRow("single quotes unchanged") << u"WHERE a = 'Date()' AND b = \"x\""_s
                                             << u"WHERE a = 'Date()' AND b = 'x'"_s;
    QTest::newRow("brackets unchanged") << u"SELECT [ACTNR].[PHONE] FROM [ACTNR]"_s
                                        << u"SELECT [ACTNR].[PHONE] FROM [ACTNR]"_s;
    QTest::newRow("Date minus one day") << u"WHERE (((Anrufspeicher.Datum)<Date()- 1));"_s
                                        << u"WHERE (((Anrufspeicher.Datum)<'2026-12-05 00:00:00'));"_s;
    QTest::newRow("Date minus minus one") << u"WHERE Datum<Date()--1"_s << u"WHERE Datum<'2026-12-07 00:00:00'"_s;
    QTest::newRow("Date minus seven") << u"WHERE Datum<Date()- 7)"_s << u"WHERE Datum<'2026-11-29 00:00:00')"_s;
    QTest::newRow("date alone") << u"WHERE Datum<date()"_s << u"WHERE Datum<'2026-12-06 00:00:00'"_s;
    QTest::newRow("Now") << u"WHERE Datum<Now()"_s << u"WHERE Datum<'2026-12-06 11:30:15'"_s;
    QTest::newRow("hash date") << u"WHERE Datum>#2026-01-31#"_s << u"WHERE Datum>'2026-01-31 00:00:00'"_s;
    QTest::newRow("delete with column list")
        << u"DELETE Anrufspeicher.Datum From Anrufspeicher WHERE x=1;"_s << u"DELETE From Anrufspeicher WHERE x=1;"_s;
    QTest::newRow("Date as a column name") << u"SELECT Date FROM t"_s << u"SELECT Date FROM t"_s;
}

void tst_Jet::translate()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(JetSql::translate(jet, Heute), sqlite);
}

void tst_Jet::openErrors()
{
    DBEngine &e = DBEngine::instance();
    QCOMPARE(fehlernummer([&] { e.OpenDatabase(m_dir->filePath(u"fehlt.mdb"_s)); }), 3024L);
    QCOMPARE(fehlernummer([&] { e.OpenDatabase(m_dir->filePath(u"kein/Ordner/x.mdb"_s)); }), 3044L);
    QFile text(m_dir->filePath(u"text.mdb"_s));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(4096, 'x'));
    text.close();
    QCOMPARE(fehlernummer([&] { e.OpenDatabase(text.fileName()); }), 3343L);
    QCOMPARE(fehlernummer([&] { e.OpenDatabase(m_dir->filePath(u"nicht-da"_s), false, false, u"FoxPro 2.6;"_s); }),
             3044L);
    // An existing database is not created anew.
    neueDatenbank(u"da.mdb"_s);
    QVERIFY(fehlernummer([&] { e.CreateDatabase(m_dir->filePath(u"da.mdb"_s), QString(), 32); }) != 0);

    try {
        e.OpenDatabase(m_dir->filePath(u"fehlt.mdb"_s));
        QFAIL("no error");
    } catch (const JetFehler &f) {
        QVERIFY(f.Description().contains(u"fehlt.mdb"_s));
        QVERIFY(!f.HelpFile().isEmpty());
    }
}

void tst_Jet::statementErrors()
{
    auto db = neueDatenbank();
    QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"SELECT Ort FROM Unbekannt WHERE Vorwahl LIKE \"0*\";"_s); }),
             3078L);
    QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"SELECT Ort FROM [] WHERE"_s); }), 3075L);
    QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"Unbekannt"_s, Recordset::dbOpenTable); }), 3078L);
    auto rs = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = '99'"_s);
    QVERIFY(rs->Eof());
    QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3021L);
    QCOMPARE(fehlernummer([&] { rs->MoveFirst(); }), 3021L);
    QCOMPARE(fehlernummer([&] { rs->Wert(u"Land"_s); }), 3021L);
    QCOMPARE(fehlernummer([&] { rs->Fields()[u"Gibtsnicht"_s]; }), 3265L);
    QCOMPARE(fehlernummer([&] { rs->Fields()[5]; }), 3265L);
}

void tst_Jet::recordCountAndMoving()
{
    auto db = neueDatenbank();
    auto rs = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl LIKE \"1*\";"_s);
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->RecordCount(), 1L);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), 2L);
    QCOMPARE(rs->Wert(u"Land"_s).toString(), u"Bahamas"_s);
    rs->MoveFirst();
    QCOMPARE(rs->Wert(u"Land"_s).toString(), u"USA/Kanada"_s);
    rs->MoveNext();
    rs->MoveNext();
    QVERIFY(rs->Eof());
    QCOMPARE(rs->RecordCount(), 2L);
    // Moving to the last row again after running off the end.
    rs->MoveLast();
    QCOMPARE(rs->Wert(0).toString(), u"Bahamas"_s);

    auto leer = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = \"7\""_s);
    QCOMPARE(leer->RecordCount(), 0L);
    QCOMPARE(fehlernummer([&] { leer->MoveLast(); }), 3021L);

    auto zahl = db->OpenRecordset(u"SELECT COUNT(*) AS n FROM Laender WHERE Land IS NOT NULL OR Vorwahl = '1'"_s);
    QCOMPARE(zahl->Wert(u"N"_s).toInt(), 4);
    QCOMPARE(zahl->Fields()[0].Type(), int(DaoTyp::dbLong));
}

void tst_Jet::fieldsByNameAndType()
{
    auto db = neueDatenbank();
    db->Execute(u"CREATE TABLE Anrufspeicher (UniqueID TEXT ZEROLENGTH(50), Icon SHORT, Nummer TEXT(50), "
                u"Datum DATETIME TEXT, Ort TEXT(100), Kontakt LONGTEXT ZEROLENGTH)"_s);
    auto rs = db->OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
    QCOMPARE(rs->Fields().Count(), 6);
    QCOMPARE(rs->Fields()[u"uniqueid"_s].Name(), u"UniqueID"_s);
    QCOMPARE(rs->Fields()[u"UNIQUEID"_s].Type(), 10);
    QCOMPARE(rs->Fields()[u"UniqueID"_s].Size(), 50);
    QVERIFY(rs->Fields()[u"UniqueID"_s].AllowZeroLength());
    QCOMPARE(rs->Fields()[u"Icon"_s].Type(), int(DaoTyp::dbInteger));
    QCOMPARE(rs->Fields()[u"Datum"_s].Type(), int(DaoTyp::dbDate));
    QCOMPARE(rs->Fields()[u"Kontakt"_s].Type(), int(DaoTyp::dbMemo));
    QCOMPARE(rs->Fields()[3].Name(), u"Datum"_s);
}

void tst_Jet::likeInStatements()
{
    auto db = neueDatenbank();
    db->Execute(u"CREATE TABLE K (PHONE TEXT(30), NAME TEXT(50))"_s);
    db->Execute(u"INSERT INTO K VALUES ('(089) 123-456', 'Huber'), ('0301234567', 'müller'), "
                u"('+49 30 1234567', 'Meier'), (NULL, 'Ohne')"_s);
    const auto namen = [&](const QString &sql) {
        QStringList n;
        auto rs = db->OpenRecordset(sql);
        while (!rs->Eof()) {
            n << rs->Wert(u"NAME"_s).toString();
            rs->MoveNext();
        }
        return n;
    };
    QCOMPARE(namen(u"SELECT [K].[NAME] FROM [K] WHERE [K].[PHONE] LIKE '*1234567*'"_s),
             QStringList({u"müller"_s, u"Meier"_s}));
    QCOMPARE(namen(u"SELECT NAME FROM K WHERE NAME LIKE '[mM][üÜ]*' OR PHONE LIKE '(###)*'"_s),
             QStringList({u"Huber"_s, u"müller"_s}));
    QCOMPARE(namen(u"SELECT NAME FROM K WHERE NAME LIKE 'MÜLLER'"_s), QStringList({u"müller"_s}));
    QCOMPARE(namen(u"SELECT NAME FROM K WHERE PHONE IS NOT NULL AND PHONE LIKE '[!0]*'"_s),
             QStringList({u"Huber"_s, u"Meier"_s}));
}

void tst_Jet::parametersAreData()
{
    auto db = neueDatenbank();
    for (const QString &boese : {u"49\" OR \"1\"=\"1"_s, u"49' OR '1'='1"_s, u"4*"_s, u"[4]9"_s}) {
        auto rs = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {boese});
        QVERIFY2(rs->Eof(), qPrintable(boese));
    }
    auto rs = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl IN (?, ?)"_s, {u"43"_s, u"x"_s});
    QCOMPARE(rs->Wert(0).toString(), u"Österreich"_s);
    // The same statement twice at once: each recordset has its own cursor.
    auto a = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {u"49"_s});
    auto b = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {u"1"_s});
    QCOMPARE(a->Wert(0).toString(), u"Deutschland"_s);
    QCOMPARE(b->Wert(0).toString(), u"USA/Kanada"_s);
}

void tst_Jet::dateKeepsSecondsAndDateFunctionPrunes()
{
    auto db = neueDatenbank();
    db->Execute(u"CREATE TABLE Anrufspeicher (Nummer TEXT(50), Datum DATETIME TEXT)"_s);
    auto rs = db->OpenRecordset(u"Anrufspeicher"_s, Recordset::dbOpenTable);
    const QList<QDateTime> zeiten = {
        QDateTime(QDate(2026, 12, 6), QTime(0, 0, 1)),     // today
        QDateTime(QDate(2026, 12, 5), QTime(23, 59, 59)),  // yesterday
        QDateTime(QDate(2026, 12, 4), QTime(23, 59, 59)),  // the day before
        QDateTime(QDate(2026, 11, 29), QTime(0, 0, 0)),    // a week ago, at midnight
        QDateTime(QDate(2026, 11, 28), QTime(23, 59, 59)), // more than a week ago
    };
    for (int i = 0; i < zeiten.size(); ++i) {
        rs->AddNew();
        rs->Fields()[u"Nummer"_s].setValue(QString::number(i));
        rs->Fields()[u"Datum"_s].setValue(zeiten[i]);
        rs->Update();
    }
    rs->Close();
    auto alle = db->OpenRecordset(u"SELECT Datum FROM Anrufspeicher"_s);
    QCOMPARE(alle->Wert(0).toDateTime(), zeiten[0]);
    QCOMPARE(alle->Fields()[0].Text(), u"06.12.2026 00:00:01"_s);

    const auto anzahl = [&] {
        auto r = db->OpenRecordset(u"SELECT COUNT(*) FROM Anrufspeicher"_s);
        return r->Wert(0).toInt();
    };
    db->Execute(u"DELETE Anrufspeicher.Datum From Anrufspeicher WHERE (((Anrufspeicher.Datum)<Date()- 7));"_s);
    QCOMPARE(anzahl(), 4);
    db->Execute(u"DELETE Anrufspeicher.Datum From Anrufspeicher WHERE (((Anrufspeicher.Datum)<Date()- 1));"_s);
    QCOMPARE(anzahl(), 2);
    db->Execute(u"DELETE Anrufspeicher.Datum From Anrufspeicher WHERE (((Anrufspeicher.Datum)<Date()--1));"_s);
    QCOMPARE(anzahl(), 0);
}

void tst_Jet::addNewUpdateAndConversions()
{
    auto db = neueDatenbank();
    db->Execute(u"CREATE TABLE T (Txt TEXT NONEMPTY(5), Frei TEXT ZEROLENGTH(5), Zahl SHORT, Wann DATETIME TEXT)"_s);
    auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable);
    QCOMPARE(fehlernummer([&] { rs->Fields()[u"Txt"_s].setValue(u"x"_s); }), 3020L);
    QCOMPARE(fehlernummer([&] { rs->Update(); }), 3020L);

    const auto versuch = [&](const QVariant &txt, const QVariant &frei, const QVariant &zahl, const QVariant &wann) {
        return fehlernummer([&] {
            rs->AddNew();
            rs->Fields()[u"Txt"_s].setValue(txt);
            rs->Fields()[u"Frei"_s].setValue(frei);
            rs->Fields()[u"Zahl"_s].setValue(zahl);
            rs->Fields()[u"Wann"_s].setValue(wann);
            rs->Update();
        });
    };
    QCOMPARE(versuch(u"abc"_s, QString(), 7, u"06.12.2026 10:15:30"_s), 0L);
    QCOMPARE(versuch(QString(u""_s), u"x"_s, 1, QVariant()), 3315L);
    QCOMPARE(versuch(u"sechs!"_s, u"x"_s, 1, QVariant()), 3163L);
    QCOMPARE(versuch(u"a"_s, u"x"_s, u"viele"_s, QVariant()), 3421L);
    QCOMPARE(versuch(u"a"_s, u"x"_s, 40000, QVariant()), 3421L);
    QCOMPARE(versuch(u"a"_s, u"x"_s, 1, u"kein Datum"_s), 3421L);
    rs->CancelUpdate();

    auto r = db->OpenRecordset(u"SELECT * FROM T"_s);
    QCOMPARE(r->RecordCount(), 1L);
    QCOMPARE(r->Wert(u"Txt"_s).toString(), u"abc"_s);
    QCOMPARE(r->Wert(u"Frei"_s).toString(), QString());
    QCOMPARE(r->Wert(u"Zahl"_s).toInt(), 7);
    QCOMPARE(r->Wert(u"Wann"_s).toDateTime(), QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30)));
    r->MoveLast();
    QCOMPARE(r->RecordCount(), 1L);
}

void tst_Jet::appendOnlyAndDuplicateKey()
{
    auto db = neueDatenbank();
    TableDef t(u"ACTNR"_s);
    Field id = t.CreateField(u"UNIQUE_ID"_s, DaoTyp::dbText, 12);
    id.setAllowZeroLength(true);
    t.Fields().Append(id);
    t.Fields().Append(t.CreateField(u"PHONE"_s, DaoTyp::dbText, 30));
    Index pk = t.CreateIndex(u"PrimaryKey"_s);
    pk.Primary = true;
    pk.Unique = true;
    pk.Fields().Append(pk.CreateField(u"UNIQUE_ID"_s));
    t.AppendIndex(pk);
    db->TableDefs().Append(t);

    auto rs = db->OpenRecordset(u"ACTNR"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
    QVERIFY(rs->Eof());
    QCOMPARE(rs->RecordCount(), 0L);
    rs->AddNew();
    rs->Fields()[0].setValue(u"A1"_s);
    rs->Fields()[1].setValue(u"030 1234"_s);
    rs->Update();
    rs->AddNew();
    rs->Fields()[0].setValue(u"A1"_s);
    QCOMPARE(fehlernummer([&] { rs->Update(); }), 3022L);
    rs->Close();
    auto r = db->OpenRecordset(u"SELECT PHONE FROM ACTNR"_s);
    r->MoveLast();
    QCOMPARE(r->RecordCount(), 1L);
    // Leading zeros survive: text stays text.
    QCOMPARE(r->Wert(0).toString(), u"030 1234"_s);
}

void tst_Jet::tableDefs()
{
    auto db = neueDatenbank();
    ::TableDefs &defs = db->TableDefs();
    // The catalogue counts as a system table.
    QCOMPARE(defs.Count(), 2);
    QVERIFY(defs.Namen().contains(u"MSysObjects"_s));
    QVERIFY(defs[u"MSysObjects"_s].isSystem());

    TableDef t(u"Liste"_s);
    t.Fields().Append(t.CreateField(u"Nummer"_s, DaoTyp::dbText, 50));
    t.Fields().Append(t.CreateField(u"Name"_s, DaoTyp::dbText, 100));
    defs.Append(t);
    QCOMPARE(defs.Count(), 3);
    QCOMPARE(defs[u"liste"_s].DateCreated(), Heute);
    QCOMPARE(fehlernummer([&] { defs.Append(t); }), 3010L);

    // An index on a table that exists already is created at once.
    Index idx = defs[u"Liste"_s].CreateIndex(u"Nummer"_s);
    idx.Unique = true;
    idx.Fields().Append(idx.CreateField(u"Nummer"_s));
    defs[u"Liste"_s].AppendIndex(idx);
    db->Execute(u"INSERT INTO Liste (Nummer, Name) VALUES ('1', 'a')"_s);
    QCOMPARE(fehlernummer([&] { db->Execute(u"INSERT INTO Liste (Nummer, Name) VALUES ('1', 'b')"_s); }), 3022L);
    // Index names belong to their table: the same name on another table works.
    TableDef u(u"Zweite"_s);
    u.Fields().Append(u.CreateField(u"Nummer"_s, DaoTyp::dbText, 50));
    Index idx2 = u.CreateIndex(u"Nummer"_s);
    idx2.Fields().Append(idx2.CreateField(u"Nummer"_s));
    u.AppendIndex(idx2);
    defs.Append(u);

    defs.Delete(u"Liste"_s);
    QVERIFY(!defs.Namen().contains(u"Liste"_s));
    QCOMPARE(fehlernummer([&] { defs.Delete(u"Liste"_s); }), 3265L);
    QCOMPARE(fehlernummer([&] { defs[u"Liste"_s]; }), 3265L);
    QCOMPARE(fehlernummer([&] { defs[99]; }), 3265L);
}

void tst_Jet::readOnlyDatabase()
{
    const QString pfad = m_dir->filePath(u"ro.mdb"_s);
    neueDatenbank(u"ro.mdb"_s)->Close();
    auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
    QCOMPARE(db->OpenRecordset(u"SELECT COUNT(*) FROM Laender"_s)->Wert(0).toInt(), 4);
    QCOMPARE(fehlernummer([&] { db->Execute(u"DELETE FROM Laender"_s); }), 3027L);
    auto rs = db->OpenRecordset(u"Laender"_s, Recordset::dbOpenTable);
    QCOMPARE(fehlernummer([&] { rs->AddNew(); }), 3027L);
}

void tst_Jet::transactionsRollBack()
{
    auto db = neueDatenbank();
    db->BeginTrans();
    db->Execute(u"DELETE FROM Laender"_s);
    db->Rollback();
    QCOMPARE(db->OpenRecordset(u"SELECT COUNT(*) FROM Laender"_s)->Wert(0).toInt(), 4);
}

void tst_Jet::closedDatabase()
{
    auto db = neueDatenbank();
    auto rs = db->OpenRecordset(u"SELECT Land FROM Laender"_s);
    db->Close();
    QVERIFY(!db->isOpen());
    QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3420L);
    QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"Laender"_s); }), 3420L);
    rs.reset();
}

void tst_Jet::foxProFolder()
{
    const QString ordner = m_dir->filePath(u"act"_s);
    QDir().mkpath(ordner);
    DbfWriter w(0x03, 0x03);
    w.addField(u"UNIQUE_ID"_s, 'C', 12);
    w.addField(u"NAME"_s, 'C', 30);
    w.addField(u"PHONE"_s, 'C', 25);
    QVERIFY(w.create(ordner + u"/KUNDEN.DBF"_s));
    w.appendRecord({u"A1"_s, u"Müller"_s, u"030 1234567"_s});
    w.appendRecord({u"A2"_s, u"Gelöscht"_s, u"030 1234567"_s}, true);
    w.appendRecord({u"A3"_s, u"Ohne Telefon"_s, u"   "_s});
    w.appendRecord({u"A4"_s, u"Stern"_s, u"0301*"_s});
    QVERIFY(w.finish());
    QFile kaputt(ordner + u"/kaputt.gdb"_s);
    QVERIFY(kaputt.open(QIODevice::WriteOnly));
    kaputt.write(QByteArray(10, '\x03'));
    kaputt.close();

    auto db = DBEngine::instance().OpenDatabase(ordner, false, false, u"FoxPro 2.6;"_s);
    const QStringList tabellen = db->TableDefs().Namen();
    QVERIFY(tabellen.contains(u"KUNDEN.DBF"_s));
    QVERIFY(tabellen.contains(u"KUNDEN"_s));
    QVERIFY(tabellen.contains(u"kaputt.gdb"_s));

    auto rs = db->OpenRecordset(u"SELECT [KUNDEN].PHONE, [KUNDEN].NAME, [KUNDEN].UNIQUE_ID FROM [KUNDEN] WHERE "
                                u"[KUNDEN].PHONE LIKE '*1234567*'"_s);
    rs->MoveLast();
    QCOMPARE(rs->RecordCount(), 1L);
    QCOMPARE(rs->Wert(u"name"_s).toString(), u"Müller"_s);
    QCOMPARE(rs->Fields()[u"PHONE"_s].Type(), 10);
    QCOMPARE(rs->Fields()[u"PHONE"_s].Size(), 25);

    // A blank field is Null; a pattern written from a value matches only itself.
    auto leer = db->OpenRecordset(u"SELECT COUNT(PHONE) FROM [KUNDEN.dbf] WHERE PHONE IS NOT NULL;"_s);
    QCOMPARE(leer->Wert(0).toInt(), 2);
    auto stern = db->OpenRecordset(u"SELECT NAME FROM KUNDEN WHERE PHONE LIKE '*0301[*]*'"_s);
    QCOMPARE(stern->Wert(0).toString(), u"Stern"_s);
    stern->MoveNext();
    QVERIFY(stern->Eof());

    // The tables are never written.
    QVERIFY(fehlernummer([&] { db->Execute(u"DELETE FROM KUNDEN"_s); }) != 0);
    // A damaged file is an error with a description, not a crash.
    try {
        db->OpenRecordset(u"SELECT * FROM [kaputt.gdb]"_s);
        QFAIL("no error for a damaged table");
    } catch (const JetFehler &e) {
        QVERIFY2(e.Description().contains(u"kaputt.gdb"_s), qPrintable(e.Description()));
    }
}

QTEST_GUILESS_MAIN(tst_Jet)
#include "tst_Jet.moc"
