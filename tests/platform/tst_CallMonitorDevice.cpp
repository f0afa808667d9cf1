#include "platform/settings/SettingsStore.h"
#include "platform/telephony/CallMonitorDevice.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

class MemoryStore : public SettingsStore
{
public:
    QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) const override
    {
        return m_values.value(section + u'/' + key, defaultValue);
    }
    void SaveSetting(const QString &section, const QString &key, const QString &value) override
    {
        m_values.insert(section + u'/' + key, value);
    }
    bool sync() override { return true; }

private:
    QHash<QString, QString> m_values;
};

// Opens the dialog factory to the test.
class Device : public CallMonitorDevice
{
public:
    using CallMonitorDevice::CallMonitorDevice;
    using CallMonitorDevice::createConfigDialog;
};

// Writes down every event of a device in order, as "Name(arg,arg,…)".
class Recorder : public QObject
{
public:
    explicit Recorder(LineDevice &d)
    {
#define RECORD(signal) record(d, &LineDevice::signal, QStringLiteral(#signal))
        RECORD(OnCallState), RECORD(OnCallerID), RECORD(OnConnectedID), RECORD(OnCalledID);
        RECORD(OnRedirectingID), RECORD(OnRedirectionID), RECORD(OnCallOrigin), RECORD(OnBusy);
        RECORD(OnConnected), RECORD(OnDialtone), RECORD(OnDisconnected), RECORD(OnOffering), RECORD(OnRinging);
#undef RECORD
        connect(&d, &LineDevice::Diagnose, this, [this](const QString &text) { diagnoses.append(text); });
        connect(&d, &LineDevice::OnError, this, [this](const QString &text, const QString &source, int number) {
            errors.append({text, source, QString::number(number)});
        });
    }

    QStringList events;
    QStringList diagnoses;
    QList<QStringList> errors;

private:
    template <typename... Args>
    void record(LineDevice &d, void (LineDevice::*signal)(Args...), const QString &name)
    {
        connect(&d, signal, this, [this, name](Args... args) {
            events.append(name + u'(' + QStringList{text(args)...}.join(u',') + u')');
        });
    }
    static QString text(const QString &value) { return value; }
    static QString text(int value) { return QString::number(value); }
};

const QByteArray Ring = "24.12.24 18:30:05;RING;0;0301234567;987654;SIP0;\r\n";
const QStringList RingEvents{u"OnCallState(OFFERING,1,0)"_s, u"OnOffering(<OWNER>,1)"_s,
                             u"OnCallerID(0301234567,,<ADDRESS>,0,1)"_s, u"OnCalledID(987654,0,1)"_s};
const QStringList DisconnectEvents{u"OnCallState(DISCONNECTED,1,0)"_s, u"OnDisconnected(<NORMAL>,1)"_s,
                                   u"OnCallState(IDLE,1,0)"_s};

// A RING line whose text (without CR LF) is exactly size bytes long.
QByteArray ringOfSize(qsizetype size)
{
    QByteArray line = "24.12.24 18:30:05;RING;0;0301234567;987654;";
    line += QByteArray(size - line.size() - 1, 'S') + ";";
    return line + "\r\n";
}

} // namespace

class tst_CallMonitorDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void ereignisse_data();
    void ereignisse();
    void fehlerhafteZeilen_data();
    void fehlerhafteZeilen();
    void endloseZeileWirdNichtGepuffert();
    void wiederverbindenInnerhalbDerFrist();
    void fristAbgelaufen();
    void fristAusEinstellungen();
    void ersteVerbindungAbgelehnt();
    void waehlenGehtNicht();
    void schliessenBeendetEreignisse();
    void schliessenBeimWiederverbinden();
    void schliessenAusEreignis();
    void einstellungen_data();
    void einstellungen();
    void dialog_data();
    void dialog();

private:
    // Opens the line to the test's server and hands out the server's end.
    QTcpSocket *connectDevice();
    QTcpSocket *accept();
    static void send(QTcpSocket *peer, const QByteArray &data)
    {
        peer->write(data);
        peer->flush();
    }

    std::unique_ptr<MemoryStore> m_store;
    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<Device> m_device;
    std::unique_ptr<Recorder> m_rec;
};

