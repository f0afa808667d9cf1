#include "telephony/Leitungsteile.h"

Leitungsteile::Leitungsteile(topTapi &tapi, Leitungsfenster &fenster, Telefonieprotokoll &protokoll, Dialogs &dialogs,
                             modOptionen &optionen, Optionsschalter &schalter)
    : m_ereignisse(tapi, fenster, protokoll, schalter)
    , m_leitung(tapi, fenster, dialogs, optionen, m_ereignisse, protokoll)
    , m_nummern(fenster, dialogs, optionen, schalter)
{
}
