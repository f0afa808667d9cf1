// The windows the main window's menus open beside it: the telephony log, the
// driver information and the about box, each with its menu command.
#include "telephony/Treiberinformation.h"
#include "windows/Infobefehl.h"
#include "windows/Telefonieprotokollbefehl.h"
#include "windows/TapiInfobefehl.h"
#include "windows/frmInfo.h"
#include "windows/frmProtokoll.h"
#include "windows/frmTapiInfo.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"
#include "doubles/Umgebung.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A device whose every query answers something of its own, so that each
// piece of the text shows where it came from; among the flag lists one with
// a missing "<", one that is none, and an empty one.
class Geraet : public FakeTapi
{
public:
    LineDevice::Faehigkeiten Faehigkeiten(std::int32_t d) const override
    {
        LineDevice::Faehigkeiten f = FakeTapi::Faehigkeiten(d);
        f.providerInfo = u"Provider%1"_s.arg(d);
        f.switchInfo = u"Switch%1"_s.arg(d);
        f.apiVersion = 65540 + d;
        f.mediaModes = u"<M1><M2>"_s;
        f.addressModes = u"<A1>"_s;
        f.parkModes = u"keine"_s;
        f.busyModes = u"<B1>>B2>"_s;
        f.callFeatures.clear();
        return f;
    }
};

struct Box
{
    FakeTapi tapi;
    FakeSystem system;
    frmInfo f{tapi, system};
};

} // namespace

