#include "platform/system/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString Autostart::Eintrag()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart/rufmon.desktop"_s;
}

bool Autostart::eingerichtet()
{
    return QFileInfo::exists(Eintrag());
}

bool Autostart::setzen(bool an, const QString &programm)
{
    const QString pfad = Eintrag();
    if (!an)
        return !QFileInfo::exists(pfad) || QFile::remove(pfad);
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    // Exec takes a quoted path when it holds blanks; quotes and backslashes escaped.
    QString exec = programm;
    if (exec.contains(u' ') || exec.contains(u'"') || exec.contains(u'\\')) {
        exec.replace(u"\\"_s, u"\\\\\\\\"_s).replace(u"\""_s, u"\\\\\""_s);
        exec = u'"' + exec + u'"';
    }
    const QString text = u"[Desktop Entry]\n"
                         u"Type=Application\n"
                         u"Name=Rufmon\n"
                         u"Comment=Anrufmonitor für ACT!\n"
                         u"Exec="_s
                         + exec + u"\n"
                                  u"Icon=rufmon\n"
                                  u"Terminal=false\n"
                                  u"X-GNOME-Autostart-enabled=true\n"_s;
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    datei.write(text.toUtf8());
    return datei.commit();
}
