#pragma once

class ListView;

// Sorting of the lists by a column header, with the sort icons.
class modListviewSort
{
public:
    // Tells the date comparison which way to sort; shared by every list.
    static inline bool Absteigend = false;

    // Sorts by the column; with `umkehren` a second request for the same
    // column reverses the order.
    static void SortColumn(ListView &list, int column, bool umkehren);
    static void SetzeSortierSymbole(ListView &list, int column);
    // Newest first, or oldest first with Absteigend, by the "Datum" column.
    static void SortiereNachDatum(ListView &list);
};
