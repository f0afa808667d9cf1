#include "platform/xbase/DbfModule.h"
#include "tools/dbf/DbfWriter.h"

#include "tests/platform/DbfFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace Qt::StringLiterals;
using namespace DbfFixtures;

// The contact manager's tables as seen through SQL on a real SQLite
// connection: values, declared types, refused writes, damaged files,
// files changed between statements and whole folders.
class tst_DbfModule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void handgemachteTabelle();
    void deklarierteTypen_data();
    void deklarierteTypen();
    void rundreise_data();
    void rundreise();
    void defekteDateien();
    void neueZeilenNachAenderung();
    void feldfolgeGeaendert();
    void nurBenoetigteSpaltenDekodiert();
    void ordnerEinbinden();
    void eigeneTabelleBleibt();
    void ordnerNichtLesbar();
    void schreibenVerboten();

private:
    QStringList zeilen(const QString &sql) const;
    bool scheitert(const QString &sql, const QString &grund) const;
    bool einbinden(const QString &tableName, const QString &path) const;
    QString schreibe(const QString &name, const QByteArray &bytes) const
    {
        return writeFile(m_dir->filePath(name), bytes);
    }
    // A table written by the generator.
    QString schreibe(const QString &name, const QList<DbfWriter::Field> &felder, const QList<DbfWriter::Record> &saetze,
                     int version = 0x03, int treiber = 0x03) const;
    // A dBASE III table of one text field.
    QString namen(const QString &name, const QStringList &werte, const QString &feld = u"NAME"_s) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    sqlite3 *m_db = nullptr;
};

// Each row as its values joined by '|': "i:", "r:", "t:" or "b:" (integer,
// real, text, blob in hex) and SQLite's text of the value, NULL as "-". An
// error ends the list as "Fehler: " and SQLite's message.
QStringList tst_DbfModule::zeilen(const QString &sql) const
{
    QStringList rows;
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr);
    for (; rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW; rc = SQLITE_OK) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const int type = sqlite3_column_type(st, c); // SQLITE_INTEGER is 1, SQLITE_BLOB 4, SQLITE_NULL 5
            const QByteArray text(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                                  sqlite3_column_bytes(st, c));
            const char *const art[] = {"i:", "r:", "t:", "b:"};
            row << (type == SQLITE_NULL ? u"-"_s
                                        : QString::fromLatin1(art[type - 1])
                                              + (type == SQLITE_BLOB ? QString::fromLatin1(text.toHex())
                                                                     : QString::fromUtf8(text)));
        }
        rows << row.join(u'|');
    }
    if (rc != SQLITE_DONE)
        rows << u"Fehler: "_s + QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_finalize(st);
    return rows;
}

// Whether the statement fails with a message containing `grund`.
bool tst_DbfModule::scheitert(const QString &sql, const QString &grund) const
{
    const QStringList rows = zeilen(sql);
    if (!rows.isEmpty() && rows.last().startsWith(u"Fehler: "_s) && rows.last().contains(grund))
        return true;
    qWarning("%s: %s", qPrintable(sql), qPrintable(rows.join(u'\n')));
    return false;
}

