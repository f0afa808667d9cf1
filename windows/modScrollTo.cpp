#include "windows/modScrollTo.h"

#include "windows/ListView.h"

void ScrollTo(ListView &list, int index)
{
    if (index < 0 || index >= list.Items().Count())
        return;
    list.scrollTo(list.Items().index(index, 0), QAbstractItemView::EnsureVisible);
}
