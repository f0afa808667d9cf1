// The keyring store on a private session bus of its own: first without any
// keyring on it, then with a keyring daemon unlocked for the test.
#include "platform/kennwort/SchluesselbundKennwortspeicher.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Kennwortspeicher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QProcess m_keyring;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            QSKIP("dbus-daemon is not installed");
        // No service directories: nothing on this bus starts by itself.
        QFile config(m_dir.filePath(u"bus.conf"_s));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\" "
                     "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n<busconfig><type>session</type>"
                     "<listen>unix:dir=" + m_dir.path().toUtf8() + "</listen><auth>EXTERNAL</auth>"
                     "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                     "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_bus.start(u"dbus-daemon"_s, {u"--config-file="_s + config.fileName(), u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(m_bus.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_bus.canReadLine(), 5000);
        const QByteArray adresse = m_bus.readLine().trimmed();
        // The keyring's files and sockets stay in the test's folder.
        qputenv("DBUS_SESSION_BUS_ADDRESS", adresse);
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"data"_s).toUtf8());
        qputenv("XDG_RUNTIME_DIR", m_dir.path().toUtf8());
    }
    void cleanupTestCase()
    {
        for (QProcess *p : {&m_keyring, &m_bus}) {
            p->terminate();
            p->waitForFinished(3000);
        }
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
        QProcess frage;
        const auto da = [&] {
            frage.start(u"dbus-send"_s, {u"--session"_s, u"--print-reply"_s, u"--dest=org.freedesktop.DBus"_s,
                                         u"/org/freedesktop/DBus"_s, u"org.freedesktop.DBus.NameHasOwner"_s,
                                         u"string:org.freedesktop.secrets"_s});
            frage.waitForFinished(2000);
            return frage.readAllStandardOutput().contains("boolean true");
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
