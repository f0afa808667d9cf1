#pragma once

#include "platform/telephony/TelefonanlageDevice.h"

#include <QString>

#include <optional>

class Kennwortspeicher;
class LineDevice;
class SettingsStore;

// Lines added and removed in the program: written to the settings with the
// keys a user would write by hand ("Anrufmonitore", "Modems",
// "TelefonanlageN/…" in "Telefonie"), passwords to the keyring only.
class Leitungseinrichtung
{
public:
    Leitungseinrichtung(SettingsStore &settings, Kennwortspeicher *kennwoerter);

    // Each adds one line and returns the name its device will have; empty
    // when nothing could be added.
    QString anrufmonitor(const Endpunkt &router);
    // A system at an address already set up gets its group of keys rewritten.
    QString telefonanlage(TelefonanlageDevice::Anlage anlage, const std::optional<QString> &kennwort);
    QString modem(const QString &port);

    // Why the device cannot be removed; empty when it can.
    QString nichtEntfernbar(const LineDevice &device) const;
    // Takes the device's keys out of the settings and its password out of
    // the keyring; false when it is not one to remove.
    bool entfernen(const LineDevice &device);

private:
    SettingsStore &m_settings;
    Kennwortspeicher *m_kennwoerter;
};
