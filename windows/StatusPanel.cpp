#include "windows/StatusPanel.h"

#include <QHBoxLayout>
#include <QLabel>

StatusPanel::StatusPanel(QWidget *parent)
    : QWidget(parent)
    , m_picture(new QLabel(this))
    , m_text(new QLabel(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(3);
    layout->addWidget(m_picture);
    layout->addWidget(m_text, 1);
    m_picture->hide();
    m_text->setTextFormat(Qt::PlainText);
    // Long messages must not widen the window.
    m_text->setMinimumWidth(0);
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString StatusPanel::Text() const
{
    return m_text->text();
}

void StatusPanel::setText(const QString &text)
{
    m_text->setText(text);
}

void StatusPanel::setPicture(const QIcon &picture, int index)
{
    m_pictureIndex = index;
    if (picture.isNull()) {
        m_picture->clear();
        m_picture->hide();
        return;
    }
    m_picture->setPixmap(picture.pixmap(16, 16));
    m_picture->show();
}
