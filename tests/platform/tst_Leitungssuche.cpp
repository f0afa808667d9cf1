// Looking for lines before one is added: routers on the network found by
// SSDP, answered by a responder of the test on the loopback (the search is
// aimed at its unicast address, since multicast need not route there), with
// HTTP servers of the test serving the device descriptions; the call
// monitor's port tried on real sockets; a telephone system's extensions read
// from a manager-interface server of the test; serial ports from a "by-id"
// folder of symlinks to pseudo-terminals, asked for "AT".
#include "platform/telephony/ModemPruefung.h"
#include "platform/telephony/ModemSuche.h"
#include "platform/telephony/NebenstellenAbfrage.h"
#include "platform/telephony/RouterSuche.h"
#include "platform/telephony/Verbindungsprobe.h"
#include "platform/telephony/AmiNachricht.h"

#include "doubles/AmiGegenstelle.h"
#include "doubles/Pseudoterminal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Urn = "urn:dslforum-org:device:InternetGatewayDevice:1";

// Serves every GET with what `seiten` holds for its path; a path it does not
// hold gets no answer at all. Notes every path asked for.
struct Beschreibungsserver : QTcpServer
{
    QHash<QByteArray, QByteArray> seiten;
    QByteArrayList abgerufen;

    explicit Beschreibungsserver(const QHostAddress &adresse)
    {
        listen(adresse);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { lies(s); });
        });
    }
    void lies(QTcpSocket *s)
    {
        m_puffer[s] += s->readAll();
        if (!m_puffer[s].contains("\r\n\r\n"))
            return;
        const QByteArray pfad = m_puffer[s].split(' ').value(1);
        abgerufen << pfad;
        if (!seiten.contains(pfad))
            return;
        const QByteArray body = seiten.value(pfad);
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + QByteArray::number(body.size())
                 + "\r\nConnection: close\r\n\r\n" + body);
        s->disconnectFromHost();
    }
    QHash<QTcpSocket *, QByteArray> m_puffer;
};

QByteArray beschreibung(const QByteArray &name)
{
    return "<?xml version=\"1.0\"?>\n<root xmlns=\"urn:dslforum-org:device-1-0\"><specVersion><major>1</major></specVersion>"
           "<device><deviceType>" + Urn + "</deviceType><friendlyName>" + name + "</friendlyName>"
           "<deviceList><device><friendlyName>Unterger\xc3\xa4t</friendlyName></device></deviceList></device></root>";
}

// The answer of a router to the search; LOCATION names host, port and path.
QByteArray ssdpAntwort(const QByteArray &st, const QByteArray &ort)
{
    return "HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=1800\r\nEXT:\r\nLOCATION: " + ort
           + "\r\nSERVER: Linux UPnP/1.0 Heimrouter\r\nST: " + st + "\r\nUSN: uuid:1234::" + st + "\r\n\r\n";
}

} // namespace

class tst_Leitungssuche : public QObject
{
    Q_OBJECT

