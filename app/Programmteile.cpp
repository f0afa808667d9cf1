#include "app/Programmteile.h"

#include "app/ListView.h"
#include "phonedb/NummernMdbOrt.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/jet/JetFehler.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

Programmteile::Programmteile(Dialogs &dialogs, SettingsStore &store, const SystemFacilities &system)
    : m_dialogs(dialogs)
    , m_optionen(store, system)
    , m_telefondaten(dialogs, m_optionen)
{
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

void Programmteile::TelefonfelderLaden() {}
void Programmteile::TelefonfelderSchliessen() {}
void Programmteile::ACTMonitorInitialisieren() {}
void Programmteile::PruefeACTDatenbank() {}
void Programmteile::ErstelleNummernCache() {}
void Programmteile::ProtokollfensterSchliessen() {}

clRufmonDaten *Programmteile::Telefondaten()
{
    return m_telefondaten.istOffen() ? &m_telefondaten : nullptr;
}
