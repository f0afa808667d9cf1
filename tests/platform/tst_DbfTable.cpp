#include "platform/xbase/DbfModule.h"
#include "platform/xbase/DbfTable.h"

#include "tests/platform/DbfFixtures.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace DbfFixtures;

// The reader on files put together byte by byte: exact values, the code
// pages, the three memo formats, and damaged files that must be refused with
// a clear reason rather than read past their end.
class tst_DbfTable : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dbase3Kopf();
    void dbase3Werte();
    void foxProMemo_data();
    void foxProMemo();
    void dbaseMemo_data();
    void dbaseMemo();
    void visualFoxPro();
    void codeSeiten_data();
    void codeSeiten();
    void feldwerte_data();
    void feldwerte();
    void doppelteFeldnamen();
    void defekt_data();
    void defekt();
    void endeMarkierung_data();
    void endeMarkierung();
    void jedeKuerzung();
    void zufaelligeSchaeden();
    void ueberPuffergrenzen();
    void verkuerztWaehrendDesLesens();

private:
    QString pfad(const QString &name) const { return m_dir->filePath(name); }
    QString schreibe(const QString &name, const QByteArray &bytes) const;
    // All records that are not deleted, each as its fields' values.
    static QList<QVariantList> alleSaetze(DbfTable &table);

    std::unique_ptr<QTemporaryDir> m_dir;
};

QString tst_DbfTable::schreibe(const QString &name, const QByteArray &bytes) const
{
    const QString path = pfad(name);
    if (!writeFile(path, bytes))
        qFatal("cannot write fixture");
    return path;
}

QList<QVariantList> tst_DbfTable::alleSaetze(DbfTable &table)
{
    QList<QVariantList> rows;
    table.rewind();
    while (table.next()) {
        QVariantList row;
        for (int i = 0; i < int(table.fields().size()); ++i)
            row << table.value(i).toVariant();
        rows << row;
    }
    return rows;
}

void tst_DbfTable::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_DbfTable::cleanup()
{
    m_dir.reset();
}

void tst_DbfTable::dbase3Kopf()
{
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"KUNDEN.DBF"_s, dbase3Kunden())), qPrintable(table.errorString()));
    QCOMPARE(table.version(), quint8(0x03));
    QCOMPARE(table.recordCount(), 3u);
    QCOMPARE(table.headerLength(), 225);
    QCOMPARE(table.recordLength(), 45);
    QCOMPARE(table.languageDriver(), quint8(0x03));
    QCOMPARE(QString::fromLatin1(table.codePageName()), u"CP1252"_s);
    QCOMPARE(table.lastUpdate(), QDate(2025, 3, 15));

    const struct { const char16_t *name; char type; int length; int decimals; int offset; } expected[] = {
        {u"NAME", 'C', 10, 0, 0},   {u"STRASSE", 'C', 12, 0, 10}, {u"PLZ", 'N', 5, 0, 22},
        {u"UMSATZ", 'N', 8, 2, 27}, {u"GEBURT", 'D', 8, 0, 35},   {u"AKTIV", 'L', 1, 0, 43},
    };
    QCOMPARE(table.fields().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DbfField &field = table.fields()[i];
        QCOMPARE(field.name, QString::fromUtf16(expected[i].name));
        QCOMPARE(field.type, expected[i].type);
        QCOMPARE(field.length, expected[i].length);
        QCOMPARE(field.decimals, expected[i].decimals);
        QCOMPARE(field.offset, expected[i].offset);
    }
    QCOMPARE(table.fieldIndex(u"umsatz"_s), 3);
    QCOMPARE(table.fieldIndex(u"ORT"_s), -1);
}

