#include "platform/desktop/X11Desktop.h"

#include "doubles/Fremdprogramm.h"
#include "doubles/XvfbServer.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// The X11 desktop against a real X server (Xvfb) and a foreign program of
// plain X windows.
class tst_X11Desktop : public QObject
{
    Q_OBJECT

private slots:
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

        // Stacking order, bottom first: the later window lies above the earlier.
        const std::vector<Fenster> haupt = desktop.Hauptfenster();
        const auto pos = [&](const QString &n) { return std::find(haupt.begin(), haupt.end(), p.id(n)) - haupt.begin(); };
        QVERIFY(pos(u"unten"_s) < pos(u"oben"_s));
        QVERIFY(pos(u"weg"_s) < qsizetype(haupt.size()));

        // Inner windows at any depth, each followed by its own.
        const std::vector<Fenster> innen = desktop.Kindfenster(p.id(u"unten"_s));
        const std::vector<Fenster> erwartet{p.id(u"ok"_s), p.id(u"tafel"_s), p.id(u"tief"_s), p.id(u"zu"_s)};
        QCOMPARE(innen, erwartet);
        QVERIFY(desktop.Kindfenster(p.id(u"tief"_s)).empty());

        // Both parts of WM_CLASS, lower case.
        QCOMPARE(desktop.Klasse(p.id(u"unten"_s)), u"rufmontest dialog"_s);
        QCOMPARE(desktop.Klasse(p.id(u"ok"_s)), u"rufmontest button"_s);
        // UTF-8 name, and the old Latin-1 property when that is all there is.
        QCOMPARE(desktop.Text(p.id(u"unten"_s)), u"Erster Dialog"_s);
        QCOMPARE(desktop.Text(p.id(u"oben"_s)), u"Grüße aus Köln"_s);
        QCOMPARE(desktop.Text(p.id(u"tafel"_s)), QString());
        QCOMPARE(desktop.Listenauswahl(p.id(u"ok"_s)), std::nullopt);

        QVERIFY(desktop.Sichtbar(p.id(u"unten"_s)));
        QVERIFY(desktop.Sichtbar(p.id(u"tief"_s)));
        QVERIFY(!desktop.Sichtbar(p.id(u"zu"_s)));
        QVERIFY(!desktop.Sichtbar(p.id(u"weg"_s)));

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
    XvfbServer m_x; // for the whole test program
};

QTEST_GUILESS_MAIN(tst_X11Desktop)
#include "tst_X11Desktop.moc"
