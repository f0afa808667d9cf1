#pragma once

#include "app/Teilsysteme.h"
#include "app/modOptionen.h"
#include "phonedb/clRufmonDaten.h"

class Dialogs;
class SettingsStore;
class SystemFacilities;

// The subsystems as this build of the program has them. A subsystem that is
// not part of the build leaves its step out; the window still comes up.
class Programmteile : public Teilsysteme
{
public:
    Programmteile(Dialogs &dialogs, SettingsStore &store, const SystemFacilities &system);

    void TelefondatenOeffnen(const QString &pfad, ListView &lvNummern) override;
    void TelefondatenSchliessen() override;
    void TelefonfelderLaden() override;
    void TelefonfelderSchliessen() override;
    void ACTMonitorInitialisieren() override;
    void PruefeACTDatenbank() override;
    void ErstelleNummernCache() override;
    void ProtokollfensterSchliessen() override;
    clRufmonDaten *Telefondaten() override;

private:
    Dialogs &m_dialogs;
    modOptionen m_optionen;
    clRufmonDaten m_telefondaten;
};
