// The team journal under load, on a private PostgreSQL server the benchmark
// starts itself: 50 desks writing one call a second each for a minute (the
// write's latency, every row there), and the team window's query over a
// journal of 1,000,000 calls.
//   make bench && build-release/bin/bench_team
// RUFMON_BENCH_SEKUNDEN shortens the writing (default 60); RUFMON_BENCH_FSYNC=aus
// runs the server without waiting for the disk, to tell the disk's share.
#include "platform/teamjournal/Journalleser.h"
#include "platform/teamjournal/Journalschema.h"
#include "platform/teamjournal/Journalschreiber.h"
#include "platform/teamjournal/PgVerbindung.h"

#include "doubles/PgCluster.h"

#include <QCoreApplication>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;
using Uhr = std::chrono::steady_clock;

namespace {

PgCluster &server()
{
    static PgCluster pg;
    static bool gestartet = [] {
        QString fehler;
        pg.setDauerhaft(qEnvironmentVariable("RUFMON_BENCH_FSYNC") != u"aus"_s);
        if (!PgCluster::fehlt().isEmpty() || !pg.starten(&fehler)) {
            fprintf(stderr, "bench_team: kein PostgreSQL-Server: %s\n", qPrintable(PgCluster::fehlt() + fehler));
            return false;
        }
        PgVerbindung db;
        db.oeffnen(pg.zugang(), 10, nullptr);
        Journalschema::einrichten(db, nullptr);
        return true;
    }();
    Q_UNUSED(gestartet);
    return pg;
}

Journalzeile zeile(const QString &platz, const QDateTime &zeit, int n)
{
    Journalzeile z;
    z.anrufId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    z.zeit = zeit;
    z.arbeitsplatz = platz;
    z.leitung = u"Anrufmonitor fritz.box:1012"_s;
    z.nummer = u"030%1"_s.arg(1000000 + n);
    z.angerufen = u"987654"_s;
    z.ort = u"Berlin"_s;
    z.kontaktName = u"Kontakt %1"_s.arg(n);
    z.erkannt = n % 3 != 0;
    return z;
}

// One desk's write as the writer does it: the row and the news of it, one transaction.
bool schreibe(PgVerbindung &db, const Journalzeile &z)
{
    bool ok = db.ausfuehren("BEGIN").ok;
    ok = ok && db.ausfuehren(Journalschreiber::EinfuegenSql(), Journalschreiber::Werte(z)).ok;
    ok = ok && db.ausfuehren("SELECT pg_notify('rufmon_anrufe', $1)", {z.arbeitsplatz}).ok;
    ok = ok && db.ausfuehren("COMMIT").ok;
    return ok;
}

void BM_FuenfzigPlaetzeSchreiben(benchmark::State &state)
{
    PgCluster &pg = server();
    if (!pg.laeuft()) {
        state.SkipWithError("kein PostgreSQL-Server");
        return;
    }
    const int plaetze = 50;
    const int sekunden = qEnvironmentVariableIntValue("RUFMON_BENCH_SEKUNDEN") > 0
                             ? qEnvironmentVariableIntValue("RUFMON_BENCH_SEKUNDEN")
                             : 60;
    for (auto _ : state) {
        pg.sql(u"TRUNCATE rufmon_anrufe"_s);
        std::vector<std::vector<double>> dauer(plaetze);
        std::atomic<int> fehler{0};
        const auto anfang = Uhr::now();
        std::vector<std::thread> threads;
        for (int p = 0; p < plaetze; ++p) {
            threads.emplace_back([&, p] {
                PgVerbindung db;
                if (!db.oeffnen(pg.zugang(), 10, nullptr)) {
                    fehler += sekunden;
                    return;
                }
                const QString platz = u"Platz %1"_s.arg(p + 1, 2, 10, QChar(u'0'));
                // The desks' calls spread over the second, one a second each.
                const auto versatz = std::chrono::milliseconds(1000 * p / plaetze);
                for (int s = 0; s < sekunden; ++s) {
                    std::this_thread::sleep_until(anfang + versatz + std::chrono::seconds(s));
                    const auto t0 = Uhr::now();
                    if (!schreibe(db, zeile(platz, QDateTime::currentDateTime(), s)))
                        ++fehler;
                    dauer[p].push_back(std::chrono::duration<double, std::milli>(Uhr::now() - t0).count());
                }
            });
        }
        for (auto &t : threads)
            t.join();
        state.SetIterationTime(std::chrono::duration<double>(Uhr::now() - anfang).count());

        std::vector<double> alle;
        for (const auto &d : dauer)
            alle.insert(alle.end(), d.begin(), d.end());
        std::sort(alle.begin(), alle.end());
        const auto quantil = [&](double q) { return alle.empty() ? 0.0 : alle[size_t(q * (alle.size() - 1))]; };
        PgVerbindung db;
        db.oeffnen(pg.zugang(), 10, nullptr);
        const int zeilen = db.ausfuehren("SELECT count(*) FROM rufmon_anrufe").zeilen.value(0).value(0).toInt();
        state.counters["p50_ms"] = quantil(0.50);
        state.counters["p99_ms"] = quantil(0.99);
        state.counters["max_ms"] = alle.empty() ? 0.0 : alle.back();
        state.counters["rows"] = zeilen;
        state.counters["lost"] = plaetze * sekunden - zeilen;
        state.counters["errors"] = fehler.load();
    }
}
BENCHMARK(BM_FuenfzigPlaetzeSchreiben)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// A journal of a million calls of 50 desks over 200 days: the window's query.
void fuelleMillion(PgCluster &pg)
{
    static bool voll = false;
    if (voll)
        return;
    pg.sql(u"TRUNCATE rufmon_anrufe, rufmon_anrufausgang"_s);
    pg.sql(u"INSERT INTO rufmon_anrufe (anruf_id, zeit, arbeitsplatz, leitung, nummer, angerufen, ort, kontakt_id,"
           u" kontakt_name, firma, erkannt, angenommen, dauer)"
           u" SELECT 'id-' || g, now() - (g * interval '17 seconds'), 'Platz ' || lpad((g % 50 + 1)::text, 2, '0'),"
           u" 'Anrufmonitor', '030' || (1000000 + g % 90000), CASE WHEN g % 2 = 0 THEN '987654' ELSE '987655' END,"
           u" 'Berlin', CASE WHEN g % 3 = 0 THEN '' ELSE 'K' || (g % 5000) END, 'Kontakt ' || (g % 5000),"
           u" 'Firma ' || (g % 700), g % 3 <> 0, g % 7 <> 0, g % 300 FROM generate_series(1, 1000000) g"_s);
    pg.sql(u"ANALYZE rufmon_anrufe"_s);
    voll = true;
}

void BM_FensterAbfrage(benchmark::State &state)
{
    PgCluster &pg = server();
    if (!pg.laeuft()) {
        state.SkipWithError("kein PostgreSQL-Server");
        return;
    }
    fuelleMillion(pg);
    PgVerbindung db;
    db.oeffnen(pg.zugang(), 10, nullptr);
    Teamfilter f;
    switch (state.range(0)) {
    case 1: f.arbeitsplatz = u"Platz 07"_s; break;
    case 2: f.nurVerpasste = true; break;
    case 3: f.suchtext = u"Firma 42"_s; break;
    default: break;
    }
    int zeilen = 0;
    for (auto _ : state) {
        const auto e = db.ausfuehren(Journalleser::AbfrageSql(), Journalleser::Werte(f, QDateTime::currentDateTime()));
        const auto p = db.ausfuehren(Journalleser::ArbeitsplaetzeSql(),
                                     {Journalleser::Werte(f, QDateTime::currentDateTime()).value(0)});
        if (!e.ok || !p.ok)
            state.SkipWithError(qPrintable(e.fehler + p.fehler));
        zeilen = static_cast<int>(e.zeilen.size());
    }
    state.counters["rows"] = zeilen;
}
// 0 every call, 1 one desk, 2 missed only, 3 a search text.
BENCHMARK(BM_FensterAbfrage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server().stoppen();
    return 0;
}
