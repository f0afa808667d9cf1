#include "app/frmStatus.h"

#include "doubles/FakeSystem.h"

#include <QImage>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

// The start-up window's banner runs back and forth through its pictures
// while the program loads, one step per tick.
class tst_frmStatus : public QObject
{
    Q_OBJECT

private slots:
    // The pictures live in a static library; a test that links it registers
    // them itself, as the main window does in the program.
    void initTestCase() { Q_INIT_RESOURCE(rufmon); }

    void banner()
    {
        FakeSystem system;
        frmStatus fenster(system);
        const auto *banner = fenster.findChild<QLabel *>(u"imBanner"_s);
        QVERIFY(banner);
        QList<int> folge;
        for (int tick = 0; tick < 12; ++tick) {
            folge << fenster.Bildnummer();
            const QImage vorher = banner->pixmap().toImage();
            QVERIFY(!vorher.isNull());
            fenster.Timer1_Timer();
            QVERIFY(banner->pixmap().toImage() != vorher);
        }
        QCOMPARE(folge, (QList<int>{1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 2}));
    }

    void inDerEcke()
    {
        FakeSystem system;
        system.screen = QSize(1280, 1024);
        system.taskbar = QRect(0, 984, 1280, 40);
        frmStatus fenster(system);
        // Bottom right, on top of the 40 pixels of task bar.
        const QSize groesse = fenster.frameGeometry().size();
        QCOMPARE(fenster.pos(), QPoint(1280 - groesse.width(), 1024 - 40 - groesse.height()));
    }
};

QTEST_MAIN(tst_frmStatus)
#include "tst_frmStatus.moc"
