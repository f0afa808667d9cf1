#include "platform/telephony/Tr064Aufruf.h"

#include "platform/telephony/DiagnoseLeitung.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringList>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QString ohneSteuerzeichen(QString text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text;
}

} // namespace

Tr064Aufruf::Tr064Aufruf(qint64 maxAntwortBytes, QObject *parent)
    : QObject(parent)
    , m_maxAntwortBytes(maxAntwortBytes)
{
}

Tr064Aufruf::~Tr064Aufruf()
{
    abbrechen();
}

void Tr064Aufruf::abbrechen()
{
    if (!m_laufend)
        return;
    QNetworkReply *reply = m_laufend;
    m_laufend = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void Tr064Aufruf::rufe(const Router &router, const Aktion &aktion)
{
    abbrechen();
    m_router = router;
    m_aktion = aktion;
    // First without credentials: the router's 401 says how it wants them.
    sende({});
}

// A manager of its own for each request: no connection, cached password or
// authentication state of Qt's carries over into the next one.
void Tr064Aufruf::neuesNetz()
{
    if (m_netz)
        m_netz->deleteLater();
    m_netz = new QNetworkAccessManager(this);
}

void Tr064Aufruf::sende(const QByteArray &authorization)
{
    neuesNetz();
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(m_router.host);
    url.setPort(m_router.port);
    url.setPath(QString::fromLatin1(m_aktion.pfad));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, u"text/xml; charset=\"utf-8\""_s);
    request.setRawHeader("SOAPACTION", '"' + m_aktion.dienst + '#' + m_aktion.name + '"');
    request.setTransferTimeout(TimeoutMs);
    // Qt never gets the password (it would answer Basic with it), and the
    // request does not follow the router anywhere else.
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!authorization.isEmpty())
        request.setRawHeader("Authorization", authorization);
    m_angemeldet = !authorization.isEmpty();
    beginne(m_netz->post(request, m_aktion.body));
}

void Tr064Aufruf::hole(const QUrl &adresse)
{
    abbrechen();
    neuesNetz();
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(m_router.host);
    url.setPort(adresse.port(m_router.port));
    url.setPath(adresse.path());
    url.setQuery(adresse.query());
    QNetworkRequest request(url);
    request.setTransferTimeout(TimeoutMs);
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // No credentials go with it, so a 401 is a refusal, not a question.
    m_angemeldet = true;
    beginne(m_netz->get(request));
}

QNetworkReply *Tr064Aufruf::beginne(QNetworkReply *reply)
{
    m_antwort.clear();
    m_zuGross = false;
    reply->setReadBufferSize(m_maxAntwortBytes);
    m_laufend = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { lesen(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { beendet(reply); });
    return reply;
}

// Read as it comes, so that Qt holds no more than its small buffer; an answer
// that runs on is cut off.
void Tr064Aufruf::lesen(QNetworkReply *reply)
{
    if (reply != m_laufend || m_zuGross)
        return;
    m_antwort += reply->readAll();
    if (m_antwort.size() > m_maxAntwortBytes) {
        m_zuGross = true;
        m_antwort.clear();
        reply->abort();
    }
}

void Tr064Aufruf::beendet(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_laufend)
        return;
    lesen(reply);
    m_laufend = nullptr;
    if (m_zuGross) {
        m_router.kennwort.clear();
        qCWarning(lcLeitung).noquote()
            << u"TR-064 an %1: Antwort länger als %2 Bytes, abgebrochen"_s.arg(m_router.host).arg(m_maxAntwortBytes);
        emit fehler(u"Antwort länger als %1 KiB, abgebrochen"_s.arg(m_maxAntwortBytes / 1024));
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 401 || reply->error() == QNetworkReply::AuthenticationRequiredError) {
        if (m_angemeldet) {
            m_router.kennwort.clear();
            emit abgelehnt();
            return;
        }
        const DigestAnmeldung::Angebot angebot = DigestAnmeldung::lies(reply->rawHeaderPairs());
        if (!angebot.digest) {
            nichtAngemeldet(angebot);
            return;
        }
        sende(angebot.digest->antwort(m_router.benutzer, m_router.kennwort, "POST", m_aktion.pfad,
                                      DigestAnmeldung::neuerCnonce()));
        return;
    }
    m_router.kennwort.clear();
    if (reply->error() == QNetworkReply::NoError && status == 200) {
        emit beantwortet(m_antwort);
        return;
    }
    // A SOAP fault names its reason in errorDescription (e.g. dialing help switched off).
    const qsizetype von = m_antwort.indexOf("<errorDescription>");
    const qsizetype bis = m_antwort.indexOf("</errorDescription>");
    QString grund = ohneSteuerzeichen(von >= 0 && bis > von
                                          ? QString::fromUtf8(m_antwort.sliced(von + 18, bis - von - 18)).left(200)
                                          : reply->errorString());
    if (status > 0)
        grund = u"HTTP %1, %2"_s.arg(status).arg(grund);
    emit fehler(grund);
}

// Anything but Digest would carry the password readable (Basic) or is not
// ours to judge: the request ends here, and the user learns why.
void Tr064Aufruf::nichtAngemeldet(const DigestAnmeldung::Angebot &angebot)
{
    m_router.kennwort.clear();
    QStringList verfahren;
    for (const QByteArray &name : angebot.verfahren)
        verfahren << ohneSteuerzeichen(QString::fromLatin1(name).left(40));
    verfahren.removeDuplicates();
    const bool digest = verfahren.contains(u"Digest"_s, Qt::CaseInsensitive);
    verfahren = verfahren.mid(0, 5); // enough to tell; the message stays short
    const QString grund =
        digest ? u"Er verlangt eine Digest-Anmeldung, die Rufmon nicht beherrscht"_s
        : verfahren.isEmpty()
            ? u"Er verlangt eine Anmeldung, nennt aber kein Verfahren; Rufmon sendet das Kennwort nur als Digest"_s
            : u"Er verlangt die Anmeldung mit %1; Rufmon sendet das Kennwort nur als Digest"_s.arg(verfahren.join(u", "));
    qCWarning(lcLeitung).noquote() << u"TR-064 an %1: keine Digest-Anmeldung möglich (angeboten: %2), Kennwort nicht "
                                      u"gesendet"_s.arg(m_router.host,
                                                        verfahren.isEmpty() ? u"nichts"_s : verfahren.join(u", "));
    emit fehler(grund);
}
