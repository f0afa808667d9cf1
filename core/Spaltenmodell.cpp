#include "core/Spaltenmodell.h"

Spaltenmodell::Spaltenmodell(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void Spaltenmodell::setSmallIcons(std::function<QVariant(int)> icons)
{
    m_smallIcons = std::move(icons);
}

void Spaltenmodell::setHeaderIcons(std::function<QVariant(const QString &)> icons)
{
    m_headerIcons = std::move(icons);
}

void Spaltenmodell::setColumns(const std::vector<ColumnHeader> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

int Spaltenmodell::columnByKey(const QString &key) const
{
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        if (m_columns[i].Key == key)
            return i;
    }
    return -1;
}

void Spaltenmodell::setColumnIcon(int column, const QString &iconKey)
{
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        return;
    m_columns[column].IconKey = iconKey;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int Spaltenmodell::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant Spaltenmodell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(m_columns.size()))
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].Text;
    if (role == Qt::DecorationRole && m_headerIcons && !m_columns[section].IconKey.isEmpty())
        return m_headerIcons(m_columns[section].IconKey);
    return {};
}

QVariant Spaltenmodell::kleinesBild(int index) const
{
    if (index <= 0 || !m_smallIcons)
        return {};
    return m_smallIcons(index);
}
