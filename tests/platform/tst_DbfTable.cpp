#include "platform/xbase/DbfModule.h"
#include "platform/xbase/DbfTable.h"
#include "tools/dbf/DbfWriter.h"

#include "doubles/Dateien.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sqlite3.h>

#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Table and memo files put together byte by byte from the published layout,
// without the writer, so that writer and reader cannot share one misunderstanding.
// One 32-byte field descriptor: name (11, NUL-padded), type, displacement
// (4, only Visual FoxPro fills it), length, decimals, 14 reserved bytes.
QByteArray descriptor(const char *name, char type, int length, int decimals = 0, quint32 displacement = 0)
{
    QByteArray d(32, '\0');
    d.replace(0, qsizetype(std::strlen(name)), name);
    d[11] = type;
    qToLittleEndian(displacement, d.data() + 12);
    d[16] = char(length);
    d[17] = char(decimals);
    return d;
}

// The 32 bytes before the field descriptors; last update 2025-03-15.
QByteArray fileHeader(quint8 version, quint32 records, quint16 headerLength, quint16 recordLength,
                             quint8 languageDriver)
{
    QByteArray h(32, '\0');
    h[0] = char(version);
    h.replace(1, 3, "\x7D\x03\x0F");
    qToLittleEndian(records, h.data() + 4);
    qToLittleEndian(headerLength, h.data() + 8);
    qToLittleEndian(recordLength, h.data() + 10);
    h[29] = char(languageDriver);
    return h;
}

// A memo block padded with NULs to its size.
QByteArray block(const QByteArray &bytes, int size)
{
    return bytes.leftJustified(size, '\0');
}

// dBASE III, code page 1252, header 225, three records of 45 bytes, the second deleted.
QByteArray dbase3Kunden()
{
    QByteArray b = fileHeader(0x03, 3, 225, 45, 0x03);
    b += descriptor("NAME", 'C', 10) + descriptor("STRASSE", 'C', 12) + descriptor("PLZ", 'N', 5)
         + descriptor("UMSATZ", 'N', 8, 2) + descriptor("GEBURT", 'D', 8) + descriptor("AKTIV", 'L', 1) + '\x0D';
    //               flag NAME          STRASSE            PLZ      UMSATZ      GEBURT      AKTIV
    b += QByteArray(" " "M\xFCller    " "Stra\xDF" "e 5    " "12345" " 1234.50" "19650314" "T");
    b += QByteArray("*" "Gel\xF6scht  " "Weg 1       "     "99999" "    0.00" "20000101" "F");
    b += QByteArray(" " "Schmidt   " "            "        "     " "   -7.25" "        " "?");
    return b + '\x1A';
}

// FoxPro 2.x, code page 850, NAME C 8 and NOTIZ M 10. Memo pointers: block 8,
// blank, block 999 (beyond the .fpt), block 9 with leading zeros, block 10
// whose length runs past the end of the .fpt.
QByteArray foxProNotizen()
{
    QByteArray b = fileHeader(0xF5, 5, 97, 19, 0x02) + descriptor("NAME", 'C', 8) + descriptor("NOTIZ", 'M', 10);
    //               flag NAME    NOTIZ
    b += QByteArray("\x0D" " K\x94hler  " "         8" " Leer    " "          " " Kaputt  " "       999"
                    " Bild    " "0000000009" " Zulang  " "        10" "\x1A");
    return b;
}

// Its .fpt: big-endian next free block and block size 64 in a 512-byte header;
// block 8 text in code page 850, block 9 a picture of four bytes, block 10
// claims 4096 bytes that are not there.
QByteArray foxProNotizenMemo()
{
    QByteArray m(512, '\0');
    m[3] = 11;
    m[7] = char(0x40);
    const QByteArray text("Gr\x94\xE1" "e: 1,80 m\r\nZweite Zeile");
    return m + block(QByteArray::fromHex("00000001") + QByteArray(3, '\0') + char(text.size()) + text, 64)
           + block(QByteArray::fromHex("00000000 00000004 DEADBEEF"), 64)
           + block(QByteArray::fromHex("00000001 00001000") + "abc", 64);
}

