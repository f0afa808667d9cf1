#include "platform/telephony/Socketfehler.h"

using namespace Qt::StringLiterals;

QString Socketfehler(QAbstractSocket::SocketError error, const QString &fallback)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return u"Verbindung abgelehnt"_s;
    case QAbstractSocket::RemoteHostClosedError:
        return u"Gegenstelle hat die Verbindung beendet"_s;
    case QAbstractSocket::HostNotFoundError:
        return u"Rechner nicht gefunden"_s;
    case QAbstractSocket::SocketTimeoutError:
        return u"Zeitüberschreitung"_s;
    case QAbstractSocket::NetworkError:
        return u"Netzwerkfehler"_s;
    default:
        return fallback;
    }
}
