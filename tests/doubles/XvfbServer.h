#pragma once

#include "doubles/Begleitprozess.h"

#include <QByteArray>
#include <QString>

// A virtual X server of the test's own, and DISPLAY pointing at it while it
// lives. When none can be started, `laeuft()` is false and `grund()` says why.
class XvfbServer
{
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    bool laeuft() const { return !m_anzeige.isEmpty(); }
    QString grund() const { return m_grund; }

private:
    Begleitprozess m_prozess;
    QString m_anzeige;
    QString m_grund;
    QByteArray m_vorher;
    bool m_hatteVorher = false;
};

// Skips the running test when there is no X server.
#define BRAUCHT_X(server)                                                                                              \
    if (!(server).laeuft())                                                                                            \
    QSKIP(qPrintable((server).grund()))
