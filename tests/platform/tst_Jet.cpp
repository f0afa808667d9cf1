#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/JetSql.h"

#include "tools/dbf/DbfWriter.h"

#include "doubles/Umgebung.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Heute(QDate(2026, 12, 6), QTime(11, 30, 15));

} // namespace

// The database engine as the program uses it: real SQLite files in a temp dir.
class tst_Jet : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        DBEngine::instance().setUhr([] { return Heute; });
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void cleanup() { DBEngine::instance().setUhr({}); }

    void translate_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("sqlite");

        QTest::newRow("quote inside double quotes") << u"a = \"O'Neil \"\"Jr\"\"\""_s << u"a = 'O''Neil \"Jr\"'"_s;
        QTest::newRow("single quotes unchanged") << u"a = 'Date()' AND b = \"x\""_s << u"a = 'Date()' AND b = 'x'"_s;
        QTest::newRow("quote inside brackets") << u"[Kunde's] < Date()"_s << u"[Kunde's] < '2026-12-06 00:00:00'"_s;
        QTest::newRow("Date minus one day") << u"(((A.Datum)<Date()- 1));"_s << u"(((A.Datum)<'2026-12-05 00:00:00'));"_s;
        QTest::newRow("Date minus minus one") << u"Datum<Date()--1"_s << u"Datum<'2026-12-07 00:00:00'"_s;
        QTest::newRow("Now") << u"Datum<Now()"_s << u"Datum<'2026-12-06 11:30:15'"_s;
        QTest::newRow("hash date") << u"Datum>#2026-01-31#"_s << u"Datum>'2026-01-31 00:00:00'"_s;
        QTest::newRow("delete, column name containing from")
            << u"DELETE A.FromNr FROM A WHERE x=1;"_s << u"DELETE FROM A WHERE x=1;"_s;
        QTest::newRow("Date as a column name") << u"SELECT Date FROM t"_s << u"SELECT Date FROM t"_s;
    }
    void translate()
    {
        QFETCH(QString, jet);
        QFETCH(QString, sqlite);
        QCOMPARE(JetSql::translate(jet, Heute), sqlite);
    }

    // The engine's LIKE patterns, as the program writes them for phone numbers,
    // area codes and names.
    void like_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");

        QTest::newRow("digits anywhere") << u"*0891*"_s << u"+49 (0891) 2345"_s << true;
        QTest::newRow("digits not contiguous") << u"*0891*"_s << u"089 1234"_s << false;
        QTest::newRow("prefix is whole text") << u"030*"_s << u"030"_s << true;
        QTest::newRow("prefix elsewhere only") << u"030*"_s << u"40301"_s << false;
        QTest::newRow("exact without star") << u"0212"_s << u"02129"_s << false;
        QTest::newRow("empty pattern only empty") << QString() << u"x"_s << false;
        QTest::newRow("question mark one char") << u"0?0"_s << u"030"_s << true;
        QTest::newRow("question mark needs a char") << u"0?0"_s << u"00"_s << false;
        QTest::newRow("hash is a digit") << u"0#0*"_s << u"0301"_s << true;
        QTest::newRow("hash refuses a letter") << u"0#0*"_s << u"0x01"_s << false;
        QTest::newRow("negated list") << u"[!0-9]*"_s << u"Meier"_s << true;
        QTest::newRow("negated list refuses") << u"[!0-9]*"_s << u"0301"_s << false;
        QTest::newRow("range") << u"[a-c]*"_s << u"Bach"_s << true;
        QTest::newRow("case is ignored beside umlauts") << u"*MEIER*"_s << u"Frau Meier-Lüdenscheid"_s << true;
        QTest::newRow("umlaut case is ignored") << u"*ÜLL*"_s << u"Müller"_s << true;
        QTest::newRow("umlaut is not its base letter") << u"*ull*"_s << u"Müller"_s << false;
        QTest::newRow("sharp s") << u"Stra?e"_s << u"Straße"_s << true;
        QTest::newRow("bracketed star is a star") << u"0301[*]"_s << u"0301*"_s << true;
        QTest::newRow("bracketed star refuses digits") << u"0301[*]"_s << u"03012"_s << false;
        QTest::newRow("bracketed bracket") << u"[[]1]"_s << u"[1]"_s << true;
        QTest::newRow("unclosed bracket is a bracket") << u"a[b"_s << u"a[b"_s << true;
        QTest::newRow("several stars backtrack") << u"*12*34*"_s << u"x1x12x3x34"_s << true;
        QTest::newRow("several stars fail") << u"*12*34*"_s << u"3412"_s << false;
        QTest::newRow("letter rule pattern") << u"*[mM][üÜ]ller*"_s << u"Hans MÜLLER"_s << true;
    }
    void like()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(JetLike(pattern.toStdString()).matches(text.toStdString()), expected);
    }

    void errors()
    {
        // An existing file is never made anew, nor written when opened read-only.
        const QString pfad = neueDatenbank()->Name();
        QCOMPARE(fehlernummer([&] { DBEngine::instance().CreateDatabase(pfad, QString(), 32); }), 3204L);
        auto db = DBEngine::instance().OpenDatabase(pfad, false, true);
        QCOMPARE(fehlernummer([&] { db->Execute(u"DELETE FROM Laender"_s); }), 3027L);
        // An expression has no declared type: its value tells.
        auto rs = db->OpenRecordset(u"SELECT COUNT(*) FROM Laender"_s);
        QCOMPARE(rs->Fields()[0].Type(), int(DaoTyp::dbLong));
        QCOMPARE(rs->Wert(0).toInt(), 4);

        QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"SELECT Ort FROM [] WHERE"_s); }), 3075L);
        QCOMPARE(fehlernummer([&] { db->OpenRecordset(u"Unbekannt"_s, Recordset::dbOpenTable); }), 3078L);
        rs = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = '99'"_s);
        QVERIFY(rs->Eof());
        QCOMPARE(rs->RecordCount(), 0L);
        QCOMPARE(fehlernummer([&] { rs->MoveFirst(); }), 3021L);
        QCOMPARE(fehlernummer([&] { rs->MoveLast(); }), 3021L);
        QCOMPARE(fehlernummer([&] { rs->Wert(u"Land"_s); }), 3021L);
        QCOMPARE(fehlernummer([&] { rs->Fields()[u"Gibtsnicht"_s]; }), 3265L);
        QCOMPARE(fehlernummer([&] { rs->Fields()[5]; }), 3265L);
    }

    void moveLast_data()
    {
        QTest::addColumn<QString>("quelle");
        QTest::addColumn<QString>("parameter"); // null for none
        QTest::addColumn<long>("anzahl");
        QTest::addColumn<QString>("erster");
        QTest::addColumn<QString>("letzter");

        const QString s = u"SELECT Land FROM Laender "_s;
        QTest::newRow("statement") << s + u"WHERE Vorwahl LIKE \"1*\""_s << QString() << 2L << u"USA/Kanada"_s
                                   << u"Bahamas"_s;
        QTest::newRow("descending, semicolon") << s + u"ORDER BY Vorwahl DESC;"_s << QString() << 4L << u"Deutschland"_s
                                               << u"USA/Kanada"_s;
        QTest::newRow("parameter") << s + u"WHERE Vorwahl > ? ORDER BY Land"_s << u"2"_s << 2L << u"Deutschland"_s
                                   << u"Österreich"_s;
        QTest::newRow("table") << u"Laender"_s << QString() << 4L << u"49"_s << u"1242"_s;
        QTest::newRow("no wrapping for a PRAGMA") << u"PRAGMA table_info(Laender)"_s << QString() << 2L << u"0"_s << u"1"_s;
    }
    // RecordCount counts the rows reached; MoveLast reaches them all, also after
    // the recordset ran off its end.
    void moveLast()
    {
        QFETCH(QString, quelle);
        QFETCH(QString, parameter);
        QFETCH(long, anzahl);
        QFETCH(QString, erster);
        QFETCH(QString, letzter);

        auto db = neueDatenbank();
        auto rs = parameter.isNull() ? db->OpenRecordset(quelle) : db->OpenRecordset(quelle, {parameter});
        QCOMPARE(rs->RecordCount(), 1L);
        rs->MoveLast();
        QCOMPARE(rs->RecordCount(), anzahl);
        QCOMPARE(rs->Fields()[0].Text(), letzter);
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(fehlernummer([&] { rs->MoveNext(); }), 3021L);
        rs->MoveFirst();
        QCOMPARE(rs->Fields()[0].Text(), erster);
        long schritte = 1;
        for (rs->MoveNext(); !rs->Eof(); rs->MoveNext())
            ++schritte;
        QCOMPARE(schritte, anzahl);
        rs->MoveLast();
        QCOMPARE(rs->Fields()[0].Text(), letzter);
    }

    void parametersAreData()
    {
        auto db = neueDatenbank();
        QVERIFY(db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {u"49' OR '1'='1"_s})->Eof());
        auto zwei = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl IN (?, ?)"_s, {u"x"_s, u"43"_s});
        QCOMPARE(zwei->Wert(0).toString(), u"Österreich"_s);
        // The same statement twice at once: each recordset has its own cursor.
        auto a = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {u"49"_s});
        auto b = db->OpenRecordset(u"SELECT Land FROM Laender WHERE Vorwahl = ?"_s, {u"1"_s});
        QCOMPARE(a->Wert(0).toString(), u"Deutschland"_s);
        QCOMPARE(b->Wert(0).toString(), u"USA/Kanada"_s);
    }

    void addNewUpdateAndConversions()
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
        r->MoveLast();
        QCOMPARE(r->RecordCount(), 1L);
        QCOMPARE(r->Wert(u"Zahl"_s).toInt(), 7);
        QCOMPARE(r->Wert(u"Wann"_s).toDateTime(), QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30)));
    }

    void tableDefs()
    {
        auto db = neueDatenbank();
        ::TableDefs &defs = db->TableDefs();
        const auto tabelle = [](const QString &name, bool primaer) {
            TableDef t(name);
            t.Fields().Append(t.CreateField(u"Nummer"_s, DaoTyp::dbText, 12));
            Index pk = t.CreateIndex(u"Nummer"_s);
            pk.Primary = pk.Unique = primaer;
            pk.Fields().Append(pk.CreateField(u"Nummer"_s));
            t.AppendIndex(pk);
            return t;
        };
        defs.Append(tabelle(u"Liste"_s, true));
        QCOMPARE(defs[u"liste"_s].DateCreated(), Heute);
        QCOMPARE(fehlernummer([&] { defs.Append(tabelle(u"LISTE"_s, false)); }), 3010L);
        // Index names belong to their table: the same name on another table works.
        defs.Append(tabelle(u"Zweite"_s, false));

        // Deleted in another letter case: the catalogue row goes too.
        defs.Delete(u"liste"_s);
        QVERIFY(db->OpenRecordset(u"SELECT Name FROM MSysObjects WHERE Name = \"Liste\""_s)->Eof());
        QCOMPARE(fehlernummer([&] { defs.Delete(u"Liste"_s); }), 3265L);
        QCOMPARE(fehlernummer([&] { defs[u"Liste"_s]; }), 3265L);
        QCOMPARE(fehlernummer([&] { defs[99]; }), 3265L);
    }

    void foxProFolder()
    {
        const QString ordner = m_dir->filePath(u"act"_s);
        QVERIFY(QDir().mkpath(ordner));
        QString meldung;
        QVERIFY2(DbfWriter::writeTable(ordner + u"/KUNDEN.DBF"_s, 0x03, 0x03,
                                       {{u"UNIQUE_ID"_s, 'C', 12}, {u"NAME"_s, 'C', 30}, {u"PHONE"_s, 'C', 25}},
                                       {{{u"A1"_s, u"Müller"_s, u"030 1234567"_s}},
                                        {{u"A2"_s, u"Gelöscht"_s, u"030 1234567"_s}, true},
                                        {{u"A3"_s, u"Meier"_s, u"040 1234567"_s}}},
                                       &meldung),
                 qPrintable(meldung));
        QFile datei(ordner + u"/kaputt.dbf"_s);
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(QByteArray(10, '\x03')) == 10);
        datei.close();

        auto db = DBEngine::instance().OpenDatabase(ordner, false, false, u"FoxPro 2.6;"_s);
        QVERIFY(db->TableDefs().Namen().contains(u"KUNDEN"_s));
        auto rs = db->OpenRecordset(u"SELECT [KUNDEN].PHONE, [KUNDEN].UNIQUE_ID FROM [KUNDEN]"_s);
        QCOMPARE(rs->Fields()[u"PHONE"_s].Type(), int(DaoTyp::dbText));
        QCOMPARE(rs->Fields()[u"PHONE"_s].Size(), 25);
        // The deleted row is not counted on the way to the last one.
        rs->MoveLast();
        QCOMPARE(rs->RecordCount(), 2L);
        QCOMPARE(rs->Wert(u"unique_id"_s).toString(), u"A3"_s);

        // The tables are never written; a damaged one is an error with a description, not a crash.
        QVERIFY(fehlernummer([&] { db->Execute(u"DELETE FROM KUNDEN"_s); }) != 0);
        try {
            db->OpenRecordset(u"SELECT * FROM [kaputt.dbf]"_s);
            QFAIL("a damaged table was read");
        } catch (const JetFehler &kaputt) {
            QCOMPARE(kaputt.Number(), 3049L);
            QVERIFY2(kaputt.Description().contains(u"kaputt.dbf"_s), qPrintable(kaputt.Description()));
        }
    }

private:
    std::shared_ptr<Database> neueDatenbank(const QString &name = u"test.mdb"_s);

    std::unique_ptr<QTemporaryDir> m_dir;
};

std::shared_ptr<Database> tst_Jet::neueDatenbank(const QString &name)
{
    auto db = DBEngine::instance().CreateDatabase(m_dir->filePath(name), u";LANGID=0x0409;CP=1252;COUNTRY=0"_s, 32);
    db->Execute(u"CREATE TABLE Laender (Vorwahl TEXT ZEROLENGTH(10), Land TEXT ZEROLENGTH(100))"_s);
    db->Execute(u"INSERT INTO Laender VALUES ('49', 'Deutschland'), ('43', 'Österreich'), ('1', 'USA/Kanada'), "
                u"('1242', 'Bahamas')"_s);
    return db;
}

QTEST_GUILESS_MAIN(tst_Jet)
#include "tst_Jet.moc"
