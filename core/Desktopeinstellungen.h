#pragma once

class SettingsStore;

// The switches of the desktop additions, in the settings section "Desktop"
// of their own: both on unless set to 0.
class Desktopeinstellungen
{
public:
    explicit Desktopeinstellungen(SettingsStore &store);

    // A notification for every identified call.
    bool Benachrichtigung() const;
    void setBenachrichtigung(bool an);
    // The icon in the desktop's system tray.
    bool Infobereich() const;

private:
    bool schalter(const char16_t *key) const;

    SettingsStore &m_store;
};
