#include "platform/settings/SettingsStore.h"
#include "platform/telephony/ModemCallerIdParser.h"
#include "platform/telephony/ModemDevice.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
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

class MemorySettings : public SettingsStore
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

// The modem's side of a pseudo-terminal: the device opens the slave path,
// the test reads the device's commands from the master and answers there.
class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0)
            return;
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            closeMaster();
            return;
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isValid() const { return m_master >= 0 && !m_slavePath.isEmpty(); }
    QString slavePath() const { return m_slavePath; }
    int master() const { return m_master; }

    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    // Everything the device sent so far and nobody took yet.
    QByteArray &received()
    {
        readAvailable();
        return m_received;
    }

    // Waits for the next command of the device, up to and including its CR.
    QByteArray takeCommand(int timeout = 5000)
    {
        if (!QTest::qWaitFor([this] { return received().contains('\r'); }, timeout))
            return {};
        const qsizetype end = m_received.indexOf('\r') + 1;
        const QByteArray command = m_received.left(end);
        m_received.remove(0, end);
        return command;
    }

    // The pty holds only a few KiB; the rest goes once the device has read.
    bool write(QByteArrayView data, int timeout = 10000)
    {
        qsizetype written = 0;
        const auto progress = [&] {
            while (written < data.size()) {
                const ssize_t n = ::write(m_master, data.data() + written, size_t(data.size() - written));
                if (n > 0)
                    written += n;
                else if (n < 0 && errno == EINTR)
                    continue;
                else
                    return false;
            }
            return true;
        };
        return progress() || QTest::qWaitFor(progress, timeout);
    }

    // A modem with echo on repeats the command before its answer.
    bool answer(const QByteArray &command, const QByteArray &result)
    {
        return write(command + "\r\n" + result + "\r\n");
    }

private:
    void readAvailable()
    {
        if (m_master < 0)
            return;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                return;
            m_received.append(buffer, n);
        }
    }

    int m_master = -1;
    QString m_slavePath;
    QByteArray m_received;
};

const QByteArray InitCommand = "AT Z S0=0 E1 V1 Q0\r";
const QByteArray CallerIdCommand = "AT+VCID=1\r";
const QByteArray CallerIdAlternativeCommand = "AT#CID=1\r";

QByteArray withoutCr(const QByteArray &command)
{
    return command.endsWith('\r') ? command.chopped(1) : command;
}

} // namespace

Q_DECLARE_METATYPE(ModemCallerIdParser::Kind)

// A failed check inside the helper ends the test function, too.
#define OPEN_AND_INITIALISE()                                                                                          \
    do {                                                                                                               \
        openAndInitialise();                                                                                           \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

// The modem is the oldest way to the caller's number and still the one that
// breaks most: modems answer in their own dialect, garbage arrives on a noisy
// line, a USB modem is pulled out. Every test plays the modem on a real
// pseudo-terminal, so the device talks to a terminal exactly as to a modem.
class tst_ModemDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initialisierung_data();
    void initialisierung();
    void geschwindigkeit_data();
    void geschwindigkeit();
    void anruf_data();
    void anruf();
    void nummerOhneNamenNachKurzerZeit();
    void neuerAnrufNeueKennung();
    void waehlen_data();
    void waehlen();
    void schliessenBeimWaehlenLegtAuf();
    void auflegen();
    void waehlenOhneLeitung();
    void schnittstelleVerschwindet();
    void schliessenAusEreignis();
    void schnittstelleFehlt();
    void flutOhneZeilenende();
    void zerleger_data();
    void zerleger();
    void zerlegerBleibtBeschraenkt();
    void felder_data();
    void felder();
    void schnittstellenListe_data();
    void schnittstellenListe();
    void einstellungsdialog();
    void geraeteangaben();

private:
    void openAndInitialise();
    void recordEvents();

    std::unique_ptr<MemorySettings> m_settings;
    std::unique_ptr<Pty> m_pty;
    std::unique_ptr<ModemDevice> m_device;
    QStringList m_events;
};

void tst_ModemDevice::init()
{
    m_settings = std::make_unique<MemorySettings>();
    m_pty = std::make_unique<Pty>();
    QVERIFY2(m_pty->isValid(), "no pseudo-terminal");
    m_device = std::make_unique<ModemDevice>(m_pty->slavePath(), *m_settings);
    m_device->setCommandTimeout(5000);
    m_device->setSettleTime(50);
    m_device->setRingEndTimeout(300);
    m_events.clear();
    recordEvents();
}

