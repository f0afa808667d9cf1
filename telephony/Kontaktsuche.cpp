#include "telephony/Kontaktsuche.h"

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ActKontaktquelle.h"
#include "actdb/CacheKontaktquelle.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clActDBF.h"

using namespace Qt::StringLiterals;

// The program's table access (`clActDBF &`) belongs to the GUI thread; the
// cache build opens the table for itself.
Kontaktsuche::Kontaktsuche(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen, clActDBF &,
                           clACTApplication &actApp, const ACTPruefung &pruefung)
    : m_dialogs(dialogs, m_postfach)
    , m_clipboard(clipboard, m_postfach)
    , m_optionen(optionen)
    , m_actApp(actApp)
    , m_pruefung(pruefung)
    , m_act(std::make_unique<ActKontaktquelle>(m_dialogs, m_clipboard, optionen, m_bild))
    , m_cache(std::make_unique<CacheKontaktquelle>(m_dialogs, m_clipboard, m_bild))
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

void Kontaktsuche::bildAufnehmen()
{
    m_bild.aufnehmen(*this, clActDBF::Eintraege(m_telefonfelder ? m_telefonfelder->AlleFelder() : QString()));
}

Kontaktquelle &Kontaktsuche::Quelle(bool nummernCache)
{
    bildAufnehmen();
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

QString Kontaktsuche::CachePfad() const
{
    return m_cache->Pfad();
}

void Kontaktsuche::setCachePfad(const QString &pfad)
{
    m_cache->setPfad(pfad);
}

void Kontaktsuche::CacheErstellen(Cachestatus status, Cachefertig fertig)
{
    bildAufnehmen();
    // The source as it is now: it is chosen here, on the GUI thread.
    Kontaktquelle *quelle = m_andere ? m_andere : m_act.get();
    m_thread.ausfuehren(&m_kontext, [this, quelle, status = std::move(status),
                                     fertig = std::move(fertig)](Suchthread::Bote &bote) {
        const auto melden = [&](const QString &text) {
            if (status)
                bote.melden([status, text] { status(text); });
        };
        const Cachebau bau = m_cache->Erstellen(*quelle, melden);
        bote.melden([fertig, bau] {
            if (fertig)
                fertig(bau);
        });
    });
}
