#pragma once

#include <QAbstractSocket>
#include <QString>

// Why a connection to a telephone system ended, in the words of the
// telephony log; Qt's own text for anything rarer.
QString Socketfehler(QAbstractSocket::SocketError error, const QString &fallback);
