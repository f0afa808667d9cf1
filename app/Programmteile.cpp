#include "app/Programmteile.h"

#include "actcontrol/ACTBefehle.h"
#include "actcontrol/ACTTimerstart.h"
#include "actcontrol/Protokollaufzeichnung.h"
#include "actdb/Firmenauskunft.h"
#include "actdb/clTabellenCache.h"
#include "app/Auswertungsfenster.h"
#include "app/frmHaupt.h"
#include "core/modHaupt.h"
#include "phonedb/AnruferlisteExportieren.h"
#include "phonedb/NummernMdbOrt.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/topTapi.h"
#include "telephony/AehnlicheNummern.h"
#include "telephony/Anrufauswertung.h"
#include "telephony/Anrufmeldung.h"
#include "telephony/Anrufweg.h"
#include "telephony/Waehlen.h"
#include "windows/Infobefehl.h"
#include "windows/ListView.h"
#include "windows/Nummernlistenbefehl.h"
#include "windows/Telefonieprotokollbefehl.h"
#include "windows/TapiInfobefehl.h"
#include "windows/frmTelefonfelder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using M = Menuepunkt;

namespace {

// Where the parts show nothing: before the window is attached and after it is gone.
class OhneFenster final : public Programmfenster
{
public:
    void setMeldung(const QString &) override {}
    void setACTPruefungAktiv(bool) override {}
    void atmen() override {}
    void warten(int) override {}
    void setTelefonText(const QString &) override {}
    void setWaehlhinweis(const QString &) override {}
    int Adresse() const override { return -1; }
    std::optional<Anruf> gewaehlterAnruf() const override { return std::nullopt; }
    bool waehleAnruf(quint64) override { return false; }
    std::vector<Anruf> Anrufe() const override { return {}; }
    const ListViewModel &AehnlicheKontakte() const override { return m_keineKontakte; }
    int gewaehlterKontakt() const override { return -1; }
    void setACTText(const QString &) override {}
    void setACTBereit(bool) override {}
    void setACTHinweis(const QString &) override {}
    void setCachebau(bool) override {}
    void setCachebauStand(const QString &) override {}
    void setCacheErneuerung(bool) override {}
    void setWartecursor(bool) override {}
    void SchalteNummernCache(bool) override {}
    void Hervorholen() override {}
    void Beenden() override {}

private:
    ListViewModel m_keineKontakte;
};

} // namespace

Programmfenster &Programmteile::ohneFenster()
{
    static OhneFenster keines;
    return keines;
}

bool Programmteile::mitFenster() const
{
    return m_fenster != &ohneFenster();
}

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
    , m_actApp(m_act, dialogs, [this] { m_fenster->Beenden(); })
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
    m_fenster->setACTText(text);
}

void Programmteile::setACTBereit(bool bereit)
{
    m_fenster->setACTBereit(bereit);
}

void Programmteile::setACTHinweis(const QString &text)
{
    m_fenster->setACTHinweis(text);
}

void Programmteile::setPruefungAktiv(bool aktiv)
{
    m_fenster->setACTPruefungAktiv(aktiv);
}

void Programmteile::TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss)
{
    TelefonfelderLaden();
    m_telefonfelder->FelderSetzen(felder, ausschluss);
}

