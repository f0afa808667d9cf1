#include "platform/telephony/ModemDevice.h"

#include "platform/settings/SettingsStore.h"
#include "platform/telephony/DiagnoseLeitung.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Section = u"Telefonie"_s;
const QString KeyPorts = u"Modems"_s;
const QString KeyInit = u"ModemInit"_s;
const QString KeyCallerId = u"ModemCallerId"_s;
const QString KeyCallerIdAlternative = u"ModemCallerIdAlternative"_s;
const QString KeyBaud = u"ModemBaud"_s;

const QString DefaultInit = u"AT Z S0=0 E1 V1 Q0"_s;
const QString DefaultCallerId = u"AT+VCID=1"_s;
const QString DefaultCallerIdAlternative = u"AT#CID=1"_s;

// Unknown lines are logged, but a modem gone mad must not flood the log.
constexpr int SkippedLinesPerWindow = 20;
constexpr qint64 SkippedWindowMsecs = 60000;

// Only what a modem can dial; anything else could smuggle in a command.
QByteArray dialString(const QString &number)
{
    QByteArray digits;
    for (const QChar c : number) {
        if (c.isDigit() && c.unicode() < 0x80)
            digits.append(static_cast<char>(c.unicode()));
        else if (c == u'*' || c == u'#' || c == u'+' || c == u',')
            digits.append(static_cast<char>(c.unicode()));
    }
    return digits;
}

QString printableLine(const QByteArray &line)
{
    QString text = QString::fromLatin1(line.trimmed());
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            c = u'?';
    }
    return text;
}

QString openErrorReason(const QSerialPort &port)
{
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return u"Die Schnittstelle gibt es nicht."_s;
    case QSerialPort::PermissionError:
        return u"Keine Berechtigung, oder ein anderes Programm benutzt sie (%1)."_s.arg(port.errorString());
    case QSerialPort::OpenError:
        return u"Sie ist schon geöffnet."_s;
    default:
        return port.errorString();
    }
}

// "ttyACM10" after "ttyACM9", as people count.
bool portLess(const QString &a, const QString &b)
{
    const auto split = [](const QString &name) {
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1].isDigit())
            --digits;
        return std::pair{name.left(digits), name.mid(digits)};
    };
    const auto [prefixA, numberA] = split(a);
    const auto [prefixB, numberB] = split(b);
    if (prefixA != prefixB)
        return prefixA < prefixB;
    if (numberA.size() != numberB.size())
        return numberA.size() < numberB.size();
    return numberA < numberB;
}

QStringList splitPorts(const QString &text)
{
    QStringList ports;
    for (const QString &part : text.split(u',')) {
        const QString port = part.trimmed();
        if (!port.isEmpty() && !ports.contains(port))
            ports.append(port);
    }
    return ports;
}

} // namespace

ModemDevice::ModemDevice(const QString &portName, SettingsStore &settings, QObject *parent)
    : LineDevice(parent)
    , m_portName(portName.trimmed())
    , m_settings(settings)
{
    m_commandTimer.setSingleShot(true);
    connect(&m_commandTimer, &QTimer::timeout, this, &ModemDevice::commandTimedOut);
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(DefaultSettleTime);
    connect(&m_settleTimer, &QTimer::timeout, this, &ModemDevice::reportCallerId);
    m_ringEndTimer.setSingleShot(true);
    m_ringEndTimer.setInterval(DefaultRingEndTimeout);
    connect(&m_ringEndTimer, &QTimer::timeout, this, &ModemDevice::ringEnded);
}

ModemDevice::~ModemDevice()
{
    // No events from a device that is going away.
    m_open = false;
    releasePort();
}

QStringList ModemDevice::configuredPorts(const SettingsStore &settings)
{
    return configuredPorts(settings, u"/dev"_s);
}

