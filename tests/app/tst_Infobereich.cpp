// The program on a real X desktop (Xvfb, openbox, trayer as the tray), as a
// user meets it: minimised with a tray it leaves no frame behind and comes
// back with a click on its icon; a tray started after the program gets the
// icon; without a tray the window minimises to the task bar; a tray that
// goes gives the window back. The window's class is the one the menu entry
// names.
#include "platform/desktop/X11Desktop.h"

#include "TestPaths.h"
#include "doubles/Sitzungsbus.h"
#include "doubles/Testdesktop.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QString Titel = u"Rufmon - Der Tapimonitor für ACT!"_s;

// The built program with a profile of its own on the test's desktop.
struct Programm
{
    QTemporaryDir dir;
    QProcess prozess;

    bool starte(const Sitzungsbus &bus)
    {
        const QString laufzeit = dir.filePath(u"run"_s);
        QDir().mkpath(laufzeit);
        QFile::setPermissions(laufzeit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
        env.insert(u"XDG_RUNTIME_DIR"_s, laufzeit);
        // A bus of its own: no tray of another kind, no desktop services of the machine.
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus.adresse());
        prozess.setProcessEnvironment(env);
        prozess.start(QString::fromLocal8Bit(qgetenv("RUFMON_BIN")), {});
        return prozess.waitForStarted(10000);
    }

    ~Programm()
    {
        if (prozess.state() != QProcess::NotRunning) {
            ::kill(pid_t(prozess.processId()), SIGTERM);
            if (!prozess.waitForFinished(10000))
                prozess.kill();
        }
    }
};

// What a window on the desktop is: managed by the window manager (in its
// client list, with a frame), shown (mapped), minimised.
struct Lage
{
    X11Desktop &desktop;
    Fenster fenster;

    bool verwaltet() const
    {
        const std::vector<Fenster> alle = desktop.Hauptfenster();
        return std::find(alle.begin(), alle.end(), fenster) != alle.end();
    }
    bool gezeigt() const { return desktop.Sichtbar(fenster) && verwaltet() && !desktop.Minimiert(fenster); }
    bool minimiert() const { return verwaltet() && desktop.Minimiert(fenster) && !desktop.Sichtbar(fenster); }
    // Withdrawn: neither shown nor minimised, no frame, not in the task bar.
    bool imInfobereich() const { return !desktop.Sichtbar(fenster) && !verwaltet(); }
    // For a failure's message.
    QByteArray beschreibung() const
    {
        return QByteArray("verwaltet ") + (verwaltet() ? "ja" : "nein") + ", gemappt "
               + (desktop.Sichtbar(fenster) ? "ja" : "nein") + ", minimiert " + (desktop.Minimiert(fenster) ? "ja" : "nein");
    }
};

// The program's icon in the tray: a window of the program's class inside the tray's window.
Fenster symbolImTray(X11Desktop &desktop)
{
    const Fenster tray = desktop.Finde(u"trayer"_s, u"panel"_s);
    for (const Fenster kind : desktop.Kindfenster(tray)) {
        if (desktop.Klasse(kind).contains(u"rufmon"_s, Qt::CaseInsensitive) && desktop.Sichtbar(kind))
            return kind;
    }
    return 0;
}

// The two parts of a window's WM_CLASS, as xprop reads them.
QStringList wmKlasse(Fenster fenster)
{
    QProcess xprop;
    xprop.start(u"xprop"_s, {u"-id"_s, QString::number(fenster), u"WM_CLASS"_s});
    if (!xprop.waitForFinished(5000))
        return {};
    // WM_CLASS(STRING) = "rufmon", "Rufmon"
    const QString zeile = QString::fromUtf8(xprop.readAllStandardOutput());
    QStringList teile;
    for (const QString &t : zeile.section(u'=', 1).split(u',')) 
        teile << t.trimmed().remove(u'"');
    return teile;
}

// The window's picture as the screen shows it; null without ImageMagick.
QImage bildschirmfoto(Fenster fenster)
{
    if (QStandardPaths::findExecutable(u"import"_s).isEmpty())
        return {};
    QProcess import;
    import.start(u"import"_s, {u"-window"_s, QString::number(fenster), u"png:-"_s});
    if (!import.waitForFinished(15000))
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG");
}

// A dead frame shows black where the window should paint itself.
double schwarzanteil(const QImage &bild)
{
    qsizetype schwarz = 0;
    for (int y = 0; y < bild.height(); ++y) {
        for (int x = 0; x < bild.width(); ++x)
            schwarz += qGray(bild.pixel(x, y)) < 16;
    }
    return double(schwarz) / (qsizetype(bild.width()) * bild.height());
}

} // namespace

