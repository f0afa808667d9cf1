#include "platform/telephony/Tr064Anrufliste.h"

#include "platform/telephony/DiagnoseLeitung.h"

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
    , m_aufruf(MaxAntwortBytes)
{
    connect(&m_aufruf, &Tr064Aufruf::beantwortet, this, &Tr064Anrufliste::beantwortet);
    connect(&m_aufruf, &Tr064Aufruf::abgelehnt, this, &Tr064Anrufliste::abgelehnt);
    connect(&m_aufruf, &Tr064Aufruf::fehler, this, [this](const QString &grund) {
        emit fehler(u"Der Router %1 gibt seine Anrufliste nicht: %2"_s.arg(m_host, grund));
    });
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
    m_host = host;
    m_listeGefragt = false;
    m_aufruf.rufe({host, port, benutzer, kennwort}, {Dienst, Aktion, Pfad, anfrage()});
}

void Tr064Anrufliste::beantwortet(const QByteArray &antwort)
{
    if (m_listeGefragt) {
        const QList<Anruf> anrufe = lies(antwort);
        qCInfo(lcLeitung).noquote() << u"Anrufliste von %1: %2 Anrufe"_s.arg(m_host).arg(anrufe.size());
        emit geladen(anrufe);
        return;
    }
    const QString adresse = listenAdresse(antwort);
    if (adresse.isEmpty()) {
        emit fehler(u"Der Router %1 nennt keine Anrufliste"_s.arg(m_host));
        return;
    }
    // The list is read from the router asked, whatever host its address
    // names: the session id in it is for the router alone.
    m_listeGefragt = true;
    m_aufruf.hole(QUrl(adresse));
}
