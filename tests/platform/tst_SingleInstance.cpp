#include "platform/instance/SingleInstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A second start runs in its own process; here a thread stands in for it so
// that the running instance's event loop can answer in the main thread.
class Zweitstart
{
public:
    Zweitstart(const QString &key, const QStringList &argumente, int timeoutMs = 5000)
    {
        m_thread.reset(QThread::create([this, key, argumente, timeoutMs] {
            SingleInstance zweite(key);
            m_ergebnis = zweite.sendToPrimary(argumente, timeoutMs) ? 1 : 0;
        }));
        m_thread->start();
    }
    ~Zweitstart() { m_thread->wait(); }

    // 1 delivered, 0 not delivered, -1 still running.
    int ergebnis(int warteMs = 10000)
    {
        if (!m_thread->wait(warteMs))
            return -1;
        return m_ergebnis;
    }

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<int> m_ergebnis{-1};
};

} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nurEinePrimaere();
    void freiNachEnde();
    void uebergabe_data();
    void uebergabe();
    void mehrereUebergaben();
    void keinePrimaere();
    void schluesselGetrennt();

private:
    QString key(const QString &name = u"Rufmon.conf"_s) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SingleInstance::init()
{
    // The key is a settings file path; a fresh folder gives each test its own.
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_SingleInstance::cleanup()
{
    m_dir.reset();
}

void tst_SingleInstance::nurEinePrimaere()
{
    SingleInstance erste(key());
    QVERIFY(erste.tryBecomePrimary());

    SingleInstance zweite(key());
    QVERIFY(!zweite.tryBecomePrimary());
    SingleInstance dritte(key());
    QVERIFY(!dritte.tryBecomePrimary());
}

void tst_SingleInstance::freiNachEnde()
{
    {
        SingleInstance erste(key());
        QVERIFY(erste.tryBecomePrimary());
    }
    // Once the first program has ended, the next start runs on its own.
    SingleInstance naechste(key());
    QVERIFY(naechste.tryBecomePrimary());
    QSignalSpy spy(&naechste, &SingleInstance::argumentsReceived);
    Zweitstart zweit(key(), {u"--anruf"_s});
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.first().first().toStringList(), QStringList{u"--anruf"_s});
    QCOMPARE(zweit.ergebnis(), 1);
}

void tst_SingleInstance::uebergabe_data()
{
    QTest::addColumn<QStringList>("argumente");

    QTest::newRow("number") << QStringList{u"--waehle"_s, u"+49 (30) 1234-567"_s};
    QTest::newRow("umlauts") << QStringList{u"Müller"_s, u"Straße"_s, u"ÄÖÜäöüß"_s, u"€"_s};
    QTest::newRow("empty strings kept") << QStringList{QString(), u"x"_s, QString()};
    QTest::newRow("only an empty string") << QStringList{QString()};
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("blanks and separators") << QStringList{u"a b"_s, u" "_s, u"a;b,c|d=e"_s, u"\"q\""_s};
    QTest::newRow("long argument") << QStringList{QString(10000, u'x')};
}

void tst_SingleInstance::uebergabe()
{
    QFETCH(QStringList, argumente);

    SingleInstance erste(key());
    QVERIFY(erste.tryBecomePrimary());
    QSignalSpy spy(&erste, &SingleInstance::argumentsReceived);

    Zweitstart zweit(key(), argumente);
    QVERIFY(spy.wait(10000));
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.first().first().toStringList(), argumente);
    QCOMPARE(zweit.ergebnis(), 1);
}

void tst_SingleInstance::mehrereUebergaben()
{
    SingleInstance erste(key());
    QVERIFY(erste.tryBecomePrimary());
    QSignalSpy spy(&erste, &SingleInstance::argumentsReceived);

    {
        Zweitstart eins(key(), {u"eins"_s});
        QVERIFY(spy.wait(10000));
        QCOMPARE(eins.ergebnis(), 1);
    }
    {
        Zweitstart zwei(key(), {u"zwei"_s});
        QVERIFY(spy.wait(10000));
        QCOMPARE(zwei.ergebnis(), 1);
    }
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).first().toStringList(), QStringList{u"eins"_s});
    QCOMPARE(spy.at(1).first().toStringList(), QStringList{u"zwei"_s});
}

void tst_SingleInstance::keinePrimaere()
{
    SingleInstance allein(key());
    QElapsedTimer uhr;
    uhr.start();
    QVERIFY(!allein.sendToPrimary({u"--anruf"_s}, 300));
    // It gives up at its time limit instead of waiting on.
    QVERIFY2(uhr.elapsed() < 300 + 5000, qPrintable(u"took %1 ms"_s.arg(uhr.elapsed())));
}

void tst_SingleInstance::schluesselGetrennt()
{
    SingleInstance a(key(u"a.conf"_s));
    SingleInstance b(key(u"b.conf"_s));
    QVERIFY(a.tryBecomePrimary());
    QVERIFY(b.tryBecomePrimary());
    QVERIFY(a.socketPath() != b.socketPath());

    QSignalSpy spyA(&a, &SingleInstance::argumentsReceived);
    QSignalSpy spyB(&b, &SingleInstance::argumentsReceived);

    Zweitstart zweit(key(u"b.conf"_s), {u"nach b"_s});
    QVERIFY(spyB.wait(10000));
    QCOMPARE(zweit.ergebnis(), 1);
    QCOMPARE(spyB.first().first().toStringList(), QStringList{u"nach b"_s});
    // Give a misrouted message the chance to arrive before checking it did not.
    QTest::qWait(100);
    QCOMPARE(spyA.size(), 0);

    // A third profile with no running program stays alone.
    SingleInstance c(key(u"c.conf"_s));
    QVERIFY(!c.sendToPrimary({u"nach c"_s}, 200));
    QCOMPARE(spyA.size(), 0);
    QCOMPARE(spyB.size(), 1);
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