void tst_CallMonitorDevice::init()
{
    m_store = std::make_unique<MemoryStore>();
    m_server = std::make_unique<QTcpServer>();
    QVERIFY(m_server->listen(QHostAddress::LocalHost));
    m_device = std::make_unique<Device>(u"127.0.0.1"_s, m_server->serverPort(), *m_store);
    m_device->setRetryIntervalMs(100);
    m_device->setGraceSeconds(30);
    m_rec = std::make_unique<Recorder>(*m_device);
}

void tst_CallMonitorDevice::cleanup()
{
    m_rec.reset();
    m_device.reset();
    m_server.reset();
    m_store.reset();
}

QTcpSocket *tst_CallMonitorDevice::accept()
{
    if (!QTest::qWaitFor([this] { return m_server->hasPendingConnections(); }, 5000))
        return nullptr;
    return m_server->nextPendingConnection();
}

QTcpSocket *tst_CallMonitorDevice::connectDevice()
{
    m_device->openLine();
    QTcpSocket *peer = accept();
    // A first report that arrives proves the device is connected.
    if (peer) {
        send(peer, Ring);
        if (!QTest::qWaitFor([this] { return m_rec->events.size() == RingEvents.size(); }, 5000))
            return nullptr;
        m_rec->events.clear();
    }
    return peer;
}

void tst_CallMonitorDevice::ereignisse_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QStringList>("expected");

    const QByteArray call = "24.12.24 18:31:00;CALL;1;10;987654;0301234567;SIP0;\r\n";
    const QStringList callEvents{u"OnCallState(DIALTONE,2,1)"_s, u"OnCalledID(0301234567,1,2)"_s,
                                 u"OnCallState(PROCEEDING,2,1)"_s};
    const QByteArray connect = "24.12.24 18:31:07;CONNECT;0;11;0301234567;\r\n";
    const QStringList connectEvents{u"OnCallState(CONNECTED,1,0)"_s, u"OnConnected(<ACTIVE>,1)"_s,
                                    u"OnConnectedID(0301234567,0,1)"_s};
    const QByteArray disconnect = "24.12.24 18:35:00;DISCONNECT;0;233;\r\n";
    QByteArrayList bytes;
    for (const char c : Ring)
        bytes.append(QByteArray(1, c));

    QTest::newRow("RING") << QByteArrayList{Ring} << RingEvents;
    QTest::newRow("CALL") << QByteArrayList{call} << callEvents;
    QTest::newRow("CONNECT") << QByteArrayList{connect} << connectEvents;
    QTest::newRow("DISCONNECT") << QByteArrayList{disconnect} << DisconnectEvents;
    QTest::newRow("unterdrückt") << QByteArrayList{"01.01.25 00:00:01;RING;7;;987654;SIP1;\r\n"}
                                 << QStringList{u"OnCallState(OFFERING,8,7)"_s, u"OnOffering(<OWNER>,8)"_s,
                                                u"OnCallerID(,,<BLOCKED>,7,8)"_s, u"OnCalledID(987654,7,8)"_s};
    QTest::newRow("leere Felder") << QByteArrayList{"24.12.24 18:31:00;CALL;3;;;;;\n"}
                                  << QStringList{u"OnCallState(DIALTONE,4,3)"_s, u"OnCalledID(,3,4)"_s,
                                                 u"OnCallState(PROCEEDING,4,3)"_s};
    QTest::newRow("nur LF") << QByteArrayList{Ring.chopped(2) + "\n"} << RingEvents;
    QTest::newRow("mehrere auf einmal") << QByteArrayList{Ring + connect + disconnect}
                                        << RingEvents + connectEvents + DisconnectEvents;
    QTest::newRow("byteweise") << bytes << RingEvents;
    QTest::newRow("CR und LF getrennt") << QByteArrayList{Ring.left(20), Ring.mid(20).chopped(1), "\n" + call}
                                        << RingEvents + callEvents;
    QTest::newRow("leere Zeilen") << QByteArrayList{"\r\n\n" + disconnect} << DisconnectEvents;
    QTest::newRow("weitere Felder") << QByteArrayList{Ring.chopped(2) + "neu;mehr;\r\n"} << RingEvents;
    QTest::newRow("UTF-8") << QByteArrayList{Ring.chopped(7) + "B\xc3\xbcro \xe2\x98\x8e;\r\n"} << RingEvents;
    QTest::newRow("4096 Bytes") << QByteArrayList{ringOfSize(4096)} << RingEvents;
    QTest::newRow("große Nummer") << QByteArrayList{"24.12.24 18:35:00;DISCONNECT;999999998;0;\r\n"}
                                  << QStringList{u"OnCallState(DISCONNECTED,999999999,999999998)"_s,
                                                 u"OnDisconnected(<NORMAL>,999999999)"_s,
                                                 u"OnCallState(IDLE,999999999,999999998)"_s};
}

