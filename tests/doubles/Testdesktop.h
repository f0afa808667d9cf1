#pragma once

#include "doubles/Begleitprozess.h"
#include "doubles/XvfbServer.h"

#include <QProcess>
#include <QString>

// A desktop of the test's own: an X server with the window manager openbox,
// and a system tray (trayer, a panel of just a tray) that the test starts
// and ends when it likes. Without one of the programs `laeuft()` is false
// and `grund()` says which Debian package is missing.
class Testdesktop
{
public:
    Testdesktop();
    ~Testdesktop();
    Testdesktop(const Testdesktop &) = delete;
    Testdesktop &operator=(const Testdesktop &) = delete;

    bool laeuft() const { return m_grund.isEmpty(); }
    QString grund() const { return m_grund; }
    // The DISPLAY of the desktop, for programs started on it.
    QString anzeige() const { return QString::fromLocal8Bit(qgetenv("DISPLAY")); }

    bool starteTray();
    void beendeTray();
    bool trayLaeuft() const { return m_tray.state() != QProcess::NotRunning; }

private:
    static void beende(QProcess &p);

    XvfbServer m_x;
    Begleitprozess m_fensterverwaltung;
    Begleitprozess m_tray;
    QString m_grund;
};
