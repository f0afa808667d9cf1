#include "platform/telephony/Wiederverbindung.h"

#include "platform/telephony/Socketfehler.h"

#include <QPointer>
#include <QTcpSocket>

namespace {

// A line of the other side is a few hundred bytes; this holds many.
constexpr qint64 ReadBufferBytes = 16 * 1024;

} // namespace

Wiederverbindung::Wiederverbindung(QObject *parent)
    : QObject(parent)
{
    m_retryTimer.setSingleShot(true);
    m_graceTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &Wiederverbindung::versuchen);
    connect(&m_graceTimer, &QTimer::timeout, this, [this] {
        if (m_zustand == Zustand::Oeffnend || m_zustand == Zustand::Wiederverbindend)
            emit aufgegeben(m_zustand == Zustand::Oeffnend);
    });
}

void Wiederverbindung::oeffnen()
{
    if (m_zustand != Zustand::Geschlossen)
        return;
    m_zustand = Zustand::Oeffnend;
    emit zustand(false, QString());
    emit versuchen();
}

void Wiederverbindung::schliessen()
{
    m_zustand = Zustand::Geschlossen;
    m_retryTimer.stop();
    m_graceTimer.stop();
}

bool Wiederverbindung::verbunden()
{
    const bool warWeg = m_zustand == Zustand::Wiederverbindend;
    m_zustand = Zustand::Verbunden;
    m_graceTimer.stop();
    emit zustand(true, QString());
    return warWeg;
}

Wiederverbindung::Folge Wiederverbindung::beendet(const QString &grund)
{
    if (m_zustand == Zustand::Geschlossen)
        return Folge::Keine;
    const Folge folge = weiter(grund);
    // Every failed attempt tells its reason, which may change from one to the
    // next; told last, as a listener may close the line.
    emit zustand(false, grund);
    return folge;
}

Wiederverbindung::Folge Wiederverbindung::weiter(const QString &grund)
{
    switch (m_zustand) {
    case Zustand::Geschlossen:
        return Folge::Keine;
    case Zustand::Oeffnend: {
        m_ersterGrund = grund;
        const bool erster = !m_graceTimer.isActive();
        if (erster)
            m_graceTimer.start(m_graceSeconds * 1000);
        m_retryTimer.start(m_retryIntervalMs);
        return erster ? Folge::ErsterFehlschlag : Folge::Keine;
    }
    case Zustand::Verbunden:
        m_zustand = Zustand::Wiederverbindend;
        m_graceTimer.start(m_graceSeconds * 1000);
        m_retryTimer.start(m_retryIntervalMs);
        return Folge::Unterbrochen;
    case Zustand::Wiederverbindend:
        // Quiet: the other side may still be restarting.
        m_retryTimer.start(m_retryIntervalMs);
        return Folge::Keine;
    }
    return Folge::Keine;
}

void Wiederverbindung::verbinden(const QString &host, quint16 port)
{
    trennen();
    auto *socket = new QTcpSocket(this);
    m_socket = socket;
    socket->setReadBufferSize(ReadBufferBytes);
    connect(socket, &QTcpSocket::connected, this, &Wiederverbindung::tcpVerbunden);
    connect(socket, &QTcpSocket::readyRead, this, &Wiederverbindung::lesen);
    connect(socket, &QTcpSocket::disconnected, this,
            [this] { emit abgebrochen(Socketfehler(QAbstractSocket::RemoteHostClosedError, {})); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError error) {
        emit abgebrochen(Socketfehler(error, socket->errorString()));
    });
    // Last, as a failure may already be reported from inside.
    socket->connectToHost(host, port);
}

void Wiederverbindung::trennen()
{
    ++m_generation;
    if (!m_socket)
        return;
    QTcpSocket *socket = std::exchange(m_socket, nullptr);
    socket->disconnect(this);
    socket->abort();
    // Later: this may run inside one of the socket's own signals.
    socket->deleteLater();
}

void Wiederverbindung::lesen()
{
    // A slot may drop the socket, or delete the device and with it this.
    const QPointer<Wiederverbindung> alive(this);
    QTcpSocket *socket = m_socket;
    char chunk[4096];
    while (alive && m_socket == socket && socket && socket->bytesAvailable() > 0) {
        const qint64 read = socket->read(chunk, sizeof chunk);
        if (read <= 0)
            return;
        emit gelesen(QByteArrayView(chunk, read));
    }
}
