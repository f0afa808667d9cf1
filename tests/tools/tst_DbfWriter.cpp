#include "tools/dbf/DbfWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The unsigned number in `size` bytes at `at`, little-endian unless asked otherwise.
quint32 number(const QByteArray &bytes, int at, int size, bool bigEndian = false)
{
    const QByteArray b = bytes.mid(at, size);
    quint32 value = 0;
    for (qsizetype i = 0; i < b.size(); ++i)
        value = value << 8 | quint8(b.at(bigEndian ? i : b.size() - 1 - i));
    return value;
}

} // namespace

// The writer's bytes against the published layout of dBASE and FoxPro files,
// where the program's reader cannot tell: that it reads them is shown by the
// round trips in tst_DbfTable.
class tst_DbfWriter : public QObject
{
    Q_OBJECT

private slots:
    void tabelle_data();
    void tabelle();
    void werte_data();
    void werte();
    void kopfGrenzen();

private:
    // A folder of its own for each test and data row.
    QString pfad(const QString &name) const
    {
        const QString dir = m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u'/'
                                           + QString::fromUtf8(QTest::currentDataTag()));
        QDir().mkpath(dir);
        return dir + u'/' + name;
    }

    QTemporaryDir m_dir;
};

void tst_DbfWriter::tabelle_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("asked"); // memo block size; 0: the usual one
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("memoFile"); // none: a logical field instead of the memo
    QTest::addColumn<int>("size"); // the memo block size used
    QTest::addColumn<QList<int>>("blocks"); // of the three memos, then the next free one
    QTest::addColumn<int>("headerAt");
    QTest::addColumn<QByteArray>("header"); // in the memo file's header from headerAt

    QTest::newRow("dBASE III") << 0x03 << 0 << u"T.DBF"_s << QString() << 0 << QList<int>{} << 0 << QByteArray();
    // dBASE III: 512-byte blocks whatever is asked.
    QTest::newRow("dBASE III Memo") << 0x83 << 256 << u"liste"_s << u"liste.dbt"_s << 512 << QList<int>{1, 2, 4, 5}
                                    << 16 << "\x03"_ba;
    // dBASE IV: the table's name and the block size.
    QTest::newRow("dBASE IV, 256") << 0x8B << 256 << u"kunden.dbf"_s << u"kunden.dbt"_s << 256
                                   << QList<int>{2, 3, 6, 7} << 8 << QByteArray("kunden\0\0\0\0\0\0\0\x01", 14);
    // FoxPro: the block size, big-endian.
    QTest::newRow("FoxPro 2.x, 32") << 0xF5 << 32 << u"g.gdb"_s << u"g.gdt"_s << 32 << QList<int>{16, 17, 36, 37} << 6
                                    << QByteArray("\0\x20", 2);
    QTest::newRow("Visual FoxPro, 64") << 0x30 << 0 << u"kunden.dbf"_s << u"kunden.fpt"_s << 64
                                       << QList<int>{8, 9, 19, 20} << 6 << QByteArray("\0\x40", 2);
    QTest::newRow("Visual FoxPro, 1024") << 0x30 << 1024 << u"K.DBF"_s << u"K.FPT"_s << 1024 << QList<int>{1, 2, 3, 4}
                                         << 6 << QByteArray("\x04\0", 2);
    QTest::newRow("Visual FoxPro ohne Memo") << 0x30 << 0 << u"T.DBF"_s << QString() << 0 << QList<int>{} << 0
                                             << QByteArray();
}

