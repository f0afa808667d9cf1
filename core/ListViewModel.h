#pragma once

#include "core/Spaltenmodell.h"

#include <QStringList>

#include <functional>
#include <vector>

// One entry of a report-style list: its own text (first column), the texts of
// the further columns, a small icon (1-based index into the list's image list,
// 0 = none) and a tag the program keeps with the entry.
struct ListItem
{
    QString Text;
    QStringList SubItems;
    int SmallIcon = 0;
    QString Tag;
    bool Checked = false;

    // The text in column `position` (0 = the entry's own text).
    QString columnText(int position) const;
    void setColumnText(int position, const QString &text);
};

// The entries of a list view (the similar contacts, the phone fields), kept
// in a vector.
class ListViewModel : public Spaltenmodell
{
    Q_OBJECT

public:
    explicit ListViewModel(QObject *parent = nullptr);

    // What an entry's tool tip says beyond its text; the model knows no words either.
    void setToolTips(std::function<QString(const ListItem &)> tips);
    void setCheckable(bool checkable);

    int Count() const { return static_cast<int>(m_items.size()); }
    const ListItem &Item(int index) const { return m_items[index]; }
    void setItem(int index, const ListItem &item);
    // Inserts at `index` (-1 = at the end); returns the position.
    int Add(const ListItem &item, int index = -1);
    void Remove(int index);
    void Clear();
    // Appends many entries in one step.
    void AddMany(std::vector<ListItem> items);

    // Reorders the entries stably by comparing their current positions (so
    // that keys can be computed once per entry); selections and other
    // persistent indexes follow their entries.
    void sortPositions(const std::function<bool(int, int)> &less);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::vector<ListItem> m_items;
    std::function<QString(const ListItem &)> m_toolTips;
    bool m_checkable = false;
};