    // The routers of a row: each answers from its own loopback address.
    const QList<QHostAddress> m_router{QHostAddress(u"127.0.0.2"_s), QHostAddress(u"127.0.0.3"_s)};

private slots:
    // A search, the answers the routers send to it, and what is found.
    void routerSuche_data()
    {
        QTest::addColumn<QByteArrayList>("antworten"); // "N|answer": from router N; {P1},{P2} the servers' ports
        QTest::addColumn<QStringList>("erwartet");
        QTest::addColumn<QByteArrayList>("abrufe"); // what the description servers were asked, "N path"

        const QByteArray gut = ssdpAntwort(Urn, "http://127.0.0.2:{P0}/tr64desc.xml");
        QTest::newRow("router with its name") << QByteArrayList{"0|" + gut} << QStringList{u"127.0.0.2|Heimrouter 7590"_s}
                                              << QByteArrayList{"0 /tr64desc.xml"};
        QTest::newRow("answered twice, listed once")
            << QByteArrayList{"0|" + gut, "0|" + gut} << QStringList{u"127.0.0.2|Heimrouter 7590"_s}
            << QByteArrayList{"0 /tr64desc.xml"};
        QTest::newRow("two routers")
            << QByteArrayList{"0|" + gut, "1|" + ssdpAntwort(Urn, "http://127.0.0.3:{P1}/tr64desc.xml")}
            << QStringList{u"127.0.0.2|Heimrouter 7590"_s, u"127.0.0.3|Zweiter Router"_s}
            << QByteArrayList{"0 /tr64desc.xml", "1 /tr64desc.xml"};
        QTest::newRow("another kind of device")
            << QByteArrayList{"0|" + ssdpAntwort("urn:schemas-upnp-org:device:MediaServer:1",
                                                 "http://127.0.0.2:{P0}/tr64desc.xml")}
            << QStringList{} << QByteArrayList{};
        QTest::newRow("no answer but a notice")
            << QByteArrayList{"0|NOTIFY * HTTP/1.1\r\nNT: " + Urn + "\r\nLOCATION: http://127.0.0.2:{P0}/tr64desc.xml\r\n\r\n"}
            << QStringList{} << QByteArrayList{};
        // A description elsewhere is not fetched: an answer must not send Rufmon anywhere.
        QTest::newRow("description on another host")
            << QByteArrayList{"0|" + ssdpAntwort(Urn, "http://127.0.0.3:{P1}/tr64desc.xml")}
            << QStringList{u"127.0.0.2|"_s} << QByteArrayList{};
        QTest::newRow("description not over http")
            << QByteArrayList{"0|" + ssdpAntwort(Urn, "file:///etc/passwd")} << QStringList{u"127.0.0.2|"_s}
            << QByteArrayList{};
        QTest::newRow("description too large")
            << QByteArrayList{"0|" + ssdpAntwort(Urn, "http://127.0.0.2:{P0}/gross.xml")} << QStringList{u"127.0.0.2|"_s}
            << QByteArrayList{"0 /gross.xml"};
        QTest::newRow("description server silent")
            << QByteArrayList{"0|" + ssdpAntwort(Urn, "http://127.0.0.2:{P0}/stumm.xml")} << QStringList{u"127.0.0.2|"_s}
            << QByteArrayList{"0 /stumm.xml"};
        QTest::newRow("answer too long")
            << QByteArrayList{"0|" + gut.chopped(2) + "X-FUELLUNG: " + QByteArray(3000, 'x') + "\r\n\r\n"}
            << QStringList{} << QByteArrayList{};
        QTest::newRow("name with markup and control characters")
            << QByteArrayList{"0|" + ssdpAntwort(Urn, "http://127.0.0.2:{P0}/boese.xml")}
            << QStringList{u"127.0.0.2|Router <b> & Co"_s} << QByteArrayList{"0 /boese.xml"};
    }
    void routerSuche()
    {
        QFETCH(QByteArrayList, antworten);
        QFETCH(QStringList, erwartet);
        QFETCH(QByteArrayList, abrufe);

        QList<std::shared_ptr<Beschreibungsserver>> server;
        QList<std::shared_ptr<QUdpSocket>> absender;
        for (const QHostAddress &adresse : m_router) {
            auto s = std::make_shared<Beschreibungsserver>(adresse);
            QVERIFY2(s->isListening(), qPrintable(s->errorString()));
            server << s;
            auto u = std::make_shared<QUdpSocket>();
            QVERIFY(u->bind(adresse, 0));
            absender << u;
        }
        server[0]->seiten.insert("/tr64desc.xml", beschreibung("Heimrouter 7590"));
        server[1]->seiten.insert("/tr64desc.xml", beschreibung("Zweiter Router"));
        server[0]->seiten.insert("/gross.xml", beschreibung(QByteArray(RouterSuche::MaxBeschreibungBytes, 'x')));
        server[0]->seiten.insert("/boese.xml", beschreibung("Router &lt;b&gt; &amp;\xe2\x80\x8b Co\t\n"));

        // The search reaches the responder; the routers answer its sender.
        QUdpSocket empfaenger;
        QVERIFY(empfaenger.bind(QHostAddress::LocalHost, 0));
        QByteArrayList anfragen;
        connect(&empfaenger, &QUdpSocket::readyRead, this, [&] {
            while (empfaenger.hasPendingDatagrams()) {
                const QNetworkDatagram d = empfaenger.receiveDatagram();
                anfragen << d.data();
                if (anfragen.size() > 1)
                    continue; // the repetition is not answered again
                for (QByteArray antwort : antworten) {
                    const int von = antwort.left(1).toInt();
                    antwort = antwort.mid(2).replace("{P0}", QByteArray::number(server[0]->serverPort()))
                                  .replace("{P1}", QByteArray::number(server[1]->serverPort()));
                    absender[von]->writeDatagram(antwort, d.senderAddress(), d.senderPort());
                }
            }
        });

        RouterSuche suche;
        suche.setZiel(QHostAddress::LocalHost, empfaenger.localPort());
        suche.setSuchdauerMs(1500);
        QSignalSpy beendet(&suche, &RouterSuche::beendet);
        suche.starten();
        QVERIFY(suche.laeuft());
        QVERIFY(beendet.wait(RouterSuche::BeschreibungMs + 5000));
        QVERIFY(!suche.laeuft());

        QStringList gefunden;
        for (const RouterSuche::Router &r : suche.router())
            gefunden << r.adresse + u'|' + r.name;
        QCOMPARE(gefunden, erwartet);
        QByteArrayList gefragt;
        for (int i = 0; i < server.size(); ++i) {
            for (const QByteArray &pfad : std::as_const(server[i]->abgerufen))
                gefragt << QByteArray::number(i) + ' ' + pfad;
        }
        QCOMPARE(gefragt, abrufe);
        // The search as routers expect it, sent once more in case it got lost.
        QCOMPARE(anfragen.size(), 2);
        QCOMPARE(anfragen.first(), RouterSuche::suchanfrage());
        QVERIFY(anfragen.first().contains("ST: " + Urn + "\r\n"));
        QVERIFY(anfragen.first().contains("MAN: \"ssdp:discover\"\r\n"));
        QVERIFY(anfragen.first().startsWith("M-SEARCH * HTTP/1.1\r\nHOST: 239.255.255.250:1900\r\n"));
    }