void Programmteile::verbinde(frmHaupt &fenster, topTapi &tapi, Benachrichtigungen *benachrichtigungen)
{
    m_fenster = &fenster;
    // Once the window is gone, what the parts show goes nowhere.
    QObject::connect(&fenster, &QObject::destroyed, &fenster, [this] { m_fenster = &ohneFenster(); });
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

    const auto befehl = [&fenster](Menuepunkt punkt, auto ausfuehren) {
        QObject::connect(fenster.Menu(punkt), &QAction::triggered, &fenster, ausfuehren);
    };
    befehl(M::mnuSuche_aehnliche, [this] { m_aehnliche->mnuSuche_aehnliche(m_fenster->gewaehlterAnruf()); });
    befehl(M::mnuCacheNeu, [this] { mnuCacheNeu(); });

    // Dialing back from either list.
    m_waehlen = std::make_unique<Waehlen>(tapi, m_store, m_dialogs, fenster);
    befehl(M::mnuNummerAnwaehlen, [this] { m_waehlen->mnuNummerAnwaehlen(m_fenster->gewaehlterAnruf()); });
    befehl(M::mnuAehnlicheNummerAnwaehlen, [this] {
        m_waehlen->mnuAehnlicheNummerAnwaehlen(m_fenster->AehnlicheKontakte(), m_fenster->gewaehlterKontakt());
    });
    befehl(M::mnuTapiWaehlregeln, [this] { m_waehlen->mnuTapiWaehlregeln(); });

    // The telephony log follows its menu item; the events write to it.
    m_telefonieprotokoll = std::make_unique<Telefonieprotokollbefehl>(m_system, m_schalter, &fenster);
    befehl(M::mnuTAPIProtokoll, [this](bool nun) { m_telefonieprotokoll->mnuTAPIProtokoll(!nun); });
    QObject::connect(&fenster, &frmHaupt::Telefonieprotokollzeile, m_telefonieprotokoll.get(),
                     &Telefonieprotokollbefehl::PrintProtokoll);

    m_tapiInfo = std::make_unique<TapiInfobefehl>(tapi, [&ereignisse] { return ereignisse.LetzterAnruf; },
                                                  &fenster);
    befehl(M::mnuTapiInfos, [this] { m_tapiInfo->mnuTapiInfos(); });
    m_info = std::make_unique<Infobefehl>(tapi, m_system, &fenster);
    QObject::connect(&fenster, &frmHaupt::InfoAngefordert, &fenster, [this] { m_info->imBanner_Click(); });
    m_nummernliste = std::make_unique<Nummernlistenbefehl>(
        m_dialogs, [this] { return m_telefondaten.Datenbank(); }, &fenster);
    befehl(M::mnuNummern, [this] { m_nummernliste->mnuNummern(); });

    // ACT! shows the caller's contact; its timer starts along when the option says so.
    m_befehle = std::make_unique<ACTBefehle>(m_actApp, fenster);
    QObject::connect(m_befehle.get(), &ACTBefehle::KontaktGezeigt, &fenster, [this] {
        if (m_schalter.gesetzt(Optionsschalter::Schalter::ACTTimer))
            ACTTimerStarten(m_actApp, m_act.desktop(), *m_fenster);
    });
    befehl(M::mnuACTAnzeigen, [this] { m_befehle->mnuACTAnzeigen(m_anrufe, m_fenster->gewaehlterAnruf()); });
    befehl(M::mnuAehnlicheACTAnzeigen, [this] {
        m_befehle->mnuAehnlicheACTAnzeigen(m_fenster->AehnlicheKontakte(), m_fenster->gewaehlterKontakt());
    });
    m_aufzeichnung = std::make_unique<Protokollaufzeichnung>(m_actApp, m_act.desktop(), m_dialogs, m_optionen, fenster);
    befehl(M::mnuACTProtokollAufzeichnen, [this] {
        m_aufzeichnung->mnuACTProtokollAufzeichnen(m_anrufe, m_fenster->gewaehlterAnruf());
    });
    befehl(M::mnuAehnlicheACTProtokollAufzeichnen, [this] {
        m_aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(m_anrufe, m_fenster->gewaehlterAnruf(),
                                                            m_fenster->AehnlicheKontakte(),
                                                            m_fenster->gewaehlterKontakt());
    });
    befehl(M::mnuACTDatenbank, [this] { mnuACTDatenbank(); });
    befehl(M::mnuTelefonfelder, [this] { mnuTelefonfelder(); });
    befehl(M::mnuAnruferlisteExportieren, [this] { mnuAnruferlisteExportieren(); });
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
    // A click on the notification: the window with the call selected.
    QObject::connect(m_meldung.get(), &Anrufmeldung::Anzeigen, &fenster, [this](quint64 e) {
        m_fenster->waehleAnruf(e);
        m_fenster->Hervorholen();
    });
    QObject::connect(m_meldung.get(), &Anrufmeldung::KontaktAnzeigen, &fenster, [this](quint64 e) {
        if (m_fenster->waehleAnruf(e))
            m_befehle->mnuACTAnzeigen(m_anrufe, m_anrufe.anruf(e));
    });
    QObject::connect(m_meldung.get(), &Anrufmeldung::Zurueckrufen, &fenster, [this](quint64 e) {
        if (m_fenster->waehleAnruf(e))
            m_waehlen->mnuNummerAnwaehlen(m_anrufe.anruf(e));
    });
}

