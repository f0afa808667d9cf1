#include "windows/Zellentext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

void Zellentext::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // Wrapped or rich text, or none at all: as the style draws it.
    if (opt.text.isEmpty() || opt.features.testFlag(QStyleOptionViewItem::WrapText)
        || opt.text.contains(QChar::LineSeparator) || opt.text.contains(u'\n')) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QRect textfeld = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    // The text as the style sets it: its margin, its colour group, cut at the end.
    const int rand = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect feld = textfeld.adjusted(rand, 0, -rand, 0);
    if (feld.width() <= 0)
        return;
    QPalette::ColorGroup gruppe = opt.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (gruppe == QPalette::Normal && !opt.state.testFlag(QStyle::State_Active))
        gruppe = QPalette::Inactive;
    const QStaticText &gesetzterText = gesetzt(text, opt.font, feld.width(), opt.textElideMode);
    const QSize groesse = gesetzterText.size().toSize();
    const QRect platz = QStyle::alignedRect(opt.direction, opt.displayAlignment, groesse, feld);
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(gruppe, opt.state.testFlag(QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                           : QPalette::Text));
    painter->setClipRect(feld, Qt::IntersectClip);
    painter->drawStaticText(platz.topLeft(), gesetzterText);
    painter->restore();
}

const QStaticText &Zellentext::gesetzt(const QString &text, const QFont &font, int breite,
                                       Qt::TextElideMode kuerzen) const
{
    const QString schluessel = font.key() + u'\x1f' + QString::number(breite) + u'\x1f' + QString::number(kuerzen)
                               + u'\x1f' + text;
    if (const QStaticText *bekannt = m_gesetzt.object(schluessel))
        return *bekannt;
    const QFontMetrics mass(font);
    auto neu = new QStaticText(mass.elidedText(text, kuerzen, breite));
    neu->setTextFormat(Qt::PlainText);
    neu->prepare(QTransform(), font);
    m_gesetzt.insert(schluessel, neu);
    return *m_gesetzt.object(schluessel);
}
