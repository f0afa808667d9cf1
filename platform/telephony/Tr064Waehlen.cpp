#include "platform/telephony/Tr064Waehlen.h"

using namespace Qt::StringLiterals;

namespace {

const QByteArray Dienst = "urn:dslforum-org:service:X_VoIP:1";
const QByteArray Aktion = "X_AVM-DE_DialNumber";
const QByteArray Pfad = "/upnp/control/x_voip";

} // namespace

Tr064Waehlen::Tr064Waehlen(QObject *parent)
    : QObject(parent)
    , m_aufruf(MaxAntwortBytes)
{
    connect(&m_aufruf, &Tr064Aufruf::beantwortet, this, &Tr064Waehlen::gewaehlt);
    connect(&m_aufruf, &Tr064Aufruf::abgelehnt, this, &Tr064Waehlen::abgelehnt);
    connect(&m_aufruf, &Tr064Aufruf::fehler, this, &Tr064Waehlen::fehler);
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
    m_aufruf.rufe({host, port, benutzer, kennwort}, {Dienst, Aktion, Pfad, anfrage(nummer)});
}
