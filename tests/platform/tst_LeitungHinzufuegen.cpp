// Adding and removing a line in the program: the keys written and removed
// (with the password in the keyring, doubled by the run's memory store), the
// control that reads its devices anew without disturbing an open line, the
// window "Leitung hinzufügen" driven by the test against an SSDP responder,
// a router's call monitor, a manager-interface server and a pseudo-terminal
// modem of its own, and the main window: its menu items and the hint while
// only the simulator is there.
#include "app/frmHaupt.h"
#include "platform/dialogs/Frage.h"
#include "platform/kennwort/SitzungsKennwortspeicher.h"
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/GeraeteEinstellungen.h"
#include "platform/telephony/LeitungHinzufuegenDialog.h"
#include "platform/telephony/Leitungseinrichtung.h"
#include "platform/telephony/Leitungsseite.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/RouterSeite.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelefonanlageDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Leitungssteuerung.h"

#include "doubles/AmiGegenstelle.h"
#include "doubles/MemorySettings.h"
#include "doubles/Pseudoterminal.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/Umgebung.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QNetworkDatagram>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString T = u"Telefonie/"_s;

// The settings as "key=value", sorted.
QStringList werte(const MemorySettings &settings)
{
    QStringList liste;
    for (auto it = settings.values.cbegin(); it != settings.values.cend(); ++it)
        liste << it.key() + u'=' + it.value();
    liste.sort();
    return liste;
}

void setze(MemorySettings &settings, const QStringList &werte)
{
    for (const QString &w : werte)
        settings.values.insert(w.section(u'=', 0, 0), w.section(u'=', 1));
}

// The main window's "Leitung hinzufügen" as a test sets it up: the line
// given is written as the window would write it.
struct NeueLeitung : GeraeteEinstellungen
{
    Endpunkt router;
    int aufrufe = 0;

    void Einstellen(LineDevice &) override {}
    void Waehlregeln(SettingsStore &) override {}
    QString Hinzufuegen(SettingsStore &settings, Kennwortspeicher &kennwoerter) override
    {
        ++aufrufe;
        return router.host.isEmpty() ? QString() : Leitungseinrichtung(settings, &kennwoerter).anrufmonitor(router);
    }
};

// Answers a search at its own address with one router at 127.0.0.2, whose
// description lies on a server of its own there.
struct Routerantwort : QObject
{
    QUdpSocket empfaenger;
    QUdpSocket router;
    QTcpServer beschreibung;

    bool starten()
    {
        if (!empfaenger.bind(QHostAddress::LocalHost, 0) || !router.bind(QHostAddress(u"127.0.0.2"_s), 0)
            || !beschreibung.listen(QHostAddress(u"127.0.0.2"_s)))
            return false;
        connect(&empfaenger, &QUdpSocket::readyRead, this, [this] {
            while (empfaenger.hasPendingDatagrams()) {
                const QNetworkDatagram d = empfaenger.receiveDatagram();
                router.writeDatagram("HTTP/1.1 200 OK\r\nLOCATION: http://127.0.0.2:"
                                         + QByteArray::number(beschreibung.serverPort())
                                         + "/tr64desc.xml\r\nST: urn:dslforum-org:device:InternetGatewayDevice:1\r\n\r\n",
                                     d.senderAddress(), d.senderPort());
            }
        });
        connect(&beschreibung, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = beschreibung.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [s] {
                    const QByteArray body = "<root><device><friendlyName>Heimrouter</friendlyName></device></root>";
                    s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
            }
        });
        return true;
    }
};

} // namespace

