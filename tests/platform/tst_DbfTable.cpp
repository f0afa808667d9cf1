#include "platform/xbase/DbfTable.h"

#include "tests/platform/DbfFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace DbfFixtures;

namespace {

// A value as its kind and text: "t:" text, "r:" real, "i:" integer, "b:" blob
// in hex, "-" NULL; text goes through UTF-8, so wrong bytes show.
QString zeige(const DbfValue &v)
{
    const QByteArray bytes(v.bytes.data(), qsizetype(v.bytes.size()));
    switch (v.kind) {
    case DbfValue::Kind::Null: return u"-"_s;
    case DbfValue::Kind::Integer: return u"i:"_s + QString::number(v.integer);
    case DbfValue::Kind::Real: return u"r:"_s + QString::number(v.real, 'g', 15);
    case DbfValue::Kind::Text: return u"t:"_s + QString::fromUtf8(bytes);
    case DbfValue::Kind::Blob: return u"b:"_s + QString::fromLatin1(bytes.toHex());
    }
    return {};
}

} // namespace

// The reader on files put together byte by byte: exact values, the code
// pages, the three memo formats, and damaged files that must be refused with
// a clear reason rather than read past their end.
class tst_DbfTable : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void saetze_data();
    void saetze();
    void feldwerte_data();
    void feldwerte();
    void defekt_data();
    void defekt();
    void jedeKuerzung();
    void ueberPuffergrenzen();

private:
    QString schreibe(const QString &name, const QByteArray &bytes) const
    {
        return writeFile(m_dir->filePath(name), bytes);
    }
    // The records that are not deleted, each as its values joined by '|'.
    static QStringList alleSaetze(DbfTable &table)
    {
        QStringList rows;
        table.rewind();
        while (table.next()) {
            QStringList row;
            for (int i = 0; i < int(table.fields().size()); ++i)
                row << zeige(table.value(i));
            rows << row.join(u'|');
        }
        return rows;
    }

    std::unique_ptr<QTemporaryDir> m_dir; // anew for every test: no memo file of another one lies beside
};

void tst_DbfTable::saetze_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("memoDatei"); // none when empty
    QTest::addColumn<QByteArray>("memo");
    QTest::addColumn<QStringList>("erwartet");

    // The deleted second record is skipped; blanks and '?' are NULL.
    QTest::newRow("dBASE III") << u"k.dbf"_s << dbase3Kunden() << QString() << QByteArray()
                               << QStringList{u"t:Müller|t:Straße 5|r:12345|r:1234.5|t:1965-03-14|i:1"_s,
                                              u"t:Schmidt|-|-|r:-7.25|-|-"_s};
    QTest::newRow("Visual FoxPro") << u"p.dbf"_s << visualFoxProPosten() << QString() << QByteArray()
                                   << QStringList{u"i:-2|r:1234.5|t:Äpfel|t:2024-02-29 13:45:30|r:19.99"_s,
                                                  u"i:2147483647|r:-0.25|-|-|r:0"_s};
    // Memo texts are never NULL: a missing or unreadable one is empty.
    const QStringList notizen{u"t:Erste Notiz, Straße"_s, u"t:"_s + QString(600, u'x'), u"t:"_s, u"t:"_s};
    QTest::newRow("dBASE III Memo") << u"NOTIZ.DBF"_s << dbase3Memo() << u"NOTIZ.DBT"_s << dbase3MemoFile() << notizen;
    // A group table keeps its memos in .gdt, as a .dbf in .dbt.
    QTest::newRow("Gruppentabelle") << u"GRUPPEN.GDB"_s << dbase3Memo() << u"GRUPPEN.GDT"_s << dbase3MemoFile()
                                    << notizen;
    QTest::newRow("dBASE IV Memo") << u"notiz.dbf"_s << dbase4Memo() << u"notiz.dbt"_s << dbase4MemoFile()
                                   << QStringList{u"t:Vierte Notiz"_s, u"t:Ohne Kopf"_s, u"t:"_s};
    // The memo file's name differs in case, as often in files copied from Windows.
    QTest::newRow("FoxPro Memo") << u"notizen.dbf"_s << foxProNotizen() << u"notizen.FPT"_s << foxProNotizenMemo()
                                 << QStringList{u"t:Köhler|t:Größe: 1,80 m\r\nZweite Zeile"_s, u"t:Leer|t:"_s,
                                                u"t:Kaputt|t:"_s, u"t:Bild|b:deadbeef"_s, u"t:Zulang|t:"_s};
    const QStringList ohneNotizen{u"t:Köhler|t:"_s, u"t:Leer|t:"_s, u"t:Kaputt|t:"_s, u"t:Bild|t:"_s,
                                  u"t:Zulang|t:"_s};
    QTest::newRow("FoxPro ohne Memodatei") << u"notizen.dbf"_s << foxProNotizen() << QString() << QByteArray()
                                           << ohneNotizen;
    // Block size 65535 puts every block behind the end of the file.
    QTest::newRow("FoxPro Blockgröße kaputt") << u"notizen.dbf"_s << foxProNotizen() << u"notizen.fpt"_s
                                              << patched(foxProNotizenMemo(), 6, "\xFF\xFF") << ohneNotizen;
}

