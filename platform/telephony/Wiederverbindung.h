#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QTimer>

#include <algorithm>

class QTcpSocket;

// The life of a line over a network connection that may drop, and the
// connection's socket. While the line
// is being opened, the first connection is retried quietly for a grace period
// (switched on at login, the network may not be up yet); a connection that
// drops is retried quietly for the same period; after it the line gives up.
// The device makes the connection when asked and tells the user what each
// turn means.
class Wiederverbindung : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultRetryIntervalMs = 5000;
    static constexpr int DefaultGraceSeconds = 60;
    static constexpr int MaxGraceSeconds = 24 * 60 * 60;

    // What the end of a connection means for the line.
    enum class Folge {
        Keine,            // nothing to tell: closed, or still retrying
        ErsterFehlschlag, // the first attempt of an opening failed; retrying
        Unterbrochen,     // a standing connection dropped; retrying
    };

    explicit Wiederverbindung(QObject *parent = nullptr);

    // Never zero: a refused connection would otherwise be retried in a busy loop.
    void setRetryIntervalMs(int ms) { m_retryIntervalMs = std::max(ms, 10); }
    void setGraceSeconds(int seconds) { m_graceSeconds = std::clamp(seconds, 0, MaxGraceSeconds); }
    int graceSeconds() const { return m_graceSeconds; }

    bool offen() const { return m_zustand != Zustand::Geschlossen; }
    // From closed: the line is being opened, and the first attempt is asked for.
    void oeffnen();
    void schliessen();
    // A new socket to that place, an earlier one dropped first.
    void verbinden(const QString &host, quint16 port);
    // Drops the socket, if any: nothing it still holds is read.
    void trennen();
    QTcpSocket *socket() const { return m_socket; }
    // Counts sockets, so that a reader can tell that a slot dropped or
    // replaced the one it was reading.
    quint64 generation() const { return m_generation; }

    // The connection stands; true when it had dropped before.
    bool verbunden();
    // The connection ended, or could not be made, for that reason.
    Folge beendet(const QString &grund);
    // Why the attempts of the opening have failed so far.
    const QString &ersterGrund() const { return m_ersterGrund; }

signals:
    // Make the connection now.
    void versuchen();
    // The socket reached the other side.
    void tcpVerbunden();
    // What the socket received, in pieces as read.
    void gelesen(QByteArrayView daten);
    // The socket was closed by the other side or failed, for that reason.
    void abgebrochen(const QString &grund);
    // The grace period is over, while opening (see ersterGrund) or after a drop.
    void aufgegeben(bool beimOeffnen);
    // The connection of an open line: it stands, it is being made (no
    // reason), or it is down for `grund` and being retried.
    void zustand(bool steht, const QString &grund);

private:
    enum class Zustand { Geschlossen, Oeffnend, Verbunden, Wiederverbindend };

    void lesen();
    // The next turn after a failed attempt.
    Folge weiter(const QString &grund);

    Zustand m_zustand = Zustand::Geschlossen;
    QTcpSocket *m_socket = nullptr;
    quint64 m_generation = 0;
    int m_retryIntervalMs = DefaultRetryIntervalMs;
    int m_graceSeconds = DefaultGraceSeconds;
    QTimer m_retryTimer;
    QTimer m_graceTimer;
    QString m_ersterGrund;
};