// Visual FoxPro, code page 1252: ID I, BETRAG B (2 decimals), NAME C 6, ZEIT T,
// PREIS Y at displacements 1, 5, 13, 19, 27; header with the 263-byte
// database backlink 456, records of 35 bytes.
QByteArray visualFoxProPosten()
{
    QByteArray b = fileHeader(0x30, 2, 456, 35, 0x03);
    b += descriptor("ID", 'I', 4, 0, 1) + descriptor("BETRAG", 'B', 8, 2, 5) + descriptor("NAME", 'C', 6, 0, 13)
         + descriptor("ZEIT", 'T', 8, 0, 19) + descriptor("PREIS", 'Y', 8, 0, 27) + '\x0D' + QByteArray(263, '\0');
    // -2, 1234.5, "Äpfel", 2024-02-29 13:45:30 (Julian day 2460370, 49530000 ms), 19.99 (199900 / 10000)
    b += ' ' + QByteArray::fromHex("FEFFFFFF 00000000004A9340") + "\xC4pfel "
         + QByteArray::fromHex("D28A2500 90C4F302 DC0C030000000000");
    // 2147483647, -0.25, blank name, empty time, 0
    b += ' ' + QByteArray::fromHex("FFFFFF7F 000000000000D0BF") + "      " + QByteArray(16, '\0');
    return b + '\x1A';
}

// dBASE III with .dbt, NOTIZ M 10. Pointers: block 1, block 2 with leading
// zeros, 0, block 77 (beyond the file).
QByteArray dbase3Memo()
{
    return fileHeader(0x83, 4, 65, 11, 0x03) + descriptor("NOTIZ", 'M', 10)
           + QByteArray("\x0D          1 0000000002          0         77\x1A");
}

// Its .dbt: 512-byte blocks, text up to 0x1A 0x1A; the second memo runs on
// through blocks 2 and 3.
QByteArray dbase3MemoFile()
{
    QByteArray m(512, '\0');
    m[0] = 4;
    m[16] = 3;
    return m + block(QByteArray("Erste Notiz, Stra\xDF" "e\x1A\x1A"), 512)
           + block(QByteArray(600, 'x') + "\x1A\x1A", 1024);
}

// dBASE IV with .dbt, NOTIZ M 10. Pointers: block 2, block 3 (without the
// FF FF 08 00 mark, as dBASE III writes it), block 4 (length past the end).
QByteArray dbase4Memo()
{
    return fileHeader(0x8B, 3, 65, 11, 0x03) + descriptor("NOTIZ", 'M', 10)
           + QByteArray("\x0D          2          3          4\x1A");
}

// Its .dbt: block size 256 at offset 20; a block's length counts its 8 header bytes.
QByteArray dbase4MemoFile()
{
    QByteArray m(512, '\0');
    m[0] = 5;
    m[21] = 0x01;
    return m + block(QByteArray::fromHex("FFFF0800 14000000") + "Vierte Notiz\x1A\x1A", 256)
           + block("Ohne Kopf\x1A\x1A", 256) + block(QByteArray::fromHex("FFFF0800 FFFF0000") + "abc", 256);
}

// A table of one field WERT whose records hold the given bytes.
QByteArray singleField(char type, int length, const QList<QByteArray> &values, quint8 languageDriver = 0x03)
{
    QByteArray b = fileHeader(0x03, quint32(values.size()), 65, quint16(1 + length), languageDriver);
    b += descriptor("WERT", type, length) + '\x0D';
    for (const QByteArray &value : values)
        b += ' ' + value.leftJustified(length, ' ', true);
    return b + '\x1A';
}

