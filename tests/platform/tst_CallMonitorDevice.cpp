#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"

#include "doubles/MemorySettings.h"
#include "tests/platform/Leitungsereignisse.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Device = CallMonitorDevice;

const QByteArray Ring = "24.12.24 18:30:05;RING;0;0301234567;987654;SIP0;\r\n";
const QStringList RingEvents{u"OnCallState(OFFERING,1,0)"_s, u"OnOffering(<OWNER>,1)"_s,
                             u"OnCallerID(0301234567,,<ADDRESS>,0,1)"_s, u"OnCalledID(987654,0,1)"_s};
const QByteArray Disconnect = "24.12.24 18:35:00;DISCONNECT;0;233;\r\n";

QStringList disconnectEvents(const QString &id = u"0"_s, const QString &handle = u"1"_s)
{
    return {u"OnCallState(DISCONNECTED,%1,%2)"_s.arg(handle, id), u"OnDisconnected(<NORMAL>,%1)"_s.arg(handle),
            u"OnCallState(IDLE,%1,%2)"_s.arg(handle, id)};
}

} // namespace

// The router is played by a real TCP server on the loopback.
class tst_CallMonitorDevice : public QObject
{
    Q_OBJECT

    MemorySettings m_store;
    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<Device> m_device;
    QStringList m_events; // "Signal(arg,arg,…)" in order
    QStringList m_diagnoses;
    QList<QStringList> m_errors;

    // The grace period is read from the settings on construction.
    void makeDevice()
    {
        m_device = std::make_unique<Device>(u"127.0.0.1"_s, m_server->serverPort(), m_store);
        m_device->setRetryIntervalMs(100);
        Leitungsereignisse::zeichneAuf(*m_device, this, m_events);
        connect(m_device.get(), &LineDevice::Diagnose, this, [this](const QString &text) { m_diagnoses << text; });
        connect(m_device.get(), &LineDevice::OnError, this, [this](const QString &text, const QString &source, int n) {
            m_errors.append({text, source, QString::number(n)});
        });
    }
    QTcpSocket *accept()
    {
        const bool waiting = QTest::qWaitFor([this] { return m_server->hasPendingConnections(); }, 5000);
        return waiting ? m_server->nextPendingConnection() : nullptr;
    }
    // Opens the line and hands out the server's end; a first report that
    // arrives proves the device connected.
    QTcpSocket *connectDevice()
    {
        m_device->openLine();
        QTcpSocket *peer = accept();
        if (peer)
            send(peer, Ring);
        if (!peer || !QTest::qWaitFor([this] { return m_events == RingEvents; }, 5000))
            return nullptr;
        m_events.clear();
        return peer;
    }
    static void send(QTcpSocket *peer, const QByteArray &data)
    {
        peer->write(data);
        peer->flush();
    }

private slots:
    void init()
    {
        m_device.reset();
        m_store.values.clear();
        m_events.clear();
        m_diagnoses.clear();
        m_errors.clear();
        m_server = std::make_unique<QTcpServer>();
        QVERIFY(m_server->listen(QHostAddress::LocalHost));
        makeDevice();
    }

    void zeilen_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("problem"); // in the one diagnosis expected, or none

        const auto good = [](const char *name, const QByteArrayList &chunks, const QStringList &events) {
            QTest::newRow(name) << chunks << events << QString();
        };
        const auto bad = [](const char *name, const QByteArray &line, const QString &problem) {
            QTest::newRow(name) << QByteArrayList{line + Ring} << RingEvents << problem;
        };
        const QByteArray call = "24.12.24 18:31:00;CALL;1;10;987654;0301234567;SIP0;\r\n";
        const QStringList callEvents{u"OnCallState(DIALTONE,2,1)"_s, u"OnCalledID(0301234567,1,2)"_s,
                                     u"OnCallState(PROCEEDING,2,1)"_s};
        const QByteArray connect = "24.12.24 18:31:07;CONNECT;0;11;0301234567;\r\n";
        const QStringList connectEvents{u"OnCallState(CONNECTED,1,0)"_s, u"OnConnected(<ACTIVE>,1)"_s,
                                        u"OnConnectedID(0301234567,0,1)"_s};
        QByteArrayList bytes; // CR and LF apart among them
        for (const char c : Ring)
            bytes.append(QByteArray(1, c));
        const QByteArray date = "24.12.24 18:30:05";
        const auto ringOfSize = [](qsizetype size) { // without CR LF, its last field padded
            return Ring.chopped(3) + QByteArray(size - Ring.size() + 2, 'S') + ";\r\n";
        };