QStringList ModemDevice::configuredPorts(const SettingsStore &settings, const QString &deviceFolder)
{
    QStringList ports = eingetragenePorts(settings);
    // A port written by its stable name (/dev/serial/by-id/…) is the same
    // modem as the ttyACM it points to: listed once.
    QStringList belegt;
    for (const QString &port : std::as_const(ports)) {
        const QString ziel = QFileInfo(port).canonicalFilePath();
        belegt.append(ziel.isEmpty() ? port : ziel);
    }

    const QDir folder(deviceFolder);
    QStringList detected = folder.entryList({u"ttyACM*"_s, u"ttyUSB*"_s},
                                            QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(detected.begin(), detected.end(), portLess);
    for (const QString &entry : std::as_const(detected)) {
        const QString path = folder.filePath(entry);
        const QString ziel = QFileInfo(path).canonicalFilePath();
        if (!ports.contains(path) && !belegt.contains(ziel.isEmpty() ? path : ziel))
            ports.append(path);
    }
    return ports;
}

QStringList ModemDevice::eingetragenePorts(const SettingsStore &settings)
{
    return splitPorts(settings.GetSetting(Section, KeyPorts, QString()));
}

void ModemDevice::hinzufuegen(SettingsStore &settings, const QString &port)
{
    const QString path = port.trimmed();
    QStringList ports = eingetragenePorts(settings);
    if (path.isEmpty() || ports.contains(path))
        return;
    ports.append(path);
    settings.SaveSetting(Section, KeyPorts, ports.join(u','));
}

bool ModemDevice::entfernen(SettingsStore &settings, const QString &port)
{
    QStringList ports = eingetragenePorts(settings);
    if (ports.removeAll(port.trimmed()) == 0)
        return false;
    if (ports.isEmpty())
        settings.RemoveSetting(Section, KeyPorts);
    else
        settings.SaveSetting(Section, KeyPorts, ports.join(u','));
    return true;
}

QString ModemDevice::geraetename(const QString &port)
{
    return u"Modem "_s + port.trimmed();
}

QString ModemDevice::portName() const
{
    return m_portName;
}

QString ModemDevice::name() const
{
    return geraetename(m_portName);
}

QStringList ModemDevice::addresses() const
{
    return {};
}

QString ModemDevice::setting(const QString &key, const QString &defaultValue) const
{
    return m_settings.GetSetting(Section, key, defaultValue);
}

int ModemDevice::baudRate() const
{
    bool ok = false;
    const int rate = setting(KeyBaud, QString::number(DefaultBaudRate)).trimmed().toInt(&ok);
    return ok && rate > 0 ? rate : DefaultBaudRate;
}

void ModemDevice::openLine()
{
    if (m_open)
        return;
    if (m_portName.isEmpty()) {
        emit OnError(u"Für das Modem ist keine Schnittstelle eingestellt."_s, name(), LineDropped);
        return;
    }

    auto port = std::make_unique<QSerialPort>();
    port->setPortName(m_portName);
    if (!port->open(QIODevice::ReadWrite)) {
        emit OnError(u"Die Schnittstelle %1 des Modems lässt sich nicht öffnen: %2"_s.arg(m_portName,
                                                                                         openErrorReason(*port)),
                     name(), LineDropped);
        return;
    }

    // Pseudo-terminals and some USB adapters refuse the modem-line settings;
    // the modem works without them, so their errors do not count.
    port->setBaudRate(baudRate());
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::NoParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    port->setDataTerminalReady(true);
    port->setRequestToSend(true);
    port->clearError();
    // We drain the buffer on every readyRead; the limit keeps a flood from
    // piling up in between.
    port->setReadBufferSize(4096);

    m_port = port.release();
    m_port->setParent(this);
    connect(m_port, &QSerialPort::readyRead, this, &ModemDevice::readFromPort);
    connect(m_port, &QSerialPort::errorOccurred, this, &ModemDevice::portError);

    m_open = true;
    m_parser.reset();
    m_queue.clear();
    m_waitingFor = Command::None;
    m_skippedInWindow = 0;
    m_skippedWindow.invalidate();

    queueCommand(Command::Init, setting(KeyInit, DefaultInit).trimmed().toLatin1());
    queueCommand(Command::CallerId, setting(KeyCallerId, DefaultCallerId).trimmed().toLatin1());
}

void ModemDevice::closeLine()
{
    if (!m_open)
        return;
    if (m_outgoing.active && m_port) {
        m_port->write("ATH\r");
        m_port->flush();
    }
    m_open = false;
    releasePort();
    endOutgoingCall(false);
    endIncomingCall();
}

bool ModemDevice::isOpen() const
{
    return m_open;
}

void ModemDevice::releasePort()
{
    m_commandTimer.stop();
    m_settleTimer.stop();
    m_ringEndTimer.stop();
    m_queue.clear();
    m_waitingFor = Command::None;
    m_parser.reset();
    if (QSerialPort *port = m_port) {
        m_port = nullptr;
        // We may be inside one of the port's own signals: cut it off now,
        // delete it later.
        disconnect(port, nullptr, this, nullptr);
        port->close();
        port->deleteLater();
    }
}

void ModemDevice::readFromPort()
{
    if (!m_open || !m_port)
        return;
    const QSerialPort *port = m_port;
    const QByteArray data = m_port->readAll();
    const QList<ModemCallerIdParser::Message> messages = m_parser.feed(data);
    for (const ModemCallerIdParser::Message &message : messages) {
        handleMessage(message);
        // A receiver of our events may have closed the line, or even opened
        // it anew; the rest belongs to the old one.
        if (!m_open || m_port != port)
            return;
    }
}

void ModemDevice::portError(QSerialPort::SerialPortError error)
{
    if (!m_open || !m_port)
        return;
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
        return;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        lineLost(m_port->errorString());
        return;
    default:
        qCWarning(lcLeitung).noquote() << u"%1: Fehler an der Schnittstelle: %2"_s.arg(name(), m_port->errorString());
        emit Diagnose(u"%1: Fehler an der Schnittstelle: %2"_s.arg(name(), m_port->errorString()));
        m_port->clearError();
        return;
    }
}