void tst_DbfTable::saetze()
{
    QFETCH(QString, tabelle);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, memoDatei);
    QFETCH(QByteArray, memo);
    QFETCH(QStringList, erwartet);
    if (!memoDatei.isEmpty())
        schreibe(memoDatei, memo);
    DbfTable table;
    QVERIFY2(table.open(schreibe(tabelle, bytes)), qPrintable(table.errorString()));
    QCOMPARE(alleSaetze(table), erwartet);
    QCOMPARE(alleSaetze(table), erwartet); // after rewind()
    QVERIFY(!table.hasError());
}

void tst_DbfTable::feldwerte_data()
{
    QTest::addColumn<char>("typ");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("treiber");
    QTest::addColumn<QString>("erwartet");
    const auto zeile = [](const char *name, char typ, int laenge, const QByteArray &bytes, const char *erwartet,
                          int treiber = 0x03) {
        QTest::newRow(name) << typ << laenge << bytes << treiber << QString::fromUtf8(erwartet);
    };

    zeile("C Leerzeichen vorn und innen bleiben", 'C', 8, "  a  b", "t:  a  b");
    zeile("C nur Leerzeichen", 'C', 8, "        ", "-");
    zeile("C mit Nullbytes aufgefüllt", 'C', 4, QByteArray("ab\0\0", 4), "t:ab");
    zeile("N negativ", 'N', 8, "  -12.50", "r:-12.5");
    zeile("N Pluszeichen", 'N', 4, "  +7", "r:7");
    zeile("N linksbündig", 'N', 6, "42    ", "r:42");
    zeile("N leer", 'N', 6, "      ", "-");
    zeile("N Überlauf", 'N', 4, "****", "-");
    zeile("N Buchstaben", 'N', 4, "12a ", "-");
    zeile("F Exponent", 'F', 10, "   1.5E+02", "r:150");
    zeile("D Schalttag", 'D', 8, "20240229", "t:2024-02-29");
    zeile("D Jahrhundert-Schalttag", 'D', 8, "20000229", "t:2000-02-29");
    zeile("D 1900 kein Schaltjahr", 'D', 8, "19000229", "-");
    zeile("D Monat 13", 'D', 8, "20241301", "-");
    zeile("D 31. April", 'D', 8, "20240431", "-");
    zeile("D Tag 0", 'D', 8, "20240100", "-");
    zeile("D leer", 'D', 8, "        ", "-");
    zeile("D falsche Länge", 'D', 6, "202401", "-");
    zeile("L y", 'L', 1, "y", "i:1");
    zeile("L n", 'L', 1, "n", "i:0");
    zeile("L ?", 'L', 1, "?", "-");
    zeile("M Unsinn als Verweis", 'M', 10, "  zwölf   ", "t:");
    zeile("I mit falscher Länge roh", 'I', 3, "abc", "t:abc");
    zeile("unbekannter Typ roh", 'Q', 4, "x\xE4  ", "t:xä  ");
    // Code pages by language driver, the characters from their published tables.
    zeile("01 DOS USA", 'C', 4, "\x81", "t:ü", 0x01);
    zeile("02 DOS Multilingual", 'C', 4, "\xE1", "t:ß", 0x02);
    zeile("03 Windows ANSI", 'C', 4, "\xE4\x80", "t:ä€", 0x03);
    zeile("7D Hebräisch", 'C', 4, "\xE0", "t:א", 0x7D);
    zeile("C9 Russisch Windows", 'C', 4, "\xC0", "t:А", 0xC9);
    zeile("00 ohne Angabe", 'C', 4, "\xE4", "t:ä", 0x00);
    zeile("in CP1252 undefiniert", 'C', 4, "a\x81z", "t:a\uFFFDz", 0x03);
}

