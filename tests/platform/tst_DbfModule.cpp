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
// connection: values, declared types, refused writes, damaged and changed
// files and whole folders.
class tst_DbfModule : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deklarierteTypen_data();
    void deklarierteTypen();
    void rundreise_data();
    void rundreise();
    void defekteDateien();
    void feldfolgeGeaendert();
    void nurBenoetigteSpaltenDekodiert();
    void ordnerEinbinden();
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

    std::unique_ptr<QTemporaryDir> m_dir;
    sqlite3 *m_db = nullptr;
};

// Each row as its values joined by '|': "i:", "r:" or "t:" (integer, real,
// text) and SQLite's text of the value, NULL as "-". An error ends the list
// as "Fehler: " and SQLite's message.
QStringList tst_DbfModule::zeilen(const QString &sql) const
{
    QStringList rows;
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr);
    for (; rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW; rc = SQLITE_OK) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c) {
            const int type = sqlite3_column_type(st, c); // SQLITE_INTEGER is 1, SQLITE_FLOAT 2, SQLITE_TEXT 3
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
            row << (type == SQLITE_NULL ? u"-"_s : QChar(u"irtb"[type - 1]) + u':' + QString::fromUtf8(text));
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
        {{u"  vorn blank"_s, 0, -1000.5, u"19991231"_s, false, lang}}};
    const QString path = schreibe(u"RUND.DBF"_s,
                                  {{u"NAME"_s, 'C', 20}, {u"BETRAG"_s, 'N', 10, 2}, {u"FAKTOR"_s, 'F', 16, 4},
                                   {u"DATUM"_s, 'D'}, {u"AKTIV"_s, 'L'}, {u"NOTIZ"_s, 'M'}},
                                  saetze, version, treiber);
    QVERIFY(einbinden(u"rund"_s, path));
    QCOMPARE(zeilen(u"SELECT rowid, * FROM rund"_s),
             (QStringList{u"i:1|t:%1|r:1234.56|r:0.125|t:2024-02-29|i:1|t:%1 im Memo"_s.arg(text),
                          u"i:3|-|-|-|-|-|t:"_s, u"i:4|t:  vorn blank|r:0.0|r:-1000.5|t:1999-12-31|i:0|t:"_s + lang}));
}

void tst_DbfModule::defekteDateien()
{
    // The tables are created all the same; the damage shows when they are used.
    const QString path = schreibe(u"kaputt.dbf"_s, patched(dbase3Kunden(), 4, "\x09"));
    QVERIFY(einbinden(u"kaputt"_s, path));
    QVERIFY(scheitert(u"SELECT * FROM kaputt"_s, u"kaputt.dbf: Satzanzahl größer als die Datei"_s));
    // Its columns were never known: repaired, it has to be attached again.
    writeFile(path, dbase3Kunden());
    QVERIFY(scheitert(u"SELECT * FROM kaputt"_s, u"neu eingebunden"_s));
    QVERIFY(einbinden(u"kaputt"_s, path));
    QCOMPARE(zeilen(u"SELECT NAME FROM kaputt"_s), (QStringList{u"t:Müller"_s, u"t:Schmidt"_s}));
    // Damaged after attaching: cut after the first record, the header still claims three.
    QVERIFY(QFile::resize(path, 225 + 45 + 10));
    QVERIFY(scheitert(u"SELECT NAME FROM kaputt"_s, u"Satzanzahl größer als die Datei"_s));

    QVERIFY(QDir(m_dir->path()).mkdir(u"ordner.dbf"_s));
    QVERIFY(einbinden(u"ordner"_s, m_dir->filePath(u"ordner.dbf"_s)));
    QVERIFY(scheitert(u"SELECT * FROM ordner"_s, u"ist ein Ordner, keine Tabellendatei"_s));
    QVERIFY(einbinden(u"fehlt"_s, m_dir->filePath(u"fehlt.dbf"_s)));
    QVERIFY(scheitert(u"SELECT * FROM fehlt"_s, u"kann nicht geöffnet werden"_s));
    QVERIFY(scheitert(u"CREATE VIRTUAL TABLE temp.t USING xbase"_s, u"Pfad der Tabellendatei fehlt"_s));
}

