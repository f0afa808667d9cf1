#include "actdb/clTabellenCache.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/JetLike.h"
#include "platform/jet/JetSql.h"
#include "platform/jet/Trigrammzahlen.h"

#include "tools/actgen/ActGenerator.h"
#include "tools/dbf/DbfWriter.h"

#include "doubles/Dateien.h"
#include "doubles/Sondernummern.h"
#include "doubles/Umgebung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime Heute(QDate(2026, 12, 6), QTime(11, 30, 15));


const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;

int zahl(Database &db, const QString &sql)
{
    return db.OpenRecordset(sql)->Wert(0).toInt();
}

// The indexes of table T, and the triggers that keep its trigram table in step.
int indexe(Database &db)
{
    return zahl(db, u"SELECT count(*) FROM sqlite_schema WHERE type IN ('index', 'trigger') AND tbl_name = 'T' "
                    u"AND sql IS NOT NULL"_s);
}

// FTS5 compares the trigram table with its column's rows: an error when they differ.
long pruefen(Database &db, const QString &trigrammtabelle)
{
    return fehlernummer(
        [&] { db.Execute(u"INSERT INTO [%1]([%1], rank) VALUES ('integrity-check', 1)"_s.arg(trigrammtabelle)); });
}

QStringList ids(std::unique_ptr<Recordset> rs, const QString &feld = u"UNIQUE_ID"_s)
{
    QStringList liste;
    for (; !rs->Eof(); rs->MoveNext())
        liste.append(rs->Wert(feld).toString());
    return liste;
}

void anhaengen(Recordset &rs, const QVariant &id, const QVariant &phone)
{
    rs.AddNew();
    rs.Fields()[u"UNIQUE_ID"_s].setValue(id);
    rs.Fields()[u"PHONE"_s].setValue(phone);
    rs.Update();
}

// A statement as it reaches SQLite when these columns of ACTNR have trigram tables.
QString umgeschrieben(const QString &sql, const QString &mitTrigrammen = u"PHONE,FAX"_s)
{
    return JetSql::mitTeiltextsuche(
        JetSql::translate(sql, QDateTime::currentDateTime()),
        [&](const QString &tabelle, const QStringList &spalten, const QString &text) {
            QStringList auswahlen;
            for (const QString &spalte : spalten) {
                if (tabelle.compare(u"ACTNR"_s, Qt::CaseInsensitive) != 0
                    || !mitTrigrammen.split(u',').contains(spalte, Qt::CaseInsensitive))
                    return QString();
                auswahlen << u"SELECT rowid FROM t WHERE t MATCH "_s + JetSql::textLiteral(JetSql::Trigrammabfrage(text));
            }
            return auswahlen.join(u" UNION "_s);
        });
}

} // namespace

