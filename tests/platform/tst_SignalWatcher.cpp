#include "platform/system/SignalWatcher.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

// A logout (SIGTERM) or Ctrl+C (SIGINT) must reach the program as an ordinary
// event, so that it closes through its normal path and saves its settings.
// Should the watcher not catch a signal, this test program dies of it.
class tst_SignalWatcher : public QObject
{
    Q_OBJECT

private slots:
    void alsEreignis()
    {
        {
            SignalWatcher watcher;
            QSignalSpy spy(&watcher, &SignalWatcher::terminationRequested);
            QCOMPARE(::raise(SIGTERM), 0);
            QCOMPARE(::raise(SIGINT), 0);
            // The handler only hands the number on; the Qt signal follows on the event loop.
            QCOMPARE(spy.size(), 0);
            QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 5000);
            QCOMPARE(spy.at(0).first().toInt(), int(SIGTERM));
            QCOMPARE(spy.at(1).first().toInt(), int(SIGINT));
        }
        // Without a watcher the signals end the program again.
        for (int nummer : {SIGTERM, SIGINT}) {
            struct sigaction action = {};
            QCOMPARE(::sigaction(nummer, nullptr, &action), 0);
            QVERIFY(action.sa_handler == SIG_DFL);
        }
    }
};

QTEST_GUILESS_MAIN(tst_SignalWatcher)
#include "tst_SignalWatcher.moc"
