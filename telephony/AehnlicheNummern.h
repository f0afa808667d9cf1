#pragma once

#include <QString>

#include <optional>

struct Anruf;

class Anrufereignisse;
class Auswertungsanzeige;
class Dialogs;
class Kontaktsuche;
class Optionsschalter;
class ListViewModel;
class SystemFacilities;
class clRufmonDaten;
class modOptionen;

// The contacts whose phone fields contain the caller's area code followed by
// the first digits of the subscriber number, listed below the caller list.
class AehnlicheNummern
{
public:
    struct Teile
    {
        Auswertungsanzeige &anzeige;
        ListViewModel &kontakte;
        Anrufereignisse &ereignisse;
        Kontaktsuche &suche;
        clRufmonDaten &telefondaten;
        Dialogs &dialogs;
        const modOptionen &optionen;
        const SystemFacilities &system;
        const Optionsschalter &schalter;
    };

    explicit AehnlicheNummern(const Teile &teile);

    void SucheAehnlicheNummern(const QString &Vorwahl, const QString &Anschluss);
    // The caller list's command: the selected call's number, split and searched.
    void mnuSuche_aehnliche(const std::optional<Anruf> &auswahl);

private:
    void suche(const QString &Vorwahl, const QString &Anschluss);

    Teile m_t;
    // The search lets the window breathe; a call or the menu must not start
    // a second one inside it.
    bool m_laeuft = false;
};
