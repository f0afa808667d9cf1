#pragma once

#include "platform/telephony/GeraeteEinstellungen.h"

#include <QString>

// The settings windows as modal Qt dialogs over the active window.
class QtGeraeteEinstellungen : public GeraeteEinstellungen
{
public:
    void Einstellen(LineDevice &device) override;
    void Waehlregeln(SettingsStore &settings) override;
    QString Hinzufuegen(SettingsStore &settings, Kennwortspeicher &kennwoerter) override;
};