void tst_CallMonitorDevice::ereignisse()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QStringList, expected);

    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    for (const QByteArray &chunk : chunks) {
        send(peer, chunk);
        // Gives each piece the chance to arrive on its own; correct either way.
        if (chunks.size() > 1)
            QTest::qWait(2);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->events.size(), expected.size(), 5000);
    QCOMPARE(m_rec->events, expected);
    QCOMPARE(m_rec->diagnoses, QStringList());
}

void tst_CallMonitorDevice::fehlerhafteZeilen_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("problem");

    const QByteArray date = "24.12.24 18:30:05";
    QTest::newRow("unbekannte Meldung") << date + ";KLINGEL;0;1;2;3;\r\n" << u"unbekannte Meldung"_s;
    QTest::newRow("RING zu kurz") << date + ";RING;0;123;\r\n" << u"zu wenige Felder"_s;
    QTest::newRow("Nummer Buchstabe") << date + ";DISCONNECT;x;0;\r\n" << u"Verbindungsnummer"_s;
    QTest::newRow("Nummer negativ") << date + ";DISCONNECT;-1;0;\r\n" << u"Verbindungsnummer"_s;
    QTest::newRow("Nummer zu groß") << date + ";DISCONNECT;4294967297;0;\r\n" << u"Verbindungsnummer"_s;
    QTest::newRow("Datum 32.") << QByteArray("32.12.24 18:30:05;DISCONNECT;0;0;\n") << u"Datum"_s;
    QTest::newRow("29.02.23") << QByteArray("29.02.23 18:30:05;DISCONNECT;0;0;\n") << u"Datum"_s;
    QTest::newRow("Steuerzeichen") << date + ";RING;0;\x01" "123;9;SIP0;\r\n" << u"Steuerzeichen"_s;
    QTest::newRow("NUL") << date + ";RING;0;" + QByteArray(1, '\0') + ";9;SIP0;\r\n" << u"Steuerzeichen"_s;
    QTest::newRow("CR mitten") << date + ";RING;0;1\r2;9;SIP0;\r\n" << u"Steuerzeichen"_s;
    QTest::newRow("C1") << date + ";RING;0;1\xc2\x85;9;SIP0;\r\n" << u"Steuerzeichen"_s;
    QTest::newRow("UTF-8 FF") << date + ";RING;0;\xff;9;SIP0;\r\n" << u"UTF-8"_s;
    QTest::newRow("UTF-8 überlang") << date + ";RING;0;\xc0\xaf;9;SIP0;\r\n" << u"UTF-8"_s;
    QTest::newRow("UTF-8 abgeschnitten") << date + ";RING;0;1;9;SIP0\xc3\r\n" << u"UTF-8"_s;
    QTest::newRow("4097 Bytes") << ringOfSize(4097) << u"4096 Bytes"_s;
    QTest::newRow("10 KiB") << ringOfSize(10 * 1024) << u"4096 Bytes"_s;
}

void tst_CallMonitorDevice::fehlerhafteZeilen()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, problem);

    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    send(peer, line + Ring);
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->events, RingEvents, 5000);
    QCOMPARE(m_rec->diagnoses.size(), 1);
    QVERIFY2(m_rec->diagnoses[0].contains(problem), qPrintable(m_rec->diagnoses[0]));
    QVERIFY(m_device->isOpen());
}

