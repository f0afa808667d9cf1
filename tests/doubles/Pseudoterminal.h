#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// The modem's side of a pseudo-terminal; the device opens the slave path.
struct Pty
{
    int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    QString slavePath;
    QByteArray received; // from the device, not yet taken

    Pty()
    {
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 && ::fcntl(fd, F_SETFL, O_NONBLOCK) == 0)
            slavePath = QString::fromLocal8Bit(::ptsname(fd));
    }
    ~Pty()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // The device's next command, up to and including its CR; a result, if
    // given, is answered as by a modem with echo on.
    QByteArray takeCommand(const QByteArray &result = {})
    {
        const auto complete = [this] {
            char buffer[4096];
            for (ssize_t n; fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0;)
                received.append(buffer, n);
            return received.contains('\r');
        };
        if (!QTest::qWaitFor(complete, 5000))
            return {};
        const QByteArray command = received.left(received.indexOf('\r') + 1);
        received.remove(0, command.size());
        return result.isEmpty() || write(command.chopped(1) + "\r\n" + result + "\r\n") ? command : QByteArray();
    }
    // The pty holds only a few KiB; the rest goes once the device has read.
    bool write(QByteArrayView data)
    {
        const auto progress = [&] {
            while (!data.isEmpty()) {
                const ssize_t n = ::write(fd, data.data(), size_t(data.size()));
                if (n < 0 && errno != EINTR)
                    return false;
                data = data.sliced(std::max<ssize_t>(n, 0));
            }
            return true;
        };
        return progress() || QTest::qWaitFor(progress, 10000);
    }
    // The line speed set on the slave, as its master reports it.
    int speed() const
    {
        termios terminal{};
        return ::tcgetattr(fd, &terminal) == 0 ? int(::cfgetospeed(&terminal)) : -1;
    }
};
