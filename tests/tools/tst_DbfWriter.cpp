#include "tools/dbf/DbfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The writer's bytes against the published layout of dBASE and FoxPro files:
// header, records and the three memo formats. That the reader understands
// them is shown by the round trips through SQL.
class tst_DbfWriter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void kopf_data();
    void kopf();
    void satzbytes_data();
    void satzbytes();
    void geloeschterSatz();
    void memoDbase3();
    void memoDbase4();
    void memoFoxPro_data();
    void memoFoxPro();
    void memoPfad_data();
    void memoPfad();
    void fehler_data();
    void fehler();

private:
    QString pfad(const QString &name) const { return m_dir->filePath(name); }
    static QByteArray lies(const QString &path);
    static quint32 le32(const QByteArray &b, int at);
    static quint32 be32(const QByteArray &b, int at);
    static int le16(const QByteArray &b, int at);

    std::unique_ptr<QTemporaryDir> m_dir;
};

QByteArray tst_DbfWriter::lies(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 tst_DbfWriter::le32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
         | quint32(quint8(b[at + 3])) << 24;
}

quint32 tst_DbfWriter::be32(const QByteArray &b, int at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8
         | quint32(quint8(b[at + 3]));
}

int tst_DbfWriter::le16(const QByteArray &b, int at)
{
    return quint8(b[at]) | quint8(b[at + 1]) << 8;
}

void tst_DbfWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_DbfWriter::cleanup()
{
    m_dir.reset();
}

void tst_DbfWriter::kopf_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<bool>("memo");
    QTest::addColumn<int>("kopflaenge");

    // 32 + 3 descriptors of 32 + terminator, Visual FoxPro with 263 bytes of backlink.
    QTest::newRow("dBASE III") << 0x03 << false << 129;
    QTest::newRow("dBASE III mit Memo") << 0x83 << true << 129;
    QTest::newRow("dBASE IV") << 0x8B << true << 129;
    QTest::newRow("FoxPro 2.x") << 0xF5 << true << 129;
    QTest::newRow("Visual FoxPro") << 0x30 << true << 129 + 263;
    QTest::newRow("Visual FoxPro ohne Memo") << 0x30 << false << 129 + 263;
}

void tst_DbfWriter::kopf()
{
    QFETCH(int, version);
    QFETCH(bool, memo);
    QFETCH(int, kopflaenge);
    DbfWriter writer{quint8(version), 0x57};
    writer.setLastUpdate(QDate(2024, 5, 6));
    QVERIFY(writer.addField(u"name"_s, 'C', 10));
    QVERIFY(writer.addField(u"BETRAG"_s, 'N', 8, 2));
    QVERIFY(writer.addField(u"X"_s, memo ? 'M' : 'L'));
    const int memoLength = !memo ? 1 : version == 0x30 ? 4 : 10;
    const int satzlaenge = 1 + 10 + 8 + memoLength;
    const QString path = pfad(u"T.DBF"_s);
    QVERIFY2(writer.create(path), qPrintable(writer.errorString()));
    QVERIFY(writer.appendRecord({u"a"_s, 1}));
    QVERIFY(writer.appendRecord({u"b"_s, 2}));
    QVERIFY(writer.appendRecord({u"c"_s, 3}));
    QVERIFY2(writer.finish(), qPrintable(writer.errorString()));
    QCOMPARE(writer.recordCount(), 3u);

    const QByteArray b = lies(path);
    QCOMPARE(b.size(), kopflaenge + 3 * satzlaenge + 1);
    QCOMPARE(quint8(b[0]), quint8(version));
    QCOMPARE(quint8(b[1]), quint8(124)); // years since 1900
    QCOMPARE(quint8(b[2]), quint8(5));
    QCOMPARE(quint8(b[3]), quint8(6));
    QCOMPARE(le32(b, 4), 3u);
    QCOMPARE(le16(b, 8), kopflaenge);
    QCOMPARE(le16(b, 10), satzlaenge);
    QCOMPARE(quint8(b[28]), quint8(version == 0x30 && memo ? 0x02 : 0x00));
    QCOMPARE(quint8(b[29]), quint8(0x57));

    const QByteArray name = b.mid(32, 11);
    QCOMPARE(name, QByteArray("NAME\0\0\0\0\0\0\0", 11));
    QCOMPARE(b[32 + 11], 'C');
    QCOMPARE(quint8(b[32 + 16]), quint8(10));
    QCOMPARE(b[64 + 11], 'N');
    QCOMPARE(quint8(b[64 + 16]), quint8(8));
    QCOMPARE(quint8(b[64 + 17]), quint8(2));
    QCOMPARE(quint8(b[96 + 16]), quint8(memoLength));
    // Only Visual FoxPro records each field's place in the record.
    QCOMPARE(le32(b, 32 + 12), version == 0x30 ? 1u : 0u);
    QCOMPARE(le32(b, 64 + 12), version == 0x30 ? 11u : 0u);
    QCOMPARE(le32(b, 96 + 12), version == 0x30 ? 19u : 0u);
    QCOMPARE(b[128], '\x0D');
    if (version == 0x30)
        QCOMPARE(b.mid(129, 263), QByteArray(263, '\0'));
    QCOMPARE(b.mid(kopflaenge, 19), QByteArray(" a             1.00"));
    QCOMPARE(b.back(), '\x1A');
}

