#pragma once

#include "actcontrol/ACTBefehlsfenster.h"
#include "app/Anruferauswahl.h"
#include "telephony/Waehlanzeige.h"

#include <QString>

// The main window as the program's parts see it: what the ACT! check and
// the number cache show in it, its lists' selections, dialing's and the
// ACT! commands' displays, and the window itself to bring forward or close.
class Programmfenster : public ACTBefehlsfenster, public Waehlanzeige, public Anruferauswahl
{
public:
    // The ACT! panel of the status bar: the state in words, ready or not as
    // a picture, and its tool tip (the database, after a failure why).
    virtual void setACTText(const QString &text) = 0;
    virtual void setACTBereit(bool bereit) = 0;
    virtual void setACTHinweis(const QString &text) = 0;

    // A build of the number cache: the telephony panel takes the width of
    // the status bar for its progress, and has its text back afterwards.
    virtual void setCachebau(bool laeuft) = 0;
    // The build's progress, in the status window while it shows, else in the panel.
    virtual void setCachebauStand(const QString &text) = 0;
    // The cache renewed from the menu: the window closed to input and the
    // status window up until it ends.
    virtual void setCacheErneuerung(bool laeuft) = 0;
    // The wait cursor: on pushes it, off takes one back.
    virtual void setWartecursor(bool an) = 0;
    // The number cache on or off, as with its menu item.
    virtual void SchalteNummernCache(bool ein) = 0;

    // The window in front at its size, from the tray, the task bar or behind others.
    virtual void Hervorholen() = 0;
    // Closes the window; the program ends through its exit sequence.
    virtual void Beenden() = 0;
};
