#pragma once

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ACTPruefungsumfeld.h"
#include "actdb/Meldungssperre.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "app/Teilsysteme.h"
#include "core/Optionsschalter.h"
#include "core/Anruferliste.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/actole/ActWahl.h"
#include "telephony/Kontaktsuche.h"
#include "telephony/Leitungsteile.h"
#include "windows/frmKontaktkarte.h"

#include <functional>
#include <memory>

class ACTBefehle;
class AehnlicheNummern;
class Anrufauswertung;
class Anrufmeldung;
class Anrufweg;
class Benachrichtigungen;
class Auswertungsanzeige;
class Auswertungsfenster;
class Clipboard;
class Desktop;
class Dialogs;
class Infobefehl;
class Nummernlistenbefehl;
class Protokollaufzeichnung;
class Programmfenster;
class Telefonieprotokollbefehl;
class SettingsStore;
class SystemFacilities;
class TapiInfobefehl;
class Waehlen;
class frmHaupt;
class frmTelefonfelder;
class topTapi;

// The subsystems of the program and how they attach to the main window: the
// phone database, ACT!'s tables and the periodic check, the number cache,
// the caller identification, dialing, the ACT! commands and the windows of
// the menus.
class Programmteile : public Teilsysteme, private ACTPruefungsumfeld
{
public:
    // `desktop`: the desktop's windows and keys, for ACT!'s dialogs outside Wine.
    Programmteile(Dialogs &dialogs, Clipboard &clipboard, SettingsStore &store, SystemFacilities &system,
                  Desktop &desktop);
    ~Programmteile() override;

    // Makes the line's side over the window and hands it to it, attaches
    // the subsystems to the window's menus and panels, and the caller
    // identification to the line's events. With `benachrichtigungen`,
    // identified calls are also announced on the desktop.
    void verbinde(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen *benachrichtigungen = nullptr);
    // The number cache: built anew from the ACT! tables, the menu command
    // around it, and the step the ACT! check runs.
    void mnuCacheNeu();
    void CacheSchritt() override;
    // A build of the number cache runs on the search thread.
    bool CacheWirdErstellt() const { return m_cachebau; }
    // From here on the menus hold the options; the cache step may run.
    void StartAbgeschlossen() { m_startAbgeschlossen = true; }
    // Uses this ACT! contact table from now on (menu, command line).
    void ACTDatenbankSetzen(const QString &pfad);
    // Writes the caller list to a file the user chooses.
    void mnuAnruferlisteExportieren();

    Anruferliste &Anrufe() override { return m_anrufe; }
    void TelefondatenOeffnen(const QString &pfad) override;
    void TelefondatenSchliessen() override;
    void TelefonfelderLaden() override;
    void TelefonfelderSchliessen() override;
    void ACTMonitorInitialisieren() override;
    void PruefeACTDatenbank() override;
    void ErstelleNummernCache() override;
    void NummernCacheVorbereiten(const QString &pfad) override;
    void NummernCacheEntfernen() override;
    bool ACTBereit() const override;
    bool AuswertungLaeuft() const override;
    void TelefonieprotokollSchliessen() override;
    clRufmonDaten *Telefondaten() override;

    frmKontaktkarte &Kontaktkarte() { return m_karte; }
    // The options that are on or off; the window's menus show them.
    Optionsschalter &Schalter() { return m_schalter; }
    // The caller identification and where it reports, once attached to the window.
    Anrufauswertung *Auswertung() const { return m_auswertung; }
    Auswertungsanzeige *Anzeige() const;
    ActWahl &ACT() { return m_act; }
    // The line's side, once attached to the window.
    Leitungsteile *Leitung() const { return m_leitungsteile.get(); }
    // The phone-field dialog, whose list is the program's record of the phone fields.
    frmTelefonfelder *Telefonfelder() const { return m_telefonfelder.get(); }

private:
    // What the ACT! check asks and shows; before the window is attached
    // what it shows goes nowhere.
    bool ACTgestartet() override;
    QString ACTDatenbank() override;
    void setACTText(const QString &text) override;
    void setACTBereit(bool bereit) override;
    void setACTHinweis(const QString &text) override;
    void setPruefungAktiv(bool aktiv) override;
    void TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss) override;
    void mnuACTDatenbank();
    void mnuTelefonfelder();
    void verbindeMeldung(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen &benachrichtigungen);
    static Programmfenster &ohneFenster();
    bool mitFenster() const;
    // Builds the number cache on the search thread, then runs `danach`.
    void cacheBauen(std::function<void()> danach);

    Dialogs &m_dialogs;
    SettingsStore &m_store;
    modOptionen m_optionen;
    Optionsschalter m_schalter;
    clRufmonDaten m_telefondaten;
    Anruferliste m_anrufe;
    clActDBF m_actDBF;
    Meldungssperre m_actMeldungen;
    clACTFelder m_actFelder;
    frmKontaktkarte m_karte;
    ActDatenbankAdapter m_adapter;
    // ACT! under Wine when it runs there, else the adapter; and its desktop.
    ActWahl m_act;
    clACTApplication m_actApp;
    ACTPruefung m_pruefung;
    Kontaktsuche m_suche;
    std::unique_ptr<Leitungsteile> m_leitungsteile;
    std::unique_ptr<ACTBefehle> m_befehle;
    std::unique_ptr<Protokollaufzeichnung> m_aufzeichnung;
    std::unique_ptr<Auswertungsfenster> m_anzeige;
    std::unique_ptr<Anrufweg> m_anrufweg;
    // Its two steps, once attached to the window.
    AehnlicheNummern *m_aehnliche = nullptr;
    Anrufauswertung *m_auswertung = nullptr;
    std::unique_ptr<Anrufmeldung> m_meldung;
    Clipboard &m_clipboard;
    SystemFacilities &m_system;
    std::unique_ptr<Waehlen> m_waehlen;
    std::unique_ptr<Telefonieprotokollbefehl> m_telefonieprotokoll;
    std::unique_ptr<TapiInfobefehl> m_tapiInfo;
    std::unique_ptr<Infobefehl> m_info;
    std::unique_ptr<Nummernlistenbefehl> m_nummernliste;
    bool m_startAbgeschlossen = false;
    bool m_cachebau = false; // one build at a time
    std::unique_ptr<frmTelefonfelder> m_telefonfelder;
    // The window, once attached; until then and once it is gone, one that shows nothing.
    Programmfenster *m_fenster = &ohneFenster();
};
