#include "windows/StatusPanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

#include <cmath>

namespace {

constexpr int Rand = 2;    // left and right inside the panel
constexpr int Abstand = 3; // between picture and text
constexpr int Bild = 16;

} // namespace

StatusPanel::StatusPanel(QWidget *parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_text(new QLabel(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(Rand, 0, Rand, 0);
    layout->setSpacing(Abstand);
    layout->addWidget(m_picture);
    layout->addWidget(m_text, 1);
    m_picture->hide();
    m_text->setTextFormat(Qt::PlainText);
    // Long messages must not widen the window.
    m_text->setMinimumWidth(0);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_text->installEventFilter(this);
}

void StatusPanel::setText(const QString &text)
{
    const bool anders = text != m_volltext;
    m_volltext = text;
    zeigeText();
    if (anders)
        emit TextGeaendert(text);
}

void StatusPanel::setPicture(const QIcon &picture, int index)
{
    m_pictureIndex = index;
    if (picture.isNull()) {
        m_picture->clear();
        m_picture->hide();
        return;
    }
    m_picture->setPixmap(picture.pixmap(Bild, Bild));
    m_picture->show();
}

void StatusPanel::setElideMode(Qt::TextElideMode mode)
{
    m_elideMode = mode;
    zeigeText();
}

bool StatusPanel::Gekuerzt() const
{
    return m_text->text() != m_volltext;
}

QString StatusPanel::AngezeigterToolTip() const
{
    if (!Gekuerzt() || toolTip().contains(m_volltext))
        return toolTip();
    return toolTip().isEmpty() ? m_volltext : m_volltext + u'\n' + toolTip();
}

int StatusPanel::Textbedarf(const QString &text, bool mitBild) const
{
    const int schrift = static_cast<int>(std::ceil(m_text->fontMetrics().horizontalAdvance(text)));
    return 2 * Rand + (mitBild ? Bild + Abstand : 0) + schrift + 1;
}

void StatusPanel::zeigeText()
{
    // A panel not laid out yet shows everything; its first resize shortens.
    const int breite = m_text->width();
    m_text->setText(breite <= 0 || !isVisible()
                        ? m_volltext
                        : m_text->fontMetrics().elidedText(m_volltext, m_elideMode, breite));
}

bool StatusPanel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const QString tip = AngezeigterToolTip();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

bool StatusPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_text && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        zeigeText();
    return QWidget::eventFilter(watched, event);
}