void tst_DbfWriter::tabelle()
{
    QFETCH(int, version);
    QFETCH(int, asked);
    QFETCH(QString, table);
    QFETCH(QString, memoFile);
    QFETCH(int, size);
    QFETCH(QList<int>, blocks);
    QFETCH(int, headerAt);
    QFETCH(QByteArray, header);

    const bool memo = !memoFile.isEmpty();
    DbfWriter writer{quint8(version), 0x57};
    writer.setLastUpdate(QDate(2024, 5, 6));
    writer.setMemoBlockSize(asked);
    QVERIFY(writer.addField(u"name"_s, 'C', 10));
    QVERIFY(writer.addField(u"BETRAG"_s, 'N', 8, 2));
    QVERIFY(writer.addField(u"NOTIZ"_s, memo ? 'M' : 'L'));
    QVERIFY2(writer.create(pfad(table)), qPrintable(writer.errorString()));
    const QString texts[4] = {u"Grüße"_s, QString(600, u'x'), QString(), u"drei"_s};
    for (int i = 0; i < 4; ++i) {
        const QVariant last = memo ? QVariant(texts[i]) : QVariant(i == 0);
        QVERIFY2(writer.appendRecord({u"n%1"_s.arg(i), i, last}, i == 1), qPrintable(writer.errorString()));
    }
    QVERIFY2(writer.finish(), qPrintable(writer.errorString()));

    // 32 bytes, three field descriptors of 32 and a terminator; Visual FoxPro adds 263 bytes of backlink.
    const int headerLength = 32 + 3 * 32 + 1 + (version == 0x30 ? 263 : 0);
    const int recordLength = 1 + 10 + 8 + (!memo ? 1 : version == 0x30 ? 4 : 10);
    const QByteArray b = readAll(pfad(table));
    QCOMPARE(b.size(), headerLength + 4 * recordLength + 1);
    QCOMPARE(b.left(4), QByteArray(1, char(version)) + "\x7C\x05\x06"); // 2024-05-06, years since 1900
    QCOMPARE(number(b, 4, 4), 4u);
    QCOMPARE(int(number(b, 8, 2)), headerLength);
    QCOMPARE(quint8(b[28]), quint8(version == 0x30 && memo ? 0x02 : 0x00));
    QCOMPARE(quint8(b[29]), quint8(0x57));
    QCOMPARE(b.mid(32, 12), QByteArray("NAME\0\0\0\0\0\0\0C", 12));
    // Only Visual FoxPro keeps each field's place in the record.
    for (const auto &[at, place] : {std::pair{32, 1}, {64, 11}, {96, 19}})
        QCOMPARE(number(b, at + 12, 4), quint32(version == 0x30 ? place : 0));
    QCOMPARE(b[128], '\x0D');
    QCOMPARE(b.mid(129, headerLength - 129), QByteArray(headerLength - 129, '\0'));
    QCOMPARE(b.mid(headerLength + recordLength, 3), QByteArray("*n1")); // deleted, and counted all the same
    QCOMPARE(b.back(), '\x1A');
    if (!memo)
        return;

    // Whole blocks; the header names the next free one. Each memo starts a
    // block, in dBASE IV and FoxPro behind eight bytes of type and length.
    const QByteArray m = readAll(pfad(memoFile));
    QCOMPARE(m.size(), blocks[3] * size);
    QCOMPARE(int(number(m, 0, 4, version == 0xF5 || version == 0x30)), blocks[3]);
    QCOMPARE(m.mid(headerAt, header.size()), header);
    const int prefix = version == 0x83 ? 0 : 8;
    const QByteArray encoded[3] = {"Gr\xFC\xDF" "e", QByteArray(600, 'x'), "drei"};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m.mid(blocks[i] * size + prefix, encoded[i].size()), encoded[i]);
}

