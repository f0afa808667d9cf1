#include "windows/Protokollbefehl.h"

#include "core/Optionsschalter.h"
#include "windows/frmProtokoll.h"

namespace {

constexpr auto Protokoll = Optionsschalter::Schalter::Protokoll;

} // namespace

Protokollbefehl::Protokollbefehl(const SystemFacilities &system, Optionsschalter &schalter, QWidget *hauptfenster,
                                 QObject *parent)
    : QObject(parent)
    , m_system(system)
    , m_schalter(schalter)
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
        m_schalter.setzen(Protokoll, false);
        Schliessen();
        return;
    }
    m_schalter.setzen(Protokoll, true);
    if (!m_fenster) {
        m_fenster = new frmProtokoll(m_system, m_hauptfenster);
        connect(m_fenster, &frmProtokoll::Geschlossen, this, [this] { m_schalter.setzen(Protokoll, false); });
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
