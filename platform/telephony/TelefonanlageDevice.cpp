#include "platform/telephony/TelefonanlageDevice.h"

#include "platform/dialogs/Dialogs.h"
#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/DiagnoseLeitung.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QPointer>
#include <QTcpSocket>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Section = u"Telefonie"_s;
const QString GraceKey = u"Wiederverbinden"_s;

QString schluessel(int nummer, const QString &name)
{
    return u"Telefonanlage%1/%2"_s.arg(nummer).arg(name);
}

// How the line shows a caller's number, from what a PBX reports for it.
Rufnummernanzeige anzeige(const QString &nummer)
{
    const QString n = nummer.trimmed().toLower();
    if (n.isEmpty() || n == u"<unknown>" || n == u"unknown" || n == u"<unavail>" || n == u"unavailable")
        return Rufnummernanzeige::NichtVerfuegbar;
    if (n == u"anonymous" || n == u"restricted" || n == u"private" || n == u"withheld" || n == u"<blocked>")
        return Rufnummernanzeige::Unterdrueckt;
    return Rufnummernanzeige::Nummer;
}

// Only what a PBX's dial plan takes as an extension to call.
QString waehlbar(const QString &nummer)
{
    QString ziffern;
    for (const QChar c : nummer) {
        if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'+')
            ziffern.append(c);
    }
    return ziffern;
}

// The channel's state from the name or, failing that, the number Asterisk gives.
bool zustand(const AmiNachricht &n, QStringView name, int nummer)
{
    const QString desc = n.wert(u"ChannelStateDesc");
    return desc.isEmpty() ? n.wert(u"ChannelState") == QString::number(nummer)
                          : desc.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

QList<TelefonanlageDevice::Anlage> TelefonanlageDevice::configured(const SettingsStore &settings)
{
    QList<Anlage> anlagen;
    for (int nummer = 1; nummer <= MaxAnlagen; ++nummer) {
        const auto wert = [&](const QString &name) {
            return settings.GetSetting(Section, schluessel(nummer, name), QString()).trimmed();
        };
        const auto adresse = Endpunkt::lies(wert(u"Adresse"_s), DefaultPort);
        if (!adresse)
            continue;
        const bool doppelt = std::any_of(anlagen.cbegin(), anlagen.cend(),
                                         [&](const Anlage &a) { return a.adresse == *adresse; });
        if (!doppelt)
            anlagen.append({nummer, *adresse, wert(u"Benutzer"_s), wert(u"Nebenstelle"_s), wert(u"Kontext"_s)});
    }
    return anlagen;
}

void TelefonanlageDevice::schreibe(SettingsStore &settings, const Anlage &anlage)
{
    const auto schreibe = [&](const QString &name, const QString &wert) {
        settings.SaveSetting(Section, schluessel(anlage.nummer, name), wert);
    };
    schreibe(u"Adresse"_s, anlage.adresse.text());
    schreibe(u"Benutzer"_s, anlage.benutzer);
    schreibe(u"Nebenstelle"_s, anlage.nebenstelle);
    schreibe(u"Kontext"_s, anlage.kontext);
}

void TelefonanlageDevice::entferne(SettingsStore &settings, int nummer)
{
    for (const QString &name : {u"Adresse"_s, u"Benutzer"_s, u"Nebenstelle"_s, u"Kontext"_s})
        settings.RemoveSetting(Section, schluessel(nummer, name));
}

int TelefonanlageDevice::freieNummer(const SettingsStore &settings)
{
    for (int nummer = 1; nummer <= MaxAnlagen; ++nummer) {
        if (settings.GetSetting(Section, schluessel(nummer, u"Adresse"_s), QString()).trimmed().isEmpty())
            return nummer;
    }
    return 0;
}

QString TelefonanlageDevice::geraetename(const Endpunkt &adresse)
{
    return u"Telefonanlage "_s + adresse.text();
}

TelefonanlageDevice::TelefonanlageDevice(const Anlage &anlage, SettingsStore &settings, Kennwortspeicher &kennwoerter,
                                         Dialogs *dialogs, QObject *parent)
    : LineDevice(parent)
    , m_anlage(anlage)
    , m_settings(settings)
    , m_kennwoerter(kennwoerter)
    , m_dialogs(dialogs)
{
    bool ok = false;
    const int grace = settings.GetSetting(Section, GraceKey, QString()).trimmed().toInt(&ok);
    setGraceSeconds(ok && grace >= 0 ? grace : Wiederverbindung::DefaultGraceSeconds);

    m_connectTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        onSocketEnded(u"keine Anmeldung innerhalb von %1 s"_s.arg(ConnectTimeoutMs / 1000));
    });
    m_begruessungTimer.setSingleShot(true);
    connect(&m_begruessungTimer, &QTimer::timeout, this, &TelefonanlageDevice::ohneBegruessung);
    connect(&m_verbindung, &Wiederverbindung::tcpVerbunden, this, [this] {
        if (m_anmeldung == Anmeldung::Begruessung)
            m_begruessungTimer.start(m_greetingTimeoutMs);
    });
    connect(&m_verbindung, &Wiederverbindung::versuchen, this, &TelefonanlageDevice::startConnecting);
    connect(&m_verbindung, &Wiederverbindung::aufgegeben, this, &TelefonanlageDevice::onAufgegeben);
    connect(&m_verbindung, &Wiederverbindung::gelesen, this, &TelefonanlageDevice::consume);
    connect(&m_verbindung, &Wiederverbindung::abgebrochen, this, &TelefonanlageDevice::onSocketEnded);
    connect(&m_verbindung, &Wiederverbindung::zustand, this, &TelefonanlageDevice::setVerbindung);
    connect(&m_pingTimer, &QTimer::timeout, this, &TelefonanlageDevice::onPing);
}

