#include "app/clTaskbar.h"

#include "platform/system/SystemFacilities.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

clTaskbar::clTaskbar(const SystemFacilities &system)
    : m_system(system)
{
}

void clTaskbar::SnapFormTo(QWidget *form) const
{
    if (!form)
        return;
    // The position is on the primary screen, which need not start at 0,0.
    QPoint position = SnapPosition(form->frameGeometry().size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        position += screen->geometry().topLeft();
    form->move(position);
}

QPoint clTaskbar::SnapPosition(const QSize &formPixels) const
{
    const double tx = m_system.TwipsPerPixelX();
    const double ty = m_system.TwipsPerPixelY();
    const QSize screen = m_system.ScreenSizePixels();
    double left = std::round(screen.width() * tx - formPixels.width() * tx);
    double top = std::round(screen.height() * ty - formPixels.height() * ty);
    switch (TaskBarAlign()) {
    case 1: left -= TaskBarWidth() * tx; break;
    case 3: top -= TaskbarHeight() * ty; break;
    default: break;
    }
    return QPoint(static_cast<int>(std::lround(left / tx)), static_cast<int>(std::lround(top / ty)));
}

int clTaskbar::TaskBarAlign() const
{
    const QRect bar = m_system.TaskbarRect();
    const int height = bar.isNull() ? 0 : bar.height();
    if (m_system.ScreenSizePixels().height() > height)
        return bar.top() > 0 ? 3 : 2;
    return bar.left() > 0 ? 1 : 0;
}

int clTaskbar::TaskbarHeight() const
{
    const QRect bar = m_system.TaskbarRect();
    return bar.isNull() ? 0 : bar.height();
}

int clTaskbar::TaskBarWidth() const
{
    const QRect bar = m_system.TaskbarRect();
    return bar.isNull() ? 0 : bar.width();
}

bool clTaskbar::IsTaskBarOnTop() const
{
    return m_system.TaskbarState() == SystemFacilities::TaskbarAlwaysOnTop;
}
