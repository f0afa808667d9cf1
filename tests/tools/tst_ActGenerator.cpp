#include "tools/actgen/ActDefinitionFile.h"
#include "tools/actgen/ActGenerator.h"
#include "tools/actgen/ActGeneratorCommandLine.h"
#include "tools/actgen/ActPhoneNumbers.h"
#include "tools/actgen/ActRandom.h"

#include "actdb/Felddefinitionen.h"

#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/xbase/DbfTable.h"

#include "TestPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A dBASE file read from its published layout, not through the program's
// reader, to count deleted records and look at raw bytes.
struct RawTable
{
    QByteArray bytes;
    quint32 count = 0;
    int headerLength = 0;
    int recordLength = 0;

    explicit RawTable(const QString &path)
        : bytes(readAll(path))
    {
        if (bytes.size() < 32)
            return;
        const auto u8 = [this](int at) { return quint32(quint8(bytes[at])); };
        count = u8(4) | u8(5) << 8 | u8(6) << 16 | u8(7) << 24;
        headerLength = int(u8(8) | u8(9) << 8);
        recordLength = int(u8(10) | u8(11) << 8);
    }
    QByteArray record(quint32 i) const { return bytes.mid(headerLength + qsizetype(i) * recordLength, recordLength); }
    int deleted() const
    {
        int n = 0;
        for (quint32 i = 0; i < count; ++i)
            n += record(i).startsWith('*') ? 1 : 0;
        return n;
    }
};

// The .ddf as its reader sees it: runs of non-zero bytes; a field is the
// run holding its name's length byte and name, ending in the type byte,
// followed by a zero, two unread bytes and the label with its length.
class DdfScan
{
public:
    struct Run
    {
        qsizetype start = 0;
        qsizetype size = 0;
    };
    struct Definition
    {
        int runs = 0; // how many runs name the field
        quint8 type = 0;
        int labelLength = -1;
        QByteArray label; // as far as the file has it
    };

    explicit DdfScan(QByteArray bytes)
        : m_bytes(std::move(bytes))
    {
        qsizetype i = 0;
        while (i < m_bytes.size()) {
            if (m_bytes[i] == '\0') {
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < m_bytes.size() && m_bytes[i] != '\0')
                ++i;
            m_runs.append({start, i - start});
        }
    }

    int runCount() const { return int(m_runs.size()); }
    // Index of the first run that holds the text, -1 when none.
    int marker(const QByteArray &text) const
    {
        for (int i = 0; i < m_runs.size(); ++i) {
            if (run(i).contains(text))
                return i;
        }
        return -1;
    }
    QByteArray run(int i) const { return m_bytes.mid(m_runs[i].start, m_runs[i].size); }

    Definition find(const QByteArray &name, int from, int to) const
    {
        Definition d;
        const QByteArray pattern = char(name.size()) + name;
        for (int i = std::max(from, 0); i < std::min<int>(to, int(m_runs.size())); ++i) {
            const QByteArray r = run(i);
            const qsizetype at = r.indexOf(pattern);
            if (r.size() <= 4 || at < 1)
                continue;
            if (++d.runs > 1)
                continue;
            d.type = quint8(r.back());
            const qsizetype lengthAt = m_runs[i].start + m_runs[i].size + 1 + 2;
            if (lengthAt < m_bytes.size()) {
                d.labelLength = quint8(m_bytes[lengthAt]);
                d.label = m_bytes.mid(lengthAt + 1, d.labelLength);
            }
        }
        return d;
    }

private:
    QByteArray m_bytes;
    QList<Run> m_runs;
};

using Rows = QList<QVariantList>;

} // namespace

// The sample databases of the contact manager: what the generator writes
// is read back through the real table reader and SQL engine, and the
// definition file through a scanner of its own.
class tst_ActGenerator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void gleicheOptionenGleicheBytes_data();
    void gleicheOptionenGleicheBytes();
    void andererStartwertAndereKontakte();
    void zeilenzahl_data();
    void zeilenzahl();
    void eindeutigeIds();
    void bekannteKontakteGefunden_data();
    void bekannteKontakteGefunden();
    void nachbarnTeilenVorwahlUndZiffern();
    void umlauteInWindows1252();
    void leereFelderSindNull();
    void kontaktfelderDefiniert_data();
    void kontaktfelderDefiniert();
    void gruppenfelderDefiniert_data();
    void gruppenfelderDefiniert();
    void jedeSpalteGenauEinmalDefiniert_data();
    void jedeSpalteGenauEinmalDefiniert();
    void kaputteDefinitionen_data();
    void kaputteDefinitionen();
    void programmLiestDefinitionen_data();
    void programmLiestDefinitionen();
    void windows1252_data();
    void windows1252();
    void reservierteNummernNichtZufaellig();
    void dateinamenWieAngegeben();
    void ungueltigeOptionen_data();
    void ungueltigeOptionen();
    void befehlszeile_data();
    void befehlszeile();
    void beispieldatenbanken_data();
    void beispieldatenbanken();
    void zehntausendKontakte();

private:
    QString folder(const QString &name) const { return m_dir->filePath(name); }
    // Plants the test's own contacts; keys name them in the data tables.
    QHash<QString, QString> plant(ActGenerator &generator) const;
    static Rows query(const QString &folder, const QString &sql, const QVariantList &parameters = {});
    static QString write(ActGenerator &generator, const QString &folder);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ActGenerator::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ActGenerator::cleanup()
{
    m_dir.reset();
}

QString tst_ActGenerator::write(ActGenerator &generator, const QString &folder)
{
    if (!generator.write(folder))
        return generator.errorString();
    return {};
}

Rows tst_ActGenerator::query(const QString &folder, const QString &sql, const QVariantList &parameters)
{
    auto db = DBEngine::instance().OpenDatabase(folder, false, false, u"FoxPro 2.6;"_s);
    auto rs = parameters.isEmpty() ? db->OpenRecordset(sql) : db->OpenRecordset(sql, parameters);
    Rows rows;
    while (!rs->Eof()) {
        QVariantList row;
        for (int i = 0; i < rs->Fields().Count(); ++i)
            row.append(rs->Wert(i));
        rows.append(row);
        rs->MoveNext();
    }
    return rows;
}

