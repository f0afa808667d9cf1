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
    void initTestCase();
    void cleanupTestCase();

    void text_data();
    void text();
    void lesen_data();
    void lesen();
    void rundreise_data();
    void rundreise();

private:
    QLocale m_vorher;
};

void tst_RegionalSettings::initTestCase()
{
    m_vorher = QLocale();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_RegionalSettings::cleanupTestCase()
{
    QLocale::setDefault(m_vorher);
}

void tst_RegionalSettings::text_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("expected");

    QTest::newRow("single digits padded") << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))
                                          << u"05.03.2024 07:08:09"_s;
    QTest::newRow("last second of the year") << QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59))
                                             << u"31.12.2025 23:59:59"_s;
    QTest::newRow("midnight") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0))
                              << u"01.01.2000 00:00:00"_s;
    QTest::newRow("afternoon in 24 hours") << QDateTime(QDate(2024, 2, 29), QTime(15, 4, 0))
                                           << u"29.02.2024 15:04:00"_s;
}

void tst_RegionalSettings::text()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, expected);
    QCOMPARE(RegionalSettings::DateTimeText(moment), expected);
}

void tst_RegionalSettings::lesen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<QDate>("datum");
    QTest::addColumn<QTime>("zeit");

    QTest::newRow("regional with seconds") << u"05.03.2024 07:08:09"_s << true << QDate(2024, 3, 5)
                                           << QTime(7, 8, 9);
    QTest::newRow("seconds kept") << u"31.12.2024 23:59:59"_s << true << QDate(2024, 12, 31)
                                  << QTime(23, 59, 59);
    QTest::newRow("date alone is midnight") << u"02.01.2025"_s << true << QDate(2025, 1, 2)
                                            << QTime(0, 0, 0);
    QTest::newRow("iso") << u"2024-03-05 07:08:09"_s << true << QDate(2024, 3, 5) << QTime(7, 8, 9);
    QTest::newRow("blanks around") << u"  05.03.2024 07:08:09 "_s << true << QDate(2024, 3, 5)
                                   << QTime(7, 8, 9);
    QTest::newRow("leap day") << u"29.02.2024 12:00:00"_s << true << QDate(2024, 2, 29)
                              << QTime(12, 0, 0);
    QTest::newRow("empty") << QString() << false << QDate() << QTime();
    QTest::newRow("blanks only") << u"   "_s << false << QDate() << QTime();
    QTest::newRow("letters") << u"abc"_s << false << QDate() << QTime();
    QTest::newRow("day and month out of range") << u"32.13.2024"_s << false << QDate() << QTime();
    QTest::newRow("no such day") << u"30.02.2024"_s << false << QDate() << QTime();
    QTest::newRow("no leap day") << u"29.02.2023"_s << false << QDate() << QTime();
    QTest::newRow("hour out of range") << u"05.03.2024 25:00:00"_s << false << QDate() << QTime();
}

void tst_RegionalSettings::lesen()
{
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    QFETCH(QDate, datum);
    QFETCH(QTime, zeit);

    const std::optional<QDateTime> moment = RegionalSettings::ParseDateTime(text);
    QCOMPARE(moment.has_value(), gueltig);
    if (!gueltig)
        return;
    QVERIFY(moment->isValid());
    QCOMPARE(moment->date(), datum);
    QCOMPARE(moment->time(), zeit);
}

void tst_RegionalSettings::rundreise_data()
{
    QTest::addColumn<QDateTime>("moment");

    QTest::newRow("morning") << QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9));
    QTest::newRow("new year's eve") << QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59));
    QTest::newRow("new year") << QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0));
    QTest::newRow("one second past midnight") << QDateTime(QDate(2025, 1, 2), QTime(0, 0, 1));
    QTest::newRow("long ago") << QDateTime(QDate(1999, 7, 14), QTime(12, 30, 45));
}

void tst_RegionalSettings::rundreise()
{
    QFETCH(QDateTime, moment);
    const std::optional<QDateTime> gelesen =
        RegionalSettings::ParseDateTime(RegionalSettings::DateTimeText(moment));
    QVERIFY(gelesen.has_value());
    QCOMPARE(gelesen->date(), moment.date());
    QCOMPARE(gelesen->time(), moment.time());
}

QTEST_GUILESS_MAIN(tst_RegionalSettings)
#include "tst_RegionalSettings.moc"