void Programmteile::mnuAnruferlisteExportieren()
{
    AnruferlisteExportieren befehl(m_dialogs, m_fenster->Anrufe());
    // The company is not in the caller list; ACT!'s table has it while ACT! is there.
    Firmenauskunft auskunft(m_dialogs, m_clipboard, m_optionen);
    const QString pfad = befehl.mnuAnruferlisteExportieren([this, &auskunft](const QStringList &ids) {
        return m_pruefung.ACTBereit() ? auskunft.Firmen(m_actApp.ACTDatenbank(), ids) : QHash<QString, QString>();
    });
    if (!pfad.isEmpty())
        m_fenster->setMeldung(befehl.Meldung());
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
    m_fenster->setACTPruefungAktiv(false);
    const QStringList vorher = clActDBF::Eintraege(m_telefonfelder->AusgewaehlteFelder());
    m_telefonfelder->exec();
    PruefeACTDatenbank();
    // The number cache holds only the phone fields chosen when it was built:
    // a field chosen now is not in it, and every search would fail.
    bool neuesFeld = false;
    for (const QString &feld : clActDBF::Eintraege(m_telefonfelder->AusgewaehlteFelder()))
        neuesFeld = neuesFeld || (!feld.isEmpty() && !vorher.contains(feld, Qt::CaseInsensitive));
    if (neuesFeld && mitFenster() && m_schalter.gesetzt(Optionsschalter::Schalter::NummernCache))
        mnuCacheNeu();
    m_fenster->setACTPruefungAktiv(true);
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
    if (!m_pruefung.ACTBereit() || !mitFenster() || m_cachebau) {
        if (danach)
            danach();
        return;
    }
    // Built on the search thread; the window goes on drawing the progress.
    m_cachebau = true;
    m_fenster->setCachebau(true);
    const auto status = [this](const QString &text) { m_fenster->setCachebauStand(text); };
    const auto fertig = [this, danach](Kontaktsuche::Cachebau bau) {
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
        if (!fehler.isEmpty() && mitFenster()) {
            m_dialogs.MsgBox(fehler, Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
            m_fenster->SchalteNummernCache(false);
        }
        m_fenster->setCachebau(false);
        if (danach)
            danach();
    };
    m_suche.CacheErstellen(status, fertig);
}

void Programmteile::mnuCacheNeu()
{
    if (!mitFenster() || m_cachebau)
        return;
    m_fenster->setWartecursor(true);
    m_fenster->setCacheErneuerung(true);
    // The monitor pauses while the table is rebuilt, and comes back only if
    // it was on. (Not through the button: the window is disabled, and so is
    // the button, whose click would do nothing.)
    Leitungssteuerung &leitung = m_leitungsteile->Leitung();
    const bool warAktiv = leitung.Aktiv();
    if (warAktiv)
        leitung.cmdInitTapi_Click();
    if (!m_schalter.gesetzt(Optionsschalter::Schalter::NummernCache))
        m_fenster->SchalteNummernCache(true);
    cacheBauen([this, warAktiv] {
        m_fenster->setWartecursor(false);
        if (!mitFenster())
            return;
        if (warAktiv && m_leitungsteile)
            m_leitungsteile->Leitung().cmdInitTapi_Click();
        m_fenster->setCacheErneuerung(false);
    });
}

void Programmteile::CacheSchritt()
{
    // While the window loads, the start-up builds the cache itself once it
    // has read the options.
    if (!mitFenster() || !m_startAbgeschlossen)
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
void Programmteile::TelefonieprotokollSchliessen()
{
    if (m_telefonieprotokoll)
        m_telefonieprotokoll->Schliessen();
}

Auswertungsanzeige *Programmteile::Anzeige() const
{
    return m_anzeige.get();
}

clRufmonDaten *Programmteile::Telefondaten()
{
    return m_telefondaten.istOffen() ? &m_telefondaten : nullptr;
}