void ModemDevice::lineLost(const QString &reason)
{
    if (!m_open)
        return;
    m_open = false;
    releasePort();
    endOutgoingCall(false);
    endIncomingCall();
    qCWarning(lcLeitung).noquote() << u"%1: Verbindung abgebrochen: %2"_s.arg(name(), reason);
    emit OnError(u"Die Verbindung zum Modem an %1 ist abgebrochen: %2"_s.arg(m_portName, reason), name(),
                 LineDropped);
}

void ModemDevice::handleMessage(const ModemCallerIdParser::Message &message)
{
    using Kind = ModemCallerIdParser::Kind;
    if (message.truncated) {
        qCWarning(lcLeitung).noquote() << u"%1: Überlange Zeile gekürzt"_s.arg(name());
        emit Diagnose(u"%1: Überlange Zeile gekürzt"_s.arg(name()));
    }

    switch (message.kind) {
    case Kind::Ok:
    case Kind::Error:
        if (m_waitingFor != Command::None)
            commandFinished(message.kind == Kind::Ok);
        else if (message.kind == Kind::Error)
            diagnoseSkipped(printableLine(message.line));
        break;
    case Kind::Ring:
        ring();
        break;
    case Kind::NoCarrier:
    case Kind::Busy:
    case Kind::NoDialtone:
    case Kind::NoAnswer:
        if (m_waitingFor == Command::Dial) {
            m_waitingFor = Command::None;
            m_commandTimer.stop();
        }
        if (m_outgoing.active)
            endOutgoingCall(message.kind == Kind::Busy);
        else
            diagnoseSkipped(printableLine(message.line));
        sendNextCommand();
        break;
    case Kind::Date:
    case Kind::Time:
    case Kind::Number:
    case Kind::NumberUnavailable:
    case Kind::NumberPrivate:
    case Kind::Name:
        callerIdField(message);
        break;
    case Kind::Echo:
        break;
    case Kind::Connect:
    case Kind::Other:
        diagnoseSkipped(printableLine(message.line));
        break;
    }
}