TelefonanlageDevice::~TelefonanlageDevice()
{
    m_verbindung.schliessen();
    dropSocket();
}

QString TelefonanlageDevice::konto(const Anlage &anlage)
{
    return u"Telefonanlage %1 %2"_s.arg(anlage.adresse.text(), anlage.benutzer);
}

void TelefonanlageDevice::saveSettings(const Anlage &anlage, const std::optional<QString> &kennwort)
{
    m_anlage = anlage;
    m_anlage.nummer = std::clamp(anlage.nummer, 1, MaxAnlagen);
    schreibe(m_settings, m_anlage);
    if (kennwort)
        m_kennwoerter.schreibe(konto(m_anlage), *kennwort);
}

void TelefonanlageDevice::setRetryIntervalMs(int ms)
{
    m_verbindung.setRetryIntervalMs(ms);
}

void TelefonanlageDevice::setGraceSeconds(int seconds)
{
    m_verbindung.setGraceSeconds(seconds);
}

void TelefonanlageDevice::setPingIntervalMs(int ms)
{
    m_pingIntervalMs = std::max(ms, 10);
}

void TelefonanlageDevice::setGreetingTimeoutMs(int ms)
{
    m_greetingTimeoutMs = std::max(ms, 0);
}

QString TelefonanlageDevice::name() const
{
    return geraetename(m_anlage.adresse);
}

QStringList TelefonanlageDevice::addresses() const
{
    return m_anlage.nebenstelle.isEmpty() ? QStringList() : QStringList{m_anlage.nebenstelle};
}

void TelefonanlageDevice::openLine()
{
    if (m_verbindung.offen())
        return;
    // Without a stored password an empty one is tried; the user is asked
    // only when the system refuses it.
    m_kennwort = m_kennwoerter.lies(konto(m_anlage)).value_or(QString());
    m_gefragt = false;
    m_verbindung.oeffnen();
}

void TelefonanlageDevice::closeLine()
{
    m_verbindung.schliessen();
    dropSocket();
    m_kennwort.clear();
    m_anrufe.clear();
    m_ausgehend.aktiv = false;
}

