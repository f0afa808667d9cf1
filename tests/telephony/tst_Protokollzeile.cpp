// The line the telephony log appends for an event.
#include "telephony/Protokollzeile.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Protokollzeile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void format_data();
    void format();
};

void tst_Protokollzeile::format_data()
{
    QTest::addColumn<QString>("ereignis");
    QTest::addColumn<QString>("werte");
    QTest::addColumn<QString>("hinten"); // the line after the moment

    QTest::newRow("call state, three values")
        << u"OnCallState"_s << u"CCallstate=\"IDLE\"\r\nCCallID=7\r\nCCallHandle=5"_s
        << u" Event: OnCallState Values: CCallstate=\"IDLE\", CCallID=7, CCallHandle=5"_s;
    QTest::newRow("no values") << u"OnDeviceChanged"_s << QString() << u" Event: OnDeviceChanged Values: "_s;
    QTest::newRow("line break at the end") << u"OnBusy"_s << u"CBusyMode=\"STATION\"\r\n"_s
                                          << u" Event: OnBusy Values: CBusyMode=\"STATION\", "_s;
    // A driver's text with a bare line break must not split the line either.
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

    // A German desktop writes the day first and the time with seconds.
    const QDateTime moment(QDate(2026, 3, 1), QTime(7, 4, 8));
    QCOMPARE(Protokollzeile(ereignis, werte, moment), u"\r\n01.03.2026 07:04:08"_s + hinten);
}

QTEST_GUILESS_MAIN(tst_Protokollzeile)
#include "tst_Protokollzeile.moc"
