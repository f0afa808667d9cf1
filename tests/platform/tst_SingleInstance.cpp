#include "platform/instance/SingleInstance.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <future>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A second start runs in its own process; a thread stands in for it so that
// the running instance's event loop can answer in this one.
std::future<SingleInstance::Antwort> zweitstart(const QString &key, const QStringList &argumente)
{
    return std::async(std::launch::async, [=] { return SingleInstance(key).sendToPrimary(argumente, 5000); });
}

bool angenommen(std::future<SingleInstance::Antwort> &zweit)
{
    return zweit.get().zustellung == SingleInstance::Zustellung::Angenommen;
}

} // namespace

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void uebergabe_data()
    {
        QTest::addColumn<QStringList>("argumente");

        QTest::newRow("umlauts") << QStringList{u"Müller"_s, u"Straße"_s, u"ÄÖÜäöüß"_s, u"€"_s};
        QTest::newRow("empty strings kept") << QStringList{QString(), u"x"_s, QString()};
        QTest::newRow("no arguments") << QStringList();
        QTest::newRow("blanks and separators") << QStringList{u"a b"_s, u" "_s, u"a;b,c|d=e"_s, u"\"q\""_s};
        QTest::newRow("long argument") << QStringList{QString(10000, u'x')};
    }
    void uebergabe()
    {
        QFETCH(QStringList, argumente);

        {
            SingleInstance vorige(key());
            QVERIFY(vorige.tryBecomePrimary());
            QVERIFY(!SingleInstance(key()).tryBecomePrimary());
        }
        // Once the program before has ended, the next start runs on its own and takes hand-overs.
        SingleInstance erste(key());
        QVERIFY(erste.tryBecomePrimary());
        QSignalSpy spy(&erste, &SingleInstance::argumentsReceived);

        // The running instance keeps taking hand-overs after the first.
        for (int runde = 1; runde <= 2; ++runde) {
            auto zweit = zweitstart(key(), argumente);
            QVERIFY(spy.wait(10000));
            QVERIFY(angenommen(zweit));
            QCOMPARE(spy.size(), runde);
            QCOMPARE(spy.last().first().toStringList(), argumente);
        }
    }

    // Alone, a start says so in time. That a program under other settings is
    // a program of its own is tested with the real program.
    void ohneLaufendesProgramm()
    {
        QElapsedTimer uhr;
        uhr.start();
        QCOMPARE(SingleInstance(key()).sendToPrimary({u"nach c"_s}, 300).zustellung,
                 SingleInstance::Zustellung::LaeuftNicht);
        QVERIFY2(uhr.elapsed() < 300 + 5000, qPrintable(u"took %1 ms"_s.arg(uhr.elapsed())));
        // A sender never takes the lock: a program starting after it becomes the running one.
        QVERIFY(SingleInstance(key()).tryBecomePrimary());
    }

    void abgelehntMitGrund()
    {
        SingleInstance erste(key());
        QVERIFY(erste.tryBecomePrimary());
        erste.setPruefung([](const QStringList &a) { return a.contains(u"nein"_s) ? u"Geht nicht."_s : QString(); });
        QSignalSpy spy(&erste, &SingleInstance::argumentsReceived);
        auto zweit = zweitstart(key(), {u"nein"_s});
        QTRY_VERIFY(zweit.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        const SingleInstance::Antwort antwort = zweit.get();
        QCOMPARE(antwort.zustellung, SingleInstance::Zustellung::Abgelehnt);
        QCOMPARE(antwort.grund, u"Geht nicht."_s);
        QTest::qWait(50);
        QCOMPARE(spy.size(), 0);
        // Over the limit: said so before anything is sent.
        QCOMPARE(SingleInstance(key()).sendToPrimary({QString(SingleInstance::MaxMessageBytes, u'1')}).zustellung,
                 SingleInstance::Zustellung::ZuGross);
    }

    void nurEigeneOrdner()
    {
        // The fallback folder in the shared temp folder is used only when it is
        // this user's own and closed to others.
        const QString ordner = m_dir->filePath(u"lauf"_s);
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(SingleInstance::eigenerOrdner(ordner));
        QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther));
        QVERIFY(!SingleInstance::eigenerOrdner(ordner));
        QVERIFY(QFile::link(ordner, m_dir->filePath(u"verweis"_s)));
        QVERIFY(!SingleInstance::eigenerOrdner(m_dir->filePath(u"verweis"_s)));
        QVERIFY(!SingleInstance::eigenerOrdner(m_dir->filePath(u"fehlt"_s)));
        if (::getuid() == 0) {
            QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QCOMPARE(::chown(QFile::encodeName(ordner).constData(), 65534, 65534), 0);
            QVERIFY(!SingleInstance::eigenerOrdner(ordner));
        }
    }

    void fremderVerweisBleibtUnberuehrt()
    {
        // Without a runtime folder the fallback in the temp folder is used; a link
        // someone put there must not have its target closed, nor be used.
        const QString ziel = m_dir->filePath(u"ziel"_s);
        QVERIFY(QDir().mkpath(ziel));
        const auto offen = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(ziel, offen));
        const QString temp = m_dir->filePath(u"tmp"_s);
        QVERIFY(QDir().mkpath(temp));
        QVERIFY(QFile::link(ziel, temp + u"/rufmon-"_s + QString::number(::getuid())));

        const QByteArray vorher[3] = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("TMPDIR"), qgetenv("XDG_CACHE_HOME")};
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", temp.toLocal8Bit());
        qputenv("XDG_CACHE_HOME", m_dir->filePath(u"cache"_s).toLocal8Bit());
        const QString ordner = SingleInstance::runtimeDirectory();
        qputenv("XDG_RUNTIME_DIR", vorher[0]);
        qputenv("TMPDIR", vorher[1]);
        qputenv("XDG_CACHE_HOME", vorher[2]);

        QVERIFY2(ordner.startsWith(m_dir->filePath(u"cache"_s)), qPrintable(ordner));
        QVERIFY(SingleInstance::eigenerOrdner(ordner));
        QCOMPARE(QFileInfo(ziel).permissions() & offen, offen);
    }

private:
    // The key is a settings file path; a fresh folder gives each test its own.
    QString key(const QString &name = u"Rufmon.conf"_s) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_SingleInstance.moc"
