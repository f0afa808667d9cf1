#include "platform/xbase/DbfModule.h"
#include "tools/dbf/DbfWriter.h"

#include "tests/platform/DbfFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace Qt::StringLiterals;
using namespace DbfFixtures;

using Rows = QList<QVariantList>;

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
    void defekteDateien_data();
    void defekteDateien();
    void spaeterBeschaedigt();
    void beimEinbindenDefektSpaeterRepariert();
    void neueZeilenNachAenderung();
    void feldfolgeGeaendert();
    void nurBenoetigteSpaltenDekodiert_data();
    void nurBenoetigteSpaltenDekodiert();
    void ordnerEinbinden();
    void ordnerZweimalEinbinden();
    void ordnerNichtLesbar_data();
    void ordnerNichtLesbar();
    void schreibenVerboten_data();
    void schreibenVerboten();
    void ohnePfad();

private:
    struct Result
    {
        bool ok = false;
        QString error;
        Rows rows;
        QStringList declaredTypes;
    };

    Result query(const QString &sql) const;
    Rows rows(const QString &sql) const;
    bool exec(const QString &sql) const;
    QString tabelle(const QString &name, const QByteArray &bytes) const;
    bool einbinden(const QString &tableName, const QString &path) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    sqlite3 *m_db = nullptr;
};

tst_DbfModule::Result tst_DbfModule::query(const QString &sql) const
{
    Result result;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        result.error = QString::fromUtf8(sqlite3_errmsg(m_db));
        return result;
    }
    const int columns = sqlite3_column_count(statement);
    for (int c = 0; c < columns; ++c)
        result.declaredTypes << QString::fromUtf8(sqlite3_column_decltype(statement, c));
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        QVariantList row;
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                row << QVariant::fromValue(qint64(sqlite3_column_int64(statement, c)));
                break;
            case SQLITE_FLOAT:
                row << sqlite3_column_double(statement, c);
                break;
            case SQLITE_TEXT:
                row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, c)),
                                         sqlite3_column_bytes(statement, c));
                break;
            case SQLITE_BLOB:
                row << QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, c)),
                                  sqlite3_column_bytes(statement, c));
                break;
            default:
                row << QVariant();
                break;
            }
        }
        result.rows << row;
    }
    result.ok = rc == SQLITE_DONE;
    if (!result.ok)
        result.error = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_finalize(statement);
    return result;
}

Rows tst_DbfModule::rows(const QString &sql) const
{
    const Result result = query(sql);
    if (!result.ok)
        qWarning("%s: %s", qPrintable(sql), qPrintable(result.error));
    return result.rows;
}

bool tst_DbfModule::exec(const QString &sql) const
{
    return query(sql).ok;
}

QString tst_DbfModule::tabelle(const QString &name, const QByteArray &bytes) const
{
    const QString path = m_dir->filePath(name);
    if (!writeFile(path, bytes))
        qFatal("cannot write fixture");
    return path;
}

bool tst_DbfModule::einbinden(const QString &tableName, const QString &path) const
{
    QString error;
    const bool ok = DbfModule::attachFile(m_db, tableName, path, &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok;
}

void tst_DbfModule::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QCOMPARE(sqlite3_open(":memory:", &m_db), SQLITE_OK);
    QVERIFY(DbfModule::registerModule(m_db));
}

void tst_DbfModule::cleanup()
{
    QCOMPARE(sqlite3_close(m_db), SQLITE_OK);
    m_db = nullptr;
    m_dir.reset();
}

