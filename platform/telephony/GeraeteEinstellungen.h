#pragma once

class Kennwortspeicher;
class LineDevice;
class QString;
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
    // Sets up a new line (router, telephone system, modem) and writes it to
    // the settings, its password to the keyring; the name its device will
    // have, or empty when the user set up none.
    virtual QString Hinzufuegen(SettingsStore &settings, Kennwortspeicher &kennwoerter) = 0;
};
