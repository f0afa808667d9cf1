#pragma once

#include "core/Optionsschalter.h"
#include "core/modOptionen.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/IniSettingsStore.h"

#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"

#include <QTemporaryDir>

// What most subsystems are built on: a settings file of the test's own with
// the options over it, answered dialogs and a clipboard in memory.
struct Umgebung
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(QStringLiteral("Rufmon.conf"))};
    FakeSystem system;
    modOptionen optionen{store, system};
    Optionsschalter schalter{optionen, store};
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
};

// The number of the engine error a call raises; 0 for none.
template <typename F>
long fehlernummer(F f)
{
    try {
        f();
    } catch (const JetFehler &e) {
        return e.Number();
    }
    return 0;
}
