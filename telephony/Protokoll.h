#pragma once

#include <QString>

// The telephony log, as the call-event handlers write to it.
class Protokoll
{
public:
    virtual ~Protokoll() = default;
    // Whether logging is switched on (the log menu item is checked).
    virtual bool Protokolliert() const = 0;
    virtual void PrintProtokoll(const QString &ereignis, const QString &werte) = 0;
};
