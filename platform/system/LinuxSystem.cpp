#include "platform/system/LinuxSystem.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr double TwipsPerInch = 1440.0;

QScreen *primaryScreen()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance())
               ? QGuiApplication::primaryScreen()
               : nullptr;
}

} // namespace

QString LinuxSystem::GetTempFolder() const
{
    // The user's own place, never the shared temporary folder: the number
    // cache holds contact names and numbers, and a link planted in a shared
    // folder would lead the program's files elsewhere.
    QString basis = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (basis.isEmpty() || !QFileInfo(basis).isDir())
        basis = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QString ordner = basis + u"/Rufmon"_s;
    QDir().mkpath(ordner);
    const QFileInfo info(ordner);
    if (info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid())
        QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return ordner + u'/';
}

std::uint32_t LinuxSystem::GetTickCount() const
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

QString LinuxSystem::ProgramFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QSize LinuxSystem::ScreenSizePixels() const
{
    if (QScreen *screen = primaryScreen())
        return screen->geometry().size();
    return QSize(1024, 768);
}

QRect LinuxSystem::AvailableGeometryPixels() const
{
    if (QScreen *screen = primaryScreen())
        return screen->availableGeometry();
    return QRect(QPoint(0, 0), ScreenSizePixels());
}

double LinuxSystem::TwipsPerPixelX() const
{
    QScreen *screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? TwipsPerInch / dpi : 15.0;
}

double LinuxSystem::TwipsPerPixelY() const
{
    QScreen *screen = primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? TwipsPerInch / dpi : 15.0;
}

QRect LinuxSystem::TaskbarRect() const
{
    QScreen *screen = primaryScreen();
    if (!screen)
        return {};
    return taskbarFrom(screen->geometry(), screen->availableGeometry());
}

QRect LinuxSystem::taskbarFrom(const QRect &screen, const QRect &available)
{
    // A panel reserves a strip along one edge; the widest strip is the task
    // bar, in the screen's own coordinates (the screen need not start at 0,0).
    const int bottom = screen.bottom() - available.bottom();
    const int top = available.top() - screen.top();
    const int right = screen.right() - available.right();
    const int left = available.left() - screen.left();
    const int widest = std::max({bottom, top, right, left});
    if (widest <= 0)
        return {};
    if (widest == bottom)
        return QRect(0, screen.height() - bottom, screen.width(), bottom);
    if (widest == top)
        return QRect(0, 0, screen.width(), top);
    if (widest == right)
        return QRect(screen.width() - right, 0, right, screen.height());
    return QRect(0, 0, left, screen.height());
}

int LinuxSystem::TaskbarState() const
{
    // Panels that reserve space stay on top; a hidden panel reserves none.
    return TaskbarRect().isEmpty() ? TaskbarAutoHide : TaskbarAlwaysOnTop;
}

bool LinuxSystem::OpenUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
