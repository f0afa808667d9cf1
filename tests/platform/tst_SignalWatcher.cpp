#include "platform/system/SignalWatcher.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

// A logout (SIGTERM) or Ctrl+C (SIGINT) must reach the program as an ordinary
// event, so that it closes through its normal path and saves its settings.
// Should the watcher not catch a signal, this test program dies of it.
class tst_SignalWatcher : public QObject
{
    Q_OBJECT

private slots:
    void alsEreignis_data();
    void alsEreignis();
    void zweiSignaleNacheinander();
};

void tst_SignalWatcher::alsEreignis_data()
{
    QTest::addColumn<int>("nummer");

    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void tst_SignalWatcher::alsEreignis()
{
    QFETCH(int, nummer);

    SignalWatcher watcher;
    QSignalSpy spy(&watcher, &SignalWatcher::terminationRequested);
    QVERIFY(spy.isValid());

    QCOMPARE(::raise(nummer), 0);
    // The handler only hands the number on; the Qt signal follows on the event loop.
    QCOMPARE(spy.size(), 0);
    QVERIFY(spy.wait(5000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().first().toInt(), nummer);
}

void tst_SignalWatcher::zweiSignaleNacheinander()
{
    SignalWatcher watcher;
    QSignalSpy spy(&watcher, &SignalWatcher::terminationRequested);

    QCOMPARE(::raise(SIGTERM), 0);
    QCOMPARE(::raise(SIGINT), 0);
    QTRY_COMPARE_WITH_TIMEOUT(spy.size(), 2, 5000);
    QCOMPARE(spy.at(0).first().toInt(), int(SIGTERM));
    QCOMPARE(spy.at(1).first().toInt(), int(SIGINT));
}

QTEST_GUILESS_MAIN(tst_SignalWatcher)
#include "tst_SignalWatcher.moc"