void tst_ModemDevice::cleanup()
{
    m_device.reset();
    m_pty.reset();
    m_settings.reset();
}

// All call events of the device in one list, so that their order counts.
void tst_ModemDevice::recordEvents()
{
    ModemDevice *device = m_device.get();
    const auto number = [](std::int32_t value) { return QString::number(value); };
    connect(device, &LineDevice::OnCallState, this, [this, number](const QString &state, std::int32_t handle, std::int32_t id) {
        m_events << u"state %1 %2 %3"_s.arg(state, number(handle), number(id));
    });
    connect(device, &LineDevice::OnOffering, this, [this, number](const QString &mode, std::int32_t handle) {
        m_events << u"offering %1 %2"_s.arg(mode, number(handle));
    });
    connect(device, &LineDevice::OnRinging, this, [this, number](std::int32_t mode, std::int32_t count) {
        m_events << u"ringing %1 %2"_s.arg(number(mode), number(count));
    });
    connect(device, &LineDevice::OnCallerID, this,
            [this, number](const QString &caller, const QString &name, const QString &party, std::int32_t id,
                           std::int32_t handle) {
                m_events << u"callerid [%1] [%2] %3 %4 %5"_s.arg(caller, name, party, number(id), number(handle));
            });
    connect(device, &LineDevice::OnBusy, this, [this, number](const QString &mode, std::int32_t handle) {
        m_events << u"busy %1 %2"_s.arg(mode, number(handle));
    });
}

void tst_ModemDevice::openAndInitialise()
{
    m_device->openLine();
    QVERIFY(m_device->isOpen());
    QCOMPARE(m_pty->takeCommand(), InitCommand);
    QVERIFY(m_pty->answer(withoutCr(InitCommand), "OK"));
    QCOMPARE(m_pty->takeCommand(), CallerIdCommand);
    QVERIFY(m_pty->answer(withoutCr(CallerIdCommand), "OK"));
}

void tst_ModemDevice::initialisierung_data()
{
    QTest::addColumn<QString>("initSetting");
    QTest::addColumn<QString>("callerIdSetting");
    // The modem's answer to each command in turn; empty: it stays silent.
    QTest::addColumn<QByteArrayList>("answers");
    QTest::addColumn<QByteArrayList>("commands");

    QTest::newRow("Rufnummernanzeige angenommen")
        << QString() << QString() << QByteArrayList{"OK", "OK"} << QByteArrayList{InitCommand, CallerIdCommand};
    QTest::newRow("Rufnummernanzeige abgelehnt, Alternative")
        << QString() << QString() << QByteArrayList{"OK", "ERROR", "OK"}
        << QByteArrayList{InitCommand, CallerIdCommand, CallerIdAlternativeCommand};
    QTest::newRow("beide abgelehnt")
        << QString() << QString() << QByteArrayList{"OK", "ERROR", "ERROR"}
        << QByteArrayList{InitCommand, CallerIdCommand, CallerIdAlternativeCommand};
    QTest::newRow("Grundeinstellung abgelehnt")
        << QString() << QString() << QByteArrayList{"ERROR", "OK"} << QByteArrayList{InitCommand, CallerIdCommand};
    QTest::newRow("stummes Modem")
        << QString() << QString() << QByteArrayList{"", ""} << QByteArrayList{InitCommand, CallerIdCommand};
    QTest::newRow("eigene Befehle")
        << u"ATZ"_s << u"AT+CID=1"_s << QByteArrayList{"OK", "OK"} << QByteArrayList{"ATZ\r", "AT+CID=1\r"};
}

void tst_ModemDevice::initialisierung()
{
    QFETCH(QString, initSetting);
    QFETCH(QString, callerIdSetting);
    QFETCH(QByteArrayList, answers);
    QFETCH(QByteArrayList, commands);

    if (!initSetting.isEmpty())
        m_settings->SaveSetting(u"Telefonie"_s, u"ModemInit"_s, initSetting);
    if (!callerIdSetting.isEmpty())
        m_settings->SaveSetting(u"Telefonie"_s, u"ModemCallerId"_s, callerIdSetting);
    m_device->setCommandTimeout(200);

    m_device->openLine();
    QVERIFY(m_device->isOpen());
    for (qsizetype i = 0; i < commands.size(); ++i) {
        const QByteArray command = m_pty->takeCommand();
        QCOMPARE(command, commands.at(i));
        if (!answers.at(i).isEmpty())
            QVERIFY(m_pty->answer(withoutCr(command), answers.at(i)));
    }

    // Whatever came of the set-up, the next thing the modem hears is our
    // dialing: no command was left over or sent twice.
    m_device->dial(u"1"_s, 0);
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT1;\r"));
    QVERIFY(m_device->isOpen());
}