void ModemDevice::queueCommand(Command command, const QByteArray &text)
{
    if (text.isEmpty())
        return;
    m_queue.append({command, text});
    sendNextCommand();
}

void ModemDevice::sendNextCommand()
{
    if (!m_open || !m_port || m_waitingFor != Command::None || m_queue.isEmpty())
        return;
    writeCommand(m_queue.takeFirst());
}

void ModemDevice::writeCommand(const PendingCommand &command)
{
    m_waitingFor = command.command;
    m_commandTimer.start(command.command == Command::Dial ? std::max(DialTimeout, m_commandTimeout)
                                                          : m_commandTimeout);
    m_port->write(command.text + '\r');
}

void ModemDevice::commandFinished(bool ok)
{
    const Command done = m_waitingFor;
    m_waitingFor = Command::None;
    m_commandTimer.stop();

    switch (done) {
    case Command::Init:
        if (!ok) {
            qCWarning(lcLeitung).noquote() << u"%1: Das Modem lehnt die Grundeinstellung ab"_s.arg(name());
            emit Diagnose(u"%1: Das Modem lehnt die Grundeinstellung ab"_s.arg(name()));
        }
        break;
    case Command::CallerId:
        if (!ok) {
            const QByteArray alternative =
                setting(KeyCallerIdAlternative, DefaultCallerIdAlternative).trimmed().toLatin1();
            if (!alternative.isEmpty())
                m_queue.prepend({Command::CallerIdAlternative, alternative});
        }
        break;
    case Command::CallerIdAlternative:
        if (!ok) {
            qCWarning(lcLeitung).noquote() << u"%1: Das Modem kennt keine Rufnummernanzeige"_s.arg(name());
            emit Diagnose(u"%1: Das Modem kennt keine Rufnummernanzeige"_s.arg(name()));
        }
        break;
    case Command::Dial:
        if (!ok && m_outgoing.active)
            endOutgoingCall(false);
        break;
    case Command::HangUp:
    case Command::None:
        break;
    }
    sendNextCommand();
}

void ModemDevice::commandTimedOut()
{
    if (m_waitingFor == Command::None)
        return;
    qCWarning(lcLeitung).noquote() << u"%1: Das Modem antwortet nicht"_s.arg(name());
    emit Diagnose(u"%1: Das Modem antwortet nicht"_s.arg(name()));
    // A modem that stays silent may still ring; go on with the next command.
    m_waitingFor = Command::None;
    sendNextCommand();
}

void ModemDevice::dial(const QString &number, int)
{
    if (!m_open || !m_port) {
        emit OnError(u"Das Modem an %1 kann nicht wählen: Die Leitung ist nicht geöffnet."_s.arg(m_portName),
                     name(), LineDropped);
        return;
    }
    const QByteArray digits = dialString(number);
    if (digits.isEmpty()) {
        qCWarning(lcLeitung).noquote() << u"%1: Keine wählbare Rufnummer"_s.arg(name());
        emit Diagnose(u"%1: Keine wählbare Rufnummer in \"%2\""_s.arg(name(), number));
        return;
    }
    if (m_outgoing.active)
        hangUp();
    if (!m_open)
        return;

    const std::int32_t call = nextCallNumber();
    m_outgoing = {true, call, call};
    queueCommand(Command::Dial, "ATDT" + digits + ';');
    emit Waehlt({call, call}, false);
    if (m_outgoing.active && m_outgoing.handle == call)
        emit Rufaufbau({call, call});
}