bool TelefonanlageDevice::isOpen() const
{
    return m_verbindung.offen();
}

void TelefonanlageDevice::startConnecting()
{
    dropSocket();
    m_connectTimer.start(ConnectTimeoutMs);
    m_verbindung.verbinden(m_anlage.adresse.host, m_anlage.adresse.port);
}

void TelefonanlageDevice::dropSocket()
{
    m_connectTimer.stop();
    m_begruessungTimer.stop();
    m_pingTimer.stop();
    m_strom.leeren();
    m_anmeldung = Anmeldung::Begruessung;
    m_ohneMd5 = false;
    m_pingsOffen = 0;
    m_verbindung.trennen();
}

void TelefonanlageDevice::onSocketEnded(const QString &reason)
{
    dropSocket();
    // Calls the system was reporting end with the connection: nothing more will come for them.
    alleBeenden();
    switch (m_verbindung.beendet(reason)) {
    case Wiederverbindung::Folge::Keine:
        return;
    case Wiederverbindung::Folge::ErsterFehlschlag:
        qCWarning(lcLeitung).noquote() << u"%1: keine Verbindung (%2), neuer Versuch läuft"_s.arg(name(), reason);
        emit Diagnose(u"Keine Verbindung zur %1 (%2), neuer Versuch läuft"_s.arg(name(), reason));
        return;
    case Wiederverbindung::Folge::Unterbrochen:
        qCWarning(lcLeitung).noquote() << u"%1: Verbindung unterbrochen (%2), neuer Versuch läuft"_s.arg(name(), reason);
        emit Diagnose(u"Verbindung zur %1 unterbrochen (%2), neuer Versuch läuft"_s.arg(name(), reason));
        return;
    }
}

void TelefonanlageDevice::onAufgegeben(bool beimOeffnen)
{
    if (beimOeffnen)
        aufgeben(u"Verbindung zur %1 nicht möglich: %2."_s.arg(name(), m_verbindung.ersterGrund()));
    else
        aufgeben(u"Verbindung zur %1 verloren: seit %2 s nicht wieder erreichbar."_s.arg(name()).arg(
            m_verbindung.graceSeconds()));
}

void TelefonanlageDevice::aufgeben(const QString &text)
{
    closeLine();
    qCWarning(lcLeitung).noquote() << text;
    emit OnError(text, name(), LineDropped);
}

void TelefonanlageDevice::onPing()
{
    // Silence after two Pings: the system or the way to it is gone, even if
    // TCP has not noticed yet.
    if (m_pingsOffen >= 2) {
        onSocketEnded(u"keine Antwort auf Ping"_s);
        return;
    }
    ++m_pingsOffen;
    sende({{u"Action"_s, u"Ping"_s}, {u"ActionID"_s, neueActionId()}});
}

bool TelefonanlageDevice::consume(QByteArrayView data)
{
    const QPointer<TelefonanlageDevice> alive(this);
    const quint64 generation = m_verbindung.generation();
    m_pingsOffen = 0;
    while (const std::optional<AmiStrom::Stueck> stueck = m_strom.weiter(data)) {
        switch (stueck->art) {
        case AmiStrom::Art::ZuGross: {
            const QString text = u"%1: Meldung länger als %2 Bytes übersprungen"_s.arg(name()).arg(AmiStrom::Hoechstens);
            qCWarning(lcLeitung).noquote() << text;
            emit Diagnose(text);
            break;
        }
        case AmiStrom::Art::Begruessung:
            if (m_anmeldung == Anmeldung::Begruessung)
                challenge();
            break;
        case AmiStrom::Art::Nachricht:
            handle(AmiNachricht::lies(stueck->text));
            break;
        }
        if (!alive || m_verbindung.generation() != generation)
            return false;
    }
    return true;
}