void tst_DbfModule::handgemachteTabelle()
{
    const QString path = tabelle(u"KUNDEN.DBF"_s, dbase3Kunden());
    QVERIFY(exec(u"CREATE VIRTUAL TABLE temp.kunden USING xbase('%1')"_s.arg(path)));

    const Rows expected{
        {qint64(1), u"Müller"_s, u"Straße 5"_s, 12345.0, 1234.5, u"1965-03-14"_s, qint64(1)},
        {qint64(3), u"Schmidt"_s, QVariant(), QVariant(), -7.25, QVariant(), QVariant()},
    };
    QCOMPARE(rows(u"SELECT rowid, NAME, STRASSE, PLZ, UMSATZ, GEBURT, AKTIV FROM kunden"_s), expected);
    QCOMPARE(rows(u"SELECT typeof(NAME), typeof(PLZ), typeof(GEBURT), typeof(AKTIV), typeof(STRASSE) "
                  "FROM kunden WHERE rowid = 1"_s),
             (Rows{{u"text"_s, u"real"_s, u"text"_s, u"integer"_s, u"text"_s}}));
    // UTF-8 as SQLite holds it.
    QCOMPARE(rows(u"SELECT hex(NAME), hex(STRASSE) FROM kunden WHERE rowid = 1"_s),
             (Rows{{u"4DC3BC6C6C6572"_s, u"53747261C39F652035"_s}}));
    QCOMPARE(rows(u"SELECT count(*), count(STRASSE), sum(UMSATZ) FROM kunden"_s),
             (Rows{{qint64(2), qint64(1), 1227.25}}));
    QCOMPARE(rows(u"SELECT NAME FROM kunden WHERE NAME LIKE '%ülle%'"_s), (Rows{{u"Müller"_s}}));
}

void tst_DbfModule::deklarierteTypen_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("namen");
    QTest::addColumn<QStringList>("typen");

    QTest::newRow("dBASE III") << dbase3Kunden()
                               << QStringList{u"NAME"_s, u"STRASSE"_s, u"PLZ"_s, u"UMSATZ"_s, u"GEBURT"_s, u"AKTIV"_s}
                               << QStringList{u"TEXT(10)"_s, u"TEXT(12)"_s, u"DOUBLE"_s, u"DOUBLE"_s,
                                              u"DATETIME"_s, u"BIT"_s};
    QTest::newRow("FoxPro") << foxProNotizen() << QStringList{u"NAME"_s, u"NOTIZ"_s}
                            << QStringList{u"TEXT(8)"_s, u"MEMO"_s};
    QTest::newRow("Visual FoxPro") << visualFoxProPosten()
                                   << QStringList{u"ID"_s, u"BETRAG"_s, u"NAME"_s, u"ZEIT"_s, u"PREIS"_s}
                                   << QStringList{u"LONG"_s, u"DOUBLE"_s, u"TEXT(6)"_s, u"DATETIME"_s,
                                                  u"CURRENCY"_s};
    QTest::newRow("F") << singleField('F', 12, {"1.5"})
                                           << QStringList{u"WERT"_s} << QStringList{u"DOUBLE"_s};
    QTest::newRow("unbekannter Typ") << singleField('Q', 7, {"x"}) << QStringList{u"WERT"_s}
                                     << QStringList{u"TEXT(7)"_s};
}

void tst_DbfModule::deklarierteTypen()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, namen);
    QFETCH(QStringList, typen);
    QVERIFY(einbinden(u"t"_s, tabelle(u"t.dbf"_s, bytes)));
    const Result result = query(u"SELECT * FROM t"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.declaredTypes, typen);
    QStringList names;
    QStringList types;
    for (const QVariantList &row : rows(u"SELECT name, type FROM pragma_table_info('t')"_s)) {
        names << row[0].toString();
        types << row[1].toString();
    }
    QCOMPARE(names, namen);
    QCOMPARE(types, typen);
}

void tst_DbfModule::rundreise_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("treiber");
    QTest::addColumn<QString>("text");

    QTest::newRow("dBASE III ohne Memo") << 0x03 << 0x03 << u"Müller & Söhne"_s;
    QTest::newRow("dBASE III mit Memo") << 0x83 << 0x03 << u"Straße, 5 €"_s;
    QTest::newRow("dBASE IV") << 0x8B << 0x57 << u"Äußeres Öl"_s;
    QTest::newRow("FoxPro 2.x") << 0xF5 << 0x02 << u"Größe 1½"_s;
    QTest::newRow("Visual FoxPro") << 0x30 << 0x03 << u"Übermaß"_s;
    QTest::newRow("dBASE III kyrillisch") << 0x83 << 0xC9 << u"Москва"_s;
    QTest::newRow("FoxPro polnisch DOS") << 0xF5 << 0x64 << u"Łódź"_s;
}

