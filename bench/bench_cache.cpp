// The number cache: building it from a contact table of 100,000 and of a
// million contacts, and a caller's number searched in the five phone fields
// of 100,000 and of 1,000,000 cached contacts.
//   build-release/bin/bench_cache --benchmark_repetitions=3
// The build runs once per repetition (a million rows take seconds); a single
// build for /usr/bin/time -v: --benchmark_filter=Aufbauen --benchmark_repetitions=1
#include "BenchUmgebung.h"
#include "actdb/ActKontaktquelle.h"
#include "actdb/ActZugang.h"
#include "actdb/CacheKontaktquelle.h"
#include "actdb/clActDBF.h"
#include "actdb/clTabellenCache.h"
#include "actdb/Zeilenleser.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "core/modOptionen.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/jet/Recordset.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "tools/actgen/ActGenerator.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;
// Typed without blanks, so that the ten digits stand together in the field.
const QString Gesucht = u"0891234567"_s;

Umgebung &umgebung()
{
    static Umgebung u;
    return u;
}

// A contact table of that many contacts, made once per run.
const QString &kontakttabelle(qint64 kontakte)
{
    static std::map<qint64, std::pair<std::unique_ptr<QTemporaryDir>, QString>> tabellen;
    auto &eintrag = tabellen[kontakte];
    if (!eintrag.first) {
        eintrag.first = std::make_unique<QTemporaryDir>();
        ActGenerator g;
        g.options().seed = 11;
        g.options().contacts = kontakte;
        g.addSampleContacts();
        ActGenerator::Contact c;
        c.firstName = u"Vera"_s;
        c.lastName = u"Gesucht"_s;
        c.city = u"München"_s;
        c.fax = Gesucht;
        g.addKnownContact(c);
        if (!g.write(eintrag.first->path()))
            qFatal("%s", qPrintable(g.errorString()));
        eintrag.second = g.summary().dbfPath;
    }
    return eintrag.second;
}

// ACT! with that contact table open and the five phone fields chosen.
class Zugang : public ActZugang
{
public:
    explicit Zugang(QString dbf)
        : m_dbf(std::move(dbf))
    {
    }
    bool ACTBereit() const override { return true; }
    QString ACTDatenbank() const override { return m_dbf; }
    QString AusgewaehlteFelder() const override { return Telefonfelder; }
    QString Bezeichnung(const QString &) const override { return {}; }

private:
    QString m_dbf;
};

// Builds the cache of a contact table into `pfad` as the program does,
// through the ACT! source; false on any failure.
bool aufbauen(const QString &dbf, const QString &pfad)
{
    Umgebung &u = umgebung();
    const Zugang zugang(dbf);
    ActKontaktquelle act(u.dialogs, u.clipboard, u.optionen, zugang);
    CacheKontaktquelle cache(u.dialogs, u.clipboard, zugang);
    cache.setPfad(pfad);
    return cache.Erstellen(act, {}) == CacheKontaktquelle::Bau::Erstellt;
}

// The build as it was before the cache took its rows from the contact
// source: the statement's fields, the rows with their keys from the file.
bool aufbauenBisher(const QString &dbf, const QString &pfad)
{
    Umgebung &u = umgebung();
    clActDBF act(u.dialogs, u.clipboard, u.optionen);
    if (!act.init(dbf))
        return false;
    auto quelle = act.Cachequelle(Telefonfelder);
    const auto direkt = quelle ? act.Cachezeilen(Telefonfelder) : nullptr;
    if (!direkt)
        return false;
    clTabellenCache cache(u.dialogs, u.clipboard);
    if (!cache.init(pfad, true, {}))
        return false;
    const bool ok = cache.ADDRecordset(*quelle, u"ACTNR"_s, u"UNIQUE_ID"_s,
                                       Telefonfelder + u',' + clActDBF::Schluesselfelder(Telefonfelder), direkt.get());
    quelle->Close();
    act.kill();
    return ok;
}

// A built cache of that many contacts, made once per run.
const QString &cachedatei(qint64 kontakte)
{
    static std::map<qint64, std::pair<std::unique_ptr<QTemporaryDir>, QString>> dateien;
    auto &eintrag = dateien[kontakte];
    if (!eintrag.first) {
        eintrag.first = std::make_unique<QTemporaryDir>();
        eintrag.second = eintrag.first->filePath(u"Cache.mdb"_s);
        if (!aufbauen(kontakttabelle(kontakte), eintrag.second))
            qFatal("the cache of %lld contacts could not be built", static_cast<long long>(kontakte));
    }
    return eintrag.second;
}

