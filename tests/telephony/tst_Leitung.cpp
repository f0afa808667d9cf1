// The monitor end to end: the main window with the real telephony control
// and a real line behind it — a call monitor on a TCP socket, a modem on a
// pseudo-terminal, the simulator — down to the identification entry point.
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "app/ListViewModel.h"
#include "app/modOptionen.h"
#include "telephony/Waehlen.h"

#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/ScriptedDialogs.h"

#include <QComboBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Aufbau
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    FakeSystem system;
    RecordingTeilsysteme teile;
    std::unique_ptr<TelephonyControl> tapi;
    std::unique_ptr<frmHaupt> fenster;
    QStringList angekommen; // numbers the identification was started with

    void starte(const QString &geraet)
    {
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, geraet);
        modHaupt::instance().zuruecksetzen();
        tapi = std::make_unique<TelephonyControl>(store);
        fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{store, dialogs, clipboard, system, *tapi, teile});
        fenster->setAnrufauswertung([this](const QString &n, const QString &, const QString &p, std::int32_t,
                                           std::int32_t, bool) { angekommen << n + u' ' + p; });
        fenster->Form_Load();
        fenster->show();
        QCOMPARE(fenster->cbxTapiDevices()->currentText(), geraet);
        fenster->cmdInitTapi()->click();
        QVERIFY(fenster->MonitorAktiv());
    }
};

} // namespace

class tst_Leitung : public QObject
{
    Q_OBJECT

private slots:
    void callMonitor();
    void modemOnPseudoTerminal();
    void simulator();
};

void tst_Leitung::callMonitor()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    Aufbau a;
    const QString adresse = u"127.0.0.1:%1"_s.arg(server.serverPort());
    a.store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, adresse);
    a.starte(u"Anrufmonitor "_s + adresse);
    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket *router = server.nextPendingConnection();
    router->write("06.12.26 12:00:00;RING;0;0301234567;4711;SIP0;\r\n");
    router->flush();
    QTRY_COMPARE(a.angekommen, QStringList{u"0301234567 <ADDRESS>"_s});
    router->write("06.12.26 12:00:09;DISCONNECT;0;0;\r\n");
    router->flush();
    QTRY_COMPARE(a.fenster->Panel(1)->Text(), u"TAPI aktiv"_s);
    QCOMPARE(a.fenster->Panel(1)->PictureIndex(), 4);
}

void tst_Leitung::modemOnPseudoTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const QString port = QString::fromLocal8Bit(::ptsname(master));
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    const auto lies = [master] {
        QByteArray b;
        char buf[256];
        ssize_t n;
        while ((n = ::read(master, buf, sizeof buf)) > 0)
            b.append(buf, n);
        return b;
    };
    const auto schreibe = [master](const QByteArray &b) { return ::write(master, b.constData(), b.size()) == b.size(); };

    Aufbau a;
    a.store.SaveSetting(u"Telefonie"_s, u"Modems"_s, port);
    a.starte(u"Modem "_s + port);
    // The modem answers its commands: the init string, then caller ID on.
    QByteArray gehoert;
    QTRY_VERIFY_WITH_TIMEOUT((gehoert += lies()).contains("AT Z S0=0 E1 V1 Q0\r"), 5000);
    QVERIFY(schreibe("\r\nOK\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT((gehoert += lies()).contains("AT+VCID=1\r"), 5000);
    QVERIFY(schreibe("\r\nOK\r\n"));
    QTest::qWait(100);
    QVERIFY(schreibe("\r\nRING\r\n\r\nDATE = 1206\r\nTIME = 1200\r\nNMBR = 0891234567\r\n\r\nRING\r\n"));
    QTRY_COMPARE(a.angekommen, QStringList{u"0891234567 <ADDRESS>"_s});
    QTRY_COMPARE(a.fenster->Panel(1)->Text(), u"2. Klingeln"_s);

    // Dialing back goes out on the modem with the access code of the location.
    a.store.SaveSetting(u"Waehlregeln"_s, u"CurrentID"_s, u"2"_s);
    a.store.SaveSetting(u"Waehlregeln"_s, u"Location2/OutsideAccess"_s, u"0"_s);
    modOptionen optionen(a.store, a.system);
    QString panel;
    Waehlen waehlen(*a.tapi, a.store, optionen, a.dialogs,
                    {[&](const QString &t) { panel = t; }, [](const QString &) {}, [] { return 0; }, [] {}});
    ListViewModel liste;
    liste.setColumns({{u"Nummer"_s, u"Nummer"_s, {}}});
    ListItem eintrag;
    eintrag.Text = u"0891234567"_s;
    liste.Add(eintrag);
    waehlen.mnuNummerAnwaehlen(liste, 0);
    QCOMPARE(panel, u"Wähle 00891234567"_s);
    QTRY_VERIFY_WITH_TIMEOUT((gehoert += lies()).contains("ATDT00891234567;\r"), 5000);
    a.fenster->close();
    ::close(master);
}

void tst_Leitung::simulator()
{
    Aufbau a;
    a.starte(u"Rufmon-Simulator"_s);
    a.tapi->Simulator()->setTakt(20, 200);
    QVERIFY(a.tapi->Simulator()->anruf(u"+43 316 123456"_s));
    QCOMPARE(a.angekommen, QStringList{u"+43 316 123456 <ADDRESS>"_s});
    QTRY_COMPARE(a.fenster->Panel(1)->Text(), u"TAPI aktiv"_s);
}

QTEST_MAIN(tst_Leitung)
#include "tst_Leitung.moc"
