#include "phonedb/NummernMdbOrt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString NummernMdbOrt::Benutzerkopie()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Rufmon/Nummern.mdb"_s;
}

QString NummernMdbOrt::Pfad(const QString &programmordner)
{
    const QString daneben = programmordner + u"/Nummern.mdb"_s;
    if (QFileInfo::exists(daneben) && QFileInfo(programmordner).isWritable())
        return daneben;

    const QString kopie = Benutzerkopie();
    if (QFileInfo::exists(kopie))
        return kopie;
    QString vorlage = daneben;
    if (!QFileInfo::exists(vorlage))
        vorlage = QDir(programmordner).absoluteFilePath(u"../share/rufmon/Nummern.mdb"_s);
    if (!QFileInfo::exists(vorlage))
        return daneben; // opening it reports what is missing
    QDir().mkpath(QFileInfo(kopie).absolutePath());
    if (!QFile::copy(vorlage, kopie))
        return daneben;
    QFile::setPermissions(kopie, QFile::ReadOwner | QFile::WriteOwner);
    return kopie;
}