void tst_DbfModule::rundreise()
{
    QFETCH(int, version);
    QFETCH(int, treiber);
    QFETCH(QString, text);
    const bool memo = version != 0x03;
    const bool visualFoxPro = version == 0x30;

    DbfWriter writer{quint8(version), quint8(treiber)};
    QVERIFY(writer.addField(u"NAME"_s, 'C', 20));
    QVERIFY(writer.addField(u"BETRAG"_s, 'N', 10, 2));
    QVERIFY(writer.addField(u"FAKTOR"_s, 'F', 12, 4));
    QVERIFY(writer.addField(u"DATUM"_s, 'D'));
    QVERIFY(writer.addField(u"AKTIV"_s, 'L'));
    if (memo)
        QVERIFY(writer.addField(u"NOTIZ"_s, 'M'));
    if (visualFoxPro) {
        QVERIFY(writer.addField(u"NR"_s, 'I'));
        QVERIFY(writer.addField(u"WERT"_s, 'B', 8, 3));
    }
    const QString path = m_dir->filePath(u"RUND.DBF"_s);
    QVERIFY2(writer.create(path), qPrintable(writer.errorString()));

    // The long memo spans several memo blocks in every format.
    const QString longMemo = (text + u"\r\nZeile mit Text\r\n"_s).repeated(80);
    const struct
    {
        QVariantList values;
        bool deleted;
    } input[] = {
        {{text, 1234.56, 0.125, QDate(2024, 2, 29), true, text + u" im Memo"_s, 42, 3.25}, false},
        {{u"gelöscht"_s, 1, 1, QDate(2000, 1, 1), false, u"weg"_s, 1, 1.0}, true},
        {{QString(), QVariant(), QVariant(), QVariant(), QVariant(), QString(), 0, 0.0}, false},
        {{u"  vorn blank"_s, -5, -1000.5, u"1999-12-31"_s, false, longMemo, -7, -0.001}, false},
        {{u"letzter"_s, 0, 0, u"20380119"_s, true, u"kurz"_s, 2147483647, 1e300}, false},
    };
    for (const auto &record : input) {
        QVariantList values = record.values.mid(0, 5);
        if (memo)
            values << record.values[5];
        if (visualFoxPro)
            values << record.values[6] << record.values[7];
        QVERIFY2(writer.appendRecord(values, record.deleted), qPrintable(writer.errorString()));
    }
    QVERIFY2(writer.finish(), qPrintable(writer.errorString()));

    QVERIFY(einbinden(u"rund"_s, path));
    QString columns = u"rowid, NAME, BETRAG, FAKTOR, DATUM, AKTIV"_s;
    if (memo)
        columns += u", NOTIZ"_s;
    if (visualFoxPro)
        columns += u", NR, WERT"_s;
    const Rows actual = rows(u"SELECT %1 FROM rund"_s.arg(columns));

    Rows expected;
    const QVariant null;
    const auto make = [&](qint64 rowid, QVariantList common, const QVariant &memoText, const QVariant &nr,
                          const QVariant &wert) {
        QVariantList row{rowid};
        row += common;
        if (memo)
            row << memoText;
        if (visualFoxPro)
            row << nr << wert;
        expected << row;
    };
    make(1, {text, 1234.56, 0.125, u"2024-02-29"_s, qint64(1)}, text + u" im Memo"_s, qint64(42), 3.25);
    make(3, {null, null, null, null, null}, u""_s, qint64(0), 0.0);
    make(4, {u"  vorn blank"_s, -5.0, -1000.5, u"1999-12-31"_s, qint64(0)}, longMemo, qint64(-7), -0.001);
    make(5, {u"letzter"_s, 0.0, 0.0, u"2038-01-19"_s, qint64(1)}, u"kurz"_s, qint64(2147483647), 1e300);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        QCOMPARE(actual[i], expected[i]);
}

