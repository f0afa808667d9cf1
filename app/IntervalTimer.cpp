#include "app/IntervalTimer.h"

IntervalTimer::IntervalTimer(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &IntervalTimer::Timer);
}

void IntervalTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    apply();
}

void IntervalTimer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    apply();
}

void IntervalTimer::apply()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}
