#pragma once

#include <QString>
#include <QStringList>

// The program's icon as the desktop finds it: by its name where an icon
// theme holds it (an installed program), else as a picture file of the
// program's own — beside it in the build tree, or in the share folder of a
// prefix the desktop does not search.
class Programmsymbol
{
public:
    // The icon's name in the icon theme.
    static QString Name();
    // Whether an icon folder of these data folders (XDG_DATA_HOME and
    // XDG_DATA_DIRS when none are given) holds the icon under its name.
    static bool imThema(const QStringList &datenordner = {});
    // A picture of the icon that the desktop can load, for a program in
    // `programmordner`; empty when there is none.
    static QString Datei(const QString &programmordner);
    // The picture to hand the desktop besides the name: none where the theme
    // has the icon, else Datei().
    static QString Bild(const QString &programmordner, const QStringList &datenordner = {});
};
