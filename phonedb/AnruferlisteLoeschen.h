#pragma once

class Dialogs;
class Anruferliste;
class clRufmonDaten;

// The three commands that delete entries of the caller list: all, older
// than a day, older than a week. Each asks first and reloads the list.
class AnruferlisteLoeschen
{
public:
    AnruferlisteLoeschen(Dialogs &dialogs, clRufmonDaten &daten, Anruferliste &anrufe);

    // True when the list was reloaded.
    bool mnuAlleLoeschen();
    bool mnuTagLoeschen();
    bool mnuWocheLoeschen();

private:
    bool loeschen(const char16_t *frage, int tage);

    Dialogs &m_dialogs;
    clRufmonDaten &m_daten;
    Anruferliste &m_liste;
};