void tst_DbfWriter::satzbytes_data()
{
    QTest::addColumn<int>("treiber");
    QTest::addColumn<char>("typ");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<int>("dezimalen");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("C Umlaut CP1252") << 0x03 << 'C' << 10 << 0 << QVariant(u"Müller"_s)
                                     << QByteArray("M\xFCller    ");
    QTest::newRow("C Euro CP1252") << 0x03 << 'C' << 3 << 0 << QVariant(u"5€"_s) << QByteArray("5\x80 ");
    QTest::newRow("C CP850") << 0x02 << 'C' << 5 << 0 << QVariant(u"Größe"_s) << QByteArray::fromHex("477294E165");
    QTest::newRow("C CP1251") << 0xC9 << 'C' << 6 << 0 << QVariant(u"Москва"_s)
                              << QByteArray::fromHex("CCEEF1EAE2E0");
    QTest::newRow("C nicht darstellbar") << 0x03 << 'C' << 4 << 0 << QVariant(u"a→b"_s) << QByteArray("a?b ");
    QTest::newRow("C zu lang") << 0x03 << 'C' << 4 << 0 << QVariant(u"abcdef"_s) << QByteArray("abcd");
    QTest::newRow("C leer") << 0x03 << 'C' << 3 << 0 << QVariant() << QByteArray("   ");
    QTest::newRow("N mit Nachkomma") << 0x03 << 'N' << 8 << 2 << QVariant(1234.5) << QByteArray(" 1234.50");
    QTest::newRow("N negativ") << 0x03 << 'N' << 5 << 0 << QVariant(-42) << QByteArray("  -42");
    // Halves round away from zero, as dBASE's ROUND() does.
    QTest::newRow("N gerundet") << 0x03 << 'N' << 6 << 1 << QVariant(2.25) << QByteArray("   2.3");
    QTest::newRow("N Überlauf") << 0x03 << 'N' << 4 << 0 << QVariant(123456) << QByteArray("****");
    QTest::newRow("N als Text") << 0x03 << 'N' << 5 << 0 << QVariant(u" 17 "_s) << QByteArray("   17");
    QTest::newRow("N leer") << 0x03 << 'N' << 4 << 0 << QVariant() << QByteArray("    ");
    QTest::newRow("F") << 0x03 << 'F' << 10 << 3 << QVariant(0.125) << QByteArray("     0.125");
    QTest::newRow("D QDate") << 0x03 << 'D' << 8 << 0 << QVariant(QDate(2024, 2, 29)) << QByteArray("20240229");
    QTest::newRow("D ISO-Text") << 0x03 << 'D' << 8 << 0 << QVariant(u"1999-12-31"_s) << QByteArray("19991231");
    QTest::newRow("D leer") << 0x03 << 'D' << 8 << 0 << QVariant() << QByteArray("        ");
    QTest::newRow("L wahr") << 0x03 << 'L' << 1 << 0 << QVariant(true) << QByteArray("T");
    QTest::newRow("L falsch") << 0x03 << 'L' << 1 << 0 << QVariant(false) << QByteArray("F");
    QTest::newRow("L ?") << 0x03 << 'L' << 1 << 0 << QVariant(u"?"_s) << QByteArray("?");
    QTest::newRow("roh") << 0x03 << 'C' << 4 << 0 << QVariant(QByteArray("\x01\x02")) << QByteArray("\x01\x02  ");
}

