#pragma once

#include "platform/telephony/AmiNachricht.h"

#include <QByteArray>
#include <QCryptographicHash>
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
    // Answers the challenge and the login as a system with that secret does
    // (with `md5` false it refuses the challenge); the login as sent, or
    // empty when the first action is no challenge or no login follows.
    QByteArray anmelden(const QString &secret, bool md5 = true)
    {
        const QByteArray challenge = aktion();
        const QByteArray id = AmiNachricht::lies(challenge).wert(u"ActionID").toUtf8();
        if (AmiNachricht::lies(challenge).wert(u"Action") != QStringLiteral("Challenge"))
            return {};
        sende(md5 ? "Response: Success\r\nActionID: " + id + "\r\nChallenge: 840215\r\n\r\n"
                  : "Response: Error\r\nActionID: " + id + "\r\nMessage: Must specify AuthType\r\n\r\n");
        const QByteArray login = aktion();
        const AmiNachricht n = AmiNachricht::lies(login);
        const QString key = QString::fromLatin1(
            QCryptographicHash::hash("840215" + secret.toUtf8(), QCryptographicHash::Md5).toHex());
        const bool richtig = md5 ? n.wert(u"Key") == key : n.wert(u"Secret") == secret;
        sende("Response: " + QByteArray(richtig ? "Success" : "Error") + "\r\nActionID: "
              + n.wert(u"ActionID").toUtf8() + "\r\nMessage: Authentication " + (richtig ? "accepted" : "failed")
              + "\r\n\r\n");
        if (!richtig)
            socket->disconnectFromHost();
        return login;
    }
};

inline QByteArray block(const QStringList &felder)
{
    return felder.join(QStringLiteral("\r\n")).toUtf8() + "\r\n\r\n";
}
