#include "platform/telephony/Endpunkt.h"

#include <QHostAddress>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isAsciiDigits(QStringView text)
{
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), digit);
}

std::optional<quint16> parsePort(QStringView text)
{
    if (!isAsciiDigits(text) || text.size() > 5)
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return static_cast<quint16>(port);
}

} // namespace

QString Endpunkt::hostname(QStringView text)
{
    QStringView host = text.trimmed();
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.sliced(1, host.size() - 2);
    if (host.contains(u':')) {
        const QHostAddress address(host.toString());
        return address.protocol() == QAbstractSocket::IPv6Protocol ? host.toString() : QString();
    }
    const bool nameChars = std::all_of(host.begin(), host.end(), [](QChar c) {
        return c.isLetterOrNumber() || c == u'-' || c == u'.' || c == u'_';
    });
    return nameChars && !host.isEmpty() && host.size() <= 253 ? host.toString() : QString();
}

std::optional<Endpunkt> Endpunkt::lies(QStringView entry, quint16 standardPort)
{
    entry = entry.trimmed();
    QStringView hostPart = entry;
    QStringView portPart;
    bool hasPort = false;
    if (entry.startsWith(u'[')) {
        const qsizetype close = entry.indexOf(u']');
        if (close < 0)
            return std::nullopt;
        hostPart = entry.first(close + 1);
        const QStringView rest = entry.sliced(close + 1).trimmed();
        if (!rest.isEmpty()) {
            if (!rest.startsWith(u':'))
                return std::nullopt;
            portPart = rest.sliced(1);
            hasPort = true;
        }
        if (!hostPart.contains(u':'))
            return std::nullopt;
    } else if (const qsizetype colon = entry.indexOf(u':'); colon >= 0) {
        hostPart = entry.first(colon);
        portPart = entry.sliced(colon + 1);
        hasPort = true;
    }
    const QString name = hostname(hostPart);
    if (name.isEmpty() || (!entry.startsWith(u'[') && name.contains(u':')))
        return std::nullopt;
    const std::optional<quint16> port = hasPort ? parsePort(portPart.trimmed()) : standardPort;
    if (!port)
        return std::nullopt;
    return Endpunkt{name, *port};
}

QString Endpunkt::text() const
{
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}
