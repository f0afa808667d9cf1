#include "actdb/Felddefinitionen.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A field record written byte by byte: some header bytes, the length byte
// and the name, the type code as the run's last byte, the zero, two unread
// bytes and the label with its length.
QByteArray feld(const QByteArray &name, char typ, const QByteArray &label)
{
    QByteArray b("\x11\x22");
    b += char(name.size());
    b += name;
    b += '\x05';
    b += typ;
    b += '\0';
    b += "\x01\x02";
    b += char(label.size());
    b += label;
    b += '\0';
    return b;
}

QByteArray marke(const char *text)
{
    return QByteArray("\x03") + text + QByteArray(1, '\0');
}

} // namespace

// The definition file read from bytes made by hand.
class tst_Felddefinitionen : public QObject
{
    Q_OBJECT

private slots:
    void sectionsAndRecords();
    void nameWithoutLengthByteIsNoMatch();
    void firstOccurrenceCounts();
    void withoutActivityMarkerOnlyTheFirstRunIsTested();
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
    QVERIFY(ddf.KontaktEnde() > 0);
    QVERIFY(ddf.GruppenAnfang() > ddf.KontaktEnde());
    QVERIFY(ddf.GruppenEnde() > ddf.GruppenAnfang());

    const auto k = ddf.Kontaktfelder({u"PHONE"_s, u"NAME"_s, u"HOME_PHONE"_s, u"STRASSE"_s, u"FAX"_s, u"phone"_s});
    QCOMPARE(k.value(u"PHONE"_s).Feldart, 7);
    QCOMPARE(k.value(u"PHONE"_s).Bezeichnung, u"Telefon"_s);
    QCOMPARE(k.value(u"NAME"_s).Feldart, 1);
    QCOMPARE(k.value(u"HOME_PHONE"_s).Bezeichnung, u"Telefon privat"_s);
    QCOMPARE(k.value(u"STRASSE"_s).Bezeichnung, u"Straße"_s);
    QVERIFY(!k.contains(u"FAX"_s));
    QVERIFY(!k.contains(u"phone"_s)); // names compare with letter case

    const auto g = ddf.Gruppenfelder({u"GRP_PHONE"_s, u"PHONE"_s, u"LATE"_s});
    QCOMPARE(g.value(u"GRP_PHONE"_s).Feldart, 7);
    QCOMPARE(g.value(u"GRP_PHONE"_s).Bezeichnung, u"Gruppentelefon"_s);
    QVERIFY(!g.contains(u"PHONE"_s));
    // The sales marker ends the group section; the run after it is still
    // tested once, as the scan stops only after a run beyond the end.
    QCOMPARE(g.value(u"LATE"_s).Feldart, 7);
}

void tst_Felddefinitionen::nameWithoutLengthByteIsNoMatch()
{
    QByteArray d;
    d += QByteArray("\x11\x22\x09PHONE\x05\x07") + QByteArray(1, '\0') + QByteArray("\0\0\x04" "Fehl", 7) + '\0';
    d += feld("PHONE", 7, "Telefon");
    d += marke("ACTIVITY SCHEMA") + marke("GROUP INFO SCHEMA") + marke("SALES SCHEMA");
    const Felddefinitionen ddf(d);
    QCOMPARE(ddf.Kontaktfelder({u"PHONE"_s}).value(u"PHONE"_s).Bezeichnung, u"Telefon"_s);
}

void tst_Felddefinitionen::firstOccurrenceCounts()
{
    // "FAX" first appears inside "TELEFAX" without its length byte; the run
    // holds the right pattern later, but only the first occurrence counts.
    QByteArray d;
    d += QByteArray("\x11TELEFAX\x03" "FAX\x07") + '\0' + QByteArray("\x01\x02\x03" "Fax", 6) + '\0';
    d += marke("ACTIVITY SCHEMA") + marke("GROUP INFO SCHEMA") + marke("SALES SCHEMA");
    const Felddefinitionen ddf(d);
    QVERIFY(!ddf.Kontaktfelder({u"FAX"_s}).contains(u"FAX"_s));
}

void tst_Felddefinitionen::withoutActivityMarkerOnlyTheFirstRunIsTested()
{
    QByteArray d = feld("NAME", 1, "Kontakt") + feld("PHONE", 7, "Telefon");
    d += marke("GROUP INFO SCHEMA") + marke("SALES SCHEMA");
    const Felddefinitionen ddf(d);
    QCOMPARE(ddf.KontaktEnde(), 0L);
    const auto k = ddf.Kontaktfelder({u"NAME"_s, u"PHONE"_s});
    QVERIFY(k.contains(u"NAME"_s));
    QVERIFY(!k.contains(u"PHONE"_s));
}

void tst_Felddefinitionen::faults_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("kontaktFehler");
    QTest::addColumn<bool>("gruppenFehler");

    const QByteArray gut = feld("PHONE", 7, "Telefon") + marke("ACTIVITY SCHEMA") + marke("GROUP INFO SCHEMA")
                           + feld("GRP", 7, "G") + marke("SALES SCHEMA");
    QTest::newRow("empty") << QByteArray() << true << true;
    QTest::newRow("only zeros") << QByteArray(100, '\0') << true << true;
    QTest::newRow("ends in zeros without a sales marker")
        << feld("PHONE", 7, "Telefon") + marke("GROUP INFO SCHEMA") << true << true;
    QTest::newRow("no group marker") << feld("PHONE", 7, "Telefon") + marke("SALES SCHEMA") << false << true;
    QByteArray langeBezeichnung = QByteArray("\x11\x05PHONE\x07", 8) + '\0' + QByteArray("\x01\x02\xff" "Tel", 6);
    QTest::newRow("label running past the end") << langeBezeichnung << true << true;
    QTest::newRow("truncated after the run") << QByteArray("\x11\x05PHONE\x07", 8) << true << true;
    QTest::newRow("well formed") << gut << false << false;
}

void tst_Felddefinitionen::faults()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, kontaktFehler);
    QFETCH(bool, gruppenFehler);
    bool fehler = false;
    try {
        const Felddefinitionen ddf(bytes);
        try {
            ddf.Kontaktfelder({u"PHONE"_s});
        } catch (const Felddefinitionen::Fehler &) {
            fehler = true;
        }
        QCOMPARE(fehler, kontaktFehler);
        fehler = false;
        try {
            ddf.Gruppenfelder({u"GRP"_s});
        } catch (const Felddefinitionen::Fehler &) {
            fehler = true;
        }
        QCOMPARE(fehler, gruppenFehler);
    } catch (const Felddefinitionen::Fehler &e) {
        QVERIFY2(kontaktFehler && gruppenFehler, qPrintable(e.beschreibung));
        QVERIFY(!e.beschreibung.isEmpty());
    }
}

QTEST_GUILESS_MAIN(tst_Felddefinitionen)
#include "tst_Felddefinitionen.moc"
