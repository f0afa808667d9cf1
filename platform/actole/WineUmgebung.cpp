#include "platform/actole/WineUmgebung.h"

#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

WineUmgebung::WineUmgebung(const SettingsStore &settings)
    : m_settings(settings)
{
}

QString WineUmgebung::Abschnitt()
{
    return u"ACT"_s;
}

QString WineUmgebung::Praefix() const
{
    QString praefix = m_settings.GetSetting(Abschnitt(), u"WinePrefix"_s, QString()).trimmed();
    if (praefix.isEmpty())
        praefix = qEnvironmentVariable("WINEPREFIX");
    if (praefix.isEmpty())
        praefix = QDir::homePath() + u"/.wine"_s;
    return QDir::cleanPath(praefix);
}

QString WineUmgebung::Wine() const
{
    const QString wine = m_settings.GetSetting(Abschnitt(), u"Wine"_s, QString()).trimmed();
    if (wine.isEmpty())
        return QStandardPaths::findExecutable(u"wine"_s);
    if (wine.contains(u'/'))
        return QFileInfo(wine).isExecutable() ? wine : QString();
    return QStandardPaths::findExecutable(wine);
}

QString WineUmgebung::Bruecke() const
{
    const QString pfad = QCoreApplication::applicationDirPath() + u"/rufmon-bruecke.exe"_s;
    return QFileInfo::exists(pfad) ? pfad : QString();
}

bool WineUmgebung::nutzbar() const
{
    // Wine writes system.reg when it makes a prefix; a folder alone is no prefix.
    return QFileInfo::exists(Praefix() + u"/system.reg"_s) && !Wine().isEmpty() && !Bruecke().isEmpty();
}

QString WineUmgebung::LinuxPfad(const QString &windowsPfad) const
{
    QString pfad = windowsPfad.trimmed();
    pfad.replace(u'\\', u'/');
    if (pfad.size() < 2 || pfad[1] != u':' || !pfad[0].isLetter())
        return QString();
    // The drive is a link in the prefix's dosdevices, named in lower case.
    QString ort = Praefix() + u"/dosdevices/"_s + pfad.left(2).toLower();
    if (!QFileInfo(ort).isDir())
        return QString();
    const QStringList teile = pfad.mid(2).split(u'/', Qt::SkipEmptyParts);
    for (const QString &teil : teile) {
        const QString genau = ort + u'/' + teil;
        if (QFileInfo::exists(genau)) {
            ort = genau;
            continue;
        }
        QString gefunden;
        const QDir ordner(ort);
        for (const QString &name : ordner.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (name.compare(teil, Qt::CaseInsensitive) == 0) {
                gefunden = name;
                break;
            }
        }
        if (gefunden.isEmpty())
            return QString();
        ort += u'/' + gefunden;
    }
    return QFileInfo(ort).canonicalFilePath();
}
