#include "windows/Protokollbefehl.h"

#include "windows/frmProtokoll.h"

Protokollbefehl::Protokollbefehl(const SystemFacilities &system, std::function<void(bool)> setzeHaken,
                                 QWidget *hauptfenster, QObject *parent)
    : QObject(parent)
    , m_system(system)
    , m_setzeHaken(std::move(setzeHaken))
    , m_hauptfenster(hauptfenster)
{
}

Protokollbefehl::~Protokollbefehl()
{
    // The window may outlive this object inside the main window; it must
    // not call back into it then.
    if (m_fenster)
        m_fenster->disconnect(this);
}

frmProtokoll *Protokollbefehl::Fenster() const
{
    return m_fenster;
}

void Protokollbefehl::mnuTAPIProtokoll(bool warGesetzt)
{
    if (warGesetzt) {
        if (m_setzeHaken)
            m_setzeHaken(false);
        Schliessen();
        return;
    }
    if (m_setzeHaken)
        m_setzeHaken(true);
    if (!m_fenster) {
        m_fenster = new frmProtokoll(m_system, m_hauptfenster);
        connect(m_fenster, &frmProtokoll::Geschlossen, this, [this] {
            if (m_setzeHaken)
                m_setzeHaken(false);
        });
    }
    m_fenster->show();
    m_fenster->raise();
}

void Protokollbefehl::PrintProtokoll(const QString &ereignis, const QString &werte)
{
    if (m_fenster)
        m_fenster->PrintProtokoll(ereignis, werte);
}

void Protokollbefehl::Schliessen()
{
    if (m_fenster)
        m_fenster->close();
}
