// The keyring store on a private session bus of its own: first without any
// keyring on it, then with a keyring daemon unlocked for the test.
#include "platform/kennwort/SchluesselbundKennwortspeicher.h"

#include "doubles/Sitzungsbus.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Kennwortspeicher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Sitzungsbus m_bus;
    QProcess m_keyring;

private slots:
    void initTestCase()
    {
        if (!m_bus.laeuft())
            QSKIP(qPrintable(m_bus.grund()));
        // The keyring's files and sockets stay in the test's folder.
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.adresse().toUtf8());
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
    }
    void cleanupTestCase()
    {
        m_keyring.terminate();
        m_keyring.waitForFinished(3000);
    }

    // Nobody keeps passwords: kept for the run only, the dialog can say so.
    void ohneSchluesselbund()
    {
        SchluesselbundKennwortspeicher speicher(u"Rufmon-Test"_s);
        QVERIFY(!speicher.dauerhaft());
        QVERIFY(!speicher.schreibe(u"Telefonanlage pbx:5038 rufmon"_s, u"geheim"_s));
        QCOMPARE(speicher.lies(u"Telefonanlage pbx:5038 rufmon"_s), std::optional(u"geheim"_s));
        SchluesselbundKennwortspeicher naechsterStart(u"Rufmon-Test"_s);
        QCOMPARE(naechsterStart.lies(u"Telefonanlage pbx:5038 rufmon"_s), std::nullopt);
        // Nothing was written beside the settings either.
        QCOMPARE(QDir(m_dir.filePath(u"data"_s)).exists(), false);
    }

    void mitSchluesselbund()
    {
        if (QStandardPaths::findExecutable(u"gnome-keyring-daemon"_s).isEmpty())
            QSKIP("gnome-keyring-daemon is not installed");
        m_keyring.start(u"gnome-keyring-daemon"_s,
                        {u"--foreground"_s, u"--components=secrets"_s, u"--unlock"_s});
        if (!m_keyring.waitForStarted())
            QSKIP("gnome-keyring-daemon does not start");
        m_keyring.write("test-kennwort");
        m_keyring.closeWriteChannel();
        // Up once it owns its name; asking earlier would find no keyring.
        const auto da = [] {
            return QDBusConnection::sessionBus().interface()->isServiceRegistered(u"org.freedesktop.secrets"_s).value();
        };
        if (!QTest::qWaitFor(da, 10000))
            QSKIP("the keyring daemon did not come up on the private bus");

        const QString konto = u"Router fritz.box fritz1234"_s;
        SchluesselbundKennwortspeicher speicher(u"Rufmon-Test"_s);
        QVERIFY(speicher.dauerhaft());
        QVERIFY(speicher.schreibe(konto, u"gehéim 1"_s));
        SchluesselbundKennwortspeicher naechsterStart(u"Rufmon-Test"_s);
        QCOMPARE(naechsterStart.lies(konto), std::optional(u"gehéim 1"_s));
        QCOMPARE(naechsterStart.lies(u"Router fritz.box anderer"_s), std::nullopt);
        naechsterStart.vergiss(konto);
        QCOMPARE(SchluesselbundKennwortspeicher(u"Rufmon-Test"_s).lies(konto), std::nullopt);
    }
};

QTEST_MAIN(tst_Kennwortspeicher)
#include "tst_Kennwortspeicher.moc"