QHash<QString, QString> tst_ActGenerator::plant(ActGenerator &generator) const
{
    QHash<QString, QString> ids;
    ActGenerator::Contact c;
    c.company = u"Bröselmann & Töchter KG"_s;
    c.firstName = u"Hermine"_s;
    c.lastName = u"Bröselmann"_s;
    c.address1 = u"Äußere Weißenburger Straße 3"_s;
    c.phone = u"030 1234567"_s;
    ids[u"A"_s] = generator.addKnownContact(c);

    c = {};
    c.firstName = u"Konrad"_s;
    c.lastName = u"Ößwald"_s;
    c.phone = u"0221-98765"_s;
    c.fax = u"0221-98766"_s;
    ids[u"B"_s] = generator.addKnownContact(c);

    c = {};
    c.firstName = u"Veit"_s;
    c.lastName = u"Storch"_s;
    c.phone = u"+49 30 1234567"_s;
    c.deleted = true;
    ids[u"C"_s] = generator.addKnownContact(c);

    c = {};
    c.firstName = u"Nina"_s;
    c.lastName = u"Stille"_s;
    c.email = u"nina@stille.example"_s;
    ids[u"D"_s] = generator.addKnownContact(c);

    c = {};
    c.firstName = u"Paul"_s;
    c.lastName = u"Funk"_s;
    c.mobilePhone = u"0171/1234567"_s;
    ids[u"E"_s] = generator.addKnownContact(c);

    const QStringList neighbours = generator.addNeighbours(u"0211"_s, u"98765"_s, 3);
    for (int i = 0; i < neighbours.size(); ++i)
        ids[u"N%1"_s.arg(i + 1)] = neighbours[i];
    return ids;
}

void tst_ActGenerator::gleicheOptionenGleicheBytes_data()
{
    QTest::addColumn<quint64>("seed");
    QTest::addColumn<int>("contacts");
    QTest::addColumn<int>("extraColumns");
    QTest::addColumn<qint64>("ddfSize");
    QTest::addColumn<bool>("samples");

    QTest::newRow("klein") << quint64(1) << 50 << 0 << qint64(0) << false;
    QTest::newRow("mit bekannten") << quint64(9) << 40 << 0 << qint64(0) << true;
    QTest::newRow("breit") << quint64(3) << 30 << 12 << qint64(0) << false;
    QTest::newRow("aufgefüllte ddf") << quint64(5) << 20 << 0 << qint64(64 * 1024) << false;
}

void tst_ActGenerator::gleicheOptionenGleicheBytes()
{
    QFETCH(quint64, seed);
    QFETCH(int, contacts);
    QFETCH(int, extraColumns);
    QFETCH(qint64, ddfSize);
    QFETCH(bool, samples);

    ActGenerator::Options options;
    options.seed = seed;
    options.contacts = contacts;
    options.extraColumns = extraColumns;
    options.ddfMinimumSize = ddfSize;
    for (const QString &name : {u"eins"_s, u"zwei"_s}) {
        ActGenerator generator(options);
        if (samples)
            generator.addSampleContacts();
        QCOMPARE(write(generator, folder(name)), QString());
    }
    for (const QString &file : {u"KUNDEN.dbf"_s, u"KUNDEN.gdb"_s, u"KUNDEN.ddf"_s}) {
        const QByteArray first = readAll(folder(u"eins/"_s + file));
        QVERIFY2(!first.isEmpty(), qPrintable(file));
        QVERIFY2(first == readAll(folder(u"zwei/"_s + file)), qPrintable(file));
    }
    // The header date is the fixed one of the options, not today's.
    const QByteArray dbf = readAll(folder(u"eins/KUNDEN.dbf"_s));
    QCOMPARE(QDate(1900 + quint8(dbf[1]), dbf[2], dbf[3]), options.tableDate);
}

void tst_ActGenerator::andererStartwertAndereKontakte()
{
    for (quint64 seed : {quint64(1), quint64(2)}) {
        ActGenerator::Options options;
        options.seed = seed;
        options.contacts = 200;
        ActGenerator generator(options);
        QCOMPARE(write(generator, folder(QString::number(seed))), QString());
    }
    QVERIFY(readAll(folder(u"1/KUNDEN.dbf"_s)) != readAll(folder(u"2/KUNDEN.dbf"_s)));
    QVERIFY(readAll(folder(u"1/KUNDEN.gdb"_s)) != readAll(folder(u"2/KUNDEN.gdb"_s)));
    // The definitions describe the columns, which do not depend on the seed.
    QCOMPARE(readAll(folder(u"1/KUNDEN.ddf"_s)), readAll(folder(u"2/KUNDEN.ddf"_s)));
    // Same size, different people: compare the names record by record.
    const Rows one = query(folder(u"1"_s), u"SELECT NAME FROM KUNDEN"_s);
    const Rows two = query(folder(u"2"_s), u"SELECT NAME FROM KUNDEN"_s);
    int same = 0;
    for (qsizetype i = 0; i < std::min(one.size(), two.size()); ++i)
        same += one[i] == two[i] ? 1 : 0;
    QVERIFY2(same < 20, qPrintable(QString::number(same)));
}

void tst_ActGenerator::zeilenzahl_data()
{
    QTest::addColumn<int>("contacts");
    QTest::addColumn<double>("deletedPercent");
    QTest::addColumn<bool>("samples");
    QTest::addColumn<int>("minDeleted");
    QTest::addColumn<int>("maxDeleted");

    // Nine sample contacts, one of them deleted, and four neighbours.
    QTest::newRow("ein Kontakt") << 1 << 2.0 << false << 0 << 1;
    QTest::newRow("weniger als bekannte") << 3 << 0.0 << true << 1 << 1;
    QTest::newRow("ohne gelöschte") << 300 << 0.0 << false << 0 << 0;
    QTest::newRow("zwei Prozent") << 2000 << 2.0 << false << 15 << 70;
    QTest::newRow("zwei Prozent mit bekannten") << 2000 << 2.0 << true << 16 << 71;
    QTest::newRow("die Hälfte") << 1000 << 50.0 << false << 400 << 600;
    QTest::newRow("alle") << 100 << 100.0 << false << 100 << 100;
}

