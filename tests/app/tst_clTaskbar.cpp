#include "app/clTaskbar.h"

#include "doubles/FakeSystem.h"
#include "platform/system/LinuxSystem.h"

#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

// Where the desktop's task bar is, and the screen corner next to it: on a
// desktop with the bar at another edge or another DPI a window placed there
// must still land fully visible and clear of it.
class tst_clTaskbar : public QObject
{
    Q_OBJECT

private slots:
    void ecke_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("bar");
        QTest::addColumn<double>("twipsX");
        QTest::addColumn<double>("twipsY");
        QTest::addColumn<QSize>("form");
        QTest::addColumn<int>("align");
        QTest::addColumn<QPoint>("expected");

        const QSize sxga(1280, 1024);
        const QSize status(280, 130);
        const QRect unten(0, 984, 1280, 40);
        const QPoint ecke(1280 - 280, 1024 - 130);

        QTest::newRow("bottom bar, 96 dpi") << sxga << unten << 15.0 << 15.0 << status << 3 << QPoint(1000, 854);
        QTest::newRow("bottom bar, odd dpi") << sxga << unten << 1440.0 / 110 << 1440.0 / 110 << status << 3
                                             << QPoint(1000, 854);
        QTest::newRow("bottom bar, unequal twips") << sxga << unten << 15.0 << 12.0 << status << 3
                                                   << QPoint(1000, 854);
        QTest::newRow("right bar, 120 dpi") << sxga << QRect(1216, 0, 64, 1024) << 12.0 << 12.0 << status << 1
                                            << QPoint(1280 - 280 - 64, 1024 - 130);
        QTest::newRow("left bar") << sxga << QRect(0, 0, 64, 1024) << 15.0 << 15.0 << status << 0 << ecke;
        QTest::newRow("top bar") << sxga << QRect(0, 0, 1280, 30) << 15.0 << 15.0 << status << 2 << ecke;
        // Without a task bar there is nothing to keep clear of: a bar of no
        // height at the top edge.
        QTest::newRow("no task bar") << sxga << QRect() << 15.0 << 15.0 << status << 2 << ecke;
    }
    void ecke()
    {
        QFETCH(QSize, screen);
        QFETCH(QRect, bar);
        QFETCH(double, twipsX);
        QFETCH(double, twipsY);
        QFETCH(QSize, form);

        FakeSystem system;
        system.screen = screen;
        system.taskbar = bar;
        system.twipsX = twipsX;
        system.twipsY = twipsY;
        QTEST(clTaskbar(system).TaskBarAlign(), "align");
        QTEST(clTaskbar(system).SnapPosition(form), "expected");
    }

    void snapFormToMovesTheWindow()
    {
        FakeSystem system;
        QWidget fenster;
        fenster.resize(200, 100);
        clTaskbar(system).SnapFormTo(&fenster);
        QCOMPARE(fenster.pos(), QPoint(1280 - 200, 1024 - 40 - 100));
        // No window, nothing to do.
        clTaskbar(system).SnapFormTo(nullptr);
    }

    void leisteAusBildschirm_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");

        const QRect fullHd(0, 0, 1920, 1080);
        QTest::newRow("bottom panel") << fullHd << QRect(0, 0, 1920, 1040) << QRect(0, 1040, 1920, 40);
        QTest::newRow("top panel") << fullHd << QRect(0, 32, 1920, 1048) << QRect(0, 0, 1920, 32);
        QTest::newRow("left dock") << fullHd << QRect(64, 0, 1856, 1080) << QRect(0, 0, 64, 1080);
        QTest::newRow("right dock") << fullHd << QRect(0, 0, 1856, 1080) << QRect(1856, 0, 64, 1080);
        QTest::newRow("no panel") << fullHd << fullHd << QRect();
        QTest::newRow("top and bottom panel: the wider") << fullHd << QRect(0, 24, 1920, 1016)
                                                         << QRect(0, 1040, 1920, 40);
        // In the screen's own coordinates: a left dock stays on the left.
        QTest::newRow("screen right of another, left dock") << QRect(1920, 0, 1280, 1024) << QRect(1968, 0, 1232, 1024)
                                                            << QRect(0, 0, 48, 1024);
        QTest::newRow("screen right of another, bottom panel") << QRect(1920, 0, 1280, 1024)
                                                               << QRect(1920, 0, 1280, 984) << QRect(0, 984, 1280, 40);
    }
    void leisteAusBildschirm()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, available);
        QTEST(LinuxSystem::taskbarFrom(screen, available), "expected");
    }
};

QTEST_MAIN(tst_clTaskbar)
#include "tst_clTaskbar.moc"
