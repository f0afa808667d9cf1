// The program with its real subsystems on a generated ACT! database: the
// ACT! panel, the phone fields, showing a caller's contact, writing a history
// entry into a foreign dialog on an X server. What each part does is tested
// with the part; here, that the program joins them.
#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "core/modHaupt.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "windows/frmTelefonfelder.h"
#include "tools/actgen/ActGenerator.h"

#include "doubles/FakeTapi.h"
#include "doubles/Fremdprogramm.h"
#include "doubles/Umgebung.h"
#include "doubles/XvfbServer.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProgrammACT : public QObject
{
    Q_OBJECT

private slots:
    void actDatabaseEndToEnd()
    {
        // The foreign windows live on an X server of the test's own.
        XvfbServer x;
        Umgebung u;
        ActGenerator g;
        g.options().seed = 11;
        g.options().contacts = 150;
        ActGenerator::Contact c;
        c.firstName = u"Anna"_s;
        c.lastName = u"Anrufer"_s;
        c.city = u"Haan"_s;
        c.phone = u"02129 55501"_s;
        const QString id = g.addKnownContact(c);
        QVERIFY2(g.write(u.dir.filePath(u"act"_s)), qPrintable(g.errorString()));
        const QString tabelle = g.summary().dbfPath;

        u.store.SaveSetting(u"ACT"_s, u"Datenbank"_s, tabelle);
        u.store.SaveSetting(u"Optionen"_s, u"Ausschlussfelder"_s, u"ALT_PHONE;"_s);
        FakeTapi tapi;
        Rufmon rufmon({u.store, u.dialogs, u.clipboard, u.system, tapi});
        rufmon.starten();
        frmHaupt &fenster = rufmon.Fenster();
        Programmteile &teile = rufmon.Teile();

        QCOMPARE(fenster.Panel(frmHaupt::Statusfeld::ACT)->Text(), tabelle);
        QCOMPARE(fenster.Panel(frmHaupt::Statusfeld::ACT)->PictureIndex(), 6);
        QVERIFY(teile.ACTBereit());

        frmTelefonfelder *felder = teile.Telefonfelder();
        QVERIFY(felder);
        const QStringList gewaehlt = felder->AusgewaehlteFelder().split(u',');
        QCOMPARE(gewaehlt.size(), 4);
        QVERIFY(!gewaehlt.contains(u"ALT_PHONE"_s));

        ListItem eintrag;
        eintrag.Text = u"0212955501"_s;
        eintrag.SubItems = {u"06.12.2026 12:00:00"_s, u"Haan Rheinland"_s, u"Anna Anrufer"_s};
        eintrag.Tag = IDInKlammern(id);
        eintrag.SmallIcon = 6;
        fenster.lvNummern()->Items().Add(eintrag);
        fenster.lvNummern()->setSelectedIndex(0);
        fenster.Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        QVERIFY(teile.Kontaktkarte().isVisible());
        QCOMPARE(teile.Kontaktkarte().aktuelleID(), id);
        QVERIFY(teile.Kontaktkarte().Zeilen().contains(qMakePair(u"Telefon"_s, u"02129 55501"_s)));
        QCOMPARE(fenster.Panel(frmHaupt::Statusfeld::Meldung)->Text(), QString());

        // A history entry for the call, typed into a dialog that stands in for
        // ACT!'s, with the default key macro.
        if (x.laeuft()) {
            Fremdprogramm dialog;
            QVERIFY(dialog.starte({u"--fenster"_s, u"dlg"_s, u"#32770"_s, u"Protokoll aufzeichnen Anna Anrufer"_s,
                                   u"--feld"_s, u"notiz"_s, u"Edit"_s, u""_s, u"--kind"_s, u"ok"_s, u"Button"_s, u"OK"_s}));
            fenster.Menu(Menuepunkt::mnuACTProtokollAufzeichnen)->trigger();
            QTRY_COMPARE(dialog.tasten(u"notiz"_s), u"<A-D>06.12.2026<A-U>12:00:00<A-y><Home><A-A><A-y><Tab>"_s);
            QCOMPARE(fenster.Panel(frmHaupt::Statusfeld::Meldung)->Text(), QString());
            QVERIFY(fenster.TimerACT().Enabled());
        } else {
            qWarning("%s", qPrintable(x.grund()));
        }
        fenster.close();
    }
};

QTEST_MAIN(tst_ProgrammACT)
#include "tst_ProgrammACT.moc"
