#pragma once

#include <QString>

// What the caller identification and the similar-number search show while
// they run. The main window implements it; the identification's tests record it.
class Auswertungsanzeige
{
public:
    virtual ~Auswertungsanzeige() = default;

    // The message panel of the status bar.
    virtual void setMeldung(const QString &text) = 0;
    // The wait cursor: on pushes it, off takes one back (none is harmless).
    virtual void setWartecursor(bool an) = 0;
    // Brings the window forward, for a moment over all others.
    virtual void nachVorne() = 0;
    // The activation button; off while a call is identified.
    virtual void setMonitorKnopfAktiv(bool aktiv) = 0;
    // The periodic ACT! check pauses while a search runs.
    virtual void setACTPruefungAktiv(bool aktiv) = 0;
    // The new call, the entry added last to the caller list: the list
    // ordered by date, the call scrolled to and selected.
    virtual void zeigeNeuenAnruf() = 0;
    // The search times of the last call ("Suchdauer1:…").
    virtual QString Suchdauer() const = 0;
    virtual void setSuchdauer(const QString &text) = 0;
    // The progress of opening the number cache.
    virtual void setCacheMeldung(const QString &text) = 0;
    // The number cache failed: it is switched off, as with its menu item.
    virtual void NummernCacheAbschalten() = 0;
    // More calls wait behind this one: a burst, during which the window
    // need not be drawn after every step.
    virtual void setAnrufeWartend(bool wartend) = 0;
};