void tst_DbfModule::defekteDateien_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("grund");

    const QByteArray kunden = dbase3Kunden();
    QTest::newRow("leer") << QByteArray() << u"Datei ist leer"_s;
    QTest::newRow("10 Bytes") << kunden.left(10) << u"Tabellenkopf abgeschnitten"_s;
    QTest::newRow("Felder über Kopflänge") << patched(kunden, 8, QByteArray("\x61\x00", 2))
                                           << u"Felddefinition läuft über den Tabellenkopf hinaus"_s;
    QTest::newRow("Satzanzahl über Dateiende") << patched(kunden, 4, "\x09")
                                               << u"Satzanzahl größer als die Datei"_s;
    QTest::newRow("Satzlänge falsch") << patched(kunden, 10, QByteArray("\x30\x00", 2))
                                      << u"Satzlänge passt nicht zu den Feldern"_s;
    QTest::newRow("unbekannte Version") << patched(kunden, 0, "\x7F") << u"Unbekannte Tabellenversion 0x7F"_s;
}

void tst_DbfModule::defekteDateien()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, grund);
    // The table is created all the same; the damage shows when it is used.
    const QString path = tabelle(u"kaputt.dbf"_s, bytes);
    QVERIFY(einbinden(u"kaputt"_s, path));
    for (const QString &sql : {u"SELECT * FROM kaputt"_s, u"SELECT count(*) FROM kaputt"_s}) {
        const Result result = query(sql);
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(grund), qPrintable(result.error));
        QVERIFY2(result.error.contains(u"kaputt.dbf"_s), qPrintable(result.error));
    }

    // The same for a folder that carries a table's name, and for a file that is not there.
    QVERIFY(QDir(m_dir->path()).mkdir(u"ordner.dbf"_s));
    QVERIFY(einbinden(u"ordner"_s, m_dir->filePath(u"ordner.dbf"_s)));
    Result result = query(u"SELECT * FROM ordner"_s);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"ist ein Ordner, keine Tabellendatei"_s), qPrintable(result.error));
    QVERIFY(einbinden(u"fehlt"_s, m_dir->filePath(u"fehlt.dbf"_s)));
    result = query(u"SELECT * FROM fehlt"_s);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"kann nicht geöffnet werden"_s), qPrintable(result.error));
}

void tst_DbfModule::spaeterBeschaedigt()
{
    const QString path = tabelle(u"KUNDEN.DBF"_s, dbase3Kunden());
    QVERIFY(einbinden(u"kunden"_s, path));
    QCOMPARE(rows(u"SELECT count(*) FROM kunden"_s), (Rows{{qint64(2)}}));
    // Cut after the first record: the header still claims three.
    QVERIFY(QFile::resize(path, 225 + 45 + 10));
    const Result result = query(u"SELECT NAME FROM kunden"_s);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"Satzanzahl größer als die Datei"_s), qPrintable(result.error));
    QVERIFY(writeFile(path, dbase3Kunden()));
    QCOMPARE(rows(u"SELECT count(*) FROM kunden"_s), (Rows{{qint64(2)}}));
}

void tst_DbfModule::beimEinbindenDefektSpaeterRepariert()
{
    const QString path = tabelle(u"KUNDEN.DBF"_s, dbase3Kunden().left(10));
    QVERIFY(einbinden(u"kunden"_s, path));
    QVERIFY(writeFile(path, dbase3Kunden()));
    // Its columns were never known: it has to be attached again.
    Result result = query(u"SELECT * FROM kunden"_s);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"neu eingebunden"_s), qPrintable(result.error));
    QVERIFY(einbinden(u"kunden"_s, path));
    result = query(u"SELECT NAME FROM kunden"_s);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.rows, (Rows{{u"Müller"_s}, {u"Schmidt"_s}}));
}

