#pragma once

#include "platform/settings/SettingsStore.h"

#include <QSettings>

#include <mutex>

// The settings store as an INI file, by default
// $XDG_CONFIG_HOME/Rufmon/Rufmon.conf. The searches on the search thread
// read options too: every access goes through one lock.
class IniSettingsStore : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &filePath = defaultFilePath());

    static QString defaultFilePath();

    QString GetSetting(const QString &section, const QString &key,
                       const QString &defaultValue) const override;
    void SaveSetting(const QString &section, const QString &key, const QString &value) override;
    void RemoveSetting(const QString &section, const QString &key) override;
    bool sync() override;

    QString filePath() const;

private:
    mutable std::mutex m_mutex;
    mutable QSettings m_settings;
};
