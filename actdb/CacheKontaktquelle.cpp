#include "actdb/CacheKontaktquelle.h"

#include "actdb/ActZugang.h"
#include "actdb/Bestandszeilen.h"
#include "actdb/Kontaktzeilen.h"
#include "actdb/clActDBF.h"
#include "actdb/DiagnoseActdb.h"
#include "actdb/clTabellenCache.h"
#include "platform/jet/DaoTyp.h"
#include "platform/jet/Field.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

#include <QFileInfo>
#include <QMutexLocker>

using namespace Qt::StringLiterals;

namespace {

const QString Tabelle = u"ACTNR"_s;

class CacheSuchlauf : public Kontaktsuchlauf
{
public:
    CacheSuchlauf(std::shared_ptr<clTabellenCache> cache, const ActZugang &zugang)
        : m_cache(std::move(cache))
        , m_zugang(zugang)
        , m_felder(zugang.AusgewaehlteFelder())
    {
    }

    Fund erster(const QString &nummer, const QString &schluessel) override
    {
        return Kontaktzeilen::erster(
            m_cache->Suche(Tabelle, m_felder, u"UNIQUE_ID,NAME,CITY"_s, nummer, u"OR"_s, false), schluessel, [&] {
                return m_cache->Suche(Tabelle, clActDBF::Schluesselfelder(m_felder), u"UNIQUE_ID,NAME,CITY"_s,
                                      schluessel, u"OR"_s, false);
            });
    }

    Aehnliche aehnliche(const QString &ziffern) override
    {
        // As written first, then by key: in this order the statements run and show.
        std::unique_ptr<Recordset> woertlich
            = m_cache->Suche(Tabelle, m_felder, u"UNIQUE_ID,NAME,COMPANY"_s, ziffern, u"OR"_s, false);
        std::unique_ptr<Recordset> nachSchluessel
            = m_cache->Suche(Tabelle, clActDBF::Schluesselfelder(m_felder), u"UNIQUE_ID,NAME,COMPANY,"_s + m_felder,
                             ziffern, u"OR"_s, false);
        return Kontaktzeilen::sammeln(std::move(woertlich), std::move(nachSchluessel), ziffern, m_zugang);
    }

    QString firma(const QString &id) override { return m_cache->Firma(Tabelle, id); }

private:
    std::shared_ptr<clTabellenCache> m_cache;
    const ActZugang &m_zugang;
    QString m_felder;
};

} // namespace

CacheKontaktquelle::CacheKontaktquelle(Dialogs &dialogs, Clipboard &clipboard, const ActZugang &zugang)
    : m_dialogs(dialogs)
    , m_clipboard(clipboard)
    , m_zugang(zugang)
{
}

CacheKontaktquelle::~CacheKontaktquelle() = default;

QString CacheKontaktquelle::Pfad() const
{
    const QMutexLocker sperre(&m_mutex);
    return m_pfad;
}

void CacheKontaktquelle::setPfad(const QString &pfad)
{
    std::shared_ptr<clTabellenCache> alt;
    const QMutexLocker sperre(&m_mutex);
    if (pfad != m_pfad)
        alt = std::exchange(m_offen, nullptr);
    m_pfad = pfad;
}

void CacheKontaktquelle::setStatus(Statusanzeige status)
{
    const QMutexLocker sperre(&m_mutex);
    m_status = std::move(status);
}

CacheKontaktquelle::Statusanzeige CacheKontaktquelle::status() const
{
    const QMutexLocker sperre(&m_mutex);
    return m_status;
}

void CacheKontaktquelle::schliessen()
{
    std::shared_ptr<clTabellenCache> alt;
    const QMutexLocker sperre(&m_mutex);
    alt = std::exchange(m_offen, nullptr);
}

std::optional<CacheKontaktquelle::Dateikennung> CacheKontaktquelle::kennung(const QString &pfad)
{
    const QFileInfo datei(pfad);
    if (!datei.exists() || datei.isSymLink() || !datei.isFile())
        return std::nullopt;
    return Dateikennung{datei.size(), datei.lastModified(), datei.birthTime()};
}

