#pragma once

#include "app/frmHaupt.h"
#include "core/Optionsschalter.h"
#include "core/modOptionen.h"
#include "platform/settings/IniSettingsStore.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/ScriptedDialogs.h"

#include <QTemporaryDir>

#include <memory>

// A main window with everything it needs, fresh for each test: its own
// settings file, answered dialogs, a fake line and a journal of the
// subsystem calls.
struct Testfenster
{
    QTemporaryDir dir;
    std::unique_ptr<IniSettingsStore> store;
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    FakeSystem system;
    QStringList journal;
    FakeTapi tapi{&journal};
    RecordingTeilsysteme teile{&journal};
    // Made with the window, from the settings as they are then, as at a start.
    std::unique_ptr<modOptionen> optionen;
    std::unique_ptr<Optionsschalter> schalter;
    std::unique_ptr<frmHaupt> fenster;
    // The line's side over the window, as the program makes it.
    std::unique_ptr<Leitungsteile> leitung;

    Testfenster();

    QString konfiguration() const;
    void setze(const QString &abschnitt, const QString &key, const QString &wert);
    frmHaupt &erstelle();
    frmHaupt &starte();
    // The settings file as another program would read it after exit.
    QString gespeichert(const QString &abschnitt, const QString &key) const;
};
