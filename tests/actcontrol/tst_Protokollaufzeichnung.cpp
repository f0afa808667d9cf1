#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/Protokollaufzeichnung.h"
#include "actcontrol/clACTApplication.h"
#include "core/Anruferliste.h"
#include "core/ListViewModel.h"
#include "platform/registry/RegionalSettings.h"
#include "platform/desktop/X11Desktop.h"

#include "doubles/Fremdprogramm.h"
#include "doubles/ScriptedAct.h"
#include "doubles/Umgebung.h"
#include "doubles/XvfbServer.h"

#include <QTest>

#include <memory>

#include <unistd.h>

// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int P = 50; // the pause, shorter than the default of 150 ms

// An ACT! whose main window is a window of the foreign test program: showing
// ACT! brings that window to the front, as the real one would.
class ActMitFenster : public ScriptedAct
{
public:
    X11Desktop *desktop = nullptr;
    Fenster hauptfenster = 0;

    bool NachVorne(const QString &titeltext) override
    {
        ScriptedAct::NachVorne(titeltext);
        if (desktop && hauptfenster)
            desktop->Aktiviere(hauptfenster);
        return true;
    }
};

// Everything a run needs, with what it did recorded.
struct Aufbau : Umgebung, ACTBefehlsfenster
{
    Fremdprogramm p;
    ActMitFenster act;
    clACTApplication app{act, dialogs, {}};
    X11Desktop desktop;
    Anruferliste lvNummern;
    ListViewModel lvKontakte;
    QStringList meldungen;
    QList<bool> timer;
    QList<int> pausen;
    std::function<void()> inDerPause;
    std::unique_ptr<Protokollaufzeichnung> aufzeichnung;

    Aufbau()
    {
        optionen.schreibOption(u"ProtokollSendKeyIntervall"_s, P);
        lvKontakte.setColumns({{u"Kontakt"_s, u"Kontakt"_s, {}}, {u"Nummer"_s, u"Nummer"_s, {}}});
        act.desktop = &desktop;
        aufzeichnung = std::make_unique<Protokollaufzeichnung>(app, desktop, dialogs, optionen, *this);
    }

    void setMeldung(const QString &text) override { meldungen << text; }
    void setACTPruefungAktiv(bool aktiv) override { timer << aktiv; }
    void atmen() override { QCoreApplication::processEvents(); }
    void warten(int ms) override
    {
        pausen << ms;
        if (inDerPause)
            inDerPause();
        // ACT!'s contact change is not waited for here; the pauses
        // around the dialog are real, so that it can appear meanwhile.
        if (ms < 1000)
            Protokollaufzeichnung::wartenUndAtmen(ms);
    }

    void anruf(const QString &nummer, const QString &datum, const QString &ort, const QString &tag)
    {
        Anruf a;
        a.nummer = nummer;
        a.zeit = RegionalSettings::ParseDateTime(datum).value_or(QDateTime());
        a.ort = ort;
        if (tag.startsWith(u'[')) {
            a.ergebnis = Anruf::Ergebnis::Erkannt;
            a.kontaktId = tag.mid(1, tag.size() - 2).trimmed();
        } else {
            a.ergebnis = Anruf::Ergebnis::Unbekannt;
        }
        lvNummern.hinzufuegen(a);
    }
    // The first call selected, as the list shows it; none in an empty list.
    std::optional<Anruf> erster() const
    {
        return lvNummern.Anzahl() > 0 ? std::optional<Anruf>(lvNummern.an(0)) : std::nullopt;
    }

    // The foreign program with these windows; ACT!'s main window is its "act".
    bool starte(const QStringList &fenster)
    {
        const bool ok = p.starte(fenster);
        act.hauptfenster = p.id(u"act"_s);
        return ok;
    }
    void bekannterAnruf(const QString &datum = u"06.12.2026 14:08:09"_s)
    {
        anruf(u"0301234567"_s, datum, u"Berlin"_s, u"[ABC123456789]"_s);
    }
    void aufzeichnen() { aufzeichnung->mnuACTProtokollAufzeichnen(lvNummern, erster()); }
    bool gingZu() const { return act.journal.join(u' ').contains(u"GoTo"_s); }
};

const QStringList actFenster{u"--fenster"_s, u"act"_s, u"act3.0frameclass"_s, u"ACT! - KUNDEN"_s,
                             u"--feld"_s, u"actFeld"_s, u"Edit"_s, u""_s};

