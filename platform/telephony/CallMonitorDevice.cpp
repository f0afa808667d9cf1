#include "platform/telephony/CallMonitorDevice.h"

#include "platform/dialogs/Dialogs.h"
#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/CallMonitorLine.h"
#include "platform/telephony/Endpunkt.h"
#include "platform/telephony/Tr064Waehlen.h"
#include "platform/telephony/DiagnoseLeitung.h"

#include <QPointer>
#include <QTcpSocket>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString Section = u"Telefonie"_s;
const QString MonitorsKey = u"Anrufmonitore"_s;
const QString GraceKey = u"Wiederverbinden"_s;

// Bounds what Qt reads ahead of us from a peer that floods the connection.


} // namespace

CallMonitorDevice::CallMonitorDevice(const QString &host, quint16 port, SettingsStore &settings, QObject *parent)
    : LineDevice(parent)
    , m_host(host)
    , m_port(port)
    , m_settings(settings)
    , m_tr064Port(Tr064Waehlen::DefaultPort)
{
    bool ok = false;
    const int grace = settings.GetSetting(Section, GraceKey, QString()).trimmed().toInt(&ok);
    setGraceSeconds(ok && grace >= 0 ? grace : Wiederverbindung::DefaultGraceSeconds);

    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        onSocketEnded(u"keine Antwort innerhalb von %1 s"_s.arg(ConnectTimeoutMs / 1000));
    });
    connect(&m_verbindung, &Wiederverbindung::versuchen, this, &CallMonitorDevice::startConnecting);
    connect(&m_verbindung, &Wiederverbindung::aufgegeben, this, &CallMonitorDevice::onAufgegeben);
    connect(&m_verbindung, &Wiederverbindung::tcpVerbunden, this, &CallMonitorDevice::onConnected);
    connect(&m_verbindung, &Wiederverbindung::gelesen, this, &CallMonitorDevice::consume);
    connect(&m_verbindung, &Wiederverbindung::abgebrochen, this, &CallMonitorDevice::onSocketEnded);
    connect(&m_verbindung, &Wiederverbindung::zustand, this, &CallMonitorDevice::setVerbindung);
}

CallMonitorDevice::~CallMonitorDevice()
{
    // The socket must not call back into a half-destroyed device.
    m_verbindung.schliessen();
    dropSocket();
}

QList<QPair<QString, quint16>> CallMonitorDevice::configured(const SettingsStore &settings)
{
    QList<QPair<QString, quint16>> monitors;
    const QString text = settings.GetSetting(Section, MonitorsKey, QString());
    for (const QStringView entry : QStringView(text).split(u',')) {
        const auto monitor = Endpunkt::lies(entry, DefaultPort);
        if (monitor && !monitors.contains(qMakePair(monitor->host, monitor->port)))
            monitors.append(qMakePair(monitor->host, monitor->port));
    }
    return monitors;
}

namespace {

bool gleich(const Endpunkt &a, const Endpunkt &b)
{
    return a.port == b.port && a.host.compare(b.host, Qt::CaseInsensitive) == 0;
}

QString tr064Schluessel(const QString &host)
{
    return u"TR064/%1/Benutzer"_s.arg(host);
}

} // namespace

Endpunkt CallMonitorDevice::hinzufuegen(SettingsStore &settings, const Endpunkt &router)
{
    const QString text = settings.GetSetting(Section, MonitorsKey, QString());
    QStringList entries;
    for (const QStringView part : QStringView(text).split(u',')) {
        const QStringView entry = part.trimmed();
        if (entry.isEmpty())
            continue;
        const auto monitor = Endpunkt::lies(entry, DefaultPort);
        if (monitor && gleich(*monitor, router))
            return *monitor;
        entries.append(entry.toString());
    }
    entries.append(router.text());
    settings.SaveSetting(Section, MonitorsKey, entries.join(u','));
    return router;
}

