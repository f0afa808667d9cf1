// The program as a user starts it: a real process with its own settings
// folder, a second start, a termination signal.
#include "platform/settings/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

QString programm()
{
    return QString::fromLocal8Bit(qgetenv("RUFMON_BIN"));
}

// A profile of its own: settings and the single-instance folder.
struct Profil
{
    QTemporaryDir dir;

    QProcessEnvironment umgebung() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, dir.path() + u"/config"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, laufzeit());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        return env;
    }
    QString laufzeit() const { return dir.path() + u"/run"_s; }
    QString konfiguration() const { return dir.path() + u"/config/Rufmon/Rufmon.conf"_s; }

    void starte(QProcess &p, const QStringList &argumente = {}) const
    {
        QDir().mkpath(laufzeit());
        QFile::setPermissions(laufzeit(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        p.setProcessEnvironment(umgebung());
        p.start(programm(), argumente);
    }

    // The running program listens for hand-overs once its window is up.
    bool laeuft() const
    {
        return !QDir(laufzeit()).entryList({u"rufmon-*.sock"_s}, QDir::System).isEmpty();
    }

    QString wert(const QString &abschnitt, const QString &key) const
    {
        IniSettingsStore store(konfiguration());
        return store.GetSetting(abschnitt, key, u"<fehlt>"_s);
    }
};

} // namespace

class tst_Programm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void secondStartHandsOverAndEnds();
    void sigtermRunsTheExitSequence_data();
    void sigtermRunsTheExitSequence();
    void garbageSettingsAreKeptAsideAndRewritten();
    void commandLine_data();
    void commandLine();
    void placesFromStandardInput();
};

void tst_Programm::initTestCase()
{
    if (programm().isEmpty() || !QFile::exists(programm()))
        QSKIP("RUFMON_BIN does not name the built program");
}

void tst_Programm::secondStartHandsOverAndEnds()
{
    Profil profil;
    QProcess erster;
    profil.starte(erster);
    QVERIFY(erster.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(profil.laeuft(), 15000);

    QProcess zweiter;
    profil.starte(zweiter);
    QVERIFY(zweiter.waitForFinished(10000));
    QCOMPARE(zweiter.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zweiter.exitCode(), 0);
    QCOMPARE(zweiter.readAllStandardOutput(), QByteArray());
    QCOMPARE(erster.state(), QProcess::Running);

    // A profile of its own runs beside it.
    Profil anderes;
    QProcess dritter;
    anderes.starte(dritter);
    QTRY_VERIFY_WITH_TIMEOUT(anderes.laeuft(), 15000);
    QCOMPARE(dritter.state(), QProcess::Running);

    for (QProcess *p : {&erster, &dritter}) {
        p->terminate();
        QVERIFY(p->waitForFinished(10000));
    }
}

void tst_Programm::sigtermRunsTheExitSequence_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void tst_Programm::sigtermRunsTheExitSequence()
{
    QFETCH(int, signal);
    Profil profil;
    QProcess p;
    profil.starte(p);
    QTRY_VERIFY_WITH_TIMEOUT(profil.laeuft(), 15000);
    ::kill(static_cast<pid_t>(p.processId()), signal);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);

    QCOMPARE(profil.wert(u"Optionen"_s, u"AutoNummern"_s), u"1"_s);
    QCOMPARE(profil.wert(u"Optionen"_s, u"Null"_s), u"0"_s);
    QCOMPARE(profil.wert(u"Optionen"_s, u"ProtokollSendKeyIntervall"_s), u"150"_s);
    QCOMPARE(profil.wert(u"Optionen"_s, u"ProtokollFensterKennung"_s),
             u"OK|Button|Protokoll aufzeichnen |#32770"_s);
    QCOMPARE(profil.wert(u"Window"_s, u"Left"_s), u"100"_s);
    QCOMPARE(profil.wert(u"Window"_s, u"Top"_s), u"100"_s);
    QCOMPARE(profil.wert(u"Window"_s, u"Width"_s), u"7575"_s);
    QCOMPARE(profil.wert(u"Window"_s, u"Height"_s), u"6540"_s);
    QCOMPARE(profil.wert(u"Window"_s, u"Visible"_s), u"False"_s);
    // The instance is gone: a new start becomes the running program again.
    QProcess wieder;
    profil.starte(wieder);
    QTRY_VERIFY_WITH_TIMEOUT(profil.laeuft(), 15000);
    QTest::qWait(300);
    QCOMPARE(wieder.state(), QProcess::Running);
    wieder.terminate();
    QVERIFY(wieder.waitForFinished(10000));
}

