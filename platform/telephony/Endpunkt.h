#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// A host and port as the settings keep them: "host:port", "host" with the
// default port, IPv6 addresses in brackets ("[fe80::1]:1012").
struct Endpunkt
{
    QString host;
    quint16 port = 0;

    // Nothing when the entry makes no sense; a bare IPv6 address is refused
    // because its last group could as well be meant as the port.
    static std::optional<Endpunkt> lies(QStringView eintrag, quint16 standardPort);
    // The host as the settings keep it (brackets removed); empty when it is no usable name.
    static QString hostname(QStringView text);
    QString text() const;

    bool operator==(const Endpunkt &) const = default;
};
