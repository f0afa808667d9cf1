#include "platform/telephony/Verbindungsprobe.h"

#include "platform/telephony/Socketfehler.h"

#include <QTcpSocket>

using namespace Qt::StringLiterals;

Verbindungsprobe::Verbindungsprobe(QObject *parent)
    : QObject(parent)
{
    m_frist.setSingleShot(true);
    connect(&m_frist, &QTimer::timeout, this, [this] {
        ende(Ergebnis::Fehler, u"keine Antwort innerhalb von %1 s"_s.arg(m_warteMs / 1000.0));
    });
}

Verbindungsprobe::~Verbindungsprobe()
{
    abbrechen();
}

void Verbindungsprobe::abbrechen()
{
    m_frist.stop();
    if (QTcpSocket *socket = std::exchange(m_socket, nullptr)) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void Verbindungsprobe::pruefen(const QString &host, quint16 port)
{
    abbrechen();
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] { ende(Ergebnis::Offen, QString()); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError fehler) {
        if (fehler == QAbstractSocket::ConnectionRefusedError)
            ende(Ergebnis::Abgewiesen, Socketfehler(fehler, QString()));
        else
            ende(Ergebnis::Fehler, Socketfehler(fehler, m_socket ? m_socket->errorString() : QString()));
    });
    m_frist.start(m_warteMs);
    m_socket->connectToHost(host, port);
}

void Verbindungsprobe::ende(Ergebnis ergebnis, const QString &grund)
{
    if (!m_socket)
        return;
    abbrechen();
    emit this->ergebnis(ergebnis, grund);
}