QString CallMonitorDevice::entfernen(SettingsStore &settings, const Endpunkt &router)
{
    // The other entries stay as the user wrote them.
    const QString text = settings.GetSetting(Section, MonitorsKey, QString());
    QStringList entries;
    bool hostBleibt = false;
    for (const QStringView part : QStringView(text).split(u',')) {
        const QStringView entry = part.trimmed();
        if (entry.isEmpty())
            continue;
        const auto monitor = Endpunkt::lies(entry, DefaultPort);
        if (monitor && gleich(*monitor, router))
            continue;
        hostBleibt = hostBleibt || (monitor && monitor->host.compare(router.host, Qt::CaseInsensitive) == 0);
        entries.append(entry.toString());
    }
    if (entries.isEmpty())
        settings.RemoveSetting(Section, MonitorsKey);
    else
        settings.SaveSetting(Section, MonitorsKey, entries.join(u','));
    if (hostBleibt)
        return {};
    const QString benutzer = settings.GetSetting(Section, tr064Schluessel(router.host), QString()).trimmed();
    settings.RemoveSetting(Section, tr064Schluessel(router.host));
    return benutzer;
}

QString CallMonitorDevice::geraetename(const Endpunkt &router)
{
    return u"Anrufmonitor "_s + router.text();
}

void CallMonitorDevice::setRetryIntervalMs(int ms)
{
    m_verbindung.setRetryIntervalMs(ms);
}

void CallMonitorDevice::setGraceSeconds(int seconds)
{
    m_verbindung.setGraceSeconds(seconds);
}

QString CallMonitorDevice::name() const
{
    return geraetename({m_host, m_port});
}

QStringList CallMonitorDevice::addresses() const
{
    return {};
}

void CallMonitorDevice::openLine()
{
    m_verbindung.oeffnen();
}

void CallMonitorDevice::closeLine()
{
    m_verbindung.schliessen();
    dropSocket();
}

bool CallMonitorDevice::isOpen() const
{
    return m_verbindung.offen();
}

void CallMonitorDevice::setKennwoerter(Kennwortspeicher *kennwoerter, Dialogs *dialogs)
{
    m_kennwoerter = kennwoerter;
    m_dialogs = dialogs;
}

QString CallMonitorDevice::tr064Benutzer() const
{
    return m_settings.GetSetting(Section, tr064Schluessel(m_host), QString()).trimmed();
}

void CallMonitorDevice::saveTr064(const QString &benutzer, const std::optional<QString> &kennwort)
{
    m_settings.SaveSetting(Section, tr064Schluessel(m_host), benutzer.trimmed());
    if (kennwort && m_kennwoerter)
        m_kennwoerter->schreibe(konto(m_host, benutzer.trimmed()), *kennwort);
}

QString CallMonitorDevice::konto(const QString &host, const QString &benutzer)
{
    return u"Router %1 %2"_s.arg(host, benutzer);
}

