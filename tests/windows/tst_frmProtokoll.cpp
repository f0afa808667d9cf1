// The telephony log window and the menu command that shows and closes it.
#include "telephony/Protokollzeile.h"
#include "windows/Protokollbefehl.h"
#include "windows/frmProtokoll.h"

#include "doubles/FakeSystem.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_frmProtokoll : public QObject
{
    Q_OBJECT

private slots:
    void linesAndReset();
    void keepsTheNewestLines();
    void sizeAndLayout_data();
    void sizeAndLayout();
    void closingUnchecksMenu_data();
    void closingUnchecksMenu();
};

void tst_frmProtokoll::linesAndReset()
{
    const QDateTime moment(QDate(2026, 12, 6), QTime(11, 30, 15));
    FakeSystem system;
    frmProtokoll f(system);
    f.setUhr([moment] { return moment; });
    f.PrintProtokoll(u"OnCallState"_s, u"CCallstate=\"IDLE\"\r\nCCallID=7"_s);
    f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);
    // Every line begins with its break, so the log begins with an empty line.
    QCOMPARE(f.Text(), Protokollzeile(u"OnCallState"_s, u"CCallstate=\"IDLE\"\r\nCCallID=7"_s, moment)
                           + Protokollzeile(u"OnRinging"_s, u"CRingCount=2"_s, moment));
    QCOMPARE(f.txbProtokoll()->toPlainText().split(u'\n').size(), 3);
    QVERIFY(!f.txbProtokoll()->toPlainText().contains(u'\r'));

    f.cmdReset()->click();
    QVERIFY(f.Text().isEmpty());
    f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=3"_s);
    QCOMPARE(f.Text(), Protokollzeile(u"OnRinging"_s, u"CRingCount=3"_s, moment));
}

void tst_frmProtokoll::keepsTheNewestLines()
{
    FakeSystem system;
    frmProtokoll f(system);
    const int mehr = 37;
    for (int i = 0; i < frmProtokoll::MaxZeilen + mehr; ++i)
        f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=%1"_s.arg(i));

    const QStringList zeilen = f.Text().split(u"\r\n"_s);
    QCOMPARE(zeilen.size(), 10000);
    // The oldest lines, the empty first one among them, went from the top.
    QVERIFY2(zeilen.first().endsWith(u"Values: CRingCount=%1"_s.arg(mehr)), qPrintable(zeilen.first()));
    QVERIFY2(zeilen.last().endsWith(u"Values: CRingCount=%1"_s.arg(10000 + mehr - 1)), qPrintable(zeilen.last()));
}

void tst_frmProtokoll::sizeAndLayout_data()
{
    QTest::addColumn<double>("twipsProPixel");
    QTest::newRow("96 dpi") << 15.0;
    QTest::newRow("120 dpi") << 12.0;
}

void tst_frmProtokoll::sizeAndLayout()
{
    QFETCH(double, twipsProPixel);
    FakeSystem system;
    system.twipsX = twipsProPixel;
    system.twipsY = twipsProPixel;
    frmProtokoll f(system);
    f.show();
    const auto pixel = [twipsProPixel](int twips) { return qRound(twips / twipsProPixel); };

    // At least 7200 by 5100 twips.
    f.resize(pixel(6000), pixel(4000));
    QCOMPARE(f.size(), QSize(pixel(7200), pixel(5100)));

    // The text box fills the width; the buttons share a row below it,
    // apart from each other and inside the window.
    f.resize(700, 500);
    const QRect text = f.txbProtokoll()->geometry();
    const QRect reset = f.cmdReset()->geometry();
    const QRect zu = f.cmdClose()->geometry();
    QCOMPARE(text.width(), 700 - 2 * text.x());
    QVERIFY(reset.top() > text.bottom());
    QCOMPARE(zu.top(), reset.top());
    QVERIFY(reset.right() < zu.left());
    QVERIFY(reset.left() > 0 && zu.right() < 700 && reset.bottom() < 500);
    // Taller window: the text box takes the height, the buttons move down.
    f.resize(700, 600);
    QCOMPARE(f.txbProtokoll()->height(), text.height() + 100);
    QCOMPARE(f.cmdReset()->y(), reset.y() + 100);
}

void tst_frmProtokoll::closingUnchecksMenu_data()
{
    QTest::addColumn<int>("wie");
    QTest::newRow("menu item again") << 0;
    QTest::newRow("close box") << 1;
    QTest::newRow("cmdClose") << 2;
}

void tst_frmProtokoll::closingUnchecksMenu()
{
    QFETCH(int, wie);
    FakeSystem system;
    QWidget haupt;
    bool haken = false;
    Protokollbefehl befehl(system, [&haken](bool h) { haken = h; }, &haupt);

    befehl.mnuTAPIProtokoll(false);
    QVERIFY(haken);
    QPointer<frmProtokoll> f = befehl.Fenster();
    QVERIFY(f && f->isVisible());
    befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=1"_s);
    QVERIFY(f->Text().endsWith(u" Event: OnRinging Values: CRingCount=1"_s));

    QSignalSpy geschlossen(f.data(), &frmProtokoll::Geschlossen);
    if (wie == 0)
        befehl.mnuTAPIProtokoll(true);
    else if (wie == 1)
        QVERIFY(f->close());
    else
        f->cmdClose()->click();
    QCOMPARE(geschlossen.count(), 1);
    QVERIFY(!haken);
    // Closing discards the log: the window is gone.
    QTRY_VERIFY(f.isNull());
    QVERIFY(!befehl.Fenster());
    // Nothing to write into any more, and nothing breaks.
    befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);

    // Opened again, the log starts afresh.
    befehl.mnuTAPIProtokoll(false);
    QVERIFY(haken);
    QVERIFY(befehl.Fenster());
    QVERIFY(befehl.Fenster()->Text().isEmpty());
}

QTEST_MAIN(tst_frmProtokoll)
#include "tst_frmProtokoll.moc"
