#pragma once

#include <QString>
#include <QtGlobal>

#include <iterator>
#include <random>

// Random numbers for the sample databases. Only the engine's raw output is
// used, never the standard distributions: those differ between standard
// libraries, and the same seed must give the same files everywhere.
class ActRandom
{
public:
    explicit ActRandom(quint64 seed);

    quint64 next() { return m_engine(); }
    // 0 <= result < bound; bound > 0.
    int below(int bound);
    // low <= result <= high.
    int between(int low, int high) { return low + below(high - low + 1); }
    // True in perMille of a thousand cases.
    bool chance(int perMille) { return below(1000) < perMille; }
    // A string of decimal digits; the first one from 2 to 9 when asked,
    // as subscriber numbers never start with 0 or 1.
    QString digits(int count, bool firstFromTwo = false);

    template <typename List>
    const auto &pick(const List &list)
    {
        return list[below(int(std::size(list)))];
    }

    // Spreads a seed so that neighbouring seeds give unrelated streams.
    static quint64 mix(quint64 value);

private:
    std::mt19937_64 m_engine;
};
