#pragma once

#include <QStringList>

class TelephonyControl;

// What a second start of the program hands to the running one: a call or a
// connected number for the simulator. False when the arguments are no such
// hand-over (a plain second start, which asks for the window).
bool FuehreUebergabeAus(const QStringList &uebergabe, TelephonyControl &tapi);
