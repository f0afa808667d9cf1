#include "tools/actgen/ActDefinitionFile.h"
#include "tools/actgen/ActGenerator.h"
#include "tools/actgen/ActGeneratorCommandLine.h"
#include "tools/actgen/ActPhoneNumbers.h"
#include "tools/actgen/ActRandom.h"

#include "actdb/Felddefinitionen.h"

#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/xbase/DbfTable.h"
#include "tools/dbf/DbfWriter.h"

#include "TestPaths.h"
#include "doubles/Dateien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Rows = QList<QVariantList>;

Rows query(const QString &folder, const QString &sql)
{
    auto db = DBEngine::instance().OpenDatabase(folder, false, false, u"FoxPro 2.6;"_s);
    auto rs = db->OpenRecordset(sql);
    Rows rows;
    for (; !rs->Eof(); rs->MoveNext()) {
        QVariantList row;
        for (int i = 0; i < rs->Fields().Count(); ++i)
            row.append(rs->Wert(i));
        rows.append(row);
    }
    return rows;
}

} // namespace

// The sample databases of the contact manager, read back through the
// program's table reader, SQL engine and definition-file reader, and compared
// byte for byte with the committed ones checked by hand; the table writer's
// refusals. That the reader reads what the writer writes in every version is
// shown by the round trips in tst_DbfTable.
class tst_ActGenerator : public QObject
{
    Q_OBJECT

private slots:
    void gleicheOptionenGleicheBytes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("committed"); // in tests/data/act, its contents checked by hand

