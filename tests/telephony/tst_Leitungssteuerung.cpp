// The line as the window shows it: the telephony panel and the tray's tool
// tip through on, off and a connection that is refused or drops, and the
// question after a lost line, which answers itself once the line is back.
// A router's call monitor on a real TCP port of the test's own.
#include "app/Infobereich.h"
#include "app/Uebergabe.h"
#include "app/frmHaupt.h"
#include "platform/dialogs/Frage.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Leitungssteuerung.h"
#include "windows/StatusPanel.h"

#include "doubles/AufzeichnendeAnzeige.h"
#include "doubles/FakeTapi.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/Umgebung.h"

#include <QLoggingCategory>
#include <QPushButton>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The main window over a router line and the simulator, with the tray's icon.
struct Leitung : Umgebung
{
    QTcpServer router;
    quint16 port = 0;
    TelephonyControl tapi{store};
    RecordingTeilsysteme teile;
    std::unique_ptr<frmHaupt> fenster;
    std::unique_ptr<Leitungsteile> teileDerLeitung;
    std::unique_ptr<Infobereich> tray;

    explicit Leitung(const QString &geraet = {})
    {
        // A port nothing listens on: the router refuses until it listens there.
        QTcpServer frei;
        frei.listen(QHostAddress::LocalHost);
        port = frei.serverPort();
        frei.close();
        auto *monitor = new CallMonitorDevice(u"127.0.0.1"_s, port, store);
        monitor->setRetryIntervalMs(20);
        monitor->setGraceSeconds(1);
        tapi.setDevices({monitor, new SimulatorDevice});
        if (!geraet.isEmpty())
            store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, geraet);
        fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{store, dialogs, clipboard, system, tapi, teile, schalter});
        teileDerLeitung = std::make_unique<Leitungsteile>(tapi, *fenster, *fenster, dialogs, optionen, schalter);
        fenster->anbinden(*teileDerLeitung);
        fenster->Form_Load();
        fenster->show();
        teileDerLeitung->Leitung().setNeuerVersuchMs(20);
        tray = std::make_unique<Infobereich>(*fenster, tapi, true);
    }
    ~Leitung()
    {
        tray.reset();
        fenster->close();
    }

    bool routerDa() { return router.listen(QHostAddress::LocalHost, port); }
    QString panel() const { return fenster->Panel(frmHaupt::Statusfeld::Telefon)->Text(); }
    QString name() const { return u"Anrufmonitor 127.0.0.1:%1"_s.arg(port); }
};

} // namespace

