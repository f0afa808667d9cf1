#pragma once

#include "platform/desktop/Desktop.h"

#include <QString>

#include <optional>

class ACTBefehlsfenster;
class Anruferliste;
class Dialogs;
class ListViewModel;
class clACTApplication;
class clButtonGuard;
class modOptionen;
struct Anruf;

// Writes an ACT! history entry for a call: moves ACT! to the caller's
// contact, opens the history dialog with its shortcut, waits for it and types
// the configured key macro with the call's date, time, number and place into
// it. The main window stays responsive meanwhile; ACT!'s timer check does not
// run.
class Protokollaufzeichnung
{
public:
    Protokollaufzeichnung(clACTApplication &act, Desktop &desktop, Dialogs &dialogs, const modOptionen &optionen,
                          ACTBefehlsfenster &fenster);

    // For the selected caller-list entry.
    // `auswahl`: the selected call, none when nothing is selected.
    void mnuACTProtokollAufzeichnen(const Anruferliste &anrufe, const std::optional<::Anruf> &auswahl);
    // For the selected entry of the similar contacts; the call's values
    // still come from the selected caller-list entry.
    void mnuAehnlicheACTProtokollAufzeichnen(const Anruferliste &anrufe, const std::optional<::Anruf> &auswahl,
                                             const ListViewModel &lvKontakte, int kontaktAuswahl);

    // A pause that keeps the message loop running.
    static void wartenUndAtmen(int millisekunden);

private:
    struct Anruf
    {
        QString datum;
        QString zeit;
        QString nummer;
        QString ort;
        // The contact the entry is for as the list names it; empty when the
        // entry goes to whichever contact ACT! shows.
        QString kontakt;
    };
    static Anruf anrufAus(const ::Anruf &eintrag);

    // Steps shared by both commands until the contact is shown; false when
    // the command ends there.
    bool vorbereiten(const Anruferliste &anrufe, const std::optional<::Anruf> &auswahl);
    // ACT! runs with a database and shows a contact view; says why not otherwise.
    bool actZeigtKontakt();
    void gehezu(const QString &tag);
    void aufzeichnen(const Anruf &anruf);
    // The dialog found may be filled: no window of the program's own, and
    // no dialog that names another contact than the call's. Says why not.
    bool dialogPasst(const clButtonGuard &dialog, Fenster fenster, const Anruf &anruf);
    // False when the desktop did not take all the keys; a fault in the
    // macro is reported and the typing goes on.
    bool tippe(const QString &tasten);

    clACTApplication &m_act;
    Desktop &m_desktop;
    Dialogs &m_dialogs;
    const modOptionen &m_optionen;
    ACTBefehlsfenster &m_fenster;
    bool m_laeuft = false;
    QString m_tastenfehler;
};
