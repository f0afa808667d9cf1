#include "app/Programmteile.h"

#include "actcontrol/ACTBefehle.h"
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
                             const SystemFacilities &system)
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
{
}

Programmteile::~Programmteile() = default;

void Programmteile::verbinde(frmHaupt &fenster)
{
    m_fenster = &fenster;
    ACTPruefung::Umgebung u;
    u.ACTgestartet = [this] { return m_actApp.ACTgestartet(); };
    u.ACTDatenbank = [this] { return m_actApp.ACTDatenbank(); };
    u.PanelText = [&fenster](const QString &t) { fenster.Panel(2)->setText(t); };
    u.PanelBild = [&fenster](int bild) { fenster.Panel(2)->setPicture(fenster.ilIcons().Picture(bild), bild); };
    u.PanelToolTip = [&fenster](const QString &t) { fenster.Panel(2)->setToolTipText(t); };
    u.TimerACT = [&fenster](bool an) { fenster.TimerACT().setEnabled(an); };
    u.TelefonfelderSetzen = [this](const std::vector<clACTFeld> &felder, const QString &ausschluss) {
        TelefonfelderLaden();
        m_telefonfelder->FelderSetzen(felder, ausschluss);
    };
    m_pruefung = std::make_unique<ACTPruefung>(m_actFelder, modHaupt::instance(), m_dialogs, m_optionen, u);

    m_befehle = std::make_unique<ACTBefehle>(m_actApp, [&fenster](const QString &t) { fenster.Panel(3)->setText(t); });
    QObject::connect(fenster.Menu(u"mnuACTAnzeigen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuACTAnzeigen(fenster.lvNummern()->Items(), fenster.lvNummern()->SelectedIndex());
    });
    QObject::connect(fenster.Menu(u"mnuAehnlicheACTAnzeigen"_s), &QAction::triggered, &fenster, [this, &fenster] {
        m_befehle->mnuAehnlicheACTAnzeigen(fenster.lvKontakte()->Items(), fenster.lvKontakte()->SelectedIndex());
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
    m_telefonfelder->exec();
    PruefeACTDatenbank();
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

void Programmteile::ErstelleNummernCache() {}
void Programmteile::ProtokollfensterSchliessen() {}

clRufmonDaten *Programmteile::Telefondaten()
{
    return m_telefondaten.istOffen() ? &m_telefondaten : nullptr;
}
