#include "platform/settings/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + u'/' + key;
}

} // namespace

namespace {

// A settings file that is no text at all (binary junk, a crashed editor's
// leftovers) would be carried along key by key; it is kept aside instead,
// so nothing the user had is lost and the program starts from defaults.
void setAsideIfBroken(const QString &filePath)
{
    QFile file(filePath);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.read(4 * 1024 * 1024);
    file.close();
    const bool binary = content.contains('\0');
    const bool utf8 = QUtf8StringView(content).isValidUtf8();
    if (!binary && utf8)
        return;
    const QString aside = filePath + u".defekt"_s;
    QFile::remove(aside);
    QFile::rename(filePath, aside);
}

QString preparedPath(const QString &filePath)
{
    setAsideIfBroken(filePath);
    return filePath;
}

} // namespace

IniSettingsStore::IniSettingsStore(const QString &filePath)
    : m_settings(preparedPath(filePath), QSettings::IniFormat)
{
}

QString IniSettingsStore::defaultFilePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + u"/Rufmon/Rufmon.conf"_s;
}

QString IniSettingsStore::GetSetting(const QString &section, const QString &key,
                                     const QString &defaultValue) const
{
    const QVariant value = m_settings.value(settingsKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited value with an unquoted comma comes back as a list; the
    // program stores plain text, so give it back as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void IniSettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    m_settings.setValue(settingsKey(section, key), value);
}

bool IniSettingsStore::sync()
{
    const QFileInfo info(m_settings.fileName());
    QDir().mkpath(info.absolutePath());
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

QString IniSettingsStore::filePath() const
{
    return m_settings.fileName();
}