bool tst_DbfModule::einbinden(const QString &tableName, const QString &path) const
{
    QString error;
    const bool ok = DbfModule::attachFile(m_db, tableName, path, &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

QString tst_DbfModule::schreibe(const QString &name, const QList<DbfWriter::Field> &felder,
                                const QList<DbfWriter::Record> &saetze, int version, int treiber) const
{
    const QString path = m_dir->filePath(name);
    QString error;
    if (!DbfWriter::writeTable(path, quint8(version), quint8(treiber), felder, saetze, &error))
        qFatal("%s: %s", qPrintable(path), qPrintable(error));
    return path;
}

QString tst_DbfModule::namen(const QString &name, const QStringList &werte, const QString &feld) const
{
    QList<DbfWriter::Record> saetze;
    for (const QString &wert : werte)
        saetze << DbfWriter::Record{{wert}};
    return schreibe(name, {{feld, 'C', 12}}, saetze);
}

void tst_DbfModule::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QCOMPARE(sqlite3_open(":memory:", &m_db), SQLITE_OK);
    QVERIFY(DbfModule::registerModule(m_db));
}

void tst_DbfModule::cleanup()
{
    QCOMPARE(sqlite3_close(m_db), SQLITE_OK);
}

void tst_DbfModule::handgemachteTabelle()
{
    const QString path = schreibe(u"KUNDEN.DBF"_s, dbase3Kunden());
    QCOMPARE(zeilen(u"CREATE VIRTUAL TABLE temp.kunden USING xbase('%1')"_s.arg(path)), QStringList());
    // rowid counts deleted records; blanks are NULL.
    QCOMPARE(zeilen(u"SELECT rowid, * FROM kunden"_s),
             (QStringList{u"i:1|t:Müller|t:Straße 5|r:12345.0|r:1234.5|t:1965-03-14|i:1"_s,
                          u"i:3|t:Schmidt|-|-|r:-7.25|-|-"_s}));
    QCOMPARE(zeilen(u"SELECT count(*), count(STRASSE), sum(UMSATZ) FROM kunden"_s),
             QStringList{u"i:2|i:1|r:1227.25"_s});
    QCOMPARE(zeilen(u"SELECT NAME FROM kunden WHERE NAME LIKE '%ülle%' OR PLZ IS NULL"_s),
             (QStringList{u"t:Müller"_s, u"t:Schmidt"_s}));
    QVERIFY(scheitert(u"CREATE VIRTUAL TABLE temp.t USING xbase"_s, u"Pfad der Tabellendatei fehlt"_s));
}

void tst_DbfModule::deklarierteTypen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("spalten");

    QTest::newRow("dBASE III") << dbase3Kunden()
                               << u"NAME TEXT(10), STRASSE TEXT(12), PLZ DOUBLE, UMSATZ DOUBLE, GEBURT DATETIME, "
                                  u"AKTIV BIT"_s;
    QTest::newRow("FoxPro") << foxProNotizen() << u"NAME TEXT(8), NOTIZ MEMO"_s;
    QTest::newRow("Visual FoxPro") << visualFoxProPosten()
                                   << u"ID LONG, BETRAG DOUBLE, NAME TEXT(6), ZEIT DATETIME, PREIS CURRENCY"_s;
    QTest::newRow("F") << singleField('F', 12, {"1.5"}) << u"WERT DOUBLE"_s;
    QTest::newRow("unbekannter Typ") << singleField('Q', 7, {"x"}) << u"WERT TEXT(7)"_s;
    // Column names must be unique: a repeated one gets a number, an empty one a name.
    QTest::newRow("doppelte Feldnamen") << fileHeader(0x03, 1, 129, 7, 0x03) + descriptor("NAME", 'C', 2)
                                               + descriptor("name", 'C', 2) + descriptor("", 'C', 2) + "\x0D aabbcc"
                                        << u"NAME TEXT(2), name_2 TEXT(2), FELD3 TEXT(2)"_s;
}

void tst_DbfModule::deklarierteTypen()
{
    // Callers learn a field's type and size from the declared column type.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, spalten);
    QVERIFY(einbinden(u"t"_s, schreibe(u"t.dbf"_s, bytes)));
    QCOMPARE(zeilen(u"SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('t')"_s),
             QStringList{u"t:"_s + spalten});
}

void tst_DbfModule::rundreise_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("treiber");
    QTest::addColumn<QString>("text");

    QTest::newRow("dBASE III") << 0x83 << 0x03 << u"Straße, 5 €"_s;
    QTest::newRow("dBASE IV") << 0x8B << 0x57 << u"Äußeres Öl"_s;
    QTest::newRow("FoxPro 2.x") << 0xF5 << 0x02 << u"Größe 1½"_s;
    QTest::newRow("Visual FoxPro") << 0x30 << 0x03 << u"Übermaß"_s; // binary memo pointers
    QTest::newRow("dBASE III kyrillisch") << 0x83 << 0xC9 << u"Москва"_s;
    QTest::newRow("FoxPro polnisch DOS") << 0xF5 << 0x64 << u"Łódź"_s;
}

