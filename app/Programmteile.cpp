#include "app/Programmteile.h"

#include "actcontrol/ACTBefehle.h"
#include "actcontrol/ACTTimerstart.h"
#include "actcontrol/Protokollaufzeichnung.h"
#include "actdb/Firmenauskunft.h"
#include "actdb/clTabellenCache.h"
#include "app/Auswertungsfenster.h"
#include "app/frmHaupt.h"
#include "app/frmStatus.h"
#include "core/modHaupt.h"
#include "phonedb/AnruferlisteExportieren.h"
#include "phonedb/NummernMdbOrt.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/topTapi.h"
#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufauswertung.h"
#include "telephony/Anrufhinweis.h"
#include "telephony/Anrufmeldung.h"
#include "telephony/Anrufweg.h"
#include "telephony/Waehlen.h"
#include "windows/Infobefehl.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/Nummernlistenbefehl.h"
#include "windows/Protokollbefehl.h"
#include "windows/StatusPanel.h"
#include "windows/TapiInfobefehl.h"
#include "windows/frmTelefonfelder.h"

#include <QApplication>
#include <QPointer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStatusBar>

using namespace Qt::StringLiterals;
using M = Menuepunkt;


Programmteile::Programmteile(Dialogs &dialogs, Clipboard &clipboard, SettingsStore &store,
                             SystemFacilities &system, Desktop &desktop)
    : m_dialogs(dialogs)
    , m_store(store)
    , m_optionen(store, system)
    , m_schalter(m_optionen, store)
    , m_telefondaten(dialogs, m_optionen)
    , m_actDBF(dialogs, clipboard, m_optionen)
    , m_actMeldungen(dialogs)
    , m_actFelder(m_actMeldungen)
    , m_adapter(store, m_karte)
    , m_act(store, dialogs, m_adapter, desktop)
    , m_actApp(m_act, dialogs,
               [this] {
                   if (m_fenster)
                       m_fenster->close();
               })
    , m_pruefung(m_actFelder, m_actMeldungen, m_optionen, *this)
    , m_suche(dialogs, clipboard, m_optionen, m_actDBF, m_actApp, m_pruefung)
    , m_clipboard(clipboard)
    , m_system(system)
{
}

Programmteile::~Programmteile() = default;

bool Programmteile::ACTgestartet()
{
    return m_actApp.ACTgestartet();
}

QString Programmteile::ACTDatenbank()
{
    return m_actApp.ACTDatenbank();
}

void Programmteile::setACTText(const QString &text)
{
    if (m_fenster)
        m_fenster->Panel(frmHaupt::Statusfeld::ACT)->setText(text);
}

void Programmteile::setACTBereit(bool bereit)
{
    // The pictures of the ACT! panel in the window's icon list.
    constexpr int BildBereit = 6;
    constexpr int BildNichtBereit = 8;
    const int bild = bereit ? BildBereit : BildNichtBereit;
    if (m_fenster)
        m_fenster->Panel(frmHaupt::Statusfeld::ACT)->setPicture(m_fenster->ilIcons().Picture(bild), bild);
}

void Programmteile::setACTHinweis(const QString &text)
{
    if (m_fenster)
        m_fenster->Panel(frmHaupt::Statusfeld::ACT)->setToolTipText(text);
}

void Programmteile::setPruefungAktiv(bool aktiv)
{
    if (m_fenster)
        m_fenster->TimerACT().setEnabled(aktiv);
}

void Programmteile::TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss)
{
    TelefonfelderLaden();
    m_telefonfelder->FelderSetzen(felder, ausschluss);
}

