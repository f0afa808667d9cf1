#include "platform/telephony/RouterSuche.h"

#include "platform/telephony/DiagnoseLeitung.h"

#include <QNetworkAccessManager>
#include <QNetworkDatagram>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUdpSocket>
#include <QUrl>
#include <QXmlStreamReader>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The TR-064 device of a home router; its call monitor is on the same host.
const QByteArray Geraetetyp = "urn:dslforum-org:device:InternetGatewayDevice:1";

QHostAddress alsIpv4(const QHostAddress &adresse)
{
    bool ok = false;
    const quint32 v4 = adresse.toIPv4Address(&ok);
    return ok ? QHostAddress(v4) : adresse;
}

// The value of a header of the answer (any case); empty when it has none.
QByteArray kopfzeile(const QList<QByteArray> &zeilen, QByteArrayView name)
{
    for (const QByteArray &zeile : zeilen) {
        const qsizetype doppelpunkt = zeile.indexOf(':');
        if (doppelpunkt > 0 && zeile.first(doppelpunkt).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return zeile.sliced(doppelpunkt + 1).trimmed();
    }
    return {};
}

} // namespace

RouterSuche::RouterSuche(QObject *parent)
    : QObject(parent)
    , m_ziel(ssdpGruppe())
{
    m_ende.setSingleShot(true);
    connect(&m_ende, &QTimer::timeout, this, [this] {
        m_wiederholung.stop();
        if (m_socket) {
            m_socket->disconnect(this);
            m_socket->deleteLater();
            m_socket = nullptr;
        }
        vielleichtFertig();
    });
    m_wiederholung.setSingleShot(true);
    connect(&m_wiederholung, &QTimer::timeout, this, &RouterSuche::senden);
}

RouterSuche::~RouterSuche()
{
    abbrechen();
}

QHostAddress RouterSuche::ssdpGruppe()
{
    return QHostAddress(u"239.255.255.250"_s);
}

QByteArray RouterSuche::suchanfrage()
{
    return "M-SEARCH * HTTP/1.1\r\n"
           "HOST: 239.255.255.250:1900\r\n"
           "MAN: \"ssdp:discover\"\r\n"
           "MX: 2\r\n"
           "ST: " + Geraetetyp + "\r\n"
           "\r\n";
}

void RouterSuche::setZiel(const QHostAddress &adresse, quint16 port)
{
    m_ziel = adresse;
    m_port = port;
}

void RouterSuche::abbrechen()
{
    m_ende.stop();
    m_wiederholung.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    for (const QPointer<QNetworkReply> &reply : std::as_const(m_abrufe)) {
        if (reply) {
            reply->disconnect(this);
            reply->abort();
            reply->deleteLater();
        }
    }
    m_abrufe.clear();
    if (m_netz) {
        m_netz->deleteLater();
        m_netz = nullptr;
    }
    m_laeuft = false;
}

void RouterSuche::starten()
{
    abbrechen();
    m_router.clear();
    m_laeuft = true;
    m_netz = new QNetworkAccessManager(this);
    m_socket = new QUdpSocket(this);
    if (!m_socket->bind(QHostAddress::AnyIPv4, 0)) {
        qCWarning(lcLeitung).noquote() << u"Routersuche: kein UDP-Socket: %1"_s.arg(m_socket->errorString());
        m_ende.start(0);
        return;
    }
    // Routers sit on the local network; the search need not go further.
    if (m_ziel.isMulticast())
        m_socket->setSocketOption(QAbstractSocket::MulticastTtlOption, 2);
    connect(m_socket, &QUdpSocket::readyRead, this, &RouterSuche::lesen);
    senden();
    m_wiederholung.start(WiederholungMs);
    m_ende.start(m_suchdauerMs);
}

void RouterSuche::senden()
{
    if (m_socket && m_socket->writeDatagram(suchanfrage(), m_ziel, m_port) < 0)
        qCWarning(lcLeitung).noquote() << u"Routersuche: Anfrage nicht gesendet: %1"_s.arg(m_socket->errorString());
}

