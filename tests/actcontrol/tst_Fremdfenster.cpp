#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/ACTTimerstart.h"
#include "actcontrol/Tastenfolge.h"
#include "actcontrol/clACTApplication.h"
#include "actcontrol/clButtonGuard.h"
#include "actcontrol/modACTRunning.h"
#include "platform/desktop/X11Desktop.h"

#include "doubles/Fremdprogramm.h"
#include "doubles/ScriptedAct.h"
#include "doubles/ScriptedDialogs.h"
#include "doubles/XvfbServer.h"

#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

// The key notation read into key presses, written back in a short form:
// a character as itself, a named key as <Name>, modifiers as S-, C-, A-.
namespace {

QString kurz(const std::vector<Tastendruck> &tasten)
{
    static const char *const namen[] = {"", "Enter", "Tab", "Pos1", "Ende", "Esc", "Rueck", "Entf", "Einfg",
                                        "Hoch", "Runter", "Links", "Rechts", "BildHoch", "BildRunter", "Feststell",
                                        "Num", "Rollen", "Druck", "Pause", "Hilfe", "Leeren", "Plus", "Minus", "Mal",
                                        "Durch"};
    QString text;
    for (const Tastendruck &t : tasten) {
        QString mod = QString(t.shift ? u"S-"_s : QString()) + (t.strg ? u"C-"_s : QString())
                      + (t.alt ? u"A-"_s : QString());
        QString taste;
        if (t.taste == Taste::Zeichen)
            taste = QString::fromUcs4(&t.zeichen, 1);
        else if (t.taste >= Taste::F1)
            taste = u"F"_s + QString::number(int(t.taste) - int(Taste::F1) + 1);
        else
            taste = QString::fromLatin1(namen[int(t.taste)]);
        text += (mod.isEmpty() && t.taste == Taste::Zeichen) ? taste : u"<"_s + mod + taste + u">"_s;
    }
    return text;
}

} // namespace

// Finding and working foreign dialogs: the key notation typed into them, and
// against a real X server and a foreign program of plain X windows the desktop
// itself, the window search, the button guard and ACT!'s timer start.
class tst_Fremdfenster : public QObject
{
    Q_OBJECT

private slots:
    void gueltig_data()
    {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QString>("tasten");
        QTest::newRow("plain text") << u"Anruf 12:30"_s << u"Anruf 12:30"_s;
        QTest::newRow("modifier for the next key only") << u"^hx"_s << u"<C-h>x"_s;
        QTest::newRow("alt with capital letter") << u"%D"_s << u"<A-D>"_s;
        QTest::newRow("modifiers combine") << u"+^%a"_s << u"<S-C-A-a>"_s;
        QTest::newRow("group keeps the modifier") << u"+(ab)c"_s << u"<S-a><S-b>c"_s;
        QTest::newRow("nested groups add modifiers") << u"^(a%(b)c)"_s << u"<C-a><C-A-b><C-c>"_s;
        QTest::newRow("plain parentheses group") << u"(ab)"_s << u"ab"_s;
        QTest::newRow("number with plus is shifted") << u"+49 30 1234"_s << u"<S-4>9 30 1234"_s;
        QTest::newRow("tilde is enter") << u"a~"_s << u"a<Enter>"_s;
        QTest::newRow("tab and line end are keys") << u"a\tb\n"_s << u"a\tb\n"_s;
        QTest::newRow("named keys in any case") << u"{HOME}{tab}{Esc}{ENTER}"_s << u"<Pos1><Tab><Esc><Enter>"_s;
        QTest::newRow("aliases") << u"{BS}{BACKSPACE}{BKSP}{DEL}{DELETE}{INS}"_s
                                 << u"<Rueck><Rueck><Rueck><Entf><Entf><Einfg>"_s;
        QTest::newRow("function keys") << u"{F1}{F12}{F16}"_s << u"<F1><F12><F16>"_s;
        QTest::newRow("repeat") << u"{TAB 3}"_s << u"<Tab><Tab><Tab>"_s;
        QTest::newRow("repeat a character") << u"{x 2}"_s << u"xx"_s;
        QTest::newRow("repeat zero times") << u"a{LEFT 0}b"_s << u"ab"_s;
        QTest::newRow("special characters in braces")
            << u"{+}{^}{%}{~}{{}{}}{(}{)}"_s << u"+^%~{}()"_s;
        QTest::newRow("modifier on a named key") << u"+{TAB}%{F4}"_s << u"<S-Tab><A-F4>"_s;
        QTest::newRow("modifier on a brace character") << u"^{+}"_s << u"<C-+>"_s;
        QTest::newRow("empty") << QString() << QString();
    }
    void gueltig()
    {
        QFETCH(QString, notation);
        QFETCH(QString, tasten);
        const Tastenfolge folge = Tastenfolge::lies(notation);
        QVERIFY2(folge.fehlerfrei(), qPrintable(folge.fehler));
        QCOMPARE(kurz(folge.tasten), tasten);
    }

