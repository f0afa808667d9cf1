#include "telephony/Kontaktsuche.h"

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ActKontaktquelle.h"
#include "actdb/CacheKontaktquelle.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clActDBF.h"

using namespace Qt::StringLiterals;

Kontaktsuche::Kontaktsuche(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen, clActDBF &actDBF,
                           clACTApplication &actApp, const ACTPruefung &pruefung)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_actDBF(actDBF)
    , m_actApp(actApp)
    , m_pruefung(pruefung)
    , m_act(std::make_unique<ActKontaktquelle>(dialogs, clipboard, optionen, *this))
    , m_cache(std::make_unique<CacheKontaktquelle>(dialogs, clipboard, *this))
{
}

Kontaktsuche::~Kontaktsuche() = default;

QString Kontaktsuche::AusgewaehlteFelder() const
{
    return m_telefonfelder ? m_telefonfelder->AusgewaehlteFelder() : QString();
}

QString Kontaktsuche::Bezeichnung(const QString &feldname) const
{
    return m_telefonfelder ? m_telefonfelder->Bezeichnung(feldname) : QString();
}

bool Kontaktsuche::ACTBereit() const
{
    return m_pruefung.ACTBereit();
}

QString Kontaktsuche::ACTDatenbank() const
{
    return m_actApp.ACTDatenbank();
}

Kontaktquelle &Kontaktsuche::Quelle(bool nummernCache)
{
    if (nummernCache)
        return *m_cache;
    if (m_andere)
        return *m_andere;
    return *m_act;
}

void Kontaktsuche::setCachestatus(std::function<void(const QString &)> status)
{
    m_cache->setStatus(std::move(status));
}

const QString &Kontaktsuche::CachePfad() const
{
    return m_cache->Pfad();
}

void Kontaktsuche::setCachePfad(const QString &pfad)
{
    m_cache->setPfad(pfad);
}

Kontaktsuche::Cachebau Kontaktsuche::CacheErstellen(const std::function<void(const QString &)> &status)
{
    return m_cache->Erstellen(m_actDBF, ACTDatenbank(), status);
}