void tst_ActGenerator::zeilenzahl()
{
    QFETCH(int, contacts);
    QFETCH(double, deletedPercent);
    QFETCH(bool, samples);
    QFETCH(int, minDeleted);
    QFETCH(int, maxDeleted);

    ActGenerator::Options options;
    options.contacts = contacts;
    options.deletedPercent = deletedPercent;
    ActGenerator generator(options);
    if (samples)
        generator.addSampleContacts();
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    const RawTable raw(dir + u"/KUNDEN.dbf"_s);
    QCOMPARE(qint64(raw.count), std::max<qint64>(contacts, samples ? 13 : 0));
    QCOMPARE(raw.bytes.size(), raw.headerLength + qsizetype(raw.count) * raw.recordLength + 1);
    const int deleted = raw.deleted();
    QVERIFY2(deleted >= minDeleted && deleted <= maxDeleted, qPrintable(QString::number(deleted)));
    QCOMPARE(generator.summary().deleted, qint64(deleted));
    QCOMPARE(generator.summary().records, qint64(raw.count));

    const Rows count = query(dir, u"SELECT COUNT(*) FROM KUNDEN"_s);
    QCOMPARE(count.value(0).value(0).toInt(), int(raw.count) - deleted);
}

void tst_ActGenerator::eindeutigeIds()
{
    QStringList knownIds[2];
    for (int run = 0; run < 2; ++run) {
        ActGenerator::Options options;
        options.seed = 4 + run;
        options.contacts = 3000;
        options.groups = 20;
        ActGenerator generator(options);
        generator.addSampleContacts();
        const QString dir = folder(QString::number(run));
        QCOMPARE(write(generator, dir), QString());

        // Deleted records included: an id is never given twice.
        const RawTable raw(dir + u"/KUNDEN.dbf"_s);
        const QRegularExpression shape(u"^[0-9A-Z]{12}$"_s);
        QSet<QByteArray> ids;
        for (quint32 i = 0; i < raw.count; ++i) {
            const QByteArray id = raw.record(i).mid(1, 12);
            QVERIFY2(shape.match(QString::fromLatin1(id)).hasMatch(), id.constData());
            ids.insert(id);
            if (i < 13)
                knownIds[run].append(QString::fromLatin1(id));
        }
        QCOMPARE(ids.size(), qsizetype(raw.count));

        const Rows rows = query(dir, u"SELECT UNIQUE_ID FROM KUNDEN"_s);
        for (const QVariantList &row : rows)
            QVERIFY(ids.contains(row[0].toString().toLatin1()));
        const Rows groups = query(dir, u"SELECT UNIQUE_ID FROM [KUNDEN.gdb]"_s);
        QCOMPARE(groups.size(), 20);
        QSet<QString> groupIds;
        for (const QVariantList &row : groups) {
            QVERIFY(shape.match(row[0].toString()).hasMatch());
            QVERIFY(!ids.contains(row[0].toString().toLatin1()));
            groupIds.insert(row[0].toString());
        }
        QCOMPARE(groupIds.size(), 20);
    }
    // The planted contacts keep their ids whatever the seed.
    QCOMPARE(knownIds[0], knownIds[1]);
    for (int i = 0; i < 13; ++i)
        QCOMPARE(knownIds[0][i], ActGenerator::knownContactId(i));
}

void tst_ActGenerator::bekannteKontakteGefunden_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Telefon, gelöschter nicht") << u"PHONE"_s << u"*1234567*"_s << QStringList{u"A"_s};
    QTest::newRow("nur mobil") << u"MOBILE_PH"_s << u"*1234567*"_s << QStringList{u"E"_s};
    QTest::newRow("Fax") << u"FAX"_s << u"*98766*"_s << QStringList{u"B"_s};
    QTest::newRow("Nachbarn") << u"PHONE"_s << u"*98765*"_s
                              << QStringList{u"B"_s, u"N1"_s, u"N2"_s, u"N3"_s};
    QTest::newRow("privat niemand") << u"HOME_PHONE"_s << u"*1234567*"_s << QStringList{};
}

void tst_ActGenerator::bekannteKontakteGefunden()
{
    QFETCH(QString, column);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);

    ActGenerator::Options options;
    options.contacts = 3000;
    ActGenerator generator(options);
    const QHash<QString, QString> ids = plant(generator);
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    QSet<QString> wanted;
    for (const QString &key : expected)
        wanted.insert(ids.value(key));
    QSet<QString> found;
    const Rows rows = query(dir, u"SELECT UNIQUE_ID FROM KUNDEN WHERE %1 LIKE '%2'"_s.arg(column, pattern));
    for (const QVariantList &row : rows)
        found.insert(row[0].toString());
    QCOMPARE(found, wanted);
}

void tst_ActGenerator::nachbarnTeilenVorwahlUndZiffern()
{
    const QList<ActGenerator::Contact> neighbours = ActGenerator::neighbours(u"0211"_s, u"98765"_s, 10);
    QCOMPARE(neighbours.size(), 10);
    QSet<QString> numbers;
    for (const ActGenerator::Contact &c : neighbours) {
        QString digits;
        for (QChar ch : c.phone) {
            if (ch.isDigit())
                digits += ch;
        }
        // "+49 211 ..." and "(0211) ..." alike: the national number.
        if (digits.startsWith(u"49"_s))
            digits = u'0' + digits.mid(2);
        QVERIFY2(digits.size() == 11 && digits.startsWith(u"021198765"_s), qPrintable(c.phone));
        numbers.insert(digits);
        QCOMPARE(c.city, u"Düsseldorf"_s);
        QVERIFY(!c.lastName.isEmpty());
    }
    QCOMPARE(numbers.size(), 10);
    // The same neighbours every time; no more than there are last digits for.
    QCOMPARE(ActGenerator::neighbours(u"0211"_s, u"98765"_s, 10).first().lastName, neighbours.first().lastName);
    QCOMPARE(ActGenerator::neighbours(u"030"_s, u"12345"_s, 500).size(), qsizetype(ActGenerator::MaxNeighbours));
}

