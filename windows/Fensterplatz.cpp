#include "windows/Fensterplatz.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

bool hatRahmen(const QMargins &rahmen)
{
    return rahmen.top() > 0 || rahmen.left() > 0;
}

QSize mitRahmen(const QSize &innen, const QMargins &rahmen)
{
    return innen.grownBy(rahmen);
}

} // namespace

QRect Fensterplatz::Frei(const QWidget *fenster)
{
    const QScreen *bildschirm = fenster ? fenster->screen() : QGuiApplication::primaryScreen();
    if (!bildschirm)
        bildschirm = QGuiApplication::primaryScreen();
    return bildschirm ? bildschirm->availableGeometry() : QRect();
}

QMargins Fensterplatz::Rahmen(const QWidget *fenster)
{
    if (fenster && fenster->isVisible()) {
        const QRect aussen = fenster->frameGeometry();
        const QRect innen = fenster->geometry();
        const QMargins eigen(innen.left() - aussen.left(), innen.top() - aussen.top(), aussen.right() - innen.right(),
                             aussen.bottom() - innen.bottom());
        if (hatRahmen(eigen))
            return eigen;
    }
    // The desktop puts the same frame round the program's windows.
    for (const QWindow *andere : QGuiApplication::topLevelWindows()) {
        if (andere->isVisible() && andere->type() == Qt::Window && hatRahmen(andere->frameMargins()))
            return andere->frameMargins();
    }
    const QStyle *stil = fenster ? fenster->style() : nullptr;
    const int titel = stil ? std::max(stil->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, fenster),
                                      fenster->fontMetrics().height() + 8)
                           : 24;
    const int rand = 4;
    return QMargins(rand, titel, rand, rand);
}

QPoint Fensterplatz::Eingepasst(const QPoint &wunsch, const QSize &rahmengroesse, const QRect &frei)
{
    if (frei.isEmpty())
        return wunsch;
    const int rechts = std::max(frei.left(), frei.right() + 1 - rahmengroesse.width());
    const int unten = std::max(frei.top(), frei.bottom() + 1 - rahmengroesse.height());
    return QPoint(std::clamp(wunsch.x(), frei.left(), rechts), std::clamp(wunsch.y(), frei.top(), unten));
}

QSize Fensterplatz::Hoechstgroesse(const QWidget *fenster)
{
    const QRect frei = Frei(fenster);
    if (frei.isEmpty())
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return frei.size().shrunkBy(Rahmen(fenster));
}

void Fensterplatz::Zentrieren(QWidget *fenster, const QWidget *ueber)
{
    if (!fenster)
        return;
    const bool ueberPlatziert = ueber && (ueber->isVisible() || ueber->testAttribute(Qt::WA_Moved));
    const QRect mitte = ueberPlatziert ? ueber->frameGeometry() : Frei(fenster);
    // On the screen of the window it is centred over, which need not be
    // the one this window would open on.
    const QScreen *dort = ueberPlatziert ? QGuiApplication::screenAt(mitte.center()) : nullptr;
    const QRect frei = dort ? dort->availableGeometry() : Frei(fenster);
    const QSize aussen = mitRahmen(fenster->size(), Rahmen(fenster));
    const QPoint ecke(mitte.center().x() - aussen.width() / 2, mitte.center().y() - aussen.height() / 2);
    fenster->move(Eingepasst(ecke, aussen, frei));
}
