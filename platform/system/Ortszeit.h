#pragma once

// The local time zone, read once. Without TZ in the environment the C
// library looks at /etc/localtime again for every conversion of a time, a
// file-system call per date; a list of a hundred thousand calls then spends
// most of its start there. A desktop session's zone does not change under a
// running program.
class Ortszeit
{
public:
    // Names /etc/localtime in TZ when TZ is not set, so the zone is read once.
    static void festhalten();
};
