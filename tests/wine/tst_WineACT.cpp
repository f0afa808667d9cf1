// The whole program with ACT! under real Wine: a Win32 stand-in of ACT!
// (its main window of class "act3.0frameclass", its automation object
// ACTOLE.APPOBJECT as a COM local server, the timer dialog and the history
// dialog) in a Wine prefix of the test's own, worked through the bridge.
// Runs on an X server with a window manager (mit-fenstermanager.sh); the
// prefix is made once and used again.
#include "actcontrol/clButtonGuard.h"
#include "actcontrol/modACTRunning.h"
#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "core/modHaupt.h"
#include "platform/actole/ActWahl.h"
#include "platform/actole/WineBruecke.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"

#include "TestPaths.h"
#include "doubles/Abwarten.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/Umgebung.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString praefix()
{
    return QStringLiteral(RUFMON_WINE_PRAEFIX);
}

QString programm(const QString &name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

QProcessEnvironment wineUmgebung()
{
    QProcessEnvironment u = QProcessEnvironment::systemEnvironment();
    u.insert(u"WINEPREFIX"_s, praefix());
    u.insert(u"WINEDEBUG"_s, u"-all"_s);
    return u;
}

// Runs a Wine program to its end; false when it fails.
bool wine(const QStringList &argumente, int ms = 120000)
{
    QProcess p;
    p.setProcessEnvironment(wineUmgebung());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(u"wine"_s, argumente);
    return p.waitForFinished(ms) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The test's prefix, made once (wineboot takes its time), with the stand-in's
// automation object registered.
QString bereite()
{
    if (QStandardPaths::findExecutable(u"wine"_s).isEmpty())
        return u"wine fehlt"_s;
    if (!QFile::exists(programm(u"actstandin.exe"_s)) || !QFile::exists(programm(u"rufmon-bruecke.exe"_s)))
        return u"actstandin.exe oder rufmon-bruecke.exe fehlt (x86_64-w64-mingw32-g++)"_s;
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return u"kein X-Server"_s;
    if (!QFile::exists(praefix() + u"/system.reg"_s)) {
        QDir().mkpath(praefix());
        // Without Mono and Gecko, whose installers would ask on the screen.
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
        const bool gemacht = wine({u"wineboot"_s, u"-i"_s});
        qunsetenv("WINEDLLOVERRIDES");
        if (!gemacht)
            return u"wineboot scheitert"_s;
        QProcess warten;
        warten.setProcessEnvironment(wineUmgebung());
        warten.start(u"wineserver"_s, {u"-w"_s});
        warten.waitForFinished(120000);
    }
    if (!wine({programm(u"actstandin.exe"_s), u"/regserver"_s}))
        return u"actstandin.exe /regserver scheitert"_s;
    return QString();
}

// The stand-in of ACT! as it runs under Wine, and what it logged.
class StandIn
{
public:
    StandIn(const QString &ordner, const QString &datenbank, const QStringList &kontakte,
            const QStringList &umgebung = {})
        : m_log(ordner + u"/standin.log"_s)
    {
        QProcessEnvironment u = wineUmgebung();
        // Wine reads the arguments in the locale's character set: UTF-8, so
        // that the names keep their umlauts.
        u.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        for (const QString &z : umgebung)
            u.insert(z.section(u'=', 0, 0), z.section(u'=', 1));
        m_prozess.setProcessEnvironment(u);
        m_prozess.setStandardOutputFile(QProcess::nullDevice());
        m_prozess.setStandardErrorFile(QProcess::nullDevice());
        // Z: is the Linux root in every prefix.
        const QString log = u"Z:"_s + QString(m_log).replace(u'/', u'\\');
        m_prozess.start(u"wine"_s, QStringList{programm(u"actstandin.exe"_s), log, datenbank} + kontakte);
    }
    ~StandIn()
    {
        // It ends when its input closes, and takes its automation object along.
        m_prozess.closeWriteChannel();
        if (!m_prozess.waitForFinished(10000)) {
            m_prozess.kill();
            m_prozess.waitForFinished(5000);
        }
    }

    QStringList zeilen() const
    {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    bool hat(const QString &zeile) const { return zeilen().contains(zeile); }
    int stelle(const QString &zeile) const { return int(zeilen().indexOf(zeile)); }
    int anzahl(const QString &zeile) const { return int(zeilen().count(zeile)); }
    QStringList mitAnfang(const QString &anfang) const { return zeilen().filter(QRegularExpression(u"^"_s + QRegularExpression::escape(anfang))); }

private:
    QString m_log;
    QProcess m_prozess;
};

// The program on Beispielkontakte, which lie in the prefix where the
// stand-in's ACT! has them open; no [ACT] Datenbank is set.
struct Programm : Umgebung
{
    TelephonyControl tapi{store};
    X11Desktop x11;
    Beispielkontakte kontakte;
    QString windowsDatenbank;
    std::unique_ptr<StandIn> act;
    std::unique_ptr<Rufmon> rufmon;

    explicit Programm(const QStringList &standinUmgebung = {})
    {
        QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
        QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        system.programFolder = dir.path();
        // A folder of this test's own on drive C:, named in other letter
        // case than ACT! names it, as Windows lets it.
        const QString ordnerName = u"Rufmontest-"_s + QString::number(QCoreApplication::applicationPid()) + u'-'
                                   + QString::number(++s_lauf);
        const QString ordner = praefix() + u"/drive_c/"_s + ordnerName;
        QDir(ordner).removeRecursively();
        kontakte = Beispielkontakte::schreibe(ordner);
        // The companion files in the letter case of their own, as ACT! on
        // Windows may have left them.
        for (const QFileInfo &datei : QDir(ordner).entryInfoList(QDir::Files)) {
            if (datei.suffix().compare(u"ddf"_s, Qt::CaseInsensitive) == 0)
                QFile::rename(datei.filePath(), datei.path() + u'/' + datei.completeBaseName() + u".DDF"_s);
        }
        windowsDatenbank = u"C:\\"_s + ordnerName.toUpper() + u'\\' + QFileInfo(kontakte.tabelle).fileName().toUpper();

        act = std::make_unique<StandIn>(dir.path(), windowsDatenbank,
                                        QStringList{u"ANDERER=Hans Müller"_s, kontakte.greta + u"=Greta Grünwald"_s},
                                        standinUmgebung);
        QTRY_VERIFY_WITH_TIMEOUT(act->zeilen().value(0).startsWith(u"Bereit"_s), 30000);

        store.SaveSetting(u"ACT"_s, u"WinePrefix"_s, praefix());
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"ProtokollSendKeyIntervall"_s, u"100"_s);
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, tapi, x11, nullptr});
        rufmon->starten();
        f().cmdInitTapi()->click();
        tapi.Simulator()->setTakt(5, 50);
    }

    ~Programm()
    {
        if (rufmon)
            f().close();
        rufmon.reset();
        act.reset();
    }

    frmHaupt &f() { return rufmon->Fenster(); }
    ActWahl &wahl() { return rufmon->Teile().ACT(); }
    QString gretaImListenformat() const { return u"["_s + kontakte.greta.leftJustified(12, u' ') + u"]"_s; }
    QString meldung() { return f().Panel(frmHaupt::Statusfeld::Meldung)->Text(); }

    // ACT! noticed by the program's periodic check, a call identified and selected.
    void anrufAusgewaehlt(const QString &nummer)
    {
        QTRY_VERIFY_WITH_TIMEOUT(rufmon->Teile().ACTBereit(), 30000);
        QVERIFY(wahl().unterWine());
        QVERIFY(tapi.Simulator()->anruf(nummer));
        QVERIFY(abwarten(*rufmon->Teile().Auswertung()));
        QTRY_VERIFY_WITH_TIMEOUT(f().lvNummern()->Modell().Count() > 0
                                     && f().lvNummern()->Modell().AnrufIn(0).nummer == nummer
                                     && !f().lvNummern()->Modell().AnrufIn(0).name.isEmpty(),
                                 20000);
        f().lvNummern()->setSelectedIndex(0);
    }

    static int s_lauf;
};

