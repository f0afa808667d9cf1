#pragma once

#include "telephony/Anrufereignisse.h"
#include "telephony/Leitungssteuerung.h"
#include "telephony/Nummernbefehle.h"

class Dialogs;
class Leitungsfenster;
class Optionsschalter;
class Telefonieprotokoll;
class modOptionen;
class topTapi;

// The line's side of the program, without a window: the line's events, the
// monitor switched on and off, and the commands on how numbers are cleaned.
// The composition root makes it over the window's ports and hands it to the
// window, whose commands it carries out; the tests make it the same way.
class Leitungsteile
{
public:
    Leitungsteile(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll, Dialogs &dialogs,
                  modOptionen &optionen, Optionsschalter &schalter);

    Anrufereignisse &Ereignisse() { return m_ereignisse; }
    Leitungssteuerung &Leitung() { return m_leitung; }
    Nummernbefehle &Nummern() { return m_nummern; }

private:
    Anrufereignisse m_ereignisse;
    Leitungssteuerung m_leitung;
    Nummernbefehle m_nummern;
};
