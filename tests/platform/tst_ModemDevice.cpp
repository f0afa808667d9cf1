#include "platform/telephony/ModemCallerIdParser.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/ModemDialog.h"

#include "doubles/MemorySettings.h"
#include "tests/platform/Leitungsereignisse.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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

} // namespace

class tst_ModemDevice : public QObject
{
    Q_OBJECT

    MemorySettings m_settings;
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<ModemDevice> m_device;
    QStringList m_events; // all call events in order, as "name(arg,arg,…)"

    void set(const QString &key, const QString &value) { m_settings.values[u"Telefonie/"_s + key] = value; }
    bool openAndInitialise()
    {
        m_device->openLine();
        return m_device->isOpen() && m_pty->takeCommand("OK") == InitCommand
               && m_pty->takeCommand("OK") == CallerIdCommand;
    }

private slots:
    void init()
    {
        m_device.reset();
        m_settings.values.clear();
        m_events.clear();
        m_pty = std::make_unique<Pty>();
        QVERIFY2(!m_pty->slavePath.isEmpty(), "no pseudo-terminal");
        m_device = std::make_unique<ModemDevice>(m_pty->slavePath, m_settings);
        m_device->setCommandTimeout(5000);
        m_device->setSettleTime(50);
        m_device->setRingEndTimeout(300);
        Leitungsereignisse::zeichneAuf(*m_device, this, m_events);
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
        m_device->setCommandTimeout(200);
        m_device->openLine();
        QCOMPARE(m_pty->speed(), speed);
        for (qsizetype i = 0; i < commands.size(); ++i)
            QCOMPARE(m_pty->takeCommand(answers.at(i)), commands.at(i));
        // No command was left over or sent twice.
        m_device->dial(u"1"_s, 0);
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
        QVERIFY(m_device->isOpen());
    }

    // One ring without a number ends the call; the next starts afresh. Its
    // number, pieced together from several reads, is reported after a short
    // wait for the name, and only once.
    void folgeanrufNummerOhneNamen()
    {
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"OnCallState(IDLE,1,1)"_s), 5000);
        m_device->setRingEndTimeout(10000);
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
        m_device->dial(number, 0);
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
        m_device->dial(u"0301234567"_s, 0);
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0301234567;\r"));
        // Hung up while still dialing: no need to wait for the dial's answer.
        m_device->hangUp();
        QCOMPARE(m_events, call(1));
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATH\r"));

        // The modem is free for the next call; closing the line ends that one.
        m_device->dial(u"0409999999"_s, 0);
        QCOMPARE(m_pty->takeCommand("OK"), QByteArray("ATDT0409999999;\r"));
        m_device->closeLine();
        QCOMPARE(m_pty->takeCommand(), QByteArray("ATH\r"));
        QCOMPARE(m_events, call(1) + call(2));
    }

    void schnittstelleVerschwindet()
    {
        QSignalSpy errors(m_device.get(), &LineDevice::OnError);
        QVERIFY(openAndInitialise());
        QVERIFY(m_pty->write("RING\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 3, 5000);

        ::close(std::exchange(m_pty->fd, -1));
        QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
        QVERIFY(errors[0][0].toString().contains(m_pty->slavePath));
        QCOMPARE(errors[0].mid(1), (QVariantList{m_device->name(), LineDevice::LineDropped}));
        QVERIFY(!m_device->isOpen());
        QCOMPARE(m_events.last(), u"OnCallState(IDLE,1,1)"_s); // the ringing call does not hang on
        // A dead port keeps signalling; the device must have let go of it.
        QTest::qWait(300);
        m_device->closeLine();
        QCOMPARE(errors.size(), 1);

        // Dialing without a line is an error, not a call.
        m_device->dial(u"0301234567"_s, 0);
        QCOMPARE(errors.size(), 2);
        QCOMPARE(errors.last().at(2), QVariant(LineDevice::LineDropped));
        QCOMPARE(m_events.size(), 4);
    }

    // A slot may close the line while the device reports a call; the rest of
    // what the modem sent must then go unreported.
    void schliessenAusEreignis()
    {
        QVERIFY(openAndInitialise());
        const auto closing = connect(m_device.get(), &LineDevice::OnRinging, m_device.get(), &LineDevice::closeLine);
        QVERIFY(m_pty->write("RING\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\n"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_device->isOpen(), 5000);
        QCOMPARE(m_events, (QStringList{u"OnCallState(OFFERING,1,1)"_s, u"OnOffering(<OWNER>,1)"_s, u"OnRinging(0,1)"_s,
                                        u"OnCallState(IDLE,1,1)"_s}));
        // The port was let go of, so the line opens again.
        disconnect(closing);
        m_device->openLine();
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
        const auto dialog = std::make_unique<ModemDialog>(*m_device);
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
        QCOMPARE(m_device->name(), u"Modem /dev/ttyS1"_s);

        // Back on the pseudo-terminal; a speed typed only halfway keeps the one before.
        const auto wieder = std::make_unique<ModemDialog>(*m_device);
        wieder->findChild<QComboBox *>(u"port"_s)->setCurrentText(m_pty->slavePath);
        wieder->findChild<QComboBox *>(u"speed"_s)->setCurrentText(u"30"_s);
        wieder->accept();
        QCOMPARE(m_settings.values.value(u"Telefonie/ModemBaud"_s), u"9600"_s);
        m_device->openLine();
        QCOMPARE(m_pty->speed(), int(B9600));
        QCOMPARE(m_pty->takeCommand(), QByteArray("AT&F E1\r"));
    }
};

QTEST_MAIN(tst_ModemDevice)
#include "tst_ModemDevice.moc"
