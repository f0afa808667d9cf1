#pragma once

#include <QString>

// The desktop's autostart entry for the program
// ($XDG_CONFIG_HOME/autostart/rufmon.desktop): whether it starts when the
// user logs in.
class Autostart
{
public:
    static QString Eintrag();
    static bool eingerichtet();
    // Writes the entry that starts `programm`, or removes it; false when the
    // file could not be written or removed.
    static bool setzen(bool an, const QString &programm);
};
