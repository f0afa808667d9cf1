#pragma once

#include <QString>

#include <optional>

struct Anruf;

class Dialogs;
class ListViewModel;
class SettingsStore;
class Waehlanzeige;
class topTapi;

// Calling back: a number of the caller list (with the outside-line access
// code of the current dialing location), a number of the similar contacts,
// and the dialing rules of the driver menu.
class Waehlen
{
public:
    Waehlen(topTapi &tapi, const SettingsStore &store, Dialogs &dialogs, Waehlanzeige &anzeige);

    // `auswahl`: the selected call of the caller list, none when nothing is selected.
    void mnuNummerAnwaehlen(const std::optional<Anruf> &auswahl);
    // `ausgewaehlt`: the selected entry of the list, -1 for none.
    void mnuAehnlicheNummerAnwaehlen(const ListViewModel &lvKontakte, int ausgewaehlt);
    void mnuTapiWaehlregeln();

    // The outside-line access code of the current dialing location; empty
    // when there is no current location.
    QString Amtskennziffer() const;
    // The number in an entry of the similar contacts ("[Telefon] 0221 123"):
    // what follows the first "]" and the blank after it; the whole text when
    // there is no "]".
    static QString NummerAusEintrag(const QString &text);

private:
    void keineNummer();

    topTapi &m_tapi;
    const SettingsStore &m_store;
    Dialogs &m_dialogs;
    Waehlanzeige &m_anzeige;
};
