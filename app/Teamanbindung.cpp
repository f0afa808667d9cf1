#include "app/Teamanbindung.h"

#include "app/Programmteile.h"
#include "app/frmHaupt.h"
#include "windows/ListView.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/settings/SettingsStore.h"
#include "platform/teamjournal/Teamzugang.h"
#include "platform/telephony/topTapi.h"
#include "team/Teamabfrage.h"
#include "team/Teamjournal.h"
#include "telephony/Anrufauswertung.h"
#include "telephony/Anruflistenabgleich.h"
#include "windows/frmAnrufeImTeam.h"

using namespace Qt::StringLiterals;

Teamanbindung::Teamanbindung(const Teile &teile, QObject *parent)
    : QObject(parent)
    , m_t(teile)
{
    Anrufauswertung *auswertung = m_t.teile.Auswertung();
    Auswertungsanzeige *anzeige = m_t.teile.Anzeige();
    Leitungsteile *leitung = m_t.teile.Leitung();
    if (auswertung && anzeige && leitung)
        m_abgleich = std::make_unique<Anruflistenabgleich>(Anruflistenabgleich::Teile{
            m_t.tapi, *auswertung, m_t.teile.Anrufe(), leitung->Nummern(), *anzeige});

    QAction *menue = m_t.fenster.Menu(Menuepunkt::mnuAnrufeImTeam);
    Teamzugang zugang = Teamzugang::aus(m_t.store);
    menue->setVisible(zugang.eingerichtet());
    if (!zugang.eingerichtet())
        return;
    connect(menue, &QAction::triggered, this, &Teamanbindung::mnuAnrufeImTeam);
    if (m_t.kennwoerter && !zugang.benutzer.isEmpty()) {
        std::optional<QString> kennwort = m_t.kennwoerter->lies(zugang.konto());
        if (!kennwort) {
            // Asked once; the keyring keeps it from then on.
            kennwort = m_t.dialogs.PasswordBox(
                u"Kennwort des Benutzers „%1“ für das Team-Journal %2:"_s.arg(zugang.benutzer, zugang.anzeige()),
                u"Rufmon"_s);
            if (kennwort)
                m_t.kennwoerter->schreibe(zugang.konto(), *kennwort);
        }
        zugang.kennwort = kennwort.value_or(QString());
    }
    m_journal = std::make_unique<Teamjournal>(zugang);
    connect(m_journal.get(), &Teamjournal::ZustandGeaendert, this, &Teamanbindung::ZustandGeaendert);
    if (auswertung) {
        connect(auswertung, &Anrufauswertung::Erkannt, m_journal.get(), [this](const Anruf &anruf) {
            m_journal->Eintragen(anruf, m_t.tapi.CurrentDeviceName());
        });
    }
    connect(&m_t.tapi, &topTapi::Abgenommen, m_journal.get(), &Teamjournal::Abgenommen);
    connect(&m_t.tapi, &topTapi::Beendet, m_journal.get(), &Teamjournal::Beendet);
}

Teamanbindung::~Teamanbindung() = default;

void Teamanbindung::Gestartet(clRufmonDaten *telefondaten)
{
    if (m_journal && telefondaten)
        m_journal->setAusgang(telefondaten->Datenbank());
}

void Teamanbindung::mnuAnrufeImTeam()
{
    if (!m_journal)
        return;
    if (!m_fenster) {
        m_abfrage = std::make_unique<Teamabfrage>(m_journal->Zugang());
        m_fenster = std::make_unique<frmAnrufeImTeam>();
        frmAnrufeImTeam *f = m_fenster.get();
        connect(f, &frmAnrufeImTeam::Abfrage, m_abfrage.get(), &Teamabfrage::abfragen);
        connect(m_abfrage.get(), &Teamabfrage::Ergebnis, f, &frmAnrufeImTeam::zeige);
        connect(m_abfrage.get(), &Teamabfrage::Neu, f, &frmAnrufeImTeam::Neu);
        connect(m_abfrage.get(), &Teamabfrage::Zustand, f, &frmAnrufeImTeam::setZustand);
        m_fenster->setZustand(m_journal->Erreichbar(), m_journal->ZustandText());
    }
    m_fenster->show();
    m_fenster->raise();
    m_fenster->activateWindow();
}