class tst_LeitungHinzufuegen : public QObject
{
    Q_OBJECT

private slots:
    // What each kind of line writes, beside what is there.
    void schluesselSchreiben_data()
    {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("nachher");

        QTest::newRow("first router") << QStringList{} << u"router 192.168.178.1 1012"_s
                                      << u"Anrufmonitor 192.168.178.1:1012"_s
                                      << QStringList{T + u"Anrufmonitore=192.168.178.1:1012"_s};
        QTest::newRow("second router, the first as written")
            << QStringList{T + u"Anrufmonitore=alt.example"_s} << u"router fe80::1 1012"_s
            << u"Anrufmonitor [fe80::1]:1012"_s << QStringList{T + u"Anrufmonitore=alt.example,[fe80::1]:1012"_s};
        QTest::newRow("router already there") << QStringList{T + u"Anrufmonitore=Router.example:1012"_s}
                                              << u"router router.example 1012"_s
                                              << u"Anrufmonitor Router.example:1012"_s
                                              << QStringList{T + u"Anrufmonitore=Router.example:1012"_s};
        QTest::newRow("first system") << QStringList{} << u"anlage pbx.example 5038"_s
                                      << u"Telefonanlage pbx.example:5038"_s
                                      << QStringList{T + u"Telefonanlage1/Adresse=pbx.example:5038"_s,
                                                     T + u"Telefonanlage1/Benutzer=rufmon"_s,
                                                     T + u"Telefonanlage1/Kontext=from-internal"_s,
                                                     T + u"Telefonanlage1/Nebenstelle=PJSIP/201"_s};
        QTest::newRow("next free number")
            << QStringList{T + u"Telefonanlage1/Adresse=alt:5038"_s, T + u"Telefonanlage3/Adresse=drei:5038"_s}
            << u"anlage pbx.example 5039"_s << u"Telefonanlage pbx.example:5039"_s
            << QStringList{T + u"Telefonanlage1/Adresse=alt:5038"_s, T + u"Telefonanlage2/Adresse=pbx.example:5039"_s,
                           T + u"Telefonanlage2/Benutzer=rufmon"_s, T + u"Telefonanlage2/Kontext=from-internal"_s,
                           T + u"Telefonanlage2/Nebenstelle=PJSIP/201"_s, T + u"Telefonanlage3/Adresse=drei:5038"_s};
        QTest::newRow("system already there: its group")
            << QStringList{T + u"Telefonanlage4/Adresse=pbx.example:5038"_s, T + u"Telefonanlage4/Benutzer=alt"_s}
            << u"anlage pbx.example 5038"_s << u"Telefonanlage pbx.example:5038"_s
            << QStringList{T + u"Telefonanlage4/Adresse=pbx.example:5038"_s, T + u"Telefonanlage4/Benutzer=rufmon"_s,
                           T + u"Telefonanlage4/Kontext=from-internal"_s, T + u"Telefonanlage4/Nebenstelle=PJSIP/201"_s};
        QTest::newRow("first modem") << QStringList{} << u"modem /dev/serial/by-id/usb-Modem-if00"_s
                                     << u"Modem /dev/serial/by-id/usb-Modem-if00"_s
                                     << QStringList{T + u"Modems=/dev/serial/by-id/usb-Modem-if00"_s};
        QTest::newRow("second modem") << QStringList{T + u"Modems=/dev/ttyS0"_s, T + u"ModemBaud=9600"_s}
                                      << u"modem /dev/ttyACM0"_s << u"Modem /dev/ttyACM0"_s
                                      << QStringList{T + u"ModemBaud=9600"_s, T + u"Modems=/dev/ttyS0,/dev/ttyACM0"_s};
    }
    void schluesselSchreiben()
    {
        QFETCH(QStringList, vorher);
        QFETCH(QString, art);
        QFETCH(QString, name);
        QFETCH(QStringList, nachher);

        MemorySettings settings;
        setze(settings, vorher);
        SitzungsKennwortspeicher kennwoerter;
        Leitungseinrichtung einrichtung(settings, &kennwoerter);
        const QStringList a = art.split(u' ');
        QString ergebnis;
        if (a[0] == u"router") {
            ergebnis = einrichtung.anrufmonitor({a[1], quint16(a[2].toUInt())});
        } else if (a[0] == u"anlage") {
            const TelefonanlageDevice::Anlage anlage{0, {a[1], quint16(a[2].toUInt())}, u"rufmon"_s, u"PJSIP/201"_s,
                                                     u"from-internal"_s};
            ergebnis = einrichtung.telefonanlage(anlage, u"geheim"_s);
            // The password in the keyring, never in the settings.
            QCOMPARE(kennwoerter.lies(TelefonanlageDevice::konto({0, anlage.adresse, u"rufmon"_s, {}, {}})),
                     std::optional(u"geheim"_s));
            QVERIFY(!werte(settings).join(u'\n').contains(u"geheim"_s));
        } else {
            ergebnis = einrichtung.modem(a[1]);
        }
        QCOMPARE(ergebnis, name);
        QCOMPARE(werte(settings), nachher);

        // The control reads it as a device of that name.
        TelephonyControl tapi(settings);
        tapi.Initialize();
        QStringList namen;
        for (int i = 0; i < tapi.DeviceCount(); ++i)
            namen << tapi.DeviceName(i);
        QVERIFY2(namen.contains(name), qPrintable(namen.join(u", "_s)));
    }

    void nichtsZuSchreiben()
    {
        MemorySettings settings;
        Leitungseinrichtung einrichtung(settings, nullptr);
        QCOMPARE(einrichtung.anrufmonitor({u"kein host"_s, 1012}), QString());
        QCOMPARE(einrichtung.telefonanlage({0, {u"pbx"_s, 5038}, QString(), {}, {}}, std::nullopt), QString());
        QCOMPARE(einrichtung.modem(u"  "_s), QString());
        QCOMPARE(einrichtung.modem(u"/dev/a,/dev/b"_s), QString());
        QCOMPARE(werte(settings), QStringList{});
    }

