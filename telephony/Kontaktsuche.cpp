#include "telephony/Kontaktsuche.h"

#include "actcontrol/clACTApplication.h"
#include "actdb/ACTPruefung.h"
#include "actdb/Zeilenleser.h"
#include "actdb/Telefonfeldliste.h"
#include "actdb/clTabellenCache.h"
#include "actdb/clActDBF.h"
#include "platform/jet/JetFehler.h"
#include "telephony/Diagnose.h"
#include "platform/jet/Recordset.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

Kontaktsuche::Cachetreffer::Cachetreffer() = default;
Kontaktsuche::Cachetreffer::Cachetreffer(Cachetreffer &&) noexcept = default;
Kontaktsuche::Cachetreffer &Kontaktsuche::Cachetreffer::operator=(Cachetreffer &&) noexcept = default;
Kontaktsuche::Cachetreffer::~Cachetreffer()
{
    // The rows go before the cache that closes their database.
    treffer.reset();
    cache.reset();
}

Kontaktsuche::Kontaktsuche(Dialogs &dialogs, Clipboard &clipboard, clActDBF &actDBF, clACTApplication &actApp,
                           const ACTPruefung &pruefung)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_actDBF(actDBF)
    , m_actApp(actApp)
    , m_pruefung(pruefung)
{
}

QString Kontaktsuche::AusgewaehlteFelder() const
{
    return m_telefonfelder ? m_telefonfelder->AusgewaehlteFelder() : QString();
}

QString Kontaktsuche::Bezeichnung(const QString &feldname) const
{
    return m_telefonfelder ? m_telefonfelder->Bezeichnung(feldname) : QString();
}

Kontaktsuche::Cachetreffer Kontaktsuche::CacheSuchen(const QString &suchfelder, const QString &ergebnisfelder,
                                                     const QString &wert,
                                                     const std::function<void(const QString &)> &status)
{
    Cachetreffer t;
    t.cache = offenerCache(status);
    if (!t.cache)
        return t;
    t.nutzbar = true;
    t.treffer = t.cache->Suche(u"ACTNR"_s, suchfelder, ergebnisfelder, wert, u"OR"_s, false);
    return t;
}

void Kontaktsuche::setCachePfad(const QString &pfad)
{
    if (pfad != m_cachePfad)
        m_offen.reset();
    m_cachePfad = pfad;
}

std::optional<Kontaktsuche::Dateikennung> Kontaktsuche::kennung(const QString &pfad)
{
    const QFileInfo datei(pfad);
    if (!datei.exists() || datei.isSymLink() || !datei.isFile())
        return std::nullopt;
    return Dateikennung{datei.size(), datei.lastModified(), datei.birthTime()};
}

std::shared_ptr<clTabellenCache> Kontaktsuche::offenerCache(const std::function<void(const QString &)> &status)
{
    // A file deleted, built anew or replaced since is opened again (or found missing).
    const std::optional<Dateikennung> jetzt = kennung(m_cachePfad);
    if (m_offen && jetzt && *jetzt == m_offenKennung)
        return m_offen;
    m_offen.reset();
    if (!clTabellenCache::TabelleVorhanden(m_cachePfad, u"ACTNR"_s))
        return nullptr;
    auto cache = std::make_shared<clTabellenCache>(m_dialogs, m_clipboard);
    if (!cache->init(m_cachePfad, false, status))
        return nullptr;
    if (const std::optional<Dateikennung> geoeffnet = kennung(m_cachePfad)) {
        m_offen = cache;
        m_offenKennung = *geoeffnet;
    }
    return cache;
}

bool Kontaktsuche::ACTBereit() const
{
    return m_pruefung.ACTBereit();
}

QString Kontaktsuche::ACTDatenbank() const
{
    return m_actApp.ACTDatenbank();
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
    m_offen.reset();
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        if (!cache.init(m_cachePfad, true, status)) {
            ergebnis = Cachebau::KeinCachezugriff;
        } else {
            try {
                if (quelle && cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s, indexfelder, direkt.get()))
                    ergebnis = Cachebau::Erstellt;
            } catch (const JetFehler &e) {
                qCWarning(lcTelefonie).noquote()
                    << u"Nummern-Cache %1 nicht erstellt: %2 %3"_s.arg(m_cachePfad, QString::number(e.Number()), e.Description());
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