void tst_DbfModule::neueZeilenNachAenderung()
{
    const QString path = m_dir->filePath(u"KUNDEN.DBF"_s);
    const QList<DbfWriter::Field> fields{{u"NAME"_s, 'C', 10, 0}};
    QString error;
    QVERIFY2(DbfWriter::writeTable(path, 0x03, 0x03, fields, {{{u"Alt 1"_s}}, {{u"Alt 2"_s}}}, &error),
             qPrintable(error));
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

    // Another program writes the file anew under the same name.
    QVERIFY2(DbfWriter::writeTable(path, 0x03, 0x03, fields,
                                   {{{u"Neu 1"_s}}, {{u"Neu 2"_s}, true}, {{u"Neu 3"_s}}, {{u"Neu 4"_s}}}, &error),
             qPrintable(error));
    QCOMPARE(rows(u"SELECT NAME FROM kunden"_s), (Rows{{u"Neu 1"_s}, {u"Neu 3"_s}, {u"Neu 4"_s}}));
    // A statement prepared before the change reads the new rows as well.
    QCOMPARE(stepAll(), (QStringList{u"Neu 1"_s, u"Neu 3"_s, u"Neu 4"_s}));
    sqlite3_finalize(statement);
}

void tst_DbfModule::feldfolgeGeaendert()
{
    const QString path = m_dir->filePath(u"adr.dbf"_s);
    QString error;
    QVERIFY(DbfWriter::writeTable(path, 0x03, 0x03, {{u"NAME"_s, 'C', 10, 0}, {u"ORT"_s, 'C', 10, 0}},
                                  {{{u"Meier"_s, u"Köln"_s}}}, &error));
    QVERIFY(einbinden(u"adr"_s, path));
    QCOMPARE(rows(u"SELECT NAME, ORT FROM adr"_s), (Rows{{u"Meier"_s, u"Köln"_s}}));

    // NAME is gone, ORT moved and got longer, PLZ is new.
    QVERIFY(DbfWriter::writeTable(path, 0x03, 0x03, {{u"PLZ"_s, 'C', 5, 0}, {u"ORT"_s, 'C', 30, 0}},
                                  {{{u"50667"_s, u"Köln am Rhein"_s}}, {{u"10115"_s, u"Berlin"_s}}}, &error));
    QCOMPARE(rows(u"SELECT NAME, ORT FROM adr"_s),
             (Rows{{QVariant(), u"Köln am Rhein"_s}, {QVariant(), u"Berlin"_s}}));
}

void tst_DbfModule::nurBenoetigteSpaltenDekodiert_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("dekodiert");
    QTest::addColumn<int>("zeilen");

    // Ten live records, ORT "Ort 0" to "Ort 9", one deleted record after them.
    QTest::newRow("count") << u"SELECT count(*) FROM t"_s << 0 << 1;
    QTest::newRow("rowid") << u"SELECT rowid FROM t"_s << 0 << 10;
    QTest::newRow("eine Spalte") << u"SELECT NAME FROM t"_s << 10 << 10;
    QTest::newRow("zwei Spalten") << u"SELECT NAME, ORT FROM t"_s << 20 << 10;
    // ORT for every live record, NAME for the one that matches; the deleted
    // record would match as well but is never decoded.
    QTest::newRow("Filter") << u"SELECT NAME FROM t WHERE ORT LIKE '%3%'"_s << 11 << 1;
    QTest::newRow("Filter ohne Ergebnis") << u"SELECT NAME, NOTIZ FROM t WHERE ORT = 'Nirgends'"_s << 10 << 0;
}

void tst_DbfModule::nurBenoetigteSpaltenDekodiert()
{
    QFETCH(QString, sql);
    QFETCH(int, dekodiert);
    QFETCH(int, zeilen);
    DbfWriter writer(0x83, 0x03);
    QVERIFY(writer.addField(u"NAME"_s, 'C', 10));
    QVERIFY(writer.addField(u"ORT"_s, 'C', 10));
    QVERIFY(writer.addField(u"NOTIZ"_s, 'M'));
    const QString path = m_dir->filePath(u"t.dbf"_s);
    QVERIFY(writer.create(path));
    for (int i = 0; i < 10; ++i) {
        // A memo pointer far outside the memo file, in a column the statements do not use.
        QVERIFY(writer.appendRecord({u"Name %1"_s.arg(i), u"Ort %1"_s.arg(i), QByteArray("9999999999")}));
    }
    QVERIFY(writer.appendRecord({u"weg"_s, u"Ort 3"_s, QVariant()}, true));
    QVERIFY(writer.finish());
    QVERIFY(einbinden(u"t"_s, path));

    const quint64 before = DbfModule::decodedValueCount();
    const Result result = query(sql);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.rows.size(), zeilen);
    QCOMPARE(DbfModule::decodedValueCount() - before, quint64(dekodiert));
}

