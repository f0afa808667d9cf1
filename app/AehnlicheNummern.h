#pragma once

#include <QString>

class Dialogs;
class Programmteile;
class SystemFacilities;
class frmHaupt;

// The contacts whose phone fields contain the caller's area code followed by
// the first digits of the subscriber number, listed below the caller list.
class AehnlicheNummern
{
public:
    AehnlicheNummern(frmHaupt &fenster, Programmteile &teile, Dialogs &dialogs, const SystemFacilities &system);

    void SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss);
    // The caller list's command: the selected call's number, split and searched.
    void mnuSuche_aehnliche();

private:
    void suche(const QString &Vorwahl, const QString &Anschluss);

    frmHaupt &m_fenster;
    Programmteile &m_teile;
    Dialogs &m_dialogs;
    const SystemFacilities &m_system;
    // The search lets the window breathe; a call or the menu must not start
    // a second one inside it.
    bool m_laeuft = false;
};