        good("alle Arten auf einmal, Leerzeilen", {"\r\n\n" + Ring + call + connect + Disconnect},
             RingEvents + callEvents + connectEvents + disconnectEvents());
        good("byteweise", bytes, RingEvents);
        good("unterdrückt, nur LF", {"01.01.25 00:00:01;RING;7;;987654;SIP1;\n"},
             {u"OnCallState(OFFERING,8,7)"_s, u"OnOffering(<OWNER>,8)"_s, u"OnCallerID(,,<BLOCKED>,7,8)"_s,
              u"OnCalledID(987654,7,8)"_s});
        good("weitere Felder, UTF-8", {Ring.chopped(7) + "B\xc3\xbcro \xe2\x98\x8e;neu;mehr;\r\n"}, RingEvents);
        good("4096 Bytes", {ringOfSize(4096)}, RingEvents);
        good("größte Nummer", {"24.12.24 18:35:00;DISCONNECT;999999998;0;\r\n"},
             disconnectEvents(u"999999998"_s, u"999999999"_s));
        bad("unbekannte Meldung", date + ";KLINGEL;0;1;2;3;\r\n", u"unbekannte Meldung"_s);
        bad("RING zu kurz", date + ";RING;0;123;\r\n", u"zu wenige Felder"_s);
        bad("Nummer zu groß", date + ";DISCONNECT;4294967297;0;\r\n", u"Verbindungsnummer"_s);
        bad("29.02.23", "29.02.23 18:30:05;DISCONNECT;0;0;\n", u"Datum"_s);
        bad("C1", date + ";RING;0;1\xc2\x85;9;SIP0;\r\n", u"Steuerzeichen"_s);
        bad("UTF-8 abgeschnitten", date + ";RING;0;1;9;SIP0\xc3\r\n", u"UTF-8"_s);
        bad("4097 Bytes, nur LF", ringOfSize(4097).chopped(2) + "\n", u"4096 Bytes"_s);
    }
    void zeilen()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QStringList, events);
        QFETCH(QString, problem);

        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        for (const QByteArray &chunk : chunks) {
            send(peer, chunk);
            if (chunks.size() > 1)
                QTest::qWait(2); // gives each piece the chance to arrive on its own
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QCOMPARE(m_events, events);
        QCOMPARE(m_diagnoses.size(), problem.isEmpty() ? 0 : 1);
        if (!problem.isEmpty())
            QVERIFY2(m_diagnoses[0].contains(problem), qPrintable(m_diagnoses[0]));
        QVERIFY(m_device->isOpen());
    }

    void endloseZeileWirdNichtGepuffert()
    {
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        // Reported while the line still runs, so it was not held until its end.
        send(peer, QByteArray(64 * 1024, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        for (int i = 0; i < 16; ++i)
            send(peer, QByteArray(64 * 1024, ';'));
        send(peer, "\r\n" + Ring);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, RingEvents, 10000);
        QCOMPARE(m_diagnoses.size(), 1);
    }

    // The router restarts: the connection drops and the port is closed for a while.
    void wiederverbindenInnerhalbDerFrist()
    {
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        const quint16 port = m_server->serverPort();
        m_server->close();
        peer->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        QTest::qWait(300); // a few refused attempts
        QVERIFY(m_device->isOpen());
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        peer = accept();
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 2, 5000);
        QVERIFY2(m_diagnoses[1].contains(u"wiederhergestellt"_s), qPrintable(m_diagnoses[1]));
        send(peer, Disconnect);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, disconnectEvents(), 5000);
        QVERIFY(m_errors.isEmpty());
    }

    void aufgegeben_data()
    {
        QTest::addColumn<bool>("connectFirst");
        QTest::addColumn<QString>("text");
        const QString text = u"Verbindung zum Anrufmonitor 127.0.0.1:%1 "_s;
        QTest::newRow("erste Verbindung abgelehnt") << false << text + u"nicht möglich: "_s;
        QTest::newRow("Frist aus den Einstellungen abgelaufen") << true << text + u"verloren"_s;
    }
    void aufgegeben()
    {
        QFETCH(bool, connectFirst);
        QFETCH(QString, text);

        m_store.values[u"Telefonie/Wiederverbinden"_s] = u" 0 "_s;
        makeDevice();
        const quint16 port = m_server->serverPort();
        QTcpSocket *peer = connectFirst ? connectDevice() : nullptr;
        QVERIFY(peer || !connectFirst);
        m_server->close();
        peer ? peer->abort() : m_device->openLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_errors.size(), 1, 5000);
        QVERIFY2(m_errors[0][0].startsWith(text.arg(port)), qPrintable(m_errors[0][0]));
        QCOMPARE(m_errors[0].mid(1), (QStringList{m_device->name(), u"1013"_s}));
        QVERIFY(!m_device->isOpen());
        // Given up, the device stays away even when the router is back.
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        QTest::qWait(300);
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_errors.size(), 1);
    }

    void waehlenGehtNicht()
    {
        m_device->dial(u"0301234567"_s, 0);
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(m_errors[0][1], m_device->name());
    }

    // Closed, the line reports nothing more and does not come back by itself.
    void schliessen()
    {
        // From a slot: a report read along with the current one is not raised.
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        const auto closing = connect(m_device.get(), &LineDevice::OnCalledID, m_device.get(), &LineDevice::closeLine);
        send(peer, Ring + Disconnect);
        QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(m_events, RingEvents);
        disconnect(closing);
        m_events.clear();

        // While waiting to reconnect.
        peer = connectDevice();
        QVERIFY(peer);
        peer->abort();
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 1, 5000);
        m_device->closeLine();
        QTest::qWait(300); // three retry intervals
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_diagnoses.size(), 1);
        QVERIFY(m_events.isEmpty());
        QVERIFY(m_errors.isEmpty());
    }

    // Entries that make no sense are left out, the rest kept once each.
    void einstellungen()
    {
        m_store.values[u"Telefonie/Anrufmonitore"_s] =
            u" 192.168.178.1 : 1013 , router:2000 ,, fritz.box:1012,fritz.box,[::1]:1013,[fe80::1],a:1,b:65535,"
            "a:0,b:65536,c:x,:1012,d:,[::1,[zzz]:1,::1,e f:1,g:1:2,[::1]1,h:-1,i:+1"_s;
        QStringList actual;
        for (const auto &[host, port] : CallMonitorDevice::configured(m_store))
            actual.append(host + u'|' + QString::number(port));
        QCOMPARE(actual, (QStringList{u"192.168.178.1|1013"_s, u"router|2000"_s, u"fritz.box|1012"_s, u"::1|1013"_s,
                                      u"fe80::1|1012"_s, u"a|1"_s, u"b|65535"_s}));
    }

    // Only this device's entry changes; the others stay as written.
    void dialog()
    {
        const QString key = u"Telefonie/Anrufmonitore"_s;
        m_store.values[key] = u"andere:1, fritz.box ,[::1]"_s;
        Device device(u"fritz.box"_s, 1012, m_store);
        // Shows the dialog's entry, edits it, tells whether OK was enabled and accepts.
        const auto edit = [&device](const QString &host, int port) {
            const auto dialog = std::make_unique<CallMonitorDialog>(device);
            auto *hostEdit = dialog->findChild<QLineEdit *>(u"host"_s);
            auto *portBox = dialog->findChild<QSpinBox *>(u"port"_s);
            if (!hostEdit || !portBox)
                return u"Feld fehlt"_s;
            const QString shown = u"%1 %2"_s.arg(hostEdit->text()).arg(portBox->value());
            hostEdit->setText(host);
            portBox->setValue(port);
            const bool ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled();
            dialog->accept();
            return shown + (ok ? u" OK"_s : u" gesperrt"_s);
        };
        QCOMPARE(edit(u"kein name"_s, 1012), u"fritz.box 1012 gesperrt"_s);
        QCOMPARE(m_store.values[key], u"andere:1, fritz.box ,[::1]"_s);
        QCOMPARE(edit(u"[fe80::2]"_s, 1012), u"fritz.box 1012 OK"_s);
        QCOMPARE(m_store.values[key], u"andere:1,[fe80::2]:1012,[::1]"_s);
        QCOMPARE(edit(u"router"_s, 2000), u"fe80::2 1012 OK"_s);
        QCOMPARE(m_store.values[key], u"andere:1,router:2000,[::1]"_s);
        m_store.values[key] = u"andere:1"_s; // not yet in the list
        QCOMPARE(edit(u"fritz.box"_s, 1012), u"router 2000 OK"_s);
        QCOMPARE(m_store.values[key], u"andere:1,fritz.box:1012"_s);
    }
};

QTEST_MAIN(tst_CallMonitorDevice)
#include "tst_CallMonitorDevice.moc"
