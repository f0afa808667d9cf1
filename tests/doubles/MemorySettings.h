#pragma once

#include "platform/settings/SettingsStore.h"

#include <QHash>

// Settings that live in memory, open to the test as "section/key".
class MemorySettings : public SettingsStore
{
public:
    QHash<QString, QString> values;

    QString GetSetting(const QString &section, const QString &key, const QString &defaultValue) const override
    {
        return values.value(section + u'/' + key, defaultValue);
    }
    void SaveSetting(const QString &section, const QString &key, const QString &value) override
    {
        values.insert(section + u'/' + key, value);
    }
    void RemoveSetting(const QString &section, const QString &key) override { values.remove(section + u'/' + key); }
    bool sync() override { return true; }
};