void tst_CallMonitorDevice::endloseZeileWirdNichtGepuffert()
{
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    // Reported while the line still runs, so it was not held until its end.
    send(peer, QByteArray(64 * 1024, 'x'));
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->diagnoses.size(), 1, 5000);
    for (int i = 0; i < 32; ++i)
        send(peer, QByteArray(64 * 1024, ';'));
    send(peer, "\r\n" + Ring);
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->events, RingEvents, 10000);
    QCOMPARE(m_rec->diagnoses.size(), 1);
}

void tst_CallMonitorDevice::wiederverbindenInnerhalbDerFrist()
{
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    const quint16 port = m_server->serverPort();
    // The router restarts: the connection drops and the port is closed for a while.
    m_server->close();
    peer->abort();
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->diagnoses.size(), 1, 5000);
    QVERIFY(m_device->isOpen());
    QTest::qWait(300); // a few refused attempts
    QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
    peer = accept();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->diagnoses.size(), 2, 5000);
    QVERIFY2(m_rec->diagnoses[1].contains(u"wiederhergestellt"_s), qPrintable(m_rec->diagnoses[1]));
    send(peer, "24.12.24 18:35:00;DISCONNECT;0;233;\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->events, DisconnectEvents, 5000);
    QVERIFY(m_rec->errors.isEmpty());
    QVERIFY(m_device->isOpen());
}

void tst_CallMonitorDevice::fristAbgelaufen()
{
    m_device->setGraceSeconds(1);
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    const quint16 port = m_server->serverPort();
    m_server->close();
    peer->abort();
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->errors.size(), 1, 10000);
    QCOMPARE(m_rec->errors[0].mid(1), (QStringList{m_device->name(), u"1013"_s}));
    QVERIFY(!m_device->isOpen());
    // Once given up, the device stays away even when the router is back.
    QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
    QTest::qWait(500);
    QVERIFY(!m_server->hasPendingConnections());
    QCOMPARE(m_rec->errors.size(), 1);
}

void tst_CallMonitorDevice::fristAusEinstellungen()
{
    m_store->SaveSetting(u"Telefonie"_s, u"Wiederverbinden"_s, u" 0 "_s);
    m_rec.reset();
    m_device = std::make_unique<Device>(u"127.0.0.1"_s, m_server->serverPort(), *m_store);
    m_rec = std::make_unique<Recorder>(*m_device);
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    peer->abort();
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->errors.size(), 1, 3000);
    QCOMPARE(m_rec->errors[0][2], u"1013"_s);
}

void tst_CallMonitorDevice::ersteVerbindungAbgelehnt()
{
    const quint16 port = m_server->serverPort();
    m_server->close();
    m_device->openLine();
    QTRY_COMPARE_WITH_TIMEOUT(m_rec->errors.size(), 1, 5000);
    const QString start = u"Verbindung zum Anrufmonitor 127.0.0.1:%1 nicht möglich: "_s.arg(port);
    QVERIFY2(m_rec->errors[0][0].startsWith(start), qPrintable(m_rec->errors[0][0]));
    QCOMPARE(m_rec->errors[0].mid(1), (QStringList{m_device->name(), u"1013"_s}));
    QVERIFY(!m_device->isOpen());
    QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
    QTest::qWait(300);
    QVERIFY(!m_server->hasPendingConnections());
}

void tst_CallMonitorDevice::waehlenGehtNicht()
{
    m_device->dial(u"0301234567"_s, 0);
    QCOMPARE(m_rec->errors, (QList<QStringList>{
                                {u"Über den Anrufmonitor kann nicht gewählt werden."_s, m_device->name(), u"0"_s}}));
}

void tst_CallMonitorDevice::schliessenBeendetEreignisse()
{
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    // Already on its way, but not yet read when the line closes.
    send(peer, Ring);
    m_device->closeLine();
    QVERIFY(!m_device->isOpen());
    QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
    QTest::qWait(200);
    QVERIFY(m_rec->events.isEmpty());
    QVERIFY(m_rec->diagnoses.isEmpty());
    QVERIFY(m_rec->errors.isEmpty());
}

void tst_CallMonitorDevice::schliessenBeimWiederverbinden()
{
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    QSignalSpy dropped(m_device.get(), &LineDevice::Diagnose);
    peer->abort();
    QVERIFY(dropped.wait(5000));
    m_device->closeLine();
    QTest::qWait(500);
    QVERIFY(!m_server->hasPendingConnections());
    QVERIFY(m_rec->errors.isEmpty());
}