void tst_ModemDevice::geschwindigkeit_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("speed");

    QTest::newRow("voreingestellt") << QString() << int(B115200);
    QTest::newRow("9600") << u"9600"_s << int(B9600);
    QTest::newRow("57600 mit Leerzeichen") << u" 57600 "_s << int(B57600);
    QTest::newRow("unsinnig") << u"schnell"_s << int(B115200);
    QTest::newRow("negativ") << u"-9600"_s << int(B115200);
}

void tst_ModemDevice::geschwindigkeit()
{
    QFETCH(QString, setting);
    QFETCH(int, speed);

    if (!setting.isNull())
        m_settings->SaveSetting(u"Telefonie"_s, u"ModemBaud"_s, setting);
    m_device->openLine();
    QVERIFY(m_device->isOpen());

    // The master of a pseudo-terminal reports the slave's settings.
    termios settings{};
    QCOMPARE(::tcgetattr(m_pty->master(), &settings), 0);
    QCOMPARE(int(::cfgetospeed(&settings)), speed);
}

void tst_ModemDevice::anruf_data()
{
    QTest::addColumn<QByteArray>("modem");
    QTest::addColumn<QStringList>("events");

    const QStringList offering{u"state OFFERING 1 1"_s, u"offering <OWNER> 1"_s};
    const QString idle = u"state IDLE 1 1"_s;
    const auto ringing = [](int count) { return u"ringing 0 %1"_s.arg(count); };
    const auto caller = [](const QString &number, const QString &name, const QString &party) {
        return u"callerid [%1] [%2] %3 1 1"_s.arg(number, name, party);
    };

    QTest::newRow("Block zwischen erstem und zweitem Klingeln")
        << QByteArray("\r\nRING\r\n\r\nDATE = 0312\r\nTIME = 1845\r\nNMBR = 0301234567\r\nNAME = Meier Hans\r\n"
                      "\r\nRING\r\n\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier Hans"_s, u"<ADDRESS>"_s),
                                   ringing(2), ringing(3), idle});
    QTest::newRow("ohne Leerzeichen")
        << QByteArray("RING\r\nDATE=0312\r\nTIME=1845\r\nNMBR=0301234567\r\nNAME=MEIER\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"MEIER"_s, u"<ADDRESS>"_s), ringing(2),
                                   idle});
    QTest::newRow("DDN_NMBR")
        << QByteArray("RING\r\nDATE = 0312\r\nTIME = 1845\r\nDDN_NMBR = 089123456\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"089123456"_s, QString(), u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("Nummer zweimal, die erste gilt")
        << QByteArray("RING\r\nNMBR = 0301234567\r\nNMBR = 0409999999\r\nNAME = Meier\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("NMBR und DDN_NMBR, die erste gilt")
        << QByteArray("RING\r\nDDN_NMBR = 0301234567\r\nNMBR = 0409999999\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, QString(), u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("unterdrückt")
        << QByteArray("RING\r\nDATE = 0312\r\nTIME = 1845\r\nNMBR = P\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(QString(), QString(), u"<BLOCKED>"_s), ringing(2), idle});
    QTest::newRow("nicht verfügbar")
        << QByteArray("RING\r\nDATE = 0312\r\nTIME = 1845\r\nNMBR = O\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(QString(), QString(), u"<UNAVAIL>"_s), ringing(2), idle});
    QTest::newRow("keine Nummer bis zum zweiten Klingeln")
        << QByteArray("RING\r\nRING\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(QString(), QString(), u"<UNAVAIL>"_s), ringing(2), ringing(3),
                                   idle});
    QTest::newRow("einmal geklingelt") << QByteArray("RING\r\n") << (offering + QStringList{ringing(1), idle});
    QTest::newRow("Name vor der Nummer")
        << QByteArray("RING\r\nNAME = Meier\r\nNMBR = 0301234567\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("Block vor dem ersten Klingeln")
        << QByteArray("DATE = 0312\r\nTIME = 1845\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\nRING\r\n")
        << (offering + QStringList{caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(1), ringing(2), idle});
    QTest::newRow("nur LF und nur CR")
        << QByteArray("RING\nNMBR = 0301234567\rNAME = Meier\n\rRING\r")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("Echo und Unbekanntes dazwischen")
        << QByteArray("AT+VCID=1\r\nRING\r\nMESG = 110101\r\nCONNECT 9600\r\n\x01\x02\x7f\r\nNMBR = 0301234567\r\n"
                      "at#cid=1\r\nNAME = Meier\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(2), idle});
    QTest::newRow("überlange Zeile")
        << (QByteArray(5000, 'X') + "\r\nRING\r\nNMBR = 0301234567\r\nNAME = " + QByteArray(1000, 'N')
            + "\r\nRING\r\n")
        << (offering
            + QStringList{ringing(1),
                          caller(u"0301234567"_s, QString(ModemCallerIdParser::MaxLineLength - 7, u'N'),
                                 u"<ADDRESS>"_s),
                          ringing(2), idle});
    QTest::newRow("Nummer mit Steuerzeichen")
        << QByteArray("RING\r\nNMBR = 030\x07" "1234567\r\nNAME = Mei\ter\r\nRING\r\n")
        << (offering + QStringList{ringing(1), caller(u"0301234567"_s, u"Meier"_s, u"<ADDRESS>"_s), ringing(2), idle});
}

void tst_ModemDevice::anruf()
{
    QFETCH(QByteArray, modem);
    QFETCH(QStringList, events);

    OPEN_AND_INITIALISE();
    QVERIFY(m_pty->write(modem));
    QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(events.last()), 10000);
    QCOMPARE(m_events, events);
    QVERIFY(m_device->isOpen());
}

void tst_ModemDevice::nummerOhneNamenNachKurzerZeit()
{
    m_device->setRingEndTimeout(10000);
    OPEN_AND_INITIALISE();
    QVERIFY(m_pty->write("RING\r\nNMBR = 0301234567\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 4, 5000);
    QCOMPARE(m_events,
             (QStringList{u"state OFFERING 1 1"_s, u"offering <OWNER> 1"_s, u"ringing 0 1"_s,
                          u"callerid [0301234567] [] <ADDRESS> 1 1"_s}));

    // A name coming too late does not make a second report.
    QVERIFY(m_pty->write("NAME = Meier\r\nRING\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 5, 5000);
    QCOMPARE(m_events.last(), u"ringing 0 2"_s);
}

void tst_ModemDevice::neuerAnrufNeueKennung()
{
    OPEN_AND_INITIALISE();
    QVERIFY(m_pty->write("RING\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"state IDLE 1 1"_s), 5000);
    QVERIFY(m_pty->write("RING\r\nNMBR = 0409999999\r\nNAME = Kunz\r\nRING\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"state IDLE 2 2"_s), 5000);
    QCOMPARE(m_events,
             (QStringList{u"state OFFERING 1 1"_s, u"offering <OWNER> 1"_s, u"ringing 0 1"_s, u"state IDLE 1 1"_s,
                          u"state OFFERING 2 2"_s, u"offering <OWNER> 2"_s, u"ringing 0 1"_s,
                          u"callerid [0409999999] [Kunz] <ADDRESS> 2 2"_s, u"ringing 0 2"_s, u"state IDLE 2 2"_s}));
}

void tst_ModemDevice::waehlen_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("events");

    const QStringList dialing{u"state DIALTONE 1 1"_s, u"state PROCEEDING 1 1"_s};
    const QStringList ended{u"state DISCONNECTED 1 1"_s, u"state IDLE 1 1"_s};

    QTest::newRow("besetzt") << u"0301234567"_s << QByteArray("ATDT0301234567;\r") << QByteArray("BUSY")
                             << (dialing + QStringList{u"busy <STATION> 1"_s} + ended);
    QTest::newRow("kein Träger") << u"0301234567"_s << QByteArray("ATDT0301234567;\r") << QByteArray("NO CARRIER")
                                 << (dialing + ended);
    QTest::newRow("kein Wählton") << u"0301234567"_s << QByteArray("ATDT0301234567;\r")
                                  << QByteArray("NO DIALTONE") << (dialing + ended);
    QTest::newRow("abgelehnt") << u"0301234567"_s << QByteArray("ATDT0301234567;\r") << QByteArray("ERROR")
                               << (dialing + ended);
    QTest::newRow("fremde Zeichen entfernt") << u"+49 (30) 123-45;ATH"_s << QByteArray("ATDT+493012345;\r")
                                             << QByteArray("NO CARRIER") << (dialing + ended);
    QTest::newRow("Sterncode") << u"*31#0301234567"_s << QByteArray("ATDT*31#0301234567;\r") << QByteArray("BUSY")
                               << (dialing + QStringList{u"busy <STATION> 1"_s} + ended);
}

void tst_ModemDevice::waehlen()
{
    QFETCH(QString, number);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, events);

    OPEN_AND_INITIALISE();
    m_device->dial(number, 0);
    QCOMPARE(m_events.mid(0, 2), events.mid(0, 2));
    QCOMPARE(m_pty->takeCommand(), command);
    QVERIFY(m_pty->answer(withoutCr(command), answer));
    QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), events.size(), 5000);
    QCOMPARE(m_events, events);
}

void tst_ModemDevice::schliessenBeimWaehlenLegtAuf()
{
    OPEN_AND_INITIALISE();
    m_device->dial(u"0301234567"_s, 0);
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0301234567;\r"));
    QVERIFY(m_pty->answer("ATDT0301234567;", "OK"));

    m_device->closeLine();
    QVERIFY(!m_device->isOpen());
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATH\r"));
    QCOMPARE(m_events, (QStringList{u"state DIALTONE 1 1"_s, u"state PROCEEDING 1 1"_s,
                                    u"state DISCONNECTED 1 1"_s, u"state IDLE 1 1"_s}));
}

void tst_ModemDevice::auflegen()
{
    OPEN_AND_INITIALISE();
    m_device->dial(u"0301234567"_s, 0);
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0301234567;\r"));

    m_device->hangUp();
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATH\r"));
    QCOMPARE(m_events, (QStringList{u"state DIALTONE 1 1"_s, u"state PROCEEDING 1 1"_s,
                                    u"state DISCONNECTED 1 1"_s, u"state IDLE 1 1"_s}));
    QVERIFY(m_pty->answer("ATH", "OK"));

    // The modem is free again for the next call.
    m_device->dial(u"0409999999"_s, 0);
    QCOMPARE(m_pty->takeCommand(), QByteArray("ATDT0409999999;\r"));
    QVERIFY(m_device->isOpen());
}

void tst_ModemDevice::waehlenOhneLeitung()
{
    QSignalSpy errors(m_device.get(), &LineDevice::OnError);
    m_device->dial(u"0301234567"_s, 0);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().at(2).toInt(), LineDevice::LineDropped);
    QVERIFY(m_events.isEmpty());
}

void tst_ModemDevice::schnittstelleVerschwindet()
{
    QSignalSpy errors(m_device.get(), &LineDevice::OnError);
    OPEN_AND_INITIALISE();
    QVERIFY(m_pty->write("RING\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 3, 5000);

    m_pty->closeMaster();
    QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 5000);
    QCOMPARE(errors.first().at(1).toString(), m_device->name());
    QCOMPARE(errors.first().at(2).toInt(), LineDevice::LineDropped);
    QVERIFY(errors.first().at(0).toString().contains(m_pty->slavePath()));
    QVERIFY(!m_device->isOpen());
    // The ringing call does not hang on forever.
    QCOMPARE(m_events.last(), u"state IDLE 1 1"_s);

    // A dead port keeps signalling; the device must have let go of it.
    QTest::qWait(300);
    QCOMPARE(errors.size(), 1);
    m_device->closeLine();
    QCOMPARE(errors.size(), 1);
}

// The program may close the line while the device is telling it about a
// call; the rest of what the modem sent must then go unreported.
void tst_ModemDevice::schliessenAusEreignis()
{
    OPEN_AND_INITIALISE();
    connect(m_device.get(), &LineDevice::OnRinging, m_device.get(), &LineDevice::closeLine);
    QVERIFY(m_pty->write("RING\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_device->isOpen(), 5000);
    QCOMPARE(m_events, (QStringList{u"state OFFERING 1 1"_s, u"offering <OWNER> 1"_s, u"ringing 0 1"_s,
                                    u"state IDLE 1 1"_s}));

    // The port was let go of, so the line opens again.
    disconnect(m_device.get(), &LineDevice::OnRinging, m_device.get(), &LineDevice::closeLine);
    m_pty->received().clear();
    m_device->openLine();
    QVERIFY(m_device->isOpen());
    QCOMPARE(m_pty->takeCommand(), InitCommand);
}

void tst_ModemDevice::schnittstelleFehlt()
{
    const QString missing = u"/dev/rufmon-gibt-es-nicht-ttyACM9"_s;
    ModemDevice device(missing, *m_settings);
    QSignalSpy errors(&device, &LineDevice::OnError);

    device.openLine();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().at(0).toString().contains(missing));
    QCOMPARE(errors.first().at(1).toString(), u"Modem "_s + missing);
    QCOMPARE(errors.first().at(2).toInt(), LineDevice::LineDropped);
    QVERIFY(!device.isOpen());
}

void tst_ModemDevice::flutOhneZeilenende()
{
    OPEN_AND_INITIALISE();
    // Line noise: every byte but the line ends.
    QByteArray flood(256 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < flood.size(); ++i)
        flood[i] = char(0x20 + (i * 7) % 200);
    QVERIFY(m_pty->write(flood));
    QVERIFY(m_pty->write("\r\nRING\r\nNMBR = 0301234567\r\nNAME = Meier\r\nRING\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(m_events.contains(u"state IDLE 1 1"_s), 10000);
    QCOMPARE(m_events, (QStringList{u"state OFFERING 1 1"_s, u"offering <OWNER> 1"_s, u"ringing 0 1"_s,
                                    u"callerid [0301234567] [Meier] <ADDRESS> 1 1"_s, u"ringing 0 2"_s,
                                    u"state IDLE 1 1"_s}));
}

void tst_ModemDevice::zerleger_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("lines");
    // Index of the line that lost its end, or -1.
    QTest::addColumn<int>("truncated");

    QTest::newRow("CR LF") << QByteArrayList{"OK\r\nRING\r\n"} << QByteArrayList{"OK", "RING"} << -1;
    QTest::newRow("nur CR") << QByteArrayList{"OK\rRING\r"} << QByteArrayList{"OK", "RING"} << -1;
    QTest::newRow("nur LF") << QByteArrayList{"OK\nRING\n"} << QByteArrayList{"OK", "RING"} << -1;
    QTest::newRow("LF CR und Leerzeilen") << QByteArrayList{"\n\r\r\nOK\n\r\n\r  \r\nRING\r\n"}
                                          << QByteArrayList{"OK", "RING"} << -1;
    QTest::newRow("in Stücken") << QByteArrayList{"NM", "BR = 03", "01\r", "\nRI", "NG", "\r\n"}
                                << QByteArrayList{"NMBR = 0301", "RING"} << -1;
    QTest::newRow("ohne Zeilenende bleibt offen") << QByteArrayList{"OK\r\nRIN"} << QByteArrayList{"OK"} << -1;
    QTest::newRow("genau die Höchstlänge")
        << QByteArrayList{QByteArray(ModemCallerIdParser::MaxLineLength, 'A') + "\r\nOK\r\n"}
        << QByteArrayList{QByteArray(ModemCallerIdParser::MaxLineLength, 'A'), "OK"} << -1;
    QTest::newRow("überlang, der Rest fällt weg")
        << QByteArrayList{QByteArray(ModemCallerIdParser::MaxLineLength, 'A') + "BBBB", "CCCC\r\nOK\r\n"}
        << QByteArrayList{QByteArray(ModemCallerIdParser::MaxLineLength, 'A'), "OK"} << 0;
}

void tst_ModemDevice::zerleger()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, lines);
    QFETCH(int, truncated);

    ModemCallerIdParser parser;
    QByteArrayList received;
    int truncatedAt = -1;
    for (const QByteArray &chunk : std::as_const(chunks)) {
        const auto messages = parser.feed(chunk);
        for (const auto &message : messages) {
            if (message.truncated)
                truncatedAt = int(received.size());
            received << message.line;
        }
    }
    QCOMPARE(received, lines);
    QCOMPARE(truncatedAt, truncated);
}

void tst_ModemDevice::zerlegerBleibtBeschraenkt()
{
    ModemCallerIdParser parser;
    const QByteArray chunk(64 * 1024, 'X');
    for (int i = 0; i < 16; ++i) {
        QVERIFY(parser.feed(chunk).isEmpty());
        QVERIFY(parser.pendingSize() <= ModemCallerIdParser::MaxLineLength);
    }
    const auto messages = parser.feed("\r\nRING\r\n");
    QCOMPARE(messages.size(), 2);
    QVERIFY(messages.at(0).truncated);
    QCOMPARE(messages.at(1).kind, ModemCallerIdParser::Kind::Ring);
    QCOMPARE(parser.pendingSize(), 0);
}

void tst_ModemDevice::felder_data()
{
    using Kind = ModemCallerIdParser::Kind;
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("value");

    QTest::newRow("OK") << QByteArray("OK") << Kind::Ok << QString();
    QTest::newRow("OK mit Leerzeichen") << QByteArray("  OK ") << Kind::Ok << QString();
    QTest::newRow("ERROR") << QByteArray("ERROR") << Kind::Error << QString();
    QTest::newRow("RING") << QByteArray("RING") << Kind::Ring << QString();
    QTest::newRow("ring klein") << QByteArray("ring") << Kind::Ring << QString();
    QTest::newRow("RINGING ist kein RING") << QByteArray("RINGING") << Kind::Other << QString();
    QTest::newRow("NO CARRIER") << QByteArray("NO CARRIER") << Kind::NoCarrier << QString();
    QTest::newRow("BUSY") << QByteArray("BUSY") << Kind::Busy << QString();
    QTest::newRow("NO DIALTONE") << QByteArray("NO DIALTONE") << Kind::NoDialtone << QString();
    QTest::newRow("NO DIAL TONE") << QByteArray("NO DIAL TONE") << Kind::NoDialtone << QString();
    QTest::newRow("NO ANSWER") << QByteArray("NO ANSWER") << Kind::NoAnswer << QString();
    QTest::newRow("CONNECT 9600") << QByteArray("CONNECT 9600") << Kind::Connect << QString();
    QTest::newRow("Echo") << QByteArray("AT+VCID=1") << Kind::Echo << QString();
    QTest::newRow("Echo klein") << QByteArray("at#cid=1") << Kind::Echo << QString();
    QTest::newRow("DATE") << QByteArray("DATE = 0312") << Kind::Date << u"0312"_s;
    QTest::newRow("TIME") << QByteArray("TIME=1845") << Kind::Time << u"1845"_s;
    QTest::newRow("NMBR") << QByteArray("NMBR = 0301234567") << Kind::Number << u"0301234567"_s;
    QTest::newRow("NMBR ohne Leerzeichen") << QByteArray("NMBR=0301234567") << Kind::Number << u"0301234567"_s;
    QTest::newRow("DDN_NMBR") << QByteArray("DDN_NMBR = 0301234567") << Kind::Number << u"0301234567"_s;
    QTest::newRow("NMBR O") << QByteArray("NMBR = O") << Kind::NumberUnavailable << QString();
    QTest::newRow("NMBR P") << QByteArray("NMBR=P") << Kind::NumberPrivate << QString();
    QTest::newRow("NMBR leer") << QByteArray("NMBR = ") << Kind::NumberUnavailable << QString();
    QTest::newRow("NAME") << QByteArray("NAME = Meier Hans") << Kind::Name << u"Meier Hans"_s;
    QTest::newRow("NAME Latin-1") << QByteArray("NAME = M\xfcller") << Kind::Name << u"Müller"_s;
    QTest::newRow("NAME mit Gleichheitszeichen") << QByteArray("NAME = A=B") << Kind::Name << u"A=B"_s;
    QTest::newRow("MESG") << QByteArray("MESG = 110101") << Kind::Other << QString();
    QTest::newRow("nur Gleichheitszeichen") << QByteArray("=") << Kind::Other << QString();
    QTest::newRow("Müll") << QByteArray("\x01\xff\x80") << Kind::Other << QString();
}

void tst_ModemDevice::felder()
{
    QFETCH(QByteArray, line);
    QFETCH(ModemCallerIdParser::Kind, kind);
    QFETCH(QString, value);

    const ModemCallerIdParser::Message message = ModemCallerIdParser::classify(line);
    QCOMPARE(message.kind, kind);
    QCOMPARE(message.value, value);
}

void tst_ModemDevice::schnittstellenListe_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("files");
    // "@" stands for the device folder of the test.
    QTest::addColumn<QStringList>("ports");

    QTest::newRow("nichts") << QString() << QStringList() << QStringList();
    QTest::newRow("nur eingestellt") << u" /dev/ttyS0 , /dev/ttyS1,,  "_s << QStringList()
                                     << QStringList{u"/dev/ttyS0"_s, u"/dev/ttyS1"_s};
    QTest::newRow("eingestellt doppelt") << u"/dev/ttyS0,/dev/ttyS0"_s << QStringList() << QStringList{u"/dev/ttyS0"_s};
    QTest::newRow("nur gefunden")
        << QString() << QStringList{u"ttyUSB0"_s, u"ttyACM10"_s, u"ttyACM2"_s, u"ttyS0"_s, u"console"_s}
        << QStringList{u"@/ttyACM2"_s, u"@/ttyACM10"_s, u"@/ttyUSB0"_s};
    QTest::newRow("eingestellt zuerst, ohne Doppel")
        << u"@/ttyUSB0, /dev/ttyS3"_s << QStringList{u"ttyACM0"_s, u"ttyUSB0"_s}
        << QStringList{u"@/ttyUSB0"_s, u"/dev/ttyS3"_s, u"@/ttyACM0"_s};
}

void tst_ModemDevice::schnittstellenListe()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, files);
    QFETCH(QStringList, ports);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const QString &name : std::as_const(files)) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString path = QDir(folder.path()).absolutePath();
    MemorySettings settings;
    if (!setting.isNull())
        settings.SaveSetting(u"Telefonie"_s, u"Modems"_s, QString(setting).replace(u'@', path));
    for (QString &port : ports)
        port.replace(u'@', path);

    QCOMPARE(ModemDevice::configuredPorts(settings, path), ports);
}

void tst_ModemDevice::einstellungsdialog()
{
    m_settings->SaveSetting(u"Telefonie"_s, u"Modems"_s, u"/dev/ttyS0, /dev/ttyS1"_s);
    m_settings->SaveSetting(u"Telefonie"_s, u"ModemBaud"_s, u"57600"_s);

    const std::unique_ptr<QDialog> dialog(m_device->createConfigDialog(nullptr));
    auto *port = dialog->findChild<QComboBox *>(u"port"_s);
    auto *speed = dialog->findChild<QComboBox *>(u"speed"_s);
    auto *init = dialog->findChild<QLineEdit *>(u"init"_s);
    QVERIFY(port && speed && init);
    QCOMPARE(port->currentText(), m_pty->slavePath());
    QCOMPARE(speed->currentText(), u"57600"_s);
    QCOMPARE(init->text(), u"AT Z S0=0 E1 V1 Q0"_s);

    port->setCurrentText(u" /dev/ttyS1 "_s);
    speed->setCurrentText(u"9600"_s);
    init->setText(u"AT&F E1"_s);
    dialog->accept();

    QCOMPARE(m_settings->GetSetting(u"Telefonie"_s, u"Modems"_s, QString()), u"/dev/ttyS1,/dev/ttyS0"_s);
    QCOMPARE(m_settings->GetSetting(u"Telefonie"_s, u"ModemBaud"_s, QString()), u"9600"_s);
    QCOMPARE(m_settings->GetSetting(u"Telefonie"_s, u"ModemInit"_s, QString()), u"AT&F E1"_s);

    // Cancel leaves everything as it was.
    const std::unique_ptr<QDialog> again(m_device->createConfigDialog(nullptr));
    again->findChild<QLineEdit *>(u"init"_s)->setText(u"ATZ"_s);
    again->reject();
    QCOMPARE(m_settings->GetSetting(u"Telefonie"_s, u"ModemInit"_s, QString()), u"AT&F E1"_s);

    // The new init string is what the modem hears next time.
    m_device->openLine();
    QCOMPARE(m_pty->takeCommand(), QByteArray("AT&F E1\r"));
}

void tst_ModemDevice::geraeteangaben()
{
    ModemDevice device(u"/dev/ttyACM0"_s, *m_settings);
    QCOMPARE(device.name(), u"Modem /dev/ttyACM0"_s);
    QCOMPARE(device.switchInfo(), u"/dev/ttyACM0"_s);
    QCOMPARE(device.apiVersion(), 0x00020000);
    QCOMPARE(device.providerInfo(), u"Modem mit Rufnummernanzeige"_s);
    QVERIFY(device.addresses().isEmpty());
    QVERIFY(!device.isOpen());
    // Every call state the device raises is one it names.
    for (const QString &state : {u"OFFERING"_s, u"DIALTONE"_s, u"PROCEEDING"_s, u"DISCONNECTED"_s, u"IDLE"_s})
        QVERIFY(device.callStates().contains(u'<' + state + u'>'));
    QVERIFY(device.busyModes().contains(u"<STATION>"_s));
    QVERIFY(device.callInfoStates().contains(u"<CALLERID>"_s));
}

QTEST_MAIN(tst_ModemDevice)
#include "tst_ModemDevice.moc"
