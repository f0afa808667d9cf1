#include "telephony/Kontaktsuche.h"

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/ActKontaktquelle.h"
#include "actdb/CacheKontaktquelle.h"
#include "actdb/Zeilenleser.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clTabellenCache.h"
#include "actdb/clActDBF.h"
#include "platform/jet/JetFehler.h"
#include "telephony/Diagnose.h"
#include "platform/jet/Recordset.h"

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
    const QString felder = AusgewaehlteFelder();
    if (!m_actDBF.init(ACTDatenbank())) {
        m_actDBF.kill();
        return Cachebau::KeinACTZugriff;
    }
    // Each phone field with its key beside it, both indexed for the searches.
    std::unique_ptr<Recordset> quelle = m_actDBF.Cachequelle(felder);
    // The same rows straight from the file where it can: a million contacts in seconds.
    const std::unique_ptr<Zeilenleser> direkt = quelle ? m_actDBF.Cachezeilen(felder) : nullptr;
    const QString indexfelder = felder.isEmpty() ? QString() : felder + u',' + clActDBF::Schluesselfelder(felder);
    Cachebau ergebnis = Cachebau::Fehlgeschlagen;
    // The file is made anew: the searches open the new one.
    m_cache->schliessen();
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        if (!cache.init(CachePfad(), true, status)) {
            ergebnis = Cachebau::KeinCachezugriff;
        } else {
            try {
                if (quelle && cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, indexfelder, direkt.get()))
                    ergebnis = Cachebau::Erstellt;
            } catch (const JetFehler &e) {
                qCWarning(lcTelefonie).noquote()
                    << u"Nummern-Cache %1 nicht erstellt: %2 %3"_s.arg(CachePfad(), QString::number(e.Number()), e.Description());
                ergebnis = Cachebau::Fehlgeschlagen;
            }
        }
    }
    if (quelle)
        quelle->Close();
    quelle.reset();
    m_actDBF.kill();
    return ergebnis;
}