// Silence after connecting: the other side may wait for the login before
// it greets. The login starts all the same, with the challenge as ever.
void TelefonanlageDevice::ohneBegruessung()
{
    if (m_anmeldung != Anmeldung::Begruessung || !m_verbindung.socket())
        return;
    qCInfo(lcLeitung).noquote() << u"%1: keine Begrüßung nach %2 ms, Anmeldung dennoch"_s.arg(name()).arg(
        m_greetingTimeoutMs);
    emit Diagnose(u"Keine Begrüßung von der %1, Anmeldung dennoch"_s.arg(name()));
    m_strom.ohneBegruessung();
    challenge();
}

// MD5 first: the password then never crosses the network.
void TelefonanlageDevice::challenge()
{
    m_begruessungTimer.stop();
    m_anmeldung = Anmeldung::Challenge;
    m_challengeId = neueActionId();
    sende({{u"Action"_s, u"Challenge"_s}, {u"ActionID"_s, m_challengeId}, {u"AuthType"_s, u"MD5"_s}});
}

void TelefonanlageDevice::handle(const AmiNachricht &nachricht)
{
    if (nachricht.istAntwort())
        antwort(nachricht);
    else if (m_anmeldung == Anmeldung::Angemeldet && nachricht.hat(u"Event"))
        ereignis(nachricht);
}

QString TelefonanlageDevice::neueActionId()
{
    return u"rufmon-%1"_s.arg(++m_naechsteAktion);
}

void TelefonanlageDevice::sende(const QList<QPair<QString, QString>> &felder)
{
    QTcpSocket *socket = m_verbindung.socket();
    if (!socket)
        return;
    // The log never sees a password or what could be turned back into one.
    QStringList protokoll;
    for (const auto &[name, wert] : felder) {
        const bool geheim = name == u"Secret" || name == u"Key";
        protokoll << name + u": "_s + (geheim ? u"***"_s : wert);
    }
    qCDebug(lcLeitung).noquote() << name() << u"sendet"_s << protokoll.join(u", ");
    socket->write(AmiNachricht::aktion(felder));
}

// The password leaves only as the MD5 key made with the system's challenge.
void TelefonanlageDevice::login(const QString &challenge)
{
    const QByteArray key = QCryptographicHash::hash((challenge + m_kennwort).toUtf8(), QCryptographicHash::Md5);
    sendeLogin({{u"AuthType"_s, u"MD5"_s}, {u"Key"_s, QString::fromLatin1(key.toHex())}});
}

// Only for a user without a password: the secret sent is empty, whatever is known.
void TelefonanlageDevice::loginOhneKennwort()
{
    sendeLogin({{u"Secret"_s, QString()}});
}

void TelefonanlageDevice::sendeLogin(const QList<QPair<QString, QString>> &nachweis)
{
    m_anmeldung = Anmeldung::Login;
    m_loginId = neueActionId();
    QList<QPair<QString, QString>> felder{{u"Action"_s, u"Login"_s}, {u"ActionID"_s, m_loginId},
                                          {u"Username"_s, m_anlage.benutzer}};
    felder << nachweis;
    // Call events only: no registrations, no system or queue chatter.
    felder << qMakePair(u"Events"_s, u"call"_s);
    emit Diagnose(u"Anmeldung an der %1 als „%2“, Kennwort ***"_s.arg(name(), m_anlage.benutzer));
    sende(felder);
}

// A system (or whatever answers at its address) that gives no challenge
// would take the password only in the clear: it does not get it. Where there
// is no password, nothing secret is sent, and the plain login is tried.
void TelefonanlageDevice::ohneChallenge()
{
    m_ohneMd5 = true;
    if (m_kennwort.isEmpty())
        loginOhneKennwort();
    else
        keineSichereAnmeldung();
}

void TelefonanlageDevice::keineSichereAnmeldung()
{
    aufgeben(u"Die %1 lehnt die sichere Anmeldung ab"_s.arg(name()));
}

