#include "app/Programmteile.h"

#include "actcontrol/ACTBefehle.h"
#include "actcontrol/ACTTimerstart.h"
#include "actcontrol/Protokollaufzeichnung.h"
#include "platform/desktop/X11Desktop.h"
#include "actdb/clTabellenCache.h"
#include "telephony/Waehlen.h"
#include "windows/Infobefehl.h"
#include "windows/Nummernlistenbefehl.h"
#include "windows/Protokollbefehl.h"
#include "windows/TapiInfobefehl.h"
#include <QComboBox>
#include <QLineEdit>
#include "app/AehnlicheNummern.h"
#include "app/Anrufauswertung.h"
#include "platform/jet/Recordset.h"

#include <QApplication>
#include <QPushButton>
#include <QLabel>
#include <QStatusBar>
#include "app/frmStatus.h"
#include "actdb/frmTelefonfelder.h"
#include "app/ListView.h"
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "phonedb/NummernMdbOrt.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

Programmteile::Programmteile(Dialogs &dialogs, Clipboard &clipboard, SettingsStore &store,
                             SystemFacilities &system)
    : m_dialogs(dialogs)
    , m_store(store)
    , m_optionen(store, system)
    , m_telefondaten(dialogs, m_optionen)
    , m_actDBF(dialogs, clipboard, m_optionen)
    , m_actFelder(dialogs)
    , m_adapter(store, m_karte)
    , m_actApp(m_adapter, dialogs, [this] {
        if (m_fenster)
            m_fenster->close();
    })
    , m_desktop(std::make_unique<X11Desktop>())
    , m_clipboard(clipboard)
    , m_system(system)
{
}

Programmteile::Cachetreffer::Cachetreffer() = default;
Programmteile::Cachetreffer::Cachetreffer(Cachetreffer &&) noexcept = default;
Programmteile::Cachetreffer &Programmteile::Cachetreffer::operator=(Cachetreffer &&) noexcept = default;
Programmteile::Cachetreffer::~Cachetreffer()
{
    // The rows go before the cache that closes their database.
    treffer.reset();
    cache.reset();
}

Programmteile::Cachetreffer Programmteile::CacheSuchen(const QString &suchfelder, const QString &ergebnisfelder,
                                                       const QString &wert)
{
    Cachetreffer t;
    const QString pfad = modHaupt::instance().CachePfad;
    if (!clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s))
        return t;
    t.cache = std::make_unique<clTabellenCache>(m_dialogs, m_clipboard);
    QLabel *lbID = m_fenster ? m_fenster->lbID() : nullptr;
    if (!t.cache->init(pfad, false, [lbID](const QString &text) {
            if (lbID)
                lbID->setText(text);
        }))
        return t;
    t.nutzbar = true;
    t.treffer = t.cache->Suche(u"ACTNR"_s, suchfelder, ergebnisfelder, wert, u"OR"_s, false);
    return t;
}

void Programmteile::SucheAehnlicheNummern(const QString &vorwahl, const QString &anschluss)
{
    if (m_aehnliche)
        m_aehnliche->SucheAehnlicheNummern(vorwahl, anschluss);
}

Programmteile::~Programmteile() = default;

