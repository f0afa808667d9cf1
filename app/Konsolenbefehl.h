#pragma once

#include <optional>

struct Kommandozeile;

// The commands that end without a window: help, version, a wrong option,
// how the phone database splits numbers, a call handed to the running
// program, and a contact table that does not exist. Without `fenster` (no
// display, or a program without windows) a contact table is handed to the
// running program as well. Gives the exit code, or nothing when the window
// is to start. Needs no display and no widgets.
std::optional<int> Konsolenbefehl(const Kommandozeile &befehl, int argc, char **argv, bool fenster);

// Whether a window can be shown: Qt is told a platform, or the session has a
// display to connect to.
bool AnzeigeVorhanden();
