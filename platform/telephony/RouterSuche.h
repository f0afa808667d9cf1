#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;
class QUdpSocket;

// Finds the home routers on the local network by SSDP: a search for their
// TR-064 device goes to the multicast group, every answer names the router's
// address and where its device description lies, and the description names
// the router. Everything a stranger on the network sends is bounded: the
// answers by size and number, the descriptions by size and time, and a
// description is fetched only from the address that answered.
class RouterSuche : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 SsdpPort = 1900;
    static constexpr int SuchdauerMs = 3000;
    // Sent once more after this long: a datagram may get lost.
    static constexpr int WiederholungMs = 800;
    // A search answer is a few hundred bytes; larger ones are dropped unread.
    static constexpr qint64 MaxAntwortBytes = 2048;
    static constexpr qint64 MaxBeschreibungBytes = 64 * 1024;
    static constexpr int BeschreibungMs = 3000;
    static constexpr int MaxRouter = 16;
    static constexpr qsizetype MaxNamenLaenge = 80;

    struct Router
    {
        QString adresse; // as the call monitor's host is written
        QString name;    // the device description's friendlyName; empty while unknown
    };

    static QHostAddress ssdpGruppe();
    static QByteArray suchanfrage();
    // The description's friendlyName, cleaned; empty when it has none.
    static QString geraetename(const QByteArray &beschreibung);

    explicit RouterSuche(QObject *parent = nullptr);
    ~RouterSuche() override;

    // Where the search goes; the multicast group unless a test names another.
    void setZiel(const QHostAddress &adresse, quint16 port);
    void setSuchdauerMs(int ms) { m_suchdauerMs = ms; }

    // A new search; one still running ends first.
    void starten();
    void abbrechen();
    bool laeuft() const { return m_laeuft; }
    const QList<Router> &router() const { return m_router; }

signals:
    // A router was found, or its name became known.
    void geaendert();
    // Nothing more comes: the search time is over and every description is in.
    void beendet();

private:
    void senden();
    void lesen();
    void antwort(const QByteArray &daten, const QHostAddress &absender);
    void beschreibungHolen(const QUrl &url, int index);
    void beschreibungGelesen(QNetworkReply *reply, int index);
    void vielleichtFertig();

    QHostAddress m_ziel;
    quint16 m_port = SsdpPort;
    int m_suchdauerMs = SuchdauerMs;
    QUdpSocket *m_socket = nullptr;
    QNetworkAccessManager *m_netz = nullptr;
    QList<QPointer<QNetworkReply>> m_abrufe;
    QTimer m_ende;
    QTimer m_wiederholung;
    QList<Router> m_router;
    bool m_laeuft = false;
};