void Programmteile::verbinde(frmHaupt &fenster, topTapi &tapi)
{
    m_fenster = &fenster;
    m_aehnliche = std::make_unique<AehnlicheNummern>(fenster, *this, m_dialogs, m_system);
    m_auswertung = std::make_unique<Anrufauswertung>(fenster, *this, tapi, m_dialogs, m_system);
    fenster.setAnrufauswertung([this](const QString &n, const QString &na, const QString &p, std::int32_t id,
                                      std::int32_t h, bool v) { m_auswertung->ausfuehren(n, na, p, id, h, v); });
    QObject::connect(fenster.Menu(u"mnuSuche_aehnliche"_s), &QAction::triggered, &fenster,
                     [this] { m_aehnliche->mnuSuche_aehnliche(); });
    QObject::connect(fenster.Menu(u"mnuCacheNeu"_s), &QAction::triggered, &fenster, [this] { mnuCacheNeu(); });

    // Dialing back from either list.
    Waehlen::Anbindung anbindung{[&fenster](const QString &t) { fenster.Panel(1)->setText(t); },
                                 [&fenster](const QString &t) { fenster.Text1()->setToolTip(t); },
                                 [&fenster] { return fenster.cbxAddress()->currentIndex(); },
                                 [&fenster] { fenster.atmen(); }};
    m_waehlen = std::make_unique<Waehlen>(tapi, m_store, m_optionen, m_dialogs, anbindung);
    QObject::connect(fenster.Menu(u"mnuNummerAnwaehlen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuNummerAnwaehlen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(u"mnuAehnlicheNummerAnwaehlen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_waehlen->mnuAehnlicheNummerAnwaehlen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(u"mnuTapiWaehlregeln"_s), &QAction::triggered, &fenster,
                     [this] { m_waehlen->mnuTapiWaehlregeln(); });

    // The telephony log follows its menu item; the events write to it.
    m_protokoll = std::make_unique<Protokollbefehl>(
        m_system, [&fenster](bool gesetzt) { fenster.setMenueGesetzt(u"mnuTAPIProtokoll"_s, gesetzt); }, &fenster);
    QObject::connect(fenster.Menu(u"mnuTAPIProtokoll"_s), &QAction::triggered, &fenster,
                     [this](bool nun) { m_protokoll->mnuTAPIProtokoll(!nun); });
    QObject::connect(&fenster, &frmHaupt::Protokollzeile, m_protokoll.get(), &Protokollbefehl::PrintProtokoll);

    m_tapiInfo = std::make_unique<TapiInfobefehl>(tapi, [&fenster] { return fenster.Ereignisse().LetzterAnruf; },
                                                  &fenster);
    QObject::connect(fenster.Menu(u"mnuTapiInfos"_s), &QAction::triggered, &fenster,
                     [this] { m_tapiInfo->mnuTapiInfos(); });
    m_info = std::make_unique<Infobefehl>(tapi, m_system, &fenster);
    QObject::connect(&fenster, &frmHaupt::InfoAngefordert, &fenster, [this] { m_info->imBanner_Click(); });
    m_nummernliste = std::make_unique<Nummernlistenbefehl>(
        m_dialogs, [this] { return m_telefondaten.Datenbank(); }, &fenster);
    QObject::connect(fenster.Menu(u"mnuNummern"_s), &QAction::triggered, &fenster,
                     [this] { m_nummernliste->mnuNummern(); });
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [this] { return m_actApp.ACTgestartet(); };
    u.ACTDatenbank = [this] { return m_actApp.ACTDatenbank(); };
    u.PanelText = [&fenster](const QString &t) { fenster.Panel(2)->setText(t); };
    u.PanelBild = [&fenster](int bild) { fenster.Panel(2)->setPicture(fenster.ilIcons().Picture(bild), bild); };
    u.PanelToolTip = [&fenster](const QString &t) { fenster.Panel(2)->setToolTipText(t); };
    u.TimerACT = [&fenster](bool an) { fenster.TimerACT().setEnabled(an); };
    u.CacheSchritt = [this] { CacheSchritt(); };
    u.TelefonfelderSetzen = [this](const std::vector<clACTFeld> &felder, const QString &ausschluss) {
        TelefonfelderLaden();
        m_telefonfelder->FelderSetzen(felder, ausschluss);
    };
    m_pruefung = std::make_unique<ACTPruefung>(m_actFelder, modHaupt::instance(), m_dialogs, m_optionen, u);

    m_befehle = std::make_unique<ACTBefehle>(
        m_actApp, [&fenster](const QString &t) { fenster.Panel(3)->setText(t); },
        [this, &fenster] {
            if (fenster.Menu(u"mnuAutoTimer"_s)->isChecked())
                ACTTimerStarten(m_actApp, *m_desktop, [&fenster] { fenster.atmen(); });
        });
    QObject::connect(fenster.Menu(u"mnuACTAnzeigen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuACTAnzeigen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(u"mnuAehnlicheACTAnzeigen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuAehnlicheACTAnzeigen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
    });
    Protokollaufzeichnung::Anbindung aufzeichnung;
    aufzeichnung.meldung = [&fenster](const QString &t) { fenster.Panel(3)->setText(t); };
    aufzeichnung.timerACT = [&fenster](bool an) { fenster.TimerACT().setEnabled(an); };
    aufzeichnung.atmen = [&fenster] { fenster.atmen(); };
    m_aufzeichnung = std::make_unique<Protokollaufzeichnung>(m_actApp, *m_desktop, m_dialogs, m_optionen,
                                                             std::move(aufzeichnung));
    QObject::connect(fenster.Menu(u"mnuACTProtokollAufzeichnen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_aufzeichnung->mnuACTProtokollAufzeichnen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(u"mnuAehnlicheACTProtokollAufzeichnen"_s), &QAction::triggered, &fenster,
                     [this, &fenster] {
                         m_aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(
                             fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex(),
                             fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
                     });
    QObject::connect(fenster.Menu(u"mnuACTDatenbank"_s), &QAction::triggered, &fenster, [this] { mnuACTDatenbank(); });
    QObject::connect(fenster.Menu(u"mnuTelefonfelder"_s), &QAction::triggered, &fenster,
                     [this] { mnuTelefonfelder(); });
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
    modHaupt::instance().ACTBereit = false;
    if (m_pruefung)
        m_pruefung->PruefeACTDatenbank();
}

void Programmteile::TelefondatenOeffnen(const QString &pfad, ListView &lvNummern)
{
    m_telefondaten.init(NummernMdbOrt::Pfad(QFileInfo(pfad).absolutePath()));
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
    if (!m_telefonfelder)
        m_telefonfelder = std::make_unique<frmTelefonfelder>(m_dialogs, m_optionen, m_actDBF,
                                                              [this] { return m_actApp.ACTDatenbank(); });
}

void Programmteile::TelefonfelderSchliessen()
{
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
    if (neuesFeld && m_fenster && m_fenster->Menu(u"mnuNummernCache"_s)->isChecked())
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
    if (m_pruefung)
        m_pruefung->PruefeACTDatenbank();
}

void Programmteile::ErstelleNummernCache()
{
    if (!modHaupt::instance().ACTBereit || !m_fenster)
        return;
    frmHaupt &f = *m_fenster;
    StatusPanel *panel = f.Panel(1);
    const QString alterText = panel->Text();
    const int alteBreite = panel->width();
    panel->setFixedWidth(f.statusBar()->width());
    panel->setText(u"Initialisiere Nummern-Cache"_s);
    f.atmen();
    const QString felder = m_telefonfelder ? m_telefonfelder->AusgewaehlteFelder() : QString();
    if (!m_actDBF.init(m_actApp.ACTDatenbank())) {
        m_dialogs.MsgBox(u"Fehler beim Zugriff auf ACT!-Datenbank."_s, Dialogs::Buttons::Ok,
                         Dialogs::Icon::Information, Dialogs::defaultTitle());
        f.SchalteNummernCache(false);
    } else {
        std::unique_ptr<Recordset> quelle
            = m_actDBF.Suche(QString(), felder.isEmpty() ? u"NAME,COMPANY,CITY"_s : felder + u",NAME,COMPANY,CITY"_s,
                             QString(), QString(), false);
        clTabellenCache cache(m_dialogs, m_clipboard);
        const auto status = [&f](const QString &text) {
            if (frmStatus *s = f.Statusfenster())
                s->setInfo(text);
            else
                f.Panel(1)->setText(text);
        };
        if (!cache.init(modHaupt::instance().CachePfad, true, status)) {
            m_dialogs.MsgBox(u"Fehler beim Zugriff auf "_s + modHaupt::instance().CachePfad, Dialogs::Buttons::Ok,
                             Dialogs::Icon::Information, Dialogs::defaultTitle());
            f.SchalteNummernCache(false);
        } else {
            bool gebaut = false;
            try {
                gebaut = quelle && cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, felder);
            } catch (const JetFehler &) {
                gebaut = false;
            }
            if (!gebaut) {
                m_dialogs.MsgBox(u"Nummern-Cache konnte nicht erstellt werden."_s, Dialogs::Buttons::Ok,
                                 Dialogs::Icon::Information, Dialogs::defaultTitle());
                f.SchalteNummernCache(false);
            }
        }
        if (quelle)
            quelle->Close();
    }
    panel->setFixedWidth(alteBreite);
    panel->setText(alterText);
    m_actDBF.kill();
}

void Programmteile::mnuCacheNeu()
{
    if (!m_fenster)
        return;
    frmHaupt &f = *m_fenster;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    f.setEnabled(false);
    f.Menu(u"mnuCacheNeu"_s)->setEnabled(false);
    f.StatusfensterZeigen(u"Nummern-Cache..."_s);
    f.atmen();
    // The monitor pauses while the table is rebuilt, and comes back only if
    // it was on. (Not through the button: the window is disabled, and so is
    // the button, whose click would do nothing.)
    const bool warAktiv = f.MonitorAktiv();
    if (warAktiv)
        f.cmdInitTapi_Click();
    f.atmen();
    if (!f.Menu(u"mnuNummernCache"_s)->isChecked())
        f.SchalteNummernCache(true);
    ErstelleNummernCache();
    if (warAktiv)
        f.cmdInitTapi_Click();
    f.StatusfensterSchliessen();
    QApplication::restoreOverrideCursor();
    f.setEnabled(true);
    f.Menu(u"mnuCacheNeu"_s)->setEnabled(true);
}

void Programmteile::CacheSchritt()
{
    // While the window loads, the menus do not yet hold the options: the
    // start-up builds the cache itself once they do.
    if (!m_fenster || !m_startAbgeschlossen)
        return;
    frmHaupt &f = *m_fenster;
    const QString pfad = modHaupt::instance().CachePfad;
    if (!f.Menu(u"mnuNummernCache"_s)->isChecked() || pfad.isEmpty())
        return;
    modHaupt::instance().ACTBereit = true;
    if (f.Menu(u"mnuNummernCacheAutomatisch"_s)->isChecked()) {
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

clRufmonDaten *Programmteile::Telefondaten()
{
    return m_telefondaten.istOffen() ? &m_telefondaten : nullptr;
}
