// A burst of calls from a router's call monitor on a real TCP socket, down to
// the stored rows: how fast the program drains 2,000 calls sent at once, and
// how long a distinct call sent right after them waits to be shown.
#include "BenchDaten.h"
#include "BenchUmgebung.h"

#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "windows/Anruferlistenansicht.h"
#include "platform/jet/Database.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Recordset.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/TelephonyControl.h"
#include "tools/actgen/ActGenerator.h"
#include "windows/ListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Schwall = 2000;
#ifndef RUFMON_FLUT_WARTEN_MS
#define RUFMON_FLUT_WARTEN_MS 120'000
#endif

QByteArray ring(int verbindung, const QString &nummer)
{
    return u"07.12.26 08:00:00;RING;%1;%2;4711;SIP0;\r\n"_s.arg(verbindung).arg(nummer).toUtf8();
}

bool warte(const std::function<bool()> &bedingung, int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!bedingung()) {
        if (uhr.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void BM_Schwall(benchmark::State &state)
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    ProgrammOrdner system{dir.path()};
    ConsoleDialogs dialogs;
    KeineZwischenablage clipboard;
    KopiereNummernMdb(dir.path());
    ActGenerator g;
    g.options().seed = 22;
    g.options().contacts = 2000;
    g.addSampleContacts();
    g.write(dir.filePath(u"act"_s));

    QTcpServer router;
    router.listen(QHostAddress::LocalHost);
    const QString adresse = u"127.0.0.1:%1"_s.arg(router.serverPort());
    store.SaveSetting(u"ACT"_s, u"Datenbank"_s, g.summary().dbfPath);
    store.SaveSetting(u"Telefonie"_s, u"Anrufmonitore"_s, adresse);
    store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Anrufmonitor "_s + adresse);
    store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
    store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, u"1"_s);
    TelephonyControl tapi(store);
    X11Desktop x11;
    Rufmon rufmon(RufmonUmgebung{store, dialogs, clipboard, system, tapi, x11});
    frmHaupt &fenster = rufmon.Fenster();
    rufmon.starten();
    warteBis([&rufmon] { return !rufmon.Teile().CacheWirdErstellt(); });
    fenster.cmdInitTapi()->click();
    if (!warte([&] { return router.hasPendingConnections(); }, 5000)) {
        state.SkipWithError("the program did not connect to the call monitor");
        return;
    }
    QTcpSocket *leitung = router.nextPendingConnection();
    ::sync();
    const AnruferlisteModell &liste = fenster.lvNummern()->Modell();

    int verbindung = 0;
    for (auto _ : state) {
        const int vorher = liste.Count();
        QByteArray schwall;
        for (int i = 0; i < Schwall; ++i)
            schwall += ring(verbindung++ % 100, u"030%1"_s.arg(5550000 + i));
        const QString nachzuegler = u"0899%1"_s.arg(verbindung, 6, 10, QChar(u'0'));
        QElapsedTimer uhr;
        uhr.start();
        leitung->write(schwall);
        leitung->flush();
        // The distinct call comes right behind the burst.
        leitung->write(ring(verbindung++ % 100, nachzuegler));
        leitung->flush();
        qint64 gezeigt = -1;
        int gesehen = -1;
        const bool fertig = warte(
            [&] {
                if (gezeigt < 0 && liste.Count() != gesehen) {
                    // Calls of one second may stand in any order among themselves.
                    gesehen = liste.Count();
                    for (int i = 0; i < liste.Count(); ++i) {
                        if (liste.AnrufIn(i).nummer == nachzuegler)
                            gezeigt = uhr.elapsed();
                    }
                }
                return liste.Count() >= vorher + Schwall + 1 && gezeigt >= 0;
            },
            RUFMON_FLUT_WARTEN_MS);
        const double sekunden = uhr.elapsed() / 1000.0;
        state.SetIterationTime(sekunden);
        if (!fertig) {
            const std::string grund = "the burst was not drained within two minutes: "
                                      + std::to_string(liste.Count() - vorher) + " calls shown";
            state.SkipWithError(grund.c_str());
            break;
        }
        state.counters["Anrufe/s"] = benchmark::Counter((Schwall + 1) / sekunden);
        state.counters["Nachzuegler_s"] = benchmark::Counter(gezeigt / 1000.0);
    }
    // Every call is stored once.
    auto db = DBEngine::instance().OpenDatabase(dir.filePath(u"Nummern.mdb"_s), false, true);
    auto rs = db->OpenRecordset(u"SELECT COUNT(*) FROM Anrufspeicher"_s);
    const qint64 gespeichert = rs->Fields()[0].Value().toLongLong();
    if (gespeichert != liste.Count())
        state.SkipWithError("stored rows and listed calls differ");
    state.counters["gespeichert"] = benchmark::Counter(double(gespeichert));
    fenster.close();
}

BENCHMARK(BM_Schwall)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

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
