#pragma once

#include <QElapsedTimer>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

// Keeps a window centred over another window (or the screen) as it opens,
// whole on the screen: with the frame it reckons with before the window
// shows, and once more with the desktop's own frame as soon as that is there.
// A window manager puts the frame round a moment after the window shows, and
// may widen it once more a moment later without moving the window; so for a
// short while after showing, a changed frame centres the window again.
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
    QMargins rahmen() const;
    void rahmenPruefen();

    QWidget *m_fenster;
    QPointer<const QWidget> m_ueber;
    Dauer m_dauer;
    bool m_aktiv = true;
    // The frame the last centring saw, and how long frames are still watched.
    QMargins m_rahmen;
    QTimer m_wache;
    QElapsedTimer m_seitZeigen;
};
