#pragma once

#include <QCache>
#include <QStaticText>
#include <QStyledItemDelegate>

// Draws a list cell as the style does (background, selection, icon, focus),
// with its text laid out once and kept: a caller list repaints every visible
// cell for each call, and laying out and shaping the same texts again was
// most of a call's time on the GUI thread.
class Zellentext : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The text as shown in a width (cut with "…" where it is too long), laid out.
    const QStaticText &gesetzt(const QString &text, const QFont &font, int breite, Qt::TextElideMode kuerzen) const;

    mutable QCache<QString, QStaticText> m_gesetzt{4000};
};