    // Without a test naming another target, the search goes to the multicast group.
    void routerSucheStandardziel()
    {
        QCOMPARE(RouterSuche::ssdpGruppe(), QHostAddress(u"239.255.255.250"_s));
        QCOMPARE(RouterSuche::SsdpPort, quint16(1900));
    }

    // A new search forgets the last one's routers; one that is cancelled says nothing more.
    void routerSucheAbbrechen()
    {
        RouterSuche suche;
        QUdpSocket stumm;
        QVERIFY(stumm.bind(QHostAddress::LocalHost, 0));
        suche.setZiel(QHostAddress::LocalHost, stumm.localPort());
        QSignalSpy beendet(&suche, &RouterSuche::beendet);
        suche.starten();
        suche.abbrechen();
        QVERIFY(!suche.laeuft());
        QTest::qWait(100);
        QCOMPARE(beendet.count(), 0);
    }

    void verbindungsprobe_data()
    {
        QTest::addColumn<QString>("ziel"); // "offen", "zu" or a host name
        QTest::addColumn<Verbindungsprobe::Ergebnis>("erwartet");

        QTest::newRow("call monitor on") << u"offen"_s << Verbindungsprobe::Ergebnis::Offen;
        QTest::newRow("call monitor off") << u"zu"_s << Verbindungsprobe::Ergebnis::Abgewiesen;
        QTest::newRow("no such host") << u"router.invalid"_s << Verbindungsprobe::Ergebnis::Fehler;
    }
    void verbindungsprobe()
    {
        QFETCH(QString, ziel);
        QFETCH(Verbindungsprobe::Ergebnis, erwartet);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const quint16 port = server.serverPort();
        if (ziel == u"zu")
            server.close(); // a port nobody listens on
        Verbindungsprobe probe;
        QSignalSpy ergebnis(&probe, &Verbindungsprobe::ergebnis);
        probe.pruefen(ziel == u"offen" || ziel == u"zu" ? u"127.0.0.1"_s : ziel, port);
        QVERIFY(ergebnis.wait(Verbindungsprobe::WarteMs + 2000));
        QCOMPARE(ergebnis.first().at(0).value<Verbindungsprobe::Ergebnis>(), erwartet);
        QVERIFY(!probe.laeuft());
        // It only knocks: the connection is closed again at once.
        if (ziel == u"offen") {
            QTRY_VERIFY(server.hasPendingConnections());
            QTcpSocket *s = server.nextPendingConnection();
            QTRY_COMPARE(s->state(), QAbstractSocket::UnconnectedState);
        }
    }

