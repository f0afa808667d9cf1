#pragma once

#include <QString>

// The per-user settings store: text values addressed by section and key,
// under the application "Rufmon". Nothing else (no enumeration) is needed by
// the program.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString GetSetting(const QString &section, const QString &key,
                               const QString &defaultValue) const = 0;
    virtual void SaveSetting(const QString &section, const QString &key, const QString &value) = 0;
    // The key goes from the store (a line removed with its settings).
    virtual void RemoveSetting(const QString &section, const QString &key) = 0;
    // Writes pending changes to permanent storage; true when they are there.
    virtual bool sync() = 0;
};
