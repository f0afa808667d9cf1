#include "app/Rufmon.h"

#include "app/Infobereich.h"
#include "app/frmHaupt.h"
#include "core/Desktopeinstellungen.h"
#include "platform/telephony/TelephonyControl.h"

using namespace Qt::StringLiterals;

Rufmon::Rufmon(const RufmonUmgebung &u)
    : m_teile(u.dialogs, u.clipboard, u.store, u.system)
{
    m_fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, u.tapi, m_teile});
    m_teile.verbinde(*m_fenster, u.tapi, u.benachrichtigungen);
    m_infobereich = std::make_unique<Infobereich>(*m_fenster, u.tapi, Desktopeinstellungen(u.store).Infobereich());
    if (auto *steuerung = qobject_cast<TelephonyControl *>(&u.tapi)) {
        steuerung->setEinstellungen(&m_einstellungen);
        // What the devices note beyond call events goes to the telephony log.
        frmHaupt *fenster = m_fenster.get();
        QObject::connect(steuerung, &TelephonyControl::Diagnose, fenster, [fenster](const QString &text) {
            if (fenster->Protokolliert())
                fenster->PrintProtokoll(u"Diagnose"_s, text);
        });
    }
}

Rufmon::~Rufmon()
{
    // The window goes first: closing it still uses the subsystems.
    m_infobereich.reset();
    m_fenster.reset();
}

void Rufmon::starten()
{
    m_fenster->Form_Load();
    m_teile.StartAbgeschlossen();
    m_fenster->show();
}
