#pragma once

#include <optional>

struct Kommandozeile;

// The commands that end without a window: help, version, a wrong option,
// how the phone database splits numbers, and a call handed to the running
// program. Gives the exit code, or nothing when the window is to start.
// Needs no display and no widgets.
std::optional<int> Konsolenbefehl(const Kommandozeile &befehl, int argc, char **argv);
