#include "telephony/Nummernaufbereitung.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The caller's number as the line reports it, cleaned as the user chose.
class tst_Nummernaufbereitung : public QObject
{
    Q_OBJECT

private slots:
    void plusKlammerFilter_data();
    void plusKlammerFilter();
    void aufbereiten_data();
    void aufbereiten();
    void filtereingabe_data();
    void filtereingabe();
};

void tst_Nummernaufbereitung::plusKlammerFilter_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ausgabe");

    QTest::newRow("+49 (30) 1234567") << u"+49 (30) 1234567"_s << u"301234567"_s;
    QTest::newRow("+4930123456") << u"+4930123456"_s << u"004930123456"_s;
    QTest::newRow("(030) 123-456") << u"(030) 123-456"_s << u"030123456"_s;
    QTest::newRow("+123") << u"+123"_s << QString();
    QTest::newRow("+1234") << u"+1234"_s << u"001234"_s;
    QTest::newRow("030/1234+5") << u"030/1234+5"_s << u"03012345"_s;
    QTest::newRow("blanks only stay") << u"   "_s << u"   "_s;
    QTest::newRow("letters dropped") << u"0800-FLOWERS"_s << u"0800"_s;
    QTest::newRow("plus after a blank is dropped") << u" +49 30 1"_s << u"301"_s;
}

void tst_Nummernaufbereitung::plusKlammerFilter()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, ausgabe);
    QCOMPARE(Nummernaufbereitung::PlusKlammerFilter(eingabe), ausgabe);
}

void tst_Nummernaufbereitung::aufbereiten_data()
{
    QTest::addColumn<QString>("roh");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("schalter"); // P: plus and brackets off, +: prefix added, -: prefix removed
    QTest::addColumn<QString>("praefix");
    QTest::addColumn<QString>("partyId");
    QTest::addColumn<QString>("ergebnis");

    const auto zeile = [](const char *name, const QString &roh, const QString &filter, const QString &schalter,
                          const QString &praefix, const QString &ergebnis, const QString &partyId = u"<ADDRESS>"_s) {
        QTest::newRow(name) << roh << filter << schalter << praefix << partyId << ergebnis;
    };
    zeile("filter matches raw number", u"0301234"_s, u"0800,0301234"_s, {}, u"0"_s, u"ignoriert: 0301234"_s);
    zeile("filter compares before cleaning", u"+49 301234"_s, u"0301234"_s, u"P+"_s, u"0"_s, u"0301234"_s);
    zeile("filter is exact, no trimming", u"0301234 "_s, u"0301234"_s, {}, u"0"_s, u"0301234 "_s);
    zeile("empty number not filtered", QString(), u"0800,,0301"_s, {}, u"0"_s, QString());
    zeile("no address flag", u"0301234"_s, {}, u"P+"_s, u"0"_s, u"keine Nummer"_s, u"<UNAVAIL>"_s);
    zeile("plus filter and prefix added", u"+49 (30) 1234567"_s, {}, u"P+"_s, u"0"_s, u"0301234567"_s);
    zeile("plus filter leaves nothing", u"+49"_s, {}, u"P"_s, u"0"_s, QString());
    zeile("prefix removed after trimming", u" 0301234 "_s, {}, u"-"_s, u"0"_s, u"301234"_s);
    zeile("prefix not at the start", u"301234"_s, {}, u"-"_s, u"0"_s, u"301234"_s);
    zeile("empty prefix removes nothing", u"0301234"_s, {}, u"-"_s, QString(), u"0301234"_s);
    zeile("both prefix marks: neither", u"301234"_s, {}, u"+-"_s, u"0"_s, u"301234"_s);
}

void tst_Nummernaufbereitung::aufbereiten()
{
    QFETCH(QString, roh);
    QFETCH(QString, filter);
    QFETCH(QString, schalter);
    QFETCH(QString, praefix);
    QFETCH(QString, partyId);
    QFETCH(QString, ergebnis);

    Nummernaufbereitung::Einstellungen e;
    e.Filtertext = filter;
    e.PlusKlammerFilter = schalter.contains(u'P');
    e.PraefixHinzufuegen = schalter.contains(u'+');
    e.PraefixEntfernen = schalter.contains(u'-');
    e.Praefix = praefix;
    const auto r = Nummernaufbereitung::aufbereiten(roh, partyId, e);
    QCOMPARE(r.ignoriert ? u"ignoriert: "_s + r.filterTreffer : r.nummer, ergebnis);
}

void tst_Nummernaufbereitung::filtereingabe_data()
{
    QTest::addColumn<QString>("antwort");
    QTest::addColumn<QString>("filter");

    QTest::newRow("separators removed") << u"030 / 123-45, (089) 1#2"_s << u"03012345,08912"_s;
    QTest::newRow("semicolon is no separator") << u"0301;0302"_s << u"03010302"_s;
    QTest::newRow("empty parts dropped") << u",0301,, ,+"_s << u"0301"_s;
}

void tst_Nummernaufbereitung::filtereingabe()
{
    QFETCH(QString, antwort);
    QFETCH(QString, filter);
    QCOMPARE(Nummernaufbereitung::Filtereingabe(antwort), filter);
}

QTEST_GUILESS_MAIN(tst_Nummernaufbereitung)
#include "tst_Nummernaufbereitung.moc"
