#include "platform/dialogs/Frage.h"

void Frage::Schliessen(Dialogs::Answer antwort)
{
    if (m_antwort)
        return;
    m_antwort = antwort;
    emit Beantwortet(antwort);
}
