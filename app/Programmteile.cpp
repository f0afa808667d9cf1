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
#include "telephony/Waehlen.h"
#include "windows/Infobefehl.h"
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
                             SystemFacilities &system)
    : m_dialogs(dialogs)
    , m_store(store)
    , m_optionen(store, system)
    , m_telefondaten(dialogs, m_optionen)
    , m_actDBF(dialogs, clipboard, m_optionen)
    , m_actMeldungen(dialogs)
    , m_actFelder(m_actMeldungen)
    , m_adapter(store, m_karte)
    , m_act(store, dialogs, m_adapter)
    , m_actApp(m_act, dialogs,
               [this] {
                   if (m_fenster)
                       m_fenster->close();
               })
    , m_pruefung(m_actFelder, m_actMeldungen, m_optionen, Pruefungsumgebung())
    , m_suche(dialogs, clipboard, m_optionen, m_actDBF, m_actApp, m_pruefung)
    , m_clipboard(clipboard)
    , m_system(system)
{
}

Programmteile::~Programmteile() = default;

ACTPruefung::Umgebung Programmteile::Pruefungsumgebung()
{
    // The check may run before the window is attached; what it shows then goes nowhere.
    const auto panel = [this]() -> StatusPanel * {
        return m_fenster ? m_fenster->Panel(frmHaupt::Statusfeld::ACT) : nullptr;
    };
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [this] { return m_actApp.ACTgestartet(); };
    u.ACTDatenbank = [this] { return m_actApp.ACTDatenbank(); };
    u.PanelText = [panel](const QString &t) {
        if (StatusPanel *p = panel())
            p->setText(t);
    };
    u.PanelBild = [this, panel](int bild) {
        if (StatusPanel *p = panel())
            p->setPicture(m_fenster->ilIcons().Picture(bild), bild);
    };
    u.PanelToolTip = [panel](const QString &t) {
        if (StatusPanel *p = panel())
            p->setToolTipText(t);
    };
    u.TimerACT = [this](bool an) {
        if (m_fenster)
            m_fenster->TimerACT().setEnabled(an);
    };
    u.CacheSchritt = [this] { CacheSchritt(); };
    u.TelefonfelderSetzen = [this](const std::vector<clACTFeld> &felder, const QString &ausschluss) {
        TelefonfelderLaden();
        m_telefonfelder->FelderSetzen(felder, ausschluss);
    };
    return u;
}

