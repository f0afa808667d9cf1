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

// The file is read and written line by line as "[Section]" and "Key=Value",
// with the value taken exactly as it stands: no quoting, no list splitting
// and no ";" comments inside values, so that what a user types into the file
// by hand is what the program reads. Lines it cannot read are left out.
bool readPlain(QIODevice &device, QSettings::SettingsMap &map)
{
    QString section;
    while (!device.atEnd()) {
        QString line = QString::fromUtf8(device.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            section = trimmed.mid(1, trimmed.size() - 2).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || section.isEmpty())
            continue;
        const QString key = line.left(equals).trimmed();
        // A key may name a sub-item ("Location1/OutsideAccess").
        if (key.isEmpty())
            continue;
        map.insert(section + u'/' + key, line.mid(equals + 1));
    }
    return true;
}

bool writePlain(QIODevice &device, const QSettings::SettingsMap &map)
{
    QString section;
    QByteArray out;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(u'/');
        if (slash <= 0)
            continue;
        const QString keySection = it.key().left(slash);
        if (keySection != section) {
            if (!out.isEmpty())
                out += '\n';
            out += '[' + keySection.toUtf8() + "]\n";
            section = keySection;
        }
        QString value = it.value().typeId() == QMetaType::QStringList
                            ? it.value().toStringList().join(u',')
                            : it.value().toString();
        // One value, one line.
        value.replace(u'\r', u' ').replace(u'\n', u' ');
        out += it.key().mid(slash + 1).toUtf8() + '=' + value.toUtf8() + '\n';
    }
    return device.write(out) == out.size();
}

QSettings::Format plainFormat()
{
    static const QSettings::Format format = QSettings::registerFormat(u"conf"_s, readPlain, writePlain);
    return format;
}

} // namespace

IniSettingsStore::IniSettingsStore(const QString &filePath)
    : m_settings(preparedPath(filePath), plainFormat())
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
    const std::lock_guard sperre(m_mutex);
    const QVariant value = m_settings.value(settingsKey(section, key));
    if (!value.isValid())
        return defaultValue;
    return value.toString();
}

void IniSettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    const std::lock_guard sperre(m_mutex);
    m_settings.setValue(settingsKey(section, key), value);
}

void IniSettingsStore::RemoveSetting(const QString &section, const QString &key)
{
    const std::lock_guard sperre(m_mutex);
    m_settings.remove(settingsKey(section, key));
}

bool IniSettingsStore::sync()
{
    const QFileInfo info(m_settings.fileName());
    QDir().mkpath(info.absolutePath());
    const std::lock_guard sperre(m_mutex);
    m_settings.sync();
    return m_settings.status() != QSettings::AccessError;
}

QString IniSettingsStore::filePath() const
{
    return m_settings.fileName();
}