void BM_Cache_Aufbauen(benchmark::State &state)
{
    const QString &dbf = kontakttabelle(state.range(0));
    QTemporaryDir ziel;
    const QString pfad = ziel.filePath(u"Cache.mdb"_s);
    for (auto _ : state) {
        if (!aufbauen(dbf, pfad))
            state.SkipWithError("the cache could not be built");
    }
    state.counters["Zeilen/s"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Cache_Aufbauen)->Arg(100000)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_Cache_Aufbauen_bisher(benchmark::State &state)
{
    const QString &dbf = kontakttabelle(state.range(0));
    QTemporaryDir ziel;
    const QString pfad = ziel.filePath(u"Cache.mdb"_s);
    for (auto _ : state) {
        if (!aufbauenBisher(dbf, pfad))
            state.SkipWithError("the cache could not be built");
    }
}
BENCHMARK(BM_Cache_Aufbauen_bisher)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Searches the number and reads every row found, as the identification does;
// the number of rows.
long sucheUndLies(clTabellenCache &cache, const QString &nummer)
{
    auto rs = cache.Suche(u"ACTNR"_s, Telefonfelder, u"UNIQUE_ID,NAME,CITY"_s, nummer, u"OR"_s, false);
    long n = 0;
    for (; rs && !rs->Eof(); rs->MoveNext(), ++n)
        benchmark::DoNotOptimize(rs->Fields()[u"NAME"_s].Value());
    return n;
}

// One identification: the cache opened once, then the number searched in all
// five phone fields and every row read.
void BM_Cache_Suche_10Ziffern(benchmark::State &state)
{
    const QString &pfad = cachedatei(state.range(0));
    Umgebung &u = umgebung();
    clTabellenCache cache(u.dialogs, u.clipboard);
    if (!cache.init(pfad, false, {})) {
        state.SkipWithError("the cache could not be opened");
        return;
    }
    long gefunden = 0;
    for (auto _ : state) {
        gefunden = sucheUndLies(cache, Gesucht);
    }
    if (gefunden != 1)
        state.SkipWithError("the planted number was not found exactly once");
}
BENCHMARK(BM_Cache_Suche_10Ziffern)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The cache's part of an identification as the program runs it for a call:
// the table looked for, the cache opened, the number searched, the rows read.
void BM_Cache_Identifikation(benchmark::State &state)
{
    const QString &pfad = cachedatei(state.range(0));
    Umgebung &u = umgebung();
    long gefunden = 0;
    for (auto _ : state) {
        if (!clTabellenCache::TabelleVorhanden(pfad, u"ACTNR"_s)) {
            state.SkipWithError("no cache table");
            return;
        }
        clTabellenCache cache(u.dialogs, u.clipboard);
        if (!cache.init(pfad, false, {})) {
            state.SkipWithError("the cache could not be opened");
            return;
        }
        gefunden = sucheUndLies(cache, Gesucht);
    }
    if (gefunden != 1)
        state.SkipWithError("the planted number was not found exactly once");
}
BENCHMARK(BM_Cache_Identifikation)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The cache's part of a call as the identification runs it: the source
// opened (the file stays open), the number as written and then its key
// searched. Known: the planted fax, every time; unknown: a number nobody
// has, another one for each call, both searches to their end.
void BM_Cache_Kontaktsuche(benchmark::State &state, bool bekannt)
{
    const QString &pfad = cachedatei(state.range(0));
    Umgebung &u = umgebung();
    const Zugang zugang(QString{});
    CacheKontaktquelle cache(u.dialogs, u.clipboard, zugang);
    cache.setPfad(pfad);
    int anruf = 0;
    bool falsch = false;
    for (auto _ : state) {
        const QString nummer = bekannt ? Gesucht : u"099990%1"_s.arg(anruf++ % 100000, 5, 10, QChar(u'0'));
        Kontaktquelle::Oeffnung o = cache.oeffnen();
        if (!o.lauf) {
            state.SkipWithError("the cache could not be opened");
            return;
        }
        falsch = falsch || o.lauf->erster(nummer, clActDBF::Schluessel(nummer)).kontakt.has_value() != bekannt;
    }
    if (falsch)
        state.SkipWithError("a number was not found as planted");
}
// The same as before: each search a statement with the number in its text,
// made anew for every number.
void BM_Cache_Kontaktsuche_bisher(benchmark::State &state, bool bekannt)
{
    const QString &pfad = cachedatei(state.range(0));
    auto db = DBEngine::instance().OpenDatabase(pfad);
    const QString schluesselfelder = clActDBF::Schluesselfelder(Telefonfelder);
    int anruf = 0;
    bool falsch = false;
    for (auto _ : state) {
        const QString nummer = bekannt ? Gesucht : u"099990%1"_s.arg(anruf++ % 100000, 5, 10, QChar(u'0'));
        auto rs = db->OpenRecordset(
            clTabellenCache::Anweisung(u"ACTNR"_s, Telefonfelder, u"UNIQUE_ID,NAME,CITY"_s, nummer, u"OR"_s, false));
        bool gefunden = !rs->Eof();
        if (!gefunden) {
            rs = db->OpenRecordset(clTabellenCache::Anweisung(u"ACTNR"_s, schluesselfelder, u"UNIQUE_ID,NAME,CITY"_s,
                                                              clActDBF::Schluessel(nummer), u"OR"_s, false));
            gefunden = !rs->Eof();
        }
        falsch = falsch || gefunden != bekannt;
    }
    if (falsch)
        state.SkipWithError("a number was not found as planted");
}
BENCHMARK_CAPTURE(BM_Cache_Kontaktsuche_bisher, bekannt, true)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Cache_Kontaktsuche_bisher, unbekannt, false)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Cache_Kontaktsuche, bekannt, true)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Cache_Kontaktsuche, unbekannt, false)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A number that no contact has, as most callers' numbers are not in the cache.
void BM_Cache_Suche_ohneTreffer(benchmark::State &state, const QString &nummer)
{
    const QString &pfad = cachedatei(state.range(0));
    Umgebung &u = umgebung();
    clTabellenCache cache(u.dialogs, u.clipboard);
    if (!cache.init(pfad, false, {})) {
        state.SkipWithError("the cache could not be opened");
        return;
    }
    long gefunden = 0;
    for (auto _ : state) {
        gefunden = sucheUndLies(cache, nummer);
    }
    if (gefunden != 0)
        state.SkipWithError("a number nobody has was found");
}
BENCHMARK_CAPTURE(BM_Cache_Suche_ohneTreffer, unbekannt, u"07114839201"_s)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);
// The worst case of the trigram lookup: one digit over and over has a single
// trigram, which many numbers hold somewhere.
BENCHMARK_CAPTURE(BM_Cache_Suche_ohneTreffer, eineZiffer, u"0000000000"_s)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
