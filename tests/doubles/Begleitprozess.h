#pragma once

#include <QProcess>

// A program a test starts beside itself (a bus, an X server, a window
// manager) that ends with the test even when the test is killed, and holds
// none of the test's open files: a lock its runner holds open, handed down
// to a server that outlives the test, would block the next build until the
// server is killed by hand. Start it from the thread that keeps running
// while it is needed (the test's main thread): the kernel ties it to that
// thread, not to the process.
class Begleitprozess : public QProcess
{
public:
    explicit Begleitprozess(QObject *parent = nullptr);
};
