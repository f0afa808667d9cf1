#pragma once

#include <QString>

// The per-user settings store: text values addressed by section and key,
// under the application "Rufmon". Nothing else (no enumeration, no deletion)
// is needed by the program.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString GetSetting(const QString &section, const QString &key,
                               const QString &defaultValue) const = 0;
    virtual void SaveSetting(const QString &section, const QString &key, const QString &value) = 0;
    // Writes pending changes to permanent storage; true when they are there.
    virtual bool sync() = 0;
};