void TelefonanlageDevice::antwort(const AmiNachricht &n)
{
    const QString id = n.wert(u"ActionID");
    const bool erfolg = n.wert(u"Response").compare(u"Success", Qt::CaseInsensitive) == 0;
    if (m_anmeldung == Anmeldung::Challenge && id == m_challengeId) {
        const QString challenge = n.wert(u"Challenge");
        if (erfolg && !challenge.isEmpty())
            login(challenge);
        else
            ohneChallenge();
    } else if (m_anmeldung == Anmeldung::Login && id == m_loginId) {
        if (erfolg)
            angemeldet();
        else
            abgelehnt(n.wert(u"Message"));
    } else if (m_ausgehend.aktiv && id == m_ausgehend.actionId && !n.hat(u"Event")) {
        if (erfolg) {
            emit Rufaufbau({m_ausgehend.id, m_ausgehend.id});
        } else {
            const QString grund = n.wert(u"Message");
            ausgehendEnde(false);
            emit OnError(u"Die %1 wählt nicht: %2."_s.arg(name(), grund.isEmpty() ? u"abgelehnt"_s : grund), name(), 0);
        }
    }
}

void TelefonanlageDevice::angemeldet()
{
    m_connectTimer.stop();
    m_anmeldung = Anmeldung::Angemeldet;
    m_pingTimer.start(m_pingIntervalMs);
    if (m_gefragt)
        m_kennwoerter.schreibe(konto(m_anlage), m_kennwort);
    if (m_verbindung.verbunden()) {
        qCInfo(lcLeitung).noquote() << u"%1: Verbindung wiederhergestellt"_s.arg(name());
        emit Diagnose(u"Verbindung zur %1 wiederhergestellt"_s.arg(name()));
    } else {
        emit Diagnose(u"An der %1 angemeldet"_s.arg(name()));
    }
}

// The system closes the connection after a refused login. Once per opening
// the user is asked for the password; a second refusal ends the attempt, so
// that a wrong password is not tried again and again.
void TelefonanlageDevice::abgelehnt(const QString &meldung)
{
    // Refused after the system gave no challenge: a password typed now could
    // not be sent either, so the user is not asked for one.
    const bool ohneMd5 = m_ohneMd5;
    dropSocket();
    qCWarning(lcLeitung).noquote() << u"%1: Anmeldung abgelehnt (%2)"_s.arg(name(), meldung);
    if (ohneMd5) {
        keineSichereAnmeldung();
        return;
    }
    if (!m_gefragt && m_dialogs) {
        m_gefragt = true;
        const QPointer<TelefonanlageDevice> alive(this);
        const std::optional<QString> kennwort = m_dialogs->PasswordBox(
            u"Die %1 hat die Anmeldung als „%2“ abgelehnt.\r\nBitte geben Sie das Kennwort ein:"_s.arg(
                name(), m_anlage.benutzer),
            u"Rufmon"_s);
        if (!alive || !m_verbindung.offen())
            return;
        if (kennwort) {
            m_kennwort = *kennwort;
            startConnecting();
            return;
        }
    }
    aufgeben(u"Die %1 hat die Anmeldung als „%2“ abgelehnt. Bitte prüfen Sie Benutzer und Kennwort in den "
             u"Einstellungen der Telefonanlage."_s.arg(name(), m_anlage.benutzer));
}

bool TelefonanlageDevice::meinKanal(const QString &kanal) const
{
    // "PJSIP/201-0000002a" is a call of the phone "PJSIP/201"; "PJSIP/2010-…" is not.
    const QString &eigene = m_anlage.nebenstelle;
    if (eigene.isEmpty() || !kanal.startsWith(eigene, Qt::CaseInsensitive))
        return false;
    return kanal.size() == eigene.size() || kanal[eigene.size()] == u'-';
}

