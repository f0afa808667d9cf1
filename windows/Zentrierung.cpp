#include "windows/Zentrierung.h"

#include "windows/Fensterplatz.h"

#include <QEvent>
#include <QWidget>

namespace {

// Long enough for a busy desktop to frame a window, short enough that a
// window the user has moved meanwhile is not pulled back later.
constexpr int WacheMs = 2000;
constexpr int WacheTaktMs = 25;

} // namespace

Zentrierung::Zentrierung(QWidget *fenster, const QWidget *ueber, Dauer dauer)
    : QObject(fenster)
    , m_fenster(fenster)
    , m_ueber(ueber)
    , m_dauer(dauer)
{
    m_wache.setInterval(WacheTaktMs);
    connect(&m_wache, &QTimer::timeout, this, &Zentrierung::rahmenPruefen);
    fenster->installEventFilter(this);
    zentrieren();
}

void Zentrierung::zentrieren()
{
    if (!m_aktiv)
        return;
    m_rahmen = rahmen();
    Fensterplatz::Zentrieren(m_fenster, m_ueber);
}

QMargins Zentrierung::rahmen() const
{
    const QRect aussen = m_fenster->frameGeometry();
    const QRect innen = m_fenster->geometry();
    return QMargins(innen.left() - aussen.left(), innen.top() - aussen.top(), aussen.right() - innen.right(),
                    aussen.bottom() - innen.bottom());
}

void Zentrierung::rahmenPruefen()
{
    if (!m_aktiv || !m_fenster->isVisible() || m_seitZeigen.elapsed() > WacheMs) {
        m_wache.stop();
        if (m_dauer == Dauer::ErstesZeigen)
            m_aktiv = false;
        return;
    }
    const QMargins jetzt = rahmen();
    // Until the desktop has framed the window, a move would put its inside
    // where the frame belongs.
    if (jetzt != m_rahmen && !jetzt.isNull())
        zentrieren();
}

bool Zentrierung::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_fenster || !m_aktiv)
        return false;
    if (event->type() == QEvent::Show) {
        m_seitZeigen.start();
        m_rahmen = QMargins();
        rahmenPruefen();
        m_wache.start();
    } else if (event->type() == QEvent::Move && m_wache.isActive()) {
        rahmenPruefen();
    }
    return false;
}
