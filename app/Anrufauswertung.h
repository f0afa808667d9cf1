#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class Dialogs;
class Programmteile;
class Recordset;
class SystemFacilities;
class frmHaupt;
class topTapi;

// The caller identification: an incoming call or a connected number becomes
// a new entry at the top of the caller list, named by country and place,
// looked up among the ACT! contacts (in the number cache or the ACT! tables)
// and in the free list, stored, and followed by the search for contacts with
// similar numbers. The window stays responsive throughout.
class Anrufauswertung
{
public:
    Anrufauswertung(frmHaupt &fenster, Programmteile &teile, topTapi &tapi, Dialogs &dialogs,
                    const SystemFacilities &system);

    void ausfuehren(const QString &CNumber, const QString &CName, const QString &CPartyID, std::int32_t CCallID,
                    std::int32_t CCallHandle, bool verbunden);

private:
    void nachVorne();
    void zeige(const QString &text);
    void fehler(const QString &schritt, long nummer, const QString &beschreibung);

    frmHaupt &m_fenster;
    Programmteile &m_teile;
    topTapi &m_tapi;
    Dialogs &m_dialogs;
    const SystemFacilities &m_system;
};
