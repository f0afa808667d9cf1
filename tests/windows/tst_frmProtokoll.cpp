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

namespace {

const QDateTime Moment(QDate(2026, 12, 6), QTime(11, 30, 15));

QString zeile(const QString &ereignis, const QString &werte)
{
    return Protokollzeile(ereignis, werte, Moment);
}

} // namespace

class tst_frmProtokoll : public QObject
{
    Q_OBJECT

private slots:
    void namesAndTexts();
    void linesFollowOneAnother();
    void resetEmptiesAndStartsAgain();
    void keepsTheNewestLines();
    void closeBoxEmitsSignal_data();
    void closeBoxEmitsSignal();
    void tooNarrowSnapsBack_data();
    void tooNarrowSnapsBack();
    void layoutFollowsSize();
    void menuOpensAndClosesWindow();
    void closingWindowUnchecksMenuAndStopsLogging();
};

void tst_frmProtokoll::namesAndTexts()
{
    FakeSystem system;
    frmProtokoll f(system);
    QCOMPARE(f.objectName(), u"frmProtokoll"_s);
    QCOMPARE(f.windowTitle(), u"Rufmon - Tapi-Protokoll"_s);
    QCOMPARE(f.findChild<QPushButton *>(u"cmdReset"_s)->text(), u"&Löschen"_s);
    QCOMPARE(f.findChild<QPushButton *>(u"cmdClose"_s)->text(), u"&Beenden"_s);
    QVERIFY(f.findChild<QPlainTextEdit *>(u"txbProtokoll"_s));
    QVERIFY(f.Text().isEmpty());
}

void tst_frmProtokoll::linesFollowOneAnother()
{
    FakeSystem system;
    frmProtokoll f(system);
    f.setUhr([] { return Moment; });
    f.PrintProtokoll(u"OnCallState"_s, u"CCallstate=\"IDLE\"\r\nCCallID=7\r\nCCallHandle=5"_s);
    f.PrintProtokoll(u"OnRinging"_s, u"CRingMode=1\r\nCRingCount=2"_s);

    // Every line begins with its break, so the log begins with an empty line.
    QCOMPARE(f.Text(), zeile(u"OnCallState"_s, u"CCallstate=\"IDLE\"\r\nCCallID=7\r\nCCallHandle=5"_s)
                           + zeile(u"OnRinging"_s, u"CRingMode=1\r\nCRingCount=2"_s));
    const QStringList zeilen = f.txbProtokoll()->toPlainText().split(u'\n');
    QCOMPARE(zeilen.size(), 3);
    QVERIFY(zeilen[0].isEmpty());
    QVERIFY(zeilen[1].endsWith(u" Event: OnCallState Values: CCallstate=\"IDLE\", CCallID=7, CCallHandle=5"_s));
}

void tst_frmProtokoll::resetEmptiesAndStartsAgain()
{
    FakeSystem system;
    frmProtokoll f(system);
    f.setUhr([] { return Moment; });
    f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=1"_s);
    f.cmdReset()->click();
    QVERIFY(f.Text().isEmpty());
    f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);
    QCOMPARE(f.Text(), zeile(u"OnRinging"_s, u"CRingCount=2"_s));
}

void tst_frmProtokoll::keepsTheNewestLines()
{
    FakeSystem system;
    frmProtokoll f(system);
    f.setUhr([] { return Moment; });
    const int mehr = 37;
    for (int i = 0; i < frmProtokoll::MaxZeilen + mehr; ++i)
        f.PrintProtokoll(u"OnRinging"_s, u"CRingCount=%1"_s.arg(i));

    const QStringList zeilen = f.Text().split(u"\r\n"_s);
    QCOMPARE(zeilen.size(), 10000);
    // The oldest lines, the empty first one among them, went from the top.
    QVERIFY2(zeilen.first().endsWith(u"Values: CRingCount=%1"_s.arg(mehr)), qPrintable(zeilen.first()));
    QVERIFY2(zeilen.last().endsWith(u"Values: CRingCount=%1"_s.arg(10000 + mehr - 1)), qPrintable(zeilen.last()));
}

void tst_frmProtokoll::closeBoxEmitsSignal_data()
{
    QTest::addColumn<bool>("knopf");
    QTest::newRow("close box") << false;
    QTest::newRow("cmdClose") << true;
}