void tst_ActGenerator::umlauteInWindows1252()
{
    ActGenerator::Options options;
    options.contacts = 500;
    ActGenerator generator(options);
    const QHash<QString, QString> ids = plant(generator);
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    const QByteArray bytes = readAll(dir + u"/KUNDEN.dbf"_s);
    QVERIFY(bytes.contains("Br\xF6selmann & T\xF6" "chter KG"));
    QVERIFY(bytes.contains("\xC4u\xDF" "ere Wei\xDF" "enburger Stra\xDF" "e 3"));
    QVERIFY(bytes.contains("\xD6\xDFwald"));
    QVERIFY(!bytes.contains("\xC3")); // no UTF-8 lead bytes of umlauts

    const Rows a = query(dir, u"SELECT NAME, COMPANY, ADDRESS1 FROM KUNDEN WHERE UNIQUE_ID = ?"_s, {ids[u"A"_s]});
    QCOMPARE(a.size(), 1);
    QCOMPARE(a[0][0].toString(), u"Hermine Bröselmann"_s);
    QCOMPARE(a[0][1].toString(), u"Bröselmann & Töchter KG"_s);
    QCOMPARE(a[0][2].toString(), u"Äußere Weißenburger Straße 3"_s);

    // Random contacts have umlauts too, and nothing got lost on the way.
    int withUmlaut = 0;
    const QRegularExpression umlaut(u"[äöüÄÖÜß]"_s);
    const Rows all = query(dir, u"SELECT NAME, ADDRESS1, CITY, COMPANY, NOTE FROM KUNDEN"_s);
    for (const QVariantList &row : all) {
        bool any = false;
        for (const QVariant &value : row) {
            const QString text = value.toString();
            QVERIFY2(!text.contains(u'?') && !text.contains(QChar::ReplacementCharacter), qPrintable(text));
            any = any || text.contains(umlaut);
        }
        withUmlaut += any ? 1 : 0;
    }
    QVERIFY2(withUmlaut > all.size() / 4, qPrintable(QString::number(withUmlaut)));
}

void tst_ActGenerator::leereFelderSindNull()
{
    ActGenerator::Options options;
    options.contacts = 2000;
    ActGenerator generator(options);
    const QHash<QString, QString> ids = plant(generator);
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    const QString phones = u"PHONE, FAX, HOME_PHONE, MOBILE_PH, ALT_PHONE"_s;
    const Rows d = query(dir, u"SELECT %1, COMPANY, EMAIL FROM KUNDEN WHERE UNIQUE_ID = ?"_s.arg(phones), {ids[u"D"_s]});
    QCOMPARE(d.size(), 1);
    for (int i = 0; i < 6; ++i)
        QVERIFY2(d[0][i].isNull(), qPrintable(QString::number(i)));
    QCOMPARE(d[0][6].toString(), u"nina@stille.example"_s);

    const auto count = [&dir](const QString &where) {
        return query(dir, u"SELECT COUNT(*) FROM KUNDEN WHERE "_s + where).value(0).value(0).toInt();
    };
    const int rows = count(u"1 = 1"_s);
    const int noMobile = count(u"MOBILE_PH IS NULL"_s);
    const int noFax = count(u"FAX IS NULL"_s);
    const int noAlt = count(u"ALT_PHONE IS NULL"_s);
    const int noPhoneAtAll = count(u"PHONE IS NULL AND FAX IS NULL AND HOME_PHONE IS NULL AND MOBILE_PH IS NULL "
                                   u"AND ALT_PHONE IS NULL"_s);
    QVERIFY2(noMobile > rows / 4 && noMobile < rows * 9 / 10, qPrintable(QString::number(noMobile)));
    QVERIFY2(noFax > rows / 3 && noFax < rows, qPrintable(QString::number(noFax)));
    QVERIFY2(noAlt > rows * 6 / 10 && noAlt < rows, qPrintable(QString::number(noAlt)));
    QVERIFY2(noPhoneAtAll > 1 && noPhoneAtAll < rows / 10, qPrintable(QString::number(noPhoneAtAll)));
    QCOMPARE(count(u"PHONE = '' OR MOBILE_PH = '' OR NOTE = ''"_s), 0);
}

void tst_ActGenerator::kontaktfelderDefiniert_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<bool>("phone");

    QTest::newRow("PHONE") << "PHONE"_ba << "Telefon"_ba << true;
    QTest::newRow("FAX") << "FAX"_ba << "Fax"_ba << true;
    QTest::newRow("HOME_PHONE") << "HOME_PHONE"_ba << "Telefon privat"_ba << true;
    QTest::newRow("MOBILE_PH") << "MOBILE_PH"_ba << "Mobiltelefon"_ba << true;
    QTest::newRow("ALT_PHONE") << "ALT_PHONE"_ba << "Telefon 2"_ba << true;
    QTest::newRow("PHONE_EXT") << "PHONE_EXT"_ba << "Durchwahl"_ba << false;
    QTest::newRow("COMPANY") << "COMPANY"_ba << "Firma"_ba << false;
    QTest::newRow("NAME") << "NAME"_ba << "Kontakt"_ba << false;
    QTest::newRow("ADDRESS1") << "ADDRESS1"_ba << QByteArray("Stra\xDF" "e") << false;
    QTest::newRow("ZIP") << "ZIP"_ba << "PLZ"_ba << false;
    QTest::newRow("EMAIL") << "EMAIL"_ba << "E-Mail"_ba << false;
    QTest::newRow("LASTEDIT") << "LASTEDIT"_ba << QByteArray("Letzte \xC4nderung") << false;
    QTest::newRow("NOTE") << "NOTE"_ba << "Notiz"_ba << false;
}