void ModemDevice::hangUp()
{
    if (!m_open || !m_port)
        return;
    m_queue.removeIf([](const PendingCommand &command) { return command.command == Command::Dial; });
    const PendingCommand hangUpCommand{Command::HangUp, "ATH"};
    // Any character aborts dialing, so we need not wait for the dial's answer.
    if (m_waitingFor == Command::None || m_waitingFor == Command::Dial)
        writeCommand(hangUpCommand);
    else
        m_queue.prepend(hangUpCommand);
    endOutgoingCall(false);
}

std::int32_t ModemDevice::nextCallNumber()
{
    return ++m_lastCall;
}

void ModemDevice::startIncomingCall()
{
    const std::int32_t call = nextCallNumber();
    m_incoming = IncomingCall{};
    m_incoming.active = true;
    m_incoming.handle = call;
    m_incoming.id = call;
    m_ringEndTimer.start();
    emit AnrufKommt({call, call});
}

void ModemDevice::ring()
{
    if (!m_incoming.active) {
        startIncomingCall();
        if (!m_incoming.active)
            return;
    }
    const std::int32_t call = m_incoming.handle;
    m_ringEndTimer.start();
    ++m_incoming.rings;
    // The number is due by the second ring; the first may follow the block.
    if (!m_incoming.reported && (m_incoming.numberSeen || m_incoming.rings >= 2)) {
        reportCallerId();
        if (!m_incoming.active || m_incoming.handle != call)
            return;
    }
    emit Klingelt(m_incoming.rings);
}

void ModemDevice::callerIdField(const ModemCallerIdParser::Message &message)
{
    using Kind = ModemCallerIdParser::Kind;
    if (!m_incoming.active) {
        // Some lines send the block before the first ring.
        startIncomingCall();
        if (!m_incoming.active)
            return;
    }
    m_ringEndTimer.start();

    switch (message.kind) {
    case Kind::Number:
    case Kind::NumberUnavailable:
    case Kind::NumberPrivate:
        if (m_incoming.numberSeen || m_incoming.reported) {
            qCWarning(lcLeitung).noquote() << u"%1: Weitere Rufnummer übergangen"_s.arg(name());
            emit Diagnose(u"%1: Weitere Rufnummer übergangen: %2"_s.arg(name(), printableLine(message.line)));
            return;
        }
        m_incoming.numberSeen = true;
        m_incoming.number = message.kind == Kind::Number ? message.value : QString();
        m_incoming.anzeige = message.kind == Kind::Number          ? Rufnummernanzeige::Nummer
                             : message.kind == Kind::NumberPrivate ? Rufnummernanzeige::Unterdrueckt
                                                                   : Rufnummernanzeige::NichtVerfuegbar;
        if (m_incoming.nameSeen)
            reportCallerId();
        else
            m_settleTimer.start();
        break;
    case Kind::Name:
        if (m_incoming.nameSeen || m_incoming.reported)
            return;
        m_incoming.nameSeen = true;
        m_incoming.name = message.value;
        if (m_incoming.numberSeen)
            reportCallerId();
        break;
    default:
        // Date and time of the call: our clock tells the same.
        break;
    }
}

void ModemDevice::reportCallerId()
{
    m_settleTimer.stop();
    if (!m_incoming.active || m_incoming.reported)
        return;
    m_incoming.reported = true;
    const Rufnummernanzeige anzeige = m_incoming.numberSeen ? m_incoming.anzeige : Rufnummernanzeige::NichtVerfuegbar;
    emit AnruferBekannt({m_incoming.id, m_incoming.handle}, m_incoming.number, m_incoming.name, anzeige);
}

void ModemDevice::ringEnded()
{
    if (!m_incoming.active)
        return;
    const std::int32_t call = m_incoming.handle;
    if (m_incoming.numberSeen && !m_incoming.reported) {
        reportCallerId();
        if (!m_incoming.active || m_incoming.handle != call)
            return;
    }
    endIncomingCall();
}

void ModemDevice::endIncomingCall()
{
    m_settleTimer.stop();
    m_ringEndTimer.stop();
    if (!m_incoming.active)
        return;
    const IncomingCall call = m_incoming;
    m_incoming = IncomingCall{};
    emit Beendet({call.id, call.handle}, Anrufende::Ausgeklungen);
}