void tst_DbfModule::feldfolgeGeaendert()
{
    const QString path =
        schreibe(u"adr.dbf"_s, {{u"NAME"_s, 'C', 10}, {u"ORT"_s, 'C', 10}}, {{{u"Meier"_s, u"Köln"_s}}});
    QVERIFY(einbinden(u"adr"_s, path));
    QCOMPARE(zeilen(u"SELECT NAME, ORT FROM adr"_s), QStringList{u"t:Meier|t:Köln"_s});
    // Another program writes the file anew: NAME is gone, ORT moved and got
    // longer, PLZ and a row are new.
    schreibe(u"adr.dbf"_s, {{u"PLZ"_s, 'C', 5}, {u"ORT"_s, 'C', 30}},
             {{{u"50667"_s, u"Köln am Rhein"_s}}, {{u"10115"_s, u"Berlin"_s}}});
    QCOMPARE(zeilen(u"SELECT NAME, ORT FROM adr"_s), (QStringList{u"-|t:Köln am Rhein"_s, u"-|t:Berlin"_s}));
}

void tst_DbfModule::nurBenoetigteSpaltenDekodiert()
{
    // Two live records of six fields and a deleted one.
    QVERIFY(einbinden(u"t"_s, schreibe(u"t.dbf"_s, dbase3Kunden())));
    const auto messe = [this](const QString &sql) {
        const quint64 vorher = DbfModule::decodedValueCount();
        const qsizetype anzahl = zeilen(sql).size();
        return u"%1 Zeilen, %2 Werte"_s.arg(anzahl).arg(DbfModule::decodedValueCount() - vorher);
    };
    QCOMPARE(messe(u"SELECT count(*) FROM t"_s), u"1 Zeilen, 0 Werte"_s);
    QCOMPARE(messe(u"SELECT NAME, PLZ FROM t"_s), u"2 Zeilen, 4 Werte"_s);
    // AKTIV of every live record, NAME of the one that matches; the deleted one is never decoded.
    QCOMPARE(messe(u"SELECT NAME FROM t WHERE AKTIV = 1"_s), u"1 Zeilen, 3 Werte"_s);
}

void tst_DbfModule::ordnerEinbinden()
{
    QString error;
    QVERIFY(!DbfModule::attachFolder(m_db, u"/nicht/vorhanden/ACT"_s, &error));
    QVERIFY2(error.contains(u"„/nicht/vorhanden/ACT“ kann nicht gelesen werden"_s), qPrintable(error));

    schreibe(u"KUNDEN.DBF"_s, dbase3Kunden());
    schreibe(u"kunden.gdb"_s, singleField('C', 8, {"Gruppe A", "Gruppe B"}));
    schreibe(u"O'Neil \"Alt\".Dbf"_s, singleField('C', 5, {"Quote"}));
    schreibe(u"Notes.txt"_s, "keine Tabelle");
    schreibe(u"dbf"_s, "keine Endung");
    QVERIFY(QDir(m_dir->path()).mkdir(u"Archiv"_s));
    // A table of the application's own under a table file's name is left
    // alone; the others are attached all the same.
    QCOMPARE(zeilen(u"CREATE TEMP TABLE kunden(x)"_s), QStringList());
    QVERIFY(!DbfModule::attachFolder(m_db, m_dir->path(), &error));
    QVERIFY2(error.contains(u"„kunden“ gibt es schon"_s), qPrintable(error));
    QCOMPARE(zeilen(u"SELECT count(*) FROM kunden"_s), QStringList{u"i:0"_s});

    QCOMPARE(zeilen(u"SELECT name FROM temp.sqlite_master WHERE type = 'table' ORDER BY name"_s),
             (QStringList{u"t:KUNDEN.DBF"_s, u"t:O'Neil \"Alt\""_s, u"t:O'Neil \"Alt\".Dbf"_s, u"t:kunden"_s,
                          u"t:kunden.gdb"_s}));
    QCOMPARE(zeilen(u"SELECT NAME FROM \"KUNDEN.DBF\" UNION ALL SELECT WERT FROM \"kunden.gdb\""_s),
             (QStringList{u"t:Müller"_s, u"t:Schmidt"_s, u"t:Gruppe A"_s, u"t:Gruppe B"_s}));
    QCOMPARE(zeilen(u"SELECT WERT FROM \"O'Neil \"\"Alt\"\"\""_s), QStringList{u"t:Quote"_s});
}

void tst_DbfModule::schreibenVerboten()
{
    const QString path = schreibe(u"KUNDEN.DBF"_s, dbase3Kunden());
    QVERIFY(einbinden(u"kunden"_s, path));
    for (const QString &sql : {u"INSERT INTO kunden(NAME) VALUES ('Neu')"_s, u"UPDATE kunden SET NAME = 'X'"_s,
                               u"DELETE FROM kunden"_s})
        QVERIFY(scheitert(sql, u"may not be modified"_s));
    // Dropping the table forgets it and leaves the file alone.
    QCOMPARE(zeilen(u"DROP TABLE kunden"_s), QStringList());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), dbase3Kunden());
}

QTEST_GUILESS_MAIN(tst_DbfModule)
#include "tst_DbfModule.moc"
