#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;

// One panel of the status bar: a picture, a text and a tool tip.
class StatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget *parent = nullptr);

    QString Text() const;
    void setText(const QString &text);
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }
    // The 1-based index of the picture shown, 0 for none; the key for keyed pictures.
    int PictureIndex() const { return m_pictureIndex; }
    void setPicture(const QIcon &picture, int index = 0);

private:
    QLabel *m_picture;
    QLabel *m_text;
    int m_pictureIndex = 0;
};
