// A full scan of a contact table of 100,000 records with five phone columns,
// the way the program searches a caller's number in the dBASE files.
#include "BenchDaten.h"

#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "tools/dbf/DbfWriter.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Kontakte = 100000;

struct Tabelle
{
    QTemporaryDir dir;

    Tabelle()
    {
        DbfWriter w(0x03, 0x03);
        w.addField(u"UNIQUE_ID"_s, 'C', 12);
        w.addField(u"COMPANY"_s, 'C', 40);
        w.addField(u"NAME"_s, 'C', 40);
        w.addField(u"CITY"_s, 'C', 30);
        for (const QString &f : {u"PHONE"_s, u"FAX"_s, u"HOME_PHONE"_s, u"MOBILE_PH"_s, u"ALT_PHONE"_s})
            w.addField(f, 'C', 25);
        w.addField(u"ADDRESS1"_s, 'C', 40);
        w.create(dir.filePath(u"KUNDEN.DBF"_s));
        std::mt19937 zufall(42);
        std::uniform_int_distribution<int> ziffer(0, 9);
        const auto nummer = [&](const QString &vorwahl) {
            QString s = vorwahl + u' ';
            for (int i = 0; i < 7; ++i)
                s += QChar(u'0' + ziffer(zufall));
            return s;
        };
        for (int i = 0; i < Kontakte; ++i) {
            w.appendRecord({u"K%1"_s.arg(i, 11, 10, QChar(u'0')), u"Firma %1 GmbH"_s.arg(i), u"Müller, Hans %1"_s.arg(i),
                            u"Berlin"_s, nummer(u"030"_s), nummer(u"(089)"_s), i % 3 ? nummer(u"040"_s) : QString(),
                            nummer(u"0171/"_s), QString(), u"Hauptstraße 1"_s});
        }
        w.finish();
    }
};

void BM_SucheInDbf_100000(benchmark::State &state)
{
    Tabelle t;
    auto db = DBEngine::instance().OpenDatabase(t.dir.path(), false, false, u"FoxPro 2.6;"_s);
    const QString sql = u"SELECT [KUNDEN].[PHONE], [KUNDEN].[FAX], [KUNDEN].[HOME_PHONE], [KUNDEN].[MOBILE_PH], "
                        u"[KUNDEN].[ALT_PHONE], [KUNDEN].[UNIQUE_ID], [KUNDEN].[NAME], [KUNDEN].[CITY] FROM [KUNDEN] "
                        u"WHERE [KUNDEN].[PHONE] LIKE '*3012345678*' OR [KUNDEN].[FAX] LIKE '*3012345678*' OR "
                        u"[KUNDEN].[HOME_PHONE] LIKE '*3012345678*' OR [KUNDEN].[MOBILE_PH] LIKE '*3012345678*' OR "
                        u"[KUNDEN].[ALT_PHONE] LIKE '*3012345678*'"_s;
    for (auto _ : state) {
        auto rs = db->OpenRecordset(sql);
        int n = 0;
        while (!rs->Eof()) {
            ++n;
            rs->MoveNext();
        }
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_SucheInDbf_100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