void tst_DbfTable::dbase3Werte()
{
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"KUNDEN.DBF"_s, dbase3Kunden())), qPrintable(table.errorString()));

    QVERIFY(table.next());
    QCOMPARE(table.recordNumber(), 0u);
    QCOMPARE(table.value(0).toVariant(), QVariant(u"Müller"_s));
    QCOMPARE(table.value(1).toVariant(), QVariant(u"Straße 5"_s));
    // The UTF-8 bytes themselves, not only what QString makes of them.
    QCOMPARE(QByteArray(table.value(1).bytes.data(), qsizetype(table.value(1).bytes.size())),
             QByteArray("Stra\xC3\x9F" "e 5"));
    QCOMPARE(table.value(2).kind, DbfValue::Kind::Real);
    QCOMPARE(table.value(2).real, 12345.0);
    QCOMPARE(table.value(3).real, 1234.5);
    QCOMPARE(table.value(4).toVariant(), QVariant(u"1965-03-14"_s));
    QCOMPARE(table.value(5).kind, DbfValue::Kind::Integer);
    QCOMPARE(table.value(5).integer, 1);

    // The deleted record is skipped.
    QVERIFY(table.next());
    QCOMPARE(table.recordNumber(), 2u);
    QCOMPARE(table.value(0).toVariant(), QVariant(u"Schmidt"_s));
    QVERIFY(table.value(1).isNull()); // all blanks: not filled in
    QVERIFY(table.value(2).isNull());
    QCOMPARE(table.value(3).real, -7.25);
    QVERIFY(table.value(4).isNull());
    QVERIFY(table.value(5).isNull()); // '?'

    QVERIFY(!table.next());
    QVERIFY(!table.hasError());
    QVERIFY(!table.next());

    // A second pass gives the same records.
    QCOMPARE(alleSaetze(table).size(), 2);
}

void tst_DbfTable::foxProMemo_data()
{
    QTest::addColumn<bool>("mitMemoDatei");
    QTest::addColumn<int>("satz");
    QTest::addColumn<QVariant>("erwartet");

    QTest::newRow("Text in Codeseite 850") << true << 0 << QVariant(u"Größe: 1,80 m\r\nZweite Zeile"_s);
    QTest::newRow("leerer Verweis") << true << 1 << QVariant(u""_s);
    QTest::newRow("Block hinter dem Dateiende") << true << 2 << QVariant(u""_s);
    QTest::newRow("Bildmemo mit führenden Nullen") << true << 3 << QVariant(QByteArray::fromHex("DEADBEEF"));
    QTest::newRow("Länge über das Dateiende") << true << 4 << QVariant(u""_s);
    QTest::newRow("Memodatei fehlt") << false << 0 << QVariant(u""_s);
    QTest::newRow("Memodatei fehlt, Bildmemo") << false << 3 << QVariant(u""_s);
}

void tst_DbfTable::foxProMemo()
{
    QFETCH(bool, mitMemoDatei);
    QFETCH(int, satz);
    QFETCH(QVariant, erwartet);
    if (mitMemoDatei)
        schreibe(u"notizen.FPT"_s, foxProNotizenMemo()); // letter case differs from the table's
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"notizen.dbf"_s, foxProNotizen())), qPrintable(table.errorString()));
    const QList<QVariantList> rows = alleSaetze(table);
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0][0], QVariant(u"Köhler"_s));
    QCOMPARE(rows[satz][1], erwartet);
    QCOMPARE(rows[satz][1].typeId(), erwartet.typeId());
    QVERIFY(!table.hasError());
}

void tst_DbfTable::dbaseMemo_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("memoDatei");
    QTest::addColumn<QByteArray>("memo");
    QTest::addColumn<QStringList>("erwartet");

    QTest::newRow("dBASE III") << u"NOTIZ.DBF"_s << dbase3Memo() << u"NOTIZ.DBT"_s << dbase3MemoFile()
                               << QStringList{u"Erste Notiz, Straße"_s, QString(600, u'x'), u""_s, u""_s};
    QTest::newRow("dBASE III, Memodatei klein geschrieben")
        << u"NOTIZ.DBF"_s << dbase3Memo() << u"notiz.dbt"_s << dbase3MemoFile()
        << QStringList{u"Erste Notiz, Straße"_s, QString(600, u'x'), u""_s, u""_s};
    QTest::newRow("dBASE IV") << u"notiz.dbf"_s << dbase4Memo() << u"notiz.dbt"_s << dbase4MemoFile()
                              << QStringList{u"Vierte Notiz"_s, u"Ohne Kopf"_s, u""_s};
    // A group table keeps its memos in .gdt, after the same rule as .dbf -> .dbt.
    QTest::newRow("Gruppentabelle") << u"GRUPPEN.GDB"_s << dbase3Memo() << u"GRUPPEN.GDT"_s << dbase3MemoFile()
                                    << QStringList{u"Erste Notiz, Straße"_s, QString(600, u'x'), u""_s, u""_s};
}

