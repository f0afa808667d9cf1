#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

// Tries once whether a host takes connections on a port, and closes again
// at once: a router's call monitor before it is added as a line.
class Verbindungsprobe : public QObject
{
    Q_OBJECT

public:
    static constexpr int WarteMs = 5000;

    enum class Ergebnis { Offen, Abgewiesen, Fehler };
    Q_ENUM(Ergebnis)

    explicit Verbindungsprobe(QObject *parent = nullptr);
    ~Verbindungsprobe() override;

    void setWarteMs(int ms) { m_warteMs = ms; }
    // A new probe; one still running is dropped.
    void pruefen(const QString &host, quint16 port);
    void abbrechen();
    bool laeuft() const { return m_socket != nullptr; }

signals:
    // Why not, in the words of the telephony log, for Fehler.
    void ergebnis(Verbindungsprobe::Ergebnis ergebnis, const QString &grund);

private:
    void ende(Ergebnis ergebnis, const QString &grund);

    QTcpSocket *m_socket = nullptr;
    QTimer m_frist;
    int m_warteMs = WarteMs;
};
