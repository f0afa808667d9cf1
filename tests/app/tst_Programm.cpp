// The program as a user starts it: a real process with its own settings
// folder, a second start, a termination signal, the command-line paths.
#include "platform/instance/SingleInstance.h"
#include "platform/settings/IniSettingsStore.h"

#include "TestPaths.h"
#include "doubles/Dateien.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
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
    QString laufzeit = dir.path() + u"/run"_s;
    QString programm = ::programm();

    QString konfiguration() const { return dir.path() + u"/config/Rufmon/Rufmon.conf"_s; }

    // With a window on the offscreen platform, or with no display at all.
    void starte(QProcess &p, const QStringList &argumente = {}, bool fenster = true) const
    {
        QDir().mkpath(laufzeit);
        QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, dir.path() + u"/config"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, laufzeit);
        if (fenster) {
            env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        } else {
            env.remove(u"QT_QPA_PLATFORM"_s);
            env.remove(u"DISPLAY"_s);
            env.remove(u"WAYLAND_DISPLAY"_s);
            env.insert(u"LANG"_s, u"de_DE.UTF-8"_s);
            env.insert(u"LC_ALL"_s, u"de_DE.UTF-8"_s);
        }
        p.setProcessEnvironment(env);
        p.start(programm, argumente);
    }

    // The running program listens for hand-overs once its window is up.
    qsizetype laufende() const { return QDir(laufzeit).entryList({u"rufmon-*.sock"_s}, QDir::System).size(); }

    bool oeffne(QProcess &p) const
    {
        const qsizetype vorher = laufende();
        starte(p);
        return QTest::qWaitFor([&] { return laufende() > vorher; }, 15000);
    }

    void setze(const QString &abschnitt, const QString &key, const QString &wert) const
    {
        QDir().mkpath(dir.path() + u"/config/Rufmon"_s);
        IniSettingsStore store(konfiguration());
        store.SaveSetting(abschnitt, key, wert);
        store.sync();
    }

    QString wert(const QString &abschnitt, const QString &key) const
    {
        return IniSettingsStore(konfiguration()).GetSetting(abschnitt, key, u"<fehlt>"_s);
    }
};

