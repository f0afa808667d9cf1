// The ACT! database: reading the field definitions of a wide table, a
// caller's number searched in 100,000 contacts, counting the numbers per
// phone field.
#include "BenchUmgebung.h"
#include "actdb/clACTFelder.h"
#include "actdb/clActDBF.h"
#include "windows/frmTelefonfelder.h"
#include "core/modOptionen.h"
#include "platform/dialogs/ConsoleDialogs.h"
#include "platform/jet/Recordset.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/system/LinuxSystem.h"
#include "tools/actgen/ActGenerator.h"

#include "platform/clipboard/Clipboard.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

const QString Telefonfelder = u"PHONE,FAX,HOME_PHONE,MOBILE_PH,ALT_PHONE"_s;

struct Datenbank
{
    QTemporaryDir dir;
    QString tabelle;

    Datenbank(qint64 kontakte, int extraSpalten, qint64 ddfGroesse)
    {
        ActGenerator g;
        g.options().seed = 5;
        g.options().contacts = kontakte;
        g.options().extraColumns = extraSpalten;
        g.options().ddfMinimumSize = ddfGroesse;
        g.addSampleContacts();
        if (!g.write(dir.path()))
            qFatal("%s", qPrintable(g.errorString()));
        tabelle = g.summary().dbfPath;
    }
};

void BM_Felder_einlesen_300Spalten_1MiB(benchmark::State &state)
{
    // 20 columns of a contact table and 280 more, definitions padded to 1 MiB.
    Datenbank db(100, 280, 1024 * 1024);
    Umgebung u;
    for (auto _ : state) {
        clACTFelder felder(u.dialogs);
        felder.init(db.tabelle);
        felder.Felder_einlesen();
        if (felder.AnzahlKontaktfelder() < 300)
            state.SkipWithError("too few columns");
        benchmark::DoNotOptimize(felder.KontaktFeld(5).Feldart);
    }
}
BENCHMARK(BM_Felder_einlesen_300Spalten_1MiB)->Unit(benchmark::kMillisecond);

void BM_Suche_10Ziffern_100000(benchmark::State &state)
{
    Datenbank db(100000, 0, 0);
    Umgebung u;
    for (auto _ : state) {
        clActDBF dbf(u.dialogs, u.clipboard, u.optionen);
        dbf.init(db.tabelle);
        auto rs = dbf.Suche(Telefonfelder, u"NAME,CITY"_s, u"3012345678"_s, u"OR"_s, false);
        long n = 0;
        while (rs && !rs->Eof()) {
            ++n;
            rs->MoveNext();
        }
        benchmark::DoNotOptimize(n);
        dbf.kill();
    }
}
BENCHMARK(BM_Suche_10Ziffern_100000)->Unit(benchmark::kMillisecond);

// A caller nobody knows: each search reads every record, the literal one and
// the one over the numbers' keys.
void sucheUnbekannt(benchmark::State &state, bool schluessel)
{
    Datenbank db(100000, 0, 0);
    Umgebung u;
    clActDBF dbf(u.dialogs, u.clipboard, u.optionen);
    dbf.init(db.tabelle);
    for (auto _ : state) {
        auto rs = schluessel ? dbf.SchluesselSuche(Telefonfelder, u"NAME,CITY"_s, u"07114839201"_s)
                             : dbf.Suche(Telefonfelder, u"NAME,CITY"_s, u"07114839201"_s, u"OR"_s, false);
        if (!rs || !rs->Eof())
            state.SkipWithError("the unknown number was found");
    }
    dbf.kill();
}
void BM_Suche_unbekannt_100000(benchmark::State &state) { sucheUnbekannt(state, false); }
void BM_Schluesselsuche_unbekannt_100000(benchmark::State &state) { sucheUnbekannt(state, true); }
BENCHMARK(BM_Suche_unbekannt_100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Schluesselsuche_unbekannt_100000)->Unit(benchmark::kMillisecond);

void BM_Nummernanzahl_100000(benchmark::State &state)
{
    Datenbank db(100000, 0, 0);
    Umgebung u;
    clActDBF dbf(u.dialogs, u.clipboard, u.optionen);
    clACTFelder felder(u.dialogs);
    felder.init(db.tabelle);
    felder.Felder_einlesen();
    std::vector<clACTFeld> kontakt;
    for (int i = 0; i < felder.AnzahlKontaktfelder(); ++i)
        kontakt.push_back(felder.KontaktFeld(i));
    frmTelefonfelder dialog(u.dialogs, u.optionen, dbf, [&] { return db.tabelle; });
    dialog.FelderSetzen(kontakt, QString());
    for (auto _ : state)
        dialog.cmdAnzahl_Click();
    if (!dialog.Statustext().startsWith(u" 5 Telefonfelder"_s))
        state.SkipWithError(qPrintable(dialog.Statustext()));
}
BENCHMARK(BM_Nummernanzahl_100000)->Unit(benchmark::kMillisecond);

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
