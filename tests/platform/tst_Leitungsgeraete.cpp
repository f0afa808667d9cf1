// The line devices: a modem on the far side of a real pseudo-terminal, and a
// router's call monitor played by a real TCP server on the loopback.
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/CallMonitorDialog.h"
#include "platform/telephony/ModemCallerIdParser.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemDialog.h"

#include "doubles/Leitungsereignisse.h"
#include "doubles/MemorySettings.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

using namespace Qt::StringLiterals;
using Leitungsereignisse::zeichneAuf;

namespace {

// The modem's side of a pseudo-terminal; the device opens the slave path.
struct Pty {
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    QString slavePath;
    QByteArray received; // from the device, not yet taken

    Pty()
    {
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 && ::fcntl(fd, F_SETFL, O_NONBLOCK) == 0)
            slavePath = QString::fromLocal8Bit(::ptsname(fd));
    }
    ~Pty()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // The device's next command, up to and including its CR; a result, if
    // given, is answered as by a modem with echo on.
    QByteArray takeCommand(const QByteArray &result = {})
    {
        const auto complete = [this] {
            char buffer[4096];
            for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                received.append(buffer, n);
            return received.contains('\r');
        };
        if (!QTest::qWaitFor(complete, 5000))
            return {};
        const QByteArray command = received.left(received.indexOf('\r') + 1);
        received.remove(0, command.size());
        return result.isEmpty() || write(command.chopped(1) + "\r\n" + result + "\r\n") ? command : QByteArray();
    }
    // The pty holds only a few KiB; the rest goes once the device has read.
    bool write(QByteArrayView data)
    {
        const auto progress = [&] {
            while (!data.isEmpty()) {
                const ssize_t n = ::write(fd, data.data(), size_t(data.size()));
                if (n < 0 && errno != EINTR)
                    return false;
                data = data.sliced(std::max<ssize_t>(n, 0));
            }
            return true;
        };
        return progress() || QTest::qWaitFor(progress, 10000);
    }
    // The line speed set on the slave, as its master reports it.
    int speed() const
    {
        termios terminal{};
        return ::tcgetattr(fd, &terminal) == 0 ? int(::cfgetospeed(&terminal)) : -1;
    }
};

const QByteArray InitCommand = "AT Z S0=0 E1 V1 Q0\r";
const QByteArray CallerIdCommand = "AT+VCID=1\r";

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

class tst_Leitungsgeraete : public QObject
{
    Q_OBJECT

    MemorySettings m_settings;
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<ModemDevice> m_modem;
    QStringList m_events; // the call events of either device in order, as "name(arg,arg,…)"

    void set(const QString &key, const QString &value) { m_settings.values[u"Telefonie/"_s + key] = value; }
    bool openAndInitialise()
    {
        m_modem->openLine();
        return m_modem->isOpen() && m_pty->takeCommand("OK") == InitCommand
               && m_pty->takeCommand("OK") == CallerIdCommand;
    }

    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<Device> m_monitor;
    QStringList m_diagnoses;
    QList<QStringList> m_errors;