// Ends through the exit sequence (a logout sends SIGTERM, Ctrl+C SIGINT) and reports success.
bool beendet(QProcess &p, int signal = SIGTERM)
{
    ::kill(pid_t(p.processId()), signal);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class tst_Programm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (programm().isEmpty() || !QFile::exists(programm()))
            QSKIP("RUFMON_BIN does not name the built program");
    }

    void secondStartHandsOverAndEnds()
    {
        Profil profil;
        QProcess erster, zweiter, dritter;
        QVERIFY(profil.oeffne(erster));

        // A table named relative to the second start's folder, not the first's.
        const QString kunden = QDir(profil.dir.path()).filePath(u"KUNDEN.dbf"_s);
        QVERIFY(schreibeDatei(kunden, "x"));
        zweiter.setWorkingDirectory(profil.dir.path());
        profil.starte(zweiter, {u"--act"_s, u"KUNDEN.dbf"_s});
        QVERIFY(zweiter.waitForFinished(10000));
        QCOMPARE(zweiter.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zweiter.exitCode(), 0);
        QCOMPARE(zweiter.readAllStandardOutput(), QByteArray());
        QCOMPARE(erster.state(), QProcess::Running);
        QTRY_COMPARE(profil.wert(u"ACT"_s, u"Datenbank"_s), kunden);

        // Without a display the table is handed over all the same; one that
        // is not there is refused and changes nothing.
        const QString andere = QDir(profil.dir.path()).filePath(u"ANDERE.dbf"_s);
        QVERIFY(schreibeDatei(andere, "x"));
        const auto ohneAnzeige = [&](const QString &tabelle) {
            QProcess p;
            profil.starte(p, {u"--act"_s, tabelle}, false);
            p.waitForFinished(20000);
            return QString::number(p.exitCode()) + u' ' + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        };
        QCOMPARE(ohneAnzeige(andere), u"0 "_s);
        QTRY_COMPARE(profil.wert(u"ACT"_s, u"Datenbank"_s), andere);
        const QString fehlt = QDir(profil.dir.path()).filePath(u"FEHLT.dbf"_s);
        QCOMPARE(ohneAnzeige(fehlt), u"1 rufmon: Die ACT!-Kontakttabelle „%1“ gibt es nicht."_s.arg(fehlt));
        QTest::qWait(200);
        QCOMPARE(profil.wert(u"ACT"_s, u"Datenbank"_s), andere);

        // Other settings in the same runtime folder are a program of their own.
        Profil anderes;
        anderes.laufzeit = profil.laufzeit;
        QVERIFY(anderes.oeffne(dritter));
        QCOMPARE(dritter.state(), QProcess::Running);

        QVERIFY(beendet(erster));
        QVERIFY(beendet(dritter));
    }

    void secondStartWithoutAnswerFails()
    {
        // A first instance that holds its lock but never answers.
        Profil profil;
        QDir().mkpath(profil.laufzeit);
        const QByteArray vorher = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", profil.laufzeit.toLocal8Bit());
        QString sock = SingleInstance(profil.konfiguration()).socketPath();
        qputenv("XDG_RUNTIME_DIR", vorher);
        QLockFile sperre(sock.replace(u".sock"_s, u".lock"_s));
        QVERIFY(sperre.tryLock(0));

        QProcess zweiter;
        profil.starte(zweiter, {u"--act"_s, QStringLiteral(RUFMON_NUMMERN_MDB)});
        QVERIFY(zweiter.waitForFinished(20000));
        QCOMPARE(zweiter.exitCode(), 1);
        QVERIFY(zweiter.readAllStandardError().contains("das laufende Rufmon antwortet nicht"));
    }

    void signalsRunTheExitSequence()
    {
        Profil profil;
        QProcess p;
        QVERIFY(profil.oeffne(p));
        QVERIFY(beendet(p));
        // Both are written only by the exit sequence.
        QCOMPARE(profil.wert(u"Optionen"_s, u"AutoNummern"_s), u"1"_s);
        QCOMPARE(profil.wert(u"Window"_s, u"Width"_s), u"7575"_s);

        // The instance is gone: a new start becomes the running program again.
        QProcess wieder;
        QVERIFY(profil.oeffne(wieder));
        QTest::qWait(300);
        QCOMPARE(wieder.state(), QProcess::Running);
        QVERIFY(QFile::remove(profil.konfiguration()));
        QVERIFY(beendet(wieder, SIGINT));
        QCOMPARE(profil.wert(u"Optionen"_s, u"AutoNummern"_s), u"1"_s);
    }

    void signalDuringAStartUpBox_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP (terminal closed)") << int(SIGHUP);
    }
    void signalDuringAStartUpBox()
    {
        QFETCH(int, signal);
        // A contact table that cannot be read: its box waits during the start.
        Profil profil;
        const QString tabelle = profil.dir.filePath(u"KUNDEN.dbf"_s);
        QVERIFY(schreibeDatei(tabelle, QByteArray(100, 'x')));
        profil.setze(u"ACT"_s, u"Datenbank"_s, tabelle);
        QProcess p;
        QVERIFY(profil.oeffne(p));
        // The check logs its failure only once the box is answered: it is still open.
        QTest::qWait(1500);
        QCOMPARE(p.state(), QProcess::Running);
        QVERIFY(!p.readAllStandardError().contains("nicht geöffnet"));

        QVERIFY(beendet(p, signal));
        QVERIFY(p.readAllStandardError().contains("nicht geöffnet"));
        // Written only by the exit sequence.
        QCOMPARE(profil.wert(u"Optionen"_s, u"AutoNummern"_s), u"1"_s);
    }

    void callHandOverAnswersHonestly()
    {
        Profil profil;
        profil.setze(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        profil.setze(u"Optionen"_s, u"AutoTapimonitor"_s, u"1"_s);
        // The program keeps its caller list beside itself: a copy of its own
        // here, so that the calls of this test stay out of the build's list.
        const QString bin = profil.dir.filePath(u"bin"_s);
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QFile::copy(programm(), bin + u"/rufmon"_s));
        QVERIFY(QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), bin + u"/Nummern.mdb"_s));
        QFile::setPermissions(bin + u"/Nummern.mdb"_s, QFile::ReadOwner | QFile::WriteOwner);
        profil.programm = bin + u"/rufmon"_s;
        // Exit code and the reason on standard error.
        const auto uebergib = [&](const QString &nummer) {
            QProcess p;
            profil.starte(p, {u"--anruf"_s, nummer}, false);
            p.waitForFinished(20000);
            return QString::number(p.exitCode()) + u' ' + QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        };
        QCOMPARE(uebergib(u"0301234567"_s), u"1 rufmon: Rufmon läuft nicht; der Anruf wurde nicht übergeben."_s);

        QProcess erster;
        QVERIFY(profil.oeffne(erster));
        // Until the monitor switches itself on (the first tick of its timer), the call is refused.
        QCOMPARE(uebergib(u"0301234567"_s), u"1 rufmon: Der Tapimonitor ist nicht aktiv."_s);
        QVERIFY(QTest::qWaitFor([&] { return uebergib(u"0301234567"_s) == u"0 "_s; }, 20000));
        QVERIFY(uebergib(QString(300, u'1')).startsWith(u"1 rufmon: Die Nummer ist zu lang"_s));
        QVERIFY(uebergib(QString(70000, u'1')).startsWith(u"1 rufmon: Die Nummer ist zu lang"_s));
        QVERIFY(beendet(erster));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stdoutEnthaelt");
        QTest::addColumn<QByteArray>("stderrEnthaelt");
        QTest::addColumn<QByteArray>("eingabe");
        QTest::addColumn<bool>("fenster");

        const QByteArray aufruf("Aufruf: rufmon");
        QTest::newRow("unknown option")
            << QStringList{u"--gibtsnicht"_s} << 2 << QByteArray() << aufruf << QByteArray() << false;
        QTest::newRow("place without numbers")
            << QStringList{u"--ort"_s} << 2 << QByteArray() << aufruf << QByteArray() << false;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QByteArray("Rufmon " RUFMON_VERSION_TEXT)
                                 << QByteArray() << QByteArray() << false;
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << aufruf << QByteArray() << QByteArray() << false;
        QTest::newRow("places of two numbers")
            << QStringList{u"--ort"_s, u"0301234567"_s, u"0043316123456"_s} << 0
            << QByteArray("Laendervorwahl: \nVorwahl: 030\nAnschluss: 1234567\nLand: \nOrt: Berlin\n\n"
                          "Laendervorwahl: 43\nVorwahl: 0316\nAnschluss: 123456\nLand: \xc3\x96sterreich\nOrt: Graz\n\n")
            << QByteArray() << QByteArray() << false;
        // Far more than a pipe holds; blank lines are skipped; the last number
        // comes last.
        QTest::newRow("places from standard input")
            << QStringList{u"--ort"_s, u"-"_s} << 0 << QByteArray("Ort: M\xc3\xbcnchen\n\nLaendervorwahl: 41\n")
            << QByteArray() << QByteArray("089123456\n").repeated(5000) + "\n0041441234567\n" << false;
        // A contact table that is not there: refused, with or without a
        // display, before anything is written or shown.
        const QString fehlt = QDir::temp().filePath(u"rufmon-gibt-es-nicht/KUNDEN.dbf"_s);
        const QByteArray nichtDa = u"rufmon: Die ACT!-Kontakttabelle „%1“ gibt es nicht.\n"_s.arg(fehlt).toUtf8();
        QTest::newRow("missing table")
            << QStringList{u"--act"_s, fehlt} << 1 << QByteArray() << nichtDa << QByteArray() << false;
        QTest::newRow("missing table, with a display")
            << QStringList{u"--act"_s, fehlt} << 1 << QByteArray() << nichtDa << QByteArray() << true;
        QTest::newRow("a folder for a table") << QStringList{u"--act"_s, QDir::tempPath()} << 1 << QByteArray()
                                              << QByteArray("ist keine ACT!-Kontakttabelle") << QByteArray() << false;
        // Without a display a table goes to the running program, like a call;
        // none runs here.
        QTest::newRow("table without a display, nothing running")
            << QStringList{u"--act"_s, QStringLiteral(RUFMON_NUMMERN_MDB)} << 1 << QByteArray()
            << QByteArray("rufmon: Rufmon läuft nicht und kann ohne Anzeige nicht starten") << QByteArray() << false;
    }
    void commandLine()
    {
        QFETCH(QStringList, argumente);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stdoutEnthaelt);
        QFETCH(QByteArray, stderrEnthaelt);
        QFETCH(QByteArray, eingabe);
        QFETCH(bool, fenster);

        Profil profil;
        QProcess p;
        profil.starte(p, argumente, fenster);
        p.write(eingabe);
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), exitCode);
        const QByteArray ausgabe = p.readAllStandardOutput();
        QVERIFY2(ausgabe.contains(stdoutEnthaelt), ausgabe.left(2000).constData());
        QVERIFY(p.readAllStandardError().contains(stderrEnthaelt));
        QVERIFY(!QFile::exists(profil.konfiguration()));
    }
};

QTEST_GUILESS_MAIN(tst_Programm)
#include "tst_Programm.moc"
