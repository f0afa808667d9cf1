#include "platform/telephony/NebenstellenAbfrage.h"

#include "platform/telephony/AmiNachricht.h"
#include "platform/telephony/DiagnoseLeitung.h"
#include "platform/telephony/Socketfehler.h"

#include <QCryptographicHash>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

NebenstellenAbfrage::NebenstellenAbfrage(QObject *parent)
    : QObject(parent)
{
    m_frist.setSingleShot(true);
    connect(&m_frist, &QTimer::timeout, this, [this] {
        scheitern(u"Die Telefonanlage %1 antwortet nicht innerhalb von %2 s"_s.arg(m_adresse.text()).arg(
            m_warteMs / 1000.0));
    });
    // A gateway that greets only after the login is asked all the same.
    m_begruessung.setSingleShot(true);
    connect(&m_begruessung, &QTimer::timeout, this, [this] {
        if (m_schritt != Schritt::Begruessung)
            return;
        m_strom.ohneBegruessung();
        challenge();
    });
}

NebenstellenAbfrage::~NebenstellenAbfrage()
{
    abbrechen();
}

void NebenstellenAbfrage::abfragen(const Endpunkt &adresse, const QString &benutzer, const QString &kennwort)
{
    abbrechen();
    m_adresse = adresse;
    m_benutzer = benutzer;
    m_kennwort = kennwort;
    m_nebenstellen.clear();
    m_strom.leeren();
    m_schritt = Schritt::Begruessung;
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(AmiStrom::Hoechstens);
    connect(m_socket, &QTcpSocket::connected, this, [this] { m_begruessung.start(m_begruessungMs); });
    connect(m_socket, &QTcpSocket::readyRead, this, &NebenstellenAbfrage::lesen);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError fehler) {
        scheitern(u"Keine Verbindung zur Telefonanlage %1: %2"_s.arg(
            m_adresse.text(), Socketfehler(fehler, m_socket ? m_socket->errorString() : QString())));
    });
    m_frist.start(m_warteMs);
    m_socket->connectToHost(adresse.host, adresse.port);
}