    // The grace period is read from the settings on construction.
    void makeDevice()
    {
        m_monitor = std::make_unique<Device>(u"127.0.0.1"_s, m_server->serverPort(), m_settings);
        m_monitor->setRetryIntervalMs(100);
        zeichneAuf(*m_monitor, this, m_events);
        connect(m_monitor.get(), &LineDevice::Diagnose, this, [this](const QString &text) { m_diagnoses << text; });
        connect(m_monitor.get(), &LineDevice::OnError, this, [this](const QString &text, const QString &source, int n) {
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
        m_monitor->openLine();
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
        m_modem.reset();
        m_monitor.reset();
        m_settings.values.clear();
        m_events.clear();
        m_diagnoses.clear();
        m_errors.clear();
        m_pty = std::make_unique<Pty>();
        QVERIFY2(!m_pty->slavePath.isEmpty(), "no pseudo-terminal");
        m_modem = std::make_unique<ModemDevice>(m_pty->slavePath, m_settings);
        m_modem->setCommandTimeout(5000);
        m_modem->setSettleTime(50);
        m_modem->setRingEndTimeout(300);
        zeichneAuf(*m_modem, this, m_events);
        m_server = std::make_unique<QTcpServer>();
        QVERIFY(m_server->listen(QHostAddress::LocalHost));
        makeDevice();
    }

    // What the modem hears on opening, and the line speed it gets.
    void einrichtung_data()
    {
        QTest::addColumn<QStringList>("settings"); // "key=value"
        QTest::addColumn<QByteArrayList>("answers"); // to each command in turn; empty: silence
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<int>("speed");

        const QByteArrayList all{InitCommand, CallerIdCommand, "AT#CID=1\r"};
        QTest::newRow("angenommen") << QStringList() << QByteArrayList{" OK ", "ok"} << all.first(2) << int(B115200);
        QTest::newRow("Alternative; Baud mit Leerzeichen")
            << QStringList{u"ModemBaud= 57600 "_s} << QByteArrayList{"OK", "ERROR", "OK"} << all << int(B57600);
        QTest::newRow("alle abgelehnt; Baud negativ")
            << QStringList{u"ModemBaud=-9600"_s} << QByteArrayList{"ERROR", "ERROR", "ERROR"} << all << int(B115200);
        QTest::newRow("stumm; eigene Befehle; 9600")
            << QStringList{u"ModemBaud=9600"_s, u"ModemInit=ATZ"_s, u"ModemCallerId=AT+CID=1"_s}
            << QByteArrayList{"", ""} << QByteArrayList{"ATZ\r", "AT+CID=1\r"} << int(B9600);
    }
    void einrichtung()
    {
        QFETCH(QStringList, settings);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArrayList, commands);
        QFETCH(int, speed);

        for (const QString &setting : std::as_const(settings))
            set(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        m_modem->setCommandTimeout(200);
        m_modem->openLine();
        QCOMPARE(m_pty->speed(), speed);
        for (qsizetype i = 0; i < commands.size(); ++i)
            QCOMPARE(m_pty->takeCommand(answers.at(i)), commands.at(i));
        // No command was left over or sent twice.
        m_modem->dial(u"1"_s, 0);
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT1;\r"));
    }

    void anruf_data()
    {
        QTest::addColumn<QByteArray>("modem");
        QTest::addColumn<QStringList>("events");

        const QStringList offering{u"OnCallState(OFFERING,1,1)"_s, u"OnOffering(<OWNER>,1)"_s};
        const QString idle = u"OnCallState(IDLE,1,1)"_s;
        const auto caller = [](const QString &number, const QString &name, const QString &party = u"<ADDRESS>"_s) {
            return u"OnCallerID(%1,%2,%3,1,1)"_s.arg(number, name, party);
        };
        const QString meier = caller(u"0301234567"_s, u"Meier"_s);
        // The block between two rings.
        const auto between = [&](const char *name, const QByteArray &block, const QString &callerId) {
            QTest::newRow(name) << "RING\r\n" + block + "RING\r\n"
                                << offering + QStringList{u"OnRinging(0,1)"_s, callerId, u"OnRinging(0,2)"_s, idle};
        };
        const qsizetype longName = ModemCallerIdParser::MaxLineLength - 7; // what is left after "NAME = "

        between("nur CR, nur LF, Leerzeilen, Name zuerst", "NAME = Meier\rNMBR = 0301234567\n\r  \r\n\n", meier);
        between("klein, Steuerzeichen, Latin-1", "time=1845\r\nnmbr=030\x07" "12\t34\r\nname=M\xfcl\x9b" "31ml\x85" "er=B\r\n",
                caller(u"0301234"_s, u"Mül31mler=B"_s));
        between("zweite Nummer übergangen", "DDN_NMBR = 0301234567\r\nNMBR = 0409999999\r\nNAME = Meier\r\n", meier);
        between("unterdrückt", "DATE = 0312\r\nNMBR = p\r\n", caller({}, {}, u"<BLOCKED>"_s));
        between("nicht verfügbar", "TIME = 1845\r\nNMBR = O\r\n", caller({}, {}, u"<UNAVAIL>"_s));
        between("Echo und Unbekanntes dazwischen",
                "AT+VCID=1\r\nRINGING\r\nMESG = 110101\r\nCONNECT 9600\r\n\x01\x02\x7f\r\n=\r\n"
                "NMBR = 0301234567\r\nat#cid=1\r\nNAME = Meier\r\n",
                meier);
        between("überlange Zeile", "NMBR = 0301234567\r\nNAME = " + QByteArray(1000, 'N') + "\r\n",
                caller(u"0301234567"_s, QString(longName, u'N')));
        QTest::newRow("drei Klingeln, Block nach dem ersten")
            << QByteArray("RING\r\nDATE = 0312\r\nTIME = 1845\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\nRING\r\n")
            << offering + QStringList{u"OnRinging(0,1)"_s, meier, u"OnRinging(0,2)"_s, u"OnRinging(0,3)"_s, idle};
        QTest::newRow("keine Nummer bis zum zweiten Klingeln")
            << QByteArray("RING\r\nRING\r\nRING\r\n")
            << offering + QStringList{u"OnRinging(0,1)"_s, caller({}, {}, u"<UNAVAIL>"_s), u"OnRinging(0,2)"_s,
                                      u"OnRinging(0,3)"_s, idle};
        QTest::newRow("Block vor dem ersten Klingeln")
            << QByteArray("DATE = 0312\r\nNMBR = 0301234567\r\nNAME = Meier\r\nring\r\nRing\r\n")
            << offering + QStringList{meier, u"OnRinging(0,1)"_s, u"OnRinging(0,2)"_s, idle};
    }
    void anruf()
    {
        QFETCH(QByteArray, modem);
        QFETCH(QStringList, events);
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write(modem));
        QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(events.last()), 10000);
        QCOMPARE(m_events, events);
        QVERIFY(m_modem->isOpen());
    }

