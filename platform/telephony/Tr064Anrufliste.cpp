#include "platform/telephony/Tr064Anrufliste.h"

#include "platform/telephony/Diagnose.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QUrlQuery>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Dienst = "urn:dslforum-org:service:X_AVM-DE_OnTel:1";
const QByteArray Aktion = "GetCallList";
const QByteArray Pfad = "/upnp/control/x_contact";

// "0:05" (hours:minutes) as the router writes a call's length.
int sekunden(const QString &text)
{
    const QStringList teile = text.trimmed().split(u':');
    if (teile.size() != 2)
        return -1;
    bool ok1 = false, ok2 = false;
    const int h = teile[0].toInt(&ok1);
    const int m = teile[1].toInt(&ok2);
    return ok1 && ok2 && h >= 0 && m >= 0 ? (h * 60 + m) * 60 : -1;
}

} // namespace

Tr064Anrufliste::Tr064Anrufliste(QObject *parent)
    : QObject(parent)
{
}

Tr064Anrufliste::~Tr064Anrufliste()
{
    abbrechen();
}

void Tr064Anrufliste::abbrechen()
{
    if (!m_laufend)
        return;
    QNetworkReply *reply = m_laufend;
    m_laufend = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

QByteArray Tr064Anrufliste::anfrage()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\" "
           "s:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">"
           "<s:Body><u:" + Aktion + " xmlns:u=\"" + Dienst + "\"></u:" + Aktion + "></s:Body></s:Envelope>\r\n";
}

QString Tr064Anrufliste::listenAdresse(const QByteArray &antwort)
{
    QXmlStreamReader xml(antwort);
    // Only the element's own name counts; an answer whose prefixes are not
    // declared is still read.
    xml.setNamespaceProcessing(false);
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"NewCallListURL")
            return xml.readElementText().trimmed();
    }
    return {};
}

QList<Tr064Anrufliste::Anruf> Tr064Anrufliste::lies(const QByteArray &xml)
{
    QList<Anruf> anrufe;
    QXmlStreamReader r(xml);
    r.setNamespaceProcessing(false);
    while (!r.atEnd() && !r.hasError()) {
        r.readNext();
        if (!r.isStartElement() || r.name() != u"Call")
            continue;
        QHash<QString, QString> felder;
        while (!r.atEnd() && !r.hasError()) {
            r.readNext();
            if (r.isEndElement() && r.name() == u"Call")
                break;
            if (r.isStartElement()) {
                const QString name = r.name().toString();
                felder.insert(name, r.readElementText(QXmlStreamReader::SkipChildElements).trimmed());
            }
        }
        Anruf a;
        switch (felder.value(u"Type"_s).toInt()) {
        case 1: a.art = Anruf::Art::Angenommen; break;
        case 2: a.art = Anruf::Art::Verpasst; break;
        case 3: a.art = Anruf::Art::Ausgehend; break;
        case 9: case 11: a.art = Anruf::Art::Laufend; break;
        case 10: a.art = Anruf::Art::Abgewiesen; break;
        default: continue;
        }
        // "07.12.26 07:55": the router's local time, two-digit year.
        a.zeit = QDateTime::fromString(felder.value(u"Date"_s), u"dd.MM.yy HH:mm"_s);
        if (!a.zeit.isValid())
            continue;
        if (a.zeit.date().year() < 2000)
            a.zeit = a.zeit.addYears(100);
        const bool ausgehend = a.art == Anruf::Art::Ausgehend;
        a.anrufer = felder.value(ausgehend ? u"Called"_s : u"Caller"_s);
        a.angerufen = felder.value(ausgehend ? u"Caller"_s : u"CalledNumber"_s);
        if (a.angerufen.isEmpty())
            a.angerufen = felder.value(u"Called"_s);
        a.dauer = sekunden(felder.value(u"Duration"_s));
        a.name = felder.value(u"Name"_s);
        anrufe.append(a);
    }
    return anrufe;
}

void Tr064Anrufliste::lade(const QString &host, quint16 port, const QString &benutzer, const QString &kennwort)
{
    abbrechen();
    m_host = host;
    m_port = port;
    m_benutzer = benutzer;
    m_kennwort = kennwort;
    sende({});
}

QNetworkReply *Tr064Anrufliste::anfangen(QNetworkReply *reply)
{
    m_antwort.clear();
    m_laufend = reply;
    reply->setReadBufferSize(0);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (reply != m_laufend)
            return;
        m_antwort += reply->readAll();
        if (m_antwort.size() > MaxAntwortBytes)
            reply->abort();
    });
    return reply;
}

void Tr064Anrufliste::sende(const QByteArray &authorization)
{
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
    // Qt never gets the password (it would answer Basic with it).
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    m_angemeldet = !authorization.isEmpty();
    QNetworkReply *reply = anfangen(m_netz->post(request, anfrage()));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { beendet(reply); });
}

void Tr064Anrufliste::beendet(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_laufend)
        return;
    m_antwort += reply->readAll();
    m_laufend = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        if (m_angemeldet) {
            m_kennwort.clear();
            emit abgelehnt();
            return;
        }
        const DigestAnmeldung::Angebot angebot = DigestAnmeldung::lies(reply->rawHeaderPairs());
        if (!angebot.digest) {
            m_kennwort.clear();
            emit fehler(u"Der Router verlangt eine Anmeldung ohne Digest; Rufmon sendet das Kennwort nur als Digest"_s);
            return;
        }
        sende(angebot.digest->antwort(m_benutzer, m_kennwort, "POST", Pfad, DigestAnmeldung::neuerCnonce()));
        return;
    }
    m_kennwort.clear();
    if (reply->error() != QNetworkReply::NoError || status != 200) {
        emit fehler(status > 0 ? u"HTTP %1, %2"_s.arg(status).arg(reply->errorString()) : reply->errorString());
        return;
    }
    const QString adresse = listenAdresse(m_antwort);
    if (adresse.isEmpty()) {
        emit fehler(u"Der Router nennt keine Anrufliste"_s);
        return;
    }
    listeLaden(adresse);
}

void Tr064Anrufliste::listeLaden(const QString &adresse)
{
    // The list is read from the router asked, whatever host its address
    // names: the session id in it is for the router alone.
    const QUrl genannt(adresse);
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(m_host);
    url.setPort(genannt.port(m_port));
    url.setPath(genannt.path());
    url.setQuery(genannt.query());
    QNetworkRequest request(url);
    request.setTransferTimeout(TimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = anfangen(m_netz->get(request));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { listeGelesen(reply); });
}

void Tr064Anrufliste::listeGelesen(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_laufend)
        return;
    m_antwort += reply->readAll();
    m_laufend = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status != 200) {
        emit fehler(u"Anrufliste: "_s + (status > 0 ? u"HTTP %1"_s.arg(status) : reply->errorString()));
        return;
    }
    const QList<Anruf> anrufe = lies(m_antwort);
    qCInfo(lcLeitung).noquote() << u"Anrufliste von %1: %2 Anrufe"_s.arg(m_host).arg(anrufe.size());
    emit geladen(anrufe);
}
