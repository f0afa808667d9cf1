// From the line's caller-id event to the stored row: the identification of a
// known caller on generated ACT! databases, with the number cache and without.
// The similar-number search that follows the stored row is switched off here.
#include "BenchDaten.h"
#include "BenchUmgebung.h"

#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "windows/ListView.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "tools/actgen/ActGenerator.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Programm
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    ProgrammOrdner system{dir.path()};
    ConsoleDialogs dialogs;
    KeineZwischenablage clipboard;
    std::unique_ptr<TelephonyControl> tapi;
    std::unique_ptr<Rufmon> rufmon;
    frmHaupt *fenster = nullptr;

    Programm(qint64 kontakte, bool cache)
    {
        KopiereNummernMdb(dir.path());
        ActGenerator g;
        g.options().seed = 21;
        g.options().contacts = kontakte;
        ActGenerator::Contact c;
        c.firstName = u"Greta"_s;
        c.lastName = u"Grünwald"_s;
        c.city = u"Berlin"_s;
        c.phone = u"0301234567"_s;
        g.addKnownContact(c);
        g.write(dir.filePath(u"act"_s));
        store.SaveSetting(u"ACT"_s, u"Datenbank"_s, g.summary().dbfPath);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, cache ? u"1"_s : u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"AutoNummern"_s, u"0"_s);
        tapi = std::make_unique<TelephonyControl>(store);
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, *tapi});
        fenster = &rufmon->Fenster();
        rufmon->starten();
        fenster->cmdInitTapi()->click();
    }

    ~Programm() { fenster->close(); }
};

// The known caller is the table's first record. A caller nobody knows is the
// worst case: both searches run to their end.
void anrufe(benchmark::State &state, qint64 kontakte, bool cache, bool bekannt)
{
    Programm p(kontakte, cache);
    // The files just made go to the disk first: their write-back would fall
    // into the timed calls, each of which waits for its own row to be stored.
    ::sync();
    const QString nummer = bekannt ? u"0301234567"_s : u"0309876543"_s;
    for (auto _ : state)
        p.tapi->Simulator()->anruf(nummer);
    const ListViewModel &liste = p.fenster->lvNummern()->Items();
    for (int i = 0; i < liste.Count(); ++i) {
        if ((liste.Item(i).Tag == u"Unbekannt"_s) == bekannt)
            state.SkipWithError("a call was identified wrongly");
    }
    state.SetLabel(p.fenster->lbID()->toolTip().toStdString());
}

void BM_Anruf_100000_Cache_bekannt(benchmark::State &state) { anrufe(state, 100000, true, true); }
void BM_Anruf_100000_Cache_unbekannt(benchmark::State &state) { anrufe(state, 100000, true, false); }
void BM_Anruf_100000_Direkt_bekannt(benchmark::State &state) { anrufe(state, 100000, false, true); }
void BM_Anruf_100000_Direkt_unbekannt(benchmark::State &state) { anrufe(state, 100000, false, false); }
void BM_Anruf_1000000_Cache_unbekannt(benchmark::State &state) { anrufe(state, 1000000, true, false); }

BENCHMARK(BM_Anruf_100000_Cache_bekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Cache_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Direkt_bekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Direkt_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_1000000_Cache_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "de_DE.UTF-8");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
