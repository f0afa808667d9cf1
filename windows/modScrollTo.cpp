#include "windows/modScrollTo.h"

#include "windows/ListView.h"

void ScrollTo(ListView &list, int index)
{
    if (index < 0 || index >= list.Anzahl())
        return;
    list.scrollTo(list.Spalten().index(index, 0), QAbstractItemView::EnsureVisible);
}
