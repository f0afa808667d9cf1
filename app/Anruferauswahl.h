#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

struct Anruf;
class ListViewModel;

// The two lists of the main window as the commands see them: the caller
// list in the order shown and its selection, the contacts with similar
// numbers and theirs.
class Anruferauswahl
{
public:
    virtual ~Anruferauswahl() = default;

    // The selected call; none when nothing is selected.
    virtual std::optional<Anruf> gewaehlterAnruf() const = 0;
    // Selects the call's entry; false when it is no longer listed.
    virtual bool waehleAnruf(quint64 eintrag) = 0;
    // The calls in the order the list shows them.
    virtual std::vector<Anruf> Anrufe() const = 0;
    virtual const ListViewModel &AehnlicheKontakte() const = 0;
    // The selected entry of the similar contacts; -1 for none.
    virtual int gewaehlterKontakt() const = 0;
};