void tst_DbfTable::dbaseMemo()
{
    QFETCH(QString, tabelle);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, memoDatei);
    QFETCH(QByteArray, memo);
    QFETCH(QStringList, erwartet);
    schreibe(memoDatei, memo);
    DbfTable table;
    QVERIFY2(table.open(schreibe(tabelle, bytes)), qPrintable(table.errorString()));
    const QList<QVariantList> rows = alleSaetze(table);
    QStringList texts;
    for (const QVariantList &row : rows) {
        QCOMPARE(row[0].typeId(), QMetaType::QString);
        texts << row[0].toString();
    }
    QCOMPARE(texts, erwartet);
}

void tst_DbfTable::visualFoxPro()
{
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"posten.dbf"_s, visualFoxProPosten())), qPrintable(table.errorString()));
    QCOMPARE(table.version(), quint8(0x30));
    QCOMPARE(table.headerLength(), 456);
    QCOMPARE(table.fields().size(), std::size_t(5));
    QCOMPARE(table.fields()[2].offset, 12);

    const QList<QVariantList> rows = alleSaetze(table);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0][0], QVariant::fromValue(qint64(-2)));
    QCOMPARE(rows[0][1], QVariant(1234.5));
    QCOMPARE(rows[0][2], QVariant(u"Äpfel"_s));
    QCOMPARE(rows[0][3], QVariant(u"2024-02-29 13:45:30"_s));
    QCOMPARE(rows[0][4], QVariant(19.99));
    QCOMPARE(rows[1][0], QVariant::fromValue(qint64(2147483647)));
    QCOMPARE(rows[1][1], QVariant(-0.25));
    QVERIFY(rows[1][2].isNull());
    QVERIFY(rows[1][3].isNull());
    QCOMPARE(rows[1][4], QVariant(0.0));
}

void tst_DbfTable::codeSeiten_data()
{
    QTest::addColumn<int>("treiber");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("codeSeite");
    QTest::addColumn<QString>("erwartet");

    // Expected characters from the code pages' published tables.
    QTest::newRow("01 DOS USA") << 0x01 << QByteArray("\x81") << u"CP437"_s << u"ü"_s;
    QTest::newRow("02 DOS Multilingual") << 0x02 << QByteArray("\xE1") << u"CP850"_s << u"ß"_s;
    QTest::newRow("03 Windows ANSI") << 0x03 << QByteArray("\xE4\x80") << u"CP1252"_s << u"ä€"_s;
    QTest::newRow("57 ANSI") << 0x57 << QByteArray("\x80") << u"CP1252"_s << u"€"_s;
    QTest::newRow("58 Westeuropa") << 0x58 << QByteArray("\xDF") << u"CP1252"_s << u"ß"_s;
    QTest::newRow("59 Spanisch") << 0x59 << QByteArray("\xF1") << u"CP1252"_s << u"ñ"_s;
    QTest::newRow("64 Osteuropa DOS") << 0x64 << QByteArray("\xA5") << u"CP852"_s << u"ą"_s;
    QTest::newRow("65 Russisch DOS") << 0x65 << QByteArray("\x80") << u"CP866"_s << u"А"_s;
    QTest::newRow("66 Nordisch DOS") << 0x66 << QByteArray("\x9B") << u"CP865"_s << u"ø"_s;
    QTest::newRow("67 Isländisch DOS") << 0x67 << QByteArray("\x8C") << u"CP861"_s << u"ð"_s;
    QTest::newRow("7D Hebräisch") << 0x7D << QByteArray("\xE0") << u"CP1255"_s << u"א"_s;
    QTest::newRow("7E Arabisch") << 0x7E << QByteArray("\xC7") << u"CP1256"_s << u"ا"_s;
    QTest::newRow("C8 Osteuropa Windows") << 0xC8 << QByteArray("\x9A") << u"CP1250"_s << u"š"_s;
    QTest::newRow("C9 Russisch Windows") << 0xC9 << QByteArray("\xC0") << u"CP1251"_s << u"А"_s;
    QTest::newRow("CA Türkisch Windows") << 0xCA << QByteArray("\xF0") << u"CP1254"_s << u"ğ"_s;
    QTest::newRow("CB Griechisch Windows") << 0xCB << QByteArray("\xC1") << u"CP1253"_s << u"Α"_s;
    QTest::newRow("00 ohne Angabe") << 0x00 << QByteArray("\xE4") << u"CP1252"_s << u"ä"_s;
    QTest::newRow("unbekannter Treiber") << 0x26 << QByteArray("\xE4") << u"CP1252"_s << u"ä"_s;
    QTest::newRow("in CP1252 undefiniert") << 0x03 << QByteArray("a\x81z") << u"CP1252"_s << u"a\uFFFDz"_s;
}

