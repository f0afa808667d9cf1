#include "Begleitprozess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Runs in the child between fork and exec: only async-signal-safe calls.
void anDenTestBinden(pid_t test)
{
    // SIGTERM, so that a server removes its socket and lock file on the way.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The test may have died before the line above took effect.
    if (::getppid() != test)
        ::_exit(127);
    // Standard input, output and error are set up; everything above them
    // closes on exec.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) == 0)
        return;
    rlimit grenze{};
    const rlim_t bis = ::getrlimit(RLIMIT_NOFILE, &grenze) == 0 && grenze.rlim_cur != RLIM_INFINITY
                           ? grenze.rlim_cur
                           : 65536;
    for (rlim_t fd = 3; fd < bis; ++fd)
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
}

} // namespace

Begleitprozess::Begleitprozess(QObject *parent)
    : QProcess(parent)
{
    const pid_t test = ::getpid();
    setChildProcessModifier([test] { anDenTestBinden(test); });
}