// The call monitor reports the call that follows (CALL, CONNECT, ...); here
// only the request and its refusal are ours to tell.
void CallMonitorDevice::dial(const QString &number, int)
{
    const QString benutzer = tr064Benutzer();
    if (benutzer.isEmpty() || !m_kennwoerter) {
        emit OnError(u"Über den Anrufmonitor kann nicht gewählt werden."_s, name(), 0);
        return;
    }
    const QString konto = CallMonitorDevice::konto(m_host, benutzer);
    std::optional<QString> kennwort = m_kennwoerter->lies(konto);
    m_tr064Gefragt = false;
    if (!kennwort && m_dialogs) {
        const QPointer<CallMonitorDevice> alive(this);
        kennwort = m_dialogs->PasswordBox(
            u"Kennwort des Benutzers „%1“ am Router %2 zum Wählen:"_s.arg(benutzer, m_host), u"Rufmon"_s);
        if (!alive)
            return;
        m_tr064Gefragt = kennwort.has_value();
    }
    if (!kennwort) {
        emit OnError(u"Zum Wählen über den Router %1 fehlt das Kennwort."_s.arg(m_host), name(), 0);
        return;
    }
    if (!m_tr064) {
        m_tr064 = new Tr064Waehlen(this);
        connect(m_tr064, &Tr064Waehlen::gewaehlt, this, [this] {
            // What the user typed worked: kept (in the keyring if there is one).
            if (m_tr064Gefragt && m_kennwoerter)
                m_kennwoerter->schreibe(CallMonitorDevice::konto(m_host, tr064Benutzer()), m_tr064Kennwort);
            m_tr064Kennwort.clear();
            emit Diagnose(u"Der Router %1 wählt: erst das eigene Telefon, dann die Nummer"_s.arg(m_host));
        });
        connect(m_tr064, &Tr064Waehlen::abgelehnt, this, &CallMonitorDevice::tr064Abgelehnt);
        connect(m_tr064, &Tr064Waehlen::fehler, this, [this](const QString &grund) {
            m_tr064Kennwort.clear();
            emit OnError(u"Der Router %1 wählt nicht: %2."_s.arg(m_host, grund), name(), 0);
        });
    }
    m_tr064Kennwort = m_tr064Gefragt ? *kennwort : QString();
    qCDebug(lcLeitung).noquote() << name() << u"wählt über TR-064 als"_s << benutzer << u"Kennwort ***"_s;
    m_tr064->waehle(m_host, m_tr064Port, benutzer, *kennwort, number);
}

void CallMonitorDevice::tr064Abgelehnt()
{
    m_tr064Kennwort.clear();
    emit OnError(u"Der Router %1 hat die Anmeldung als „%2“ abgelehnt. Bitte prüfen Sie Benutzer und Kennwort in "
                 u"den Einstellungen des Anrufmonitors."_s.arg(m_host, tr064Benutzer()),
                 name(), 0);
}

LineDevice::Faehigkeiten CallMonitorDevice::faehigkeiten() const
{
    Faehigkeiten f;
    f.providerInfo = u"Anrufmonitor (TCP)"_s;
    f.switchInfo = endpoint();
    f.mediaModes = u"<INTERACTIVEVOICE>"_s;
    f.addressModes = u"<ADDRESSID>"_s;
    f.callStates = u"<OFFERING><DIALTONE><PROCEEDING><CONNECTED><DISCONNECTED><IDLE>"_s;
    f.callInfoStates = u"<CALLERID><CALLEDID><CONNECTEDID>"_s;
    // The call monitor only watches; numbers are dialled through the router
    // once a user for that is set up.
    if (!tr064Benutzer().isEmpty())
        f.callFeatures = u"<DIAL>"_s;
    return f;
}

void CallMonitorDevice::saveEndpoint(const QString &host, quint16 port)
{
    // Only this device's entry changes; the others stay as the user wrote them.
    const QString text = m_settings.GetSetting(Section, MonitorsKey, QString());
    QStringList entries;
    bool replaced = false;
    for (const QStringView part : QStringView(text).split(u',')) {
        const QStringView entry = part.trimmed();
        if (entry.isEmpty())
            continue;
        const auto monitor = Endpunkt::lies(entry, DefaultPort);
        const bool mine = monitor && monitor->port == m_port
                          && monitor->host.compare(m_host, Qt::CaseInsensitive) == 0;
        if (mine && !replaced) {
            entries.append(Endpunkt{host, port}.text());
            replaced = true;
        } else {
            entries.append(entry.toString());
        }
    }
    if (!replaced)
        entries.append(Endpunkt{host, port}.text());
    m_settings.SaveSetting(Section, MonitorsKey, entries.join(u','));
    m_host = host;
    m_port = port;
}

QString CallMonitorDevice::endpoint() const
{
    return Endpunkt{m_host, m_port}.text();
}

