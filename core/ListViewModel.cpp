#include "core/ListViewModel.h"


#include <algorithm>
#include <numeric>

QString ListItem::columnText(int position) const
{
    if (position == 0)
        return Text;
    return position - 1 < SubItems.size() ? SubItems[position - 1] : QString();
}

void ListItem::setColumnText(int position, const QString &text)
{
    if (position == 0) {
        Text = text;
        return;
    }
    while (SubItems.size() < position)
        SubItems.append(QString());
    SubItems[position - 1] = text;
}

ListViewModel::ListViewModel(QObject *parent)
    : Spaltenmodell(parent)
{
}

void ListViewModel::setToolTips(std::function<QString(const ListItem &)> tips)
{
    m_toolTips = std::move(tips);
}

void ListViewModel::setCheckable(bool checkable)
{
    m_checkable = checkable;
}

void ListViewModel::setItem(int index, const ListItem &item)
{
    if (index < 0 || index >= Count())
        return;
    m_items[index] = item;
    emit dataChanged(this->index(index, 0), this->index(index, columnCount() - 1));
}

int ListViewModel::Add(const ListItem &item, int index)
{
    if (index < 0 || index > Count())
        index = Count();
    beginInsertRows({}, index, index);
    m_items.insert(m_items.begin() + index, item);
    endInsertRows();
    return index;
}

void ListViewModel::Remove(int index)
{
    if (index < 0 || index >= Count())
        return;
    beginRemoveRows({}, index, index);
    m_items.erase(m_items.begin() + index);
    endRemoveRows();
}

void ListViewModel::Clear()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void ListViewModel::AddMany(std::vector<ListItem> items)
{
    if (items.empty())
        return;
    beginInsertRows({}, Count(), Count() + static_cast<int>(items.size()) - 1);
    m_items.insert(m_items.end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    endInsertRows();
}

void ListViewModel::sortPositions(const std::function<bool(int, int)> &less)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> order(m_items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);

    std::vector<int> newPosition(order.size());
    std::vector<ListItem> sorted;
    sorted.reserve(m_items.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        newPosition[order[i]] = i;
        sorted.push_back(std::move(m_items[order[i]]));
    }
    m_items = std::move(sorted);

    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to.append(this->index(newPosition[index.row()], index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ListViewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant ListViewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const ListItem &item = m_items[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return item.columnText(index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? kleinesBild(item.SmallIcon) : QVariant();
    case Qt::ToolTipRole:
        if (m_toolTips) {
            const QString tip = m_toolTips(item);
            if (!tip.isEmpty())
                return tip;
        }
        return {};
    case Qt::CheckStateRole:
        if (m_checkable && index.column() == 0)
            return item.Checked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool ListViewModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || !m_checkable || index.column() != 0)
        return false;
    m_items[index.row()].Checked = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_checkable && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}
