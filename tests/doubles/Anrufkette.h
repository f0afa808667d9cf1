#pragma once

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/Meldungssperre.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "core/ListViewModel.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufauswertung.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/Nummernbefehle.h"

#include "AufzeichnendeAnzeige.h"
#include "ScriptedAct.h"
#include "Umgebung.h"

// The way of a call without a window: the real telephony control with its
// simulator, the real phone database (a copy), ACT!'s tables as the settings
// name them, the number cache in the test's folder, and the identification
// wired as the program wires it. Settings are written before `oeffne`.
struct Anrufkette : Umgebung
{
    AufzeichnendeAnzeige anzeige;
    TelephonyControl tapi{store};
    clRufmonDaten telefondaten{dialogs, optionen};
    ScriptedAct act;
    clACTApplication actApp{act, dialogs, [] {}};
    clActDBF actDBF{dialogs, clipboard, optionen};
    Meldungssperre actMeldungen{dialogs};
    clACTFelder felder{actMeldungen};
    ListViewModel telefonfeldModell;
    Telefonfeldliste telefonfelder{telefonfeldModell};
    ACTPruefung pruefung;
    Kontaktsuche suche{dialogs, clipboard, optionen, actDBF, actApp, pruefung};
    ListViewModel anrufer;
    ListViewModel aehnlicheListe;
    Anrufereignisse ereignisse{tapi, anzeige, anzeige};
    QString filtertext;
    Nummernbefehle nummern{anzeige, dialogs, optionen, filtertext};
    AehnlicheNummern aehnliche;
    Anrufauswertung auswertung;

    Anrufkette();
    ~Anrufkette();

    // Opens the phone database, reads ACT!'s fields (the ACT! table of
    // `actTabelle`, none: no ACT!), builds the number cache when `cache`,
    // and opens the simulator line.
    void oeffne(const QString &actTabelle, bool cache);
    // A call on the simulator, identified to its end.
    bool anruf(const QString &nummer);
    // The newest row as "Nummer|Ort|Kontakt|Icon|Tag".
    QString eintrag() const;
    // The stored rows as "UniqueID|Nummer|Ort|Kontakt|Icon".
    QStringList gespeichert() const;
};