std::shared_ptr<clTabellenCache> CacheKontaktquelle::offenerCache()
{
    // Runs on the search thread only, so the file is opened once at a time;
    // the lock is held only over the members, not while the file is opened.
    const QString pfad = Pfad();
    const std::optional<Dateikennung> jetzt = kennung(pfad);
    {
        const QMutexLocker sperre(&m_mutex);
        if (m_offen && jetzt && *jetzt == m_offenKennung)
            return m_offen;
    }
    schliessen();
    if (!clTabellenCache::TabelleVorhanden(pfad, Tabelle))
        return nullptr;
    auto cache = std::make_shared<clTabellenCache>(m_dialogs, m_clipboard);
    if (!cache->init(pfad, false, status()))
        return nullptr;
    if (const std::optional<Dateikennung> geoeffnet = kennung(pfad)) {
        const QMutexLocker sperre(&m_mutex);
        if (m_pfad == pfad) {
            m_offen = cache;
            m_offenKennung = *geoeffnet;
        }
    }
    return cache;
}

Kontaktquelle::Oeffnung CacheKontaktquelle::oeffnen()
{
    Oeffnung o;
    // No phone field chosen: nobody can be found (a search without a field
    // would match every contact).
    if (clActDBF::OhneFelder(m_zugang.AusgewaehlteFelder()))
        return o;
    std::shared_ptr<clTabellenCache> cache = offenerCache();
    if (!cache) {
        o.zustand = Oeffnung::Zustand::Abschalten;
        o.meldung = u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + Pfad() + u"\r\n"_s
                    + u"Der Nummerncache wird deaktiviert."_s;
        return o;
    }
    o.zustand = Oeffnung::Zustand::Offen;
    o.lauf = std::make_unique<CacheSuchlauf>(std::move(cache), m_zugang);
    return o;
}

QString CacheKontaktquelle::Suchmeldung() const
{
    return u"Suche Kontakt im Nummerncache..."_s;
}

std::unique_ptr<Kontaktbestand> CacheKontaktquelle::bestand(const QStringList &)
{
    return nullptr;
}

CacheKontaktquelle::Bau CacheKontaktquelle::Erstellen(Kontaktquelle &quelle, const Statusanzeige &status)
{
    const QString felder = m_zugang.AusgewaehlteFelder();
    const QStringList telefonfelder = clActDBF::Eintraege(felder);
    const QString pfad = Pfad();
    std::unique_ptr<Kontaktbestand> bestand = quelle.bestand(telefonfelder);
    if (!bestand)
        return Bau::KeinACTZugriff;
    // Each phone field with its key beside it, both indexed for the searches;
    // every column text, as long as the source's field.
    const auto text = [&bestand](const QString &name, std::size_t stelle) {
        const int laenge = bestand->laenge(stelle);
        return Field(name, DaoTyp::dbText, laenge > 0 ? laenge : DaoTyp::Standardgroesse(DaoTyp::dbText), true);
    };
    ::Fields spalten;
    for (std::size_t i = 0; i < std::size_t(telefonfelder.size()); ++i) {
        spalten.Append(text(telefonfelder[qsizetype(i)], i));
        spalten.Append(Field(clActDBF::Schluesselfeld(telefonfelder[qsizetype(i)]), DaoTyp::dbText,
                             DaoTyp::Standardgroesse(DaoTyp::dbText), true));
    }
    const QStringList weitere{u"NAME"_s, u"COMPANY"_s, u"CITY"_s, u"UNIQUE_ID"_s};
    for (std::size_t i = 0; i < std::size_t(weitere.size()); ++i)
        spalten.Append(text(weitere[qsizetype(i)], std::size_t(telefonfelder.size()) + i));
    const QString indexfelder = felder.isEmpty() ? QString() : felder + u',' + clActDBF::Schluesselfelder(felder);
    Bau ergebnis = Bau::Fehlgeschlagen;
    // The file is made anew: the searches open the new one.
    schliessen();
    {
        clTabellenCache cache(m_dialogs, m_clipboard);
        if (!cache.init(pfad, true, status)) {
            ergebnis = Bau::KeinCachezugriff;
        } else if (bestand->fehler().isEmpty()) {
            // Contacts that cannot be read at all make no table.
            try {
                Bestandszeilen zeilen(*bestand, std::size_t(telefonfelder.size()),
                                      clActDBF::Heimatvorwahl().toStdString());
                if (cache.ADDZeilen(spalten, Tabelle, u"UNIQUE_ID"_s, indexfelder, zeilen))
                    ergebnis = Bau::Erstellt;
            } catch (const JetFehler &e) {
                qCWarning(lcActdb).noquote() << u"Nummern-Cache %1 nicht erstellt: %2 %3"_s.arg(
                    pfad, QString::number(e.Number()), e.Description());
                ergebnis = Bau::Fehlgeschlagen;
            }
        }
    }
    // The source's rows are let go of once the cache is closed.
    bestand.reset();
    return ergebnis;
}
