#pragma once

#include <QByteArray>
#include <QStringList>
#include <QTcpSocket>
#include <QTest>

// A system's side of one connection: what the device sent, action by action.
struct Gegenstelle
{
    QTcpSocket *socket = nullptr;
    QByteArray puffer;

    // The next action, up to and including its blank line.
    QByteArray aktion(int ms = 5000)
    {
        const auto da = [this] {
            puffer += socket->readAll();
            return puffer.contains("\r\n\r\n");
        };
        if (!socket || !QTest::qWaitFor(da, ms))
            return {};
        const QByteArray a = puffer.left(puffer.indexOf("\r\n\r\n") + 4);
        puffer.remove(0, a.size());
        return a;
    }
    void sende(const QByteArray &daten)
    {
        socket->write(daten);
        socket->flush();
    }
};

inline QByteArray block(const QStringList &felder)
{
    return felder.join(QStringLiteral("\r\n")).toUtf8() + "\r\n\r\n";
}