void tst_DbfTable::codeSeiten()
{
    QFETCH(int, treiber);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, codeSeite);
    QFETCH(QString, erwartet);
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"t.dbf"_s, singleField('C', 4, {bytes}, quint8(treiber)))),
             qPrintable(table.errorString()));
    QCOMPARE(QString::fromLatin1(table.codePageName()), codeSeite);
    QVERIFY(table.next());
    QCOMPARE(table.value(0).toVariant(), QVariant(erwartet));
}

void tst_DbfTable::feldwerte_data()
{
    QTest::addColumn<char>("typ");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVariant>("erwartet");

    const QVariant null;
    const QVariant ja = QVariant::fromValue(qint64(1));
    const QVariant nein = QVariant::fromValue(qint64(0));

    QTest::newRow("C Leerzeichen am Ende weg") << 'C' << 8 << QByteArray("ab  ") << QVariant(u"ab"_s);
    QTest::newRow("C Leerzeichen vorn bleiben") << 'C' << 8 << QByteArray("  ab") << QVariant(u"  ab"_s);
    QTest::newRow("C nur Leerzeichen") << 'C' << 8 << QByteArray("        ") << null;
    QTest::newRow("C mit Nullbytes aufgefüllt") << 'C' << 4 << QByteArray("ab\0\0", 4) << QVariant(u"ab"_s);
    QTest::newRow("C Leerzeichen innen") << 'C' << 8 << QByteArray("a  b") << QVariant(u"a  b"_s);
    QTest::newRow("N ganz") << 'N' << 6 << QByteArray("   123") << QVariant(123.0);
    QTest::newRow("N negativ") << 'N' << 8 << QByteArray("  -12.50") << QVariant(-12.5);
    QTest::newRow("N Pluszeichen") << 'N' << 4 << QByteArray("  +7") << QVariant(7.0);
    QTest::newRow("N nur Nachkomma") << 'N' << 4 << QByteArray("  .5") << QVariant(0.5);
    QTest::newRow("N linksbündig") << 'N' << 6 << QByteArray("42    ") << QVariant(42.0);
    QTest::newRow("N leer") << 'N' << 6 << QByteArray("      ") << null;
    QTest::newRow("N Überlauf") << 'N' << 4 << QByteArray("****") << null;
    QTest::newRow("N Buchstaben") << 'N' << 4 << QByteArray("12a ") << null;
    QTest::newRow("N zwei Zahlen") << 'N' << 5 << QByteArray("1 2  ") << null;
    QTest::newRow("F Exponent") << 'F' << 10 << QByteArray("   1.5E+02") << QVariant(150.0);
    QTest::newRow("D gültig") << 'D' << 8 << QByteArray("19991231") << QVariant(u"1999-12-31"_s);
    QTest::newRow("D Schalttag") << 'D' << 8 << QByteArray("20240229") << QVariant(u"2024-02-29"_s);
    QTest::newRow("D Jahrhundert-Schalttag") << 'D' << 8 << QByteArray("20000229") << QVariant(u"2000-02-29"_s);
    QTest::newRow("D kein Schaltjahr") << 'D' << 8 << QByteArray("20230229") << null;
    QTest::newRow("D 1900 kein Schaltjahr") << 'D' << 8 << QByteArray("19000229") << null;
    QTest::newRow("D Monat 13") << 'D' << 8 << QByteArray("20241301") << null;
    QTest::newRow("D 31. April") << 'D' << 8 << QByteArray("20240431") << null;
    QTest::newRow("D Tag 0") << 'D' << 8 << QByteArray("20240100") << null;
    QTest::newRow("D Nullen") << 'D' << 8 << QByteArray("00000000") << null;
    QTest::newRow("D leer") << 'D' << 8 << QByteArray("        ") << null;
    QTest::newRow("D mit Strichen") << 'D' << 8 << QByteArray("2024-1-1") << null;
    QTest::newRow("D falsche Länge") << 'D' << 6 << QByteArray("202401") << null;
    QTest::newRow("L T") << 'L' << 1 << QByteArray("T") << ja;
    QTest::newRow("L t") << 'L' << 1 << QByteArray("t") << ja;
    QTest::newRow("L Y") << 'L' << 1 << QByteArray("Y") << ja;
    QTest::newRow("L y") << 'L' << 1 << QByteArray("y") << ja;
    QTest::newRow("L F") << 'L' << 1 << QByteArray("F") << nein;
    QTest::newRow("L f") << 'L' << 1 << QByteArray("f") << nein;
    QTest::newRow("L N") << 'L' << 1 << QByteArray("N") << nein;
    QTest::newRow("L n") << 'L' << 1 << QByteArray("n") << nein;
    QTest::newRow("L ?") << 'L' << 1 << QByteArray("?") << null;
    QTest::newRow("L leer") << 'L' << 1 << QByteArray(" ") << null;
    QTest::newRow("L sonstiges") << 'L' << 1 << QByteArray("X") << null;
    QTest::newRow("M ohne Memodatei") << 'M' << 10 << QByteArray("         1") << QVariant(u""_s);
    QTest::newRow("M Unsinn als Verweis") << 'M' << 10 << QByteArray("  zwölf   ") << QVariant(u""_s);
    QTest::newRow("I mit falscher Länge roh") << 'I' << 3 << QByteArray("abc") << QVariant(u"abc"_s);
    QTest::newRow("unbekannter Typ roh") << 'Q' << 4 << QByteArray("x\xE4  ") << QVariant(u"xä  "_s);
}

