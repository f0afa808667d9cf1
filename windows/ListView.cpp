#include "windows/ListView.h"

#include <QCollator>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>


ListView::ListView(QWidget *parent)
    : QTreeView(parent)
{
    setModel(&m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::ColumnClick);
}

void ListView::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (m_sorted)
        sortByText();
}

void ListView::sortByText()
{
    // Like the desktop's own lists: by the column's text, ignoring case.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    const int column = m_sortKey;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_model.Count());
    for (int i = 0; i < m_model.Count(); ++i)
        keys.push_back(collator.sortKey(m_model.Item(i).columnText(column)));
    const bool descending = m_sortOrder == SortOrder::Descending;
    m_model.sortPositions([&](int a, int b) {
        const int c = keys[a].compare(keys[b]);
        return descending ? c > 0 : c < 0;
    });
}

int ListView::Spaltenbedarf(const QString &text, bool mitBild) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = text;
    option.features |= QStyleOptionViewItem::HasDisplay;
    if (mitBild)
        option.features |= QStyleOptionViewItem::HasDecoration;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).width();
}

QString ListView::VollerText(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int bedarf = itemDelegateForIndex(index)->sizeHint(option, index).width();
    if (bedarf <= columnWidth(index.column()))
        return {};
    return index.data(Qt::DisplayRole).toString();
}

bool ListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *hilfe = static_cast<QHelpEvent *>(event);
        const QString text = VollerText(indexAt(hilfe->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(hilfe->globalPos(), text, viewport(), visualRect(indexAt(hilfe->pos())));
        return true;
    }
    return QTreeView::viewportEvent(event);
}

int ListView::SelectedIndex() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::setSelectedIndex(int index)
{
    if (index < 0 || index >= m_model.Count()) {
        clearSelection();
        return;
    }
    const QModelIndex i = m_model.index(index, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit RightButtonReleased(event->globalPosition().toPoint());
}

void ListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit ItemDoubleClicked(SelectedIndex());
}
