#pragma once

#include <cstdint>

// How a line names one call in what it reports: the call's id, and the
// handle the line keeps for it (the same number on most lines).
struct Anrufkennung
{
    std::int32_t id = 0;
    std::int32_t handle = 0;

    bool operator==(const Anrufkennung &) const = default;
};

// How the line shows a caller's number.
enum class Rufnummernanzeige {
    Nummer,          // the number is there
    Unterdrueckt,    // the caller withheld it
    NichtVerfuegbar, // the line got none
};

// How a call came to its end.
enum class Anrufende {
    Aufgelegt,   // hung up, as the line reports a normal end
    Getrennt,    // cut off, the line tells no more (an own call ended or given up)
    Besetzt,     // an own call that found the other side busy
    Ausgeklungen // the ringing stopped; the line tells nothing more
};