void tst_DbfTable::feldwerte()
{
    QFETCH(char, typ);
    QFETCH(int, laenge);
    QFETCH(QByteArray, bytes);
    QFETCH(QVariant, erwartet);
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"t.dbf"_s, singleField(typ, laenge, {bytes}))), qPrintable(table.errorString()));
    QVERIFY(table.next());
    const QVariant value = table.value(0).toVariant();
    QCOMPARE(value, erwartet);
    QCOMPARE(value.isNull(), erwartet.isNull());
    QCOMPARE(value.typeId(), erwartet.typeId());
}

void tst_DbfTable::doppelteFeldnamen()
{
    QByteArray bytes = fileHeader(0x03, 1, 129, 7, 0x03);
    bytes += descriptor("NAME", 'C', 2);
    bytes += descriptor("name", 'C', 2);
    bytes += descriptor("", 'C', 2);
    bytes += '\x0D';
    bytes += QByteArray(" aabbcc");
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"t.dbf"_s, bytes)), qPrintable(table.errorString()));
    QCOMPARE(table.fields()[0].name, u"NAME"_s);
    QCOMPARE(table.fields()[1].name, u"name_2"_s);
    QCOMPARE(table.fields()[2].name, u"FELD3"_s);
}

void tst_DbfTable::defekt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("grund");

    const QByteArray kunden = dbase3Kunden();
    QTest::newRow("leer") << QByteArray() << u"Datei ist leer"_s;
    QTest::newRow("10 Bytes") << kunden.left(10) << u"Tabellenkopf abgeschnitten"_s;
    QTest::newRow("31 Bytes") << kunden.left(31) << u"Tabellenkopf abgeschnitten"_s;
    QTest::newRow("Kopf länger als Datei") << kunden.left(200) << u"Tabellenkopf abgeschnitten"_s;
    QTest::newRow("unbekannte Version") << patched(kunden, 0, "\x02") << u"Unbekannte Tabellenversion 0x02"_s;
    QTest::newRow("dBASE 7 nicht unterstützt") << patched(kunden, 0, "\x04") << u"Unbekannte Tabellenversion 0x04"_s;
    // Header length 97 leaves room for two of the six descriptors.
    QTest::newRow("Felder über Kopflänge") << patched(kunden, 8, QByteArray("\x61\x00", 2))
                                           << u"Felddefinition läuft über den Tabellenkopf hinaus"_s;
    QTest::newRow("kein Abschlussbyte") << patched(kunden, 224, "\x20")
                                        << u"Felddefinition läuft über den Tabellenkopf hinaus"_s;
    QTest::newRow("Kopflänge unter 32")
        << patched(kunden, 8, QByteArray("\x10\x00", 2)) << u"Felddefinition läuft über den Tabellenkopf hinaus"_s;
    QTest::newRow("keine Felder") << fileHeader(0x03, 0, 33, 1, 0x03) + '\x0D' << u"Tabelle hat keine Felder"_s;
    QTest::newRow("Satzlänge zu groß") << patched(kunden, 10, QByteArray("\x2E\x00", 2))
                                       << u"Satzlänge passt nicht zu den Feldern"_s;
    QTest::newRow("Satzlänge zu klein") << patched(kunden, 10, QByteArray("\x2C\x00", 2))
                                        << u"Satzlänge passt nicht zu den Feldern"_s;
    QTest::newRow("ein Satz zu viel") << patched(kunden, 4, "\x04") << u"Satzanzahl größer als die Datei"_s;
    QTest::newRow("riesige Satzanzahl") << patched(kunden, 4, "\xFF\xFF\xFF\xFF")
                                        << u"Satzanzahl größer als die Datei"_s;
    QTest::newRow("letzter Satz halb") << kunden.left(225 + 2 * 45 + 20) << u"Satzanzahl größer als die Datei"_s;
    QTest::newRow("VFP Feldposition falsch") << patched(visualFoxProPosten(), 32 + 32 + 12, "\x06")
                                             << u"Position 6 im Tabellenkopf passt nicht"_s;
}