void RouterSuche::lesen()
{
    while (m_socket && m_socket->hasPendingDatagrams()) {
        if (m_socket->pendingDatagramSize() > MaxAntwortBytes) {
            m_socket->readDatagram(nullptr, 0);
            qCDebug(lcLeitung) << "Routersuche: überlange Antwort verworfen";
            continue;
        }
        const QNetworkDatagram datagramm = m_socket->receiveDatagram(MaxAntwortBytes);
        if (datagramm.isValid())
            antwort(datagramm.data(), datagramm.senderAddress());
    }
}

void RouterSuche::antwort(const QByteArray &daten, const QHostAddress &absender)
{
    const QList<QByteArray> zeilen = daten.split('\n');
    const QByteArray status = zeilen.value(0).trimmed();
    if (!status.startsWith("HTTP/1.") || status.split(' ').value(1) != "200")
        return;
    const QByteArray st = kopfzeile(zeilen, "ST");
    const bool passt = st.isEmpty() ? kopfzeile(zeilen, "USN").endsWith(Geraetetyp)
                                    : st.compare(Geraetetyp, Qt::CaseInsensitive) == 0;
    const QHostAddress von = alsIpv4(absender);
    if (!passt || von.isNull())
        return;
    const QString adresse = von.toString();
    for (const Router &r : std::as_const(m_router)) {
        if (r.adresse == adresse)
            return;
    }
    if (m_router.size() >= MaxRouter)
        return;
    m_router.append({adresse, QString()});
    emit geaendert();

    // Only the answering host's own description: an answer must not send
    // Rufmon to fetch from elsewhere.
    const QUrl ort(QString::fromLatin1(kopfzeile(zeilen, "LOCATION")), QUrl::StrictMode);
    if (ort.isValid() && ort.scheme() == u"http" && alsIpv4(QHostAddress(ort.host())) == von)
        beschreibungHolen(ort, static_cast<int>(m_router.size() - 1));
}

void RouterSuche::beschreibungHolen(const QUrl &url, int index)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(BeschreibungMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = m_netz->get(request);
    reply->setReadBufferSize(MaxBeschreibungBytes);
    m_abrufe.append(reply);
    // Read as it comes; a description that runs on is cut off.
    auto gelesen = std::make_shared<QByteArray>();
    connect(reply, &QNetworkReply::readyRead, this, [reply, gelesen] {
        *gelesen += reply->read(MaxBeschreibungBytes + 1 - gelesen->size());
        if (gelesen->size() > MaxBeschreibungBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, index, gelesen] {
        reply->deleteLater();
        m_abrufe.removeAll(reply);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (gelesen->size() <= MaxBeschreibungBytes && reply->error() == QNetworkReply::NoError && status == 200) {
            const QString name = geraetename(*gelesen);
            if (!name.isEmpty() && index < m_router.size()) {
                m_router[index].name = name;
                emit geaendert();
            }
        } else {
            qCDebug(lcLeitung).noquote() << u"Routersuche: keine Beschreibung von %1 (%2)"_s.arg(
                m_router.value(index).adresse, reply->errorString());
        }
        vielleichtFertig();
    });
}

void RouterSuche::vielleichtFertig()
{
    if (!m_laeuft || m_socket || !m_abrufe.isEmpty())
        return;
    m_laeuft = false;
    emit beendet();
}

QString RouterSuche::geraetename(const QByteArray &beschreibung)
{
    QXmlStreamReader xml(beschreibung.left(MaxBeschreibungBytes));
    // The first friendlyName is the root device's: the router itself.
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"friendlyName")
            continue;
        QString name = xml.readElementText(QXmlStreamReader::SkipChildElements);
        name.removeIf([](QChar c) { return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format; });
        return name.simplified().left(MaxNamenLaenge);
    }
    return {};
}
