#include "Testdesktop.h"

#include "platform/desktop/X11Desktop.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A window manager names its check window on the root once it manages windows.
bool fensterverwaltungBereit()
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
    return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
}

} // namespace

Testdesktop::Testdesktop()
{
    if (!m_x.laeuft()) {
        m_grund = m_x.grund();
        return;
    }
    for (const auto &[programm, paket] : {std::pair{u"openbox"_s, u"openbox"_s}, std::pair{u"trayer"_s, u"trayer"_s},
                                          std::pair{u"xprop"_s, u"x11-utils"_s}}) {
        if (QStandardPaths::findExecutable(programm).isEmpty()) {
            m_grund = programm + u" fehlt (Debian-Paket "_s + paket + u')';
            return;
        }
    }
    m_fensterverwaltung.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_fensterverwaltung.start(u"openbox"_s, {u"--sm-disable"_s});
    if (!m_fensterverwaltung.waitForStarted(10000)
        || !QTest::qWaitFor(fensterverwaltungBereit, 15000))
        m_grund = u"openbox startet nicht"_s;
}

Testdesktop::~Testdesktop()
{
    beende(m_tray);
    beende(m_fensterverwaltung);
}

bool Testdesktop::starteTray()
{
    m_tray.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_tray.start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s, u"--widthtype"_s, u"request"_s,
                               u"--height"_s, u"32"_s, u"--SetDockType"_s, u"true"_s, u"--expand"_s, u"true"_s});
    if (!m_tray.waitForStarted(10000))
        return false;
    // The tray is there once its window is.
    X11Desktop desktop;
    return QTest::qWaitFor([&desktop] { return desktop.Finde(u"trayer"_s, u"panel"_s) != 0; }, 15000);
}

void Testdesktop::beendeTray()
{
    beende(m_tray);
}

void Testdesktop::beende(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}
