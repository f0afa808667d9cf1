#pragma once

#include "platform/system/SystemFacilities.h"

// The facilities of a Linux desktop as Qt reports them for the primary screen.
class LinuxSystem : public SystemFacilities
{
public:
    QString GetTempFolder() const override;
    std::uint32_t GetTickCount() const override;
    QString ProgramFolder() const override;
    QSize ScreenSizePixels() const override;
    QRect AvailableGeometryPixels() const override;
    double TwipsPerPixelX() const override;
    double TwipsPerPixelY() const override;
    QRect TaskbarRect() const override;
    int TaskbarState() const override;
    bool OpenUrl(const QUrl &url) override;

    // The strip between the screen and its available area, for one screen.
    static QRect taskbarFrom(const QRect &screen, const QRect &available);
};
