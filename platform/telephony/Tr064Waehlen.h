#pragma once

#include "platform/telephony/DigestAnmeldung.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

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
    static constexpr int TimeoutMs = 15000;
    // An answer is a few hundred bytes; past this much the request is given up.
    static constexpr qint64 MaxAntwortBytes = 64 * 1024;

    explicit Tr064Waehlen(QObject *parent = nullptr);
    ~Tr064Waehlen() override;

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
    void sende(const QByteArray &authorization);
    void lesen(QNetworkReply *reply);
    void beendet(QNetworkReply *reply);
    void nichtAngemeldet(const DigestAnmeldung::Angebot &angebot);
    void abbrechen();

    QNetworkAccessManager *m_netz = nullptr;
    QPointer<QNetworkReply> m_laufend;
    QString m_host;
    quint16 m_port = DefaultPort;
    QString m_benutzer;
    QString m_kennwort;
    QByteArray m_body;
    bool m_angemeldet = false; // the running request carries the digest
    QByteArray m_antwort;      // what was read of the running request's answer
    bool m_zuGross = false;
};