void Programmteile::verbinde(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen *benachrichtigungen)
{
    m_fenster = &fenster;
    m_leitungsteile = std::make_unique<Leitungsteile>(tapi, fenster, fenster, m_dialogs, m_optionen, m_schalter);
    fenster.anbinden(*m_leitungsteile);
    Anrufereignisse &ereignisse = m_leitungsteile->Ereignisse();
    // The caller identification: the line's caller numbers go in, the stored row comes out.
    m_anzeige = std::make_unique<Auswertungsfenster>(fenster);
    m_anrufweg = std::make_unique<Anrufweg>(Anrufweg::Teile{
        *m_anzeige, m_anrufe, fenster.lvKontakte()->Items(), *m_leitungsteile, m_suche,
        m_telefondaten, tapi, m_dialogs, m_optionen, m_system, m_schalter});
    m_aehnliche = &m_anrufweg->Aehnliche();
    m_auswertung = &m_anrufweg->Auswertung();
    QObject::connect(m_auswertung, &Anrufauswertung::Beendet, &fenster, &frmHaupt::AuswertungBeendet);
    fenster.lvNummern()->Modell().setToolTips(&Anrufhinweis::ToolTip);

    QObject::connect(fenster.Menu(M::mnuSuche_aehnliche), &QAction::triggered, &fenster, [this, &fenster] {
        m_aehnliche->mnuSuche_aehnliche(fenster.lvNummern()->Auswahl());
    });
    QObject::connect(fenster.Menu(M::mnuCacheNeu), &QAction::triggered, &fenster, [this] { mnuCacheNeu(); });

    // Dialing back from either list.
    Waehlen::Anbindung anbindung{
        [&fenster](const QString &t) { fenster.Panel(frmHaupt::Statusfeld::Telefon)->setText(t); },
        [&fenster](const QString &t) { fenster.Text1()->setToolTip(t); },
        [&fenster] { return fenster.cbxAddress()->currentIndex(); }};
    m_waehlen = std::make_unique<Waehlen>(tapi, m_store, m_optionen, m_dialogs, anbindung);
    QObject::connect(fenster.Menu(M::mnuNummerAnwaehlen), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuNummerAnwaehlen(fenster.lvNummern()->Auswahl());
    });
    QObject::connect(fenster.Menu(M::mnuAehnlicheNummerAnwaehlen), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuAehnlicheNummerAnwaehlen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(M::mnuTapiWaehlregeln), &QAction::triggered, &fenster,
                     [this] { m_waehlen->mnuTapiWaehlregeln(); });

    // The telephony log follows its menu item; the events write to it.
    m_protokoll = std::make_unique<Protokollbefehl>(m_system, m_schalter, &fenster);
    QObject::connect(fenster.Menu(M::mnuTAPIProtokoll), &QAction::triggered, &fenster,
                     [this](bool nun) { m_protokoll->mnuTAPIProtokoll(!nun); });
    QObject::connect(&fenster, &frmHaupt::Protokollzeile, m_protokoll.get(), &Protokollbefehl::PrintProtokoll);

    m_tapiInfo = std::make_unique<TapiInfobefehl>(tapi, [&ereignisse] { return ereignisse.LetzterAnruf; },
                                                  &fenster);
    QObject::connect(fenster.Menu(M::mnuTapiInfos), &QAction::triggered, &fenster,
                     [this] { m_tapiInfo->mnuTapiInfos(); });
    m_info = std::make_unique<Infobefehl>(tapi, m_system, &fenster);
    QObject::connect(&fenster, &frmHaupt::InfoAngefordert, &fenster, [this] { m_info->imBanner_Click(); });
    m_nummernliste = std::make_unique<Nummernlistenbefehl>(
        m_dialogs, [this] { return m_telefondaten.Datenbank(); }, &fenster);
    QObject::connect(fenster.Menu(M::mnuNummern), &QAction::triggered, &fenster,
                     [this] { m_nummernliste->mnuNummern(); });

    m_befehle = std::make_unique<ACTBefehle>(
        m_actApp, [&fenster](const QString &t) { fenster.Panel(frmHaupt::Statusfeld::Meldung)->setText(t); },
        [this, &fenster] {
            if (m_schalter.gesetzt(Optionsschalter::Schalter::ACTTimer))
                ACTTimerStarten(m_actApp, m_act.desktop(), [&fenster] { fenster.atmen(); });
        });
    QObject::connect(fenster.Menu(M::mnuACTAnzeigen), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuACTAnzeigen(m_anrufe, fenster.lvNummern()->Auswahl());
    });
    QObject::connect(fenster.Menu(M::mnuAehnlicheACTAnzeigen), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuAehnlicheACTAnzeigen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
    });
    Protokollaufzeichnung::Anbindung aufzeichnung;
    aufzeichnung.meldung = [&fenster](const QString &t) { fenster.Panel(frmHaupt::Statusfeld::Meldung)->setText(t); };
    aufzeichnung.timerACT = [&fenster](bool an) { fenster.TimerACT().setEnabled(an); };
    aufzeichnung.atmen = [&fenster] { fenster.atmen(); };
    m_aufzeichnung = std::make_unique<Protokollaufzeichnung>(m_actApp, m_act.desktop(), m_dialogs, m_optionen,
                                                             std::move(aufzeichnung));
    QObject::connect(fenster.Menu(M::mnuACTProtokollAufzeichnen), &QAction::triggered, &fenster, [this, &fenster] {
        m_aufzeichnung->mnuACTProtokollAufzeichnen(m_anrufe, fenster.lvNummern()->Auswahl());
    });
    QObject::connect(fenster.Menu(M::mnuAehnlicheACTProtokollAufzeichnen), &QAction::triggered, &fenster,
                     [this, &fenster] {
                         m_aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(
                             m_anrufe, fenster.lvNummern()->Auswahl(), fenster.lvKontakte()->Items(),
                             fenster.lvKontakte()->SelectedIndex());
                     });
    QObject::connect(fenster.Menu(M::mnuACTDatenbank), &QAction::triggered, &fenster, [this] { mnuACTDatenbank(); });
    QObject::connect(fenster.Menu(M::mnuTelefonfelder), &QAction::triggered, &fenster,
                     [this] { mnuTelefonfelder(); });
    QObject::connect(fenster.Menu(M::mnuAnruferlisteExportieren), &QAction::triggered, &fenster,
                     [this] { mnuAnruferlisteExportieren(); });
    if (benachrichtigungen)
        verbindeMeldung(fenster, tapi, *benachrichtigungen);
}