int Programm::s_lauf = 0;

} // namespace

class tst_WineACT : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const QString grund = bereite();
        if (!grund.isEmpty())
            QSKIP(qPrintable(grund));
    }

    // ACT! running before the program starts is noticed at the first tick;
    // the database it names is a Windows path, opened as the Linux file.
    void kontaktAnzeigen()
    {
        Programm p;
        p.anrufAusgewaehlt(u"0301234567"_s);
        QCOMPARE(p.f().lvNummern()->Modell().AnrufIn(0).Tag(), p.gretaImListenformat());
        QCOMPARE(p.f().lvNummern()->Modell().AnrufIn(0).name, u"Greta Grünwald"_s);
        QVERIFY(p.act->hat(u"GetOpenDBName"_s));

        p.f().Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        const QString goTo = u"GoTo s "_s + p.gretaImListenformat();
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(goTo), 20000);
        const int show = p.act->stelle(u"Show b 1"_s);
        const int create = p.act->stelle(u"Create i2 1 i2 2"_s);
        const int lookup = p.act->stelle(u"lookupall"_s);
        QVERIFY(show >= 0);
        QVERIFY(show < create);
        QVERIFY(create < lookup);
        QVERIFY(lookup < p.act->stelle(goTo));
        // The timer is not asked for.
        QVERIFY(!p.act->hat(u"Command &i4 310"_s));
        QCOMPARE(p.meldung(), QString());
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    void timerMitStarten()
    {
        Programm p;
        p.anrufAusgewaehlt(u"0301234567"_s);
        p.f().Schalter().setzen(Optionsschalter::Schalter::ACTTimer, true);
        p.f().Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(u"Klick Timer &Start"_s), 20000);
        QVERIFY(p.act->stelle(u"Command &i4 310"_s) < p.act->stelle(u"Klick Timer &Start"_s));
        QVERIFY(p.act->stelle(u"GoTo s "_s + p.gretaImListenformat()) < p.act->stelle(u"Command &i4 310"_s));
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    // An unknown caller from a place with umlauts, recorded at the contact
    // ACT! shows: the dialog opened with Ctrl+H, its fields reached by their
    // mnemonics, characters the X keyboard has not (€) typed all the same,
    // {ENTER} for OK.
    void protokollAufzeichnen()
    {
        Programm p;
        p.optionen.schreibOption(u"ProtokollSendKeys"_s,
                                 u"%D|%Datum|%U|%Uhrzeit|%N|%Nummer|%O|%Ort|%B|Rückruf: 5 € @ Büro|{ENTER}"_s);
        p.anrufAusgewaehlt(u"0891234567"_s);
        const Anruf eintrag = p.f().lvNummern()->Modell().AnrufIn(0);
        QCOMPARE(eintrag.Tag(), u"Unbekannt"_s);
        const QString ort = eintrag.ort;
        QVERIFY2(ort.contains(u'ü'), qPrintable(ort));
        const QString datum = eintrag.Datumstext();
        p.dialogs.answer(Dialogs::Answer::Yes);

        p.f().Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(u"Klick Protokoll OK"_s), 30000);
        QCOMPARE(p.act->mitAnfang(u"Feld "_s),
                 QStringList({u"Feld Datum="_s + datum.section(u' ', 0, 0), u"Feld Uhrzeit="_s + datum.section(u' ', 1),
                              u"Feld Nummer=0891234567"_s, u"Feld Ort="_s + ort,
                              u"Feld Bemerkung=Rückruf: 5 € @ Büro"_s}));
        QCOMPARE(p.act->mitAnfang(u"Protokollfenster "_s), QStringList{u"Protokollfenster Hans Müller"_s});
        QTRY_COMPARE(p.meldung(), QString());
        QCOMPARE(p.dialogs.boxes().size(), 1);
    }

    // The known caller: ACT! moved to her first, the dialog named after her.
    void protokollBeimAnrufer()
    {
        Programm p;
        p.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%N|%Nummer|{ENTER}"_s);
        p.anrufAusgewaehlt(u"0301234567"_s);
        p.f().Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(u"Klick Protokoll OK"_s), 30000);
        QVERIFY(p.act->stelle(u"GoTo s "_s + p.gretaImListenformat()) < p.act->stelle(u"Protokollfenster Greta Grünwald"_s));
        QVERIFY(p.act->hat(u"Feld Nummer=0301234567"_s));
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    // A history dialog that names another contact gets nothing.
    void protokollFuerAnderenKontakt()
    {
        // ACT! keeps the dialog of the contact shown before open.
        Programm p({u"STANDIN_PROTOKOLL_OFFEN=ANDERER"_s});
        p.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%N|%Nummer|{ENTER}"_s);
        p.anrufAusgewaehlt(u"0301234567"_s);
        QTRY_VERIFY(p.act->hat(u"Protokollfenster Hans Müller"_s));
        p.f().Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.meldung().contains(u"Hans Müller"_s), 30000);
        QVERIFY2(p.meldung().contains(u"nichts eingetragen"_s), qPrintable(p.meldung()));
        QTest::qWait(1000);
        QCOMPARE(p.act->mitAnfang(u"Eingabe "_s), QStringList());
        QVERIFY(!p.act->hat(u"Klick Protokoll OK"_s));
    }

    // A window of ACT!'s that takes the focus in the middle of the macro:
    // the rest is not typed into it, and the status says so.
    void fokusGehtVerloren()
    {
        Programm p({u"STANDIN_HINWEIS=1"_s});
        p.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%D|%Datum|%U|%Uhrzeit|{ENTER}"_s);
        p.anrufAusgewaehlt(u"0301234567"_s);
        p.f().Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
        QVERIFY(p.act->hat(u"Hinweis gezeigt"_s));
        QCOMPARE(p.meldung(), u"Protokolleintrag abgebrochen bei „%U“: Im Vordergrund ist ein anderes Fenster "_s
                              u"(„ACT! Hinweis“)"_s);
        QTest::qWait(500);
        QCOMPARE(p.act->mitAnfang(u"Eingabe Uhrzeit"_s), QStringList());
        QVERIFY(!p.act->hat(u"Klick Protokoll OK"_s));
    }

    // The window search inside Wine: Win32 classes and captions, contained
    // text without regard to case, a list box by its selected entry, and a
    // dialog that counts only when its caption begins with the text.
    void fenstersuche()
    {
        Programm p({u"STANDIN_PROTOKOLL_OFFEN=ANDERER"_s});
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(u"Protokollfenster Hans Müller"_s), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(p.rufmon->Teile().ACTBereit(), 30000);
        QVERIFY(p.wahl().unterWine());
        Desktop &d = p.wahl().desktop();
        const Fenster act = modACTRunning::SucheFenster(d, u"ACT3.0FRAMECLASS"_s, u"act!"_s);
        QVERIFY(act);
        QCOMPARE(modACTRunning::Fenstertitel(d, act), u"ACT! - Hans Müller"_s);
        const Fenster dialog = modACTRunning::SucheFenster(d, u"#32770"_s, u"PROTOKOLL AUFZEICHNEN"_s);
        QVERIFY(dialog);
        QCOMPARE(d.Elternfenster(dialog), Fenster(0));
        const Fenster liste = modACTRunning::SucheKindfenster(d, dialog, u"listbox"_s, u"anruf"_s);
        QVERIFY(liste);
        QCOMPARE(modACTRunning::Kindfenstertext(d, liste), u"Anruf"_s);
        QCOMPARE(modACTRunning::SucheKindfenster(d, dialog, u"listbox"_s, u"Besuch"_s), Fenster(0));
        const Fenster ok = modACTRunning::SucheKindfenster(d, dialog, u"BUTTON"_s, u"ok"_s);
        QVERIFY(ok);
        QCOMPARE(d.Elternfenster(ok), dialog);

        clButtonGuard guard(d);
        QVERIFY(guard.SetConfiguration(u"OK|Button|Protokoll aufzeichnen |#32770"_s));
        QVERIFY(guard.WindowExist());
        QCOMPARE(guard.GefundenesFenster(), ok);
        // Found by the contained text, but the caption does not begin with it.
        QVERIFY(guard.SetConfiguration(u"OK|Button|aufzeichnen|#32770"_s));
        QVERIFY(!guard.WindowExist());
        QCOMPARE(guard.GefundenesFenster(), ok);
        QVERIFY(guard.SetConfiguration(u"OK|Button|Timer|#32770"_s));
        QVERIFY(!guard.WindowExist());
        QCOMPARE(guard.GefundenesFenster(), Fenster(0));
    }

    // A description of the dialog that names the program's own main window:
    // whatever it finds inside Wine, nothing reaches the program.
    void kennungDesEigenenFensters()
    {
        Programm p;
        p.anrufAusgewaehlt(u"0301234567"_s);
        p.optionen.schreibOption(u"ProtokollFensterKennung"_s, p.f().windowTitle() + u"|||"_s);
        int tasten = 0;
        struct Zaehler : QObject
        {
            int &n;
            explicit Zaehler(int &z)
                : n(z)
            {
            }
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::KeyPress)
                    ++n;
                return false;
            }
        } zaehler(tasten);
        qApp->installEventFilter(&zaehler);
        p.f().Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
        QTest::qWait(500);
        qApp->removeEventFilter(&zaehler);
        QCOMPARE(tasten, 0);
    }

    // The bridge killed between two commands is started again once, and the
    // command works; no message.
    void brueckeNeuGestartet()
    {
        Programm p;
        p.anrufAusgewaehlt(u"0301234567"_s);
        const qint64 alt = p.wahl().bruecke().prozess();
        QVERIFY(alt > 0);
        ::kill(pid_t(alt), SIGKILL);
        QTRY_VERIFY(!p.wahl().bruecke().laeuft());

        p.f().Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(p.act->hat(u"GoTo s "_s + p.gretaImListenformat()), 30000);
        QVERIFY(p.wahl().bruecke().laeuft());
        QVERIFY(p.wahl().bruecke().prozess() != alt);
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }
};

QTEST_MAIN(tst_WineACT)
#include "tst_WineACT.moc"