void tst_ActGenerator::kontaktfelderDefiniert()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, label);
    QFETCH(bool, phone);

    ActGenerator::Options options;
    options.contacts = 5;
    ActGenerator generator(options);
    QCOMPARE(write(generator, folder(u"db"_s)), QString());
    const DdfScan scan(readAll(folder(u"db/KUNDEN.ddf"_s)));
    const int activity = scan.marker("ACTIVITY SCHEMA");
    QVERIFY(activity > 0);
    const DdfScan::Definition d = scan.find(name, 0, activity);
    QCOMPARE(d.runs, 1);
    QCOMPARE(d.type == 7, phone);
    QVERIFY(d.type != 0);
    QCOMPARE(d.label, label);
    QCOMPARE(d.labelLength, int(label.size()));
}

void tst_ActGenerator::gruppenfelderDefiniert_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<bool>("phone");

    QTest::newRow("PHONE") << "PHONE"_ba << "Telefon"_ba << true;
    QTest::newRow("FAX") << "FAX"_ba << "Fax"_ba << true;
    QTest::newRow("GROUP_NAME") << "GROUP_NAME"_ba << "Gruppe"_ba << false;
    QTest::newRow("DESCRIPT") << "DESCRIPT"_ba << "Beschreibung"_ba << false;
    QTest::newRow("UNIQUE_ID") << "UNIQUE_ID"_ba << "Gruppen-ID"_ba << false;
}

void tst_ActGenerator::gruppenfelderDefiniert()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, label);
    QFETCH(bool, phone);

    ActGenerator generator;
    generator.options().contacts = 5;
    QCOMPARE(write(generator, folder(u"db"_s)), QString());
    const DdfScan scan(readAll(folder(u"db/KUNDEN.ddf"_s)));
    const int group = scan.marker("GROUP INFO SCHEMA");
    const int sales = scan.marker("SALES SCHEMA");
    QVERIFY(group > 0 && sales > group);
    const DdfScan::Definition d = scan.find(name, group + 1, sales);
    QCOMPARE(d.runs, 1);
    QCOMPARE(d.type == 7, phone);
    QCOMPARE(d.label, label);
}

void tst_ActGenerator::jedeSpalteGenauEinmalDefiniert_data()
{
    QTest::addColumn<int>("extraColumns");
    QTest::addColumn<qint64>("ddfSize");
    QTest::addColumn<qint64>("expectedSize"); // -1: whatever the definitions need

    QTest::newRow("schlicht") << 0 << qint64(0) << qint64(-1);
    QTest::newRow("kleiner als nötig") << 0 << qint64(100) << qint64(-1);
    QTest::newRow("drei Zusatzspalten, 5000 Bytes") << 3 << qint64(5000) << qint64(5000);
    QTest::newRow("breit, 1 MiB") << 120 << qint64(1024 * 1024) << qint64(1024 * 1024);
}

void tst_ActGenerator::jedeSpalteGenauEinmalDefiniert()
{
    QFETCH(int, extraColumns);
    QFETCH(qint64, ddfSize);
    QFETCH(qint64, expectedSize);

    ActGenerator::Options options;
    options.contacts = 10;
    options.extraColumns = extraColumns;
    options.ddfMinimumSize = ddfSize;
    ActGenerator generator(options);
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    const QByteArray bytes = readAll(dir + u"/KUNDEN.ddf"_s);
    if (expectedSize >= 0)
        QCOMPARE(bytes.size(), expectedSize);
    else
        QVERIFY(bytes.size() > ddfSize);
    const DdfScan scan(bytes);
    const int activity = scan.marker("ACTIVITY SCHEMA");
    const int group = scan.marker("GROUP INFO SCHEMA");
    const int sales = scan.marker("SALES SCHEMA");
    QVERIFY(activity > 0 && group > activity && sales > group);
    QVERIFY(scan.run(activity).size() > 12 && scan.run(group).size() > 12);

    // The columns as the table reader sees them, each defined once in its
    // section and nowhere else: filler and labels pose as no field.
    const auto check = [&scan](const QString &path, int from, int to, int expectedColumns) {
        DbfTable table;
        QVERIFY2(table.open(path), qPrintable(table.errorString()));
        QCOMPARE(int(table.fields().size()), expectedColumns);
        for (const DbfField &field : table.fields()) {
            const QByteArray name = field.name.toLatin1();
            QVERIFY2(scan.find(name, from, to).runs == 1, name.constData());
            const int elsewhere = scan.find(name, 0, from).runs + scan.find(name, to, scan.runCount()).runs;
            QVERIFY2(elsewhere == 0 || name == "UNIQUE_ID" || name == "PHONE" || name == "FAX", name.constData());
        }
    };
    check(dir + u"/KUNDEN.dbf"_s, 0, activity, 20 + extraColumns);
    if (QTest::currentTestFailed())
        return;
    check(dir + u"/KUNDEN.gdb"_s, group + 1, sales, 5);
    if (QTest::currentTestFailed())
        return;
    if (extraColumns > 0) {
        const QByteArray last = "USER" + QByteArray::number(extraColumns);
        const DdfScan::Definition d = scan.find(last, 0, activity);
        QVERIFY(d.type != 7 && d.type != 0);
        QCOMPARE(d.label, "Benutzer " + QByteArray::number(extraColumns));
    }
}

void tst_ActGenerator::kaputteDefinitionen_data()
{
    QTest::addColumn<ActDefinitionFile::Variant>("variant");
    QTest::addColumn<bool>("activity");
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("sales");

    using V = ActDefinitionFile::Variant;
    QTest::newRow("ohne Aktivitätsmarke") << V::WithoutActivityMarker << false << true << true;
    QTest::newRow("ohne Gruppenmarke") << V::WithoutGroupMarker << true << false << true;
    QTest::newRow("abgeschnitten") << V::Truncated << false << false << false;
    QTest::newRow("Bezeichnung über das Ende") << V::LabelPastEnd << true << true << false;
    QTest::newRow("leer") << V::Empty << false << false << false;
}