void tst_DbfModule::rundreise()
{
    // Tables with memos from the generator in every version: what goes in comes out.
    QFETCH(int, version);
    QFETCH(int, treiber);
    QFETCH(QString, text);
    const QString lang = (text + u"\r\nZeile mit Text\r\n"_s).repeated(80); // several memo blocks in every format
    const QList<DbfWriter::Record> saetze{
        {{text, 1234.56, 0.125, QDate(2024, 2, 29), true, text + u" im Memo"_s}},
        {{u"gelöscht"_s, 1, 1, QDate(2000, 1, 1), false, u"weg"_s}, true},
        {{QString(), QVariant(), QVariant(), QVariant(), QVariant(), QString()}},
        {{u"  vorn blank"_s, -5, -1000.5, u"1999-12-31"_s, false, lang}},
        {{u"letzter"_s, 0, 1e9, u"20380119"_s, true, u"kurz"_s}}};
    const QString path = schreibe(u"RUND.DBF"_s,
                                  {{u"NAME"_s, 'C', 20}, {u"BETRAG"_s, 'N', 10, 2}, {u"FAKTOR"_s, 'F', 16, 4},
                                   {u"DATUM"_s, 'D'}, {u"AKTIV"_s, 'L'}, {u"NOTIZ"_s, 'M'}},
                                  saetze, version, treiber);
    QVERIFY(einbinden(u"rund"_s, path));
    QCOMPARE(zeilen(u"SELECT rowid, * FROM rund"_s),
             (QStringList{u"i:1|t:%1|r:1234.56|r:0.125|t:2024-02-29|i:1|t:%1 im Memo"_s.arg(text),
                          u"i:3|-|-|-|-|-|t:"_s, u"i:4|t:  vorn blank|r:-5.0|r:-1000.5|t:1999-12-31|i:0|t:"_s + lang,
                          u"i:5|t:letzter|r:0.0|r:1000000000.0|t:2038-01-19|i:1|t:kurz"_s}));
}

void tst_DbfModule::defekteDateien()
{
    // The tables are created all the same; the damage shows when they are used.
    const QString path = schreibe(u"kaputt.dbf"_s, patched(dbase3Kunden(), 4, "\x09"));
    QVERIFY(einbinden(u"kaputt"_s, path));
    QVERIFY(scheitert(u"SELECT * FROM kaputt"_s, u"kaputt.dbf: Satzanzahl größer als die Datei"_s));
    QVERIFY(scheitert(u"SELECT count(*) FROM kaputt"_s, u"kaputt.dbf: Satzanzahl größer als die Datei"_s));
    // Its columns were never known: repaired, it has to be attached again.
    writeFile(path, dbase3Kunden());
    QVERIFY(scheitert(u"SELECT * FROM kaputt"_s, u"neu eingebunden"_s));
    QVERIFY(einbinden(u"kaputt"_s, path));
    QCOMPARE(zeilen(u"SELECT NAME FROM kaputt"_s), (QStringList{u"t:Müller"_s, u"t:Schmidt"_s}));
    // Damaged after attaching: cut after the first record, the header still claims three.
    QVERIFY(QFile::resize(path, 225 + 45 + 10));
    QVERIFY(scheitert(u"SELECT NAME FROM kaputt"_s, u"Satzanzahl größer als die Datei"_s));
    writeFile(path, dbase3Kunden());
    QCOMPARE(zeilen(u"SELECT count(*) FROM kaputt"_s), QStringList{u"i:2"_s});

    QVERIFY(QDir(m_dir->path()).mkdir(u"ordner.dbf"_s));
    QVERIFY(einbinden(u"ordner"_s, m_dir->filePath(u"ordner.dbf"_s)));
    QVERIFY(scheitert(u"SELECT * FROM ordner"_s, u"ist ein Ordner, keine Tabellendatei"_s));
    QVERIFY(einbinden(u"fehlt"_s, m_dir->filePath(u"fehlt.dbf"_s)));
    QVERIFY(scheitert(u"SELECT * FROM fehlt"_s, u"kann nicht geöffnet werden"_s));
}

