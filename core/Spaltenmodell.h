#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <functional>
#include <vector>

struct ColumnHeader
{
    QString Key;
    QString Text;
    QString IconKey; // key into the sort-icon list
};

// The columns of a report-style list: their keys and captions, the sort
// icon in each header, and where the list's pictures come from. The rows are
// the subclass's.
class Spaltenmodell : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit Spaltenmodell(QObject *parent = nullptr);

    // Where the pictures come from: the small icon by its index, the header
    // icon by its key. The model itself knows no pictures.
    void setSmallIcons(std::function<QVariant(int)> icons);
    void setHeaderIcons(std::function<QVariant(const QString &)> icons);

    void setColumns(const std::vector<ColumnHeader> &columns);
    const std::vector<ColumnHeader> &columns() const { return m_columns; }
    // Position of the column with that key, -1 when there is none.
    int columnByKey(const QString &key) const;
    void setColumnIcon(int column, const QString &iconKey);

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // The small icon with that index (1-based); nothing for 0 or without pictures.
    QVariant kleinesBild(int index) const;

private:
    std::vector<ColumnHeader> m_columns;
    std::function<QVariant(int)> m_smallIcons;
    std::function<QVariant(const QString &)> m_headerIcons;
};
