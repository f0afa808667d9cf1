// The system tray's icon without a tray (the offscreen platform has none):
// its menu's commands, the state it shows, the click, and the window that
// hides in the tray when minimised.
#include "app/Infobereich.h"

#include "doubles/Testfenster.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Infobereich : public QObject
{
    Q_OBJECT

private slots:
    void menuStateAndClick()
    {
        Testfenster u;
        u.tapi.devices = {u"Rufmon-Simulator"_s};
        frmHaupt &f = u.starte();
        Infobereich tray(f, u.tapi, true);
        QVERIFY(!tray.sichtbar());
        QList<QAction *> befehle;
        for (QAction *a : tray.Menue()->actions()) {
            if (!a->isSeparator())
                befehle << a;
        }
        const auto texte = [&] {
            QStringList t;
            for (QAction *a : befehle)
                t << a->text();
            return t;
        };
        QCOMPARE(texte(), QStringList({u"Rufmon anzeigen"_s, u"Tapimonitor aktivieren"_s, u"Beenden"_s}));
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Aus);
        const QImage aus = tray.Symbol().pixmap(32).toImage();

        // The monitor's command, as in the main menu.
        befehle[1]->trigger();
        QVERIFY(f.MonitorAktiv());
        QCOMPARE(f.Menu(Menuepunkt::mnuTAPI)->text(), u"&Tapimonitor deaktivieren"_s);
        QCOMPARE(befehle[1]->text(), u"Tapimonitor deaktivieren"_s);
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Aktiv);
        const QImage aktiv = tray.Symbol().pixmap(32).toImage();
        emit u.tapi.OnCallState(u"OFFERING"_s, 5, 5);
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Klingelt);
        const QImage klingelt = tray.Symbol().pixmap(32).toImage();
        QVERIFY(aus != aktiv && aktiv != klingelt && aus != klingelt);
        emit u.tapi.OnCallState(u"IDLE"_s, 5, 5);
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Aktiv);
        // Switched off while it rings: off.
        emit u.tapi.OnRinging(0, 1);
        befehle[1]->trigger();
        QVERIFY(!f.MonitorAktiv());
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Aus);
        QCOMPARE(befehle[1]->text(), u"Tapimonitor aktivieren"_s);

        // A click hides a shown window and shows a hidden or minimised one.
        tray.Klick();
        QVERIFY(f.isHidden());
        tray.Klick();
        QVERIFY(f.isVisible());
        f.showMinimized();
        QTRY_VERIFY(f.isMinimized());
        QVERIFY(f.isVisible()); // no tray: minimised stays minimised
        tray.Klick();
        QTRY_VERIFY(!f.isMinimized());

        // With a tray, minimising hides the window there; the menu brings it back.
        f.setInsInfobereich(true);
        f.showMinimized();
        QTRY_VERIFY(f.ImInfobereich());
        befehle[0]->trigger();
        QVERIFY(f.isVisible() && !f.isMinimized() && !f.ImInfobereich());

        // "Beenden" runs the exit sequence.
        QSignalSpy entladen(&f, &frmHaupt::Entladen);
        befehle[2]->trigger();
        QCOMPARE(entladen.size(), 1);
        QVERIFY(!f.isVisible());
        QCOMPARE(u.gespeichert(u"Optionen"_s, u"AutoNummern"_s), u"1"_s);
    }
};

QTEST_MAIN(tst_Infobereich)
#include "tst_Infobereich.moc"