void tst_DbfTable::defekt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, grund);
    const QString path = schreibe(u"KAPUTT.DBF"_s, bytes);
    DbfTable table;
    QVERIFY(!table.open(path));
    QVERIFY2(table.errorString().contains(grund), qPrintable(table.errorString()));
    QVERIFY2(table.errorString().startsWith(QDir::toNativeSeparators(path)), qPrintable(table.errorString()));
    QVERIFY(!table.isOpen());
    QVERIFY(!table.next());
    QVERIFY(table.value(0).isNull());
}

void tst_DbfTable::endeMarkierung_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray kunden = dbase3Kunden();
    QTest::newRow("mit 0x1A") << kunden;
    QTest::newRow("ohne 0x1A") << kunden.chopped(1);
    QTest::newRow("Müll hinter den Sätzen") << kunden + QByteArray(100, '\x55');
}

void tst_DbfTable::endeMarkierung()
{
    QFETCH(QByteArray, bytes);
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"t.dbf"_s, bytes)), qPrintable(table.errorString()));
    const QList<QVariantList> rows = alleSaetze(table);
    QVERIFY(!table.hasError());
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1][0], QVariant(u"Schmidt"_s));
}

void tst_DbfTable::jedeKuerzung()
{
    // Cut the file after every byte: below the full size of header and
    // records it must be refused, never read past its end (run under valgrind).
    const QByteArray full = visualFoxProPosten();
    const int needed = 456 + 2 * 35;
    for (int size = 0; size <= full.size(); ++size) {
        DbfTable table;
        const bool opened = table.open(schreibe(u"t.dbf"_s, full.left(size)));
        QCOMPARE(opened, size >= needed);
        if (!opened) {
            QVERIFY(!table.errorString().isEmpty());
            continue;
        }
        QCOMPARE(alleSaetze(table).size(), 2);
    }
}

