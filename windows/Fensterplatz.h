#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// Where a window of the program goes: inside the part of its screen that
// windows may cover (without the desktop's panels and docks), with its frame
// and title bar. Positions are those of the frame's top left corner, as
// QWidget::move() takes them for a window.
class Fensterplatz
{
public:
    // The free part of the screen the window is on, or will open on.
    static QRect Frei(const QWidget *fenster);
    // The frame round the window's inside: the desktop's once it has put one
    // round it, before that the frame of another window of the program, else
    // a guess from the style's title bar.
    static QMargins Rahmen(const QWidget *fenster);

    // The corner for a frame of that size, as near to `wunsch` as lies inside
    // `frei`; a frame larger than `frei` starts at its top left corner.
    static QPoint Eingepasst(const QPoint &wunsch, const QSize &rahmengroesse, const QRect &frei);
    // The largest inside whose frame fits into the free part of the screen.
    static QSize Hoechstgroesse(const QWidget *fenster);

    // Centred over the shown or placed window `ueber`, else over the free
    // part of the screen; inside that in either case.
    static void Zentrieren(QWidget *fenster, const QWidget *ueber = nullptr);
};
