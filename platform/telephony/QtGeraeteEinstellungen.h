#pragma once

#include "platform/telephony/GeraeteEinstellungen.h"

// The settings windows as modal Qt dialogs over the active window.
class QtGeraeteEinstellungen : public GeraeteEinstellungen
{
public:
    void Einstellen(LineDevice &device) override;
    void Waehlregeln(SettingsStore &settings) override;
};