void tst_DbfWriter::satzbytes()
{
    QFETCH(int, treiber);
    QFETCH(char, typ);
    QFETCH(int, laenge);
    QFETCH(int, dezimalen);
    QFETCH(QVariant, wert);
    QFETCH(QByteArray, bytes);
    DbfWriter writer{0x03, quint8(treiber)};
    QVERIFY2(writer.addField(u"WERT"_s, typ, laenge, dezimalen), qPrintable(writer.errorString()));
    const QString path = pfad(u"t.dbf"_s);
    QVERIFY(writer.create(path));
    QVERIFY2(writer.appendRecord({wert}), qPrintable(writer.errorString()));
    QVERIFY(writer.finish());
    const QByteArray b = lies(path);
    QCOMPARE(b.size(), 65 + 1 + laenge + 1);
    QCOMPARE(b[65], ' ');
    QCOMPARE(b.mid(66, laenge), bytes);
}

void tst_DbfWriter::geloeschterSatz()
{
    const QString path = pfad(u"t.dbf"_s);
    QString error;
    QVERIFY(DbfWriter::writeTable(path, 0x03, 0x03, {{u"A"_s, 'C', 2, 0}},
                                  {{{u"x"_s}}, {{u"y"_s}, true}, {{u"z"_s}}}, &error));
    const QByteArray b = lies(path);
    QCOMPARE(le32(b, 4), 3u);
    QCOMPARE(b.mid(65), QByteArray(" x *y  z \x1A"));
}

void tst_DbfWriter::memoDbase3()
{
    DbfWriter writer{0x83, 0x03};
    QVERIFY(writer.addField(u"NOTIZ"_s, 'M'));
    const QString path = pfad(u"N.DBF"_s);
    QVERIFY(writer.create(path));
    QVERIFY(writer.appendRecord({u"Straße"_s}));
    QVERIFY(writer.appendRecord({QString(600, u'x')}));
    QVERIFY(writer.appendRecord({QString()}));
    QVERIFY(writer.appendRecord({u"drei"_s}));
    QVERIFY(writer.finish());

    const QByteArray table = lies(path);
    QCOMPARE(table.mid(65, 44), QByteArray("          1          2                     4"));
    const QByteArray memo = lies(pfad(u"N.DBT"_s));
    QCOMPARE(memo.size(), 5 * 512);
    QCOMPARE(le32(memo, 0), 5u); // next free block
    QCOMPARE(quint8(memo[16]), quint8(0x03));
    QCOMPARE(memo.mid(512, 8), QByteArray("Stra\xDF" "e\x1A\x1A"));
    QCOMPARE(memo.mid(1024, 600), QByteArray(600, 'x'));
    QCOMPARE(memo.mid(1624, 2), QByteArray("\x1A\x1A"));
    QCOMPARE(memo.mid(2048, 6), QByteArray("drei\x1A\x1A"));
}

