#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Dialing through a home router's TR-064 service: the SOAP action
// X_AVM-DE_DialNumber of X_VoIP, behind HTTP digest authentication. The
// router rings the phone set up for dialing help and, picked up, the number.
class Tr064Waehlen : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 49000;
    static constexpr int TimeoutMs = 15000;

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
    void beendet(QNetworkReply *reply);

    QNetworkAccessManager *m_netz;
    QPointer<QNetworkReply> m_laufend;
    QString m_benutzer;
    QString m_kennwort;
    bool m_angemeldet = false; // credentials given once for the running request
};
