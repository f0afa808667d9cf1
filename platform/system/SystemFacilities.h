#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>

#include <cstdint>

// Small facts about the machine and the desktop the program asks for.
class SystemFacilities
{
public:
    // Task bar state flags as the desktop reports them.
    static constexpr int TaskbarAutoHide = 1;
    static constexpr int TaskbarAlwaysOnTop = 2;

    virtual ~SystemFacilities() = default;

    // The user's temporary folder, ending in a folder separator.
    virtual QString GetTempFolder() const = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual std::uint32_t GetTickCount() const = 0;
    virtual QString ProgramFolder() const = 0;

    // Screen size in pixels and the twips (1/1440 inch) that one pixel spans.
    virtual QSize ScreenSizePixels() const = 0;
    // The part of the screen that windows may cover: the screen less the
    // task bar and other panels, in pixels.
    virtual QRect AvailableGeometryPixels() const = 0;
    virtual double TwipsPerPixelX() const = 0;
    virtual double TwipsPerPixelY() const = 0;

    // The task bar (panel, dock) in pixels; an empty rectangle when there is none.
    virtual QRect TaskbarRect() const = 0;
    virtual int TaskbarState() const = 0;

    virtual bool OpenUrl(const QUrl &url) = 0;
};
