#include "phonedb/NummernMdbOrt.h"

#include "phonedb/DiagnosePhonedb.h"
#include "phonedb/NummernMdbAuffrischung.h"
#include "platform/jet/JetFehler.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString NummernMdbOrt::Benutzerkopie()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Rufmon/Nummern.mdb"_s;
}

QString NummernMdbOrt::Vorlage(const QString &programmordner)
{
    const QString vorlage = QDir(programmordner).absoluteFilePath(u"../share/rufmon/Nummern.mdb"_s);
    return QFileInfo::exists(vorlage) ? QDir::cleanPath(vorlage) : QString();
}

QString NummernMdbOrt::Bereitstellen(const QString &programmordner)
{
    const QString pfad = Pfad(programmordner);
    const QString vorlage = Vorlage(programmordner);
    if (vorlage.isEmpty())
        return pfad;
    try {
        if (NummernMdbAuffrischung::auffrischen(pfad, vorlage))
            qCInfo(lcPhonedb).noquote() << u"Vorwahlen und Länder von %1 aufgefrischt"_s.arg(pfad);
    } catch (const JetFehler &e) {
        // The file stays as it was; the program goes on with the tables it has.
        qCWarning(lcPhonedb).noquote() << u"%1 nicht aufgefrischt: %2 %3"_s.arg(pfad, QString::number(e.Number()),
                                                                             e.Description());
    }
    return pfad;
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