void Programmteile::verbinde(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen *benachrichtigungen)
{
    m_fenster = &fenster;
    // The caller identification: the line's caller numbers go in, the stored row comes out.
    m_anzeige = std::make_unique<Auswertungsfenster>(fenster);
    m_aehnliche = std::make_unique<AehnlicheNummern>(
        AehnlicheNummern::Teile{*m_anzeige, fenster.lvKontakte()->Items(), fenster.Ereignisse(), m_suche,
                                m_telefondaten, m_dialogs, m_optionen, m_system});
    m_auswertung = std::make_unique<Anrufauswertung>(Anrufauswertung::Teile{
        *m_anzeige, fenster.lvNummern()->Items(), fenster.lvKontakte()->Items(), fenster.Ereignisse(),
        fenster.Nummern(), m_suche, m_telefondaten, *m_aehnliche, tapi, m_dialogs, m_optionen, m_system});
    QObject::connect(&fenster.Ereignisse(), &Anrufereignisse::Anrufer, m_auswertung.get(),
                     &Anrufauswertung::Anrufer);
    QObject::connect(&fenster.Ereignisse(), &Anrufereignisse::VerbundeneNummer, m_auswertung.get(),
                     &Anrufauswertung::VerbundeneNummer);
    QObject::connect(m_auswertung.get(), &Anrufauswertung::Beendet, &fenster, &frmHaupt::AuswertungBeendet);
    fenster.lvNummern()->Items().setToolTips(&Anrufhinweis::ToolTip);

    QObject::connect(fenster.Menu(M::mnuSuche_aehnliche), &QAction::triggered, &fenster, [this, &fenster] {
        m_aehnliche->mnuSuche_aehnliche(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(M::mnuCacheNeu), &QAction::triggered, &fenster, [this] { mnuCacheNeu(); });

    // Dialing back from either list.
    Waehlen::Anbindung anbindung{
        [&fenster](const QString &t) { fenster.Panel(frmHaupt::Statusfeld::Telefon)->setText(t); },
        [&fenster](const QString &t) { fenster.Text1()->setToolTip(t); },
        [&fenster] { return fenster.cbxAddress()->currentIndex(); }};
    m_waehlen = std::make_unique<Waehlen>(tapi, m_store, m_optionen, m_dialogs, anbindung);
    QObject::connect(fenster.Menu(M::mnuNummerAnwaehlen), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuNummerAnwaehlen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(M::mnuAehnlicheNummerAnwaehlen), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuAehnlicheNummerAnwaehlen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(M::mnuTapiWaehlregeln), &QAction::triggered, &fenster,
                     [this] { m_waehlen->mnuTapiWaehlregeln(); });

    // The telephony log follows its menu item; the events write to it.
    m_protokoll = std::make_unique<Protokollbefehl>(
        m_system, [&fenster](bool gesetzt) { fenster.setMenueGesetzt(M::mnuTAPIProtokoll, gesetzt); }, &fenster);
    QObject::connect(fenster.Menu(M::mnuTAPIProtokoll), &QAction::triggered, &fenster,
                     [this](bool nun) { m_protokoll->mnuTAPIProtokoll(!nun); });
    QObject::connect(&fenster, &frmHaupt::Protokollzeile, m_protokoll.get(), &Protokollbefehl::PrintProtokoll);

    m_tapiInfo = std::make_unique<TapiInfobefehl>(tapi, [&fenster] { return fenster.Ereignisse().LetzterAnruf; },
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
            if (fenster.MenueGesetzt(M::mnuAutoTimer))
                ACTTimerStarten(m_actApp, m_act.desktop(), [&fenster] { fenster.atmen(); });
        });
    QObject::connect(fenster.Menu(M::mnuACTAnzeigen), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuACTAnzeigen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
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
        m_aufzeichnung->mnuACTProtokollAufzeichnen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(M::mnuAehnlicheACTProtokollAufzeichnen), &QAction::triggered, &fenster,
                     [this, &fenster] {
                         m_aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(
                             fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex(),
                             fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
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
    folgen(fenster.MenueGesetzt(M::mnuBenachrichtigung));
    QObject::connect(fenster.Menu(M::mnuBenachrichtigung), &QAction::toggled, m_meldung.get(), folgen);
    QObject::connect(m_auswertung.get(), &Anrufauswertung::Erkannt, m_meldung.get(), &Anrufmeldung::Melden);
    QObject::connect(&tapi, &topTapi::OnCallState, m_meldung.get(), &Anrufmeldung::Zustand);

    // The notification's buttons run the caller list's commands on the call's entry.
    const auto eintrag = [&fenster](quint64 schluessel) {
        const int i = fenster.lvNummern()->Items().indexOf(schluessel);
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
        if (const int i = eintrag(e); i >= 0)
            m_befehle->mnuACTAnzeigen(fenster.lvNummern()->Items(), i);
    });
    QObject::connect(m_meldung.get(), &Anrufmeldung::Zurueckrufen, &fenster, [this, &fenster, eintrag](quint64 e) {
        if (const int i = eintrag(e); i >= 0)
            m_waehlen->mnuNummerAnwaehlen(fenster.lvNummern()->Items(), i);
    });
}

void Programmteile::mnuAnruferlisteExportieren()
{
    if (!m_fenster)
        return;
    AnruferlisteExportieren befehl(m_dialogs, m_fenster->lvNummern()->Items());
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

void Programmteile::TelefondatenOeffnen(const QString &pfad, ListView &lvNummern)
{
    m_telefondaten.init(NummernMdbOrt::Bereitstellen(QFileInfo(pfad).absolutePath()));
    if (!m_telefondaten.istOffen())
        return;
    try {
        m_telefondaten.leseMDBinListview(lvNummern.Items());
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
    if (neuesFeld && m_fenster && m_fenster->MenueGesetzt(M::mnuNummernCache))
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
    const bool warAktiv = f.MonitorAktiv();
    if (warAktiv)
        f.cmdInitTapi_Click();
    if (!f.MenueGesetzt(M::mnuNummernCache))
        f.SchalteNummernCache(true);
    QPointer<frmHaupt> fenster = m_fenster;
    cacheBauen([fenster, warAktiv] {
        QApplication::restoreOverrideCursor();
        if (!fenster)
            return;
        if (warAktiv)
            fenster->cmdInitTapi_Click();
        fenster->StatusfensterSchliessen();
        fenster->setEnabled(true);
        fenster->Menu(M::mnuCacheNeu)->setEnabled(true);
    });
}

void Programmteile::CacheSchritt()
{
    // While the window loads, the menus do not yet hold the options: the
    // start-up builds the cache itself once they do.
    if (!m_fenster || !m_startAbgeschlossen)
        return;
    frmHaupt &f = *m_fenster;
    const QString pfad = m_suche.CachePfad();
    if (!f.MenueGesetzt(M::mnuNummernCache) || pfad.isEmpty())
        return;
    // The cache stands in for ACT!'s tables.
    m_pruefung.setACTBereit(true);
    if (f.MenueGesetzt(M::mnuNummernCacheAutomatisch)) {
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