    // What removing a device takes away, and what it leaves.
    void entfernen_data()
    {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QString>("geraet");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QStringList>("kennwoerter"); // accounts left in the keyring

        const QStringList konten{u"Router router.example tr64"_s, u"Telefonanlage pbx.example:5038 rufmon"_s};
        QTest::newRow("the only router, with its dialing user")
            << QStringList{T + u"Anrufmonitore=router.example"_s, T + u"TR064/router.example/Benutzer=tr64"_s}
            << u"router router.example 1012"_s << QStringList{} << QStringList{konten[1]};
        QTest::newRow("one router of several, the others as written")
            << QStringList{T + u"Anrufmonitore=alt.example, router.example:1012 ,[fe80::1]"_s,
                           T + u"TR064/router.example/Benutzer=tr64"_s}
            << u"router router.example 1012"_s << QStringList{T + u"Anrufmonitore=alt.example,[fe80::1]"_s} << QStringList{konten[1]};
        QTest::newRow("another port of the router stays, and its user")
            << QStringList{T + u"Anrufmonitore=router.example:1012,router.example:2012"_s,
                           T + u"TR064/router.example/Benutzer=tr64"_s}
            << u"router router.example 1012"_s
            << QStringList{T + u"Anrufmonitore=router.example:2012"_s, T + u"TR064/router.example/Benutzer=tr64"_s}
            << konten;
        QTest::newRow("system")
            << QStringList{T + u"Telefonanlage2/Adresse=pbx.example:5038"_s, T + u"Telefonanlage2/Benutzer=rufmon"_s,
                           T + u"Telefonanlage2/Nebenstelle=PJSIP/201"_s, T + u"Telefonanlage2/Kontext=intern"_s,
                           T + u"Telefonanlage3/Adresse=zwei.example"_s, T + u"Wiederverbinden=30"_s}
            << u"anlage 2 pbx.example 5038"_s
            << QStringList{T + u"Telefonanlage3/Adresse=zwei.example"_s, T + u"Wiederverbinden=30"_s}
            << QStringList{konten[0]};
        QTest::newRow("system written twice: both groups")
            << QStringList{T + u"Telefonanlage1/Adresse=pbx.example"_s, T + u"Telefonanlage1/Benutzer=rufmon"_s,
                           T + u"Telefonanlage5/Adresse=pbx.example:5038"_s, T + u"Telefonanlage5/Benutzer=alt"_s}
            << u"anlage 1 pbx.example 5038"_s << QStringList{} << QStringList{konten[0]};
        QTest::newRow("modem")
            << QStringList{T + u"Modems=/dev/ttyS0,/dev/serial/by-id/usb-Modem-if00"_s, T + u"ModemInit=ATZ"_s}
            << u"modem /dev/serial/by-id/usb-Modem-if00"_s
            << QStringList{T + u"ModemInit=ATZ"_s, T + u"Modems=/dev/ttyS0"_s} << konten;
        QTest::newRow("the only modem")
            << QStringList{T + u"Modems=/dev/ttyS0"_s} << u"modem /dev/ttyS0"_s << QStringList{} << konten;
    }
    void entfernen()
    {
        QFETCH(QStringList, vorher);
        QFETCH(QString, geraet);
        QFETCH(QStringList, nachher);
        QFETCH(QStringList, kennwoerter);

        MemorySettings settings;
        setze(settings, vorher);
        SitzungsKennwortspeicher speicher;
        speicher.schreibe(u"Router router.example tr64"_s, u"r"_s);
        speicher.schreibe(u"Telefonanlage pbx.example:5038 rufmon"_s, u"p"_s);
        const QStringList g = geraet.split(u' ');
        std::unique_ptr<LineDevice> device;
        if (g[0] == u"router") {
            device = std::make_unique<CallMonitorDevice>(g[1], quint16(g[2].toUInt()), settings);
        } else if (g[0] == u"anlage") {
            device = std::make_unique<TelefonanlageDevice>(
                TelefonanlageDevice::Anlage{g[1].toInt(), {g[2], quint16(g[3].toUInt())}, u"rufmon"_s, {}, {}}, settings,
                speicher, nullptr);
        } else {
            device = std::make_unique<ModemDevice>(g[1], settings);
        }
        Leitungseinrichtung einrichtung(settings, &speicher);
        QCOMPARE(einrichtung.nichtEntfernbar(*device), QString());
        QVERIFY(einrichtung.entfernen(*device));
        QCOMPARE(werte(settings), nachher);
        QStringList uebrig;
        for (const QString &konto : {u"Router router.example tr64"_s, u"Telefonanlage pbx.example:5038 rufmon"_s}) {
            if (speicher.lies(konto))
                uebrig << konto;
        }
        QCOMPARE(uebrig, kennwoerter);
        // Gone from what the control reads.
        TelephonyControl tapi(settings);
        tapi.Initialize();
        for (int i = 0; i < tapi.DeviceCount(); ++i)
            QVERIFY(tapi.DeviceName(i) != device->name());
    }

    // The simulator is built in; a modem Rufmon found on the machine comes back as long as it is plugged in.
    void nichtEntfernbar()
    {
        MemorySettings settings;
        SimulatorDevice simulator;
        ModemDevice gefunden(u"/dev/ttyACM0"_s, settings);
        Leitungseinrichtung einrichtung(settings, nullptr);
        QCOMPARE(einrichtung.nichtEntfernbar(simulator),
                 u"Der Rufmon-Simulator ist eingebaut und kann nicht entfernt werden."_s);
        QCOMPARE(einrichtung.nichtEntfernbar(gefunden),
                 u"Das Modem an /dev/ttyACM0 hat Rufmon am Rechner gefunden; es erscheint, solange es angeschlossen ist."_s);
        QVERIFY(!einrichtung.entfernen(simulator));
        QVERIFY(!einrichtung.entfernen(gefunden));
        settings.values.insert(T + u"Modems"_s, u"/dev/ttyACM0"_s);
        QCOMPARE(einrichtung.nichtEntfernbar(gefunden), QString());
    }

    // A modem written by its stable name is listed once, not again as the ttyACM it points to.
    void modemEinmal()
    {
        QTemporaryDir dev;
        QFile tty(dev.filePath(u"ttyACM0"_s));
        QVERIFY(tty.open(QIODevice::WriteOnly));
        tty.close();
        QVERIFY(QFile::link(dev.filePath(u"ttyACM0"_s), dev.filePath(u"usb-Modem-if00"_s)));
        MemorySettings settings;
        QCOMPARE(ModemDevice::configuredPorts(settings, dev.path()), QStringList{dev.filePath(u"ttyACM0"_s)});
        settings.values.insert(T + u"Modems"_s, dev.filePath(u"usb-Modem-if00"_s));
        QCOMPARE(ModemDevice::configuredPorts(settings, dev.path()), QStringList{dev.filePath(u"usb-Modem-if00"_s)});
    }