void ModemDevice::endOutgoingCall(bool busy)
{
    if (!m_outgoing.active)
        return;
    const OutgoingCall call = m_outgoing;
    m_outgoing = OutgoingCall{};
    emit Beendet({call.id, call.handle}, busy ? Anrufende::Besetzt : Anrufende::Getrennt);
}

void ModemDevice::diagnoseSkipped(const QString &text)
{
    if (!m_skippedWindow.isValid() || m_skippedWindow.elapsed() > SkippedWindowMsecs) {
        m_skippedWindow.start();
        m_skippedInWindow = 0;
    }
    ++m_skippedInWindow;
    // The line may carry numbers: its content only at debug level.
    qCDebug(lcLeitung).noquote() << u"%1: Zeile übergangen: %2"_s.arg(name(), text);
    if (m_skippedInWindow < SkippedLinesPerWindow) {
        qCWarning(lcLeitung).noquote() << u"%1: Zeile übergangen"_s.arg(name());
        emit Diagnose(u"%1: Zeile übergangen: %2"_s.arg(name(), text));
    }
    else if (m_skippedInWindow == SkippedLinesPerWindow)
        emit Diagnose(u"%1: Weitere übergangene Zeilen werden eine Minute lang nicht gemeldet"_s.arg(name()));
}

void ModemDevice::setCommandTimeout(int msecs)
{
    m_commandTimeout = std::max(1, msecs);
}

void ModemDevice::setSettleTime(int msecs)
{
    m_settleTimer.setInterval(std::max(0, msecs));
}

void ModemDevice::setRingEndTimeout(int msecs)
{
    m_ringEndTimer.setInterval(std::max(1, msecs));
}

QString ModemDevice::defaultInitString()
{
    return DefaultInit;
}

QString ModemDevice::initString() const
{
    return setting(KeyInit, DefaultInit);
}

void ModemDevice::saveSettings(const QString &port, std::optional<int> baud, const QString &init)
{
    const QString path = port.trimmed();
    if (!path.isEmpty()) {
        QStringList ports = splitPorts(setting(KeyPorts, QString()));
        ports.removeAll(path);
        ports.prepend(path);
        m_settings.SaveSetting(Section, KeyPorts, ports.join(u','));
        // The device is now the one on that port (and named after it), from the next openLine().
        m_portName = path;
    }
    if (baud)
        m_settings.SaveSetting(Section, KeyBaud, QString::number(*baud));
    const QString initText = init.trimmed();
    m_settings.SaveSetting(Section, KeyInit, initText.isEmpty() ? DefaultInit : initText);
    m_settings.sync();
}

LineDevice::Faehigkeiten ModemDevice::faehigkeiten() const
{
    Faehigkeiten f;
    f.providerInfo = u"Modem mit Rufnummernanzeige"_s;
    f.switchInfo = m_portName;
    f.mediaModes = u"<INTERACTIVEVOICE><DATAMODEM>"_s;
    f.addressModes = u"<ADDRESSID>"_s;
    f.dialtoneModes = u"<NORMAL>"_s;
    f.busyModes = u"<STATION>"_s;
    f.disconnectModes = u"<NORMAL><BUSY><NOANSWER>"_s;
    f.callStates = u"<OFFERING><DIALTONE><PROCEEDING><DISCONNECTED><IDLE>"_s;
    f.callInfoStates = u"<CALLERID>"_s;
    f.callFeatures = u"<DIAL><DROP>"_s;
    return f;
}

std::vector<std::unique_ptr<LineDevice>> ModemDevice::ausEinstellungen(const Geraeteumgebung &umgebung)
{
    std::vector<std::unique_ptr<LineDevice>> devices;
    for (const QString &port : configuredPorts(umgebung.settings))
        devices.push_back(std::make_unique<ModemDevice>(port, umgebung.settings));
    return devices;
}
