#pragma once

#include "core/ListViewModel.h"

#include <QHeaderView>
#include <QTableView>

// A report-style list: entries with columns, small icons and tags, a sort
// column and order, and the mouse events the main window reacts to.
//
// A table without grid and row headers: its rows have one height, so that a
// row put in at the top of a hundred thousand costs no measuring of them all.
class ListView : public QTableView
{
    Q_OBJECT

public:
    enum class SortOrder { Ascending, Descending };

    explicit ListView(QWidget *parent = nullptr);

    ListViewModel &Items() { return m_model; }
    const ListViewModel &Items() const { return m_model; }
    // The columns of whatever model the list shows.
    Spaltenmodell &Spalten() { return *m_spalten; }
    const Spaltenmodell &Spalten() const { return *m_spalten; }
    int Anzahl() const { return m_spalten->rowCount(); }

    // The column headers.
    QHeaderView *header() const { return horizontalHeader(); }

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
    // A list whose rows come from a model of its own, not from Items().
    void setSpaltenmodell(Spaltenmodell *modell);

    bool viewportEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    // Home and End go to the first and last entry, as in a list.
    QModelIndex moveCursor(CursorAction aktion, Qt::KeyboardModifiers modifiers) override;

private:
    // Every row as high as an entry with a small picture needs in the list's font.
    void setzeZeilenhoehe();

    ListViewModel m_model;
    Spaltenmodell *m_spalten = &m_model;
    int m_sortKey = 0;
    SortOrder m_sortOrder = SortOrder::Ascending;
    bool m_sorted = false;
};
