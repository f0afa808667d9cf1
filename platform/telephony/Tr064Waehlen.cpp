#include "platform/telephony/Tr064Waehlen.h"

#include <QAuthenticator>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Dienst = "urn:dslforum-org:service:X_VoIP:1";
const QByteArray Aktion = "X_AVM-DE_DialNumber";

} // namespace

Tr064Waehlen::Tr064Waehlen(QObject *parent)
    : QObject(parent)
    , m_netz(new QNetworkAccessManager(this))
{
    connect(m_netz, &QNetworkAccessManager::authenticationRequired, this,
            [this](QNetworkReply *reply, QAuthenticator *auth) {
                // Asked a second time: the router did not take what we gave.
                if (reply != m_laufend || m_angemeldet)
                    return;
                m_angemeldet = true;
                auth->setUser(m_benutzer);
                auth->setPassword(m_kennwort);
            });
}

Tr064Waehlen::~Tr064Waehlen()
{
    if (m_laufend)
        m_laufend->abort();
}

QByteArray Tr064Waehlen::anfrage(const QString &nummer)
{
    QByteArray ziffern;
    for (const QChar c : nummer) {
        if ((c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'+')
            ziffern.append(static_cast<char>(c.unicode()));
    }
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
           "<s:Body><u:" + Aktion + " xmlns:u=\"" + Dienst + "\">"
           "<NewX_AVM-DE_PhoneNumber>" + ziffern + "</NewX_AVM-DE_PhoneNumber>"
           "</u:" + Aktion + "></s:Body></s:Envelope>\r\n";
}

void Tr064Waehlen::waehle(const QString &host, quint16 port, const QString &benutzer, const QString &kennwort,
                          const QString &nummer)
{
    if (m_laufend) {
        m_laufend->disconnect(this);
        m_laufend->abort();
        m_laufend->deleteLater();
    }
    m_benutzer = benutzer;
    m_kennwort = kennwort;
    m_angemeldet = false;

    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(host);
    url.setPort(port);
    url.setPath(u"/upnp/control/x_voip"_s);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"text/xml; charset=\"utf-8\""_s);
    request.setRawHeader("SOAPACTION", '"' + Dienst + '#' + Aktion + '"');
    request.setTransferTimeout(TimeoutMs);
    QNetworkReply *reply = m_netz->post(request, anfrage(nummer));
    m_laufend = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { beendet(reply); });
}

void Tr064Waehlen::beendet(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_laufend)
        return;
    m_laufend = nullptr;
    m_kennwort.clear();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        emit abgelehnt();
    } else if (reply->error() == QNetworkReply::NoError && status == 200) {
        emit gewaehlt();
    } else {
        // A SOAP fault names its reason in errorDescription (e.g. dialing help switched off).
        const QByteArray antwort = reply->read(4096);
        const qsizetype von = antwort.indexOf("<errorDescription>");
        const qsizetype bis = antwort.indexOf("</errorDescription>");
        QString grund = von >= 0 && bis > von ? QString::fromUtf8(antwort.sliced(von + 18, bis - von - 18)).left(200)
                                              : reply->errorString();
        grund.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
        if (status > 0)
            grund = u"HTTP %1, %2"_s.arg(status).arg(grund);
        emit fehler(grund);
    }
}
