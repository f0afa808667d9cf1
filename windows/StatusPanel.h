#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;

// One panel of the status bar: a picture, a text and a tool tip. A text too
// long for the panel ends in "…" and shows whole in the tool tip.
class StatusPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget *parent = nullptr);

    // The whole text, also while it shows shortened.
    QString Text() const { return m_volltext; }
    void setText(const QString &text);
    // The tool tip as set; what shows on hovering is AngezeigterToolTip().
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }
    // The 1-based index of the picture shown, 0 for none; the key for keyed pictures.
    int PictureIndex() const { return m_pictureIndex; }
    void setPicture(const QIcon &picture, int index = 0);

    // Where a shortened text loses its characters.
    void setElideMode(Qt::TextElideMode mode);
    bool Gekuerzt() const;
    // The panel's tool tip, with the whole text in front when the panel
    // shortens it and the tool tip does not already say it.
    QString AngezeigterToolTip() const;
    // The width this panel needs to show the text whole, with or without a picture.
    int Textbedarf(const QString &text, bool mitBild) const;

signals:
    // The text was set to another one.
    void TextGeaendert(const QString &text);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void zeigeText();

    QLabel *m_picture;
    QLabel *m_text;
    QString m_volltext;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    int m_pictureIndex = 0;
};
