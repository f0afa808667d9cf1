// Where a window goes so that its frame lies on the free part of the screen.
#include "windows/Fensterplatz.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_Fensterplatz : public QObject
{
    Q_OBJECT

private slots:
    // A screen of 800 x 600 with a panel of 32 pixels at the top, and one
    // right of it with a dock at its left.
    void eingepasst_data()
    {
        QTest::addColumn<QPoint>("wunsch");
        QTest::addColumn<QSize>("rahmen");
        QTest::addColumn<QRect>("frei");
        QTest::addColumn<QPoint>("ecke");
        const QRect oben(0, 32, 800, 568);
        const QSize klein(300, 200);
        QTest::newRow("inside stays") << QPoint(100, 100) << klein << oben << QPoint(100, 100);
        QTest::newRow("at the edges stays") << QPoint(500, 400) << klein << oben << QPoint(500, 400);
        QTest::newRow("below the bottom edge") << QPoint(100, 420) << klein << oben << QPoint(100, 400);
        QTest::newRow("beyond the right edge") << QPoint(700, 100) << klein << oben << QPoint(500, 100);
        QTest::newRow("under the panel") << QPoint(100, 10) << klein << oben << QPoint(100, 32);
        QTest::newRow("left of the screen") << QPoint(-40, 100) << klein << oben << QPoint(0, 100);
        QTest::newRow("beyond two edges") << QPoint(900, 900) << klein << oben << QPoint(500, 400);
        QTest::newRow("larger than the free part: its corner") << QPoint(50, 50) << QSize(900, 700) << oben
                                                                << QPoint(0, 32);
        QTest::newRow("higher only: the top, the side kept") << QPoint(50, 50) << QSize(300, 700) << oben
                                                              << QPoint(50, 32);
        const QRect rechts(848, 0, 752, 1200);
        QTest::newRow("second screen, left of its dock") << QPoint(820, 100) << klein << rechts << QPoint(848, 100);
        QTest::newRow("second screen, beyond its bottom") << QPoint(1000, 1100) << klein << rechts
                                                          << QPoint(1000, 1000);
        QTest::newRow("no screen: as wished") << QPoint(900, 900) << klein << QRect() << QPoint(900, 900);
    }
    void eingepasst()
    {
        QFETCH(QPoint, wunsch);
        QFETCH(QSize, rahmen);
        QFETCH(QRect, frei);
        QTEST(Fensterplatz::Eingepasst(wunsch, rahmen, frei), "ecke");
    }
};

QTEST_MAIN(tst_Fensterplatz)
#include "tst_Fensterplatz.moc"
