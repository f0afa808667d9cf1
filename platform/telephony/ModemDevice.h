#pragma once

#include "platform/telephony/Geraeteart.h"

#include "platform/telephony/LineDevice.h"
#include "platform/telephony/ModemCallerIdParser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <optional>

class SettingsStore;

// A modem with caller ID on a serial port. It reports incoming calls from its
// RING lines and the caller-ID block between them, and dials voice calls
// ("ATDT…;"), leaving the talking to the handset on the modem's phone port.
// Nothing here blocks: the commands to the modem run one after the other on
// its answers and on timers.
class ModemDevice : public LineDevice
{
    Q_OBJECT

public:
    static constexpr int DefaultBaudRate = 115200;
    static constexpr int DefaultCommandTimeout = 3000;
    static constexpr int DefaultSettleTime = 300;
    static constexpr int DefaultRingEndTimeout = 8000;
    static constexpr int DialTimeout = 60000;

    ModemDevice(const QString &portName, SettingsStore &settings, QObject *parent = nullptr);
    ~ModemDevice() override;

    // The ports from the settings (key "Modems", comma-separated) first, then
    // the USB modems present in deviceFolder, each once.
    // The devices of this kind the settings name.
    static std::vector<std::unique_ptr<LineDevice>> ausEinstellungen(const Geraeteumgebung &umgebung);
    static QStringList configuredPorts(const SettingsStore &settings);
    static QStringList configuredPorts(const SettingsStore &settings, const QString &deviceFolder);
    // The ports written in the settings only.
    static QStringList eingetragenePorts(const SettingsStore &settings);
    // Adds the port at the end of the configured ones, unless it is there already.
    static void hinzufuegen(SettingsStore &settings, const QString &port);
    // Takes the port out of the configured ones; false when it was not there.
    static bool entfernen(SettingsStore &settings, const QString &port);
    static QString geraetename(const QString &port);

    QString portName() const;
    const SettingsStore &settings() const { return m_settings; }

    QString name() const override;
    QStringList addresses() const override;

    void openLine() override;
    void closeLine() override;
    bool isOpen() const override;
    void dial(const QString &number, int address) override;
    // Puts the modem on hook, ending a call we dialed.
    void hangUp();

    int baudRate() const;
    QString initString() const;
    // The init string used when none is set.
    static QString defaultInitString();
    // Puts the port first in the configured list and makes it this device's
    // (from the next openLine()); keeps speed and init string: no speed keeps
    // the previous one, an empty init string the default.
    void saveSettings(const QString &port, std::optional<int> baud, const QString &init);

    // How long the modem may take to answer a command.
    void setCommandTimeout(int msecs);
    // How long to wait for a caller's name after the number.
    void setSettleTime(int msecs);
    // After this long without a RING the caller has given up.
    void setRingEndTimeout(int msecs);

    Faehigkeiten faehigkeiten() const override;

private:
    enum class Command { None, Init, CallerId, CallerIdAlternative, Dial, HangUp };

    struct PendingCommand
    {
        Command command = Command::None;
        QByteArray text;
    };

    struct IncomingCall
    {
        bool active = false;
        std::int32_t handle = 0;
        std::int32_t id = 0;
        std::int32_t rings = 0;
        bool numberSeen = false;
        bool nameSeen = false;
        bool reported = false;
        QString number;
        QString name;
        Rufnummernanzeige anzeige = Rufnummernanzeige::NichtVerfuegbar;
    };

    struct OutgoingCall
    {
        bool active = false;
        std::int32_t handle = 0;
        std::int32_t id = 0;
    };

    QString setting(const QString &key, const QString &defaultValue) const;

    void readFromPort();
    void portError(QSerialPort::SerialPortError error);
    void lineLost(const QString &reason);
    void releasePort();

    void handleMessage(const ModemCallerIdParser::Message &message);
    void commandFinished(bool ok);
    void commandTimedOut();
    void queueCommand(Command command, const QByteArray &text);
    void sendNextCommand();
    void writeCommand(const PendingCommand &command);

    std::int32_t nextCallNumber();
    void ring();
    void startIncomingCall();
    void callerIdField(const ModemCallerIdParser::Message &message);
    void reportCallerId();
    void ringEnded();
    void endIncomingCall();
    void endOutgoingCall(bool busy);
    void diagnoseSkipped(const QString &text);

    QString m_portName;
    SettingsStore &m_settings;
    QPointer<QSerialPort> m_port;
    bool m_open = false;
    ModemCallerIdParser m_parser;

    QList<PendingCommand> m_queue;
    Command m_waitingFor = Command::None;
    QTimer m_commandTimer;
    int m_commandTimeout = DefaultCommandTimeout;

    std::int32_t m_lastCall = 0;
    IncomingCall m_incoming;
    OutgoingCall m_outgoing;
    QTimer m_settleTimer;
    QTimer m_ringEndTimer;

    QElapsedTimer m_skippedWindow;
    int m_skippedInWindow = 0;
};
