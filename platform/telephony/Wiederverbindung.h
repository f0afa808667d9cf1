#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <algorithm>

// The life of a line over a network connection that may drop. While the line
// is being opened, the first connection is retried quietly for a grace period
// (switched on at login, the network may not be up yet); a connection that
// drops is retried quietly for the same period; after it the line gives up.
// The device makes the connection when asked and tells the user what each
// turn means.
class Wiederverbindung : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxGraceSeconds = 24 * 60 * 60;

    // What the end of a connection means for the line.
    enum class Folge {
        Keine,            // nothing to tell: closed, or still retrying
        ErsterFehlschlag, // the first attempt of an opening failed; retrying
        Unterbrochen,     // a standing connection dropped; retrying
    };

    explicit Wiederverbindung(int retryIntervalMs, int graceSeconds, QObject *parent = nullptr);

    // Never zero: a refused connection would otherwise be retried in a busy loop.
    void setRetryIntervalMs(int ms) { m_retryIntervalMs = std::max(ms, 10); }
    void setGraceSeconds(int seconds) { m_graceSeconds = std::clamp(seconds, 0, MaxGraceSeconds); }
    int graceSeconds() const { return m_graceSeconds; }

    bool offen() const { return m_zustand != Zustand::Geschlossen; }
    // From closed: the line is being opened, and the first attempt is asked for.
    void oeffnen();
    void schliessen();
    // The connection stands; true when it had dropped before.
    bool verbunden();
    // The connection ended, or could not be made, for that reason.
    Folge beendet(const QString &grund);
    // Why the attempts of the opening have failed so far.
    const QString &ersterGrund() const { return m_ersterGrund; }

signals:
    // Make the connection now.
    void versuchen();
    // The grace period is over, while opening (see ersterGrund) or after a drop.
    void aufgegeben(bool beimOeffnen);

private:
    enum class Zustand { Geschlossen, Oeffnend, Verbunden, Wiederverbindend };

    Zustand m_zustand = Zustand::Geschlossen;
    int m_retryIntervalMs;
    int m_graceSeconds;
    QTimer m_retryTimer;
    QTimer m_graceTimer;
    QString m_ersterGrund;
};