void tst_ActGenerator::kaputteDefinitionen()
{
    QFETCH(ActDefinitionFile::Variant, variant);
    QFETCH(bool, activity);
    QFETCH(bool, group);
    QFETCH(bool, sales);

    ActGenerator::Options options;
    options.contacts = 5;
    ActGenerator normal(options);
    QCOMPARE(write(normal, folder(u"normal"_s)), QString());
    options.ddfVariant = variant;
    ActGenerator broken(options);
    QCOMPARE(write(broken, folder(u"kaputt"_s)), QString());

    const QByteArray good = readAll(folder(u"normal/KUNDEN.ddf"_s));
    const QByteArray bytes = readAll(folder(u"kaputt/KUNDEN.ddf"_s));
    // Only the definitions are broken; the tables stay readable.
    QCOMPARE(readAll(folder(u"kaputt/KUNDEN.dbf"_s)), readAll(folder(u"normal/KUNDEN.dbf"_s)));
    QVERIFY(bytes.size() < good.size());

    const DdfScan scan(bytes);
    QCOMPARE(scan.marker("ACTIVITY SCHEMA") >= 0, activity);
    QCOMPARE(scan.marker("GROUP INFO SCHEMA") >= 0, group);
    QCOMPARE(scan.marker("SALES SCHEMA") >= 0, sales);

    switch (variant) {
    case ActDefinitionFile::Variant::WithoutActivityMarker:
    case ActDefinitionFile::Variant::WithoutGroupMarker: {
        // Everything else is still there.
        const DdfScan::Definition phone = scan.find("MOBILE_PH", 0, scan.runCount());
        QCOMPARE(phone.type, quint8(7));
        QCOMPARE(phone.label, "Mobiltelefon"_ba);
        break;
    }
    case ActDefinitionFile::Variant::Truncated: {
        QVERIFY(!bytes.isEmpty());
        QVERIFY(good.startsWith(bytes));
        QCOMPARE(scan.find("UNIQUE_ID", 0, scan.runCount()).runs, 1);
        QCOMPARE(scan.find("NOTE", 0, scan.runCount()).runs, 0);
        break;
    }
    case ActDefinitionFile::Variant::LabelPastEnd: {
        const int groupMarker = scan.marker("GROUP INFO SCHEMA");
        const DdfScan::Definition fax = scan.find("FAX", groupMarker + 1, scan.runCount());
        QCOMPARE(fax.type, quint8(7));
        QVERIFY(fax.labelLength > fax.label.size());
        QVERIFY(bytes.endsWith(fax.label));
        break;
    }
    default:
        QCOMPARE(bytes.size(), 0);
    }
}

void tst_ActGenerator::programmLiestDefinitionen_data()
{
    QTest::addColumn<ActDefinitionFile::Variant>("variant");
    QTest::addColumn<int>("extraColumns");
    QTest::addColumn<qint64>("ddfSize");
    QTest::addColumn<long>("contactError");
    QTest::addColumn<long>("groupError");

    using V = ActDefinitionFile::Variant;
    QTest::newRow("normal") << V::Normal << 0 << qint64(0) << 0L << 0L;
    QTest::newRow("breit und 1 MiB") << V::Normal << 200 << qint64(1024 * 1024) << 0L << 0L;
    // 62: read past the end of the file; 9: no group section.
    QTest::newRow("leer") << V::Empty << 0 << qint64(0) << 62L << 62L;
    QTest::newRow("ohne Gruppenmarke") << V::WithoutGroupMarker << 0 << qint64(0) << 0L << 9L;
    QTest::newRow("Bezeichnung über das Ende") << V::LabelPastEnd << 0 << qint64(0) << 0L << 62L;
}

void tst_ActGenerator::programmLiestDefinitionen()
{
    QFETCH(ActDefinitionFile::Variant, variant);
    QFETCH(int, extraColumns);
    QFETCH(qint64, ddfSize);
    QFETCH(long, contactError);
    QFETCH(long, groupError);

    ActGenerator::Options options;
    options.contacts = 5;
    options.extraColumns = extraColumns;
    options.ddfMinimumSize = ddfSize;
    options.ddfVariant = variant;
    ActGenerator generator(options);
    const QString dir = folder(u"db"_s);
    QCOMPARE(write(generator, dir), QString());

    // The program's own reader of the definitions, given the columns of the tables.
    QStringList contactColumns;
    DbfTable contacts;
    QVERIFY(contacts.open(dir + u"/KUNDEN.dbf"_s));
    for (const DbfField &field : contacts.fields())
        contactColumns += field.name;
    const QStringList groupColumns = {u"UNIQUE_ID"_s, u"GROUP_NAME"_s, u"DESCRIPT"_s, u"PHONE"_s, u"FAX"_s};
    const QSet<QString> phones = {u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s};

    long errorContacts = 0;
    long errorGroups = 0;
    QHash<QString, Felddefinitionen::Eintrag> foundContacts;
    QHash<QString, Felddefinitionen::Eintrag> foundGroups;
    try {
        const Felddefinitionen definitions = Felddefinitionen::lies(dir + u"/KUNDEN.ddf"_s);
        try {
            foundContacts = definitions.Kontaktfelder(contactColumns);
        } catch (const Felddefinitionen::Fehler &e) {
            errorContacts = e.nummer;
        }
        try {
            foundGroups = definitions.Gruppenfelder(groupColumns);
        } catch (const Felddefinitionen::Fehler &e) {
            errorGroups = e.nummer;
        }
    } catch (const Felddefinitionen::Fehler &e) {
        errorContacts = errorGroups = e.nummer;
    }
    QCOMPARE(errorContacts, contactError);
    QCOMPARE(errorGroups, groupError);
    if (contactError == 0) {
        QCOMPARE(foundContacts.size(), contactColumns.size());
        for (const QString &name : contactColumns)
            QVERIFY2((foundContacts[name].Feldart == 7) == phones.contains(name), qPrintable(name));
        QCOMPARE(foundContacts[u"HOME_PHONE"_s].Bezeichnung, u"Telefon privat"_s);
        QCOMPARE(foundContacts[u"ADDRESS1"_s].Bezeichnung, u"Straße"_s);
    }
    if (groupError == 0) {
        QCOMPARE(foundGroups.size(), groupColumns.size());
        QCOMPARE(foundGroups[u"PHONE"_s].Feldart, 7);
        QCOMPARE(foundGroups[u"FAX"_s].Bezeichnung, u"Fax"_s);
        QVERIFY(foundGroups[u"GROUP_NAME"_s].Feldart != 7);
    }
}

