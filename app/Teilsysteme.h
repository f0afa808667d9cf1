#pragma once

class Anruferliste;
class QString;
class clRufmonDaten;

// The steps of start-up, the timer tick and exit that belong to the other
// subsystems. The main window calls them at the right moment; each reports
// its own failures and leaves its function unavailable.
class Teilsysteme
{
public:
    virtual ~Teilsysteme() = default;

    // The calls of the caller list.
    virtual Anruferliste &Anrufe() = 0;
    // Opens the phone database and fills the caller list from it.
    virtual void TelefondatenOeffnen(const QString &pfad) = 0;
    virtual void TelefondatenSchliessen() = 0;
    // Loads the phone-field dialog without showing it.
    virtual void TelefonfelderLaden() = 0;
    virtual void TelefonfelderSchliessen() = 0;
    // Opens ACT!'s database and reads its field definitions.
    virtual void ACTMonitorInitialisieren() = 0;
    // The periodic ACT! check.
    virtual void PruefeACTDatenbank() = 0;
    virtual void ErstelleNummernCache() = 0;
    // The number cache's file; an old one there goes, the cache is built anew.
    virtual void NummernCacheVorbereiten(const QString &pfad) = 0;
    // At exit: the cache file goes.
    virtual void NummernCacheEntfernen() = 0;
    // ACT!'s database is open with known phone fields, or the cache stands in.
    virtual bool ACTBereit() const = 0;
    // A call is being identified; the window must not close under it.
    virtual bool AuswertungLaeuft() const = 0;
    virtual void TelefonieprotokollSchliessen() = 0;
    // The open phone database, or none.
    virtual clRufmonDaten *Telefondaten() = 0;
};