// Replaces bytes at a position, for damaged variants of a fixture.
QByteArray patched(QByteArray bytes, int position, const QByteArray &with)
{
    return bytes.replace(position, with.size(), with);
}

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
// a clear reason rather than read past their end. Then the contact manager's
// tables as seen through SQL on a real SQLite connection: values, declared
// types, refused writes, damaged and changed files and whole folders.
class tst_DbfTable : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QCOMPARE(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        QVERIFY(DbfModule::registerModule(m_db));
    }

    void cleanup() { QCOMPARE(sqlite3_close(m_db), SQLITE_OK); }

    void saetze_data()
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
    void saetze()
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

    void feldwerte_data()
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
        zeile("M Unsinn als Verweis", 'M', 10, "  zwölf   ", "t:");
        zeile("I mit falscher Länge roh", 'I', 3, "abc", "t:abc");
        zeile("unbekannter Typ roh", 'Q', 4, "x\xE4  ", "t:xä  ");
        // Code pages by language driver, the characters from their published tables.
        zeile("02 DOS Multilingual", 'C', 4, "\xE1", "t:ß", 0x02);
        zeile("03 Windows ANSI", 'C', 4, "\xE4\x80", "t:ä€", 0x03);
        zeile("C9 Russisch Windows", 'C', 4, "\xC0", "t:А", 0xC9);
        zeile("00 ohne Angabe", 'C', 4, "\xE4", "t:ä", 0x00);
        zeile("in CP1252 undefiniert", 'C', 4, "a\x81z", "t:a\uFFFDz", 0x03);
    }
    void feldwerte()
    {
        QFETCH(char, typ);
        QFETCH(int, laenge);
        QFETCH(QByteArray, bytes);
        QFETCH(int, treiber);
        DbfTable table;
        QVERIFY2(table.open(schreibe(u"t.dbf"_s, singleField(typ, laenge, {bytes}, quint8(treiber)))),
                 qPrintable(table.errorString()));
        QVERIFY(table.next());
        QTEST(zeige(table.value(0)), "erwartet");
    }

    void defekt_data()
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
    void defekt()
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

    void jedeKuerzung()
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

    void ueberPuffergrenzen()
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

        // Looked up by rowid (position + 1): only those records are read, a
        // deleted one and positions outside the file give no row.
        QVERIFY(einbinden(u"gross"_s, path));
        const quint64 vorher = DbfModule::decodedValueCount();
        QCOMPARE(zeilen(u"SELECT NR FROM gross WHERE rowid IN (5001, 4, 1, 0, 5000, 2345)"_s),
                 (QStringList{u"r:0.0"_s, u"r:2344.0"_s, u"r:4999.0"_s}));
        QCOMPARE(zeilen(u"SELECT NR FROM gross WHERE rowid = '7'"_s), QStringList{u"r:6.0"_s});
        QCOMPARE(zeilen(u"SELECT NR FROM gross WHERE rowid = 7.5"_s), QStringList());
        QCOMPARE(DbfModule::decodedValueCount() - vorher, 4u);

        // Cut short behind the first read: the scan ends with an error, not quietly.
        table.rewind();
        QVERIFY(table.next());
        QVERIFY(QFile::resize(path, 97 + 23 * 4000));
        while (table.next())
            QVERIFY(table.recordNumber() < 4000);
        QVERIFY2(table.errorString().contains(u"während des Lesens verkürzt"_s), qPrintable(table.errorString()));
    }

    void deklarierteTypen_data()
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
    void deklarierteTypen()
    {
        // Callers learn a field's type and size from the declared column type.
        QFETCH(QByteArray, bytes);
        QFETCH(QString, spalten);
        QVERIFY(einbinden(u"t"_s, schreibe(u"t.dbf"_s, bytes)));
        QCOMPARE(zeilen(u"SELECT group_concat(name || ' ' || type, ', ') FROM pragma_table_info('t')"_s),
                 QStringList{u"t:"_s + spalten});
    }

    void rundreise_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("treiber");
        QTest::addColumn<QString>("text");

        QTest::newRow("dBASE III") << 0x83 << 0x03 << u"Straße, 5 €"_s;
        QTest::newRow("dBASE IV") << 0x8B << 0x57 << u"Äußeres Öl"_s;
        QTest::newRow("FoxPro 2.x") << 0xF5 << 0x02 << u"Größe 1½"_s;
        QTest::newRow("Visual FoxPro") << 0x30 << 0x03 << u"Übermaß"_s; // binary memo pointers
    }
    void rundreise()
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
        // The reader passes over the memo file's next free block; a program that adds a memo writes there.
        const bool fox = version == 0xF5 || version == 0x30;
        QFile memo(m_dir->filePath(fox ? u"RUND.FPT"_s : u"RUND.DBT"_s));
        QVERIFY(memo.open(QIODevice::ReadOnly));
        const QByteArray k = memo.read(32);
        const quint32 frei = fox ? qFromBigEndian<quint32>(k.constData()) : qFromLittleEndian<quint32>(k.constData());
        const int block = fox ? qFromBigEndian<quint16>(k.constData() + 6)
                              : version == 0x8B ? qFromLittleEndian<quint16>(k.constData() + 20) : 512;
        QCOMPARE(qint64(frei) * block, memo.size());
    }

    void defekteDateien()
    {
        // The tables are created all the same; the damage shows when they are used.
        const QString path = schreibe(u"kaputt.dbf"_s, patched(dbase3Kunden(), 4, "\x09"));
        QVERIFY(einbinden(u"kaputt"_s, path));
        QVERIFY(scheitert(u"SELECT * FROM kaputt"_s, u"kaputt.dbf: Satzanzahl größer als die Datei"_s));
        // Its columns were never known: repaired, it has to be attached again.
        QVERIFY(schreibeDatei(path, dbase3Kunden()));
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

    void feldfolgeGeaendert()
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

    void ordnerEinbinden()
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

    void schreibenVerboten()
    {
        const QString path = schreibe(u"KUNDEN.DBF"_s, dbase3Kunden());
        QVERIFY(einbinden(u"kunden"_s, path));
        QVERIFY(scheitert(u"DELETE FROM kunden"_s, u"may not be modified"_s));
        // Dropping the table forgets it and leaves the file alone.
        QCOMPARE(zeilen(u"DROP TABLE kunden"_s), QStringList());
        QCOMPARE(dateiInhalt(path), dbase3Kunden());
    }

private:
    // Writes the file and returns its path; a test cannot go on without it.
    QString schreibe(const QString &name, const QByteArray &bytes) const
    {
        if (!schreibeDatei(m_dir->filePath(name), bytes))
            qFatal("cannot write %s", qPrintable(name));
        return m_dir->filePath(name);
    }
    // A table written by the generator.
    QString schreibe(const QString &name, const QList<DbfWriter::Field> &felder, const QList<DbfWriter::Record> &saetze,
                     int version = 0x03, int treiber = 0x03) const
    {
        const QString path = m_dir->filePath(name);
        QString error;
        if (!DbfWriter::writeTable(path, quint8(version), quint8(treiber), felder, saetze, &error))
            qFatal("%s: %s", qPrintable(path), qPrintable(error));
        return path;
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
    // Each row as its values joined by '|': "i:", "r:" or "t:" (integer, real,
    // text) and SQLite's text of the value, NULL as "-". An error ends the list
    // as "Fehler: " and SQLite's message.
    QStringList zeilen(const QString &sql) const
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
    bool scheitert(const QString &sql, const QString &grund) const
    {
        const QStringList rows = zeilen(sql);
        if (!rows.isEmpty() && rows.last().startsWith(u"Fehler: "_s) && rows.last().contains(grund))
            return true;
        qWarning("%s: %s", qPrintable(sql), qPrintable(rows.join(u'\n')));
        return false;
    }
    bool einbinden(const QString &tableName, const QString &path) const
    {
        QString error;
        const bool ok = DbfModule::attachFile(m_db, tableName, path, &error);
        if (!ok)
            qWarning("%s", qPrintable(error));
        return ok;
    }

    std::unique_ptr<QTemporaryDir> m_dir; // anew for every test: no memo file of another one lies beside
    sqlite3 *m_db = nullptr;
};

QTEST_GUILESS_MAIN(tst_DbfTable)
#include "tst_DbfTable.moc"
