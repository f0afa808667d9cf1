#pragma once

#include "windows/AnruferlisteModell.h"
#include "windows/ListView.h"

#include <optional>

class Anruferliste;

// The caller list on the screen: the calls of an Anruferliste in rows, in
// the order chosen by a header click, with the report list's mouse and keys.
class Anruferlistenansicht : public ListView
{
    Q_OBJECT

public:
    explicit Anruferlistenansicht(Anruferliste &anrufe, QWidget *parent = nullptr);

    AnruferlisteModell &Modell() { return m_modell; }
    const AnruferlisteModell &Modell() const { return m_modell; }
    Anruferliste &Anrufe() const { return m_modell.Anrufe(); }
    // The selected call; none when nothing is selected.
    std::optional<Anruf> Auswahl() const;
    // Orders the rows as the list's sort column and order say ("Datum" by
    // date with modListviewSort::Absteigend, any other by its text).
    void sortieren();

    // The rows are calls, not list items.
    void Items() = delete;

private:
    AnruferlisteModell m_modell;
};
