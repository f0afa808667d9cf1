#pragma once

#include <memory>
#include <vector>

class Dialogs;
class Kennwortspeicher;
class LineDevice;
class SettingsStore;

// What the line devices of one kind are made from.
struct Geraeteumgebung
{
    SettingsStore &settings;
    Kennwortspeicher &kennwoerter;
    Dialogs *dialogs = nullptr;
};

// A kind of line (router call monitor, telephone system, modem, ...): the
// devices of that kind the settings name. Each kind registers one of these
// with the telephony control.
using Geraeteart = std::vector<std::unique_ptr<LineDevice>> (*)(const Geraeteumgebung &umgebung);
