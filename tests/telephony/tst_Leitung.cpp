// The monitor end to end: the main window with the real telephony control
// and a real line behind it, named only in the settings — a call monitor on
// a TCP socket — down to the identification entry point. The simulator's way
// is in tst_Anrufauswertung, the modem's protocol in tst_ModemDevice.
#include "windows/StatusPanel.h"
#include "app/frmHaupt.h"
#include "telephony/Anrufereignisse.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/telephony/TelephonyControl.h"

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

using namespace Qt::StringLiterals;

class tst_Leitung : public QObject
{
    Q_OBJECT

private slots:
    void callMonitor();
};

void tst_Leitung::callMonitor()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    const QString adresse = u"127.0.0.1:%1"_s.arg(server.serverPort());
    QTemporaryDir dir;
    IniSettingsStore store(dir.filePath(u"Rufmon.conf"_s));
    store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, adresse);
    store.SaveSetting(u"Telefonie"_s, u"Modems"_s, u"/dev/ttyRufmonTest"_s);
    store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Anrufmonitor "_s + adresse);
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    FakeSystem system;
    RecordingTeilsysteme teile;
    TelephonyControl tapi(store);
    frmHaupt fenster(frmHauptUmgebung{store, dialogs, clipboard, system, tapi, teile});
    QStringList angekommen; // numbers the identification was started with
    QObject::connect(&fenster.Ereignisse(), &Anrufereignisse::Anrufer, &fenster,
                     [&](const QString &n, const QString &, const QString &p) { angekommen << n + u' ' + p; });
    fenster.Form_Load();
    fenster.show();

    // The devices in the settings follow the simulator; the saved one is chosen.
    QStringList geraete;
    for (int i = 0; i < fenster.cbxTapiDevices()->count(); ++i)
        geraete << fenster.cbxTapiDevices()->itemText(i);
    QCOMPARE(geraete,
             (QStringList{u"Rufmon-Simulator"_s, u"Anrufmonitor "_s + adresse, u"Modem /dev/ttyRufmonTest"_s}));
    QCOMPARE(fenster.cbxTapiDevices()->currentIndex(), 1);
    fenster.cmdInitTapi()->click();
    QVERIFY(fenster.MonitorAktiv());

    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket *router = server.nextPendingConnection();
    router->write("06.12.26 12:00:00;RING;0;0301234567;4711;SIP0;\r\n");
    QTRY_COMPARE(angekommen, QStringList{u"0301234567 <ADDRESS>"_s});
    router->write("06.12.26 12:00:09;DISCONNECT;0;0;\r\n");
    QTRY_COMPARE(fenster.Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"TAPI aktiv"_s);
    QCOMPARE(fenster.Panel(frmHaupt::Statusfeld::Telefon)->PictureIndex(), 4);
    fenster.close();
}

QTEST_MAIN(tst_Leitung)
#include "tst_Leitung.moc"