void Programmteile::verbindeMeldung(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen &benachrichtigungen)
{
    // Identified calls on the desktop, while the menu item is checked.
    m_meldung = std::make_unique<Anrufmeldung>(benachrichtigungen);
    const auto folgen = [this](bool an) {
        m_meldung->setAktiv(an);
        m_auswertung->setFirmaSuchen(an);
    };
    folgen(m_schalter.gesetzt(Optionsschalter::Schalter::Benachrichtigung));
    QObject::connect(&m_schalter, &Optionsschalter::Geaendert, m_meldung.get(),
                     [folgen](Optionsschalter::Schalter schalter, bool an) {
                         if (schalter == Optionsschalter::Schalter::Benachrichtigung)
                             folgen(an);
                     });
    QObject::connect(m_auswertung, &Anrufauswertung::Erkannt, m_meldung.get(), &Anrufmeldung::Melden);
    QObject::connect(&tapi, &topTapi::Beendet, m_meldung.get(), &Anrufmeldung::Beendet);

    // The notification's buttons run the caller list's commands on the call's entry.
    const auto eintrag = [&fenster](quint64 schluessel) {
        const int i = fenster.lvNummern()->Modell().Zeile(schluessel);
        if (i >= 0)
            fenster.lvNummern()->setSelectedIndex(i);
        return i;
    };
    // A click on the notification: the window with the call selected.
    QObject::connect(m_meldung.get(), &Anrufmeldung::Anzeigen, &fenster, [&fenster, eintrag](quint64 e) {
        eintrag(e);
        fenster.Hervorholen();
    });
    QObject::connect(m_meldung.get(), &Anrufmeldung::KontaktAnzeigen, &fenster, [this, &fenster, eintrag](quint64 e) {
        if (eintrag(e) >= 0)
            m_befehle->mnuACTAnzeigen(m_anrufe, m_anrufe.anruf(e));
    });
    QObject::connect(m_meldung.get(), &Anrufmeldung::Zurueckrufen, &fenster, [this, &fenster, eintrag](quint64 e) {
        if (eintrag(e) >= 0)
            m_waehlen->mnuNummerAnwaehlen(m_anrufe.anruf(e));
    });
}

void Programmteile::mnuAnruferlisteExportieren()
{
    if (!m_fenster)
        return;
    AnruferlisteExportieren befehl(m_dialogs, m_fenster->lvNummern()->Modell().InZeilenfolge());
    // The company is not in the caller list; ACT!'s table has it while ACT! is there.
    Firmenauskunft auskunft(m_dialogs, m_clipboard, m_optionen);
    const QString pfad = befehl.mnuAnruferlisteExportieren([this, &auskunft](const QStringList &ids) {
        return m_pruefung.ACTBereit() ? auskunft.Firmen(m_actApp.ACTDatenbank(), ids) : QHash<QString, QString>();
    });
    if (!pfad.isEmpty())
        m_fenster->Panel(frmHaupt::Statusfeld::Meldung)->setText(befehl.Meldung());
}