    // The extensions of a system: PJSIP first, chan_sip where PJSIP has none.
    void nebenstellen_data()
    {
        QTest::addColumn<QByteArray>("pjsip");  // the answer to PJSIPShowEndpoints; {ID} its ActionID
        QTest::addColumn<QByteArray>("sip");    // the answer to SIPpeers; empty: not asked
        QTest::addColumn<QStringList>("erwartet");

        const QByteArray pjsip = "Response: Success\r\nActionID: {ID}\r\nEventList: start\r\nMessage: A listing of "
                                 "Endpoints follows, presented as EndpointList events\r\n\r\n"
                                 "Event: EndpointList\r\nActionID: {ID}\r\nObjectType: endpoint\r\nObjectName: 201\r\n"
                                 "Transport: transport-udp\r\nAor: 201\r\nDeviceState: Not in use\r\n\r\n"
                                 "Event: EndpointList\r\nActionID: {ID}\r\nObjectType: endpoint\r\nObjectName: 202\r\n\r\n"
                                 "Event: Newchannel\r\nChannel: PJSIP/trunk-0001\r\n\r\n"
                                 "Event: EndpointList\r\nActionID: {ID}\r\nObjectType: endpoint\r\nObjectName: 201\r\n\r\n"
                                 "Event: EndpointList\r\nActionID: {ID}\r\nObjectType: endpoint\r\nObjectName: \r\n\r\n"
                                 "Event: EndpointList\r\nActionID: {ID}\r\nObjectType: endpoint\r\nObjectName: trunk-anbieter\r\n\r\n"
                                 "Event: EndpointListComplete\r\nActionID: {ID}\r\nEventList: Complete\r\nListItems: 5\r\n\r\n";
        const QByteArray sip = "Response: Success\r\nActionID: {ID}\r\nEventList: start\r\nMessage: Peer status list "
                               "will follow\r\n\r\n"
                               "Event: PeerEntry\r\nActionID: {ID}\r\nChanneltype: SIP\r\nObjectName: 301\r\n"
                               "ChanObjectType: peer\r\nStatus: OK (5 ms)\r\n\r\n"
                               "Event: PeerEntry\r\nActionID: {ID}\r\nObjectName: 302\r\n\r\n"
                               "Event: PeerlistComplete\r\nActionID: {ID}\r\nEventList: Complete\r\nListItems: 2\r\n\r\n";
        const QByteArray unbekannt = "Response: Error\r\nActionID: {ID}\r\nMessage: Invalid/unknown command: "
                                     "PJSIPShowEndpoints. Use Action: ListCommands to show available commands.\r\n\r\n";
        const QByteArray leer = "Response: Success\r\nActionID: {ID}\r\nEventList: start\r\n\r\n"
                                "Event: EndpointListComplete\r\nActionID: {ID}\r\nEventList: Complete\r\nListItems: 0\r\n\r\n";

        QTest::newRow("PJSIP") << pjsip << QByteArray()
                               << QStringList{u"PJSIP/201"_s, u"PJSIP/202"_s, u"PJSIP/trunk-anbieter"_s};
        QTest::newRow("no PJSIP: chan_sip") << unbekannt << sip << QStringList{u"SIP/301"_s, u"SIP/302"_s};
        QTest::newRow("PJSIP without endpoints: chan_sip") << leer << sip << QStringList{u"SIP/301"_s, u"SIP/302"_s};
        QTest::newRow("neither") << unbekannt << QByteArray(unbekannt).replace("PJSIPShowEndpoints", "SIPpeers")
                                 << QStringList{};
    }
    void nebenstellen()
    {
        QFETCH(QByteArray, pjsip);
        QFETCH(QByteArray, sip);
        QFETCH(QStringList, erwartet);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        NebenstellenAbfrage abfrage;
        QSignalSpy gelesen(&abfrage, &NebenstellenAbfrage::gelesen);
        QSignalSpy fehler(&abfrage, &NebenstellenAbfrage::fehler);
        abfrage.abfragen({u"127.0.0.1"_s, server.serverPort()}, u"rufmon"_s, u"geheim"_s);

        Gegenstelle g = annehmen(server);
        QVERIFY(g.socket);
        const QByteArray login = g.anmelden(u"geheim"_s);
        // The password leaves only as the key to the challenge; no call events are wanted.
        const AmiNachricht n = AmiNachricht::lies(login);
        QCOMPARE(n.wert(u"Action"), u"Login"_s);
        QCOMPARE(n.wert(u"Username"), u"rufmon"_s);
        QCOMPARE(n.wert(u"AuthType"), u"MD5"_s);
        QVERIFY(!n.hat(u"Secret"));
        QVERIFY(!login.contains("geheim"));
        QCOMPARE(n.wert(u"Events"), u"off"_s);

        antworte(g, u"PJSIPShowEndpoints"_s, pjsip);
        if (!sip.isEmpty())
            antworte(g, u"SIPpeers"_s, sip);
        QTRY_COMPARE_WITH_TIMEOUT(gelesen.count(), 1, 5000);
        QCOMPARE(gelesen.first().first().toStringList(), erwartet);
        QCOMPARE(fehler.count(), 0);
        // It logs off and leaves.
        QCOMPARE(AmiNachricht::lies(g.aktion()).wert(u"Action"), u"Logoff"_s);
        QTRY_COMPARE(g.socket->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(!abfrage.laeuft());
    }

    // What ends a query early, and what it tells; never a password in the clear.
    void nebenstellenFehler_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("kennwort");
        QTest::addColumn<QString>("grund");

        QTest::newRow("no challenge") << u"ohneChallenge"_s << u"geheim"_s
                                      << u"Die Telefonanlage 127.0.0.1:{P} lehnt die sichere Anmeldung ab"_s;
        QTest::newRow("login refused") << u"falsch"_s << u"falsch"_s
                                       << u"Die Telefonanlage 127.0.0.1:{P} hat die Anmeldung als „rufmon“ abgelehnt"_s;
        QTest::newRow("silent system") << u"stumm"_s << u"geheim"_s
                                       << u"Die Telefonanlage 127.0.0.1:{P} antwortet nicht innerhalb von 0.5 s"_s;
        QTest::newRow("nobody listening") << u"zu"_s << u"geheim"_s
                                          << u"Keine Verbindung zur Telefonanlage 127.0.0.1:{P}: Verbindung abgelehnt"_s;
    }
    void nebenstellenFehler()
    {
        QFETCH(QString, fall);
        QFETCH(QString, kennwort);
        QFETCH(QString, grund);

        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const quint16 port = server.serverPort();
        if (fall == u"zu")
            server.close();
        NebenstellenAbfrage abfrage;
        abfrage.setWarteMs(500);
        QSignalSpy gelesen(&abfrage, &NebenstellenAbfrage::gelesen);
        QSignalSpy fehler(&abfrage, &NebenstellenAbfrage::fehler);
        abfrage.abfragen({u"127.0.0.1"_s, port}, u"rufmon"_s, kennwort);

        QByteArray alles; // everything Rufmon sent
        if (fall != u"zu") {
            Gegenstelle g = annehmen(server);
            QVERIFY(g.socket);
            if (fall == u"ohneChallenge") {
                const QByteArray challenge = g.aktion();
                alles += challenge;
                g.sende("Response: Error\r\nActionID: " + AmiNachricht::lies(challenge).wert(u"ActionID").toUtf8()
                        + "\r\nMessage: Must specify AuthType\r\n\r\n");
            } else if (fall == u"falsch") {
                alles += g.anmelden(u"geheim"_s);
            }
            QTRY_COMPARE_WITH_TIMEOUT(fehler.count(), 1, 5000);
            g.socket->waitForReadyRead(100);
            alles += g.puffer + g.socket->readAll();
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(fehler.count(), 1, 5000);
        }
        QCOMPARE(fehler.first().first().toString(), QString(grund).replace(u"{P}"_s, QString::number(port)));
        QCOMPARE(gelesen.count(), 0);
        QVERIFY(!alles.contains("Secret"));
        QVERIFY(!alles.contains(kennwort.toUtf8()));
        QVERIFY(!abfrage.laeuft());
    }