void tst_ActGenerator::windows1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII") << u"Fax"_s << "Fax"_ba;
    QTest::newRow("Umlaute und ß") << u"Größe Ä"_s << QByteArray("Gr\xF6\xDF" "e \xC4");
    QTest::newRow("Euro") << u"€"_s << QByteArray("\x80");
    QTest::newRow("Gedankenstrich") << u"0–4"_s << QByteArray("0\x96" "4");
    QTest::newRow("Anführungszeichen") << u"„Ja“"_s << QByteArray("\x84Ja\x93");
    QTest::newRow("fehlt in 1252") << u"Yılmaz"_s << "Y?lmaz"_ba;
}

void tst_ActGenerator::windows1252()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ActDefinitionFile::toWindows1252(text), bytes);
}

void tst_ActGenerator::reservierteNummernNichtZufaellig()
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
            hits[reserved] += number.subscriber == u"234"_s ? 1 : 0;
            // Fax numbers beside it keep the leading digit and avoid it too.
            const ActPhoneNumbers::Number fax = numbers.sibling(number);
            QCOMPARE(fax.subscriber.left(1), number.subscriber.left(1));
            QVERIFY(fax.subscriber != number.subscriber);
            hits[reserved] += fax.subscriber == u"234"_s ? 1 : 0;
        }
    }
    QVERIFY2(hits[0] > 0, "the unreserved run never made 234, so the check below proves nothing");
    QCOMPARE(hits[1], 0);
}

void tst_ActGenerator::dateinamenWieAngegeben()
{
    ActGenerator::Options options;
    options.contacts = 5;
    options.baseName = u"Kunden"_s;
    ActGenerator byBase(options);
    QCOMPARE(write(byBase, folder(u"basis"_s)), QString());
    QCOMPARE(QDir(folder(u"basis"_s)).entryList(QDir::Files, QDir::Name),
             (QStringList{u"Kunden.dbf"_s, u"Kunden.ddf"_s, u"Kunden.gdb"_s}));

    options.dbfName = u"KUNDEN.DBF"_s;
    options.gdbName = u"kunden.gdb"_s;
    options.ddfName = u"Kunden.DDF"_s;
    ActGenerator byName(options);
    QCOMPARE(write(byName, folder(u"windows"_s)), QString());
    QCOMPARE(QDir(folder(u"windows"_s)).entryList(QDir::Files, QDir::Name),
             (QStringList{u"KUNDEN.DBF"_s, u"Kunden.DDF"_s, u"kunden.gdb"_s}));
    QCOMPARE(query(folder(u"windows"_s), u"SELECT COUNT(*) FROM [kunden.gdb]"_s).value(0).value(0).toInt(), 8);
}

void tst_ActGenerator::ungueltigeOptionen_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<qint64>("value");

    QTest::newRow("keine Kontakte") << u"contacts"_s << qint64(0);
    QTest::newRow("zu viele Kontakte") << u"contacts"_s << ActGenerator::MaxContacts + 1;
    QTest::newRow("keine Gruppen") << u"groups"_s << qint64(0);
    QTest::newRow("zu viele Gruppen") << u"groups"_s << qint64(21);
    QTest::newRow("zu viele Zusatzspalten") << u"extra"_s << qint64(ActGenerator::MaxExtraColumns + 1);
    QTest::newRow("negativer Anteil") << u"deleted"_s << qint64(-1);
    QTest::newRow("Name mit Ordner") << u"name"_s << qint64(0);
}

void tst_ActGenerator::ungueltigeOptionen()
{
    QFETCH(QString, option);
    QFETCH(qint64, value);

    ActGenerator::Options options;
    options.contacts = 5;
    if (option == u"contacts"_s)
        options.contacts = value;
    else if (option == u"groups"_s)
        options.groups = int(value);
    else if (option == u"extra"_s)
        options.extraColumns = int(value);
    else if (option == u"deleted"_s)
        options.deletedPercent = double(value);
    else
        options.baseName = u"../KUNDEN"_s;
    ActGenerator generator(options);
    QVERIFY(!generator.write(folder(u"db"_s)));
    QVERIFY(!generator.errorString().isEmpty());
    QVERIFY(!QFile::exists(folder(u"db"_s)));
}

void tst_ActGenerator::befehlszeile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("contacts");
    QTest::addColumn<qint64>("ddfSize");
    QTest::addColumn<QString>("dbfName");

    const QString k = u"KUNDEN.dbf"_s;
    QTest::newRow("nur Ordner") << QStringList{u"out"_s} << true << qint64(1000) << qint64(0) << k;
    QTest::newRow("alles") << QStringList{u"--seed"_s, u"42"_s, u"--contacts"_s, u"1000000"_s, u"--name"_s,
                                          u"Adressen"_s, u"--ddf-size"_s, u"1M"_s, u"out"_s}
                           << true << qint64(1000000) << qint64(1048576) << u"Adressen.dbf"_s;
    QTest::newRow("Größe in KiB") << QStringList{u"--ddf-size"_s, u"512K"_s, u"out"_s} << true << qint64(1000)
                                  << qint64(524288) << k;
    QTest::newRow("Dateinamen") << QStringList{u"--files"_s, u"KUNDEN.DBF,kunden.gdb,Kunden.DDF"_s, u"out"_s}
                                << true << qint64(1000) << qint64(0) << u"KUNDEN.DBF"_s;
    QTest::newRow("null Kontakte") << QStringList{u"--contacts"_s, u"0"_s, u"out"_s} << false << qint64(0)
                                   << qint64(0) << QString();
    QTest::newRow("zu viele Kontakte") << QStringList{u"--contacts"_s, u"1000001"_s, u"out"_s} << false
                                       << qint64(0) << qint64(0) << QString();
    QTest::newRow("Größe falsch") << QStringList{u"--ddf-size"_s, u"12x"_s, u"out"_s} << false << qint64(0)
                                  << qint64(0) << QString();
    QTest::newRow("Variante unbekannt") << QStringList{u"--ddf-variant"_s, u"kaputt"_s, u"out"_s} << false
                                        << qint64(0) << qint64(0) << QString();
    QTest::newRow("zwei Dateinamen") << QStringList{u"--files"_s, u"a.dbf,b.gdb"_s, u"out"_s} << false
                                     << qint64(0) << qint64(0) << QString();
    QTest::newRow("ohne Ordner") << QStringList{u"--seed"_s, u"3"_s} << false << qint64(0) << qint64(0)
                                 << QString();
    QTest::newRow("zwei Ordner") << QStringList{u"a"_s, u"b"_s} << false << qint64(0) << qint64(0) << QString();
    QTest::newRow("unbekannte Option") << QStringList{u"--bunt"_s, u"out"_s} << false << qint64(0) << qint64(0)
                                       << QString();
}

