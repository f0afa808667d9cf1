#include "platform/benachrichtigung/Programmsymbol.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// Where below a data folder the icon lies, the sizes a notification looks best in first.
const QStringList Symbolpfade = {u"icons/hicolor/128x128/apps/rufmon.png"_s, u"icons/hicolor/48x48/apps/rufmon.png"_s,
                                 u"icons/hicolor/scalable/apps/rufmon.svg"_s, u"pixmaps/rufmon.png"_s,
                                 u"pixmaps/rufmon.svg"_s};

QString erstesBild(const QString &ordner)
{
    for (const QString &pfad : Symbolpfade) {
        const QFileInfo bild(QDir(ordner).filePath(pfad));
        if (bild.isFile() && bild.isReadable())
            return bild.absoluteFilePath();
    }
    return {};
}

} // namespace

QString Programmsymbol::Name()
{
    return u"rufmon"_s;
}

bool Programmsymbol::imThema(const QStringList &datenordner)
{
    const QStringList ordner = datenordner.isEmpty()
                                   ? QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)
                                   : datenordner;
    for (const QString &o : ordner) {
        if (!erstesBild(o).isEmpty())
            return true;
    }
    return false;
}

QString Programmsymbol::Datei(const QString &programmordner)
{
    if (programmordner.isEmpty())
        return {};
    // Built and installed alike, the share folder lies beside bin.
    return erstesBild(QDir(programmordner).filePath(u"../share"_s));
}

QString Programmsymbol::Bild(const QString &programmordner, const QStringList &datenordner)
{
    return imThema(datenordner) ? QString() : Datei(programmordner);
}
