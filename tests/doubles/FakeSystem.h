#pragma once

#include "platform/system/SystemFacilities.h"

#include <QTemporaryDir>

// A machine whose screen, task bar and clock the test sets.
class FakeSystem : public SystemFacilities
{
public:
    FakeSystem() : tempFolder(dir.path() + u'/'), programFolder(dir.path()) {}

    QString GetTempFolder() const override { return tempFolder; }
    std::uint32_t GetTickCount() const override { return tick; }
    QString ProgramFolder() const override { return programFolder; }
    QSize ScreenSizePixels() const override { return screen; }
    QRect AvailableGeometryPixels() const override { return available; }
    double TwipsPerPixelX() const override { return twipsX; }
    double TwipsPerPixelY() const override { return twipsY; }
    QRect TaskbarRect() const override { return taskbar; }
    int TaskbarState() const override { return taskbarState; }
    bool OpenUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return true;
    }

    QTemporaryDir dir;
    QString tempFolder;
    QString programFolder;
    std::uint32_t tick = 0;
    QSize screen{1280, 1024};
    double twipsX = 15;
    double twipsY = 15;
    QRect taskbar{0, 984, 1280, 40};
    QRect available{0, 0, 1280, 984};
    int taskbarState = TaskbarAlwaysOnTop;
    QList<QUrl> openedUrls;
};
