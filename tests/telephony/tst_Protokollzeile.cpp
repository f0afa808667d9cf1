// The line the telephony log appends for an event.
#include "platform/registry/RegionalSettings.h"
#include "telephony/Protokollzeile.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Protokollzeile : public QObject
{
    Q_OBJECT

private slots:
    void format_data();
    void format();
    void momentInRegionalForm();
};

void tst_Protokollzeile::format_data()
{
    QTest::addColumn<QString>("ereignis");
    QTest::addColumn<QString>("werte");
    QTest::addColumn<QString>("hinten"); // the line after the moment

    QTest::newRow("call state, three values")
        << u"OnCallState"_s << u"CCallstate=\"IDLE\"\r\nCCallID=7\r\nCCallHandle=5"_s
        << u" Event: OnCallState Values: CCallstate=\"IDLE\", CCallID=7, CCallHandle=5"_s;
    QTest::newRow("one value") << u"OnRinging"_s << u"CRingCount=2"_s << u" Event: OnRinging Values: CRingCount=2"_s;
    QTest::newRow("no values") << u"OnDeviceChanged"_s << QString() << u" Event: OnDeviceChanged Values: "_s;
    QTest::newRow("line break at the end") << u"OnBusy"_s << u"CBusyMode=\"STATION\"\r\n"_s
                                          << u" Event: OnBusy Values: CBusyMode=\"STATION\", "_s;
    QTest::newRow("bare line feed") << u"OnCallerID"_s << u"CName=\"Meier\nKöln\""_s
                                    << u" Event: OnCallerID Values: CName=\"Meier, Köln\""_s;
    QTest::newRow("bare carriage return") << u"OnError"_s << u"ErrorText=\"a\rb\""_s
                                          << u" Event: OnError Values: ErrorText=\"a, b\""_s;
}

void tst_Protokollzeile::format()
{
    QFETCH(QString, ereignis);
    QFETCH(QString, werte);
    QFETCH(QString, hinten);

    const QDateTime moment(QDate(2026, 12, 6), QTime(9, 5, 7));
    const QString zeile = Protokollzeile(ereignis, werte, moment);
    QCOMPARE(zeile, u"\r\n"_s + RegionalSettings::ShortDate(moment.date()) + u' '
                        + RegionalSettings::LongTime(moment.time()) + hinten);
    // One line: the break that starts it is its only one.
    QCOMPARE(zeile.count(u'\n'), 1);
    QCOMPARE(zeile.count(u'\r'), 1);
}

void tst_Protokollzeile::momentInRegionalForm()
{
    // A German desktop writes the day first and the time with seconds.
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QDateTime moment(QDate(2026, 3, 1), QTime(7, 4, 8));
    const QString zeile = Protokollzeile(u"OnRinging"_s, u"CRingCount=1"_s, moment);
    QLocale::setDefault(vorher);
    QCOMPARE(zeile, u"\r\n01.03.2026 07:04:08 Event: OnRinging Values: CRingCount=1"_s);
}

QTEST_GUILESS_MAIN(tst_Protokollzeile)
#include "tst_Protokollzeile.moc"
