#pragma once

#include <QStringList>

class TelephonyControl;

// Longest number a hand-over may carry; a telephone number is far shorter.
inline constexpr qsizetype UebergabeHoechstlaenge = 255;

// Whether the running program can take a hand-over: a call onto its
// simulator line, or a contact table that exists. Empty when it can (or for
// a plain second start), otherwise the reason in German.
QString PruefeUebergabe(const QStringList &uebergabe, const TelephonyControl &tapi);

// What a second start of the program hands to the running one: a call or a
// connected number for the simulator. False when the arguments are no such
// hand-over (a plain second start, which asks for the window).
bool FuehreUebergabeAus(const QStringList &uebergabe, TelephonyControl &tapi);
