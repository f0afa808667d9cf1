#include "telephony/Anrufweg.h"

#include "telephony/Leitungsteile.h"

Anrufweg::Anrufweg(const Teile &t)
    : m_aehnliche({t.anzeige, t.aehnlicheListe, t.leitung.Ereignisse(), t.suche, t.telefondaten, t.dialogs,
                   t.optionen, t.system, t.schalter})
    , m_auswertung({t.anzeige, t.anruferliste, t.aehnlicheListe, t.leitung.Ereignisse(), t.leitung.Nummern(), t.suche,
                    t.telefondaten, m_aehnliche, t.tapi, t.dialogs, t.optionen, t.system, t.schalter})
{
    Anrufereignisse &ereignisse = t.leitung.Ereignisse();
    QObject::connect(&ereignisse, &Anrufereignisse::Anrufer, &m_auswertung, &Anrufauswertung::Anrufer);
    QObject::connect(&ereignisse, &Anrufereignisse::VerbundeneNummer, &m_auswertung,
                     &Anrufauswertung::VerbundeneNummer);
}
