#pragma once

#include <cstdint>
#include <functional>

// A millisecond stopwatch over the platform's tick count; stays right when
// the tick count wraps.
class clStopuhr
{
public:
    explicit clStopuhr(std::function<std::uint32_t()> ticks);

    void Starten();
    void Stoppen();
    std::int32_t Dauer() const { return m_dauer; }

private:
    std::function<std::uint32_t()> m_ticks;
    std::uint32_t m_start = 0;
    std::int32_t m_dauer = 0;
};
