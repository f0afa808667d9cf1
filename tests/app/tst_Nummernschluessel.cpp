// The number key as one table: numbers as people write them in Germany,
// Austria and Switzerland and from abroad, extensions, text around them,
// junk; each with the home country it is read in.
#include "core/Nummernschluessel.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_Nummernschluessel : public QObject
{
    Q_OBJECT

private slots:
    void schluessel_data()
    {
        QTest::addColumn<QString>("geschrieben");
        QTest::addColumn<QString>("heimat");
        QTest::addColumn<QString>("schluessel");
        const QString de = u"49"_s, at = u"43"_s, ch = u"41"_s;
        QTest::newRow("as the line delivers it") << u"0301234567"_s << de << u"0301234567"_s;
        QTest::newRow("blanks, slash, dash") << u"030 / 123 45-67"_s << de << u"0301234567"_s;
        QTest::newRow("brackets") << u"(030) 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("home country with +") << u"+49 30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("home country with 00") << u"0049 30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("(0) after the country code") << u"+49 (0)89 / 12 34 56-0"_s << de << u"0891234560"_s;
        QTest::newRow("(0) after 00 and the code") << u"0049 (0)30 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("trunk zero written twice") << u"+49 030 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("extension stays digits") << u"030 1234567-12"_s << de << u"030123456712"_s;
        QTest::newRow("text before") << u"Tel. 030 1234567"_s << de << u"0301234567"_s;
        QTest::newRow("a word ends it") << u"030 1234567 Zentrale"_s << de << u"0301234567"_s;
        QTest::newRow("a second number is not added") << u"030 1234567 oder 1234568"_s << de << u"0301234567"_s;
        QTest::newRow("Austria at home") << u"+43 316 123456"_s << at << u"0316123456"_s;
        QTest::newRow("Austria from Germany") << u"+43 (0)316 123456"_s << de << u"0043316123456"_s;
        QTest::newRow("Switzerland at home") << u"+41 44 123 45 67"_s << ch << u"0441234567"_s;
        QTest::newRow("Germany from Switzerland") << u"+49 30 1234567"_s << ch << u"0049301234567"_s;
        QTest::newRow("abroad, dashes") << u"+1 (555) 123-4567"_s << de << u"0015551234567"_s;
        QTest::newRow("abroad with 00 stays") << u"0033 1 23 45 67 89"_s << de << u"0033123456789"_s;
        QTest::newRow("no home country known") << u"+49 30 1234567"_s << QString() << u"0049301234567"_s;
        QTest::newRow("mobile with dots") << u"0171.123.45.67"_s << de << u"01711234567"_s;
        QTest::newRow("empty") << QString() << de << QString();
        QTest::newRow("no digit") << u"keine Angabe"_s << de << QString();
        QTest::newRow("plus alone") << u"+"_s << de << QString();
        QTest::newRow("other scripts' digits do not count") << u"٠٣٠ 123"_s << de << u"123"_s;
    }

    void schluessel()
    {
        QFETCH(QString, geschrieben);
        QFETCH(QString, heimat);
        QFETCH(QString, schluessel);
        QCOMPARE(Nummernschluessel::schluessel(geschrieben, heimat), schluessel);
    }

    void heimatvorwahl()
    {
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000407"_s), u"49"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000C07"_s), u"43"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000807"_s), u"41"_s);
        QCOMPARE(Nummernschluessel::Heimatvorwahl(u"00000409"_s), QString());
    }
};

QTEST_GUILESS_MAIN(tst_Nummernschluessel)
#include "tst_Nummernschluessel.moc"
