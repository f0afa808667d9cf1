#pragma once

#include "app/Programmteile.h"
#include "platform/telephony/QtGeraeteEinstellungen.h"

#include <memory>

class Benachrichtigungen;
class Clipboard;
class Desktop;
class Dialogs;
class SettingsStore;
class SystemFacilities;
class topTapi;
class frmHaupt;
class Infobereich;
class Kennwortspeicher;
class Teamanbindung;

// What the program is built on; all of it outlives the program.
struct RufmonUmgebung
{
    SettingsStore &store;
    Dialogs &dialogs;
    Clipboard &clipboard;
    SystemFacilities &system;
    topTapi &tapi;
    // The desktop's windows and keys (X11).
    Desktop &desktop;
    // The desktop's notifications; none: calls are not announced.
    Benachrichtigungen *benachrichtigungen = nullptr;
    // The keyring for the team journal's password; none: no password.
    Kennwortspeicher *kennwoerter = nullptr;
};

// The whole program, built once: the subsystems, the main window, their
// wiring, and the start sequence. The program entry, the tests and the
// benchmarks build it the same way.
class Rufmon
{
public:
    explicit Rufmon(const RufmonUmgebung &umgebung);
    ~Rufmon();

    // Loads the window (options, phone database, ACT!, line devices) and shows it.
    void starten();
    // Runs the program until its main window closes; the exit code.
    int laufen();

    frmHaupt &Fenster() { return *m_fenster; }
    Infobereich &Infosymbol() { return *m_infobereich; }
    Programmteile &Teile() { return m_teile; }
    Teamanbindung &Team() { return *m_team; }

private:
    QtGeraeteEinstellungen m_einstellungen;
    bool m_ortszeitFest;
    Programmteile m_teile;
    std::unique_ptr<frmHaupt> m_fenster;
    std::unique_ptr<Infobereich> m_infobereich;
    std::unique_ptr<Teamanbindung> m_team;
};
