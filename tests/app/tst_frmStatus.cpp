#include "app/frmStatus.h"

#include "doubles/FakeSystem.h"

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QTest>

#include <iterator>

using namespace Qt::StringLiterals;

// The pictures live in a static library; a test that links it registers them
// itself, as the main window does in the program.
static void ladeBilder()
{
    Q_INIT_RESOURCE(rufmon);
}

static QImage bannerBild(int nummer)
{
    return QIcon(u":/banner/banner_%1.svg"_s.arg(nummer, 2, 10, QChar(u'0'))).pixmap(QSize(240, 40)).toImage();
}

// The start-up window's banner runs back and forth through its pictures
// while the program loads, one step per tick.
class tst_frmStatus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void banner_data();
    void banner();
    void inDerEcke();
};

void tst_frmStatus::initTestCase()
{
    ladeBilder();
    // The picture checks below only mean something if every step looks different.
    for (int a = 1; a <= 6; ++a) {
        QVERIFY2(!bannerBild(a).isNull(), qPrintable(u"banner %1 missing"_s.arg(a)));
        for (int b = a + 1; b <= 6; ++b)
            QVERIFY(bannerBild(a) != bannerBild(b));
    }
}

void tst_frmStatus::banner_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("bild");
    const int folge[] = {1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1, 2, 3};
    for (int ticks = 0; ticks < int(std::size(folge)); ++ticks)
        QTest::addRow("tick %d", ticks) << ticks << folge[ticks];
}

void tst_frmStatus::banner()
{
    QFETCH(int, ticks);
    QFETCH(int, bild);
    FakeSystem system;
    frmStatus fenster(system);
    for (int i = 0; i < ticks; ++i)
        fenster.Timer1_Timer();
    QCOMPARE(fenster.Bildnummer(), bild);
    const auto *banner = fenster.findChild<QLabel *>(u"imBanner"_s);
    QVERIFY(banner);
    QCOMPARE(banner->pixmap().toImage(), bannerBild(bild));
}

void tst_frmStatus::inDerEcke()
{
    FakeSystem system;
    system.screen = QSize(1280, 1024);
    system.taskbar = QRect(0, 984, 1280, 40);
    frmStatus fenster(system);
    // Bottom right, on top of the 40 pixels of task bar.
    const QSize groesse = fenster.frameGeometry().size();
    QCOMPARE(fenster.pos(), QPoint(1280 - groesse.width(), 1024 - 40 - groesse.height()));
}

QTEST_MAIN(tst_frmStatus)
#include "tst_frmStatus.moc"
