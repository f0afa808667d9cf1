// The measures the layout is built from: the font factor and the sharing of
// a row's room among its columns.
#include "windows/Breitenverteilung.h"
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

    void verteilt_data()
    {
        QTest::addColumn<int>("platz");
        QTest::addColumn<QList<int>>("anteile");
        QTest::addColumn<QList<int>>("bedarf");
        QTest::addColumn<QList<int>>("breiten");

        // Short texts: the design's shares, room to spare left unused.
        QTest::newRow("shares fit") << 500 << QList<int>{100, 103, 100} << QList<int>{40, 90, 0}
                                    << QList<int>{100, 103, 100};
        // A need beyond its share is met when the room holds all wishes.
        QTest::newRow("need beyond share, room enough") << 500 << QList<int>{100, 100, 100}
                                                        << QList<int>{80, 212, 150} << QList<int>{100, 212, 150};
        // The wishes do not fit, the needs do: the rest goes to those that wished for
        // more, as much as each wished for (60 and 150 of the 150 left).
        QTest::newRow("needs fit, rest shared") << 450 << QList<int>{150, 150, 150} << QList<int>{90, 210, 0}
                                                << QList<int>{132, 210, 107};
        // Not even the needs fit: short texts whole, the long ones share what is left.
        QTest::newRow("needs do not fit") << 300 << QList<int>{100, 100, 100} << QList<int>{50, 200, 400}
                                          << QList<int>{50, 125, 125};
        QTest::newRow("one long, room for it but not the rest") << 100 << QList<int>{10, 10}
                                                                << QList<int>{30, 500} << QList<int>{30, 70};
        QTest::newRow("no room") << 0 << QList<int>{100, 100} << QList<int>{10, 10} << QList<int>{0, 0};
        QTest::newRow("negative room") << -20 << QList<int>{100} << QList<int>{10} << QList<int>{0};
        QTest::newRow("nothing to share") << 300 << QList<int>() << QList<int>() << QList<int>();
    }
    void verteilt()
    {
        QFETCH(int, platz);
        QFETCH(QList<int>, anteile);
        QFETCH(QList<int>, bedarf);
        const QList<int> ergebnis = VerteileBreiten(platz, anteile, bedarf);
        QTEST(ergebnis, "breiten");
        int summe = 0;
        for (int b : ergebnis)
            summe += b;
        // Whatever the wishes, never more than the room (unless the shares themselves fit).
        QVERIFY(summe <= std::max(platz, 0));
    }
};

QTEST_MAIN(tst_Schriftmass)
#include "tst_Schriftmass.moc"
