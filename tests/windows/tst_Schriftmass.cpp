#include "windows/Schriftmass.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Schriftmass : public QObject
{
    Q_OBJECT

private slots:
    // The factor follows the font's letters: twice the pixel size, twice the
    // factor; screens with other twips per pixel measure the same font in twips.
    void faktor_data()
    {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<double>("twipsProPixel");
        QTest::newRow("96 dpi") << 24 << 15.0;
        QTest::newRow("120 dpi") << 24 << 12.0;
    }
    void faktor()
    {
        QFETCH(int, pixel);
        QFETCH(double, twipsProPixel);
        QFont schrift = QApplication::font();
        schrift.setPixelSize(pixel);
        const Schriftmass mass(schrift, twipsProPixel);
        QFont doppelt = schrift;
        doppelt.setPixelSize(2 * pixel);
        const Schriftmass gross(doppelt, twipsProPixel);

        const QString buchstaben = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"_s;
        const double breite = QFontMetricsF(schrift).horizontalAdvance(buchstaben) / 52;
        QCOMPARE(mass.Faktor(), breite * twipsProPixel / 90);
        QVERIFY(mass.Faktor() > 1.5);
        QVERIFY(qAbs(gross.Faktor() / mass.Faktor() - 2) < 0.1);
    }

    // A font smaller than the design's keeps the design sizes.
    void kleineSchrift()
    {
        QFont schrift = QApplication::font();
        schrift.setPixelSize(6);
        const Schriftmass mass(schrift, 15);
        QCOMPARE(mass.Faktor(), 1.0);
        QCOMPARE(mass.px(489), 489);
    }
};

QTEST_MAIN(tst_Schriftmass)
#include "tst_Schriftmass.moc"
