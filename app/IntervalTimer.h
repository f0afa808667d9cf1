#pragma once

#include <QObject>
#include <QTimer>

// A timer that ticks only while it is enabled and has an interval above 0;
// switching it off and on again restarts the interval.
class IntervalTimer : public QObject
{
    Q_OBJECT

public:
    explicit IntervalTimer(QObject *parent = nullptr);

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isTicking() const { return m_timer.isActive(); }

signals:
    void Timer();

private:
    void apply();

    QTimer m_timer;
    bool m_enabled = true;
    int m_interval = 0;
};
