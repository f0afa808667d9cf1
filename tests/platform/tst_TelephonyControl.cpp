#include "windows/StatusPanel.h"
#include "app/Uebergabe.h"
#include "app/frmHaupt.h"
#include "telephony/Anrufereignisse.h"
#include "core/modHaupt.h"
#include "platform/instance/SingleInstance.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/GeraeteEinstellungen.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Treiberinformation.h"

#include "doubles/Leitungsereignisse.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/Umgebung.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

// The control over its devices, with the simulator as the device; and end to
// end, the main window with the control and a line named only in the
// settings, a call monitor on a TCP socket, down to the identification.
class tst_TelephonyControl : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_tapi.reset(); // before the settings it reads
        m_u = std::make_unique<Umgebung>();
        m_tapi = std::make_unique<TelephonyControl>(m_u->store);
        m_sim = new SimulatorDevice;
        m_sim->setTakt(20, 100);
        m_zweiter = new SimulatorDevice;
        m_tapi->setDevices({m_sim, m_zweiter});
        m_zeilen.clear();
        topTapi &tapi = *m_tapi;
        Leitungsereignisse::zeichneAuf(tapi, this, m_zeilen);
        Leitungsereignisse::zeichne(tapi, this, m_zeilen, &topTapi::OnError, u"OnError"_s);
    }

    void simulatedCall()
    {
        m_tapi->OpenLine();
        QVERIFY(m_tapi->LineOpen());
        QVERIFY(m_sim->anruf(u"0301234567"_s, u"Müller"_s));
        QTRY_COMPARE(m_zeilen, (QStringList{u"AnrufKommt(1,1)"_s, u"Klingelt(1)"_s,
                                            u"AnruferBekannt(1,1,0301234567,Müller,Nummer)"_s, u"Klingelt(2)"_s,
                                            u"Klingelt(3)"_s, u"Beendet(1,1,Aufgelegt)"_s}));
    }

    void eventsThatDoNotPass()
    {
        QSignalSpy diagnose(m_tapi.get(), &TelephonyControl::Diagnose);
        QVERIFY(!m_sim->anruf(u"0301"_s));
        QCOMPARE(diagnose.count(), 1);
        m_tapi->OpenLine();
        m_zweiter->openLine();
        m_zweiter->anruf(u"0402"_s);
        emit m_zweiter->OnError(u"fremd"_s, u"Simulator"_s, 1013);
        QCOMPARE(m_zeilen, QStringList());

        // While events are off they wait, in order and with the moment they
        // came; errors pass at once.
        m_tapi->setEventsEnabled(false);
        QDateTime angekommen;
        QDateTime gemeldet;
        connect(m_tapi.get(), &topTapi::AnruferBekannt, this, [&] { gemeldet = m_tapi->Ereigniszeit(); });
        m_sim->anruf(u"0301"_s);
        angekommen = QDateTime::currentDateTime();
        emit m_sim->OnError(u"weg"_s, u"Simulator"_s, 1013);
        QCOMPARE(m_zeilen, QStringList{u"OnError(weg,Simulator,1013)"_s});
        QCOMPARE(m_tapi->WartendeAnrufe(), 1);
        QTest::qWait(300);
        QCOMPARE(m_zeilen.size(), 1);
        m_tapi->setEventsEnabled(true);
        QTRY_COMPARE(m_zeilen.value(3), u"AnruferBekannt(1,1,0301,,Nummer)"_s);
        QCOMPARE(m_zeilen.mid(1, 2), (QStringList{u"AnrufKommt(1,1)"_s, u"Klingelt(1)"_s}));
        QVERIFY2(qAbs(gemeldet.msecsTo(angekommen)) < 100, qPrintable(gemeldet.toString(u"HH:mm:ss.zzz"_s)));
        QCOMPARE(m_tapi->WartendeAnrufe(), 0);
        QTRY_COMPARE(m_zeilen.last(), u"Beendet(1,1,Aufgelegt)"_s);
        m_zeilen.clear();

        // Closing mid-call lets the pending rings and the hang-up of that call
        // lapse, also when the line is open again at once; so do events that
        // wait when the line is closed.
        m_tapi->setEventsEnabled(false);
        m_sim->anruf(u"0309"_s);
        m_tapi->CloseLine();
        m_tapi->OpenLine();
        m_tapi->setEventsEnabled(true);
        QTest::qWait(50);
        QCOMPARE(m_zeilen, QStringList());
        m_sim->anruf(u"0302"_s);
        QCOMPARE(m_zeilen.value(2), u"AnruferBekannt(3,3,0302,,Nummer)"_s);
        m_tapi->CloseLine();
        m_tapi->OpenLine();
        QTest::qWait(200);
        QCOMPARE(m_zeilen.size(), 3);

        // Choosing another device closes the line of the old one.
        m_tapi->setDeviceIndex(1);
        QVERIFY(!m_sim->isOpen());
        QVERIFY(!m_tapi->LineOpen());
    }

    void deviceQueries()
    {
        QCOMPARE(m_tapi->DeviceName(5), QString());
        QCOMPARE(m_tapi->AddressName(0, 0), u"Simulierte Leitung"_s);
        QCOMPARE(m_tapi->AddressName(0, 1), QString());
        QCOMPARE(m_tapi->Faehigkeiten(9).callStates, QString());
        QCOMPARE(m_tapi->Faehigkeiten(9).apiVersion, 0);
        // The driver information reads the simulator's answers through the control.
        const QString info = Treiberinformation(*m_tapi, QString());
        QVERIFY2(info.contains(u"(eingebaut)"_s) && info.contains(u"\tOFFERING\r\n"_s), qPrintable(info));
    }

    void handOverFromASecondStart_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("zeile");

        QTest::newRow("call with name") << QStringList{u"--anruf"_s, u"0301234567"_s, u"--name"_s, u"Jürgen Müller"_s}
                                        << u"AnruferBekannt(1,1,0301234567,Jürgen Müller,Nummer)"_s;
        QTest::newRow("call without number") << QStringList{u"--anruf"_s, QString()}
                                             << u"AnruferBekannt(1,1,,,NichtVerfuegbar)"_s;
        QTest::newRow("connected number") << QStringList{u"--verbunden"_s, u"0891"_s} << u"VerbundenMit(1,1,0891)"_s;
        // As from the router and the modem: no control characters reach the list or the log.
        QTest::newRow("control characters")
            << QStringList{u"--anruf"_s, u"030\x1b[2J12\u009b34"_s, u"--name"_s, u"Mü\nller\x7f"_s}
            << u"AnruferBekannt(1,1,030[2J1234,Müller,Nummer)"_s;
        // Nor do the invisible ones that would show a number other than the one dialled.
        QTest::newRow("format characters")
            << QStringList{u"--anruf"_s, u"\u202E7654321030\u2069"_s, u"--name"_s, u"Mü\u200Bller\uFEFF"_s}
            << u"AnruferBekannt(1,1,7654321030,Müller,Nummer)"_s;
    }
    void handOverFromASecondStart()
    {
        QFETCH(QStringList, argumente);
        QFETCH(QString, zeile);

        const QString programm = QString::fromLocal8Bit(qgetenv("RUFMON_BIN"));
        if (programm.isEmpty())
            QSKIP("RUFMON_BIN does not name the built program");
        const QString laufzeit = m_u->dir.filePath(u"run"_s);
        QDir().mkpath(laufzeit);
        QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", laufzeit.toUtf8());

        // This process is the running program; the real one hands the call over.
        SingleInstance instanz(m_u->dir.filePath(u"config/Rufmon/Rufmon.conf"_s));
        QVERIFY(instanz.tryBecomePrimary());
        connect(&instanz, &SingleInstance::argumentsReceived, this, [this](const QStringList &a) {
            FuehreUebergabeAus(a, *m_tapi);
            // The identification lets events run for a while; the channel of the
            // second start closes meanwhile and must not pull the ground away.
            QTest::qWait(300);
        });
        m_tapi->OpenLine();

        QProcess zweiter;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, m_u->dir.filePath(u"config"_s));
        env.insert(u"XDG_RUNTIME_DIR"_s, laufzeit);
        env.remove(u"DISPLAY"_s);
        zweiter.setProcessEnvironment(env);
        zweiter.start(programm, argumente);
        QVERIFY(zweiter.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_zeilen.contains(zeile), 10000);
        // The running program keeps its event loop going while the other one ends.
        QTRY_COMPARE_WITH_TIMEOUT(zweiter.state(), QProcess::NotRunning, 10000);
        QCOMPARE(zweiter.exitCode(), 0);
    }

    void callMonitorThroughTheMainWindow()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString adresse = u"127.0.0.1:%1"_s.arg(server.serverPort());
        Umgebung &u = *m_u;
        IniSettingsStore &store = u.store;
        store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, adresse);
        store.SaveSetting(u"Telefonie"_s, u"Modems"_s, u"/dev/ttyRufmonTest"_s);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Anrufmonitor "_s + adresse);
        RecordingTeilsysteme teile;
        TelephonyControl tapi(store);
        frmHaupt fenster(frmHauptUmgebung{store, u.dialogs, u.clipboard, u.system, tapi, teile, u.schalter});
        Leitungsteile leitung(tapi, fenster, fenster, u.dialogs, u.optionen, u.schalter);
        fenster.anbinden(leitung);
        QStringList angekommen; // numbers the identification was started with
        QObject::connect(&leitung.Ereignisse(), &Anrufereignisse::Anrufer, &fenster,
                         [&](const QString &n, const QString &, const QString &p) { angekommen << n + u' ' + p; });
        fenster.Form_Load();
        fenster.show();

        // Without devices of its own the control takes the configured ones, the
        // simulator last; the saved one is chosen.
        QStringList geraete;
        for (int i = 0; i < fenster.cbxTapiDevices()->count(); ++i)
            geraete << fenster.cbxTapiDevices()->itemText(i);
        QCOMPARE(geraete,
                 (QStringList{u"Anrufmonitor "_s + adresse, u"Modem /dev/ttyRufmonTest"_s, u"Rufmon-Simulator"_s}));
        QCOMPARE(fenster.cbxTapiDevices()->currentIndex(), 0);
        fenster.cmdInitTapi()->click();
        QVERIFY(fenster.MonitorAktiv());

        QVERIFY(server.waitForNewConnection(5000));
        QTcpSocket *router = server.nextPendingConnection();
        router->write("06.12.26 12:00:00;RING;0;0301234567;4711;SIP0;\r\n");
        QTRY_COMPARE(angekommen, QStringList{u"0301234567 <ADDRESS>"_s});
        router->write("06.12.26 12:00:09;DISCONNECT;0;0;\r\n");
        QTRY_COMPARE(fenster.Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"TAPI aktiv"_s);
        fenster.close();
    }

    void renamedDeviceStaysChosen()
    {
        // The user gives the router another address in the device's settings.
        struct NeueAdresse : GeraeteEinstellungen
        {
            void Einstellen(LineDevice &d) override
            {
                if (auto *monitor = qobject_cast<CallMonitorDevice *>(&d))
                    monitor->saveEndpoint(u"neu.example"_s, 2000);
            }
            void Waehlregeln(SettingsStore &) override {}
            QString Hinzufuegen(SettingsStore &, Kennwortspeicher &) override { return {}; }
        } einstellungen;
        Umgebung &u = *m_u;
        IniSettingsStore &store = u.store;
        store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"alt.example"_s);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Anrufmonitor alt.example:1012"_s);
        RecordingTeilsysteme teile;
        struct Gestartet
        {
            std::unique_ptr<frmHaupt> fenster;
            std::unique_ptr<Leitungsteile> leitung;
            frmHaupt *operator->() const { return fenster.get(); }
        };
        const auto starte = [&](TelephonyControl &tapi) {
            Gestartet g;
            g.fenster = std::make_unique<frmHaupt>(
                frmHauptUmgebung{store, u.dialogs, u.clipboard, u.system, tapi, teile, u.schalter});
            g.leitung = std::make_unique<Leitungsteile>(tapi, *g.fenster, *g.fenster, u.dialogs, u.optionen, u.schalter);
            g.fenster->anbinden(*g.leitung);
            g.fenster->Form_Load();
            return g;
        };
        {
            TelephonyControl tapi(store);
            tapi.setEinstellungen(&einstellungen);
            auto fenster = starte(tapi);
            fenster->Menu(Menuepunkt::mnuTapiEinstellungen)->trigger();
            // The list, the caption and the saved choice follow at once.
            QCOMPARE(fenster->cbxTapiDevices()->currentText(), u"Anrufmonitor neu.example:2000"_s);
            QCOMPARE(fenster->Menu(Menuepunkt::mnuTapiTreiber)->text(), u"T&API (Anrufmonitor neu.example:2000)"_s);
            QCOMPARE(store.GetSetting(u"Optionen"_s, u"TapiDevice"_s, {}), u"Anrufmonitor neu.example:2000"_s);
            fenster->close();
        }
        // The next start finds it, not the simulator.
        TelephonyControl tapi(store);
        auto fenster = starte(tapi);
        QCOMPARE(fenster->cbxTapiDevices()->currentText(), u"Anrufmonitor neu.example:2000"_s);
        QCOMPARE(tapi.CurrentDeviceName(), u"Anrufmonitor neu.example:2000"_s);
        fenster->close();
    }

private:
    QStringList m_zeilen; // every event of the control, in order
    std::unique_ptr<Umgebung> m_u; // anew for every test
    std::unique_ptr<TelephonyControl> m_tapi;
    SimulatorDevice *m_sim = nullptr;
    SimulatorDevice *m_zweiter = nullptr;
};

QTEST_MAIN(tst_TelephonyControl)
#include "tst_TelephonyControl.moc"
