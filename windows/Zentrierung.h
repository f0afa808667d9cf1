#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Keeps a window centred over another window (or the screen) as it opens,
// whole on the screen: with the frame it reckons with before the window
// shows, and once more with the desktop's own frame as soon as that is there
// (a window manager puts it round a moment after the window shows).
class Zentrierung : public QObject
{
    Q_OBJECT

public:
    enum class Dauer { ErstesZeigen, Immer };

    // `ueber` may be null: the screen. With ErstesZeigen the window is
    // centred when it first opens and then left where the user puts it.
    Zentrierung(QWidget *fenster, const QWidget *ueber, Dauer dauer);

    // Centres the window now (its size has changed, say).
    void zentrieren();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool rahmenBekannt() const;

    QWidget *m_fenster;
    QPointer<const QWidget> m_ueber;
    Dauer m_dauer;
    bool m_aktiv = true;
    bool m_rahmenOffen = false;
};
