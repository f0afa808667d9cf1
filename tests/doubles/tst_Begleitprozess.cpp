// The servers a test starts beside itself end with it, even when it is
// killed, and hold none of its open files: a lock its runner holds (the
// build's) must be free again as soon as the test is gone. Each case runs a
// copy of this program as the test that owns the server, takes a lock in it
// as a runner would hand it down, and kills it.
#include "doubles/Fremdprogramm.h"
#include "doubles/Sitzungsbus.h"
#include "doubles/Testdesktop.h"
#include "doubles/XvfbServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr const char *rolleVariable = "RUFMON_BEGLEITER";
constexpr const char *sperreVariable = "RUFMON_BEGLEITER_SPERRE";

// The processes whose parent is `eltern`.
QList<pid_t> kinder(qint64 eltern)
{
    QList<pid_t> ergebnis;
    const QStringList eintraege = QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &eintrag : eintraege) {
        bool zahl = false;
        const pid_t pid = eintrag.toInt(&zahl);
        if (!zahl)
            continue;
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QByteArray zeile = stat.readAll();
        const QList<QByteArray> felder = zeile.mid(zeile.lastIndexOf(')') + 2).split(' ');
        if (felder.size() > 1 && felder[1].toLongLong() == eltern)
            ergebnis << pid;
    }
    return ergebnis;
}

QString name(pid_t pid)
{
    QFile comm(u"/proc/%1/comm"_s.arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
}

bool haeltDatei(pid_t pid, const QString &datei)
{
    const QString ordner = u"/proc/%1/fd"_s.arg(pid);
    const QStringList fds = QDir(ordner).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fd : fds) {
        if (QFileInfo(ordner + u'/' + fd).symLinkTarget() == datei)
            return true;
    }
    return false;
}

// Gone, or a zombie that no one has reaped yet: either way it holds nothing.
bool beendet(pid_t pid)
{
    if (::kill(pid, 0) != 0 && errno == ESRCH)
        return true;
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray zeile = stat.readAll();
    return zeile.mid(zeile.lastIndexOf(')') + 2, 1) == "Z";
}

// The test that owns the server: holds the lock open as a runner hands it
// down (inherited, not closed on exec), starts the server and waits to be
// killed.
int alsTest(const QByteArray &rolle)
{
    const QByteArray sperre = qgetenv(sperreVariable);
    const int fd = ::open(sperre.constData(), O_RDWR | O_CREAT, 0600);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
        std::printf("FEHLER Sperre\n");
        return 1;
    }
    QString grund;
    std::unique_ptr<Sitzungsbus> bus;
    std::unique_ptr<XvfbServer> x;
    std::unique_ptr<Testdesktop> desktop;
    Fremdprogramm fremd;
    if (rolle == "Sitzungsbus") {
        bus = std::make_unique<Sitzungsbus>();
        if (!bus->laeuft())
            grund = bus->grund();
    } else if (rolle == "XvfbServer") {
        x = std::make_unique<XvfbServer>();
        if (!x->laeuft())
            grund = x->grund();
    } else if (rolle == "Testdesktop") {
        desktop = std::make_unique<Testdesktop>();
        if (!desktop->laeuft())
            grund = desktop->grund();
        else if (!desktop->starteTray())
            grund = u"trayer startet nicht"_s;
    } else if (rolle == "Fremdprogramm") {
        x = std::make_unique<XvfbServer>();
        if (!x->laeuft())
            grund = x->grund();
        else if (!fremd.starte({u"--fenster"_s, u"f"_s, u"Begleiter"_s, u"Begleiter"_s}))
            grund = u"fremdfenster startet nicht"_s;
    }
    std::printf("%s\n", grund.isEmpty() ? "BEREIT" : qPrintable(u"FEHLT "_s + grund));
    std::fflush(stdout);
    if (!grund.isEmpty())
        return 0;
    for (;;)
        ::pause();
}

} // namespace

class tst_Begleitprozess : public QObject
{
    Q_OBJECT

private slots:
    void serverEndsWithAKilledTest_data()
    {
        QTest::addColumn<QString>("rolle");
        QTest::addColumn<QStringList>("server");
        QTest::newRow("Sitzungsbus") << u"Sitzungsbus"_s << QStringList{u"dbus-daemon"_s};
        QTest::newRow("XvfbServer") << u"XvfbServer"_s << QStringList{u"Xvfb"_s};
        QTest::newRow("Testdesktop") << u"Testdesktop"_s << QStringList{u"Xvfb"_s, u"openbox"_s, u"trayer"_s};
        QTest::newRow("Fremdprogramm") << u"Fremdprogramm"_s << QStringList{u"Xvfb"_s, u"fremdfenster"_s};
    }

    void serverEndsWithAKilledTest()
    {
        QFETCH(QString, rolle);
        QFETCH(QStringList, server);
        QTemporaryDir dir;
        const QString sperre = dir.filePath(u"sperre"_s);

        QProcess test;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(QString::fromLatin1(rolleVariable), rolle);
        umgebung.insert(QString::fromLatin1(sperreVariable), sperre);
        test.setProcessEnvironment(umgebung);
        test.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        test.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(test.waitForStarted());
        const qint64 testPid = test.processId();
        QList<pid_t> begleiter;
        // Whatever happens below, nothing is left running.
        const auto aufraeumen = qScopeGuard([&] {
            test.kill();
            test.waitForFinished();
            for (const pid_t pid : std::as_const(begleiter))
                ::kill(pid, SIGKILL);
        });
        QByteArray zeile;
        QTRY_VERIFY_WITH_TIMEOUT(test.canReadLine() || test.state() == QProcess::NotRunning, 30000);
        zeile = test.readLine().trimmed();
        if (zeile.startsWith("FEHLT "))
            QSKIP(zeile.constData() + 6);
        QCOMPARE(zeile, QByteArray("BEREIT"));

        begleiter = kinder(testPid);
        QStringList namen;
        for (const pid_t pid : std::as_const(begleiter))
            namen << name(pid);
        namen.sort();
        server.sort();
        QCOMPARE(namen, server);
        // The check sees the lock where it is held.
        QVERIFY(haeltDatei(static_cast<pid_t>(testPid), sperre));
        for (const pid_t pid : std::as_const(begleiter))
            QVERIFY2(!haeltDatei(pid, sperre), qPrintable(name(pid) + u" hält die Sperre des Tests"_s));

        QCOMPARE(::kill(static_cast<pid_t>(testPid), SIGKILL), 0);
        QVERIFY(test.waitForFinished());
        for (const pid_t pid : std::as_const(begleiter))
            QTRY_VERIFY2_WITH_TIMEOUT(beendet(pid), qPrintable(name(pid) + u" läuft nach dem Test weiter"_s), 10000);

        const int fd = ::open(QFile::encodeName(sperre).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const auto schliessen = qScopeGuard([fd] { ::close(fd); });
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    }
};

int main(int argc, char **argv)
{
    const QByteArray rolle = qgetenv(rolleVariable);
    QCoreApplication app(argc, argv);
    if (!rolle.isEmpty())
        return alsTest(rolle);
    tst_Begleitprozess test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Begleitprozess.moc"
