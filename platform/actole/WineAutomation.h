#pragma once

#include "platform/actole/ActAutomation.h"

class ActDatenbankAdapter;
class WineBruecke;
class WineDesktop;
class WineUmgebung;

// ACT! as it runs under Wine, reached through the bridge: its main window
// found by its Win32 class "act3.0frameclass" and the caption, its automation
// object ACTOLE.APPOBJECT created as a local server and called by member
// name. The database ACT! names is a Windows path; it comes back as the Linux
// path of the same file in the prefix. A database set in the settings
// ([ACT] Datenbank) takes the place of the one ACT! names.
class WineAutomation : public ActAutomation
{
public:
    WineAutomation(WineBruecke &bruecke, WineDesktop &desktop, const WineUmgebung &umgebung,
                   const ActDatenbankAdapter &datenbank);

    bool Hauptfenster(const QString &titeltext) override;
    std::shared_ptr<ActObjekt> ErstelleObjekt() override;
    bool NachVorne(const QString &titeltext) override;

    static QString Fensterklasse();

private:
    WineBruecke &m_bruecke;
    WineDesktop &m_desktop;
    const WineUmgebung &m_umgebung;
    const ActDatenbankAdapter &m_datenbank;
};