void tst_DbfTable::feldwerte()
{
    QFETCH(char, typ);
    QFETCH(int, laenge);
    QFETCH(QByteArray, bytes);
    QFETCH(int, treiber);
    QFETCH(QString, erwartet);
    DbfTable table;
    QVERIFY2(table.open(schreibe(u"t.dbf"_s, singleField(typ, laenge, {bytes}, quint8(treiber)))),
             qPrintable(table.errorString()));
    QVERIFY(table.next());
    QCOMPARE(zeige(table.value(0)), erwartet);
}

void tst_DbfTable::defekt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("grund");

    const QByteArray kunden = dbase3Kunden();
    const QString kopf = u"Felddefinition läuft über den Tabellenkopf hinaus"_s;
    QTest::newRow("dBASE 7") << patched(kunden, 0, "\x04") << u"Unbekannte Tabellenversion 0x04"_s;
    // Header length 97 leaves room for two of the six descriptors.
    QTest::newRow("Felder über Kopflänge") << patched(kunden, 8, QByteArray("\x61\x00", 2)) << kopf;
    QTest::newRow("Kopflänge unter 32") << patched(kunden, 8, QByteArray("\x10\x00", 2)) << kopf;
    QTest::newRow("keine Felder") << fileHeader(0x03, 0, 33, 1, 0x03) + '\x0D' << u"Tabelle hat keine Felder"_s;
    QTest::newRow("Satzlänge zu groß") << patched(kunden, 10, QByteArray("\x2E\x00", 2))
                                       << u"Satzlänge passt nicht zu den Feldern"_s;
    QTest::newRow("riesige Satzanzahl") << patched(kunden, 4, "\xFF\xFF\xFF\xFF")
                                        << u"Satzanzahl größer als die Datei"_s;
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
    QVERIFY2(table.errorString().startsWith(path + u": "_s) && table.errorString().contains(grund),
             qPrintable(table.errorString()));
    QVERIFY(!table.isOpen());
    QVERIFY(!table.next());
    QVERIFY(table.value(0).isNull());
}

void tst_DbfTable::jedeKuerzung()
{
    // Cut after every byte: short of header and records the file is refused,
    // never read past its end.
    const QByteArray full = visualFoxProPosten();
    for (int size = 0; size <= full.size(); ++size) {
        DbfTable table;
        const bool opened = table.open(schreibe(u"t.dbf"_s, full.left(size)));
        QCOMPARE(opened, size >= 456 + 2 * 35);
        if (opened)
            QCOMPARE(alleSaetze(table).size(), 2);
        else
            QVERIFY(!table.errorString().isEmpty());
    }
}

void tst_DbfTable::ueberPuffergrenzen()
{
    // 5000 records of 23 bytes are more than one 64 KiB read; every 7th is deleted.
    const int count = 5000;
    QByteArray bytes = fileHeader(0x03, count, 97, 23, 0x03) + descriptor("NR", 'N', 6) + descriptor("TEXT", 'C', 16);
    bytes += '\x0D';
    for (int i = 0; i < count; ++i)
        bytes += (i % 7 == 3 ? '*' : ' ') + QByteArray::number(i).rightJustified(6, ' ')
                 + ("Satz " + QByteArray::number(i)).leftJustified(16, ' ');
    const QString path = schreibe(u"gross.dbf"_s, bytes);
    DbfTable table;
    QVERIFY2(table.open(path), qPrintable(table.errorString()));
    QCOMPARE(table.fieldIndex(u"text"_s), 1);
    int expected = 0;
    for (; table.next(); ++expected) {
        expected += expected % 7 == 3;
        QCOMPARE(table.recordNumber(), quint32(expected));
        QCOMPARE(zeige(table.value(0)) + zeige(table.value(1)), u"r:%1t:Satz %1"_s.arg(expected));
    }
    QVERIFY(!table.hasError());
    QCOMPARE(expected, count); // the last one, 4999, is not deleted

    // Cut short behind the first read: the scan ends with an error, not quietly.
    table.rewind();
    QVERIFY(table.next());
    QVERIFY(QFile::resize(path, 97 + 23 * 4000));
    while (table.next())
        QVERIFY(table.recordNumber() < 4000);
    QVERIFY2(table.errorString().contains(u"während des Lesens verkürzt"_s), qPrintable(table.errorString()));
}

QTEST_GUILESS_MAIN(tst_DbfTable)
#include "tst_DbfTable.moc"
