#pragma once

#include <QByteArray>
#include <QFile>

// Whole files as the tests write and read them: the bytes of a file (empty
// when it cannot be read), and a file written anew with the given bytes.
inline QByteArray dateiInhalt(const QString &pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

inline bool schreibeDatei(const QString &pfad, const QByteArray &inhalt)
{
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly | QIODevice::Truncate) && datei.write(inhalt) == inhalt.size();
}