#define BRAUCHT_DESKTOP(d)                                                                                             \
    if (!(d).laeuft())                                                                                                 \
    QSKIP(qPrintable((d).grund()))

class tst_Infobereich : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("RUFMON_BIN") || !QFile::exists(qEnvironmentVariable("RUFMON_BIN")))
            QSKIP("RUFMON_BIN does not name the built program");
    }

    void minimisedIntoTheTrayAndBack()
    {
        Testdesktop d;
        BRAUCHT_DESKTOP(d);
        Sitzungsbus bus;
        if (!bus.laeuft())
            QSKIP(qPrintable(bus.grund()));
        X11Desktop desktop;
        Programm p;
        QVERIFY(p.starte(bus));
        // Looked for once per round: QTRY_ would look again after a hit and
        // could take a window list caught mid-change for a miss.
        Fenster fenster = 0;
        QVERIFY2(QTest::qWaitFor([&] { return (fenster = desktop.Finde(u"Rufmon"_s, Titel)) != 0; }, 20000),
                 QByteArray("kein Fenster; das Programm ") + (p.prozess.state() == QProcess::Running ? "läuft" : "lief")
                     + ": " + p.prozess.readAllStandardError());
        Lage lage{desktop, fenster};
        QTRY_VERIFY2_WITH_TIMEOUT(lage.gezeigt(), lage.beschreibung().constData(), 10000);

        // The menu entry names the window's class, so that a dock or task
        // bar puts the window under the entry's icon.
        QSettings eintrag(QStringLiteral(RUFMON_SOURCE_DIR) + u"/packaging/"_s + QStringLiteral(RUFMON_DESKTOP_ID)
                              + u".desktop"_s,
                          QSettings::IniFormat);
        const QString startupWMClass = eintrag.value(u"Desktop Entry/StartupWMClass"_s).toString();
        QVERIFY(!startupWMClass.isEmpty());
        QCOMPARE(wmKlasse(fenster).value(1), startupWMClass);

        // No tray yet: minimised is minimised, in the task bar.
        desktop.Minimiere(fenster);
        QTRY_VERIFY2_WITH_TIMEOUT(lage.minimiert(), lage.beschreibung().constData(), 10000);
        desktop.Wiederherstellen(fenster);
        QTRY_VERIFY2_WITH_TIMEOUT(lage.gezeigt(), lage.beschreibung().constData(), 10000);

        // A tray that starts after the program gets its icon.
        QVERIFY(d.starteTray());
        Fenster symbol = 0;
        QVERIFY(QTest::qWaitFor([&] { return (symbol = symbolImTray(desktop)) != 0; }, 15000));

        // Minimised, the window goes into the tray: withdrawn, no frame left
        // behind, and it stays so.
        desktop.Minimiere(fenster);
        QTRY_VERIFY2_WITH_TIMEOUT(lage.imInfobereich(), lage.beschreibung().constData(), 10000);
        QTest::qWait(1000);
        QVERIFY2(lage.imInfobereich(), lage.beschreibung().constData());

        // A click on the icon brings it back, painted.
        desktop.Klick(symbol);
        QTRY_VERIFY2_WITH_TIMEOUT(lage.gezeigt(), lage.beschreibung().constData(), 10000);
        QTest::qWait(500);
        const QImage bild = bildschirmfoto(fenster);
        if (bild.isNull())
            qWarning("ImageMagick's import is missing: the window's picture is not looked at");
        else
            QVERIFY2(schwarzanteil(bild) < 0.2, qPrintable(QString::number(schwarzanteil(bild))));

        // The tray goes while the window is in it: the window comes back minimised.
        desktop.Minimiere(fenster);
        QTRY_VERIFY2_WITH_TIMEOUT(lage.imInfobereich(), lage.beschreibung().constData(), 10000);
        d.beendeTray();
        QTRY_VERIFY2_WITH_TIMEOUT(lage.minimiert(), lage.beschreibung().constData(), 15000);

        // Ends through its exit sequence, with nothing from the platform about the window's state.
        ::kill(pid_t(p.prozess.processId()), SIGTERM);
        QVERIFY(p.prozess.waitForFinished(10000));
        QCOMPARE(p.prozess.exitCode(), 0);
        const QByteArray fehler = p.prozess.readAllStandardError();
        QVERIFY2(!fehler.contains("QXcbWindow"), fehler.constData());
    }
};

QTEST_GUILESS_MAIN(tst_Infobereich)
#include "tst_Infobereich.moc"