    // One ring without a number ends the call; the next starts afresh. Its
    // number, pieced together from several reads, is reported after a short
    // wait for the name, and only once.
    void folgeanrufNummerOhneNamen()
    {
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"OnCallState(IDLE,1,1)"_s), 5000);
        m_modem->setRingEndTimeout(10000);
        QVERIFY(m_pty->write("RING\r\nNMBR = 040"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 7, 5000);
        QVERIFY(m_pty->write("9999999\r"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 8, 5000);
        QVERIFY(m_pty->write("\nNAME = Kunz\r\nRING\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 9, 5000);
        QCOMPARE(m_events,
                 (QStringList{u"OnCallState(OFFERING,1,1)"_s, u"OnOffering(<OWNER>,1)"_s, u"OnRinging(0,1)"_s,
                              u"OnCallState(IDLE,1,1)"_s, u"OnCallState(OFFERING,2,2)"_s, u"OnOffering(<OWNER>,2)"_s,
                              u"OnRinging(0,1)"_s, u"OnCallerID(0409999999,,<ADDRESS>,2,2)"_s, u"OnRinging(0,2)"_s}));
    }

    void waehlen_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("answer");

        const QByteArray command = "ATDT0301234567;\r";
        QTest::newRow("besetzt") << u"0301234567"_s << command << QByteArray("BUSY");
        QTest::newRow("abgelehnt") << u"0301234567"_s << command << QByteArray("ERROR");
        // Anything but what a modem dials could smuggle in a command.
        QTest::newRow("fremde Zeichen entfernt") << u"*31#+49 (30) 123-45;ATH"_s << QByteArray("ATDT*31#+493012345;\r")
                                                 << QByteArray("NO CARRIER");
    }
    void waehlen()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, answer);
        QVERIFY(openAndInitialise());
        m_modem->dial(number, 0);
        QCOMPARE(m_pty->takeCommand(answer), command);
        QStringList events{u"OnCallState(DIALTONE,1,1)"_s, u"OnCallState(PROCEEDING,1,1)"_s};
        if (answer == "BUSY")
            events << u"OnBusy(<STATION>,1)"_s;
        events << u"OnCallState(DISCONNECTED,1,1)"_s << u"OnCallState(IDLE,1,1)"_s;
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
        QCOMPARE(m_events, events);
    }

    void auflegenUndSchliessen()
    {
        const auto call = [](int n) {
            return QStringList{u"OnCallState(DIALTONE,%1,%1)"_s.arg(n), u"OnCallState(PROCEEDING,%1,%1)"_s.arg(n),
                               u"OnCallState(DISCONNECTED,%1,%1)"_s.arg(n), u"OnCallState(IDLE,%1,%1)"_s.arg(n)};
        };
        QVERIFY(openAndInitialise());
        m_modem->dial(u"0301234567"_s, 0);
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0301234567;\r"));
        // Hung up while still dialing: no need to wait for the dial's answer.
        m_modem->hangUp();
        QCOMPARE(m_events, call(1));
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATH\r"));

        // The modem is free for the next call; closing the line ends that one.
        m_modem->dial(u"0409999999"_s, 0);
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATDT0409999999;\r"));
        m_modem->closeLine();
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATH\r"));
        QCOMPARE(m_events, call(1) + call(2));
    }

    void schnittstelleVerschwindet()
    {
        QSignalSpy errors(m_modem.get(), &LineDevice::OnError);
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 3, 5000);

        ::close(std::exchange(m_pty->fd, -1));
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
        QVERIFY(errors[0][0].toString().contains(m_pty->slavePath));
        QCOMPARE(errors[0].mid(1), (QVariantList{m_modem->name(), LineDevice::LineDropped}));
        QVERIFY(!m_modem->isOpen());
        QCOMPARE(m_events.last(), u"OnCallState(IDLE,1,1)"_s); // the ringing call does not hang on
        // A dead port keeps signalling; the device must have let go of it.
        QTest::qWait(300);
        m_modem->closeLine();
        QCOMPARE(errors.size(), 1);

        // Dialing without a line is an error, not a call.
        m_modem->dial(u"0301234567"_s, 0);
        QCOMPARE(errors.size(), 2);
        QCOMPARE(errors.last().at(2), QVariant(LineDevice::LineDropped));
        QCOMPARE(m_events.size(), 4);
    }

    // A slot may close the line while the device reports a call; the rest of
    // what the modem sent must then go unreported.
    void schliessenAusEreignis()
    {
        QVERIFY(openAndInitialise());
        const auto closing = connect(m_modem.get(), &LineDevice::OnRinging, m_modem.get(), &LineDevice::closeLine);
        QVERIFY(m_pty->write("RING\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_modem->isOpen(), 5000);
        QCOMPARE(m_events, (QStringList{u"OnCallState(OFFERING,1,1)"_s, u"OnOffering(<OWNER>,1)"_s, u"OnRinging(0,1)"_s,
                                        u"OnCallState(IDLE,1,1)"_s}));
        // The port was let go of, so the line opens again.
        disconnect(closing);
        m_modem->openLine();
        QCOMPARE(m_pty->takeCommand(), InitCommand);
    }

    void schnittstelleFehlt()
    {
        const QString missing = u"/dev/rufmon-gibt-es-nicht-ttyACM9"_s;
        ModemDevice device(missing, m_settings);
        QSignalSpy errors(&device, &LineDevice::OnError);
        device.openLine();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0][0].toString().contains(missing));
        QCOMPARE(errors[0].mid(1), (QVariantList{u"Modem "_s + missing, LineDevice::LineDropped}));
        QVERIFY(!device.isOpen());
    }

    // The settings are shown, written on OK and read back: the ports from the
    // settings first, then the USB modems found, each once and in the order
    // people count; speed and first command on the next opening.
    void einstellungsdialog()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        for (const QString &name : {u"ttyUSB1"_s, u"ttyUSB0"_s, u"ttyACM10"_s, u"ttyACM2"_s, u"console"_s})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        const QString path = QDir(folder.path()).absolutePath();
        set(u"Modems"_s, u" /dev/ttyS0 ,, %1/ttyUSB0,/dev/ttyS0"_s.arg(path));
        set(u"ModemBaud"_s, u"57600"_s);
        const auto dialog = std::make_unique<ModemDialog>(*m_modem);
        auto *port = dialog->findChild<QComboBox *>(u"port"_s);
        auto *speed = dialog->findChild<QComboBox *>(u"speed"_s);
        auto *init = dialog->findChild<QLineEdit *>(u"init"_s);
        QVERIFY(port && speed && init);
        QCOMPARE((QStringList{port->currentText(), speed->currentText(), init->text()}),
                 (QStringList{m_pty->slavePath, u"57600"_s, u"AT Z S0=0 E1 V1 Q0"_s}));
        port->setCurrentText(u" /dev/ttyS1 "_s);
        speed->setCurrentText(u"9600"_s);
        init->setText(u"AT&F E1"_s);
        dialog->accept();
        QCOMPARE(ModemDevice::configuredPorts(m_settings, path),
                 (QStringList{u"/dev/ttyS1"_s, u"/dev/ttyS0"_s, path + u"/ttyUSB0"_s, path + u"/ttyACM2"_s,
                              path + u"/ttyACM10"_s, path + u"/ttyUSB1"_s}));
        // The device is the one on the new port now, and named after it.
        QCOMPARE(m_modem->name(), u"Modem /dev/ttyS1"_s);

        // Back on the pseudo-terminal; a speed typed only halfway keeps the one before.
        const auto wieder = std::make_unique<ModemDialog>(*m_modem);
        wieder->findChild<QComboBox *>(u"port"_s)->setCurrentText(m_pty->slavePath);
        wieder->findChild<QComboBox *>(u"speed"_s)->setCurrentText(u"30"_s);
        wieder->accept();
        QCOMPARE(m_settings.values.value(u"Telefonie/ModemBaud"_s), u"9600"_s);
        m_modem->openLine();
        QCOMPARE(m_pty->speed(), int(B9600));
        QCOMPARE(m_pty->takeCommand(), QByteArray("AT&F E1\r"));
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
        QVERIFY(m_monitor->isOpen());
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
        QVERIFY(m_monitor->isOpen());
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        peer = accept();
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(m_diagnoses.size(), 2, 5000);
        QVERIFY2(m_diagnoses[1].contains(u"wiederhergestellt"_s), qPrintable(m_diagnoses[1]));
        send(peer, Disconnect);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, disconnectEvents(), 5000);
        QVERIFY(m_errors.isEmpty());
    }

    // Switched on before the network is up: the first connection is retried
    // quietly within the grace period, and the connection probes itself.
    void ersteVerbindungSpaeterUndSelbstgeprueft()
    {
        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u"30"_s;
        makeDevice();
        const quint16 port = m_server->serverPort();
        m_server->close();
        m_monitor->openLine();
        QTest::qWait(350); // several refused attempts
        QVERIFY(m_errors.isEmpty());
        QVERIFY(m_monitor->isOpen());
        QCOMPARE(m_diagnoses.size(), 1);
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        QTRY_VERIFY_WITH_TIMEOUT(m_server->hasPendingConnections(), 5000);
        QTcpSocket *peer = m_server->nextPendingConnection();
        send(peer, Ring);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, RingEvents, 5000);
        QVERIFY(m_errors.isEmpty());

        // A router that falls silent is asked after 20 s, three times 10 s apart.
        auto *socket = m_monitor->findChild<QTcpSocket *>();
        QVERIFY(socket && socket->state() == QAbstractSocket::ConnectedState);
        const auto option = [socket](int name) {
            int wert = 0;
            socklen_t laenge = sizeof wert;
            ::getsockopt(static_cast<int>(socket->socketDescriptor()), IPPROTO_TCP, name, &wert, &laenge);
            return wert;
        };
        QCOMPARE((QList<int>{option(TCP_KEEPIDLE), option(TCP_KEEPINTVL), option(TCP_KEEPCNT)}),
                 (QList<int>{20, 10, 3}));
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

        m_settings.values[u"Telefonie/Wiederverbinden"_s] = u" 0 "_s;
        makeDevice();
        const quint16 port = m_server->serverPort();
        QTcpSocket *peer = connectFirst ? connectDevice() : nullptr;
        QVERIFY(peer || !connectFirst);
        m_server->close();
        peer ? peer->abort() : m_monitor->openLine();
        QTRY_COMPARE_WITH_TIMEOUT(m_errors.size(), 1, 5000);
        QVERIFY2(m_errors[0][0].startsWith(text.arg(port)), qPrintable(m_errors[0][0]));
        QCOMPARE(m_errors[0].mid(1), (QStringList{m_monitor->name(), u"1013"_s}));
        QVERIFY(!m_monitor->isOpen());
        // Given up, the device stays away even when the router is back.
        QVERIFY(m_server->listen(QHostAddress::LocalHost, port));
        QTest::qWait(300);
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_errors.size(), 1);
    }

    // Closed, the line reports nothing more and does not come back by itself.
    void schliessen()
    {
        // From a slot: a report read along with the current one is not raised.
        QTcpSocket *peer = connectDevice();
        QVERIFY(peer);
        const auto closing = connect(m_monitor.get(), &LineDevice::OnCalledID, m_monitor.get(), &LineDevice::closeLine);
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
        m_monitor->closeLine();
        QTest::qWait(300); // three retry intervals
        QVERIFY(!m_server->hasPendingConnections());
        QCOMPARE(m_diagnoses.size(), 1);
        QVERIFY(m_events.isEmpty());
        QVERIFY(m_errors.isEmpty());
    }

    // Entries that make no sense are left out, the rest kept once each.
    void einstellungen()
    {
        m_settings.values[u"Telefonie/Anrufmonitore"_s] =
            u" 192.168.178.1 : 1013 , router:2000 ,, fritz.box:1012,fritz.box,[::1]:1013,[fe80::1],a:1,b:65535,"
            "a:0,b:65536,c:x,:1012,d:,[::1,[zzz]:1,::1,e f:1,g:1:2,[::1]1,h:-1,i:+1"_s;
        QStringList actual;
        for (const auto &[host, port] : CallMonitorDevice::configured(m_settings))
            actual.append(host + u'|' + QString::number(port));
        QCOMPARE(actual, (QStringList{u"192.168.178.1|1013"_s, u"router|2000"_s, u"fritz.box|1012"_s, u"::1|1013"_s,
                                      u"fe80::1|1012"_s, u"a|1"_s, u"b|65535"_s}));
    }

    // Only this device's entry changes; the others stay as written.
    void dialog()
    {
        const QString key = u"Telefonie/Anrufmonitore"_s;
        m_settings.values[key] = u"andere:1, fritz.box ,[::1]"_s;
        Device device(u"fritz.box"_s, 1012, m_settings);
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
        QCOMPARE(m_settings.values[key], u"andere:1, fritz.box ,[::1]"_s);
        QCOMPARE(edit(u"[fe80::2]"_s, 1012), u"fritz.box 1012 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,[fe80::2]:1012,[::1]"_s);
        QCOMPARE(edit(u"router"_s, 2000), u"fe80::2 1012 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,router:2000,[::1]"_s);
        m_settings.values[key] = u"andere:1"_s; // not yet in the list
        QCOMPARE(edit(u"fritz.box"_s, 1012), u"router 2000 OK"_s);
        QCOMPARE(m_settings.values[key], u"andere:1,fritz.box:1012"_s);
    }
};

QTEST_MAIN(tst_Leitungsgeraete)
#include "tst_Leitungsgeraete.moc"