void NebenstellenAbfrage::abbrechen()
{
    m_frist.stop();
    m_begruessung.stop();
    m_kennwort.clear();
    if (QTcpSocket *socket = std::exchange(m_socket, nullptr)) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void NebenstellenAbfrage::lesen()
{
    if (!m_socket)
        return;
    const QByteArray daten = m_socket->readAll();
    QByteArrayView rest(daten);
    // A step may end the query: what is left belongs to nobody.
    while (m_socket) {
        const std::optional<AmiStrom::Stueck> stueck = m_strom.weiter(rest);
        if (!stueck)
            return;
        switch (stueck->art) {
        case AmiStrom::Art::Begruessung:
            if (m_schritt == Schritt::Begruessung)
                challenge();
            break;
        case AmiStrom::Art::Nachricht:
            nachricht(AmiNachricht::lies(stueck->text));
            break;
        case AmiStrom::Art::ZuGross:
            qCWarning(lcLeitung).noquote() << u"Nebenstellen der Telefonanlage %1: überlange Meldung übersprungen"_s.arg(
                m_adresse.text());
            break;
        }
    }
}

void NebenstellenAbfrage::sende(const QList<QPair<QString, QString>> &felder)
{
    m_actionId = u"rufmon-nebenstellen-%1"_s.arg(++m_naechsteAktion);
    QList<QPair<QString, QString>> mitId = felder;
    mitId.insert(1, {u"ActionID"_s, m_actionId});
    m_socket->write(AmiNachricht::aktion(mitId));
}

void NebenstellenAbfrage::challenge()
{
    m_begruessung.stop();
    m_schritt = Schritt::Challenge;
    sende({{u"Action"_s, u"Challenge"_s}, {u"AuthType"_s, u"MD5"_s}});
}

void NebenstellenAbfrage::login(const QList<QPair<QString, QString>> &nachweis)
{
    m_schritt = Schritt::Login;
    QList<QPair<QString, QString>> felder{{u"Action"_s, u"Login"_s}, {u"Username"_s, m_benutzer}};
    felder << nachweis;
    // Only the answers to our own actions, no call events meanwhile.
    felder << qMakePair(u"Events"_s, u"off"_s);
    sende(felder);
}

void NebenstellenAbfrage::pjsip()
{
    m_kennwort.clear();
    m_schritt = Schritt::Pjsip;
    sende({{u"Action"_s, u"PJSIPShowEndpoints"_s}});
}

void NebenstellenAbfrage::sip()
{
    m_schritt = Schritt::Sip;
    sende({{u"Action"_s, u"SIPpeers"_s}});
}

void NebenstellenAbfrage::nachricht(const AmiNachricht &n)
{
    if (n.wert(u"ActionID") != m_actionId)
        return;
    const bool antwort = n.istAntwort();
    const bool erfolg = n.wert(u"Response").compare(u"Success", Qt::CaseInsensitive) == 0;
    switch (m_schritt) {
    case Schritt::Begruessung:
        return;
    case Schritt::Challenge: {
        if (!antwort)
            return;
        const QString challenge = n.wert(u"Challenge");
        if (erfolg && !challenge.isEmpty()) {
            const QByteArray key = QCryptographicHash::hash((challenge + m_kennwort).toUtf8(), QCryptographicHash::Md5);
            login({{u"AuthType"_s, u"MD5"_s}, {u"Key"_s, QString::fromLatin1(key.toHex())}});
        } else if (m_kennwort.isEmpty()) {
            // Without a password nothing secret can leave: the plain login.
            login({{u"Secret"_s, QString()}});
        } else {
            qCWarning(lcLeitung).noquote() << u"Telefonanlage %1 ohne Challenge: Kennwort nicht gesendet"_s.arg(
                m_adresse.text());
            scheitern(u"Die Telefonanlage %1 lehnt die sichere Anmeldung ab"_s.arg(m_adresse.text()));
        }
        return;
    }
    case Schritt::Login:
        if (!antwort)
            return;
        if (erfolg)
            pjsip();
        else
            scheitern(u"Die Telefonanlage %1 hat die Anmeldung als „%2“ abgelehnt"_s.arg(m_adresse.text(), m_benutzer));
        return;
    case Schritt::Pjsip:
        // No PJSIP on this system, or no endpoint: perhaps chan_sip.
        if (antwort && !erfolg)
            sip();
        else if (n.istEreignis(u"EndpointList"))
            nimm(u"PJSIP/"_s + n.wert(u"ObjectName"));
        else if (n.istEreignis(u"EndpointListComplete"))
            m_nebenstellen.isEmpty() ? sip() : fertig();
        return;
    case Schritt::Sip:
        if (antwort && !erfolg) {
            fertig();
        } else if (n.istEreignis(u"PeerEntry")) {
            const QString typ = n.wert(u"Channeltype");
            nimm((typ.isEmpty() ? u"SIP"_s : typ) + u'/' + n.wert(u"ObjectName"));
        } else if (n.istEreignis(u"PeerlistComplete")) {
            fertig();
        }
        return;
    }
}

void NebenstellenAbfrage::nimm(const QString &kanal)
{
    // A channel name the device can match: no blanks, no empty extension.
    if (kanal.endsWith(u'/') || kanal.contains(u' ') || m_nebenstellen.contains(kanal)
        || m_nebenstellen.size() >= MaxNebenstellen)
        return;
    m_nebenstellen.append(kanal);
}

void NebenstellenAbfrage::fertig()
{
    const QStringList nebenstellen = m_nebenstellen;
    if (m_socket) {
        sende({{u"Action"_s, u"Logoff"_s}});
        m_socket->flush();
        // Goes once the Logoff is out.
        QTcpSocket *socket = std::exchange(m_socket, nullptr);
        socket->disconnect(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
    }
    abbrechen();
    emit gelesen(nebenstellen);
}

void NebenstellenAbfrage::scheitern(const QString &grund)
{
    if (!m_socket)
        return;
    abbrechen();
    emit fehler(grund);
}
