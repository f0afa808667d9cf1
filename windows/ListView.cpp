#include "windows/ListView.h"

#include "windows/Zellentext.h"

#include <QCollator>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

using namespace Qt::StringLiterals;


ListView::ListView(QWidget *parent)
    : QTableView(parent)
{
    setModel(&m_model);
    setItemDelegate(new Zellentext(this));
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setzeZeilenhoehe();
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setHighlightSections(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::ColumnClick);
}

void ListView::setzeZeilenhoehe()
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = u"Ág"_s;
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    verticalHeader()->setDefaultSectionSize(style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height());
}

void ListView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        setzeZeilenhoehe();
}

QModelIndex ListView::moveCursor(CursorAction aktion, Qt::KeyboardModifiers modifiers)
{
    if (aktion == MoveHome || aktion == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(aktion, modifiers);
}

void ListView::setSpaltenmodell(Spaltenmodell *modell)
{
    m_spalten = modell;
    // The view leaves the selection of the model it showed to its caller.
    QItemSelectionModel *alt = selectionModel();
    setModel(modell);
    delete alt;
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

QString ListView::Hinweis(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    QStringList zeilen{VollerText(index), index.data(Qt::ToolTipRole).toString()};
    zeilen.removeAll(QString());
    return zeilen.join(u'\n');
}

bool ListView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *hilfe = static_cast<QHelpEvent *>(event);
        const QString text = Hinweis(indexAt(hilfe->pos()));
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(hilfe->globalPos(), text, viewport(), visualRect(indexAt(hilfe->pos())));
        return true;
    }
    return QTableView::viewportEvent(event);
}

int ListView::SelectedIndex() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::setSelectedIndex(int index)
{
    if (index < 0 || index >= Anzahl()) {
        clearSelection();
        return;
    }
    const QModelIndex i = m_spalten->index(index, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit RightButtonReleased(event->globalPosition().toPoint());
}

void ListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit ItemDoubleClicked(SelectedIndex());
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    const bool menuetaste = event->key() == Qt::Key_Menu
                            || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuetaste) {
        event->accept();
        emit ContextMenuKey(Menueposition());
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        emit ItemActivated(SelectedIndex());
    QTableView::keyPressEvent(event);
}

void ListView::contextMenuEvent(QContextMenuEvent *event)
{
    // The X11 platform turns the menu key into this event itself, at the
    // mouse pointer; the list opens its menu at the entry instead. The mouse
    // has its own way, on the right button's release.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        event->ignore();
        return;
    }
    event->accept();
    emit ContextMenuKey(Menueposition());
}

QPoint ListView::Menueposition()
{
    const int index = SelectedIndex();
    QPoint punkt(0, 0);
    if (index >= 0) {
        const QModelIndex eintrag = m_spalten->index(index, 0);
        scrollTo(eintrag);
        const QRect zeile = visualRect(eintrag);
        punkt = QPoint(zeile.left() + zeile.height() / 2, zeile.bottom());
    }
    return viewport()->mapToGlobal(punkt);
}
