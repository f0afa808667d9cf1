#pragma once

#include <QString>

// The main window as the ACT! commands see it: the message panel of the
// status bar, the periodic ACT! check, and the window kept drawn while a
// command waits for ACT!.
class ACTBefehlsfenster
{
public:
    virtual ~ACTBefehlsfenster() = default;

    // The message panel of the status bar.
    virtual void setMeldung(const QString &text) = 0;
    // The periodic ACT! check on or off.
    virtual void setACTPruefungAktiv(bool aktiv) = 0;
    // The window is drawn and takes input once.
    virtual void atmen() = 0;
    // A pause of that many milliseconds; the window is drawn and takes input meanwhile.
    virtual void warten(int millisekunden) = 0;
};
