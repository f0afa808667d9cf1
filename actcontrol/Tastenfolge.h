#pragma once

#include "platform/desktop/Desktop.h"

#include <QString>

#include <vector>

// A key macro in the program's key notation, read into key presses:
// ordinary characters type themselves; "+", "^" and "%" hold Shift, Ctrl and
// Alt for the next key or for a group in parentheses; "{NAME}" is a named
// key, "{NAME n}" that key n times, "{+}" and the like the character itself;
// "~" is Enter. A fault ends the reading: the keys before it are kept.
struct Tastenfolge
{
    std::vector<Tastendruck> tasten;
    // 1-based position of the character where the fault lies; 0 without fault.
    int fehlerStelle = 0;
    QString fehler;
    // The desktop did not take every key (no fault of the macro): the rest
    // would go who knows where.
    bool nichtGetippt = false;

    bool fehlerfrei() const { return fehlerStelle == 0; }

    static Tastenfolge lies(const QString &text);
};
