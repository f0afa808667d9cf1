// From the line's caller-id event to the stored row: the identification of a
// known caller on generated ACT! databases, with the number cache and without.
// The similar-number search that follows the stored row is switched off here.
#include "BenchDaten.h"
#include "BenchUmgebung.h"

#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "core/Anruferliste.h"
#include "windows/Anruferlistenansicht.h"
#include "telephony/Anrufauswertung.h"
#include "windows/ListView.h"
#include "platform/clipboard/Clipboard.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "tools/actgen/ActGenerator.h"

#include <QApplication>
#include <QFile>
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
    X11Desktop x11;
    std::unique_ptr<Rufmon> rufmon;
    frmHaupt *fenster = nullptr;

    Programm(qint64 kontakte, bool cache, int gespeichert = 0, bool starten = true)
    {
        SpeichereAnrufe(KopiereNummernMdb(dir.path()), gespeichert);
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
        if (starten)
            start();
    }

    void start()
    {
        tapi = std::make_unique<TelephonyControl>(store);
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, *tapi, x11});
        fenster = &rufmon->Fenster();
        rufmon->starten();
        warteBis([this] { return !rufmon->Teile().CacheWirdErstellt(); });
        fenster->cmdInitTapi()->click();
    }

    ~Programm()
    {
        if (fenster)
            fenster->close();
    }

    // Calls of earlier days in the caller-list store, as the program writes them.
    static void SpeichereAnrufe(const QString &mdb, int anzahl)
    {
        if (anzahl == 0)
            return;
        auto db = DBEngine::instance().OpenDatabase(mdb);
        db->BeginTrans();
        const QDateTime anfang(QDate(2026, 1, 1), QTime(8, 0));
        for (int i = 0; i < anzahl; ++i) {
            db->Execute(u"INSERT INTO Anrufspeicher (UniqueID, Nummer, Datum, Ort, Kontakt, Icon) "
                        u"VALUES (?, ?, ?, ?, ?, ?)"_s,
                        QVariantList{u"Unbekannt"_s, u"0301%1"_s.arg(i, 6, 10, QChar(u'0')),
                                     anfang.addSecs(i * 60).toString(u"yyyy-MM-dd HH:mm:ss"_s), u"Berlin"_s,
                                     u"Unbekannt"_s, 2});
        }
        db->CommitTrans();
        db->Close();
    }
};

// Resident memory of the process in MiB.
double ResidentMiB()
{
    QFile statm(u"/proc/self/statm"_s);
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> teile = statm.readAll().split(' ');
    return teile.size() > 1 ? teile[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

// The known caller is the table's first record. A caller nobody knows is the
// worst case: both searches run to their end.
void anrufe(benchmark::State &state, qint64 kontakte, bool cache, bool bekannt, int gespeichert = 0)
{
    Programm p(kontakte, cache, gespeichert);
    // The files just made go to the disk first: their write-back would fall
    // into the timed calls, each of which waits for its own row to be stored.
    ::sync();
    const QString nummer = bekannt ? u"0301234567"_s : u"0309876543"_s;
    const Anrufauswertung &auswertung = *p.rufmon->Teile().Auswertung();
    for (auto _ : state) {
        p.tapi->Simulator()->anruf(nummer);
        warteBis([&auswertung] { return !auswertung.laeuft(); });
    }
    // The stored calls of earlier days are all unknown.
    const Anruferliste &liste = p.fenster->lvNummern()->Anrufe();
    qint64 erkannt = 0;
    for (int i = 0; i < liste.Anzahl(); ++i)
        erkannt += liste.an(i).erkannt();
    if (erkannt != (bekannt ? qint64(state.iterations()) : 0))
        state.SkipWithError("a call was identified wrongly");
    state.SetLabel(p.fenster->lbID()->toolTip().toStdString());
}

void BM_Anruf_100000_Cache_bekannt(benchmark::State &state) { anrufe(state, 100000, true, true); }
void BM_Anruf_100000_Cache_unbekannt(benchmark::State &state) { anrufe(state, 100000, true, false); }
void BM_Anruf_100000_Direkt_bekannt(benchmark::State &state) { anrufe(state, 100000, false, true); }
void BM_Anruf_100000_Direkt_unbekannt(benchmark::State &state) { anrufe(state, 100000, false, false); }
void BM_Anruf_1000000_Cache_unbekannt(benchmark::State &state) { anrufe(state, 1000000, true, false); }
// The same calls with a long caller list: a call must not cost more for it.
void BM_Anruf_100000_Cache_bekannt_100000Anrufe(benchmark::State &state)
{
    anrufe(state, 100000, true, true, 100000);
}
void BM_Anruf_100000_Direkt_unbekannt_100000Anrufe(benchmark::State &state)
{
    anrufe(state, 100000, false, false, 100000);
}

// From the start to the window ready with the caller list filled, and the
// memory the start added to the process.
void start(benchmark::State &state, int gespeichert)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<Programm>(10, false, gespeichert, false);
        const double vorher = ResidentMiB();
        state.ResumeTiming();
        p->start();
        state.PauseTiming();
        state.counters["RSS_Zuwachs_MiB"] = ResidentMiB() - vorher;
        // What the process holds with the window up and the list filled.
        state.counters["RSS_MiB"] = ResidentMiB();
        if (p->fenster->lvNummern()->Modell().Count() != gespeichert)
            state.SkipWithError("the caller list was not filled");
        p.reset();
        state.ResumeTiming();
    }
}
void BM_Start_ohneAnrufe(benchmark::State &state) { start(state, 0); }
void BM_Start_100000Anrufe(benchmark::State &state) { start(state, 100000); }

BENCHMARK(BM_Anruf_100000_Cache_bekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Cache_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Direkt_bekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Direkt_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_1000000_Cache_unbekannt)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Cache_bekannt_100000Anrufe)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Anruf_100000_Direkt_unbekannt_100000Anrufe)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Start_ohneAnrufe)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Start_100000Anrufe)->Unit(benchmark::kMillisecond)->Iterations(3);

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
