#include "actdb/Felddefinitionen.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A field record written byte by byte: some header bytes, the length byte
// and the name, the type code as the run's last byte, the zero, two unread
// bytes and the label with its length.
QByteArray feld(const QByteArray &name, char typ, const QByteArray &label)
{
    return QByteArray("\x11\x22") + char(name.size()) + name + '\x05' + typ + '\0' + QByteArray("\x01\x02")
        + char(label.size()) + label + '\0';
}

QByteArray marke(const char *text)
{
    return QByteArray("\x03") + text + QByteArray(1, '\0');
}

// The error number of a lookup, 0 without one; a fault of the file as a
// whole counts for either section.
long fehlerBei(const QByteArray &bytes, bool gruppen)
{
    try {
        const Felddefinitionen ddf(bytes);
        if (gruppen)
            ddf.Gruppenfelder({u"GRP"_s});
        else
            ddf.Kontaktfelder({u"PHONE"_s});
        return 0;
    } catch (const Felddefinitionen::Fehler &e) {
        return e.beschreibung.isEmpty() ? -1 : e.nummer;
    }
}

} // namespace

// The definition file read from bytes made by hand.
class tst_Felddefinitionen : public QObject
{
    Q_OBJECT

private slots:
    void sectionsAndRecords();
    void contactLookup_data();
    void contactLookup();
    void faults_data();
    void faults();
};

void tst_Felddefinitionen::sectionsAndRecords()
{
    QByteArray d = QByteArray(4, '\0');
    d += feld("PHONE", 7, "Telefon");
    d += feld("NAME", 1, "Kontakt");
    d += feld("HOME_PHONE", 7, "Telefon privat");
    d += feld("STRASSE", 1, "Stra\xdf" "e");
    d += marke("ACTIVITY SCHEMA");
    d += feld("PHONE", 3, "falsch: nach dem Kontaktteil");
    d += marke("GROUP INFO SCHEMA");
    d += feld("GRP_PHONE", 7, "Gruppentelefon");
    d += marke("SALES SCHEMA");
    d += feld("LATE", 7, "zu spät");

    const Felddefinitionen ddf(d);
    const auto k = ddf.Kontaktfelder({u"PHONE"_s, u"NAME"_s, u"HOME_PHONE"_s, u"STRASSE"_s, u"FAX"_s});
    QCOMPARE(k.size(), 4);
    QCOMPARE(k.value(u"PHONE"_s).Feldart, 7);
    QCOMPARE(k.value(u"PHONE"_s).Bezeichnung, u"Telefon"_s);
    QCOMPARE(k.value(u"NAME"_s).Feldart, 1);
    QCOMPARE(k.value(u"HOME_PHONE"_s).Bezeichnung, u"Telefon privat"_s);
    QCOMPARE(k.value(u"STRASSE"_s).Bezeichnung, u"Straße"_s);

    const auto g = ddf.Gruppenfelder({u"GRP_PHONE"_s, u"PHONE"_s, u"LATE"_s});
    QCOMPARE(g.value(u"GRP_PHONE"_s).Feldart, 7);
    QCOMPARE(g.value(u"GRP_PHONE"_s).Bezeichnung, u"Gruppentelefon"_s);
    QVERIFY(!g.contains(u"PHONE"_s));
    // The sales marker ends the group section; the run after it is still
    // tested once, as the scan stops only after a run beyond the end.
    QCOMPARE(g.value(u"LATE"_s).Feldart, 7);
}

void tst_Felddefinitionen::contactLookup_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("bezeichnung"); // empty: not found

    const QByteArray gruppen = marke("GROUP INFO SCHEMA") + marke("SALES SCHEMA");
    const QByteArray schluss = marke("ACTIVITY SCHEMA") + gruppen;
    QTest::newRow("letter case counts") << feld("PHONE", 7, "Telefon") + schluss << u"phone"_s << QString();
    QTest::newRow("wrong length byte: the next record counts")
        << "\x11\x22\x09PHONE\x05\x07\0\0\0\x04" "Fehl\0"_ba + feld("PHONE", 7, "Telefon") + schluss
        << u"PHONE"_s << u"Telefon"_s;
    // "FAX" first appears inside "TELEFAX" without its length byte; only the
    // first occurrence in a run counts.
    QTest::newRow("first occurrence inside another name")
        << "\x11TELEFAX\x03" "FAX\x07\0\x01\x02\x03" "Fax\0"_ba + schluss << u"FAX"_s << QString();
    // Without the activity marker only the first run is tested.
    const QByteArray ohneMarke = feld("NAME", 1, "Kontakt") + feld("PHONE", 7, "Telefon") + gruppen;
    QTest::newRow("no activity marker: first run") << ohneMarke << u"NAME"_s << u"Kontakt"_s;
    QTest::newRow("no activity marker: second run") << ohneMarke << u"PHONE"_s << QString();
}

void tst_Felddefinitionen::contactLookup()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, bezeichnung);
    const auto k = Felddefinitionen(bytes).Kontaktfelder({name});
    QCOMPARE(k.contains(name), !bezeichnung.isEmpty());
    QCOMPARE(k.value(name).Bezeichnung, bezeichnung);
}

void tst_Felddefinitionen::faults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<long>("kontakt");
    QTest::addColumn<long>("gruppen");

    // 62: read past the end of the file; 9: no group section.
    const QByteArray phone = feld("PHONE", 7, "Telefon");
    const QByteArray abgeschnitten("\x11\x05PHONE\x07", 8);
    QTest::newRow("empty") << QByteArray() << 62L << 62L;
    QTest::newRow("only zeros") << QByteArray(100, '\0') << 62L << 62L;
    QTest::newRow("ends in zeros without a sales marker") << phone + marke("GROUP INFO SCHEMA") << 62L << 62L;
    QTest::newRow("no group marker") << phone + marke("SALES SCHEMA") << 0L << 9L;
    QTest::newRow("label running past the end") << abgeschnitten + '\0' + QByteArray("\x01\x02\xff" "Tel") << 62L << 9L;
    QTest::newRow("truncated after the run") << abgeschnitten << 62L << 9L;
    QTest::newRow("well formed") << phone + marke("ACTIVITY SCHEMA") + marke("GROUP INFO SCHEMA") + feld("GRP", 7, "G")
                                        + marke("SALES SCHEMA")
                                 << 0L << 0L;
}

void tst_Felddefinitionen::faults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(long, kontakt);
    QFETCH(long, gruppen);
    QCOMPARE(fehlerBei(bytes, false), kontakt);
    QCOMPARE(fehlerBei(bytes, true), gruppen);
}

QTEST_GUILESS_MAIN(tst_Felddefinitionen)
#include "tst_Felddefinitionen.moc"