QStringList protokollDialog(bool offen)
{
    QStringList a{u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Protokoll aufzeichnen Müller, Hans"_s,
                  u"--feld"_s, u"notiz"_s, u"Edit"_s, u""_s,
                  u"--kind"_s, u"ok"_s, u"Button"_s, u"OK"_s};
    if (!offen)
        a << u"--erscheint-bei"_s << u"<C-h>"_s;
    return a;
}

QList<int> mal(int anzahl, int ms)
{
    return QList<int>(anzahl, ms);
}

// A window of the test's own process on the X server, as the program's
// own windows are: it counts the keys it gets.
struct EigenesFenster
{
    Display *anzeige = XOpenDisplay(nullptr);
    Window fenster = 0;

    EigenesFenster()
    {
        if (!anzeige)
            return;
        fenster = XCreateSimpleWindow(anzeige, DefaultRootWindow(anzeige), 0, 0, 200, 100, 0, 0, 0);
        XStoreName(anzeige, fenster, "Rufmon");
        const long pid = long(getpid());
        XChangeProperty(anzeige, fenster, XInternAtom(anzeige, "_NET_WM_PID", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char *>(&pid), 1);
        XSelectInput(anzeige, fenster, KeyPressMask);
        XMapWindow(anzeige, fenster);
        XSync(anzeige, False);
    }
    ~EigenesFenster()
    {
        if (!anzeige)
            return;
        XDestroyWindow(anzeige, fenster);
        XCloseDisplay(anzeige);
    }
    void fokus()
    {
        XSetInputFocus(anzeige, fenster, RevertToParent, CurrentTime);
        XSync(anzeige, False);
    }
    int tasten()
    {
        XSync(anzeige, False);
        int n = 0;
        XEvent e;
        while (XCheckWindowEvent(anzeige, fenster, KeyPressMask, &e))
            ++n;
        return n;
    }
};

} // namespace

// Writing an ACT! history entry by typing into ACT!'s history dialog, with
// a foreign test program standing in for the dialog on a real X server.
class tst_Protokollaufzeichnung : public QObject
{
    Q_OBJECT

private slots:
    void fillsAnOpenDialogAtOnce()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        // The contact ACT! shows already: no move, no wait for it.
        a.bekannterAnruf();
        a.aufzeichnen();

        QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"<A-D>06.12.2026<A-U>14:08:09<A-y><Home><A-A><A-y><Tab>"_s);
        QVERIFY(!a.gingZu());
        QVERIFY(!a.act.journal.join(u' ').contains(u"NachVorne"_s));
        QCOMPARE(a.p.tasten(u"actFeld"_s), QString());
        // One pause after each of the twelve items of the macro, nothing else.
        QCOMPARE(a.pausen, mal(12, P));
        QCOMPARE(a.meldungen.last(), QString());
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    void opensTheDialogWithItsShortcut()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(false)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%Nummer|{TAB}|%ORT||%city|%Time"_s);
        a.anruf(u"+49 30 1234567"_s, u"06.12.2026 14:08:09"_s, u" Berlin "_s, u"[XYZ         ]"_s);
        a.aufzeichnen();

        QVERIFY(a.p.warteAuf(u"ERSCHIENEN dlg"_s));
        // "+" in the number acts as Shift (on this keyboard Shift+4 is "$");
        // the place is typed without its blanks.
        QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"$9 30 1234567<Tab>BerlinBerlin14:08:09"_s);
        QCOMPARE(a.p.tasten(u"actFeld"_s), u"<C-h>"_s);
        QVERIFY(a.act.journal.contains(u"GoTo(XYZ         )"_s));
        QVERIFY(a.act.journal.contains(u"NachVorne(ACT)"_s));
        QCOMPARE(a.pausen.mid(0, 3), (QList<int>{2000, P, P}));
        QCOMPARE(a.pausen.mid(a.pausen.size() - 6), mal(6, P));
        const qsizetype gewartet = a.pausen.size() - 9;
        QVERIFY(gewartet >= 0 && gewartet < 12);
        QCOMPARE(a.pausen.mid(3, gewartet), mal(int(gewartet), 2 * P));
        QCOMPARE(a.meldungen.last(), QString());
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    void givesUpWhenNoDialogOpens()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster));
        a.bekannterAnruf();
        a.aufzeichnen();

        QCOMPARE(a.pausen, QList<int>{P} + QList<int>{P} + mal(12, 2 * P));
        // A waiting message for each of the twelve tries, then the failure.
        QCOMPARE(a.meldungen.size(), 14);
        QCOMPARE(a.meldungen.last(), u"Protokollfenster konnte nicht geöffnet werden."_s);
        QCOMPARE(a.timer, (QList<bool>{false, true}));
        // Only the shortcut was typed.
        QTRY_COMPARE(a.p.tasten(u"actFeld"_s), u"<C-h>"_s);
        QTest::qWait(50);
        QCOMPARE(a.p.tasten(u"actFeld"_s), u"<C-h>"_s);
    }

    void unknownCaller_data()
    {
        QTest::addColumn<bool>("ja");
        QTest::newRow("yes: at the contact ACT! shows") << true;
        QTest::newRow("no: nothing") << false;
    }
    void unknownCaller()
    {
        BRAUCHT_X(m_x);
        QFETCH(bool, ja);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%nummer"_s);
        a.anruf(u"0891234"_s, u"06.12.2026 09:00:00"_s, u"München"_s, u"Unbekannt"_s);
        a.dialogs.answer(ja ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        a.aufzeichnen();

        QCOMPARE(a.dialogs.boxes().size(), 1);
        QCOMPARE(a.dialogs.boxes().first().buttons, Dialogs::Buttons::YesNo);
        QVERIFY(!a.gingZu());
        QCOMPARE(a.meldungen.last(), QString());
        QCOMPARE(a.timer, (QList<bool>{false, true}));
        if (ja) {
            QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"0891234"_s);
        } else {
            QTest::qWait(50);
            QCOMPARE(a.p.tasten(u"notiz"_s), QString());
        }
    }

    void stopsBeforeTyping_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("empty caller list") << u"leer"_s << u"Keine Einträge in Anruferliste!"_s;
        QTest::newRow("ACT! not running") << u"aus"_s << u"Kein Zugriff auf ACT! möglich!"_s;
        QTest::newRow("no database open") << u"keineDb"_s << u"Kein Zugriff auf ACT! möglich!"_s;
        QTest::newRow("group view") << u"gruppe"_s << u"Keine Kontaktansicht in ACT!"_s;
        QTest::newRow("similar contacts empty") << u"keineKontakte"_s << u"Keine Einträge in Kontaktliste!"_s;
        QTest::newRow("configuration refused") << u"kennung"_s << u"ACT!-Protokoll ..."_s;
    }
    void stopsBeforeTyping()
    {
        QFETCH(QString, fall);
        Aufbau a;
        if (fall != u"leer"_s)
            a.bekannterAnruf();
        a.act.laeuft = fall != u"aus"_s;
        if (fall == u"keineDb"_s)
            a.act.datenbank.clear();
        if (fall == u"gruppe"_s)
            a.act.ansichtTyp = 3;
        if (fall == u"kennung"_s)
            a.optionen.schreibOption(u"ProtokollFensterKennung"_s, u"OK|Button|Protokoll"_s);
        if (fall == u"keineKontakte"_s)
            a.aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(a.lvNummern, a.erster(), a.lvKontakte, -1);
        else
            a.aufzeichnen();

        QTEST(a.meldungen.last(), "meldung");
        QVERIFY(!a.gingZu());
        QVERIFY(a.pausen.isEmpty());
        // The ACT! check is never left switched off.
        QVERIFY(a.timer.isEmpty() || a.timer.last());
    }

    void similarContact()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%number|{TAB}|%date"_s);
        // A caller nobody knows: the similar contact is the one written to, and
        // no question is asked.
        a.anruf(u"0301234568"_s, u"05.12.2026 10:00:00"_s, u"Berlin"_s, u"Unbekannt"_s);
        ListItem kontakt;
        kontakt.Text = u"Müller, Hans"_s;
        kontakt.Tag = u"[DEF456      ]"_s;
        a.lvKontakte.Add(kontakt);
        a.aufzeichnung->mnuAehnlicheACTProtokollAufzeichnen(a.lvNummern, a.erster(), a.lvKontakte, 0);

        QVERIFY(a.dialogs.boxes().isEmpty());
        QVERIFY(a.act.journal.contains(u"GoTo(DEF456      )"_s));
        QCOMPARE(a.pausen.first(), 2000);
        QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"0301234568<Tab>05.12.2026"_s);
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    void faultyKeysAreReportedAndTheRestIsTyped()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%datum|%uhrzeit|a{HOMEX}b|x"_s);
        // A date without a time part: the time is typed empty.
        a.bekannterAnruf(u"06.12.2026"_s);
        a.aufzeichnen();

        QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"06.12.2026ax"_s);
        QCOMPARE(a.pausen, mal(4, P));
        QCOMPARE(a.meldungen.last(),
                 u"Fehler in der Tastenfolge „a{HOMEX}b“ bei Zeichen 2: unbekannte Taste „{HOMEX}“"_s);
        QCOMPARE(a.timer, (QList<bool>{false, true}));

        // An absurd pause is cut to a minute, not wrapped into one that never ends.
        a.optionen.schreibOption(u"ProtokollSendKeyIntervall"_s, u"99999999999"_s);
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"y"_s);
        a.pausen.clear();
        a.aufzeichnen();
        QCOMPARE(a.pausen, QList<int>{60000});
    }

    // The dialog's caption names the contact: an entry for one contact never
    // goes into the dialog of another.
    void dialogOfTheCallersContactOnly_data()
    {
        QTest::addColumn<QString>("kontakt");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("the caller's") << u"Müller, Hans"_s << u"0301234567"_s << QString();
        QTest::newRow("letter case aside") << u"MÜLLER, HANS "_s << u"0301234567"_s << QString();
        QTest::newRow("another contact") << u"Grünwald, Greta"_s << QString()
                                         << u"Das Protokollfenster gilt „Müller, Hans“, nicht „Grünwald, Greta“: "
                                            u"nichts eingetragen."_s;
    }
    void dialogOfTheCallersContactOnly()
    {
        BRAUCHT_X(m_x);
        QFETCH(QString, kontakt);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%nummer"_s);
        a.bekannterAnruf();
        Anruf eintrag = a.lvNummern.an(0);
        eintrag.name = kontakt;
        a.lvNummern.aktualisieren(eintrag);
        a.aufzeichnen();

        QTEST(a.meldungen.last(), "meldung");
        QTest::qWait(100);
        QTEST(a.p.tasten(u"notiz"_s), "getippt");
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    // A description that matches a window of the program's own (here the
    // test's) is refused: nothing is typed into the program itself.
    void neverIntoTheProgramsOwnWindow()
    {
        BRAUCHT_X(m_x);
        EigenesFenster eigenes;
        QVERIFY(eigenes.anzeige);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollFensterKennung"_s, u"Rufmon|||"_s);
        a.bekannterAnruf();
        a.aufzeichnen();

        QCOMPARE(a.meldungen.last(), u"Protokollfenster konnte nicht geöffnet werden."_s);
        QTest::qWait(100);
        QCOMPARE(eigenes.tasten(), 0);
        QCOMPARE(a.p.tasten(u"notiz"_s), QString());
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    // The program's own window takes the focus in the middle of the macro:
    // the rest is not typed, and the status says where the entry stopped.
    void focusTakenByTheProgramStopsTheEntry()
    {
        BRAUCHT_X(m_x);
        EigenesFenster eigenes;
        QVERIFY(eigenes.anzeige);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"%datum|%uhrzeit|x"_s);
        a.bekannterAnruf();
        a.inDerPause = [&] {
            a.inDerPause = nullptr;
            eigenes.fokus();
        };
        a.aufzeichnen();

        QCOMPARE(a.meldungen.last(), u"Protokolleintrag abgebrochen bei „14:08:09“: Der Tastaturfokus liegt auf einem "_s
                                     u"Fenster von Rufmon selbst"_s);
        QTest::qWait(100);
        QCOMPARE(a.p.tasten(u"notiz"_s), u"06.12.2026"_s);
        QCOMPARE(eigenes.tasten(), 0);
        QCOMPARE(a.pausen, QList<int>{P});
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

    void aSecondRunDoesNotStartInsideTheFirst()
    {
        BRAUCHT_X(m_x);
        Aufbau a;
        QVERIFY(a.starte(actFenster + protokollDialog(true)));
        a.optionen.schreibOption(u"ProtokollSendKeys"_s, u"1|2"_s);
        a.bekannterAnruf();
        // The menu is used again while the first run pauses.
        a.inDerPause = [&a] {
            a.inDerPause = nullptr;
            a.aufzeichnen();
        };
        a.aufzeichnen();
        QTRY_COMPARE(a.p.tasten(u"notiz"_s), u"12"_s);
        QCOMPARE(a.pausen.size(), 2);
        QCOMPARE(a.timer, (QList<bool>{false, true}));
    }

private:
    XvfbServer m_x; // for the whole test program
};

QTEST_GUILESS_MAIN(tst_Protokollaufzeichnung)
#include "tst_Protokollaufzeichnung.moc"