void tst_DbfModule::ordnerEinbinden()
{
    const QString folder = m_dir->path();
    QString error;
    const QList<DbfWriter::Field> fields{{u"NAME"_s, 'C', 12, 0}};
    QVERIFY(DbfWriter::writeTable(folder + u"/KUNDEN.DBF"_s, 0x03, 0x03, fields, {{{u"Kunde"_s}}}, &error));
    QVERIFY(DbfWriter::writeTable(folder + u"/kunden.gdb"_s, 0x03, 0x03, fields,
                                  {{{u"Gruppe A"_s}}, {{u"Gruppe B"_s}}}, &error));
    QVERIFY(DbfWriter::writeTable(folder + u"/Mein Büro.dbf"_s, 0x03, 0x03, fields, {{{u"Büro"_s}}}, &error));
    QVERIFY(DbfWriter::writeTable(folder + u"/O'Neil \"Alt\".Dbf"_s, 0x03, 0x03, fields, {{{u"Quote"_s}}}, &error));
    QVERIFY(writeFile(folder + u"/Notes.txt"_s, "keine Tabelle"));
    QVERIFY(writeFile(folder + u"/dbf"_s, "keine Endung"));
    QVERIFY(writeFile(folder + u"/Kaputt.DBF"_s, "kurz"));
    QVERIFY(QDir(folder).mkdir(u"Archiv"_s));

    QVERIFY2(DbfModule::attachFolder(m_db, folder, &error), qPrintable(error));

    QStringList names;
    for (const QVariantList &row : rows(u"SELECT name FROM temp.sqlite_master WHERE type = 'table'"_s))
        names << row[0].toString();
    names.sort();
    QStringList expected{u"KUNDEN.DBF"_s, u"KUNDEN"_s,        u"kunden.gdb"_s,          u"Mein Büro.dbf"_s,
                         u"Mein Büro"_s,  u"Kaputt.DBF"_s,    u"Kaputt"_s,              u"O'Neil \"Alt\".Dbf"_s,
                         u"O'Neil \"Alt\""_s};
    expected.sort();
    QCOMPARE(names, expected);

    QCOMPARE(rows(u"SELECT NAME FROM \"KUNDEN.DBF\""_s), (Rows{{u"Kunde"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM KUNDEN"_s), (Rows{{u"Kunde"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM kunden"_s), (Rows{{u"Kunde"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM \"kunden.gdb\""_s), (Rows{{u"Gruppe A"_s}, {u"Gruppe B"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM \"Mein Büro\""_s), (Rows{{u"Büro"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM \"Mein Büro.dbf\""_s), (Rows{{u"Büro"_s}}));
    QCOMPARE(rows(u"SELECT NAME FROM \"O'Neil \"\"Alt\"\"\""_s), (Rows{{u"Quote"_s}}));
    const Result broken = query(u"SELECT * FROM Kaputt"_s);
    QVERIFY(!broken.ok);
    QVERIFY2(broken.error.contains(u"Tabellenkopf abgeschnitten"_s), qPrintable(broken.error));
}

void tst_DbfModule::ordnerZweimalEinbinden()
{
    const QString folder = m_dir->path();
    QString error;
    const QList<DbfWriter::Field> fields{{u"NAME"_s, 'C', 12, 0}};
    QVERIFY(DbfWriter::writeTable(folder + u"/KUNDEN.DBF"_s, 0x03, 0x03, fields, {{{u"Kunde"_s}}}, &error));
    QVERIFY2(DbfModule::attachFolder(m_db, folder, &error), qPrintable(error));
    // Now with another field: attaching again picks up the new columns.
    QVERIFY(DbfWriter::writeTable(folder + u"/KUNDEN.DBF"_s, 0x03, 0x03, {{u"FIRMA"_s, 'C', 12, 0}},
                                  {{{u"Firma"_s}}}, &error));
    QVERIFY2(DbfModule::attachFolder(m_db, folder, &error), qPrintable(error));
    QCOMPARE(rows(u"SELECT FIRMA FROM KUNDEN"_s), (Rows{{u"Firma"_s}}));
    QCOMPARE(rows(u"SELECT count(*) FROM temp.sqlite_master WHERE type = 'table'"_s), (Rows{{qint64(2)}}));

    // A table of the application's own under such a name is left alone.
    QVERIFY(exec(u"DROP TABLE temp.KUNDEN"_s));
    QVERIFY(exec(u"CREATE TEMP TABLE kunden(x)"_s));
    QVERIFY(!DbfModule::attachFolder(m_db, folder, &error));
    QVERIFY2(error.contains(u"gibt es schon"_s), qPrintable(error));
    QCOMPARE(rows(u"SELECT count(*) FROM kunden"_s), (Rows{{qint64(0)}}));
}

void tst_DbfModule::ordnerNichtLesbar_data()
{
    QTest::addColumn<QString>("ordner");
    QTest::addColumn<QString>("grund");

    QTest::newRow("gibt es nicht") << u"/nicht/vorhanden/ACT"_s << u"kann nicht gelesen werden"_s;
    QTest::newRow("ist eine Datei") << u"DATEI"_s << u"kann nicht gelesen werden"_s;
}

void tst_DbfModule::ordnerNichtLesbar()
{
    QFETCH(QString, ordner);
    QFETCH(QString, grund);
    if (ordner == u"DATEI"_s)
        ordner = tabelle(u"KUNDEN.DBF"_s, dbase3Kunden());
    QString error;
    QVERIFY(!DbfModule::attachFolder(m_db, ordner, &error));
    QVERIFY2(error.contains(grund), qPrintable(error));
    QVERIFY2(error.contains(ordner), qPrintable(error));
    QCOMPARE(rows(u"SELECT count(*) FROM temp.sqlite_master"_s), (Rows{{qint64(0)}}));
}

void tst_DbfModule::schreibenVerboten_data()
{
    QTest::addColumn<QString>("sql");

    QTest::newRow("INSERT") << u"INSERT INTO kunden(NAME) VALUES ('Neu')"_s;
    QTest::newRow("INSERT SELECT") << u"INSERT INTO kunden SELECT * FROM kunden"_s;
    QTest::newRow("UPDATE") << u"UPDATE kunden SET NAME = 'X'"_s;
    QTest::newRow("DELETE") << u"DELETE FROM kunden"_s;
    QTest::newRow("REPLACE") << u"REPLACE INTO kunden(rowid, NAME) VALUES (1, 'X')"_s;
}

void tst_DbfModule::schreibenVerboten()
{
    QFETCH(QString, sql);
    const QString path = tabelle(u"KUNDEN.DBF"_s, dbase3Kunden());
    QVERIFY(einbinden(u"kunden"_s, path));
    const Result result = query(sql);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"may not be modified"_s), qPrintable(result.error));
    QCOMPARE(readFile(path), dbase3Kunden());
    QCOMPARE(rows(u"SELECT count(*) FROM kunden"_s), (Rows{{qint64(2)}}));
    // Dropping the table forgets it and leaves the file alone.
    QVERIFY(exec(u"DROP TABLE kunden"_s));
    QCOMPARE(readFile(path), dbase3Kunden());
}

void tst_DbfModule::ohnePfad()
{
    const Result result = query(u"CREATE VIRTUAL TABLE temp.t USING xbase"_s);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u"Pfad der Tabellendatei fehlt"_s), qPrintable(result.error));
}

QTEST_GUILESS_MAIN(tst_DbfModule)
#include "tst_DbfModule.moc"
