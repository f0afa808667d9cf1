#pragma once

#include <QPoint>
#include <QSize>

class QWidget;
class SystemFacilities;

// Where the desktop's task bar sits, and placing a window in the screen
// corner next to it. Lengths of the task bar in pixels; positions in twips.
class clTaskbar
{
public:
    explicit clTaskbar(const SystemFacilities &system);

    // Places the window in the bottom right corner, clear of the task bar.
    void SnapFormTo(QWidget *form) const;
    // The top-left corner in pixels for a window of that size.
    QPoint SnapPosition(const QSize &formPixels) const;

    // 0 left, 1 right, 2 top, 3 bottom.
    int TaskBarAlign() const;
    int TaskbarHeight() const;
    int TaskBarWidth() const;
    bool IsTaskBarOnTop() const;

private:
    const SystemFacilities &m_system;
};