        // The commands of tests/data/act/Beispieldaten.md.
        const QStringList common{u"--deleted"_s, u"0"_s, u"--plant"_s};
        QTest::newRow("klein") << QStringList{u"--seed"_s, u"7"_s, u"--contacts"_s, u"20"_s, u"--groups"_s, u"6"_s} + common
                               << true;
        QTest::newRow("windows") << QStringList{u"--seed"_s, u"11"_s, u"--contacts"_s, u"16"_s, u"--groups"_s, u"5"_s,
                                                u"--files"_s, u"KUNDEN.DBF,kunden.gdb,Kunden.DDF"_s} + common
                                 << true;
        // Wide rows, padded definitions and a base name in mixed case.
        QTest::newRow("breit") << QStringList{u"--seed"_s, u"3"_s, u"--contacts"_s, u"500"_s, u"--extra-columns"_s, u"12"_s,
                                              u"--ddf-size"_s, u"64K"_s, u"--name"_s, u"Kunden"_s}
                               << false;
    }
    void gleicheOptionenGleicheBytes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, committed);

        // Written twice from the command line; the committed databases were made the same way.
        QStringList paths[2];
        for (int run = 0; run < 2; ++run) {
            ActGeneratorCommandLine commandLine;
            const QStringList call = QStringList{u"rufmon-actgen"_s} + arguments << folder() + QString::number(run);
            QVERIFY2(commandLine.parse(call), qPrintable(commandLine.errorString()));
            ActGenerator generator(commandLine.options());
            if (commandLine.plantSamples())
                generator.addSampleContacts();
            QVERIFY2(generator.write(commandLine.folder()), qPrintable(generator.errorString()));
            paths[run] = {generator.summary().dbfPath, generator.summary().gdbPath, generator.summary().ddfPath};
        }
        for (int i = 0; i < 3; ++i) {
            const QByteArray bytes = dateiInhalt(paths[0][i]);
            QVERIFY2(!bytes.isEmpty() && bytes == dateiInhalt(paths[1][i]), qPrintable(paths[0][i]));
            const QString golden = QStringLiteral(RUFMON_TEST_DATA "/act/%1/%2")
                                       .arg(QLatin1StringView(QTest::currentDataTag()), QFileInfo(paths[0][i]).fileName());
            QVERIFY2(!committed || dateiInhalt(golden) == bytes, qPrintable(golden));
        }
    }

    void zeilenzahlUndIds_data()
    {
        QTest::addColumn<int>("contacts");
        QTest::addColumn<double>("deletedPercent");
        QTest::addColumn<bool>("samples");
        QTest::addColumn<int>("minDeleted");
        QTest::addColumn<int>("maxDeleted");

        // Thirteen planted: nine sample contacts, one of them deleted, and four neighbours.
        QTest::newRow("ein Kontakt") << 1 << 2.0 << false << 0 << 1;
        QTest::newRow("weniger als bekannte") << 3 << 0.0 << true << 1 << 1;
        QTest::newRow("zwei Prozent mit bekannten") << 2000 << 2.0 << true << 16 << 71;
        QTest::newRow("alle") << 100 << 100.0 << false << 100 << 100;
    }
    void zeilenzahlUndIds()
    {
        QFETCH(int, contacts);
        QFETCH(double, deletedPercent);
        QFETCH(bool, samples);
        QFETCH(int, minDeleted);
        QFETCH(int, maxDeleted);

        ActGenerator generator;
        generator.options().contacts = contacts;
        generator.options().deletedPercent = deletedPercent;
        generator.options().groups = ActGenerator::MaxGroups;
        if (samples)
            generator.addSampleContacts();
        QVERIFY2(generator.write(folder()), qPrintable(generator.errorString()));

        // Records, deleted ones included, as the header counts them and the
        // file holds them; the reader skips the deleted ones. No id is given
        // twice, groups included.
        const quint32 records = quint32(std::max(contacts, samples ? 13 : 0));
        QSet<QString> ids;
        int live[2] = {0, 0};
        const QString paths[2] = {generator.summary().dbfPath, generator.summary().gdbPath};
        for (int t = 0; t < 2; ++t) {
            DbfTable table;
            QVERIFY2(table.open(paths[t]), qPrintable(table.errorString()));
            QCOMPARE(table.recordCount(), t == 0 ? records : quint32(ActGenerator::MaxGroups));
            const qint64 size = table.headerLength() + qint64(table.recordCount()) * table.recordLength() + 1;
            QCOMPARE(QFileInfo(table.path()).size(), size);
            for (table.rewind(); table.next(); ++live[t])
                ids.insert(table.value(0).toVariant().toString());
            QVERIFY(!table.hasError());
        }
        QCOMPARE(ids.size(), qsizetype(live[0] + live[1]));
        QCOMPARE(live[1], ActGenerator::MaxGroups);
        const int deleted = int(records) - live[0];
        QVERIFY2(deleted >= minDeleted && deleted <= maxDeleted, qPrintable(QString::number(deleted)));
        QCOMPARE(generator.summary().records, qint64(records));
        QCOMPARE(generator.summary().deleted, qint64(deleted));
    }

    void bekannteKontakteGefunden()
    {
        // Among thousands of random numbers of every kind, only planted ones hold
        // 12345: typed in many ways, but not the deleted 0212 1234567.
        ActGenerator generator;
        generator.options().contacts = 3000;
        generator.addSampleContacts();
        generator.addNeighbours(u"0211"_s, u"98765"_s, ActGenerator::MaxNeighbours + 1);
        QVERIFY2(generator.write(folder()), qPrintable(generator.errorString()));
        QStringList found;
        for (const QVariantList &row : query(folder(), u"SELECT NAME FROM KUNDEN WHERE PHONE LIKE '*12345*' OR FAX LIKE "
                                                       u"'*12345*' OR HOME_PHONE LIKE '*12345*' OR MOBILE_PH LIKE "
                                                       u"'*12345*' OR ALT_PHONE LIKE '*12345*'"_s))
            found += row[0].toString();
        found.sort();
        QCOMPARE(found, (QStringList{u"Anna Blümel"_s, u"Dirk Walter"_s, u"Dörte Krüger"_s, u"Erika Mustermann"_s,
                                     u"Gabriele Höß"_s, u"Katrin Hofmann"_s, u"Matthias Möller"_s,
                                     u"Susanne van der Meer"_s}));
        // No more neighbours than the limit, and Günther Schäfer's 0221-98765.
        QCOMPARE(query(folder(), u"SELECT COUNT(*) FROM KUNDEN WHERE PHONE LIKE '*98765*'"_s).value(0).value(0).toInt(),
                 ActGenerator::MaxNeighbours + 1);

        // Umlauts in Windows-1252, not UTF-8; no invented text lacks a character there and became '?'.
        const QByteArray dbf = dateiInhalt(generator.summary().dbfPath);
        const QByteArray records = dbf.mid(quint8(dbf.at(8)) | quint8(dbf.at(9)) << 8);
        QVERIFY(!records.contains('?') && !records.contains('\xC3') && records.count('\xFC') > 300);
    }

    // The broken variants of the definition file are a command-line choice for
    // trying readers by hand; what the program's reader makes of such faults is
    // tested on bytes made by hand in tst_ACTDatenbank.
    void programmLiestDefinitionen_data()
    {
        QTest::addColumn<int>("extraColumns");
        QTest::addColumn<qint64>("ddfSize"); // when given, the file's exact size
        QTest::newRow("normal") << 0 << qint64(0);
        QTest::newRow("breit, 1 MiB") << 200 << qint64(1024 * 1024);
    }
    void programmLiestDefinitionen()
    {
        QFETCH(int, extraColumns);
        QFETCH(qint64, ddfSize);

        ActGenerator generator;
        generator.options().contacts = 5;
        generator.options().extraColumns = extraColumns;
        generator.options().ddfMinimumSize = ddfSize;
        QVERIFY2(generator.write(folder()), qPrintable(generator.errorString()));
        const QString ddf = generator.summary().ddfPath;
        if (ddfSize > 0)
            QCOMPARE(QFileInfo(ddf).size(), ddfSize);

        // The program's reader finds every column of the contact and the group table with
        // its label, and only the numbers are phone fields (type 7).
        const Felddefinitionen definitions = Felddefinitionen::lies(ddf);
        const QSet<QString> phones = {u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s};
        for (const bool gruppen : {false, true}) {
            const QList<ActGenerator::Column> columns =
                gruppen ? ActGenerator::groupColumns() : ActGenerator::contactColumns(extraColumns);
            QStringList names;
            for (const ActGenerator::Column &column : columns)
                names += column.name;
            const auto found = gruppen ? definitions.Gruppenfelder(names) : definitions.Kontaktfelder(names);
            QCOMPARE(found.size(), columns.size());
            for (const ActGenerator::Column &column : columns) {
                QCOMPARE(found[column.name].Bezeichnung, column.label);
                QVERIFY2((found[column.name].Feldart == 7) == phones.contains(column.name), qPrintable(column.name));
            }
        }
    }

    void reservierteNummernNichtZufaellig()
    {
        // Three-digit subscriber numbers: among thousands, 234 comes up unless reserved.
        ActSampleData::City city;
        city.areaCode = u"30"_s;
        city.subscriberMin = city.subscriberMax = 3;
        int hits[2] = {0, 0};
        for (int reserved = 0; reserved < 2; ++reserved) {
            ActRandom random(17);
            ActPhoneNumbers numbers(random);
            if (reserved)
                numbers.reserve(u"(030) 234"_s);
            for (int i = 0; i < 5000; ++i) {
                const ActPhoneNumbers::Number number = numbers.landline(city);
                QCOMPARE(number.subscriber.size(), 3);
                // The fax beside it keeps the leading digit and avoids the reserved number too.
                const ActPhoneNumbers::Number fax = numbers.sibling(number);
                QCOMPARE(fax.subscriber.left(1), number.subscriber.left(1));
                QVERIFY(fax.subscriber != number.subscriber);
                hits[reserved] += (number.subscriber == u"234"_s) + (fax.subscriber == u"234"_s);
            }
        }
        QVERIFY2(hits[0] > 0, "the unreserved run never made 234, so the check below proves nothing");
        QCOMPARE(hits[1], 0);
    }

    void befehlszeile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // Seed, contacts, .ddf size, .dbf name, variant; empty: refused; "!": refused when writing.
        QTest::addColumn<QString>("expected");

        const auto row = [](const char *name, const QStringList &arguments, const QString &expected = {}) {
            QTest::newRow(name) << arguments << expected;
        };
        row("nur Ordner", {u"out"_s}, u"1 1000 0 KUNDEN.dbf normal"_s);
        row("alles",
            {u"--seed"_s, u"42"_s, u"--contacts"_s, u"1000000"_s, u"--name"_s, u"Adressen"_s, u"--ddf-size"_s, u"1M"_s,
             u"--ddf-variant"_s, u"label-past-end"_s, u"out"_s},
            u"42 1000000 1048576 Adressen.dbf label-past-end"_s);
        row("null Kontakte", {u"--contacts"_s, u"0"_s, u"out"_s});
        row("zu viele Kontakte", {u"--contacts"_s, u"1000001"_s, u"out"_s});
        row("Größe falsch", {u"--ddf-size"_s, u"12x"_s, u"out"_s});
        row("Variante unbekannt", {u"--ddf-variant"_s, u"kaputt"_s, u"out"_s});
        row("zwei Dateinamen", {u"--files"_s, u"a.dbf,b.gdb"_s, u"out"_s});
        row("ohne Ordner", {u"--seed"_s, u"3"_s});
        row("unbekannte Option", {u"--bunt"_s, u"out"_s});
        row("Datei außerhalb", {u"--files"_s, u"../a.dbf,b.gdb,c.ddf"_s, u"out"_s}, u"!"_s);
        row("versteckte Datei", {u"--name"_s, u".KUNDEN"_s, u"out"_s}, u"!"_s);
        row("gleiche Dateinamen", {u"--files"_s, u"a.dbf,A.DBF,a.ddf"_s, u"out"_s}, u"!"_s);
    }
    void befehlszeile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);

        ActGeneratorCommandLine commandLine;
        const bool ok = commandLine.parse(QStringList{u"rufmon-actgen"_s} + arguments);
        QVERIFY2(ok == !expected.isEmpty(), qPrintable(commandLine.errorString()));
        QCOMPARE(commandLine.errorString().isEmpty(), ok);
        if (!ok)
            return;
        ActGenerator generator(commandLine.options());
        if (expected == u"!"_s) {
            // Refused before anything is written.
            QVERIFY(!generator.write(folder()) && !generator.errorString().isEmpty());
            QVERIFY(!QFile::exists(folder()));
            return;
        }
        const ActGenerator::Options &o = generator.options();
        QCOMPARE(commandLine.folder(), u"out"_s);
        QCOMPARE(u"%1 %2 %3 %4 %5"_s.arg(o.seed).arg(o.contacts).arg(o.ddfMinimumSize)
                     .arg(generator.dbfFileName(), ActDefinitionFile::variantName(o.ddfVariant)),
                 expected);
    }

    void werte_data()
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
    void werte()
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
        const QByteArray b = dateiInhalt(path);
        QCOMPARE(b.size(), 65 + 1 + laenge + 1);
        QCOMPARE(b.mid(65, 1 + laenge), QByteArray(' ' + erwartet.toByteArray()));
    }

    void kopfGrenzen()
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

private:
    // A folder of its own for each test and data row.
    QString folder() const
    {
        return m_dir.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u'-'
                              + QString::fromUtf8(QTest::currentDataTag()));
    }

    // The same, made, with a file name in it.
    QString pfad(const QString &name) const
    {
        QDir().mkpath(folder());
        return folder() + u'/' + name;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_ActGenerator)
#include "tst_ActGenerator.moc"
