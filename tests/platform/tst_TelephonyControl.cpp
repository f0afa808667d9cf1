#include "app/Uebergabe.h"
#include "platform/instance/SingleInstance.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Treiberinformation.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Writes every event of the control in order, as text.
struct Mitschrift : QObject
{
    QStringList zeilen;

    explicit Mitschrift(topTapi &t)
    {
        connect(&t, &topTapi::OnCallState, this, [this](const QString &s, std::int32_t h, std::int32_t id) {
            zeilen << u"State %1 %2 %3"_s.arg(s).arg(h).arg(id);
        });
        connect(&t, &topTapi::OnCallerID, this,
                [this](const QString &n, const QString &na, const QString &p, std::int32_t id, std::int32_t h) {
                    zeilen << u"CallerID %1|%2|%3 %4 %5"_s.arg(n, na, p).arg(id).arg(h);
                });
        connect(&t, &topTapi::OnConnectedID, this, [this](const QString &n, std::int32_t id, std::int32_t h) {
            zeilen << u"ConnectedID %1 %2 %3"_s.arg(n).arg(id).arg(h);
        });
        connect(&t, &topTapi::OnRinging, this,
                [this](std::int32_t m, std::int32_t c) { zeilen << u"Ringing %1 %2"_s.arg(m).arg(c); });
        connect(&t, &topTapi::OnOffering, this,
                [this](const QString &m, std::int32_t h) { zeilen << u"Offering %1 %2"_s.arg(m).arg(h); });
        connect(&t, &topTapi::OnConnected, this,
                [this](const QString &m, std::int32_t h) { zeilen << u"Connected %1 %2"_s.arg(m).arg(h); });
        connect(&t, &topTapi::OnDisconnected, this,
                [this](const QString &m, std::int32_t h) { zeilen << u"Disconnected %1 %2"_s.arg(m).arg(h); });
        connect(&t, &topTapi::OnError, this, [this](const QString &text, const QString &, std::int32_t n) {
            zeilen << u"Error %1 %2"_s.arg(n).arg(text);
        });
    }
};

} // namespace

// The control over its devices, with the simulator as the device.
class tst_TelephonyControl : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void simulatedCall();
    void callWithoutNumber();
    void closedLineRaisesNothing();
    void eventsOfOtherDevicesAndWhileDisabledAreDropped();
    void dialingIsRecordedAndAnswered();
    void deviceQueriesAndNames();
    void handOverFromASecondStart_data();
    void handOverFromASecondStart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<IniSettingsStore> m_store;
    std::unique_ptr<TelephonyControl> m_tapi;
    SimulatorDevice *m_sim = nullptr;
    SimulatorDevice *m_zweiter = nullptr;
};

void tst_TelephonyControl::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<IniSettingsStore>(m_dir->filePath(u"Rufmon.conf"_s));
    m_tapi = std::make_unique<TelephonyControl>(*m_store);
    m_sim = new SimulatorDevice;
    m_sim->setTakt(20, 100);
    m_zweiter = new SimulatorDevice;
    m_tapi->setDevices({m_sim, m_zweiter});
}

void tst_TelephonyControl::simulatedCall()
{
    Mitschrift m(*m_tapi);
    m_tapi->setDeviceIndex(0);
    m_tapi->OpenLine();
    QVERIFY(m_tapi->LineOpen());
    QVERIFY(m_sim->anruf(u"0301234567"_s, u"Müller"_s));
    QTRY_COMPARE(m.zeilen.size(), 9);
    const QStringList erwartet = {
        u"State OFFERING 1 1"_s,  u"Offering <OWNER> 1"_s, u"Ringing 0 1"_s,
        u"CallerID 0301234567|Müller|<ADDRESS> 1 1"_s,
        u"Ringing 0 2"_s,         u"Ringing 0 3"_s,
        u"State DISCONNECTED 1 1"_s, u"Disconnected <NORMAL> 1"_s, u"State IDLE 1 1"_s,
    };
    QCOMPARE(m.zeilen, erwartet);
}

void tst_TelephonyControl::callWithoutNumber()
{
    Mitschrift m(*m_tapi);
    m_tapi->OpenLine();
    m_sim->anruf(QString());
    QCOMPARE(m.zeilen.value(3), u"CallerID ||<UNAVAIL> 1 1"_s);
    m_sim->verbunden(u"0891"_s);
    QVERIFY(m.zeilen.contains(u"ConnectedID 0891 2 2"_s));
}

void tst_TelephonyControl::closedLineRaisesNothing()
{
    Mitschrift m(*m_tapi);
    QSignalSpy diagnose(m_tapi.get(), &TelephonyControl::Diagnose);
    QVERIFY(!m_sim->anruf(u"0301"_s));
    QCOMPARE(diagnose.count(), 1);
    // Closing mid-call lets the pending rings of that call lapse.
    m_tapi->OpenLine();
    m_sim->anruf(u"0301"_s);
    m_tapi->CloseLine();
    QTest::qWait(200);
    QVERIFY(!m.zeilen.contains(u"Ringing 0 2"_s));
    QVERIFY(!m.zeilen.contains(u"State IDLE 1 1"_s));
}

