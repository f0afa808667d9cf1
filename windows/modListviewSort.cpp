#include "windows/modListviewSort.h"

#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "platform/registry/RegionalSettings.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int DatumSubItem = 1;
constexpr int DatumLesbareZeichen = 32;

std::optional<qint64> Zeitpunkt(const ListItem &item)
{
    const QString text = item.columnText(DatumSubItem).left(DatumLesbareZeichen);
    const std::optional<QDateTime> moment = RegionalSettings::ParseDateTime(text);
    if (!moment)
        return std::nullopt;
    return moment->date().toJulianDay() * qint64(86'400'000) + moment->time().msecsSinceStartOfDay();
}

} // namespace

void modListviewSort::SortColumn(ListView &list, int column, bool umkehren)
{
    if (list.SortKey() != column) {
        list.setSortKey(column);
        list.setSortOrder(ListView::SortOrder::Ascending);
        Absteigend = false;
    } else if (umkehren) {
        if (list.sortOrder() == ListView::SortOrder::Descending) {
            list.setSortOrder(ListView::SortOrder::Ascending);
            Absteigend = false;
        } else {
            list.setSortOrder(ListView::SortOrder::Descending);
            Absteigend = true;
        }
    }

    const auto &columns = list.Spalten().columns();
    const bool datum = column >= 0 && column < static_cast<int>(columns.size())
                       && columns[column].Text == u"Datum"_s;
    if (auto *anrufe = qobject_cast<Anruferlistenansicht *>(&list)) {
        // Calls hold their moment: ordered by it, not by parsing the column's texts.
        list.setSorted(!datum);
        anrufe->sortieren();
    } else if (datum) {
        list.setSorted(false);
        SortiereNachDatum(list);
    } else {
        list.setSorted(true);
    }
    SetzeSortierSymbole(list, column);
}

void modListviewSort::SetzeSortierSymbole(ListView &list, int column)
{
    Spaltenmodell &model = list.Spalten();
    for (int i = 0; i < static_cast<int>(model.columns().size()); ++i)
        model.setColumnIcon(i, u"Leer"_s);
    model.setColumnIcon(column, list.sortOrder() == ListView::SortOrder::Descending ? u"Hoch"_s
                                                                                     : u"Runter"_s);
}

void modListviewSort::SortiereNachDatum(ListView &list)
{
    ListViewModel &model = list.Items();
    std::vector<std::optional<qint64>> keys;
    keys.reserve(model.Count());
    for (int i = 0; i < model.Count(); ++i)
        keys.push_back(Zeitpunkt(model.Item(i)));
    const bool aeltesteZuerst = Absteigend;
    // Texts that are no date gather at the end, in their previous order.
    model.sortPositions([&](int a, int b) {
        const std::optional<qint64> &ka = keys[a];
        const std::optional<qint64> &kb = keys[b];
        if (!ka || !kb)
            return ka.has_value() && !kb.has_value();
        return aeltesteZuerst ? *ka < *kb : *ka > *kb;
    });
}
