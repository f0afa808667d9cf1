#include "windows/Zentrierung.h"

#include "windows/Fensterplatz.h"

#include <QEvent>
#include <QWidget>

Zentrierung::Zentrierung(QWidget *fenster, const QWidget *ueber, Dauer dauer)
    : QObject(fenster)
    , m_fenster(fenster)
    , m_ueber(ueber)
    , m_dauer(dauer)
{
    fenster->installEventFilter(this);
    zentrieren();
}

void Zentrierung::zentrieren()
{
    if (m_aktiv)
        Fensterplatz::Zentrieren(m_fenster, m_ueber);
}

bool Zentrierung::rahmenBekannt() const
{
    return m_fenster->frameGeometry() != m_fenster->geometry();
}

bool Zentrierung::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_fenster || !m_aktiv)
        return false;
    bool jetzt = false;
    if (event->type() == QEvent::Show) {
        // Until the desktop has framed the window, a move would put its
        // inside where the frame belongs.
        m_rahmenOffen = !rahmenBekannt();
        jetzt = !m_rahmenOffen;
    } else if (event->type() == QEvent::Move && m_rahmenOffen && rahmenBekannt()) {
        m_rahmenOffen = false;
        jetzt = true;
    }
    if (jetzt) {
        zentrieren();
        if (m_dauer == Dauer::ErstesZeigen)
            m_aktiv = false;
    }
    return false;
}
