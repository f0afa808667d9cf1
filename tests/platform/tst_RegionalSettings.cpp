#include "platform/registry/RegionalSettings.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

// The moments of calls are stored and shown as text in the user's regional
// form and read back for sorting and filtering, so writing and reading must
// agree to the second.
class tst_RegionalSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(m_vorher); }

    void lesen_data()
    {
        QTest::addColumn<QString>("text");
        // Invalid when the text cannot be read.
        QTest::addColumn<QDateTime>("expected");
        QTest::addColumn<bool>("geschrieben"); // exactly as the moment is written

        const QDateTime morgens(QDate(2024, 3, 5), QTime(7, 8, 9));
        QTest::newRow("regional with seconds") << u"05.03.2024 07:08:09"_s << morgens << true;
        QTest::newRow("blanks around") << u"  05.03.2024 07:08:09 "_s << morgens << false;
        QTest::newRow("iso") << u"2024-03-05 07:08:09"_s << morgens << false;
        QTest::newRow("date alone is midnight") << u"02.01.2025"_s << QDateTime(QDate(2025, 1, 2), QTime(0, 0)) << false;
        QTest::newRow("time alone is on day zero") << u"07:08:09"_s << QDateTime(QDate(1899, 12, 30), QTime(7, 8, 9))
                                                   << false;
        QTest::newRow("leap day, evening") << u"29.02.2024 23:59:59"_s << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59))
                                           << true;
        QTest::newRow("empty") << QString() << QDateTime() << false;
        QTest::newRow("letters") << u"abc"_s << QDateTime() << false;
        QTest::newRow("letter in the year") << u"05.03.2O24 07:08:09"_s << QDateTime() << false;
        QTest::newRow("day and month out of range") << u"32.13.2024 12:00:00"_s << QDateTime() << false;
        QTest::newRow("no such day") << u"30.02.2024 12:00:00"_s << QDateTime() << false;
        QTest::newRow("hour out of range") << u"05.03.2024 25:00:00"_s << QDateTime() << false;
    }
    void lesen()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QFETCH(bool, geschrieben);

        if (geschrieben)
            QCOMPARE(RegionalSettings::DateTimeText(expected), text);
        const std::optional<QDateTime> moment = RegionalSettings::ParseDateTime(text);
        QCOMPARE(moment.has_value(), expected.isValid());
        if (moment)
            QCOMPARE(*moment, expected);
    }

    // Other regional forms go through the general formats, which must still keep
    // four-digit years and the seconds.
    void rundreise_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QDateTime>("moment");

        for (const char *name : {"de_DE", "de_CH", "en_US", "en_GB", "fr_FR", "it_IT", "nl_NL", "es_ES"}) {
            QTest::addRow("%s, afternoon", name) << QString::fromLatin1(name)
                                                << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
            QTest::addRow("%s, morning long ago", name) << QString::fromLatin1(name)
                                                       << QDateTime(QDate(1999, 7, 4), QTime(0, 0, 1));
        }
    }
    void rundreise()
    {
        QFETCH(QString, locale);
        QFETCH(QDateTime, moment);

        QLocale::setDefault(QLocale(locale));
        const QString text = RegionalSettings::DateTimeText(moment);
        const std::optional<QDateTime> gelesen = RegionalSettings::ParseDateTime(text);
        QVERIFY2(gelesen, qPrintable(text));
        QCOMPARE(*gelesen, moment);
        // No remains of the time zone that is left out.
        QVERIFY2(!text.contains(u'(') && text == text.trimmed(), qPrintable(text));
    }

private:
    const QLocale m_vorher;
};

QTEST_GUILESS_MAIN(tst_RegionalSettings)
#include "tst_RegionalSettings.moc"
