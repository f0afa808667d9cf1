#pragma once

#include <QString>

// The telephony log, as the call-event handlers write to it.
class Telefonieprotokoll
{
public:
    virtual ~Telefonieprotokoll() = default;
    // Whether logging is switched on (the log menu item is checked).
    virtual bool Protokolliert() const = 0;
    virtual void PrintProtokoll(const QString &ereignis, const QString &werte) = 0;
};
