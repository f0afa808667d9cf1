#pragma once

#include "core/ListViewModel.h"

#include <QTreeView>

// A report-style list: entries with columns, small icons and tags, a sort
// column and order, and the mouse events the main window reacts to.
class ListView : public QTreeView
{
    Q_OBJECT

public:
    enum class SortOrder { Ascending, Descending };

    explicit ListView(QWidget *parent = nullptr);

    ListViewModel &Items() { return m_model; }
    const ListViewModel &Items() const { return m_model; }

    int SortKey() const { return m_sortKey; }
    void setSortKey(int column) { m_sortKey = column; }
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order) { m_sortOrder = order; }
    bool Sorted() const { return m_sorted; }
    // Switching the list's own sorting on orders the entries by the text of
    // the sort column at once.
    void setSorted(bool sorted);
    void sortByText();

    // The width a column needs to show this text whole, with or without a small picture.
    int Spaltenbedarf(const QString &text, bool mitBild) const;
    // The cell's whole text when its column cuts it short, else nothing: the
    // tool tip of a shortened cell.
    QString VollerText(const QModelIndex &index) const;
    // The entry's tool tip: its cut text in full, and what the entry tells
    // beyond its columns (the model's tool tip).
    QString Hinweis(const QModelIndex &index) const;

    // -1 when no entry is selected.
    int SelectedIndex() const;
    void setSelectedIndex(int index);
    // Where a menu asked for by keyboard opens: at the selected entry (made
    // visible first), else at the top left of the list.
    QPoint Menueposition();

signals:
    void ColumnClick(int column);
    void RightButtonReleased(const QPoint &globalPosition);
    void ItemDoubleClicked(int index);
    // Return or Enter on the list; the key still goes on to a dialog's default button.
    void ItemActivated(int index);
    // The menu key or Shift+F10: the list's right-click menu, at this global position.
    void ContextMenuKey(const QPoint &globalPosition);

protected:
    bool viewportEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    ListViewModel m_model;
    int m_sortKey = 0;
    SortOrder m_sortOrder = SortOrder::Ascending;
    bool m_sorted = false;
};
