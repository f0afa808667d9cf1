#include "telephony/clStopuhr.h"

clStopuhr::clStopuhr(std::function<std::uint32_t()> ticks)
    : m_ticks(std::move(ticks))
{
}

void clStopuhr::Starten()
{
    m_start = m_ticks();
}

void clStopuhr::Stoppen()
{
    // Unsigned subtraction is taken modulo 2^32, so a wrap in between is no harm.
    m_dauer = static_cast<std::int32_t>(m_ticks() - m_start);
}