void tst_DbfWriter::memoDbase4()
{
    DbfWriter writer{0x8B, 0x03};
    writer.setMemoBlockSize(256);
    QVERIFY(writer.addField(u"NOTIZ"_s, 'M'));
    const QString path = pfad(u"kunden.dbf"_s);
    QVERIFY(writer.create(path));
    QVERIFY(writer.appendRecord({u"Köln"_s}));
    QVERIFY(writer.appendRecord({QString(300, u'y')}));
    QVERIFY(writer.finish());

    QCOMPARE(lies(path).mid(65, 22), QByteArray("          2          3"));
    const QByteArray memo = lies(pfad(u"kunden.dbt"_s));
    QCOMPARE(memo.size(), 512 + 256 + 512);
    QCOMPARE(le32(memo, 0), 5u);
    QCOMPARE(memo.mid(8, 8), QByteArray("kunden\0\0", 8));
    QCOMPARE(le16(memo, 20), 256);
    QCOMPARE(memo.mid(512, 4), QByteArray::fromHex("FFFF0800"));
    QCOMPARE(le32(memo, 516), 8u + 4u); // the length counts the eight bytes before the text
    QCOMPARE(memo.mid(520, 4), QByteArray("K\xF6ln"));
    QCOMPARE(le32(memo, 768 + 4), 308u);
}

void tst_DbfWriter::memoFoxPro_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("blockgroesse");
    QTest::addColumn<int>("ersterBlock");

    QTest::newRow("FoxPro 2.x, 64") << 0xF5 << 0 << 8;
    QTest::newRow("Visual FoxPro, 64") << 0x30 << 0 << 8;
    QTest::newRow("FoxPro 2.x, 32") << 0xF5 << 32 << 16;
    QTest::newRow("Visual FoxPro, 1024") << 0x30 << 1024 << 1;
}

void tst_DbfWriter::memoFoxPro()
{
    QFETCH(int, version);
    QFETCH(int, blockgroesse);
    QFETCH(int, ersterBlock);
    DbfWriter writer{quint8(version), 0x03};
    writer.setMemoBlockSize(blockgroesse);
    QVERIFY(writer.addField(u"NOTIZ"_s, 'M'));
    const QString path = pfad(u"KUNDEN.DBF"_s);
    QVERIFY(writer.create(path));
    QVERIFY(writer.appendRecord({u"Grüße"_s}));
    QVERIFY(writer.appendRecord({u"zwei"_s}));
    QVERIFY(writer.finish());

    const int size = blockgroesse == 0 ? 64 : blockgroesse;
    const QByteArray memo = lies(pfad(u"KUNDEN.FPT"_s));
    QCOMPARE(int(be32(memo, 0)), ersterBlock + 2); // both memos fit one block
    QCOMPARE(quint8(memo[6]) << 8 | quint8(memo[7]), size);
    const int at = ersterBlock * size;
    QCOMPARE(be32(memo, at), 1u); // text
    QCOMPARE(be32(memo, at + 4), 5u);
    QCOMPARE(memo.mid(at + 8, 5), QByteArray("Gr\xFC\xDF" "e"));
    QCOMPARE(memo.mid(at + size + 8, 4), QByteArray("zwei"));

    const QByteArray table = lies(path);
    const int headerLength = le16(table, 8);
    const int recordLength = le16(table, 10);
    if (version == 0x30) {
        QCOMPARE(int(le32(table, headerLength + 1)), ersterBlock);
        QCOMPARE(int(le32(table, headerLength + recordLength + 1)), ersterBlock + 1);
    } else {
        QCOMPARE(table.mid(headerLength + 1, 10).trimmed().toInt(), ersterBlock);
        QCOMPARE(table.mid(headerLength + recordLength + 1, 10).trimmed().toInt(), ersterBlock + 1);
    }
}