void tst_CallMonitorDevice::schliessenAusEreignis()
{
    QTcpSocket *peer = connectDevice();
    QVERIFY(peer);
    // A slot may close the line; a report read along with the current one is not raised then.
    connect(m_device.get(), &LineDevice::OnCalledID, this, [this] { m_device->closeLine(); });
    send(peer, Ring + "24.12.24 18:31:07;CONNECT;0;11;0301234567;\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
    QTest::qWait(100);
    QCOMPARE(m_rec->events, RingEvents);
}

void tst_CallMonitorDevice::einstellungen_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("leer") << QString() << QStringList();
    QTest::newRow("einer") << u"fritz.box:1012"_s << QStringList{u"fritz.box|1012"_s};
    QTest::newRow("ohne Port") << u"fritz.box"_s << QStringList{u"fritz.box|1012"_s};
    QTest::newRow("Leerzeichen") << u" 192.168.178.1 : 1013 , router:2000 ,, "_s
                                 << QStringList{u"192.168.178.1|1013"_s, u"router|2000"_s};
    QTest::newRow("IPv6") << u"[::1]:1013,[fe80::1]"_s << QStringList{u"::1|1013"_s, u"fe80::1|1012"_s};
    QTest::newRow("Grenzen") << u"a:1,b:65535"_s << QStringList{u"a|1"_s, u"b|65535"_s};
    QTest::newRow("doppelt") << u"a:1,a:1"_s << QStringList{u"a|1"_s};
    QTest::newRow("ungültige") << u"a:0,b:65536,c:x,:1012,d:,[::1,[zzz]:1,::1,e f:1,g:1:2,[::1]1,h:-1,i:+1"_s
                               << QStringList();
    QTest::newRow("gemischt") << u"a:1,kaputt:,b"_s << QStringList{u"a|1"_s, u"b|1012"_s};
}

void tst_CallMonitorDevice::einstellungen()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, expected);

    m_store->SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, setting);
    QStringList actual;
    for (const auto &[host, port] : CallMonitorDevice::configured(*m_store))
        actual.append(host + u'|' + QString::number(port));
    QCOMPARE(actual, expected);
}

void tst_CallMonitorDevice::dialog_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("after");

    const QString list = u"andere:1, fritz.box ,[::1]"_s;
    QTest::newRow("OK") << list << u"router"_s << 2000 << true << true << u"andere:1,router:2000,[::1]"_s;
    QTest::newRow("Abbrechen") << list << u"router"_s << 2000 << true << false << list;
    QTest::newRow("IPv6") << list << u"[fe80::2]"_s << 1012 << true << true
                          << u"andere:1,[fe80::2]:1012,[::1]"_s;
    QTest::newRow("ungültig") << list << u"kein name"_s << 1012 << false << true << list;
    QTest::newRow("neu") << u"andere:1"_s << u"fritz.box"_s << 1012 << true << true << u"andere:1,fritz.box:1012"_s;
}

void tst_CallMonitorDevice::dialog()
{
    QFETCH(QString, before);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(bool, valid);
    QFETCH(bool, accept);
    QFETCH(QString, after);

    m_store->SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, before);
    Device device(u"fritz.box"_s, 1012, *m_store);
    std::unique_ptr<QDialog> dialog(device.createConfigDialog(nullptr));
    auto *hostEdit = dialog->findChild<QLineEdit *>(u"host"_s);
    auto *portBox = dialog->findChild<QSpinBox *>(u"port"_s);
    QVERIFY(hostEdit && portBox);
    QCOMPARE(hostEdit->text(), u"fritz.box"_s);
    QCOMPARE(portBox->value(), 1012);
    hostEdit->setText(host);
    portBox->setValue(port);
    QCOMPARE(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), valid);
    accept ? dialog->accept() : dialog->reject();
    QCOMPARE(m_store->GetSetting(u"Telefonie"_s, u"Anrufmonitore"_s, QString()), after);
}

QTEST_MAIN(tst_CallMonitorDevice)
#include "tst_CallMonitorDevice.moc"