void CallMonitorDevice::startConnecting()
{
    dropSocket();
    m_connectTimer.start(ConnectTimeoutMs);
    m_verbindung.verbinden(m_host, m_port);
}

void CallMonitorDevice::dropSocket()
{
    m_connectTimer.stop();
    m_stream.leeren();
    m_verbindung.trennen();
}

void CallMonitorDevice::onConnected()
{
    m_connectTimer.stop();
    schalteKeepAliveEin();
    if (m_verbindung.verbunden()) {
        qCInfo(lcLeitung).noquote() << u"Anrufmonitor %1: Verbindung wiederhergestellt"_s.arg(endpoint());
        emit Diagnose(u"Verbindung zum Anrufmonitor %1 wiederhergestellt"_s.arg(endpoint()));
    }
}

void CallMonitorDevice::schalteKeepAliveEin()
{
    // A router that loses power sends nothing: without probes of our own the
    // connection looks alive for the system's two hours. Probes after 20 s of
    // silence, every 10 s, three unanswered: a dead router is noticed within a
    // minute and handled like a dropped connection.
    QTcpSocket *socket = m_verbindung.socket();
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const qintptr fd = socket->socketDescriptor();
    if (fd < 0)
        return;
    const int ruhe = KeepAliveIdleSeconds, abstand = KeepAliveIntervalSeconds, versuche = KeepAliveProbes;
    ::setsockopt(static_cast<int>(fd), IPPROTO_TCP, TCP_KEEPIDLE, &ruhe, sizeof ruhe);
    ::setsockopt(static_cast<int>(fd), IPPROTO_TCP, TCP_KEEPINTVL, &abstand, sizeof abstand);
    ::setsockopt(static_cast<int>(fd), IPPROTO_TCP, TCP_KEEPCNT, &versuche, sizeof versuche);
    // Data the router does not acknowledge counts the same way.
    const unsigned int unbestaetigt = (ruhe + abstand * versuche) * 1000;
    ::setsockopt(static_cast<int>(fd), IPPROTO_TCP, TCP_USER_TIMEOUT, &unbestaetigt, sizeof unbestaetigt);
}

void CallMonitorDevice::onSocketEnded(const QString &reason)
{
    dropSocket();
    switch (m_verbindung.beendet(reason)) {
    case Wiederverbindung::Folge::Keine:
        return;
    case Wiederverbindung::Folge::ErsterFehlschlag:
        qCWarning(lcLeitung).noquote() << u"Anrufmonitor %1: keine Verbindung (%2), neuer Versuch läuft"_s.arg(
            endpoint(), reason);
        emit Diagnose(u"Keine Verbindung zum Anrufmonitor %1 (%2), neuer Versuch läuft"_s.arg(endpoint(), reason));
        return;
    case Wiederverbindung::Folge::Unterbrochen:
        qCWarning(lcLeitung).noquote() << u"Anrufmonitor %1: Verbindung unterbrochen (%2), neuer Versuch läuft"_s.arg(
            endpoint(), reason);
        emit Diagnose(u"Verbindung zum Anrufmonitor %1 unterbrochen (%2), neuer Versuch läuft"_s.arg(endpoint(),
                                                                                                  reason));
        return;
    }
}

void CallMonitorDevice::onAufgegeben(bool beimOeffnen)
{
    closeLine();
    if (beimOeffnen) {
        qCWarning(lcLeitung).noquote()
            << u"Anrufmonitor %1: keine Verbindung: %2"_s.arg(endpoint(), m_verbindung.ersterGrund());
        emit OnError(u"Verbindung zum Anrufmonitor %1 nicht möglich: %2."_s.arg(endpoint(), m_verbindung.ersterGrund()),
                     name(), LineDropped);
        return;
    }
    emit OnError(u"Verbindung zum Anrufmonitor %1 verloren: seit %2 s nicht wieder erreichbar."_s.arg(endpoint())
                     .arg(m_verbindung.graceSeconds()),
                 name(), LineDropped);
}

