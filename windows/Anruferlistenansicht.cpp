#include "windows/Anruferlistenansicht.h"

#include "core/Anruferliste.h"
#include "windows/modListviewSort.h"

using namespace Qt::StringLiterals;

Anruferlistenansicht::Anruferlistenansicht(Anruferliste &anrufe, QWidget *parent)
    : ListView(parent)
    , m_modell(anrufe)
{
    setSpaltenmodell(&m_modell);
}

std::optional<Anruf> Anruferlistenansicht::Auswahl() const
{
    const int zeile = SelectedIndex();
    if (zeile < 0 || zeile >= m_modell.Count())
        return std::nullopt;
    return m_modell.AnrufIn(zeile);
}

void Anruferlistenansicht::sortieren()
{
    const int spalte = SortKey();
    const auto &spalten = m_modell.columns();
    const bool datum = spalte >= 0 && spalte < static_cast<int>(spalten.size()) && spalten[spalte].Text == u"Datum"_s;
    if (datum)
        m_modell.sortiereNachDatum(modListviewSort::Absteigend);
    else
        m_modell.sortiereNachText(spalte, sortOrder() == SortOrder::Descending);
}