// How the system's events become the control's events. Only channels of the
// user's extension count; every call of that phone is known by the Uniqueid
// of its channel:
//   DialBegin to it, or its channel    a call comes in; the number it is for
//   going to Ringing                   (the number dialled: the calling
//                                      channel's Exten, else the extension);
//                                      the caller; the first ring
//   its channel going Up               answered
//   Hangup of its channel              hung up
// The caller is the calling channel's CallerIDNum in a DialBegin; a Newstate
// of the ringing channel names the caller as its connected line.
void TelefonanlageDevice::ereignis(const AmiNachricht &n)
{
    if (n.istEreignis(u"DialBegin")) {
        // An Originate has no calling channel: that is our own dialing.
        const QString kanal = n.wert(u"DestUniqueid");
        if (meinKanal(n.wert(u"DestChannel")) && n.hat(u"Channel") && kanal != m_ausgehend.kanal)
            klingelt(kanal, n.wert(u"CallerIDNum"), n.wert(u"CallerIDName"), angerufen(n.wert(u"Exten")));
    } else if (n.istEreignis(u"Newstate")) {
        const QString kanal = n.wert(u"Uniqueid");
        if (!meinKanal(n.wert(u"Channel")) || kanal == m_ausgehend.kanal)
            return;
        if (zustand(n, u"Ringing", 5))
            klingelt(kanal, n.wert(u"ConnectedLineNum"), n.wert(u"ConnectedLineName"), angerufen(n.wert(u"Exten")));
        else if (zustand(n, u"Up", 6))
            abgenommen(kanal);
    } else if (n.istEreignis(u"Hangup")) {
        const QString kanal = n.wert(u"Uniqueid");
        if (m_ausgehend.aktiv && kanal == m_ausgehend.kanal)
            ausgehendEnde(false);
        else
            aufgelegt(kanal);
    } else if (n.istEreignis(u"OriginateResponse")) {
        if (!m_ausgehend.aktiv || n.wert(u"ActionID") != m_ausgehend.actionId)
            return;
        if (n.wert(u"Response").compare(u"Success", Qt::CaseInsensitive) == 0) {
            // The own phone was picked up; the system now calls the number.
            emit Abgenommen({m_ausgehend.id, m_ausgehend.id});
            return;
        }
        // Reason is the last state of the own phone: 5 busy, 0 not reachable.
        const QString reason = n.wert(u"Reason");
        ausgehendEnde(reason == u"5");
        if (reason == u"0")
            emit OnError(u"Die %1 konnte die Nebenstelle %2 nicht anrufen."_s.arg(name(), m_anlage.nebenstelle),
                         name(), 0);
    }
}

QString TelefonanlageDevice::angerufen(const QString &gewaehlt) const
{
    // "s" is the dialplan's start, no number anybody dialled.
    const QString nummer = gewaehlt.trimmed();
    if (!nummer.isEmpty() && nummer != u"s" && anzeige(nummer) == Rufnummernanzeige::Nummer)
        return nummer;
    const QString &eigene = m_anlage.nebenstelle;
    return eigene.mid(eigene.lastIndexOf(u'/') + 1);
}

void TelefonanlageDevice::klingelt(const QString &uniqueId, const QString &nummer, const QString &name,
                                   const QString &angerufen)
{
    if (uniqueId.isEmpty() || m_anrufe.contains(uniqueId))
        return;
    const std::int32_t id = ++m_letzterAnruf;
    m_anrufe.insert(uniqueId, Anruf{id, false});
    const Rufnummernanzeige gezeigt = anzeige(nummer);
    const QString anrufer = name.compare(u"<unknown>", Qt::CaseInsensitive) == 0 ? QString() : name;
    qCDebug(lcLeitung).noquote() << this->name() << u"Anruf von"_s << nummer;
    const Anrufkennung anruf{id, id};
    emit AnrufKommt(anruf);
    emit AngerufeneNummer(anruf, angerufen);
    emit AnruferBekannt(anruf, gezeigt == Rufnummernanzeige::Nummer ? nummer.trimmed() : QString(), anrufer, gezeigt);
    emit Klingelt(1);
}

void TelefonanlageDevice::abgenommen(const QString &uniqueId)
{
    const auto it = m_anrufe.find(uniqueId);
    if (it == m_anrufe.end() || it->verbunden)
        return;
    it->verbunden = true;
    const std::int32_t id = it->id;
    emit Abgenommen({id, id});
}

