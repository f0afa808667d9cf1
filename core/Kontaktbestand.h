#pragma once

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// A contact source's contacts as a copy of them (the number cache) reads
// them: one after the other from the first to the last, each as its values
// of the phone fields asked for, in their order, then its name, company,
// city and id. A value is UTF-8 text as the source holds it, and unset
// where the source holds none.
class Kontaktbestand
{
public:
    using Werte = std::vector<std::optional<std::string_view>>;

    virtual ~Kontaktbestand() = default;

    // The next contact's values, valid until the following call; nullptr
    // after the last, or when reading failed (then `fehler` says why).
    virtual const Werte *naechster() = 0;
    // Why the contacts could not be read to their end; empty while they can.
    virtual QString fehler() const = 0;
    // About how many contacts there are, for the progress shown.
    virtual qint64 ungefaehreAnzahl() const = 0;
    // How many characters the value at that place may have; 0 where the
    // source sets no bound.
    virtual int laenge(std::size_t stelle) const = 0;
};
