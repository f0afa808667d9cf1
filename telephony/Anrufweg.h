#pragma once

#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufauswertung.h"

class Leitungsteile;

// A call's way without a window: the line's caller numbers into the caller
// identification and the similar-number search, which report to the
// window's port and store the call. The program and the tests wire it
// through this one class, each with its own port and lists.
class Anrufweg
{
public:
    struct Teile
    {
        Auswertungsanzeige &anzeige;
        Anruferliste &anruferliste;
        ListViewModel &aehnlicheListe;
        Leitungsteile &leitung;
        Kontaktsuche &suche;
        clRufmonDaten &telefondaten;
        topTapi &tapi;
        Dialogs &dialogs;
        const modOptionen &optionen;
        const SystemFacilities &system;
        const Optionsschalter &schalter;
    };

    explicit Anrufweg(const Teile &teile);

    AehnlicheNummern &Aehnliche() { return m_aehnliche; }
    Anrufauswertung &Auswertung() { return m_auswertung; }

private:
    AehnlicheNummern m_aehnliche;
    Anrufauswertung m_auswertung;
};
