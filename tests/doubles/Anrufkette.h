#pragma once

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ACTPruefungsumfeld.h"
#include "actdb/Meldungssperre.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "core/Anruferliste.h"
#include "core/ListViewModel.h"
#include "core/Optionsschalter.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/telephony/TelephonyControl.h"
#include "telephony/Anrufweg.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/Leitungsteile.h"

#include "AufzeichnendeAnzeige.h"
#include "ScriptedAct.h"
#include "Umgebung.h"

// The way of a call without a window: the real telephony control with its
// simulator, the real phone database (a copy), ACT!'s tables as the settings
// name them, the number cache in the test's folder, and the line's side and
// the call's way made by the program's own classes over a recording port.
// Settings are written before `oeffne`.
struct Anrufkette : Umgebung, ACTPruefungsumfeld
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
    Anruferliste anrufer;
    ListViewModel aehnlicheListe;
    Leitungsteile leitung{tapi, anzeige, anzeige, dialogs, optionen, schalter};
    Anrufereignisse &ereignisse = leitung.Ereignisse();
    Nummernbefehle &nummern = leitung.Nummern();
    Anrufweg weg;
    AehnlicheNummern &aehnliche = weg.Aehnliche();
    Anrufauswertung &auswertung = weg.Auswertung();

    Anrufkette();
    ~Anrufkette() override;

    // The ACT! check asks the stand-in; there is no status bar and no cache step.
    bool ACTgestartet() override;
    QString ACTDatenbank() override;
    void setACTText(const QString &) override {}
    void setACTBereit(bool) override {}
    void setACTHinweis(const QString &) override {}
    void setPruefungAktiv(bool) override {}
    void TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss) override;
    void CacheSchritt() override {}

    // Opens the phone database, reads ACT!'s fields (the ACT! table of
    // `actTabelle`, none: no ACT!), builds the number cache when `cache`,
    // and opens the simulator line.
    void oeffne(const QString &actTabelle, bool cache);
    // A call on the simulator, identified to its end.
    bool anruf(const QString &nummer);
    // The newest call as "Nummer|Ort|Kontakt|Icon|Tag".
    QString eintrag() const;
    // The stored rows as "UniqueID|Nummer|Ort|Kontakt|Icon".
    QStringList gespeichert() const;
};
