#pragma once

#include "platform/actole/ActAutomation.h"

#include <QObject>

#include <memory>

class ActDatenbankAdapter;
class ActWahlDesktop;
class Desktop;
class Dialogs;
class SettingsStore;
class WineAutomation;
class WineBruecke;
class WineDesktop;
class WineUmgebung;

// Which ACT! the program talks to: the one that runs under Wine in the
// user's prefix, through the bridge, whenever Wine and a prefix are there and
// ACT!'s main window is found in it; otherwise the Linux adapter over the
// database files. The dialogs of the ACT! that is in use are worked on its
// desktop: Wine's, or X11's for programs that are not under Wine. A bridge
// that fails for good is reported once.
class ActWahl : public QObject, public ActAutomation
{
    Q_OBJECT
public:
    // `x11`: the desktop of the programs that are not under Wine.
    ActWahl(SettingsStore &settings, Dialogs &dialogs, ActDatenbankAdapter &linux, Desktop &x11,
            QObject *parent = nullptr);
    ~ActWahl() override;

    bool Hauptfenster(const QString &titeltext) override;
    std::shared_ptr<ActObjekt> ErstelleObjekt() override;
    bool NachVorne(const QString &titeltext) override;

    // The desktop on which ACT!'s dialogs are found and typed into.
    Desktop &desktop();
    // ACT! was found under Wine at the last look.
    bool unterWine() const { return m_unterWine; }
    const WineUmgebung &umgebung() const { return *m_umgebung; }
    WineBruecke &bruecke() { return *m_bruecke; }

private:
    // Looks afresh whether ACT!'s main window is in the Wine prefix.
    bool pruefeWine();

    Dialogs &m_dialogs;
    ActDatenbankAdapter &m_linux;
    std::unique_ptr<WineUmgebung> m_umgebung;
    std::unique_ptr<WineBruecke> m_bruecke;
    std::unique_ptr<WineDesktop> m_wineDesktop;
    std::unique_ptr<WineAutomation> m_wine;
    Desktop &m_x11;
    std::unique_ptr<ActWahlDesktop> m_desktop;
    bool m_unterWine = false;
};