// Splits the stream into lines, holding at most one unfinished line; false
// when a slot closed the line or deleted the device meanwhile.
bool CallMonitorDevice::consume(QByteArrayView data)
{
    const QPointer<CallMonitorDevice> alive(this);
    const quint64 generation = m_verbindung.generation();
    const auto stillReading = [&] { return alive && m_verbindung.generation() == generation; };
    const auto tooLong = [this] {
        return u"Anrufmonitor %1: Zeile länger als %2 Bytes übersprungen"_s.arg(endpoint()).arg(MaxLineBytes);
    };

    while (const std::optional<CallMonitorStream::Stueck> stueck = m_stream.weiter(data)) {
        if (stueck->zuLang) {
            qCWarning(lcLeitung).noquote() << tooLong();
            emit Diagnose(tooLong());
        } else {
            handleLine(stueck->zeile);
        }
        if (!stillReading())
            return false;
    }
    return true;
}

void CallMonitorDevice::handleLine(QByteArrayView line)
{
    // Blank lines carry nothing; some peers send them to keep the connection up.
    if (line.isEmpty())
        return;
    QString problem;
    const std::optional<CallMonitorLine> parsed = CallMonitorLine::parse(line, &problem);
    if (!parsed) {
        // The line may carry numbers: its content only at debug level.
        qCWarning(lcLeitung).noquote() << u"Anrufmonitor %1: Zeile übersprungen"_s.arg(endpoint());
        qCDebug(lcLeitung).noquote() << problem;
        emit Diagnose(u"Anrufmonitor %1: Zeile übersprungen, %2"_s.arg(endpoint(), problem));
        return;
    }
    raiseEvents(*parsed);
}

// How the router's reports become the control's events; the call handle is
// the router's connection id + 1 (a handle is never 0), the call id is the
// connection id itself:
//   RING        a call comes in; the own number that was called, first (the
//               identification of the caller keeps it with the call); the
//               caller (withheld when the line shows none)
//   CALL        an own call starts; the number dialled; it goes out
//   CONNECT     answered; the connected party
//   DISCONNECT  hung up
// One report's events go out together, even if a slot closes the line.
void CallMonitorDevice::raiseEvents(const CallMonitorLine &line)
{
    const Anrufkennung anruf{line.connectionId(), line.connectionId() + 1};
    switch (line.kind()) {
    case CallMonitorLine::Kind::Ring: {
        const QString caller = line.party();
        emit AnrufKommt(anruf);
        emit AngerufeneNummer(anruf, line.ownNumber());
        emit AnruferBekannt(anruf, caller, QString(),
                            caller.isEmpty() ? Rufnummernanzeige::Unterdrueckt : Rufnummernanzeige::Nummer);
        break;
    }
    case CallMonitorLine::Kind::Call:
        emit Waehlt(anruf, false);
        emit AngerufeneNummer(anruf, line.party());
        emit Rufaufbau(anruf);
        break;
    case CallMonitorLine::Kind::Connect:
        emit Abgenommen(anruf);
        emit VerbundenMit(anruf, line.party());
        break;
    case CallMonitorLine::Kind::Disconnect:
        emit Beendet(anruf, Anrufende::Aufgelegt);
        break;
    }
}

QString CallMonitorDevice::normalizedHost(QStringView text)
{
    return Endpunkt::hostname(text);
}

std::vector<std::unique_ptr<LineDevice>> CallMonitorDevice::ausEinstellungen(const Geraeteumgebung &umgebung)
{
    std::vector<std::unique_ptr<LineDevice>> devices;
    for (const auto &[host, port] : configured(umgebung.settings)) {
        auto monitor = std::make_unique<CallMonitorDevice>(host, port, umgebung.settings);
        monitor->setKennwoerter(&umgebung.kennwoerter, umgebung.dialogs);
        devices.push_back(std::move(monitor));
    }
    return devices;
}