    // A gateway that greets only after the login is asked all the same.
    void nebenstellenOhneBegruessung()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        NebenstellenAbfrage abfrage;
        abfrage.setBegruessungMs(100);
        QSignalSpy gelesen(&abfrage, &NebenstellenAbfrage::gelesen);
        abfrage.abfragen({u"127.0.0.1"_s, server.serverPort()}, u"rufmon"_s, u"geheim"_s);
        QVERIFY(server.waitForNewConnection(5000));
        Gegenstelle g{server.nextPendingConnection(), {}};
        QVERIFY(!g.anmelden(u"geheim"_s).isEmpty());
        antworte(g, u"PJSIPShowEndpoints"_s,
                 "Response: Success\r\nActionID: {ID}\r\n\r\nEvent: EndpointList\r\nActionID: {ID}\r\nObjectName: 201\r\n\r\n"
                 "Event: EndpointListComplete\r\nActionID: {ID}\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(gelesen.count(), 1, 5000);
        QCOMPARE(gelesen.first().first().toStringList(), QStringList{u"PJSIP/201"_s});
    }

    // Without a password nothing secret can leave: the plain login of the device.
    void nebenstellenOhneKennwort()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        NebenstellenAbfrage abfrage;
        QSignalSpy gelesen(&abfrage, &NebenstellenAbfrage::gelesen);
        abfrage.abfragen({u"127.0.0.1"_s, server.serverPort()}, u"rufmon"_s, QString());
        Gegenstelle g = annehmen(server);
        QVERIFY(g.socket);
        const QByteArray login = g.anmelden(QString(), false);
        QCOMPARE(AmiNachricht::lies(login).wert(u"Secret"), QString());
        QVERIFY(AmiNachricht::lies(login).hat(u"Secret"));
        antworte(g, u"PJSIPShowEndpoints"_s, "Response: Error\r\nActionID: {ID}\r\nMessage: No endpoints found\r\n\r\n");
        antworte(g, u"SIPpeers"_s, "Response: Error\r\nActionID: {ID}\r\nMessage: Permission denied\r\n\r\n");
        QTRY_COMPARE_WITH_TIMEOUT(gelesen.count(), 1, 5000);
        QCOMPARE(gelesen.first().first().toStringList(), QStringList{});
    }

    void anzeigename_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("name");

        QTest::newRow("usb modem") << u"usb-U.S._Robotics_USB_Modem_0001-if00"_s << u"U.S. Robotics USB Modem 0001"_s;
        QTest::newRow("adapter port") << u"usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0"_s << u"FTDI FT232R USB UART A1B2C3"_s;
        QTest::newRow("pci") << u"pci-Heimmodem_56k"_s << u"Heimmodem 56k"_s;
        QTest::newRow("plain") << u"Modem"_s << u"Modem"_s;
    }
    void anzeigename()
    {
        QFETCH(QString, eintrag);
        QFETCH(QString, name);
        QCOMPARE(ModemSuche::anzeigename(eintrag), name);
    }

    // The ports of the by-id folder: links to the devices, one that points nowhere left out.
    void schnittstellen()
    {
        QTemporaryDir byId;
        Pty pty;
        QVERIFY(!pty.slavePath.isEmpty());
        QVERIFY(QFile::link(pty.slavePath, byId.filePath(u"usb-Heimmodem_56k_0001-if00"_s)));
        QVERIFY(QFile::link(byId.filePath(u"weg"_s), byId.filePath(u"usb-Abgezogen-if00"_s)));
        const QList<ModemSuche::Schnittstelle> liste = ModemSuche::schnittstellen(byId.path());
        QCOMPARE(liste.size(), 1);
        QCOMPARE(liste[0].name, u"Heimmodem 56k 0001"_s);
        QCOMPARE(liste[0].pfad, byId.filePath(u"usb-Heimmodem_56k_0001-if00"_s));
        QCOMPARE(liste[0].geraet, pty.slavePath);
        QVERIFY(ModemSuche::schnittstellen(byId.filePath(u"gibtEsNicht"_s)).isEmpty());
    }

    void modemPruefung_data()
    {
        QTest::addColumn<QByteArray>("antwort"); // of the modem to "AT"; empty: none
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("grund");

        QTest::newRow("modem") << QByteArray("OK") << true << QString();
        QTest::newRow("modem refuses") << QByteArray("ERROR") << false << u"{PFAD} antwortet auf AT mit ERROR."_s;
        QTest::newRow("no answer") << QByteArray() << false << u"{PFAD} antwortet nicht innerhalb von 0.3 s auf AT."_s;
    }
    void modemPruefung()
    {
        QFETCH(QByteArray, antwort);
        QFETCH(bool, ok);
        QFETCH(QString, grund);

        QTemporaryDir byId;
        Pty pty;
        QVERIFY(!pty.slavePath.isEmpty());
        const QString pfad = byId.filePath(u"usb-Heimmodem-if00"_s);
        QVERIFY(QFile::link(pty.slavePath, pfad));
        ModemPruefung pruefung;
        pruefung.setWarteMs(300);
        QSignalSpy ergebnis(&pruefung, &ModemPruefung::ergebnis);
        pruefung.pruefen(pfad, 115200);
        QVERIFY(pruefung.laeuft());
        QCOMPARE(pty.takeCommand(antwort), QByteArray("AT\r"));
        QTRY_COMPARE_WITH_TIMEOUT(ergebnis.count(), 1, 3000);
        QCOMPARE(ergebnis.first().at(0).toBool(), ok);
        QCOMPARE(ergebnis.first().at(1).toString(), QString(grund).replace(u"{PFAD}"_s, pfad));
        QVERIFY(!pruefung.laeuft());
    }

    void modemPruefungOhneGeraet()
    {
        QTemporaryDir dir;
        ModemPruefung pruefung;
        QSignalSpy ergebnis(&pruefung, &ModemPruefung::ergebnis);
        pruefung.pruefen(dir.filePath(u"ttyACM9"_s), 115200);
        QCOMPARE(ergebnis.count(), 1);
        QCOMPARE(ergebnis.first().at(0).toBool(), false);
        QVERIFY2(ergebnis.first().at(1).toString().startsWith(dir.filePath(u"ttyACM9"_s) + u" lässt sich nicht öffnen"_s),
                 qPrintable(ergebnis.first().at(1).toString()));
    }

private:
    static Gegenstelle annehmen(QTcpServer &server)
    {
        if (!server.waitForNewConnection(5000))
            return {};
        Gegenstelle g{server.nextPendingConnection(), {}};
        g.sende("Asterisk Call Manager/5.0.1\r\n");
        return g;
    }
    // Answers the challenge and the login as a system with that secret does;
    // the login as sent.
    // Takes the next action, which must be `aktion`, and answers it.
    static void antworte(Gegenstelle &g, const QString &aktion, QByteArray antwort)
    {
        const AmiNachricht n = AmiNachricht::lies(g.aktion());
        QCOMPARE(n.wert(u"Action"), aktion);
        g.sende(antwort.replace("{ID}", n.wert(u"ActionID").toUtf8()));
    }
};

QTEST_MAIN(tst_Leitungssuche)
#include "tst_Leitungssuche.moc"