    void fehler_data()
    {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QString>("bisDahin");
        QTest::addColumn<int>("stelle");
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown key") << u"ab{HOMEX}cd"_s << u"ab"_s << 3 << u"unbekannte Taste „{HOMEX}“"_s;
        QTest::newRow("brace not closed") << u"a{TAB"_s << u"a"_s << 2 << u"„{“ ohne „}“"_s;
        QTest::newRow("lone closing brace") << u"a}b"_s << u"a"_s << 2 << u"„}“ ohne „{“"_s;
        QTest::newRow("empty braces") << u"{}"_s << QString() << 1 << u"„{“ ohne „}“"_s;
        QTest::newRow("modifier at the end") << u"ab^"_s << u"ab"_s << 3 << u"nach „+“, „^“ oder „%“ fehlt die Taste"_s;
        QTest::newRow("modifier before closing parenthesis")
            << u"+(a%)"_s << u"<S-a>"_s << 4 << u"nach „+“, „^“ oder „%“ fehlt die Taste"_s;
        QTest::newRow("group not closed") << u"x+(ab"_s << u"x<S-a><S-b>"_s << 3 << u"„(“ ohne „)“"_s;
        QTest::newRow("closing parenthesis alone") << u"a)b"_s << u"a"_s << 2 << u"„)“ ohne „(“"_s;
        QTest::newRow("count not a number") << u"{TAB x}"_s << QString() << 1 << u"ungültige Anzahl in „{TAB x}“"_s;
        QTest::newRow("negative count") << u"{TAB -2}"_s << QString() << 1 << u"ungültige Anzahl in „{TAB -2}“"_s;
        QTest::newRow("absurd count") << u"{TAB 99999999}"_s << QString() << 1
                                      << u"zu viele Wiederholungen in „{TAB 99999999}“"_s;
        QTest::newRow("control character") << u"ab\x04" u"c"_s << u"ab"_s << 3 << u"Steuerzeichen U+0004"_s;
        QTest::newRow("NUL in braces") << u"x{"_s + QChar(0) + u"}"_s << u"x"_s << 2 << u"Steuerzeichen U+0000"_s;
        QTest::newRow("C1 control") << u"\u009b31m"_s << QString() << 1 << u"Steuerzeichen U+009B"_s;
        QTest::newRow("groups too deep") << u"a"_s + u"+("_s.repeated(40) + u"b"_s + u")"_s.repeated(40) << u"a"_s << 67
                                         << u"mehr als 32 Klammern ineinander"_s;
        QTest::newRow("too many keys in all") << u"{TAB 1000}"_s.repeated(10) + u"x"_s << u"<Tab>"_s.repeated(10000)
                                              << 101 << u"mehr als 10000 Tasten"_s;
        QTest::newRow("position counts characters, not bytes") << u"ä€{X1}"_s << u"ä€"_s << 3
                                                                << u"unbekannte Taste „{X1}“"_s;
    }
    void fehler()
    {
        QFETCH(QString, notation);
        const Tastenfolge folge = Tastenfolge::lies(notation);
        QTEST(folge.fehlerStelle, "stelle");
        QTEST(folge.fehler, "text");
        QTEST(kurz(folge.tasten), "bisDahin");
    }

