#include "platform/telephony/Tr064Waehlen.h"

#include "platform/telephony/Diagnose.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Dienst = "urn:dslforum-org:service:X_VoIP:1";
const QByteArray Aktion = "X_AVM-DE_DialNumber";
const QByteArray Pfad = "/upnp/control/x_voip";

} // namespace

Tr064Waehlen::Tr064Waehlen(QObject *parent)
    : QObject(parent)
{
}

Tr064Waehlen::~Tr064Waehlen()
{
    abbrechen();
}

void Tr064Waehlen::abbrechen()
{
    if (!m_laufend)
        return;
    QNetworkReply *reply = m_laufend;
    m_laufend = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
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
    abbrechen();
    m_host = host;
    m_port = port;
    m_benutzer = benutzer;
    m_kennwort = kennwort;
    m_body = anfrage(nummer);
    // First without credentials: the router's 401 says how it wants them.
    sende({});
}

void Tr064Waehlen::sende(const QByteArray &authorization)
{
    // A manager of its own for each request: no connection, cached password
    // or authentication state of Qt's carries over into the next one.
    if (m_netz)
        m_netz->deleteLater();
    m_netz = new QNetworkAccessManager(this);

    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(m_host);
    url.setPort(m_port);
    url.setPath(QString::fromLatin1(Pfad));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"text/xml; charset=\"utf-8\""_s);
    request.setRawHeader("SOAPACTION", '"' + Dienst + '#' + Aktion + '"');
    request.setTransferTimeout(TimeoutMs);
    // Qt never gets the password (it would answer Basic with it), and the
    // request does not follow the router anywhere else.
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    m_angemeldet = !authorization.isEmpty();
    m_antwort.clear();
    m_zuGross = false;

    QNetworkReply *reply = m_netz->post(request, m_body);
    reply->setReadBufferSize(MaxAntwortBytes);
    m_laufend = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { lesen(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { beendet(reply); });
}

// Read as it comes, so that Qt holds no more than its small buffer; an answer
// that runs on is cut off, whatever the other side still sends.
void Tr064Waehlen::lesen(QNetworkReply *reply)
{
    if (reply != m_laufend || m_zuGross)
        return;
    m_antwort += reply->readAll();
    if (m_antwort.size() > MaxAntwortBytes) {
        m_zuGross = true;
        m_antwort.clear();
        reply->abort();
    }
}

void Tr064Waehlen::beendet(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_laufend)
        return;
    lesen(reply);
    m_laufend = nullptr;
    if (m_zuGross) {
        m_kennwort.clear();
        qCWarning(lcLeitung).noquote() << u"TR-064 an %1: Antwort länger als %2 Bytes, abgebrochen"_s.arg(m_host).arg(
            MaxAntwortBytes);
        emit fehler(u"Antwort länger als %1 KiB, abgebrochen"_s.arg(MaxAntwortBytes / 1024));
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        if (m_angemeldet) {
            m_kennwort.clear();
            emit abgelehnt();
            return;
        }
        const DigestAnmeldung::Angebot angebot = DigestAnmeldung::lies(reply->rawHeaderPairs());
        if (!angebot.digest) {
            nichtAngemeldet(angebot);
            return;
        }
        sende(angebot.digest->antwort(m_benutzer, m_kennwort, "POST", Pfad, DigestAnmeldung::neuerCnonce()));
        return;
    }
    m_kennwort.clear();
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        emit gewaehlt();
        return;
    }
    // A SOAP fault names its reason in errorDescription (e.g. dialing help switched off).
    const qsizetype von = m_antwort.indexOf("<errorDescription>");
    const qsizetype bis = m_antwort.indexOf("</errorDescription>");
    QString grund = von >= 0 && bis > von ? QString::fromUtf8(m_antwort.sliced(von + 18, bis - von - 18)).left(200)
                                          : reply->errorString();
    grund.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (status > 0)
        grund = u"HTTP %1, %2"_s.arg(status).arg(grund);
    emit fehler(grund);
}

// Anything but Digest would carry the password readable (Basic) or is not
// ours to judge: the request ends here, and the user learns why.
void Tr064Waehlen::nichtAngemeldet(const DigestAnmeldung::Angebot &angebot)
{
    m_kennwort.clear();
    QStringList verfahren;
    for (const QByteArray &name : angebot.verfahren) {
        QString text = QString::fromLatin1(name).left(40);
        text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
        verfahren << text;
    }
    verfahren.removeDuplicates();
    const bool digest = verfahren.contains(u"Digest"_s, Qt::CaseInsensitive);
    verfahren = verfahren.mid(0, 5); // enough to tell; the message stays short
    const QString grund =
        digest ? u"Er verlangt eine Digest-Anmeldung, die Rufmon nicht beherrscht"_s
        : verfahren.isEmpty()
            ? u"Er verlangt eine Anmeldung, nennt aber kein Verfahren; Rufmon sendet das Kennwort nur als Digest"_s
            : u"Er verlangt die Anmeldung mit %1; Rufmon sendet das Kennwort nur als Digest"_s.arg(verfahren.join(u", "));
    qCWarning(lcLeitung).noquote() << u"TR-064 an %1: keine Digest-Anmeldung möglich (angeboten: %2), Kennwort nicht "
                                      u"gesendet"_s.arg(m_host, verfahren.isEmpty() ? u"nichts"_s : verfahren.join(u", "));
    emit fehler(grund);
}