class tst_Menuefenster : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void logLines_data()
    {
        QTest::addColumn<QString>("ereignis");
        QTest::addColumn<QString>("werte");
        QTest::addColumn<QString>("hinten"); // the line after the moment

        // Every kind of line break in the values, a driver's bare ones too, keeps the entry on one line.
        QTest::newRow("line breaks")
            << u"OnCallerID"_s << u"CCallstate=\"IDLE\"\r\nCName=\"Meier\nKöln\"\r\nErrorText=\"a\rb\"\r\n"_s
            << u" Event: OnCallerID Values: CCallstate=\"IDLE\", CName=\"Meier, Köln\", ErrorText=\"a, b\", "_s;
        QTest::newRow("no values") << u"OnDeviceChanged"_s << QString() << u" Event: OnDeviceChanged Values: "_s;
    }
    void logLines()
    {
        QFETCH(QString, ereignis);
        QFETCH(QString, werte);
        QFETCH(QString, hinten);
        FakeSystem system;
        frmProtokoll f(system);
        f.setUhr([] { return QDateTime(QDate(2026, 3, 1), QTime(7, 4, 8)); });
        // A German desktop writes the day first and the time with seconds. Every
        // line begins with its break, so the log begins with an empty line.
        const QString zeile = u"\r\n01.03.2026 07:04:08"_s + hinten;
        f.PrintProtokoll(ereignis, werte);
        f.PrintProtokoll(ereignis, werte);
        QCOMPARE(f.Text(), zeile + zeile);
        QCOMPARE(f.txbProtokoll()->toPlainText().split(u'\n').size(), 3);
        QVERIFY(!f.txbProtokoll()->toPlainText().contains(u'\r'));

        f.cmdReset()->click();
        QVERIFY(f.Text().isEmpty());
        f.PrintProtokoll(ereignis, werte);
        QCOMPARE(f.Text(), zeile);
    }

    void logKeepsTheNewestLines()
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

    // The log follows its newest line and shows it from its start, time and
    // event first, however long the values run on.
    void logShowsLineStarts()
    {
        FakeSystem system;
        frmProtokoll f(system);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QString werte = u"CNumber=\"0043316123456789\"\r\nCName=\"%1\""_s.arg(QString(300, u'x'));
        // Events come one by one, the window breathing in between.
        for (int i = 0; i < 60; ++i) {
            f.PrintProtokoll(u"OnCallerID"_s, werte);
            QCoreApplication::processEvents();
        }
        QPlainTextEdit *text = f.txbProtokoll();
        QVERIFY(text->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(text->horizontalScrollBar()->value(), 0);
        QVERIFY(text->verticalScrollBar()->value() > 0);
        QCOMPARE(text->verticalScrollBar()->value(), text->verticalScrollBar()->maximum());
    }

    void logClosingUnchecksMenu_data()
    {
        QTest::addColumn<int>("wie");
        QTest::newRow("menu item again") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("cmdClose") << 2;
    }
    void logClosingUnchecksMenu()
    {
        QFETCH(int, wie);
        Umgebung u;
        QWidget haupt;
        const auto haken = [&u] { return u.schalter.gesetzt(Optionsschalter::Schalter::Telefonieprotokoll); };
        Telefonieprotokollbefehl befehl(u.system, u.schalter, &haupt);

        befehl.mnuTAPIProtokoll(false);
        QVERIFY(haken());
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
        QVERIFY(!haken());
        // Closing discards the log: the window is gone.
        QTRY_VERIFY(f.isNull());
        QVERIFY(!befehl.Fenster());
        // Nothing to write into any more, and nothing breaks.
        befehl.PrintProtokoll(u"OnRinging"_s, u"CRingCount=2"_s);

        // Opened again, the log starts afresh.
        befehl.mnuTAPIProtokoll(false);
        QVERIFY(haken());
        QVERIFY(befehl.Fenster());
        QVERIFY(befehl.Fenster()->Text().isEmpty());
    }

    void driverText_data()
    {
        QTest::addColumn<QString>("letzterAnruf");
        QTest::addColumn<QStringList>("zeilen"); // lines that follow each other in the text
        QTest::addColumn<int>("ab");             // where they start; -1: anywhere

        QTest::newRow("the current device's answers, groups apart")
            << QString() << QStringList{u"Device:\tModem /dev/ttyACM0"_s, QString(), u"Tapiversion:\t65541"_s,
                                        u"Providerinfo:\tProvider1"_s, u"Switchinfo:\tSwitch1"_s, QString(),
                                        u"Tapidevice Modes"_s}
            << 0;
        QTest::newRow("a flag a line") << QString()
                                       << QStringList{u"Media:\t\tM1"_s, u"\t\tM2"_s, u"Adress:\t\tA1"_s} << -1;
        QTest::newRow("a text that is no list as it is") << QString() << QStringList{u"Park:\tkeine"_s} << -1;
        QTest::newRow("a missing '<'") << QString() << QStringList{u"Busy:\t\tB1"_s, u"\t\tB2"_s} << -1;
        QTest::newRow("the last call first")
            << u"CNumber:0221123\r\n"_s
            << QStringList{u"Letzter CallEvent:"_s, u"CNumber:0221123"_s, QString(), QString(),
                           u"Device:\tModem /dev/ttyACM0"_s}
            << 0;
    }
    void driverText()
    {
        QFETCH(QString, letzterAnruf);
        QFETCH(QStringList, zeilen);
        QFETCH(int, ab);
        Geraet tapi;
        tapi.devices = {u"Rufmon-Simulator"_s, u"Modem /dev/ttyACM0"_s};
        tapi.current = 1;
        const QStringList text = Treiberinformation(tapi, letzterAnruf).split(u"\r\n"_s);
        const qsizetype i = text.indexOf(zeilen.first());
        QVERIFY2(ab < 0 ? i >= 0 : i == ab, qPrintable(text.join(u'|')));
        QCOMPARE(text.mid(i, zeilen.size()), zeilen);
        // An empty list leaves its label last.
        QCOMPARE(text.last(), u"Features:\t"_s);
    }

    // The control's text with the last call before it, shown until OK.
    void driverCommandShowsTextOfControlModally()
    {
        FakeTapi tapi;
        tapi.devices = {u"Rufmon-Simulator"_s};
        QWidget haupt;
        TapiInfobefehl befehl(tapi, [] { return u"CNumber:0221123\r\n"_s; }, &haupt);

        QString gezeigt, anzeige;
        bool nurLesen = false;
        QTimer::singleShot(0, this, [&] {
            auto *f = qobject_cast<frmTapiInfo *>(QApplication::activeModalWidget());
            QVERIFY(f);
            gezeigt = f->Info();
            anzeige = f->txbInfo()->toPlainText();
            nurLesen = f->txbInfo()->isReadOnly();
            f->cmdOK()->click();
        });
        befehl.mnuTapiInfos();

        QCOMPARE(gezeigt, Treiberinformation(tapi, u"CNumber:0221123\r\n"_s));
        // Read-only, the same lines, empty ones included, without stray CRs.
        QVERIFY(nurLesen);
        QCOMPARE(anzeige.split(u'\n'), gezeigt.split(u"\r\n"_s));
    }

    void aboutCreditsRunWhileShown()
    {
        Box b;
        QVERIFY(!b.f.Timer1().isActive());
        b.f.show();
        QTRY_VERIFY(b.f.Scrollposition() > 2);
        b.f.close();
        QVERIFY(!b.f.Timer1().isActive());
    }

    // Escape closes the driver information when let go, wherever the focus is,
    // other keys never; the about box closes on Escape or a click anywhere, the
    // link opening the manual page, but not on Return.
    void closing_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("taste"); // 0: a click
        QTest::addColumn<bool>("schliesst");
        QTest::addColumn<QList<QUrl>>("geoeffnet");
        const QList<QUrl> keine;
        for (const QString &ziel : {u"txbInfo"_s, u"cmdOK"_s, u"frmTapiInfo"_s})
            QTest::addRow("driver: Esc on %s", qPrintable(ziel)) << false << ziel << int(Qt::Key_Escape) << true << keine;
        QTest::newRow("driver: a on the text") << false << u"txbInfo"_s << int(Qt::Key_A) << false << keine;
        QTest::newRow("driver: space on the window") << false << u"frmTapiInfo"_s << int(Qt::Key_Space) << false << keine;
        QTest::newRow("about: click on the window") << true << u"frmInfo"_s << 0 << true << keine;
        QTest::newRow("about: click on a label") << true << u"lbVersion"_s << 0 << true << keine;
        QTest::newRow("about: click on the link") << true << u"lbLink"_s << 0 << true
                                                  << QList<QUrl>{QUrl(u"man:rufmon(1)"_s)};
        QTest::newRow("about: Esc") << true << u"frmInfo"_s << int(Qt::Key_Escape) << true << keine;
        QTest::newRow("about: Return") << true << u"frmInfo"_s << int(Qt::Key_Return) << false << keine;
    }
    void closing()
    {
        QFETCH(bool, about);
        QFETCH(QString, ziel);
        QFETCH(int, taste);
        QFETCH(bool, schliesst);
        Box b;
        frmTapiInfo info;
        QWidget &f = about ? static_cast<QWidget &>(b.f) : info;
        f.show();
        QWidget *w = ziel == f.objectName() ? &f : f.findChild<QWidget *>(ziel);
        QVERIFY(w);
        if (taste == 0) {
            // On the window itself: a spot where no control lies.
            QTest::mouseClick(w, Qt::LeftButton, {}, w == &f ? QPoint(4, f.height() - 4) : w->rect().center());
        } else {
            QTest::keyPress(w, Qt::Key(taste));
            QVERIFY(about || f.isVisible());
            QTest::keyRelease(w, Qt::Key(taste));
        }
        QCOMPARE(f.isVisible(), !schliesst);
        QTEST(b.system.openedUrls, "geoeffnet");
    }

    void aboutCommandShowsBoxModally()
    {
        FakeTapi tapi;
        FakeSystem system;
        QWidget haupt;
        Infobefehl befehl(tapi, system, &haupt);
        QStringList texte;
        QTimer::singleShot(0, this, [&] {
            auto *f = qobject_cast<frmInfo *>(QApplication::activeModalWidget());
            QVERIFY(f);
            texte << f->lbVersion()->text() << f->lbCopyright()->text().split(u'\n');
            QTest::keyClick(f, Qt::Key_Escape);
        });
        befehl.imBanner_Click();
        QCOMPARE(texte.size(), 3);
        QCOMPARE(texte[0], u"Version "_s + QStringLiteral(RUFMON_VERSION_TEXT));
        QCOMPARE(texte[2], u"TopTapi: Fake 1.0"_s);
    }
};

QTEST_MAIN(tst_Menuefenster)
#include "tst_Menuefenster.moc"