void tst_DbfModule::neueZeilenNachAenderung()
{
    const QString path = namen(u"KUNDEN.DBF"_s, {u"Alt 1"_s, u"Alt 2"_s});
    QVERIFY(einbinden(u"kunden"_s, path));
    sqlite3_stmt *statement = nullptr;
    QCOMPARE(sqlite3_prepare_v2(m_db, "SELECT NAME FROM kunden", -1, &statement, nullptr), SQLITE_OK);
    const auto stepAll = [statement] {
        QStringList names;
        while (sqlite3_step(statement) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_reset(statement);
        return names;
    };
    QCOMPARE(stepAll(), (QStringList{u"Alt 1"_s, u"Alt 2"_s}));
    // Another program writes the file anew; a statement prepared before reads the new rows.
    namen(u"KUNDEN.DBF"_s, {u"Neu 1"_s, u"Neu 2"_s, u"Neu 3"_s});
    QCOMPARE(stepAll(), (QStringList{u"Neu 1"_s, u"Neu 2"_s, u"Neu 3"_s}));
    sqlite3_finalize(statement);
}

void tst_DbfModule::feldfolgeGeaendert()
{
    const QString path =
        schreibe(u"adr.dbf"_s, {{u"NAME"_s, 'C', 10}, {u"ORT"_s, 'C', 10}}, {{{u"Meier"_s, u"Köln"_s}}});
    QVERIFY(einbinden(u"adr"_s, path));
    QCOMPARE(zeilen(u"SELECT NAME, ORT FROM adr"_s), QStringList{u"t:Meier|t:Köln"_s});
    // NAME is gone, ORT moved and got longer, PLZ is new.
    schreibe(u"adr.dbf"_s, {{u"PLZ"_s, 'C', 5}, {u"ORT"_s, 'C', 30}},
             {{{u"50667"_s, u"Köln am Rhein"_s}}, {{u"10115"_s, u"Berlin"_s}}});
    QCOMPARE(zeilen(u"SELECT NAME, ORT FROM adr"_s), (QStringList{u"-|t:Köln am Rhein"_s, u"-|t:Berlin"_s}));
}

void tst_DbfModule::nurBenoetigteSpaltenDekodiert()
{
    // Ten live records, ORT "Ort 0" to "Ort 9", and a deleted one; the memo
    // pointers lie far outside the memo file, in a column no statement uses.
    QList<DbfWriter::Record> saetze;
    for (int i = 0; i < 10; ++i)
        saetze << DbfWriter::Record{{u"Name %1"_s.arg(i), u"Ort %1"_s.arg(i), QByteArray("9999999999")}};
    saetze << DbfWriter::Record{{u"weg"_s, u"Ort 3"_s}, true};
    QVERIFY(einbinden(u"t"_s, schreibe(u"t.dbf"_s, {{u"NAME"_s, 'C', 10}, {u"ORT"_s, 'C', 10}, {u"NOTIZ"_s, 'M'}},
                                       saetze, 0x83)));
    const auto messe = [this](const QString &sql) {
        const quint64 vorher = DbfModule::decodedValueCount();
        const qsizetype anzahl = zeilen(sql).size();
        return u"%1 Zeilen, %2 Werte"_s.arg(anzahl).arg(DbfModule::decodedValueCount() - vorher);
    };
    QCOMPARE(messe(u"SELECT count(*) FROM t"_s), u"1 Zeilen, 0 Werte"_s);
    QCOMPARE(messe(u"SELECT rowid FROM t"_s), u"10 Zeilen, 0 Werte"_s);
    QCOMPARE(messe(u"SELECT NAME, ORT FROM t"_s), u"10 Zeilen, 20 Werte"_s);
    // ORT of every live record, NAME of the one that matches; the deleted one is never decoded.
    QCOMPARE(messe(u"SELECT NAME FROM t WHERE ORT LIKE '%3%'"_s), u"1 Zeilen, 11 Werte"_s);
}

void tst_DbfModule::ordnerEinbinden()
{
    const QString folder = m_dir->path();
    namen(u"KUNDEN.DBF"_s, {u"Kunde"_s});
    namen(u"kunden.gdb"_s, {u"Gruppe A"_s, u"Gruppe B"_s});
    namen(u"Mein Büro.dbf"_s, {u"Büro"_s});
    namen(u"O'Neil \"Alt\".Dbf"_s, {u"Quote"_s});
    schreibe(u"Notes.txt"_s, "keine Tabelle");
    schreibe(u"dbf"_s, "keine Endung");
    schreibe(u"Kaputt.DBF"_s, "kurz");
    QVERIFY(QDir(folder).mkdir(u"Archiv"_s));
    QString error;
    QVERIFY2(DbfModule::attachFolder(m_db, folder, &error), qPrintable(error));

    QCOMPARE(zeilen(u"SELECT name FROM temp.sqlite_master WHERE type = 'table' ORDER BY name"_s),
             (QStringList{u"t:KUNDEN"_s, u"t:KUNDEN.DBF"_s, u"t:Kaputt"_s, u"t:Kaputt.DBF"_s, u"t:Mein Büro"_s,
                          u"t:Mein Büro.dbf"_s, u"t:O'Neil \"Alt\""_s, u"t:O'Neil \"Alt\".Dbf"_s, u"t:kunden.gdb"_s}));
    QCOMPARE(zeilen(u"SELECT NAME FROM \"KUNDEN.DBF\" UNION ALL SELECT NAME FROM kunden"_s),
             (QStringList{u"t:Kunde"_s, u"t:Kunde"_s}));
    QCOMPARE(zeilen(u"SELECT NAME FROM \"kunden.gdb\""_s), (QStringList{u"t:Gruppe A"_s, u"t:Gruppe B"_s}));
    QCOMPARE(zeilen(u"SELECT NAME FROM \"Mein Büro\" UNION ALL SELECT NAME FROM \"Mein Büro.dbf\""_s),
             (QStringList{u"t:Büro"_s, u"t:Büro"_s}));
    QCOMPARE(zeilen(u"SELECT NAME FROM \"O'Neil \"\"Alt\"\"\""_s), QStringList{u"t:Quote"_s});
    // A damaged file gets its table all the same.
    QVERIFY(scheitert(u"SELECT * FROM Kaputt"_s, u"Tabellenkopf abgeschnitten"_s));
}

void tst_DbfModule::eigeneTabelleBleibt()
{
    // A table of the application's own under a table file's name is left alone.
    namen(u"KUNDEN.DBF"_s, {u"Kunde"_s});
    QCOMPARE(zeilen(u"CREATE TEMP TABLE kunden(x)"_s), QStringList());
    QString error;
    QVERIFY(!DbfModule::attachFolder(m_db, m_dir->path(), &error));
    QVERIFY2(error.contains(u"„kunden“ gibt es schon"_s), qPrintable(error));
    QCOMPARE(zeilen(u"SELECT count(*) FROM kunden"_s), QStringList{u"i:0"_s});
}

void tst_DbfModule::ordnerNichtLesbar()
{
    for (const QString &ordner : {u"/nicht/vorhanden/ACT"_s, schreibe(u"KUNDEN.DBF"_s, dbase3Kunden())}) {
        QString error;
        QVERIFY(!DbfModule::attachFolder(m_db, ordner, &error));
        QVERIFY2(error.contains(ordner + u"“ kann nicht gelesen werden"_s), qPrintable(error));
    }
    QCOMPARE(zeilen(u"SELECT count(*) FROM temp.sqlite_master"_s), QStringList{u"i:0"_s});
}

void tst_DbfModule::schreibenVerboten()
{
    const QString path = schreibe(u"KUNDEN.DBF"_s, dbase3Kunden());
    QVERIFY(einbinden(u"kunden"_s, path));
    for (const QString &sql : {u"INSERT INTO kunden(NAME) VALUES ('Neu')"_s, u"UPDATE kunden SET NAME = 'X'"_s,
                               u"DELETE FROM kunden"_s})
        QVERIFY(scheitert(sql, u"may not be modified"_s));
    QCOMPARE(zeilen(u"SELECT count(*) FROM kunden"_s), QStringList{u"i:2"_s});
    // Dropping the table forgets it and leaves the file alone.
    QCOMPARE(zeilen(u"DROP TABLE kunden"_s), QStringList());
    QCOMPARE(readFile(path), dbase3Kunden());
}

QTEST_GUILESS_MAIN(tst_DbfModule)
#include "tst_DbfModule.moc"
