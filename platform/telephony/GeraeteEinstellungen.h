#pragma once

class LineDevice;
class SettingsStore;

// The settings windows of the line devices and of the dialing rules. The
// telephony control only asks for them, so that it needs no widgets; the
// program hands in the windows, tests leave them out.
class GeraeteEinstellungen
{
public:
    virtual ~GeraeteEinstellungen() = default;

    // The device's own settings (host and port; port, speed, init string).
    virtual void Einstellen(LineDevice &device) = 0;
    virtual void Waehlregeln(SettingsStore &settings) = 0;
};