void tst_DbfWriter::memoPfad_data()
{
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("memo");

    QTest::newRow("dBASE") << u"/a/KUNDEN.DBF"_s << 0x83 << u"/a/KUNDEN.DBT"_s;
    QTest::newRow("dBASE IV klein") << u"/a/kunden.dbf"_s << 0x8B << u"/a/kunden.dbt"_s;
    QTest::newRow("FoxPro") << u"/a/kunden.dbf"_s << 0xF5 << u"/a/kunden.fpt"_s;
    QTest::newRow("Visual FoxPro groß") << u"/a/K.DBF"_s << 0x30 << u"/a/K.FPT"_s;
    QTest::newRow("Gruppentabelle") << u"/a/GRUPPEN.GDB"_s << 0x83 << u"/a/GRUPPEN.GDT"_s;
    QTest::newRow("Gruppentabelle FoxPro") << u"/a/g.gdb"_s << 0xF5 << u"/a/g.gdt"_s;
    QTest::newRow("ohne Endung") << u"/a/liste"_s << 0x83 << u"/a/liste.dbt"_s;
}

void tst_DbfWriter::memoPfad()
{
    QFETCH(QString, tabelle);
    QFETCH(int, version);
    QFETCH(QString, memo);
    QCOMPARE(DbfWriter::memoPathFor(tabelle, quint8(version)), memo);
}

void tst_DbfWriter::fehler_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("name");
    QTest::addColumn<char>("typ");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<int>("dezimalen");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QString>("grund");

    const QVariant none;
    QTest::newRow("Name zu lang") << 0x03 << u"ELFZEICHENX"_s << 'C' << 5 << 0 << none << u"1 bis 10 Zeichen"_s;
    QTest::newRow("Name leer") << 0x03 << QString() << 'C' << 5 << 0 << none << u"1 bis 10 Zeichen"_s;
    QTest::newRow("Typ unbekannt") << 0x03 << u"A"_s << 'X' << 5 << 0 << none << u"Feldtyp X"_s;
    QTest::newRow("Text ohne Länge") << 0x03 << u"A"_s << 'C' << 0 << 0 << none << u"Textlänge 0"_s;
    QTest::newRow("Text zu lang") << 0x03 << u"A"_s << 'C' << 255 << 0 << none << u"Textlänge 255"_s;
    QTest::newRow("zu viele Nachkommastellen") << 0x03 << u"A"_s << 'N' << 4 << 3 << none << u"Zahlenformat 4,3"_s;
    QTest::newRow("Memo ohne Memodatei") << 0x03 << u"A"_s << 'M' << 0 << 0 << none << u"Memofelder"_s;
    QTest::newRow("Integer in dBASE") << 0x83 << u"A"_s << 'I' << 0 << 0 << none << u"nur in Visual FoxPro"_s;
    QTest::newRow("Datum mit Länge 6") << 0x03 << u"A"_s << 'D' << 6 << 0 << none << u"immer die Länge 8"_s;
    QTest::newRow("Version unbekannt") << 0x04 << u"A"_s << 'C' << 5 << 0 << none << u"Tabellenversion 0x04"_s;
    QTest::newRow("kein Datum") << 0x03 << u"A"_s << 'D' << 8 << 0 << QVariant(u"2024-13-01"_s) << u"kein Datum"_s;
    QTest::newRow("keine Zahl") << 0x03 << u"A"_s << 'N' << 8 << 0 << QVariant(QDate(2024, 1, 1))
                                << u"keine Zahl"_s;
    QTest::newRow("Integer zu groß") << 0x30 << u"A"_s << 'I' << 4 << 0 << QVariant(qint64(1) << 33)
                                     << u"keine 32-Bit-Zahl"_s;
}

void tst_DbfWriter::fehler()
{
    QFETCH(int, version);
    QFETCH(QString, name);
    QFETCH(char, typ);
    QFETCH(int, laenge);
    QFETCH(int, dezimalen);
    QFETCH(QVariant, wert);
    QFETCH(QString, grund);
    DbfWriter writer{quint8(version), 0x03};
    const bool ok = writer.addField(name, typ, laenge, dezimalen) && writer.create(pfad(u"f.dbf"_s))
                    && writer.appendRecord({wert});
    QVERIFY(!ok);
    QVERIFY2(writer.errorString().contains(grund), qPrintable(writer.errorString()));
}

QTEST_GUILESS_MAIN(tst_DbfWriter)
#include "tst_DbfWriter.moc"
