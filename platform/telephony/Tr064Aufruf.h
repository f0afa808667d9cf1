#pragma once

#include "platform/telephony/DigestAnmeldung.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// One request to a home router's TR-064 service: a SOAP action behind HTTP
// digest authentication, or a plain read of a file the router named. The
// password goes out only as a digest; a router (or whatever answers at its
// address) that asks for another scheme gets no credentials at all. The
// answer is read as it comes and given up past a limit, whatever the other
// side still sends.
class Tr064Aufruf : public QObject
{
    Q_OBJECT

public:
    static constexpr int TimeoutMs = 15000;

    struct Router
    {
        QString host;
        quint16 port = 49000;
        QString benutzer;
        QString kennwort;
    };
    struct Aktion
    {
        QByteArray dienst; // "urn:dslforum-org:service:X_VoIP:1"
        QByteArray name;   // "X_AVM-DE_DialNumber"
        QByteArray pfad;   // the control URL's path
        QByteArray body;   // the SOAP envelope
    };

    explicit Tr064Aufruf(qint64 maxAntwortBytes, QObject *parent = nullptr);
    ~Tr064Aufruf() override;

    // One request at a time: a new one replaces one still running.
    void rufe(const Router &router, const Aktion &aktion);
    // A file of the router last called, without credentials (the session id
    // is in its address); read from that router whatever host the address names.
    void hole(const QUrl &adresse);
    void abbrechen();

signals:
    // HTTP 200; the answer's body.
    void beantwortet(const QByteArray &antwort);
    // The router refused the user name or password.
    void abgelehnt();
    // Anything else; the reason is a sentence part ready to follow
    // "Der Router … :" ("HTTP 500, …", "Er verlangt die Anmeldung mit Basic; …").
    void fehler(const QString &grund);

private:
    void sende(const QByteArray &authorization);
    QNetworkReply *beginne(QNetworkReply *reply);
    void lesen(QNetworkReply *reply);
    void beendet(QNetworkReply *reply);
    void nichtAngemeldet(const DigestAnmeldung::Angebot &angebot);
    void neuesNetz();

    const qint64 m_maxAntwortBytes;
    QNetworkAccessManager *m_netz = nullptr;
    QPointer<QNetworkReply> m_laufend;
    Router m_router;
    Aktion m_aktion;
    bool m_angemeldet = false; // the running request carries the digest
    QByteArray m_antwort;      // what was read of the running request's answer
    bool m_zuGross = false;
};