void tst_DbfWriter::werte_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("name");
    QTest::addColumn<char>("typ");
    QTest::addColumn<int>("laenge");
    QTest::addColumn<int>("dezimalen");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QVariant>("erwartet"); // QByteArray: the field's bytes; QString: part of the refusal

    const auto row = [](const char *tag, char typ, int laenge, int dezimalen, const QVariant &wert,
                        const QVariant &erwartet, int version = 0x03, const QString &name = u"A"_s) {
        QTest::newRow(tag) << version << name << typ << laenge << dezimalen << wert << erwartet;
    };
    // Windows-1252, which lacks the arrow.
    row("C nicht darstellbar", 'C', 4, 0, u"ä→b"_s, QByteArray("\xE4?b "));
    row("C zu lang", 'C', 4, 0, u"abcdef"_s, "abcd"_ba);
    row("C roh", 'C', 4, 0, QByteArray("\x01\x02"), QByteArray("\x01\x02  "));
    // Halves round away from zero, as dBASE's ROUND() does.
    row("N gerundet", 'N', 6, 1, 2.25, "   2.3"_ba);
    row("N Überlauf", 'N', 4, 0, 123456, "****"_ba);
    row("N als Text", 'N', 5, 0, u" 17 "_s, "   17"_ba);
    row("Name zu lang", 'C', 5, 0, {}, u"1 bis 10 Zeichen"_s, 0x03, u"ELFZEICHENX"_s);
    // Upper case makes it eleven bytes.
    row("Name mit ß zu lang", 'C', 5, 0, {}, u"1 bis 10 Zeichen"_s, 0x03, u"straßenNr1"_s);
    row("Typ unbekannt", 'X', 5, 0, {}, u"Feldtyp X"_s);
    row("Text ohne Länge", 'C', 0, 0, {}, u"Textlänge 0"_s);
    row("Text zu lang", 'C', 255, 0, {}, u"Textlänge 255"_s);
    row("zu viele Nachkommastellen", 'N', 4, 3, {}, u"Zahlenformat 4,3"_s);
    row("Memo ohne Memodatei", 'M', 0, 0, {}, u"Memofelder"_s);
    row("Integer in dBASE", 'I', 0, 0, {}, u"nur in Visual FoxPro"_s, 0x83);
    row("Datum mit Länge 6", 'D', 6, 0, {}, u"immer die Länge 8"_s);
    row("Version unbekannt", 'C', 5, 0, {}, u"Tabellenversion 0x04"_s, 0x04);
    row("kein Datum", 'D', 8, 0, u"2024-13-01"_s, u"kein Datum"_s);
    row("keine Zahl", 'N', 8, 0, QDate(2024, 1, 1), u"keine Zahl"_s);
    row("Integer zu groß", 'I', 4, 0, qint64(1) << 33, u"keine 32-Bit-Zahl"_s, 0x30);
}

void tst_DbfWriter::werte()
{
    QFETCH(int, version);
    QFETCH(QString, name);
    QFETCH(char, typ);
    QFETCH(int, laenge);
    QFETCH(int, dezimalen);
    QFETCH(QVariant, wert);
    QFETCH(QVariant, erwartet);

    DbfWriter writer{quint8(version), 0x03};
    const QString path = pfad(u"t.dbf"_s);
    const bool ok = writer.addField(name, typ, laenge, dezimalen) && writer.create(path)
                    && writer.appendRecord({wert}) && writer.finish();
    if (erwartet.typeId() == QMetaType::QString) {
        QVERIFY(!ok);
        QVERIFY2(writer.errorString().contains(erwartet.toString()), qPrintable(writer.errorString()));
        return;
    }
    QVERIFY2(ok, qPrintable(writer.errorString()));
    const QByteArray b = readAll(path);
    QCOMPARE(b.size(), 65 + 1 + laenge + 1);
    QCOMPARE(b.mid(65, 1 + laenge), QByteArray(' ' + erwartet.toByteArray()));
}

void tst_DbfWriter::kopfGrenzen()
{
    // What the header's 16-bit length and one-byte year cannot hold is
    // refused, not written wrapped.
    DbfWriter viele{0x03, 0x03};
    for (int i = 0; i < 2100; ++i)
        QVERIFY(viele.addField(u"F"_s + QString::number(i), 'C', 1));
    QVERIFY(!viele.create(pfad(u"viele.dbf"_s)));
    QVERIFY2(viele.errorString().contains(u"Zu viele Felder"_s), qPrintable(viele.errorString()));

    DbfWriter alt{0x03, 0x03};
    alt.setLastUpdate(QDate(1850, 1, 1));
    QVERIFY(alt.addField(u"A"_s, 'C', 1));
    QVERIFY(!alt.create(pfad(u"alt.dbf"_s)));
    QVERIFY2(alt.errorString().contains(u"1900 und 2155"_s), qPrintable(alt.errorString()));
}

QTEST_GUILESS_MAIN(tst_DbfWriter)
#include "tst_DbfWriter.moc"