class tst_Leitungssteuerung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(u"rufmon.telephony.info=true"_s); }

    // Whether the monitor is on is the line control's own state, not a
    // picture on a button: it holds without a window, a line that does not
    // open leaves it off, and every switch is announced.
    void monitorStateWithoutAWindow_data()
    {
        QTest::addColumn<bool>("oeffnet");
        QTest::addColumn<QList<bool>>("zustaende"); // Aktiv() after each of three clicks
        QTest::newRow("line opens") << true << QList<bool>{true, false, true};
        QTest::newRow("line refuses") << false << QList<bool>{false, false, false};
    }
    void monitorStateWithoutAWindow()
    {
        QFETCH(bool, oeffnet);
        Umgebung u;
        FakeTapi tapi;
        tapi.devices = {u"Rufmon-Simulator"_s};
        tapi.oeffnetLeitung = oeffnet;
        AufzeichnendeAnzeige anzeige;
        Anrufereignisse ereignisse(tapi, anzeige, anzeige, u.schalter);
        Leitungssteuerung leitung(tapi, anzeige, u.dialogs, u.optionen, ereignisse, anzeige);
        QSignalSpy gemeldet(&leitung, &Leitungssteuerung::MonitorGeaendert);
        QVERIFY(!leitung.Aktiv());
        QList<bool> zustaende;
        for (int i = 0; i < 3; ++i) {
            leitung.cmdInitTapi_Click();
            zustaende << leitung.Aktiv();
        }
        QTEST(zustaende, "zustaende");
        QCOMPARE(tapi.offen, oeffnet);
        QList<bool> angesagt;
        for (const QList<QVariant> &s : gemeldet)
            angesagt << s[0].toBool();
        // A refused line switches nothing, and says so by silence.
        QCOMPARE(angesagt, oeffnet ? zustaende : QList<bool>{});
    }

    // "TAPI aktiv" once the line is open and watching, nothing once it is
    // off, the device's reason while its connection is down; the tray's
    // tool tip says the same.
    void panelFollowsTheLine_data()
    {
        QTest::addColumn<QString>("geraet");
        QTest::addColumn<bool>("routerDa");
        QTest::addColumn<QString>("eingeschaltet"); // the panel once switched on

        QTest::newRow("simulator") << u"Rufmon-Simulator"_s << false << u"TAPI aktiv"_s;
        QTest::newRow("router answers") << QString() << true << u"TAPI aktiv"_s;
        QTest::newRow("router refuses, then answers")
            << QString() << false << u"Keine Verbindung: Verbindung abgelehnt"_s;
    }
    void panelFollowsTheLine()
    {
        QFETCH(QString, geraet);
        QFETCH(bool, routerDa);
        QFETCH(QString, eingeschaltet);

        Leitung l(geraet);
        if (routerDa)
            QVERIFY(l.routerDa());
        QCOMPARE(l.panel(), QString());
        l.fenster->Menu(Menuepunkt::mnuTAPI)->trigger();
        QVERIFY(l.fenster->MonitorAktiv());
        QTRY_COMPARE(l.panel(), eingeschaltet);
        QCOMPARE(l.tray->ToolTip(), u"Rufmon\n"_s + eingeschaltet);
        if (eingeschaltet != u"TAPI aktiv"_s) {
            QVERIFY(l.fenster->Panel(frmHaupt::Statusfeld::Telefon)->ToolTipText().contains(l.name()));
            // The router is back: so is the panel's claim.
            QVERIFY(l.routerDa());
            QTRY_COMPARE(l.panel(), u"TAPI aktiv"_s);
            QCOMPARE(l.tray->ToolTip(), u"Rufmon\nTAPI aktiv"_s);
        }

        // Ctrl+T: off, and nothing in the panel says otherwise, nor in the tray.
        l.fenster->Menu(Menuepunkt::mnuTAPI)->trigger();
        QVERIFY(!l.fenster->MonitorAktiv());
        QCOMPARE(l.panel(), QString());
        QCOMPARE(l.tray->ToolTip(), u"Rufmon"_s);
        QCOMPARE(PruefeUebergabe({u"--anruf"_s, u"0301234567"_s}, l.tapi), u"Der Tapimonitor ist nicht aktiv."_s);
        QCOMPARE(l.dialogs.boxes().size(), 0);
    }

    // The router restarts and stays away past the grace period: the line is
    // switched off and the question waits. Meanwhile the line is tried again
    // quietly; once it is back, the question closes as if "Ja" had been
    // chosen. Answered "Nein", the monitor stays off and so do the attempts.
    void lostLineComesBackByItself_data()
    {
        QTest::addColumn<bool>("nein");
        QTest::newRow("back by itself") << false;
        QTest::newRow("answered no") << true;
    }
    void lostLineComesBackByItself()
    {
        QFETCH(bool, nein);
        Leitung l;
        QVERIFY(l.routerDa());
        l.fenster->Menu(Menuepunkt::mnuTAPIProtokoll)->setChecked(true);
        QSignalSpy protokoll(l.fenster.get(), &frmHaupt::Telefonieprotokollzeile);
        l.fenster->cmdInitTapi()->click();
        QVERIFY(l.router.waitForNewConnection(5000));
        std::unique_ptr<QTcpSocket> verbindung(l.router.nextPendingConnection());
        QTRY_COMPARE(l.panel(), u"TAPI aktiv"_s);

        l.router.close();
        verbindung->abort();
        QTRY_COMPARE_WITH_TIMEOUT(l.dialogs.offeneFragen().size(), 1, 10000);
        const QPointer<Frage> frage = l.dialogs.offeneFragen().constFirst();
        QSignalSpy beantwortet(frage.get(), &Frage::Beantwortet);
        const ScriptedDialogs::Box box = l.dialogs.boxes().constLast();
        QCOMPARE(box.kind, u"Frage"_s);
        QCOMPARE(box.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(box.icon, Dialogs::Icon::Question);
        QVERIFY2(box.text.startsWith(u"Das Tapi-Gerät \""_s + l.name() + u"\" hat die Verbindung abgebrochen."_s),
                 qPrintable(box.text));
        QVERIFY(box.text.endsWith(u"\r\nSoll Rufmon wieder aktiviert werden?"_s));
        QVERIFY(!l.fenster->MonitorAktiv());
        QCOMPARE(l.fenster->windowTitle(), u"Rufmon"_s);
        // Tried again quietly, past another grace period: no second box.
        QTRY_COMPARE(l.panel(), u"Keine Verbindung: Verbindung abgelehnt"_s);
        QTest::qWait(1500);
        QCOMPARE(l.dialogs.boxes().size(), 1);
        QVERIFY(frage && frage->Offen());
        QVERIFY(!l.fenster->MonitorAktiv());

        if (nein) {
            frage->Schliessen(Dialogs::Answer::No);
            QVERIFY(!l.tapi.LineOpen());
            QVERIFY(l.routerDa());
            QTest::qWait(300);
            QVERIFY(!l.router.hasPendingConnections());
            QVERIFY(!l.fenster->MonitorAktiv());
            QVERIFY(l.dialogs.offeneFragen().isEmpty());
            return;
        }

        const QString wieder = u"Die Verbindung zu „%1“ ist wieder da; Rufmon wird wieder aktiviert."_s.arg(l.name());
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QRegularExpression::escape(wieder)));
        QVERIFY(l.routerDa());
        QTRY_VERIFY(l.fenster->MonitorAktiv());
        QVERIFY(l.dialogs.offeneFragen().isEmpty());
        QCOMPARE(beantwortet.size(), 1);
        QCOMPARE(beantwortet.at(0).at(0).value<Dialogs::Answer>(), Dialogs::Answer::Yes);
        QCOMPARE(l.panel(), u"TAPI aktiv"_s);
        QCOMPARE(l.fenster->windowTitle(), u"Rufmon ist aktiv"_s);
        QVERIFY(l.router.hasPendingConnections() || l.router.waitForNewConnection(1000));
        bool geloggt = false;
        for (const QList<QVariant> &zeile : protokoll)
            geloggt = geloggt || (zeile.value(0).toString() == u"Leitung"_s && zeile.value(1).toString() == wieder);
        QVERIFY(geloggt);
        QCOMPARE(l.dialogs.boxes().size(), 1);
    }
};

QTEST_MAIN(tst_Leitungssteuerung)
#include "tst_Leitungssteuerung.moc"