    // The control reads its devices anew: an open line stays open on its
    // device, wherever that moves in the list; a removed current device is
    // closed and the first device becomes the current one.
    void neuEinlesen()
    {
        QTcpServer router;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        MemorySettings settings;
        const Endpunkt adresse{u"127.0.0.1"_s, router.serverPort()};
        settings.values.insert(T + u"Modems"_s, u"/dev/ttyRufmonTest"_s);
        TelephonyControl tapi(settings);
        tapi.Initialize();
        const auto index = [&tapi](const QString &name) {
            for (int i = 0; i < tapi.DeviceCount(); ++i) {
                if (tapi.DeviceName(i) == name)
                    return i;
            }
            return -1;
        };
        const int modem = index(u"Modem /dev/ttyRufmonTest"_s);
        QVERIFY(modem >= 0);
        QCOMPARE(tapi.LeitungEingerichtet(), true);

        Leitungseinrichtung(settings, nullptr).anrufmonitor(adresse);
        tapi.setDeviceIndex(modem);
        QSignalSpy geaendert(&tapi, &topTapi::OnDeviceChanged);
        tapi.GeraeteNeuEinlesen();
        // The router comes first; the modem stays the current device, one further down.
        QCOMPARE(tapi.DeviceName(0), CallMonitorDevice::geraetename(adresse));
        QCOMPARE(tapi.CurrentDeviceName(), u"Modem /dev/ttyRufmonTest"_s);
        QCOMPARE(tapi.DeviceIndex(), modem + 1);
        QCOMPARE(geaendert.count(), 0);

        // Open on the router, a modem added behind it leaves the line alone.
        tapi.setDeviceIndex(0);
        LineDevice *monitor = tapi.Device(0);
        QVERIFY(tapi.OpenLine());
        QVERIFY(router.waitForNewConnection(5000));
        QTcpSocket *verbindung = router.nextPendingConnection();
        QTRY_VERIFY(tapi.LineConnected());
        Leitungseinrichtung(settings, nullptr).modem(u"/dev/ttyRufmonZwei"_s);
        tapi.GeraeteNeuEinlesen();
        QCOMPARE(tapi.Device(0), monitor);
        QVERIFY(tapi.LineOpen());
        QVERIFY(tapi.LineConnected());
        QCOMPARE(verbindung->state(), QAbstractSocket::ConnectedState);

        // Removed while open: closed, and the first device is the current one.
        geaendert.clear();
        QVERIFY(tapi.LeitungEntfernen(0));
        QVERIFY(!tapi.LineOpen());
        QCOMPARE(tapi.DeviceIndex(), 0);
        QCOMPARE(tapi.CurrentDeviceName(), u"Modem /dev/ttyRufmonTest"_s);
        QCOMPARE(geaendert.count(), 1);
        QTRY_COMPARE(verbindung->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(settings.values.value(T + u"Anrufmonitore"_s), QString());
        QVERIFY(!tapi.LeitungEntfernen(tapi.DeviceCount() - 1)); // the simulator
        QCOMPARE(tapi.NichtEntfernbar(tapi.DeviceCount() - 1),
                 u"Der Rufmon-Simulator ist eingebaut und kann nicht entfernt werden."_s);
    }

    // Without settings windows nothing is added.
    void hinzufuegenOhneFenster()
    {
        MemorySettings settings;
        TelephonyControl tapi(settings);
        tapi.Initialize();
        QCOMPARE(tapi.LeitungHinzufuegen(), -1);
        NeueLeitung einstellungen;
        tapi.setEinstellungen(&einstellungen);
        QCOMPARE(tapi.LeitungHinzufuegen(), -1); // the user set up none
        QCOMPARE(einstellungen.aufrufe, 1);
        einstellungen.router = {u"router.example"_s, 1012};
        QCOMPARE(tapi.LeitungHinzufuegen(), 0);
        QCOMPARE(tapi.DeviceName(0), u"Anrufmonitor router.example:1012"_s);
    }

    // The window: a router found on the network, its call monitor tried at once.
    void dialogRouter()
    {
        Routerantwort antwort;
        QVERIFY(antwort.starten());
        QTcpServer anrufmonitor;
        QVERIFY(anrufmonitor.listen(QHostAddress(u"127.0.0.2"_s)));
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, orte(antwort.empfaenger.localPort()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), u"Leitung hinzufügen"_s);
        QCOMPARE(dialog.findChild<QComboBox *>(u"art"_s)->currentText(), u"Router mit Anrufmonitor"_s);
        QWidget *router = dialog.Seite(LeitungHinzufuegenDialog::Art::Router);
        QPushButton *ok = okKnopf(dialog);
        QVERIFY(!ok->isEnabled());

        auto *liste = router->findChild<QListWidget *>(u"routerListe"_s);
        auto *suchstand = router->findChild<QLabel *>(u"suchstand"_s);
        QTRY_COMPARE(suchstand->text(), u"1 Router gefunden."_s);
        QCOMPARE(liste->count(), 1);
        QCOMPARE(liste->item(0)->text(), u"Heimrouter (127.0.0.2)"_s);

        router->findChild<QSpinBox *>(u"port"_s)->setValue(anrufmonitor.serverPort());
        liste->setCurrentRow(0);
        QCOMPARE(router->findChild<QLineEdit *>(u"adresse"_s)->text(), u"127.0.0.2"_s);
        auto *pruefung = router->findChild<QLabel *>(u"pruefung"_s);
        QTRY_COMPARE(pruefung->text(),
                     u"Der Anrufmonitor von 127.0.0.2 antwortet auf Port %1."_s.arg(anrufmonitor.serverPort()));
        QTRY_VERIFY(anrufmonitor.hasPendingConnections());

        QVERIFY(ok->isEnabled());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.neueLeitung(), u"Anrufmonitor 127.0.0.2:%1"_s.arg(anrufmonitor.serverPort()));
        QCOMPARE(werte(settings), QStringList{T + u"Anrufmonitore=127.0.0.2:%1"_s.arg(anrufmonitor.serverPort())});
    }

    // A router whose call monitor is off: the window says how to switch it on.
    void dialogRouterAbgewiesen()
    {
        QTcpServer zu;
        QVERIFY(zu.listen(QHostAddress::LocalHost));
        const quint16 port = zu.serverPort();
        zu.close();
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, orte(stumm.localPort()));
        dialog.show();
        QWidget *router = dialog.Seite(LeitungHinzufuegenDialog::Art::Router);
        auto *suchstand = router->findChild<QLabel *>(u"suchstand"_s);
        QTRY_COMPARE(suchstand->text(), u"Kein Router gefunden. Tragen Sie seine Adresse unten ein."_s);
        QVERIFY(router->findChild<QPushButton *>(u"suchen"_s)->isEnabled());

        auto *adresse = router->findChild<QLineEdit *>(u"adresse"_s);
        auto *pruefen = router->findChild<QPushButton *>(u"pruefen"_s);
        QVERIFY(!pruefen->isEnabled());
        QTest::keyClicks(adresse, u"127.0.0.1"_s);
        router->findChild<QSpinBox *>(u"port"_s)->setValue(port);
        QVERIFY(pruefen->isEnabled());
        QTest::mouseClick(pruefen, Qt::LeftButton);
        auto *pruefung = router->findChild<QLabel *>(u"pruefung"_s);
        QTRY_COMPARE(pruefung->text(), RouterSeite::TextAbgewiesen(u"127.0.0.1"_s, port));
        QVERIFY(pruefung->text().contains(u"#96*5*"_s));
        // The router may be added before its call monitor is on; cancelled, nothing is written.
        QVERIFY(okKnopf(dialog)->isEnabled());
        dialog.reject();
        QCOMPARE(werte(settings), QStringList{});
    }

    // A telephone system: its extensions read after the login, one chosen.
    void dialogTelefonanlage()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, orte(stumm.localPort()));
        dialog.show();
        dialog.setArt(LeitungHinzufuegenDialog::Art::Telefonanlage);
        QWidget *seite = dialog.Seite(LeitungHinzufuegenDialog::Art::Telefonanlage);
        QVERIFY(seite->isVisible());
        QCOMPARE(seite->findChild<QLabel *>(u"kennwortHinweis"_s)->text(),
                 u"Kein Schlüsselbund verfügbar: Das Kennwort gilt nur bis zum Programmende und wird nach jedem Start "
                 u"einmal abgefragt."_s);
        auto *lesen = seite->findChild<QPushButton *>(u"nebenstellenLesen"_s);
        QVERIFY(!lesen->isEnabled());
        QTest::keyClicks(seite->findChild<QLineEdit *>(u"host"_s), u"127.0.0.1"_s);
        seite->findChild<QSpinBox *>(u"port"_s)->setValue(server.serverPort());
        QTest::keyClicks(seite->findChild<QLineEdit *>(u"benutzer"_s), u"rufmon"_s);
        QTest::keyClicks(seite->findChild<QLineEdit *>(u"kennwort"_s), u"geheim"_s);
        QVERIFY(lesen->isEnabled());
        QVERIFY(!okKnopf(dialog)->isEnabled()); // no extension yet
        QTest::mouseClick(lesen, Qt::LeftButton);

        QVERIFY(server.waitForNewConnection(5000));
        Gegenstelle g{server.nextPendingConnection(), {}};
        g.sende("Asterisk Call Manager/5.0.1\r\n");
        const AmiNachricht challenge = AmiNachricht::lies(g.aktion());
        QCOMPARE(challenge.wert(u"Action"), u"Challenge"_s);
        g.sende("Response: Success\r\nActionID: " + challenge.wert(u"ActionID").toUtf8() + "\r\nChallenge: 1234\r\n\r\n");
        const QByteArray login = g.aktion();
        QCOMPARE(AmiNachricht::lies(login).wert(u"Key"),
                 QString::fromLatin1(QCryptographicHash::hash("1234geheim", QCryptographicHash::Md5).toHex()));
        QVERIFY(!login.contains("geheim"));
        g.sende("Response: Success\r\nActionID: " + AmiNachricht::lies(login).wert(u"ActionID").toUtf8() + "\r\n\r\n");
        const AmiNachricht liste = AmiNachricht::lies(g.aktion());
        QCOMPARE(liste.wert(u"Action"), u"PJSIPShowEndpoints"_s);
        const QByteArray id = liste.wert(u"ActionID").toUtf8();
        g.sende("Response: Success\r\nActionID: " + id + "\r\n\r\n" + "Event: EndpointList\r\nActionID: " + id
                + "\r\nObjectName: 201\r\n\r\nEvent: EndpointList\r\nActionID: " + id
                + "\r\nObjectName: 202\r\n\r\nEvent: EndpointListComplete\r\nActionID: " + id + "\r\n\r\n");

        auto *nebenstelle = seite->findChild<QComboBox *>(u"nebenstelle"_s);
        QTRY_COMPARE(nebenstelle->count(), 2);
        QCOMPARE(seite->findChild<QLabel *>(u"abfrage"_s)->text(), u"2 Nebenstellen gelesen."_s);
        QCOMPARE(nebenstelle->currentText(), u"PJSIP/201"_s);
        nebenstelle->setCurrentIndex(1);
        QVERIFY(okKnopf(dialog)->isEnabled());
        QTest::mouseClick(okKnopf(dialog), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QString adresse = u"127.0.0.1:%1"_s.arg(server.serverPort());
        QCOMPARE(dialog.neueLeitung(), u"Telefonanlage "_s + adresse);
        QCOMPARE(werte(settings), (QStringList{T + u"Telefonanlage1/Adresse="_s + adresse,
                                               T + u"Telefonanlage1/Benutzer=rufmon"_s,
                                               T + u"Telefonanlage1/Kontext=from-internal"_s,
                                               T + u"Telefonanlage1/Nebenstelle=PJSIP/202"_s}));
        QCOMPARE(kennwoerter.lies(u"Telefonanlage %1 rufmon"_s.arg(adresse)), std::optional(u"geheim"_s));
    }

    // A modem: the ports of the by-id folder, asked for "AT" as soon as one is chosen.
    void dialogModem_data()
    {
        QTest::addColumn<QByteArray>("antwort");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");

        QTest::newRow("answers OK") << QByteArray("OK") << true << u"Das Modem an {PFAD} antwortet."_s;
        QTest::newRow("silent") << QByteArray() << false << u"{PFAD} antwortet nicht innerhalb von 0.3 s auf AT."_s;
    }
    void dialogModem()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(bool, ok);
        QFETCH(QString, text);

        QTemporaryDir byId;
        Pty pty;
        QVERIFY(!pty.slavePath.isEmpty());
        const QString pfad = byId.filePath(u"usb-Heimmodem_56k-if00"_s);
        QVERIFY(QFile::link(pty.slavePath, pfad));
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        LeitungHinzufuegenDialog::Suchorte o = orte(stumm.localPort());
        o.seriellOrdner = byId.path();
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, o);
        dialog.show();
        dialog.setArt(LeitungHinzufuegenDialog::Art::Modem);
        QWidget *seite = dialog.Seite(LeitungHinzufuegenDialog::Art::Modem);
        auto *liste = seite->findChild<QListWidget *>(u"schnittstellen"_s);
        QCOMPARE(liste->count(), 1);
        QCOMPARE(liste->item(0)->text(), u"Heimmodem 56k (%1)"_s.arg(pty.slavePath));
        QVERIFY(!okKnopf(dialog)->isEnabled());
        liste->setCurrentRow(0);
        QCOMPARE(seite->findChild<QLineEdit *>(u"geraetedatei"_s)->text(), pfad);
        QCOMPARE(pty.takeCommand(antwort), QByteArray("AT\r"));
        auto *pruefung = seite->findChild<QLabel *>(u"pruefung"_s);
        QTRY_COMPARE(pruefung->text(), QString(text).replace(u"{PFAD}"_s, pfad));
        QCOMPARE(okKnopf(dialog)->isEnabled(), ok);
        if (!ok)
            return;
        // Typed over, the answer no longer counts.
        QTest::keyClick(seite->findChild<QLineEdit *>(u"geraetedatei"_s), Qt::Key_Backspace);
        QVERIFY(!okKnopf(dialog)->isEnabled());
        liste->setCurrentRow(-1);
        liste->setCurrentRow(0);
        QCOMPARE(pty.takeCommand(antwort), QByteArray("AT\r"));
        QTRY_VERIFY(okKnopf(dialog)->isEnabled());
        QTest::mouseClick(okKnopf(dialog), Qt::LeftButton);
        QCOMPARE(dialog.neueLeitung(), u"Modem "_s + pfad);
        QCOMPARE(werte(settings), QStringList{T + u"Modems="_s + pfad});
    }

    void dialogModemOhneSchnittstellen()
    {
        QTemporaryDir leer;
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        LeitungHinzufuegenDialog::Suchorte o = orte(stumm.localPort());
        o.seriellOrdner = leer.filePath(u"by-id"_s);
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, o);
        dialog.setArt(LeitungHinzufuegenDialog::Art::Modem);
        QWidget *seite = dialog.Seite(LeitungHinzufuegenDialog::Art::Modem);
        QCOMPARE(seite->findChild<QListWidget *>(u"schnittstellen"_s)->count(), 0);
        QCOMPARE(seite->findChild<QLabel *>(u"suchstand"_s)->text(),
                 u"In %1 ist keine serielle Schnittstelle zu finden. Ist das Modem angeschlossen? Eine andere "
                 u"Schnittstelle tragen Sie unten ein."_s.arg(o.seriellOrdner));
    }

    // Every label names its field by a letter, and no letter twice on what shows at once.
    void mnemonics_data()
    {
        QTest::addColumn<LeitungHinzufuegenDialog::Art>("art");
        QTest::newRow("router") << LeitungHinzufuegenDialog::Art::Router;
        QTest::newRow("telephone system") << LeitungHinzufuegenDialog::Art::Telefonanlage;
        QTest::newRow("modem") << LeitungHinzufuegenDialog::Art::Modem;
    }
    void mnemonics()
    {
        QFETCH(LeitungHinzufuegenDialog::Art, art);
        MemorySettings settings;
        SitzungsKennwortspeicher kennwoerter;
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        LeitungHinzufuegenDialog dialog(settings, kennwoerter, orte(stumm.localPort()));
        dialog.setArt(art);
        dialog.show();
        QStringList buchstaben, fehler;
        int felder = 0;
        for (QLabel *label : dialog.findChildren<QLabel *>()) {
            if (!label->isVisibleTo(&dialog) || !label->buddy())
                continue;
            ++felder;
            const QKeySequence taste = QKeySequence::mnemonic(label->text());
            if (taste.isEmpty())
                fehler << label->text();
            buchstaben << taste.toString();
        }
        for (QPushButton *knopf : dialog.findChildren<QPushButton *>()) {
            if (knopf->isVisibleTo(&dialog))
                buchstaben << QKeySequence::mnemonic(knopf->text()).toString();
        }
        buchstaben.removeAll(QString());
        // Labels that say something without being a field's name have no buddy; every field's has.
        for (QWidget *feld : dialog.findChildren<QWidget *>()) {
            const bool eingabe = qobject_cast<QLineEdit *>(feld) || qobject_cast<QSpinBox *>(feld)
                                 || qobject_cast<QListWidget *>(feld)
                                 || (qobject_cast<QComboBox *>(feld) && feld->objectName() != QString());
            if (!eingabe || !feld->isVisibleTo(&dialog) || qobject_cast<QComboBox *>(feld->parentWidget())
                || qobject_cast<QSpinBox *>(feld->parentWidget()))
                continue;
            bool benannt = false;
            for (QLabel *label : dialog.findChildren<QLabel *>())
                benannt = benannt || label->buddy() == feld;
            if (!benannt)
                fehler << feld->objectName();
        }
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(u", "_s)));
        QVERIFY(felder >= 3);
        QStringList einmal = buchstaben;
        einmal.removeDuplicates();
        QVERIFY2(einmal.size() == buchstaben.size(), qPrintable(buchstaben.join(u' ')));
    }

    // The main window: the hint while only the simulator is there, a line
    // added and chosen at once, removed after a question.
    void hauptfenster()
    {
        Umgebung u;
        NeueLeitung einstellungen;
        TelephonyControl tapi(u.store);
        tapi.setEinstellungen(&einstellungen);
        RecordingTeilsysteme teile;
        frmHaupt fenster(frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, tapi, teile, u.schalter});
        Leitungsteile leitung(tapi, fenster, fenster, u.dialogs, u.optionen, u.schalter);
        fenster.anbinden(leitung);
        fenster.Form_Load();
        fenster.show();
        if (tapi.LeitungEingerichtet())
            QSKIP("this machine has a modem of its own");

        QLabel *hinweis = fenster.lbLeitungHinweis();
        auto *liste = fenster.findChild<QGroupBox *>(u"frAnruferliste"_s);
        QVERIFY(hinweis->isVisible());
        QCOMPARE(hinweis->text(), u"Keine Telefonleitung eingerichtet – Optionen › TAPI › Leitung hinzufügen…"_s);
        QCOMPARE(hinweis->text(), Leitungssteuerung::TextKeineLeitung());
        // The caller list starts below it.
        QVERIFY(liste->y() >= hinweis->geometry().bottom());
        const int listeMitHinweis = liste->y();

        // The items sit in the driver menu beside its settings.
        QAction *hinzufuegen = fenster.Menu(Menuepunkt::mnuLeitungHinzufuegen);
        QAction *entfernen = fenster.Menu(Menuepunkt::mnuLeitungEntfernen);
        QCOMPARE(hinzufuegen->text(), u"&Leitung hinzufügen…"_s);
        QCOMPARE(entfernen->text(), u"Leitung entfe&rnen"_s);
        auto *treiber = fenster.findChild<QMenu *>(u"mnuTapiTreiber"_s);
        QVERIFY(treiber->actions().contains(hinzufuegen));
        QVERIFY(treiber->actions().contains(entfernen));

        // The simulator cannot go: a notice, no question.
        const qsizetype vorher = u.dialogs.boxes().size();
        entfernen->trigger();
        QCOMPARE(u.dialogs.boxes().size(), vorher + 1);
        QCOMPARE(u.dialogs.boxes().last().text, u"Der Rufmon-Simulator ist eingebaut und kann nicht entfernt werden."_s);
        QCOMPARE(u.dialogs.boxes().last().icon, Dialogs::Icon::Information);

        // The user sets up none: nothing changes.
        hinzufuegen->trigger();
        QCOMPARE(fenster.cbxTapiDevices()->count(), 1);

        QTcpServer router;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        const QString name = u"Anrufmonitor 127.0.0.1:%1"_s.arg(router.serverPort());
        einstellungen.router = {u"127.0.0.1"_s, router.serverPort()};
        hinzufuegen->trigger();
        QCOMPARE(fenster.cbxTapiDevices()->count(), 2);
        QCOMPARE(fenster.cbxTapiDevices()->currentText(), name);
        QCOMPARE(tapi.CurrentDeviceName(), name);
        QCOMPARE(fenster.Menu(Menuepunkt::mnuTapiTreiber)->text(), u"T&API ("_s + name + u')');
        QCOMPARE(u.store.GetSetting(u"Optionen"_s, u"TapiDevice"_s, {}), name);
        QCOMPARE(u.store.GetSetting(u"Telefonie"_s, u"Anrufmonitore"_s, {}), u"127.0.0.1:%1"_s.arg(router.serverPort()));
        QVERIFY(!hinweis->isVisible());
        QVERIFY(liste->y() < listeMitHinweis);

        // Monitoring on it; the question answered No leaves all as it was.
        fenster.cmdInitTapi()->click();
        QVERIFY(fenster.MonitorAktiv());
        QVERIFY(router.waitForNewConnection(5000));
        entfernen->trigger();
        QCOMPARE(u.dialogs.boxes().last().text, u"Soll die Leitung „%1“ entfernt werden?\r\nDie Einstellungen der Leitung "
                                                 u"und ihr gespeichertes Kennwort werden gelöscht."_s.arg(name));
        QCOMPARE(u.dialogs.boxes().last().buttons, Dialogs::Buttons::YesNo);
        QVERIFY(fenster.MonitorAktiv());
        QCOMPARE(fenster.cbxTapiDevices()->count(), 2);

        // Yes: the monitor goes off, the line out of the list and the settings, the hint comes back.
        u.dialogs.answer(Dialogs::Answer::Yes);
        entfernen->trigger();
        QVERIFY(!fenster.MonitorAktiv());
        QVERIFY(!tapi.LineOpen());
        QCOMPARE(fenster.cbxTapiDevices()->count(), 1);
        QCOMPARE(fenster.cbxTapiDevices()->currentText(), u"Rufmon-Simulator"_s);
        QVERIFY(fenster.cbxTapiDevices()->isEnabled());
        QCOMPARE(u.store.GetSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"<fehlt>"_s), u"<fehlt>"_s);
        QCOMPARE(u.store.GetSetting(u"Optionen"_s, u"TapiDevice"_s, {}), u"Rufmon-Simulator"_s);
        QVERIFY(hinweis->isVisible());
        QCOMPARE(liste->y(), listeMitHinweis);
        fenster.close();
    }

    // While monitoring one line, a line added waits in the list; the open one stays.
    void hinzufuegenWaehrendAktiv()
    {
        Umgebung u;
        QTcpServer erster;
        QVERIFY(erster.listen(QHostAddress::LocalHost));
        u.store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"127.0.0.1:%1"_s.arg(erster.serverPort()));
        NeueLeitung einstellungen;
        einstellungen.router = {u"127.0.0.2"_s, 1012};
        TelephonyControl tapi(u.store);
        tapi.setEinstellungen(&einstellungen);
        RecordingTeilsysteme teile;
        frmHaupt fenster(frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, tapi, teile, u.schalter});
        Leitungsteile leitung(tapi, fenster, fenster, u.dialogs, u.optionen, u.schalter);
        fenster.anbinden(leitung);
        fenster.Form_Load();
        QVERIFY(!fenster.lbLeitungHinweis()->isVisibleTo(&fenster));
        fenster.cmdInitTapi()->click();
        QVERIFY(erster.waitForNewConnection(5000));
        const QString offen = tapi.CurrentDeviceName();

        fenster.Menu(Menuepunkt::mnuLeitungHinzufuegen)->trigger();
        QCOMPARE(fenster.cbxTapiDevices()->count(), tapi.DeviceCount());
        QVERIFY(fenster.cbxTapiDevices()->findText(u"Anrufmonitor 127.0.0.2:1012"_s) >= 0);
        QVERIFY(fenster.MonitorAktiv());
        QVERIFY(tapi.LineOpen());
        QCOMPARE(tapi.CurrentDeviceName(), offen);
        QCOMPARE(fenster.cbxTapiDevices()->currentText(), offen);
        QVERIFY(!fenster.cbxTapiDevices()->isEnabled());
        fenster.close();
    }

    // The line was lost and the question whether to switch it on again
    // waits; the line removed meanwhile is not wanted back: the question
    // closes with "Nein" and the quiet attempts end.
    void entfernenWaehrendDieFrageWartet()
    {
        Umgebung u;
        QTcpServer router;
        QVERIFY(router.listen(QHostAddress::LocalHost));
        const quint16 port = router.serverPort();
        const QString name = u"Anrufmonitor 127.0.0.1:%1"_s.arg(port);
        u.store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, u"127.0.0.1:%1"_s.arg(port));
        u.store.SaveSetting(u"Telefonie"_s, u"Wiederverbinden"_s, u"0"_s);
        u.store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, name);
        TelephonyControl tapi(u.store);
        RecordingTeilsysteme teile;
        frmHaupt fenster(frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, tapi, teile, u.schalter});
        Leitungsteile leitung(tapi, fenster, fenster, u.dialogs, u.optionen, u.schalter);
        fenster.anbinden(leitung);
        fenster.Form_Load();
        leitung.Leitung().setNeuerVersuchMs(20);
        fenster.cmdInitTapi()->click();
        QVERIFY(router.waitForNewConnection(5000));
        std::unique_ptr<QTcpSocket> verbindung(router.nextPendingConnection());
        QTRY_VERIFY(tapi.LineConnected());

        router.close();
        verbindung->abort();
        QTRY_COMPARE_WITH_TIMEOUT(u.dialogs.offeneFragen().size(), 1, 10000);
        QVERIFY(!fenster.MonitorAktiv());
        const QPointer<Frage> frage = u.dialogs.offeneFragen().constFirst();
        QSignalSpy beantwortet(frage.get(), &Frage::Beantwortet);

        u.dialogs.answer(Dialogs::Answer::Yes);
        fenster.Menu(Menuepunkt::mnuLeitungEntfernen)->trigger();
        QCOMPARE(u.dialogs.boxes().last().kind, u"MsgBox"_s);
        QVERIFY(u.dialogs.offeneFragen().isEmpty());
        QCOMPARE(beantwortet.size(), 1);
        QCOMPARE(beantwortet.at(0).at(0).value<Dialogs::Answer>(), Dialogs::Answer::No);
        QVERIFY(fenster.cbxTapiDevices()->findText(name) < 0);
        QVERIFY(!tapi.LineOpen());
        QVERIFY(!fenster.MonitorAktiv());
        // Nobody knocks at the router's port any more.
        QVERIFY(router.listen(QHostAddress::LocalHost, port));
        QTest::qWait(300);
        QVERIFY(!router.hasPendingConnections());
        fenster.close();
    }

private:
    static LeitungHinzufuegenDialog::Suchorte orte(quint16 ssdpPort)
    {
        LeitungHinzufuegenDialog::Suchorte o;
        o.ssdpZiel = QHostAddress::LocalHost;
        o.ssdpPort = ssdpPort;
        o.suchdauerMs = 300;
        o.atWarteMs = 300;
        return o;
    }
    static QPushButton *okKnopf(const QDialog &dialog)
    {
        return dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    }
};

QTEST_MAIN(tst_LeitungHinzufuegen)
#include "tst_LeitungHinzufuegen.moc"