void tst_frmProtokoll::closeBoxEmitsSignal()
{
    QFETCH(bool, knopf);
    FakeSystem system;
    QPointer<frmProtokoll> f = new frmProtokoll(system);
    f->show();
    QSignalSpy geschlossen(f.data(), &frmProtokoll::Geschlossen);
    if (knopf)
        f->cmdClose()->click();
    else
        QVERIFY(f->close());
    QCOMPARE(geschlossen.count(), 1);
    // Closing discards the log: the window is gone.
    QTRY_VERIFY(f.isNull());
}

void tst_frmProtokoll::tooNarrowSnapsBack_data()
{
    QTest::addColumn<double>("twipsProPixel");
    QTest::newRow("96 dpi") << 15.0;
    QTest::newRow("120 dpi") << 12.0;
}

void tst_frmProtokoll::tooNarrowSnapsBack()
{
    QFETCH(double, twipsProPixel);
    FakeSystem system;
    system.twipsX = twipsProPixel;
    system.twipsY = twipsProPixel;
    frmProtokoll f(system);
    f.show();

    // 6000 twips wide and 4000 twips high: back to 7200 by 5100.
    f.resize(qRound(6000 / twipsProPixel), qRound(4000 / twipsProPixel));
    QCOMPARE(f.width(), qRound(7200 / twipsProPixel));
    QCOMPARE(f.height(), qRound(5100 / twipsProPixel));
    f.resize(qRound(9000 / twipsProPixel), qRound(6000 / twipsProPixel));
    QCOMPARE(f.width(), qRound(9000 / twipsProPixel));
    QCOMPARE(f.height(), qRound(6000 / twipsProPixel));
}

void tst_frmProtokoll::layoutFollowsSize()
{
    FakeSystem system;
    frmProtokoll f(system);
    f.show();
    f.resize(700, 500);

    const QRect text = f.txbProtokoll()->geometry();
    const int knopf = f.cmdReset()->height();
    QCOMPARE(text.width(), 700 - 2 * text.x());
    QCOMPARE(text.height(), 500 - text.y() - 3 * knopf);
    QCOMPARE(f.cmdReset()->x(), 700 / 3 - f.cmdReset()->width());
    QCOMPARE(f.cmdClose()->x(), 2 * 700 / 3);
    QCOMPARE(f.cmdReset()->y(), 500 - text.y() - knopf);
    QCOMPARE(f.cmdClose()->y(), f.cmdReset()->y());
    // The buttons sit below the text box, apart from each other.
    QVERIFY(f.cmdReset()->y() > text.bottom());
    QVERIFY(f.cmdReset()->geometry().right() < f.cmdClose()->x());
}

void tst_frmProtokoll::menuOpensAndClosesWindow()
{
    FakeSystem system;
    QWidget haupt;
    bool haken = false;
    Protokollbefehl befehl(system, [&haken](bool h) { haken = h; }, &haupt);

    befehl.mnuTAPIProtokoll(false);
    QVERIFY(haken);
    QPointer<frmProtokoll> f = befehl.Fenster();
    QVERIFY(f);
    QVERIFY(f->isVisible());
    befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=1"_s);
    QVERIFY(f->Text().endsWith(u" Event: OnRinging Values: CRingCount=1"_s));

    befehl.mnuTAPIProtokoll(true);
    QVERIFY(!haken);
    QTRY_VERIFY(f.isNull());

    // Opened again, the log starts afresh.
    befehl.mnuTAPIProtokoll(false);
    QVERIFY(befehl.Fenster());
    QVERIFY(befehl.Fenster()->Text().isEmpty());
}

void tst_frmProtokoll::closingWindowUnchecksMenuAndStopsLogging()
{
    FakeSystem system;
    QWidget haupt;
    bool haken = false;
    Protokollbefehl befehl(system, [&haken](bool h) { haken = h; }, &haupt);
    befehl.mnuTAPIProtokoll(false);
    QPointer<frmProtokoll> f = befehl.Fenster();

    QVERIFY(f->close());
    QVERIFY(!haken);
    QTRY_VERIFY(f.isNull());
    QVERIFY(!befehl.Fenster());
    // Nothing to write into any more, and nothing breaks.
    befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);
    QVERIFY(!befehl.Fenster());
}

QTEST_MAIN(tst_frmProtokoll)
#include "tst_frmProtokoll.moc"
