// Place look-up per number, and the caller list of 100,000 calls as the
// start-up loads and sorts it.
#include "BenchDaten.h"

#include "core/Anruf.h"
#include "core/Anruferliste.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/modListviewSort.h"
#include "core/modOptionen.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/jet/Database.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

struct Umgebung
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    LinuxSystem system;
    ConsoleDialogs dialogs;
    modOptionen optionen{store, system};
    clRufmonDaten daten{dialogs, optionen, [] { return u"00000407"_s; }};

    Umgebung() { daten.init(KopiereNummernMdb(dir.path())); }
};

void spalten(Spaltenmodell &m)
{
    m.setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                  {u"Datum"_s, u"Datum"_s, {}},
                  {u"Ort"_s, u"Ort"_s, {}},
                  {u"Kontakt"_s, u"Kontakt"_s, {}}});
}

void BM_BestimmeVorwahlAnschlussOrtLand(benchmark::State &state)
{
    Umgebung u;
    std::mt19937 zufall(4711);
    const QStringList nummern = BenchNummern(10000, u.daten.Datenbankpfad(), zufall);
    qsizetype i = 0;
    QString lv, v, a, l, o;
    for (auto _ : state) {
        u.daten.BestimmeVorwahlAnschlussOrtLand(nummern[i], lv, v, a, l, o);
        benchmark::DoNotOptimize(o);
        i = (i + 1) % nummern.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BestimmeVorwahlAnschlussOrtLand)->Unit(benchmark::kMicrosecond);

// Fills the caller list with `anzahl` calls through the program's own append.
void fuelle(Umgebung &u, int anzahl)
{
    QDateTime zeit(QDate(2026, 1, 1), QTime(8, 0));
    std::mt19937 zufall(1);
    const QStringList nummern = BenchNummern(1000, u.daten.Datenbankpfad(), zufall);
    Anruf anruf;
    anruf.ort = u"Berlin"_s;
    anruf.name = u"Müller, Jürgen"_s;
    anruf.bild = 6;
    anruf.ergebnis = Anruf::Ergebnis::Erkannt;
    anruf.kontaktId = u"ABCDEFGHIJKL"_s;
    u.daten.Datenbank()->BeginTrans();
    for (int i = 0; i < anzahl; ++i) {
        anruf.nummer = nummern[i % 1000];
        anruf.zeit = zeit.addSecs(i * 37);
        u.daten.speichere(anruf);
    }
    u.daten.Datenbank()->CommitTrans();
}

void BM_leseMDBinListview_100000(benchmark::State &state)
{
    Umgebung u;
    fuelle(u, 100000);
    Anruferliste liste;
    for (auto _ : state) {
        u.daten.leseMDBinListview(liste);
        benchmark::DoNotOptimize(liste.Anzahl());
    }
    if (liste.Anzahl() != 100000)
        state.SkipWithError("wrong row count");
}
BENCHMARK(BM_leseMDBinListview_100000)->Unit(benchmark::kMillisecond);

// What the start-up does: load, then sort newest first by date.
void BM_LadenUndSortieren_100000(benchmark::State &state)
{
    Umgebung u;
    fuelle(u, 100000);
    Anruferliste anrufe;
    Anruferlistenansicht liste(anrufe);
    spalten(liste.Modell());
    for (auto _ : state) {
        u.daten.leseMDBinListview(anrufe);
        liste.setSortKey(0);
        modListviewSort::SortColumn(liste, 1, false);
        benchmark::DoNotOptimize(liste.Modell().Count());
    }
}
BENCHMARK(BM_LadenUndSortieren_100000)->Unit(benchmark::kMillisecond);

// One call stored as the identification stores it: its own transaction.
void BM_speichere(benchmark::State &state)
{
    Umgebung u;
    Anruf anruf;
    anruf.nummer = u"0301234567"_s;
    anruf.zeit = QDateTime(QDate(2026, 12, 6), QTime(10, 15, 30));
    anruf.ort = u"Berlin"_s;
    anruf.name = u"Müller"_s;
    anruf.bild = 6;
    anruf.ergebnis = Anruf::Ergebnis::Erkannt;
    anruf.kontaktId = u"ABCDEFGHIJKL"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(u.daten.speichere(anruf));
}
BENCHMARK(BM_speichere)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