void tst_ActGenerator::befehlszeile()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    QFETCH(qint64, contacts);
    QFETCH(qint64, ddfSize);
    QFETCH(QString, dbfName);

    ActGeneratorCommandLine commandLine;
    QCOMPARE(commandLine.parse(QStringList{u"rufmon-actgen"_s} + arguments), ok);
    QCOMPARE(commandLine.errorString().isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(commandLine.folder(), arguments.last());
    QCOMPARE(commandLine.options().contacts, contacts);
    QCOMPARE(commandLine.options().ddfMinimumSize, ddfSize);
    QCOMPARE(ActGenerator(commandLine.options()).dbfFileName(), dbfName);
}

void tst_ActGenerator::beispieldatenbanken_data()
{
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("groupTable");
    QTest::addColumn<QString>("ddf");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("groups");

    // As tests/data/act/README.md describes them.
    QTest::newRow("klein") << u"klein"_s << u"KUNDEN"_s << u"KUNDEN.gdb"_s << u"KUNDEN.ddf"_s << 19 << 6;
    QTest::newRow("windows") << u"windows"_s << u"KUNDEN"_s << u"kunden.gdb"_s << u"Kunden.DDF"_s << 15 << 5;
}

void tst_ActGenerator::beispieldatenbanken()
{
    QFETCH(QString, subfolder);
    QFETCH(QString, table);
    QFETCH(QString, groupTable);
    QFETCH(QString, ddf);
    QFETCH(int, rows);
    QFETCH(int, groups);

    const QString dir = QStringLiteral(RUFMON_TEST_DATA "/act/") + subfolder;
    QCOMPARE(query(dir, u"SELECT COUNT(*) FROM [%1]"_s.arg(table)).value(0).value(0).toInt(), rows);
    QCOMPARE(query(dir, u"SELECT COUNT(*) FROM [%1]"_s.arg(groupTable)).value(0).value(0).toInt(), groups);

    const Rows erika = query(dir, u"SELECT NAME, COMPANY FROM [%1] WHERE PHONE LIKE '*1234567*'"_s.arg(table));
    QCOMPARE(erika, (Rows{{u"Erika Mustermann"_s, u"Bäckerei Schäfer"_s}}));
    const Rows weiss = query(dir, u"SELECT PHONE, FAX, PHONE_EXT FROM [%1] WHERE NAME = 'Jürgen Weiß'"_s.arg(table));
    QCOMPARE(weiss, (Rows{{u"(089) 123-456"_s, u"(089) 123-457"_s, u"21"_s}}));
    QVERIFY(query(dir, u"SELECT NAME FROM [%1] WHERE NAME = 'Walter Fröhlich'"_s.arg(table)).isEmpty());
    const Rows ilse = query(dir, u"SELECT PHONE, MOBILE_PH FROM [%1] WHERE LAST_NAME = 'Nüßlein' AND CITY = 'Haan'"_s
                                     .arg(table));
    QCOMPARE(ilse.size(), 1);
    QVERIFY(ilse[0][0].isNull() && ilse[0][1].isNull());
    // Erika Mustermann, the four neighbours, and "+49 40 123456" and "+43 316 123456".
    QCOMPARE(query(dir, u"SELECT COUNT(*) FROM [%1] WHERE PHONE LIKE '*12345*'"_s.arg(table)).value(0).value(0).toInt(),
             7);

    const DdfScan scan(readAll(dir + u'/' + ddf));
    const int activity = scan.marker("ACTIVITY SCHEMA");
    QCOMPARE(scan.find("HOME_PHONE", 0, activity).label, "Telefon privat"_ba);
    QCOMPARE(scan.find("HOME_PHONE", 0, activity).type, quint8(7));
    QVERIFY(scan.find("PHONE_EXT", 0, activity).type != 7);
}

void tst_ActGenerator::zehntausendKontakte()
{
    ActGenerator::Options options;
    options.seed = 2024;
    options.contacts = 10000;
    ActGenerator generator(options);
    generator.addSampleContacts();
    const QString dir = folder(u"db"_s);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(write(generator, dir), QString());
    qInfo("10000 Kontakte in %lld ms", qlonglong(timer.elapsed()));

    const RawTable raw(dir + u"/KUNDEN.dbf"_s);
    QCOMPARE(raw.count, quint32(10000));
    QCOMPARE(raw.bytes.size(), raw.headerLength + 10000 * raw.recordLength + 1);
    const int live = 10000 - raw.deleted();
    const Rows counts = query(dir, u"SELECT COUNT(*), COUNT(DISTINCT UNIQUE_ID), COUNT(PHONE) FROM KUNDEN"_s);
    QCOMPARE(counts[0][0].toInt(), live);
    QCOMPARE(counts[0][1].toInt(), live);
    QVERIFY(counts[0][2].toInt() > live * 9 / 10);
    // Among ten thousand random numbers the planted one is still the only one.
    QCOMPARE(query(dir, u"SELECT COUNT(*) FROM KUNDEN WHERE PHONE LIKE '*1234567*' OR MOBILE_PH LIKE '*1234567*' "
                        u"OR FAX LIKE '*1234567*' OR HOME_PHONE LIKE '*1234567*' OR ALT_PHONE LIKE '*1234567*'"_s)
                 .value(0)
                 .value(0)
                 .toInt(),
             2);
}

QTEST_GUILESS_MAIN(tst_ActGenerator)
#include "tst_ActGenerator.moc"