void TelefonanlageDevice::aufgelegt(const QString &uniqueId)
{
    const auto it = m_anrufe.constFind(uniqueId);
    if (it == m_anrufe.cend())
        return;
    const std::int32_t id = it->id;
    m_anrufe.erase(it);
    emit Beendet({id, id}, Anrufende::Aufgelegt);
}

void TelefonanlageDevice::alleBeenden()
{
    const QStringList offen = m_anrufe.keys();
    for (const QString &kanal : offen)
        aufgelegt(kanal);
    if (m_ausgehend.aktiv)
        ausgehendEnde(false);
}

void TelefonanlageDevice::ausgehendEnde(bool besetzt)
{
    if (!m_ausgehend.aktiv)
        return;
    const std::int32_t id = m_ausgehend.id;
    m_ausgehend.aktiv = false;
    emit Beendet({id, id}, besetzt ? Anrufende::Besetzt : Anrufende::Getrennt);
}

// The system rings the user's phone first; picked up, it calls the number
// in the configured context, as if it had been dialled on the phone.
void TelefonanlageDevice::dial(const QString &number, int)
{
    if (m_anmeldung != Anmeldung::Angemeldet || !m_verbindung.socket()) {
        emit OnError(u"Die %1 kann nicht wählen: Die Leitung ist nicht geöffnet."_s.arg(name()), name(), 0);
        return;
    }
    const QString ziffern = waehlbar(number);
    if (ziffern.isEmpty() || m_anlage.nebenstelle.isEmpty()) {
        emit OnError(ziffern.isEmpty() ? u"Keine wählbare Rufnummer."_s
                                       : u"Für die %1 ist keine Nebenstelle eingerichtet."_s.arg(name()),
                     name(), 0);
        return;
    }
    ausgehendEnde(false);
    const std::int32_t id = ++m_letzterAnruf;
    // The own phone's channel gets a Uniqueid of ours, so that its ringing
    // is not taken for an incoming call.
    m_ausgehend = {id, neueActionId(), u"rufmon-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(id), true};
    emit Waehlt({id, id}, false);
    sende({{u"Action"_s, u"Originate"_s},
           {u"ActionID"_s, m_ausgehend.actionId},
           {u"Channel"_s, m_anlage.nebenstelle},
           {u"Context"_s, m_anlage.kontext},
           {u"Exten"_s, ziffern},
           {u"Priority"_s, u"1"_s},
           {u"ChannelId"_s, m_ausgehend.kanal},
           {u"Async"_s, u"true"_s}});
}

LineDevice::Faehigkeiten TelefonanlageDevice::faehigkeiten() const
{
    Faehigkeiten f;
    f.providerInfo = u"Telefonanlage (Asterisk Manager Interface)"_s;
    f.switchInfo = m_anlage.adresse.text();
    f.mediaModes = u"<INTERACTIVEVOICE>"_s;
    f.addressModes = u"<ADDRESSID>"_s;
    f.busyModes = u"<STATION>"_s;
    f.disconnectModes = u"<NORMAL>"_s;
    f.bearerModes = u"<VOICE>"_s;
    f.callStates = u"<OFFERING><DIALTONE><PROCEEDING><CONNECTED><DISCONNECTED><IDLE>"_s;
    f.callInfoStates = u"<CALLERID>"_s;
    f.callFeatures = u"<DIAL>"_s;
    return f;
}

std::vector<std::unique_ptr<LineDevice>> TelefonanlageDevice::ausEinstellungen(const Geraeteumgebung &umgebung)
{
    std::vector<std::unique_ptr<LineDevice>> devices;
    for (const Anlage &anlage : configured(umgebung.settings))
        devices.push_back(std::make_unique<TelefonanlageDevice>(anlage, umgebung.settings, umgebung.kennwoerter,
                                                                umgebung.dialogs));
    return devices;
}
