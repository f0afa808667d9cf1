#pragma once

#include "platform/telephony/Tr064Aufruf.h"

#include <QObject>
#include <QString>

// Dialing through a home router's TR-064 service: the SOAP action
// X_AVM-DE_DialNumber of X_VoIP, behind HTTP digest authentication. The
// router rings the phone set up for dialing help and, picked up, the number.
// The password goes out only as a digest; a router (or whatever answers at
// its address) that asks for another scheme gets no credentials at all.
class Tr064Waehlen : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 49000;
    // An answer is a few hundred bytes; past this much the request is given up.
    static constexpr qint64 MaxAntwortBytes = 64 * 1024;

    explicit Tr064Waehlen(QObject *parent = nullptr);

    // The request's body for the number (digits, *, #, + only).
    static QByteArray anfrage(const QString &nummer);

    // One request at a time: a new one replaces one still running.
    void waehle(const QString &host, quint16 port, const QString &benutzer, const QString &kennwort,
                const QString &nummer);

signals:
    void gewaehlt();
    // The router refused the user name or password.
    void abgelehnt();
    void fehler(const QString &grund);

private:
    Tr064Aufruf m_aufruf;
};