void Programmteile::mnuACTDatenbank()
{
    const QString alt = m_adapter.Datenbank();
    const QString pfad = m_dialogs.GetOpenFileName(u"ACT!-Datenbank wählen"_s,
                                                   alt.isEmpty() ? QDir::homePath() : QFileInfo(alt).absolutePath(),
                                                   u"ACT!-Kontakttabellen (*.dbf *.DBF)"_s);
    if (!pfad.isEmpty())
        ACTDatenbankSetzen(pfad);
}

void Programmteile::ACTDatenbankSetzen(const QString &pfad)
{
    m_store.SaveSetting(ActDatenbankAdapter::Abschnitt(), ActDatenbankAdapter::Schluessel(),
                        QFileInfo(pfad).absoluteFilePath());
    m_store.sync();
    // Another database: its definitions are read at once, not on a later tick.
    m_pruefung.setACTBereit(false);
    m_pruefung.PruefeACTDatenbank();
}

void Programmteile::TelefondatenOeffnen(const QString &pfad)
{
    m_telefondaten.init(NummernMdbOrt::Bereitstellen(QFileInfo(pfad).absolutePath()));
    if (!m_telefondaten.istOffen())
        return;
    try {
        m_telefondaten.leseMDBinListview(m_anrufe);
    } catch (const JetFehler &e) {
        // The program goes on with what it could read.
        m_dialogs.MsgBox(u"Die Anruferliste konnte nicht gelesen werden."_s + u"\r\n"_s + u"Fehlernummer: "_s
                             + QString::number(e.Number()) + u"\r\n"_s + u"Fehlerbeschreibung: "_s + e.Description(),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
    }
}

void Programmteile::TelefondatenSchliessen()
{
    m_telefondaten.kill();
}

void Programmteile::TelefonfelderLaden()
{
    // Loaded once and kept hidden: its list is the record of the phone fields.
    if (!m_telefonfelder) {
        m_telefonfelder = std::make_unique<frmTelefonfelder>(m_dialogs, m_optionen, m_actDBF,
                                                              [this] { return m_actApp.ACTDatenbank(); });
        m_suche.setTelefonfelder(&m_telefonfelder->Liste());
    }
}

void Programmteile::TelefonfelderSchliessen()
{
    m_suche.setTelefonfelder(nullptr);
    m_telefonfelder.reset();
}

void Programmteile::mnuTelefonfelder()
{
    TelefonfelderLaden();
    if (m_fenster)
        m_fenster->TimerACT().setEnabled(false);
    const QStringList vorher = clActDBF::Eintraege(m_telefonfelder->AusgewaehlteFelder());
    m_telefonfelder->exec();
    PruefeACTDatenbank();
    // The number cache holds only the phone fields chosen when it was built:
    // a field chosen now is not in it, and every search would fail.
    bool neuesFeld = false;
    for (const QString &feld : clActDBF::Eintraege(m_telefonfelder->AusgewaehlteFelder()))
        neuesFeld = neuesFeld || (!feld.isEmpty() && !vorher.contains(feld, Qt::CaseInsensitive));
    if (neuesFeld && m_fenster && m_schalter.gesetzt(Optionsschalter::Schalter::NummernCache))
        mnuCacheNeu();
    if (m_fenster)
        m_fenster->TimerACT().setEnabled(true);
}

void Programmteile::ACTMonitorInitialisieren()
{
    PruefeACTDatenbank();
}

void Programmteile::PruefeACTDatenbank()
{
    m_pruefung.PruefeACTDatenbank();
}

bool Programmteile::ACTBereit() const
{
    return m_pruefung.ACTBereit();
}

bool Programmteile::AuswertungLaeuft() const
{
    return m_auswertung && m_auswertung->laeuft();
}

void Programmteile::NummernCacheVorbereiten(const QString &pfad)
{
    m_suche.setCachePfad(pfad);
    if (!pfad.isEmpty() && QFile::exists(pfad))
        QFile::remove(pfad);
}

void Programmteile::NummernCacheEntfernen()
{
    const QString &pfad = m_suche.CachePfad();
    if (!pfad.isEmpty() && QFile::exists(pfad))
        QFile::remove(pfad);
}

void Programmteile::ErstelleNummernCache()
{
    cacheBauen({});
}

void Programmteile::cacheBauen(std::function<void()> danach)
{
    if (!m_pruefung.ACTBereit() || !m_fenster || m_cachebau) {
        if (danach)
            danach();
        return;
    }
    // Built on the search thread; the window goes on drawing the progress.
    m_cachebau = true;
    QPointer<frmHaupt> fenster = m_fenster;
    StatusPanel *panel = fenster->Panel(frmHaupt::Statusfeld::Telefon);
    const QString alterText = panel->Text();
    const int alteBreite = panel->width();
    panel->setFixedWidth(fenster->statusBar()->width());
    panel->setText(u"Initialisiere Nummern-Cache"_s);
    const auto status = [fenster](const QString &text) {
        if (!fenster)
            return;
        if (frmStatus *s = fenster->Statusfenster())
            s->setInfo(text);
        else
            fenster->Panel(frmHaupt::Statusfeld::Telefon)->setText(text);
    };
    const auto fertig = [this, fenster, alterText, alteBreite, danach](Kontaktsuche::Cachebau bau) {
        m_cachebau = false;
        QString fehler;
        switch (bau) {
        case Kontaktsuche::Cachebau::Erstellt:
            break;
        case Kontaktsuche::Cachebau::KeinACTZugriff:
            fehler = u"Fehler beim Zugriff auf ACT!-Datenbank."_s;
            break;
        case Kontaktsuche::Cachebau::KeinCachezugriff:
            fehler = u"Fehler beim Zugriff auf "_s + m_suche.CachePfad();
            break;
        case Kontaktsuche::Cachebau::Fehlgeschlagen:
            fehler = u"Nummern-Cache konnte nicht erstellt werden."_s;
            break;
        }
        if (fenster) {
            if (!fehler.isEmpty()) {
                m_dialogs.MsgBox(fehler, Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
                fenster->SchalteNummernCache(false);
            }
            StatusPanel *panel = fenster->Panel(frmHaupt::Statusfeld::Telefon);
            panel->setFixedWidth(alteBreite);
            panel->setText(alterText);
        }
        if (danach)
            danach();
    };
    m_suche.CacheErstellen(status, fertig);
}

void Programmteile::mnuCacheNeu()
{
    if (!m_fenster || m_cachebau)
        return;
    frmHaupt &f = *m_fenster;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    f.setEnabled(false);
    f.Menu(M::mnuCacheNeu)->setEnabled(false);
    f.StatusfensterZeigen(u"Nummern-Cache..."_s);
    // The monitor pauses while the table is rebuilt, and comes back only if
    // it was on. (Not through the button: the window is disabled, and so is
    // the button, whose click would do nothing.)
    Leitungssteuerung &leitung = m_leitungsteile->Leitung();
    const bool warAktiv = leitung.Aktiv();
    if (warAktiv)
        leitung.cmdInitTapi_Click();
    if (!m_schalter.gesetzt(Optionsschalter::Schalter::NummernCache))
        f.SchalteNummernCache(true);
    QPointer<frmHaupt> fenster = m_fenster;
    cacheBauen([this, fenster, warAktiv] {
        QApplication::restoreOverrideCursor();
        if (!fenster)
            return;
        if (warAktiv && m_leitungsteile)
            m_leitungsteile->Leitung().cmdInitTapi_Click();
        fenster->StatusfensterSchliessen();
        fenster->setEnabled(true);
        fenster->Menu(M::mnuCacheNeu)->setEnabled(true);
    });
}

void Programmteile::CacheSchritt()
{
    // While the window loads, the start-up builds the cache itself once it
    // has read the options.
    if (!m_fenster || !m_startAbgeschlossen)
        return;
    const QString pfad = m_suche.CachePfad();
    if (!m_schalter.gesetzt(Optionsschalter::Schalter::NummernCache) || pfad.isEmpty())
        return;
    // The cache stands in for ACT!'s tables.
    m_pruefung.setACTBereit(true);
    if (m_schalter.gesetzt(Optionsschalter::Schalter::NummernCacheAutomatisch)) {
        mnuCacheNeu();
    } else if (clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s)) {
        if (m_dialogs.MsgBox(u"Soll der Nummern-Cache von Rufmon erneuert werden?"_s, Dialogs::Buttons::YesNo,
                             Dialogs::Icon::Question, Dialogs::defaultTitle(), true)
            == Dialogs::Answer::Yes)
            mnuCacheNeu();
    } else {
        mnuCacheNeu();
    }
}
void Programmteile::ProtokollfensterSchliessen()
{
    if (m_protokoll)
        m_protokoll->Schliessen();
}

Auswertungsanzeige *Programmteile::Anzeige() const
{
    return m_anzeige.get();
}

clRufmonDaten *Programmteile::Telefondaten()
{
    return m_telefondaten.istOffen() ? &m_telefondaten : nullptr;
}