// The database engine as the program uses it: real SQLite files in a temp dir,
// and its trigram tables over the number cache of a generated contact table.
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
        QTEST(JetSql::translate(jet, Heute), "sqlite");
    }

    // The engine's LIKE patterns, as the program writes them for phone numbers,
    // area codes and names; of what it never writes, one case each.
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
        QTest::newRow("hash is a digit") << u"0#0*"_s << u"0301"_s << true;
        QTest::newRow("negated list") << u"[!0-9]*"_s << u"Meier"_s << true;
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
        QTest::newRow("letter rule pattern") << u"*[mM][üÜ]ller*"_s << u"Hans MÜLLER"_s << true;
    }
    void like()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QTEST(JetLike(pattern.toStdString()).matches(text.toStdString()), "expected");
    }

    void errors()
    {
        // An existing file is never made anew, nor written when opened read-only.
        const QString pfad = neueDatenbank()->Name();
        QCOMPARE(fehlernummer([&] { DBEngine::instance().CreateDatabase(pfad); }), 3204L);
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
        QTEST(rs->Fields()[0].Text(), "erster");
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

        // Rows given as texts are refused and stored as the same values set
        // field by field would be; the size counts characters, not bytes.
        db->Execute(u"CREATE TABLE U (Txt TEXT NONEMPTY(5), Frei TEXT ZEROLENGTH(5))"_s);
        db->Execute(u"CREATE TABLE V (Txt TEXT NONEMPTY(5), Frei TEXT ZEROLENGTH(5))"_s);
        auto u = db->OpenRecordset(u"U"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        auto v = db->OpenRecordset(u"V"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        using Text = std::optional<std::string_view>;
        for (const auto &[txt, frei] : std::vector<std::pair<Text, Text>>{
                 {"abc", std::nullopt}, {"", "x"}, {"sechs!", "x"}, {"Äöüßé", ""}, {"Äöüßéa", "x"}, {"a", "123456"},
                 {std::nullopt, "x"}, {"a'b", "1\n2"}}) {
            const long erwartet = fehlernummer([&] {
                u->AddNew();
                u->Fields()[0].setValue(txt ? QVariant(QString::fromUtf8(txt->data(), qsizetype(txt->size()))) : QVariant());
                u->Fields()[1].setValue(frei ? QVariant(QString::fromUtf8(frei->data(), qsizetype(frei->size()))) : QVariant());
                u->Update();
            });
            u->CancelUpdate();
            QCOMPARE(fehlernummer([&] { v->Anfuegen({txt, frei}); }), erwartet);
        }
        const QString alle = u"SELECT group_concat(quote(Txt) || ':' || quote(Frei), ' ') FROM %1"_s;
        QCOMPARE(db->OpenRecordset(alle.arg(u"V"_s))->Wert(0).toString(), db->OpenRecordset(alle.arg(u"U"_s))->Wert(0).toString());
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM V"_s), 4);
        // Other types convert as values set by hand do.
        QCOMPARE(fehlernummer([&] { rs->Anfuegen({"abc", std::nullopt, "viele", std::nullopt}); }), 3421L);
        QCOMPARE(fehlernummer([&] { rs->Anfuegen({"abc", std::nullopt, "12", "06.12.2026"}); }), 0L);
        QCOMPARE(db->OpenRecordset(u"SELECT Zahl + 1 FROM T WHERE Wann IS NOT NULL AND Zahl = 12"_s)->Wert(0).toInt(), 13);
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
        QVERIFY(schreibeDatei(ordner + u"/kaputt.dbf"_s, QByteArray(10, '\x03')));

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

    // The trigram tables: "LIKE '*text*'" over an indexed text column is answered
    // from them, and must give exactly the rows of a scan, in the table's order.
    void initTestCase()
    {
        QVERIFY(m_cacheDir.isValid());
        QString fehler;
        const QString tabelle = schreibeSondernummern(
            m_cacheDir.path(),
            {{u"Blumen"_s, u"0800 FLOWERS"_s}, {u"Stern"_s, u"0301*"_s}, {u"Hochkomma"_s, u"089 12'34"_s},
             {u"Anführung"_s, u"0221 \"55\" 66"_s}},
            &fehler);
        QVERIFY2(!tabelle.isEmpty(), qPrintable(fehler));

        // The cache as the program builds it: an import into an empty table in a
        // transaction, its indexes and trigram tables made at the end.
        m_cache = m_cacheDir.filePath(u"Cache.mdb"_s);
        const QFileInfo dbf(tabelle);
        ScriptedDialogs dialogs;
        MemoryClipboard clipboard;
        {
            auto act = DBEngine::instance().OpenDatabase(dbf.absolutePath(), false, false, u"FoxPro 2.6;"_s);
            auto quelle = act->OpenRecordset(u"SELECT UNIQUE_ID, NAME, %1 FROM [%2]"_s.arg(Telefonfelder, dbf.fileName()));
            clTabellenCache cache(dialogs, clipboard);
            QVERIFY(cache.init(m_cache, true, {}));
            QVERIFY(cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder));
        }
        QVERIFY2(dialogs.boxes().isEmpty(), qPrintable(dialogs.boxes().value(0).text));

        auto db = DBEngine::instance().OpenDatabase(m_cache);
        // The same rows without any index: the reference scan.
        db->Execute(u"CREATE TABLE OHNE AS SELECT * FROM ACTNR"_s);
        // Pieces of numbers that are there, of 3, 4 and 10 characters and whole.
        auto rs = db->OpenRecordset(u"SELECT coalesce("_s + Telefonfelder + u") FROM ACTNR"_s);
        for (int i = 0; !rs->Eof(); rs->MoveNext(), ++i) {
            const QString t = rs->Wert(0).toString();
            if (i % 97 == 0 && t.size() >= 4)
                m_datenschluessel << t.mid(1, 3) << t.left(4) << t.right(10) << t;
        }
        m_datenschluessel.removeDuplicates();
        QVERIFY(m_datenschluessel.size() > 60);
    }

    void umschreiben_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("abfragen");  // MATCHes in the rewritten statement
        QTest::addColumn<int>("auswahlen"); // rowid lookups

        const QString w = u"SELECT PHONE, UNIQUE_ID FROM ACTNR WHERE "_s;
        QTest::newRow("AND looks up each") << w + u"[ACTNR].[PHONE] LIKE '*0891*' AND FAX LIKE '*0892*'"_s << 2 << 2;
        QTest::newRow("groups") << w + u"(PHONE LIKE '*089*' OR FAX LIKE '*089*') AND PHONE LIKE '*123*'"_s << 3 << 2;
        QTest::newRow("order kept after") << w + u"phone LIKE '*0891*' ORDER BY [ACTNR].[NAME]"_s << 1 << 1;
        // Patterns whose text is no plain run of three characters or more, and
        // statements of another shape than the program's searches.
        QTest::newRow("pair counts as one") << w + u"PHONE LIKE '*[aA]1*'"_s << 0 << 0;
        QTest::newRow("not a case pair") << w + u"PHONE LIKE '*[ab]12*'"_s << 0 << 0;
        QTest::newRow("prefix only") << w + u"PHONE LIKE '0891*'"_s << 0 << 0;
        QTest::newRow("star inside") << w + u"PHONE LIKE '*08*91*'"_s << 0 << 0;
        QTest::newRow("column without trigrams") << w + u"PHONE LIKE '*0891*' OR HOME_PHONE LIKE '*0891*'"_s << 0 << 0;
        QTest::newRow("NOT LIKE") << w + u"PHONE NOT LIKE '*0891*'"_s << 0 << 0;
        QTest::newRow("other condition") << w + u"PHONE LIKE '*0891*' AND NAME = 'x'"_s << 0 << 0;
        QTest::newRow("other table's column") << w + u"[ANDERE].[PHONE] LIKE '*0891*'"_s << 0 << 0;
        QTest::newRow("not a SELECT") << u"DELETE FROM ACTNR WHERE PHONE LIKE '*0891*'"_s << 0 << 0;
    }
    void umschreiben()
    {
        QFETCH(QString, sql);
        QFETCH(int, abfragen);
        QFETCH(int, auswahlen);
        const QString vorher = JetSql::translate(sql, QDateTime::currentDateTime());
        const QString nachher = umgeschrieben(sql);
        QCOMPARE(int(nachher.count(u" MATCH "_s)), abfragen);
        QCOMPARE(int(nachher.count(u".rowid IN ("_s)), auswahlen);
        if (abfragen == 0)
            QCOMPARE(nachher, vorher);
        QCOMPARE(nachher.endsWith(u" ORDER BY [ACTNR].[NAME]"_s), vorher.endsWith(u" ORDER BY [ACTNR].[NAME]"_s));
    }

    // The trigrams a lookup reads: the list of a trigram many rows share
    // costs more than the rest of the search.
    void trigrammwahl_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("haeufig"); // common in the sample, the first most
        QTest::addColumn<QString>("abfrage");

        const QStringList ohne;
        QTest::newRow("from the end, side by side") << u"0309876543"_s << ohne << u"\"876\" AND \"543\""_s;
        QTest::newRow("three characters") << u"089"_s << ohne << u"\"089\""_s;
        QTest::newRow("one trigram again and again") << u"5555555555"_s << ohne << u"\"555\""_s;
        QTest::newRow("overlapping only when nothing else") << u"1234"_s << ohne << u"\"123\" AND \"234\""_s;
        QTest::newRow("a trigram again: the next one") << u"123123123"_s << ohne << u"\"312\" AND \"123\""_s;
        QTest::newRow("double quote") << u"a\"bcde"_s << ohne << u"\"a\"\"b\" AND \"cde\""_s;
        QTest::newRow("common end left for the rest")
            << u"0309876543"_s << QStringList{u"543"_s, u"030"_s} << u"\"309\" AND \"876\""_s;
        QTest::newRow("all common: the rarest")
            << u"1234567"_s << QStringList{u"567"_s, u"123"_s, u"456"_s, u"234"_s, u"345"_s} << u"\"234\" AND \"345\""_s;
    }
    void trigrammwahl()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, haeufig);
        QFETCH(QString, abfrage);
        // A hundred texts: the common trigrams in 60, 50, 40 … of them (twice
        // in some, which counts once), the text itself in one.
        Trigrammzahlen zahlen;
        for (int i = 0; i < 100; ++i) {
            QStringList teile{i == 0 ? text : u"x"_s};
            for (qsizetype j = 0; j < haeufig.size(); ++j) {
                if (i < 60 - 10 * j)
                    teile << haeufig[j] << haeufig[j];
            }
            zahlen.zaehlen(teile.join(u' '));
        }
        QCOMPARE(zahlen.texte(), 100);
        QCOMPARE(JetSql::Trigrammabfrage(text, haeufig.isEmpty() ? nullptr : &zahlen), abfrage);
    }

    void gleicheZeilenWieDerScan_data()
    {
        QTest::addColumn<QStringList>("werte");
        QTest::addColumn<QString>("verknuepfung");
        QTest::addColumn<bool>("nurErstesFeld");
        QTest::addColumn<bool>("schnell"); // answered from the trigram tables
        QTest::addColumn<bool>("findet");  // some row has each

        const QString o = u"OR"_s;
        QTest::newRow("2 digits") << QStringList{u"12"_s} << o << false << false << true;
        QTest::newRow("blank at the end") << QStringList{u"30 "_s} << o << false << true << true;
        QTest::newRow("letters") << QStringList{u"flowers"_s} << o << false << true << true;
        QTest::newRow("double quote") << QStringList{u"\"55\" 6"_s} << o << false << true << true;
        QTest::newRow("nowhere") << QStringList{u"9999999999"_s} << o << false << true << false;
        QTest::newRow("star") << QStringList{u"0301*"_s} << o << false << false << true;
        QTest::newRow("quote") << QStringList{u"12'34"_s} << o << false << false << true;
        QTest::newRow("tab") << QStringList{u"030\t1"_s} << o << false << false << false;
        QTest::newRow("empty value") << QStringList{QString()} << o << false << false << true;
        QTest::newRow("first field only") << QStringList{u"030"_s} << o << true << true << true;
        QTest::newRow("all fields AND") << QStringList{u"123-45"_s} << u"AND"_s << false << true << false;
        QTest::newRow("pieces of stored numbers") << m_datenschluessel << u"OR"_s << false << true << true;
    }
    void gleicheZeilenWieDerScan()
    {
        QFETCH(QStringList, werte);
        QFETCH(QString, verknuepfung);
        QFETCH(bool, nurErstesFeld);
        QFETCH(bool, schnell);
        QFETCH(bool, findet);
        auto db = DBEngine::instance().OpenDatabase(m_cache);
        for (const QString &wert : werte) {
            const auto anweisung = [&](const QString &tabelle) {
                return clTabellenCache::Anweisung(tabelle, Telefonfelder, u"UNIQUE_ID"_s, wert, verknuepfung,
                                                  nurErstesFeld);
            };
            const QString sql = anweisung(u"ACTNR"_s);
            QVERIFY2((umgeschrieben(sql, Telefonfelder) != JetSql::translate(sql, QDateTime::currentDateTime())) == schnell,
                     qPrintable(wert));
            const QStringList scan = ids(db->OpenRecordset(anweisung(u"OHNE"_s)));
            QCOMPARE(ids(db->OpenRecordset(sql)), scan);
            QVERIFY2(!findet || !scan.isEmpty(), qPrintable(wert));
        }
    }

    void trigrammtabelleWirdWirklichGefragt()
    {
        auto db = kopie(u"Gefragt.mdb"_s);
        QVERIFY(db);
        const auto blumen = [&](const QString &wert) {
            const QString sql = clTabellenCache::Anweisung(u"ACTNR"_s, u"PHONE"_s, u"NAME"_s, wert, u"OR"_s, false);
            return ids(db->OpenRecordset(sql), u"NAME"_s);
        };
        QCOMPARE(blumen(u"FLOWERS"_s), QStringList{u"Blumen"_s});
        // A trigram table that holds a row falsely: the row's own text decides.
        db->Execute(u"INSERT INTO [MSysTrigramm:actnr:phone](rowid, PHONE) SELECT rowid, 'XX FLOWERS' FROM ACTNR "
                    u"WHERE NAME <> 'Blumen' LIMIT 1"_s);
        QCOMPARE(blumen(u"FLOWERS"_s), QStringList{u"Blumen"_s});
        // An emptied trigram table finds nothing: proof that it is asked.
        db->Execute(u"INSERT INTO [MSysTrigramm:actnr:phone]([MSysTrigramm:actnr:phone]) VALUES ('delete-all')"_s);
        QCOMPARE(blumen(u"FLOWERS"_s), QStringList());
        // Without its triggers the table is out of step, and no longer asked.
        db->Execute(u"DROP TRIGGER [MSysTrigramm:actnr:phone:u]"_s);
        QCOMPARE(blumen(u"FLOWERS"_s), QStringList{u"Blumen"_s});
    }

    // A missing or stale trigram would go unseen by a search, which checks each
    // row's own text anyway; FTS5 compares the trigram tables with their columns.
    // An import of many rows has half its trigram tables built on a second
    // core, in a file of its own, and copies them in: FTS5 finds them in
    // step with the table, the searches find through them what reading every
    // row finds, and they are kept up after. Without a folder for that file
    // they are built in place.
    void grosserImportNebenher_data()
    {
        QTest::addColumn<bool>("zwischenordner");
        QTest::newRow("on the second core") << true;
        QTest::newRow("no folder for the second core") << false;
    }
    void grosserImportNebenher()
    {
        QFETCH(bool, zwischenordner);
        if (m_grossDbf.isEmpty()) {
            ActGenerator g;
            g.options().seed = 29;
            g.options().contacts = 25'000;
            g.options().deletedPercent = 0;
            QVERIFY2(g.write(m_cacheDir.filePath(u"gross"_s)), qPrintable(g.errorString()));
            m_grossDbf = g.summary().dbfPath;
        }
        const QFileInfo dbf(m_grossDbf);
        const QString pfad = m_cacheDir.filePath(u"Gross %1.mdb"_s.arg(QString::fromUtf8(QTest::currentDataTag())));
        const QByteArray tmpdir = qgetenv("TMPDIR");
        const auto zurueck = qScopeGuard([&] { qputenv("TMPDIR", tmpdir); });
        if (zwischenordner) {
            QTest::failOnWarning(QRegularExpression(u"nicht nebenher gebaut|nicht übernommen"_s));
        } else {
            // A file where the folder for temporary files should be.
            qputenv("TMPDIR", QFile::encodeName(m_cache));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Trigrammtabellen von ACTNR nicht nebenher gebaut"_s));
        }
        ScriptedDialogs dialogs;
        MemoryClipboard clipboard;
        {
            auto act = DBEngine::instance().OpenDatabase(dbf.absolutePath(), false, false, u"FoxPro 2.6;"_s);
            auto quelle =
                act->OpenRecordset(u"SELECT UNIQUE_ID, NAME, %1 FROM [%2]"_s.arg(Telefonfelder, dbf.fileName()));
            clTabellenCache cache(dialogs, clipboard);
            QVERIFY(cache.init(pfad, true, {}));
            QVERIFY(cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, Telefonfelder));
        }
        QVERIFY(dialogs.boxes().isEmpty());
        qputenv("TMPDIR", tmpdir);

        auto db = DBEngine::instance().OpenDatabase(pfad);
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM ACTNR"_s), 25'000);
        const QStringList spalten = Telefonfelder.toLower().split(u',');
        for (const QString &spalte : spalten)
            QVERIFY2(pruefen(*db, u"MSysTrigramm:actnr:"_s + spalte) == 0, qPrintable(spalte));
        db->Execute(u"CREATE TABLE OHNE AS SELECT * FROM ACTNR"_s);
        QStringList stuecke;
        auto rs = db->OpenRecordset(u"SELECT "_s + Telefonfelder + u" FROM ACTNR WHERE rowid % 997 = 7"_s);
        for (int i = 0; !rs->Eof(); rs->MoveNext(), ++i) {
            // Another field each time, the first one written from there.
            for (int k = 0; k < 5; ++k) {
                const QString t = rs->Wert((i + k) % 5).toString();
                if (t.size() >= 6) {
                    stuecke << t.right(4) << t.mid(1, 5);
                    break;
                }
            }
        }
        QVERIFY(stuecke.size() >= 10);
        for (const QString &stueck : stuecke) {
            const auto anweisung = [&](const QString &tabelle) {
                return clTabellenCache::Anweisung(tabelle, Telefonfelder, u"UNIQUE_ID"_s, stueck, u"OR"_s, false);
            };
            QVERIFY(umgeschrieben(anweisung(u"ACTNR"_s), Telefonfelder) != JetSql::translate(anweisung(u"ACTNR"_s), {}));
            const QStringList scan = ids(db->OpenRecordset(anweisung(u"OHNE"_s)));
            QVERIFY(!scan.isEmpty());
            QCOMPARE(ids(db->OpenRecordset(anweisung(u"ACTNR"_s))), scan);
        }
        // Kept up after the import, by the triggers made with the tables.
        db->Execute(u"UPDATE ACTNR SET PHONE = FAX, FAX = '', HOME_PHONE = 'x' WHERE rowid % 1000 = 1"_s);
        db->Execute(u"DELETE FROM ACTNR WHERE rowid % 1000 = 2"_s);
        for (const QString &spalte : spalten)
            QVERIFY2(pruefen(*db, u"MSysTrigramm:actnr:"_s + spalte) == 0, qPrintable(spalte));
    }

    void triggerHaltenSieImTakt()
    {
        auto db = kopie(u"Takt.mdb"_s);
        QVERIFY(db);
        for (const QString &sql : {
                 u"INSERT INTO ACTNR (PHONE, NAME, UNIQUE_ID) VALUES ('0555 777888', 'Neu', 'NEU1')"_s,
                 u"UPDATE ACTNR SET PHONE = '0555 999000', FAX = '0555 777889' WHERE UNIQUE_ID = 'NEU1'"_s,
                 u"UPDATE ACTNR SET FAX = NULL, HOME_PHONE = PHONE WHERE UNIQUE_ID = 'NEU1'"_s,
                 // REPLACE pushes the row out and a new one in.
                 u"INSERT OR REPLACE INTO ACTNR (PHONE, NAME, UNIQUE_ID) VALUES ('0555 111222', 'Ersatz', 'NEU1')"_s,
                 u"DELETE FROM ACTNR WHERE UNIQUE_ID = 'NEU1' OR rowid % 300 = 1"_s,
             }) {
            db->Execute(sql);
            for (const QString &spalte : Telefonfelder.toLower().split(u','))
                QVERIFY2(pruefen(*db, u"MSysTrigramm:actnr:"_s + spalte) == 0, qPrintable(spalte + u": "_s + sql));
        }
    }

    void begleittabelle()
    {
        // Only a text column indexed on its own, and not the key, is searched for
        // pieces; its trigram table goes with the table.
        auto db = tabelleT(u"Begleiter.mdb"_s);
        const QString virtuell = u"SELECT group_concat(name) FROM sqlite_schema WHERE sql GLOB 'CREATE VIRTUAL*'"_s;
        QCOMPARE(db->OpenRecordset(virtuell)->Wert(0).toString(), u"MSysTrigramm:t:phone"_s);
        // An index only for searches of a part keeps the trigrams alone.
        Index teil = db->TableDefs()[u"T"_s].CreateIndex(u"Name"_s);
        teil.Teilwortsuche = true;
        teil.Fields().Append(teil.CreateField(u"NAME"_s));
        db->TableDefs()[u"T"_s].AppendIndex(teil);
        QCOMPARE(db->OpenRecordset(virtuell)->Wert(0).toString(), u"MSysTrigramm:t:phone,MSysTrigramm:t:name"_s);
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM pragma_index_list('T') WHERE name = 'T.Name'"_s), 0);
        db->TableDefs().Delete(u"T"_s);
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM sqlite_schema WHERE name GLOB 'MSysTrigramm:*'"_s), 0);
    }

    void importDoppelteSchluessel_data()
    {
        QTest::addColumn<QStringList>("schluessel"); // "-" for Null
        QTest::addColumn<int>("abgelehnt");          // the row refused, -1 for none

        QTest::newRow("same key") << QStringList{u"A1"_s, u"B2"_s, u"A1"_s} << 2;
        QTest::newRow("case differs") << QStringList{u"A1"_s, u"a1"_s, u"B2"_s} << -1;
        QTest::newRow("Null twice") << QStringList{u"-"_s, u"A1"_s, u"-"_s} << -1;
        QTest::newRow("empty twice") << QStringList{QString(u""_s), u"X"_s, QString(u""_s)} << 2;
        QTest::newRow("umlaut") << QStringList{u"Ä1"_s, u"A1"_s, u"Ä1"_s} << 2;
    }
    // The unique index waits for the end of the import; the keys in memory refuse a duplicate at once.
    void importDoppelteSchluessel()
    {
        QFETCH(QStringList, schluessel);
        QFETCH(int, abgelehnt);
        auto db = tabelleT(u"Doppelt "_s + QString::fromUtf8(QTest::currentDataTag()) + u".mdb"_s);
        db->BeginTrans();
        auto rs = db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        int abgelehntBei = -1;
        for (int i = 0; i < schluessel.size() && abgelehntBei < 0; ++i) {
            const long nummer = fehlernummer([&] {
                anhaengen(*rs, schluessel[i] == u"-"_s ? QVariant() : QVariant(schluessel[i]), u"030123%1"_s.arg(i));
            });
            if (nummer != 0) {
                QCOMPARE(nummer, 3022L);
                QCOMPARE(indexe(*db), 0);
                abgelehntBei = i;
            }
        }
        QCOMPARE(abgelehntBei, abgelehnt);
        rs->Close();
        db->CommitTrans();
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM T"_s), abgelehnt < 0 ? int(schluessel.size()) : abgelehnt);
        QCOMPARE(indexe(*db), 7);

        // Rows given as texts: the same row refused.
        db->Execute(u"CREATE TABLE S (UNIQUE_ID TEXT ZEROLENGTH(30), PHONE TEXT ZEROLENGTH(30))"_s);
        Index primaer = db->TableDefs()[u"S"_s].CreateIndex(u"PrimaryKey"_s);
        primaer.Primary = primaer.Unique = true;
        primaer.Fields().Append(primaer.CreateField(u"UNIQUE_ID"_s));
        db->TableDefs()[u"S"_s].AppendIndex(primaer);
        db->BeginTrans();
        rs = db->OpenRecordset(u"S"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        abgelehntBei = -1;
        for (int i = 0; i < schluessel.size() && abgelehntBei < 0; ++i) {
            const QByteArray id = schluessel[i].toUtf8();
            const std::optional<std::string_view> wert =
                schluessel[i] == u"-"_s ? std::nullopt : std::optional(std::string_view(id.constData(), std::size_t(id.size())));
            if (fehlernummer([&] { rs->Anfuegen({wert, "0301234"}); }) == 3022L)
                abgelehntBei = i;
        }
        QCOMPARE(abgelehntBei, abgelehnt);
        rs->Close();
        db->CommitTrans();
    }

    void import()
    {
        // Row by row outside a transaction: a crash must not leave the table
        // without its indexes, and the unique one refuses at once.
        auto db = tabelleT(u"Import.mdb"_s);
        const auto oeffnen = [&] { return db->OpenRecordset(u"T"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly); };
        auto rs = oeffnen();
        anhaengen(*rs, u"A1"_s, u"0301234"_s);
        QCOMPARE(indexe(*db), 4 + 3);
        QCOMPARE(fehlernummer([&] { anhaengen(*rs, u"A1"_s, u"040"_s); }), 3022L);
        // Nor is anything set aside for a table that has rows.
        db->BeginTrans();
        rs = oeffnen();
        QCOMPARE(indexe(*db), 7);
        db->Execute(u"DELETE FROM T"_s);
        rs->Close();

        // A rollback brings back what the import set aside.
        rs = oeffnen();
        anhaengen(*rs, u"R1"_s, u"0401111"_s);
        QCOMPARE(indexe(*db), 0);
        db->Rollback();
        QCOMPARE(indexe(*db), 7);
        rs->Close();
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM T"_s), 1);
        db->Execute(u"DELETE FROM T"_s);

        // A commit finishes the import while its recordset is still open; rows
        // appended after it are kept up row by row. The program asks for the
        // rowid of the row it appended last: filling trigram tables keeps it.
        const auto rowid = [&](const QString &sql) { return db->OpenRecordset(sql)->Wert(0).toLongLong(); };
        db->BeginTrans();
        rs = oeffnen();
        anhaengen(*rs, u"C1"_s, u"0403333"_s);
        anhaengen(*rs, u"C2"_s, QVariant());
        QCOMPARE(indexe(*db), 0);
        db->CommitTrans();
        QCOMPARE(indexe(*db), 7);
        QCOMPARE(rowid(u"SELECT last_insert_rowid()"_s), rowid(u"SELECT rowid FROM T WHERE UNIQUE_ID = 'C2'"_s));
        anhaengen(*rs, u"C3"_s, u"0404444"_s);
        rs->Close();
        QCOMPARE(pruefen(*db, u"MSysTrigramm:t:phone"_s), 0L);
        db->Execute(u"DELETE FROM T"_s);

        // An empty text has no trigrams: the fill leaves it out, and the
        // trigram table stays in step when the text gets some or the row goes.
        db->BeginTrans();
        rs = oeffnen();
        anhaengen(*rs, u"E1"_s, QString(u""_s));
        anhaengen(*rs, u"E2"_s, QString(u""_s));
        db->CommitTrans();
        rs->Close();
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM T WHERE PHONE = ''"_s), 2);
        db->Execute(u"UPDATE T SET PHONE = '0405555' WHERE UNIQUE_ID = 'E1'"_s);
        db->Execute(u"DELETE FROM T WHERE UNIQUE_ID = 'E2'"_s);
        QCOMPARE(pruefen(*db, u"MSysTrigramm:t:phone"_s), 0L);
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM T WHERE PHONE LIKE '*4055*'"_s), 1);
        db->Execute(u"DELETE FROM T"_s);

        // A row written past the recordset is not among the keys it keeps in
        // memory: the unique index, made at the end, still refuses it.
        db->BeginTrans();
        rs = oeffnen();
        anhaengen(*rs, u"F1"_s, QVariant());
        db->Execute(u"INSERT INTO T (UNIQUE_ID) VALUES ('F1')"_s);
        QCOMPARE(fehlernummer([&] { rs->Close(); }), 3022L);
        QCOMPARE(fehlernummer([&] { db->CommitTrans(); }), 3022L);
        db->Rollback();
        QCOMPARE(zahl(*db, u"SELECT count(*) FROM T"_s), 0);
        QCOMPARE(indexe(*db), 7);
    }

private:
    std::shared_ptr<Database> neueDatenbank(const QString &name = u"test.mdb"_s)
    {
        auto db = DBEngine::instance().CreateDatabase(m_dir->filePath(name));
        db->Execute(u"CREATE TABLE Laender (Vorwahl TEXT ZEROLENGTH(10), Land TEXT ZEROLENGTH(100))"_s);
        db->Execute(u"INSERT INTO Laender VALUES ('49', 'Deutschland'), ('43', 'Österreich'), ('1', 'USA/Kanada'), "
                    u"('1242', 'Bahamas')"_s);
        return db;
    }
    std::shared_ptr<Database> kopie(const QString &name)
    {
        const QString ziel = m_cacheDir.filePath(name);
        QFile::remove(ziel);
        return QFile::copy(m_cache, ziel) ? DBEngine::instance().OpenDatabase(ziel) : nullptr;
    }
    // Table T: a text key, a searched text column, and indexes that get no trigram table.
    std::shared_ptr<Database> tabelleT(const QString &name)
    {
        auto db = DBEngine::instance().CreateDatabase(m_cacheDir.filePath(name));
        db->Execute(u"CREATE TABLE T (UNIQUE_ID TEXT ZEROLENGTH(30), PHONE TEXT ZEROLENGTH(30), "
                    u"NAME TEXT ZEROLENGTH(30), NR LONG)"_s);
        TableDef &t = db->TableDefs()[u"T"_s];
        for (const QStringList &felder :
             {QStringList{u"UNIQUE_ID"_s}, {u"PHONE"_s}, {u"NR"_s}, {u"PHONE"_s, u"NAME"_s}}) {
            Index i = t.CreateIndex(felder.join(u'_'));
            i.Primary = i.Unique = felder.first() == u"UNIQUE_ID"_s;
            for (const QString &f : felder)
                i.Fields().Append(i.CreateField(f));
            t.AppendIndex(i);
        }
        return db;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QTemporaryDir m_cacheDir;
    QString m_cache;
    QStringList m_datenschluessel;
    QString m_grossDbf;
};

QTEST_GUILESS_MAIN(tst_Jet)
#include "tst_Jet.moc"