void tst_TelephonyControl::eventsOfOtherDevicesAndWhileDisabledAreDropped()
{
    Mitschrift m(*m_tapi);
    m_tapi->OpenLine();
    m_zweiter->openLine();
    m_zweiter->anruf(u"0402"_s);
    QCOMPARE(m.zeilen.size(), 0);

    m_tapi->setEventsEnabled(false);
    m_sim->anruf(u"0301"_s);
    QCOMPARE(m.zeilen.size(), 0);
    // Errors pass also while events are off.
    emit m_sim->OnError(u"weg"_s, u"Simulator"_s, 1013);
    QCOMPARE(m.zeilen, QStringList{u"Error 1013 weg"_s});
    m_tapi->setEventsEnabled(true);
    m_sim->anruf(u"0302"_s);
    QVERIFY(m.zeilen.contains(u"CallerID 0302||<ADDRESS> 2 2"_s));

    // Choosing another device closes the line of the old one.
    m_tapi->setDeviceIndex(1);
    QVERIFY(!m_sim->isOpen());
    QVERIFY(!m_tapi->LineOpen());
}

void tst_TelephonyControl::dialingIsRecordedAndAnswered()
{
    Mitschrift m(*m_tapi);
    m_tapi->OpenLine();
    m_tapi->Dial(u"00301234567"_s, 0);
    QCOMPARE(m_sim->gewaehlt(), QStringList{u"00301234567"_s});
    QCOMPARE(m.zeilen.first(), u"State DIALTONE 1 1"_s);
    QTRY_VERIFY(m.zeilen.contains(u"State CONNECTED 1 1"_s));
    QTRY_VERIFY(m.zeilen.contains(u"State IDLE 1 1"_s));
}

void tst_TelephonyControl::deviceQueriesAndNames()
{
    QCOMPARE(m_tapi->DeviceCount(), 2);
    QCOMPARE(m_tapi->DeviceName(0), u"Rufmon-Simulator"_s);
    QCOMPARE(m_tapi->DeviceName(5), QString());
    QCOMPARE(m_tapi->AddressName(0, 0), u"Simulierte Leitung"_s);
    QCOMPARE(m_tapi->AddressName(0, 1), QString());
    QCOMPARE(m_tapi->ApiVersion(0), 0x00020000);
    QVERIFY(m_tapi->CallStates(0).contains(u"<OFFERING>"_s));
    QCOMPARE(m_tapi->CallStates(9), QString());
    QVERIFY(m_tapi->Version().startsWith(u"Rufmon-Telefonie "_s));
    // The driver information tells the simulator's capabilities.
    const QString info = Treiberinformation(*m_tapi, QString());
    QVERIFY(info.startsWith(u"Device:\tRufmon-Simulator\r\n\r\nTapiversion:\t131072\r\n"_s));
    QVERIFY(info.contains(u"Providerinfo:\tRufmon-Simulator (eingebaut)\r\n"_s));
    QVERIFY(info.contains(u"States:\t\tOFFERING\r\n\t\tCONNECTED\r\n"_s));

    // Without devices of its own the control takes the configured ones.
    TelephonyControl leer(*m_store);
    leer.Initialize();
    QVERIFY(leer.DeviceCount() >= 1);
    QCOMPARE(leer.DeviceName(0), u"Rufmon-Simulator"_s);
}

void tst_TelephonyControl::handOverFromASecondStart_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<QString>("zeile");

    QTest::newRow("call with name") << QStringList{u"--anruf"_s, u"0301234567"_s, u"--name"_s, u"Jürgen Müller"_s}
                                    << u"CallerID 0301234567|Jürgen Müller|<ADDRESS> 1 1"_s;
    QTest::newRow("call without number") << QStringList{u"--anruf"_s, QString()} << u"CallerID ||<UNAVAIL> 1 1"_s;
    QTest::newRow("connected number") << QStringList{u"--verbunden"_s, u"0891"_s} << u"ConnectedID 0891 1 1"_s;
}

void tst_TelephonyControl::handOverFromASecondStart()
{
    QFETCH(QStringList, argumente);
    QFETCH(QString, zeile);

    const QString programm = QString::fromLocal8Bit(qgetenv("RUFMON_BIN"));
    if (programm.isEmpty())
        QSKIP("RUFMON_BIN does not name the built program");
    const QString laufzeit = m_dir->filePath(u"run"_s);
    QDir().mkpath(laufzeit);
    QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", laufzeit.toUtf8());
    const QString konfiguration = m_dir->filePath(u"config/Rufmon/Rufmon.conf"_s);

    // This process is the running program; the real one hands the call over.
    SingleInstance instanz(konfiguration);
    QVERIFY(instanz.tryBecomePrimary());
    connect(&instanz, &SingleInstance::argumentsReceived, this, [this](const QStringList &a) {
        FuehreUebergabeAus(a, *m_tapi);
        // The identification lets events run for a while; the channel of the
        // second start closes meanwhile and must not pull the ground away.
        QTest::qWait(300);
    });
    Mitschrift m(*m_tapi);
    m_tapi->OpenLine();

    QProcess zweiter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, m_dir->filePath(u"config"_s));
    env.insert(u"XDG_RUNTIME_DIR"_s, laufzeit);
    env.remove(u"DISPLAY"_s);
    zweiter.setProcessEnvironment(env);
    zweiter.start(programm, argumente);
    QVERIFY(zweiter.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(m.zeilen.contains(zeile), 10000);
    // The running program keeps its event loop going while the other one ends.
    QTRY_COMPARE_WITH_TIMEOUT(zweiter.state(), QProcess::NotRunning, 10000);
    QCOMPARE(zweiter.exitCode(), 0);
}

QTEST_MAIN(tst_TelephonyControl)
#include "tst_TelephonyControl.moc"