    // What an accepted configuration means is tested through WindowExist below.
    void fuenfTeileAbgelehnt()
    {
        X11Desktop desktop;
        clButtonGuard guard(desktop);
        QVERIFY(guard.SetConfiguration(u"A|B|C|D"_s));
        QVERIFY(!guard.SetConfiguration(u"OK|Button|Protokoll|#32770|x"_s));
        QCOMPARE(guard.GetConfiguration(), u"A|B|C|D"_s);
    }

    void searchByContainedClassAndText()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"erster"_s, u"#32770"_s, u"Protokoll aufzeichnen Meier"_s,
                          u"--kind"_s, u"ok1"_s, u"Button"_s, u"OK"_s,
                          u"--kind"_s, u"leer"_s, u"Static"_s, u""_s,
                          u"--fenster"_s, u"zweiter"_s, u"#32770"_s, u"Protokoll aufzeichnen Müller"_s,
                          u"--kind"_s, u"ok2"_s, u"Button"_s, u"OK"_s,
                          u"--kind"_s, u"okVerborgen"_s, u"Button"_s, u"OK"_s, u"--verborgen"_s,
                          u"--fenster"_s, u"verborgen"_s, u"#32770"_s, u"Protokoll aufzeichnen Schulz"_s,
                          u"--verborgen"_s}));
        X11Desktop d;
        using namespace modACTRunning;
        // Contained class and text, any letter case; of two the one enumerated
        // last (the upper one); hidden windows do not count.
        QCOMPARE(SucheFenster(d, u"3277"_s, u"AUFZEICHNEN"_s), p.id(u"zweiter"_s));
        QCOMPARE(SucheFenster(d, u"#32770"_s, u"meier"_s), p.id(u"erster"_s));
        QCOMPARE(SucheFenster(d, u"#32770"_s, u"Schulz"_s), Fenster(0));
        QCOMPARE(SucheFenster(d, u"Edit"_s, u"Meier"_s), Fenster(0));
        QCOMPARE(SucheFenster(d, u"#32770"_s, u"*"_s), p.id(u"zweiter"_s));
        // Inside a dialog; the hidden button after the visible one is not taken.
        QCOMPARE(SucheKindfenster(d, p.id(u"zweiter"_s), u"button"_s, u"ok"_s), p.id(u"ok2"_s));
        QCOMPARE(SucheKindfenster(d, p.id(u"erster"_s), u"button"_s, u"OK"_s), p.id(u"ok1"_s));
        QCOMPARE(SucheKindfenster(d, p.id(u"erster"_s), u"Static"_s, u"NoText"_s), p.id(u"leer"_s));
        QCOMPARE(SucheKindfenster(d, p.id(u"erster"_s), u"Button"_s, u"Abbrechen"_s), Fenster(0));
    }

    void textRules()
    {
        BRAUCHT_X(m_x);
        const QString lang = u"Ein sehr langer Titel, der über fünfzig Zeichen hinausgeht, und mehr"_s;
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"blanks"_s, u"X"_s, u"   Timer"_s,
                          u"--kind"_s, u"kindBlanks"_s, u"Static"_s, u"  Timer"_s,
                          u"--kind"_s, u"kindNull"_s, u"Static"_s, u"vor\\0nach"_s,
                          u"--kind"_s, u"kindLang"_s, u"Static"_s, lang,
                          u"--kind"_s, u"nurNull"_s, u"Static"_s, u"\\0versteckt"_s,
                          u"--kind"_s, u"liste"_s, u"ListBox"_s, u"Erster Eintrag"_s,
                          u"--fenster"_s, u"lang"_s, u"X"_s, lang,
                          u"--fenster"_s, u"leer"_s, u"X"_s, u""_s}));
        X11Desktop d;
        using namespace modACTRunning;
        // A caption loses its leading blanks, a text inside a dialog keeps them.
        QCOMPARE(Fenstertitel(d, p.id(u"blanks"_s)), u"Timer"_s);
        QCOMPARE(Kindfenstertext(d, p.id(u"kindBlanks"_s)), u"  Timer"_s);
        QCOMPARE(Kindfenstertext(d, p.id(u"kindNull"_s)), u"vor"_s);
        QCOMPARE(Kindfenstertext(d, p.id(u"nurNull"_s)), u"NoText"_s);
        // X cannot tell a list's selection: its text stands in.
        QCOMPARE(Kindfenstertext(d, p.id(u"liste"_s)), u"Erster Eintrag"_s);
        QCOMPARE(Fenstertitel(d, p.id(u"lang"_s)), lang.left(50));
        QCOMPARE(Kindfenstertext(d, p.id(u"kindLang"_s)), lang.left(50));
        QCOMPARE(Fenstertitel(d, p.id(u"leer"_s)), u"NoText"_s);
        // What lies beyond the fiftieth character is not searched.
        QCOMPARE(SucheFenster(d, u"x"_s, lang.mid(40, 10)), p.id(u"lang"_s));
        QCOMPARE(SucheFenster(d, u"x"_s, lang.mid(45, 10)), Fenster(0));
        QCOMPARE(SucheFenster(d, u"x"_s, u"notext"_s), p.id(u"leer"_s));
    }

    void windowExist_data()
    {
        QTest::addColumn<QString>("konfiguration");
        QTest::addColumn<bool>("gilt");
        QTest::addColumn<QString>("gefunden"); // none when empty

        // Found through the upper dialog, whose caption only contains the text.
        QTest::newRow("caption contains") << u"OK|Button|Protokoll aufzeichnen |#32770"_s << false << u"ok2"_s;
        QTest::newRow("caption begins") << u"OK|Button|Protokoll aufzeichnen Müller|#32770"_s << true << u"ok"_s;
        QTest::newRow("class in lower case") << u"&Start|button|Timer|#32770"_s << true << u"start"_s;
        QTest::newRow("any letter case") << u"&START|BUTTON|timer|#32770"_s << true << u"start"_s;
        QTest::newRow("no such button") << u"&Stopp|button|Timer|#32770"_s << false << QString();
        // A top-level window found by its exact class and caption has no parent:
        // it counts only when no dialog is asked for.
        QTest::newRow("top-level, dialog asked for") << u"Timer|#32770|Timer|#32770"_s << false << u"timer"_s;
        QTest::newRow("top-level") << u"Timer|#32770||"_s << true << u"timer"_s;
        // An empty item matches every window: any class, any text, any dialog.
        QTest::newRow("any class") << u"Notiz||Protokoll aufzeichnen Müller|#32770"_s << true << u"eingabe"_s;
        QTest::newRow("any text") << u"|Edit|Protokoll aufzeichnen Müller|#32770"_s << true << u"eingabe"_s;
        QTest::newRow("any dialog") << u"&Start|Button||#32770"_s << true << u"start"_s;
    }
    void windowExist()
    {
        BRAUCHT_X(m_x);
        QFETCH(QString, konfiguration);
        QFETCH(QString, gefunden);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"beginnt"_s, u"#32770"_s, u"Protokoll aufzeichnen Müller, Hans"_s,
                          u"--kind"_s, u"ok"_s, u"Button"_s, u"OK"_s,
                          u"--kind"_s, u"eingabe"_s, u"Edit"_s, u"Notiz"_s,
                          u"--fenster"_s, u"enthaelt"_s, u"#32770"_s, u"Neues Protokoll aufzeichnen "_s,
                          u"--kind"_s, u"ok2"_s, u"Button"_s, u"OK"_s,
                          u"--fenster"_s, u"timer"_s, u"#32770"_s, u"Timer"_s,
                          u"--kind"_s, u"start"_s, u"Button"_s, u"&Start"_s}));
        X11Desktop d;
        clButtonGuard guard(d);
        QVERIFY(guard.SetConfiguration(konfiguration));
        QTEST(guard.WindowExist(), "gilt");
        QCOMPARE(guard.GefundenesFenster(), gefunden.isEmpty() ? Fenster(0) : p.id(gefunden));
    }

    void clickAndKeys()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"andere"_s, u"Other"_s, u"Anderes Fenster"_s,
                          u"--feld"_s, u"anderesFeld"_s, u"Edit"_s, u""_s,
                          u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Notiz"_s,
                          u"--feld"_s, u"feld"_s, u"Edit"_s, u""_s,
                          u"--kind"_s, u"ok"_s, u"Button"_s, u"OK"_s}));
        X11Desktop d;
        clButtonGuard guard(d);
        QVERIFY(guard.SetConfiguration(u"OK|Button|Notiz|#32770"_s));
        guard.MouseClick();
        QVERIFY(p.warteAuf(u"LOS ok"_s));
        QVERIFY(p.zeilen().contains(u"KLICK ok"_s));

        // Not found, not clicked.
        QVERIFY(guard.SetConfiguration(u"Abbrechen|Button|Notiz|#32770"_s));
        guard.MouseClick();
        QTest::qWait(100);
        QVERIFY(!p.zeilen().join(u' ').contains(u"KLICK dlg"_s));

        // Keys go to the window captioned WindowText; a caption that begins with
        // the text is taken when none has it whole.
        guard.WindowText = u"Anderes"_s;
        const Tastenfolge folge = guard.SendeTasten(u"%D01.02.2026{TAB}x{BAD}y"_s);
        QCOMPARE(folge.fehlerStelle, 19);
        QTRY_COMPARE(p.tasten(u"anderesFeld"_s), u"<A-D>01.02.2026<Tab>x"_s);
        guard.WindowText = u"notiz"_s;
        guard.SendeTasten(u"Grüße"_s);
        QTRY_COMPARE(p.tasten(u"feld"_s), u"Grüße"_s);
    }

    // What the keyboard has no key for is pasted, all in one go; the
    // clipboard has its text again afterwards.
    void charactersOffTheKeyboardArePasted()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--ablage"_s, u"Vorher kopiert"_s, u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Notiz"_s,
                          u"--feld"_s, u"feld"_s, u"Edit"_s, u""_s}));
        X11Desktop d;
        QVERIFY(d.Aktiviere(p.id(u"dlg"_s)));
        const QByteArray vorher = tastaturbelegung();
        QString kyrillisch;
        for (char16_t c = 0x0410; c < 0x0410 + 300; ++c)
            kyrillisch += QChar(c);
        const Tastenfolge folge = modACTRunning::Tippe(d, u"ab"_s + kyrillisch + u"c"_s);
        QVERIFY(folge.fehlerfrei());
        QTRY_COMPARE(p.tasten(u"feld"_s), u"ab"_s + kyrillisch + u"c"_s);
        // No key was given another character.
        QCOMPARE(tastaturbelegung(), vorher);
        // The copied text is pasted again.
        const auto z = [](char32_t c, bool strg = false) { return Tastendruck{Taste::Zeichen, c, false, strg, false}; };
        d.Tippe({z(U'v', true)});
        QTRY_COMPARE(p.tasten(u"feld"_s), u"ab"_s + kyrillisch + u"cVorher kopiert"_s);
    }

    void timerStart_data()
    {
        QTest::addColumn<bool>("laeuft");
        QTest::addColumn<std::int32_t>("ansichtTyp");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<int>("klicks");
        QTest::newRow("contact view, dialog stays: two clicks") << true << 1 << true << 2;
        QTest::newRow("contact view, no dialog") << true << 1 << false << 0;
        QTest::newRow("group view: no command") << true << 3 << true << 0;
        QTest::newRow("ACT! not running") << false << 1 << true << 0;
    }
    void timerStart()
    {
        BRAUCHT_X(m_x);
        QFETCH(bool, laeuft);
        QFETCH(std::int32_t, ansichtTyp);
        QFETCH(bool, dialog);
        QFETCH(int, klicks);
        Fremdprogramm p;
        QStringList fenster{u"--fenster"_s, u"timer"_s, u"#32770"_s, u"Timer - Meier"_s, u"--kind"_s, u"start"_s,
                            u"Button"_s, u"&Start"_s};
        if (!dialog)
            fenster << u"--verborgen"_s;
        QVERIFY(p.starte(fenster));
        ScriptedAct act;
        act.laeuft = laeuft;
        act.ansichtTyp = ansichtTyp;
        ScriptedDialogs dialogs;
        clACTApplication app(act, dialogs, {});
        X11Desktop d;
        struct : ACTBefehlsfenster
        {
            int geatmet = 0;
            void setMeldung(const QString &) override {}
            void setACTPruefungAktiv(bool) override {}
            void atmen() override { ++geatmet; }
            void warten(int) override {}
        } fensterseite;
        ACTTimerStarten(app, d, fensterseite);
        const int geatmet = fensterseite.geatmet;

        const bool befehl = laeuft && ansichtTyp == 1;
        QCOMPARE(act.journal.contains(u"Command(310)"_s), befehl);
        QCOMPARE(geatmet, befehl ? 3 : 0);
        if (klicks > 0)
            QTRY_COMPARE(p.zeilen().count(u"LOS start"_s), klicks);
        QTest::qWait(100);
        QCOMPARE(p.zeilen().count(u"KLICK start"_s), klicks);
    }

    void windowsAndTheirProperties()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"unten"_s, u"Dialog"_s, u"Erster Dialog"_s,
                          u"--kind"_s, u"ok"_s, u"Button"_s, u"OK"_s,
                          u"--kind"_s, u"tafel"_s, u"Panel"_s, u""_s,
                          u"--in"_s, u"tief"_s, u"Edit"_s, u"tief drin"_s,
                          u"--kind"_s, u"zu"_s, u"Button"_s, u"Schließen"_s, u"--verborgen"_s,
                          u"--fenster"_s, u"oben"_s, u"#32770"_s, u"Grüße aus Köln"_s, u"--nur-wmname"_s,
                          u"--fenster"_s, u"weg"_s, u"#32770"_s, u"Versteckt"_s, u"--verborgen"_s}));
        X11Desktop desktop;
        QVERIFY(desktop.verbunden());
        // How the window search uses class, text, order and visibility is tested
        // with it above; here what it does not reach.
        const std::vector<Fenster> haupt = desktop.Hauptfenster();
        QVERIFY(std::find(haupt.begin(), haupt.end(), p.id(u"weg"_s)) != haupt.end());

        // Inner windows at any depth, each followed by its own.
        const std::vector<Fenster> innen = desktop.Kindfenster(p.id(u"unten"_s));
        const std::vector<Fenster> erwartet{p.id(u"ok"_s), p.id(u"tafel"_s), p.id(u"tief"_s), p.id(u"zu"_s)};
        QCOMPARE(innen, erwartet);
        QVERIFY(desktop.Kindfenster(p.id(u"tief"_s)).empty());
        QVERIFY(desktop.Sichtbar(p.id(u"tief"_s)));
        QVERIFY(!desktop.Sichtbar(p.id(u"zu"_s)));
        // The old Latin-1 property when that is all there is.
        QCOMPARE(desktop.Text(p.id(u"oben"_s)), u"Grüße aus Köln"_s);
        QCOMPARE(desktop.Text(p.id(u"tafel"_s)), QString());

        QCOMPARE(desktop.Elternfenster(p.id(u"ok"_s)), p.id(u"unten"_s));
        QCOMPARE(desktop.Elternfenster(p.id(u"tief"_s)), p.id(u"tafel"_s));
        QCOMPARE(desktop.Elternfenster(p.id(u"unten"_s)), Fenster(0));

        // A window that is gone answers like none.
        QCOMPARE(desktop.Text(0x7ffffff0), QString());
        QVERIFY(!desktop.Sichtbar(0x7ffffff0));
        QVERIFY(desktop.Kindfenster(0x7ffffff0).empty());
    }

    void exactLookup()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"a"_s, u"#32770"_s, u"Timer"_s, u"--fenster"_s, u"b"_s, u"#32770"_s,
                          u"Timer"_s, u"--fenster"_s, u"c"_s, u"Other"_s, u"Timer starten"_s}));
        X11Desktop desktop;
        // Either part of the class, letter case aside; the topmost of two.
        QCOMPARE(desktop.Finde(u"#32770"_s, u"timer"_s), p.id(u"b"_s));
        QCOMPARE(desktop.Finde(u"RUFMONTEST"_s, u"Timer"_s), p.id(u"b"_s));
        QCOMPARE(desktop.Finde(QString(), u"TIMER STARTEN"_s), p.id(u"c"_s));
        // Whole texts only.
        QCOMPARE(desktop.Finde(u"#3277"_s, u"Timer"_s), Fenster(0));
        QCOMPARE(desktop.Finde(u"#32770"_s, u"Time"_s), Fenster(0));
        QCOMPARE(desktop.Finde(u"Other"_s, u"Timer"_s), Fenster(0));
    }

    void typedKeysArriveWithModifiersAndUmlauts()
    {
        BRAUCHT_X(m_x);
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Protokoll aufzeichnen "_s, u"--feld"_s, u"feld"_s,
                          u"Edit"_s, u""_s}));
        X11Desktop desktop;
        QVERIFY(desktop.Aktiviere(p.id(u"dlg"_s)));
        const auto z = [](char32_t c, bool shift = false, bool strg = false, bool alt = false) {
            return Tastendruck{Taste::Zeichen, c, shift, strg, alt};
        };
        desktop.Tippe({z(U'D', false, false, true), z(U'0'), z(U'6'), z(U'.'), z(U':'), z(U'a', true), z(U'h', false, true),
                       z(U'ä'), z(U'Ö'), z(U'ß'), z(U'€'), z(U'ä'), {Taste::Pos1}, {Taste::Tab, 0, true},
                       {Taste(int(Taste::F1) + 12)}, z(U' ')});
        const QString erwartet = u"<A-D>06.:A<C-h>äÖß€ä<Home><S-ISO_Left_Tab><F13> "_s;
        QTRY_COMPARE_WITH_TIMEOUT(p.tasten(u"feld"_s), erwartet, 5000);
        // A second macro uses the same spare keys again.
        desktop.Tippe({z(U'ü'), z(U'ä')});
        QTRY_COMPARE_WITH_TIMEOUT(p.tasten(u"feld"_s), erwartet + u"üä"_s, 5000);
    }

    // On a German keyboard "@", "€", "{" and "µ" lie on AltGr: typed with it
    // rather than with a spare key code, which programs under Wine ignore.
    void altGrLevelRatherThanASpareKey()
    {
        BRAUCHT_X(m_x);
        if (QStandardPaths::findExecutable(u"setxkbmap"_s).isEmpty())
            QSKIP("setxkbmap fehlt (x11-xkb-utils)");
        if (QProcess::execute(u"setxkbmap"_s, {u"de"_s}) != 0)
            QSKIP("setxkbmap de scheitert");
        const auto zurueck = qScopeGuard([] { QProcess::execute(u"setxkbmap"_s, {u"us"_s}); });
        Fremdprogramm p;
        QVERIFY(p.starte({u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Notiz"_s, u"--feld"_s, u"feld"_s, u"Edit"_s, u""_s}));
        X11Desktop d;
        QVERIFY(d.Aktiviere(p.id(u"dlg"_s)));
        const QByteArray vorher = tastaturbelegung();
        const Tastenfolge folge = modACTRunning::Tippe(d, u"a@€µ{{}z"_s);
        QVERIFY(folge.fehlerfrei());
        QTRY_COMPARE_WITH_TIMEOUT(p.tasten(u"feld"_s), u"a@€µ{z"_s, 5000);
        QCOMPARE(tastaturbelegung(), vorher);
    }

    void windowManagerRequests_data()
    {
        QTest::addColumn<QString>("wm");
        QTest::newRow("EWMH manager") << u"--wm"_s;
        QTest::newRow("manager without the EWMH list") << u"--alter-wm"_s;
    }
    void windowManagerRequests()
    {
        BRAUCHT_X(m_x);
        QFETCH(QString, wm);
        Fremdprogramm p;
        QVERIFY(p.starte({wm, u"--fenster"_s, u"act"_s, u"act3.0frameclass"_s, u"ACT! - KUNDEN"_s,
                          u"--kind"_s, u"knopf"_s, u"Button"_s, u"OK"_s,
                          u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Timer"_s}));
        X11Desktop desktop;
        const Fenster act = p.id(u"act"_s);
        // The managed windows, bottom first, and nothing of the manager's own.
        QCOMPARE(desktop.Hauptfenster(), (std::vector<Fenster>{act, p.id(u"dlg"_s)}));
        // Under a window manager the program's window carries WM_STATE.
        QCOMPARE(desktop.Elternfenster(act), Fenster(0));
        QCOMPARE(desktop.Elternfenster(p.id(u"knopf"_s)), act);

        QVERIFY(desktop.Aktiviere(act));
        QVERIFY(p.warteAuf(u"WM _NET_ACTIVE_WINDOW act"_s));
        desktop.ImmerOben(act, true);
        desktop.ImmerOben(act, false);
        QVERIFY(p.warteAuf(u"WM _NET_WM_STATE act 0 _NET_WM_STATE_ABOVE"_s));
        QVERIFY(p.zeilen().contains(u"WM _NET_WM_STATE act 1 _NET_WM_STATE_ABOVE"_s));

        QVERIFY(!desktop.Minimiert(act));
        desktop.Minimiere(act);
        QVERIFY(p.warteAuf(u"WM WM_CHANGE_STATE act 3"_s));
        QTRY_VERIFY(desktop.Minimiert(act));
        QVERIFY(!desktop.Sichtbar(act));
        desktop.Wiederherstellen(act);
        QVERIFY(p.warteAuf(u"WM MAP act"_s));
        QTRY_VERIFY(!desktop.Minimiert(act));
        QTRY_VERIFY(desktop.Sichtbar(act));
    }

    void withoutDisplayNothingIsFoundOrTyped()
    {
        const QByteArray vorher = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
        {
            X11Desktop desktop;
            QVERIFY(!desktop.verbunden());
            QVERIFY(desktop.Hauptfenster().empty());
            QCOMPARE(desktop.Finde(QString(), QString()), Fenster(0));
            QVERIFY(!desktop.Aktiviere(1));
            desktop.Tippe({{Taste::Enter}});
            desktop.Klick(1);
        }
        qputenv("DISPLAY", vorher);
    }

private:
    // The server's keyboard map as it is now.
    static QByteArray tastaturbelegung()
    {
        Display *anzeige = XOpenDisplay(nullptr);
        if (!anzeige)
            return {};
        int erster = 0;
        int letzter = 0;
        XDisplayKeycodes(anzeige, &erster, &letzter);
        int jeTaste = 0;
        KeySym *karte = XGetKeyboardMapping(anzeige, KeyCode(erster), letzter - erster + 1, &jeTaste);
        const QByteArray belegung(reinterpret_cast<const char *>(karte),
                                  qsizetype(sizeof(KeySym)) * (letzter - erster + 1) * jeTaste);
        XFree(karte);
        XCloseDisplay(anzeige);
        return belegung;
    }

    XvfbServer m_x; // for the whole test program
};

QTEST_GUILESS_MAIN(tst_Fremdfenster)
#include "tst_Fremdfenster.moc"