void tst_DbfTable::zufaelligeSchaeden()
{
    // Random bytes overwritten in header, records and memo file: whatever
    // comes of it is either a refusal with a reason or a bounded scan.
    QRandomGenerator random(20250315);
    const QByteArray table0 = foxProNotizen();
    const QByteArray memo0 = foxProNotizenMemo();
    for (int round = 0; round < 400; ++round) {
        QByteArray table = table0;
        QByteArray memo = memo0;
        const int hits = 1 + random.bounded(4);
        for (int i = 0; i < hits; ++i) {
            QByteArray &target = random.bounded(3) == 0 ? memo : table;
            target[random.bounded(int(target.size()))] = char(random.bounded(256));
        }
        schreibe(u"z.fpt"_s, memo);
        DbfTable reader;
        if (!reader.open(schreibe(u"z.dbf"_s, table))) {
            QVERIFY(!reader.errorString().isEmpty());
            continue;
        }
        int rows = 0;
        reader.rewind();
        while (reader.next()) {
            for (int f = 0; f < int(reader.fields().size()); ++f) {
                const DbfValue value = reader.value(f);
                QVERIFY(value.bytes.size() <= memo.size() + std::size_t(reader.recordLength()) * 3);
            }
            ++rows;
        }
        QVERIFY(quint32(rows) <= reader.recordCount());
    }
}

void tst_DbfTable::ueberPuffergrenzen()
{
    // 5000 records of 23 bytes are more than one 64 KiB read; every 7th is deleted.
    const int count = 5000;
    QByteArray bytes = fileHeader(0x03, count, 97, 23, 0x03);
    bytes += descriptor("NR", 'N', 6);
    bytes += descriptor("TEXT", 'C', 16);
    bytes += '\x0D';
    for (int i = 0; i < count; ++i) {
        bytes += i % 7 == 3 ? '*' : ' ';
        bytes += QByteArray::number(i).rightJustified(6, ' ');
        bytes += ("Satz " + QByteArray::number(i)).leftJustified(16, ' ');
    }
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"gross.dbf"_s, bytes)), qPrintable(table.errorString()));
    int expected = 0;
    int seen = 0;
    table.rewind();
    while (table.next()) {
        while (expected % 7 == 3)
            ++expected;
        QCOMPARE(table.recordNumber(), quint32(expected));
        QCOMPARE(table.value(0).real, double(expected));
        QCOMPARE(table.value(1).toVariant(), QVariant(u"Satz %1"_s.arg(expected)));
        ++expected;
        ++seen;
    }
    QVERIFY(!table.hasError());
    QCOMPARE(seen, count - (count + 3) / 7);
}

void tst_DbfTable::verkuerztWaehrendDesLesens()
{
    const int count = 10000;
    QByteArray bytes = fileHeader(0x03, count, 65, 21, 0x03);
    bytes += descriptor("TEXT", 'C', 20);
    bytes += '\x0D';
    for (int i = 0; i < count; ++i)
        bytes += (" Satz " + QByteArray::number(i)).leftJustified(21, ' ');
    const QString path = schreibe(u"schrumpft.dbf"_s, bytes);
    DbfTable table;
    QVERIFY2(table.open(path), qPrintable(table.errorString()));
    QVERIFY(table.next());
    QVERIFY(QFile::resize(path, 65 + 21 * 5000));
    int rows = 1;
    while (table.next())
        ++rows;
    QVERIFY(rows < count);
    QVERIFY(table.hasError());
    QVERIFY2(table.errorString().contains(u"während des Lesens verkürzt"_s), qPrintable(table.errorString()));
}

QTEST_GUILESS_MAIN(tst_DbfTable)
#include "tst_DbfTable.moc"