void tst_Programm::garbageSettingsAreKeptAsideAndRewritten()
{
    Profil profil;
    QDir().mkpath(QFileInfo(profil.konfiguration()).absolutePath());
    QByteArray muell;
    for (int i = 0; i < 4096; ++i)
        muell.append(static_cast<char>((i * 7919) % 256));
    {
        QFile f(profil.konfiguration());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(muell);
    }
    QProcess p;
    profil.starte(p);
    QTRY_VERIFY_WITH_TIMEOUT(profil.laeuft(), 15000);
    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 0);

    QFile aside(profil.konfiguration() + u".defekt"_s);
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), muell);
    QFile neu(profil.konfiguration());
    QVERIFY(neu.open(QIODevice::ReadOnly));
    const QByteArray text = neu.readAll();
    QVERIFY(!text.contains('\0'));
    QVERIFY(text.contains("[Optionen]"));
    QCOMPARE(profil.wert(u"Window"_s, u"Width"_s), u"7575"_s);
}

void tst_Programm::commandLine_data()
{
    QTest::addColumn<QStringList>("argumente");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("stdoutEnthaelt");
    QTest::addColumn<QByteArray>("stderrEnthaelt");

    QTest::newRow("unknown option") << QStringList{u"--gibtsnicht"_s} << 2 << QByteArray()
                                    << QByteArray("Aufruf: rufmon");
    QTest::newRow("stray argument") << QStringList{u"0301234567"_s} << 2 << QByteArray()
                                    << QByteArray("Aufruf: rufmon");
    QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QByteArray("Rufmon " RUFMON_VERSION_TEXT)
                             << QByteArray();
    QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QByteArray("Aufruf: rufmon") << QByteArray();
    QTest::newRow("place without numbers") << QStringList{u"--ort"_s} << 2 << QByteArray() << QByteArray("Aufruf: rufmon");
    QTest::newRow("places of two numbers")
        << QStringList{u"--ort"_s, u"0301234567"_s, u"0043316123456"_s} << 0
        << QByteArray("Laendervorwahl: \nVorwahl: 030\nAnschluss: 1234567\nLand: \nOrt: Berlin\n\n"
                      "Laendervorwahl: 43\nVorwahl: 0316\nAnschluss: 123456\nLand: \xc3\x96sterreich\nOrt: Graz\n\n")
        << QByteArray();
}

void tst_Programm::commandLine()
{
    QFETCH(QStringList, argumente);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, stdoutEnthaelt);
    QFETCH(QByteArray, stderrEnthaelt);

    Profil profil;
    QProcess p;
    // No display is needed to be told what went wrong.
    QProcessEnvironment env = profil.umgebung();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"DISPLAY"_s);
    env.insert(u"LANG"_s, u"de_DE.UTF-8"_s);
    env.insert(u"LC_ALL"_s, u"de_DE.UTF-8"_s);
    p.setProcessEnvironment(env);
    p.start(programm(), argumente);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), exitCode);
    const QByteArray ausgabe = p.readAllStandardOutput();
    QVERIFY2(ausgabe.contains(stdoutEnthaelt), ausgabe.constData());
    QVERIFY(p.readAllStandardError().contains(stderrEnthaelt));
    QVERIFY(!QFile::exists(profil.konfiguration()));
}

void tst_Programm::placesFromStandardInput()
{
    Profil profil;
    QProcess p;
    QProcessEnvironment env = profil.umgebung();
    env.remove(u"DISPLAY"_s);
    env.insert(u"LANG"_s, u"de_DE.UTF-8"_s);
    p.setProcessEnvironment(env);
    p.start(programm(), {u"--ort"_s, u"-"_s});
    QVERIFY(p.waitForStarted());
    QByteArray eingabe;
    for (int i = 0; i < 2000; ++i)
        eingabe += i % 2 ? "089123456\n" : "0041441234567\n";
    p.write(eingabe);
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> bloecke = p.readAllStandardOutput().split('\n');
    // Five lines and a blank line for each number, in input order.
    QCOMPARE(bloecke.size(), 2000 * 6 + 1);
    QCOMPARE(bloecke[4], QByteArray("Ort: Z\xc3\xbcrich"));
    QCOMPARE(bloecke[10], QByteArray("Ort: M\xc3\xbcnchen"));
    QCOMPARE(bloecke[1999 * 6 + 4], QByteArray("Ort: M\xc3\xbcnchen"));
}

QTEST_GUILESS_MAIN(tst_Programm)
#include "tst_Programm.moc"
