#include "windows/Telefonieprotokollbefehl.h"

#include "core/Optionsschalter.h"
#include "windows/frmProtokoll.h"

namespace {

constexpr auto Protokollieren = Optionsschalter::Schalter::Telefonieprotokoll;

} // namespace

Telefonieprotokollbefehl::Telefonieprotokollbefehl(const SystemFacilities &system, Optionsschalter &schalter,
                                                   QWidget *hauptfenster, QObject *parent)
    : QObject(parent)
    , m_system(system)
    , m_schalter(schalter)
    , m_hauptfenster(hauptfenster)
{
}

Telefonieprotokollbefehl::~Telefonieprotokollbefehl()
{
    // The window may outlive this object inside the main window; it must
    // not call back into it then.
    if (m_fenster)
        m_fenster->disconnect(this);
}

frmProtokoll *Telefonieprotokollbefehl::Fenster() const
{
    return m_fenster;
}

void Telefonieprotokollbefehl::mnuTAPIProtokoll(bool warGesetzt)
{
    if (warGesetzt) {
        m_schalter.setzen(Protokollieren, false);
        Schliessen();
        return;
    }
    m_schalter.setzen(Protokollieren, true);
    if (!m_fenster) {
        m_fenster = new frmProtokoll(m_system, m_hauptfenster);
        connect(m_fenster, &frmProtokoll::Geschlossen, this, [this] { m_schalter.setzen(Protokollieren, false); });
    }
    m_fenster->show();
    m_fenster->raise();
}

void Telefonieprotokollbefehl::PrintProtokoll(const QString &ereignis, const QString &werte)
{
    if (m_fenster)
        m_fenster->PrintProtokoll(ereignis, werte);
}

void Telefonieprotokollbefehl::Schliessen()
{
    if (m_fenster)
        m_fenster->close();
}
