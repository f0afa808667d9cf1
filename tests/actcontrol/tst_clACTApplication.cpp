#include "actcontrol/ACTBefehle.h"
#include "actcontrol/clACTApplication.h"
#include "app/ListViewModel.h"
#include "app/modHaupt.h"

#include "doubles/ScriptedAct.h"
#include "doubles/ScriptedDialogs.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The ACT! application object over a scripted ACT!.
class tst_clACTApplication : public QObject
{
    Q_OBJECT

private slots:
    void notRunningGivesEmptyResults();
    void databaseAndViews();
    void askWhileActDoesNotAnswer_data();
    void askWhileActDoesNotAnswer();
    void oleErrorEndsTheProgramThroughItsExit();
    void fieldTypes_data();
    void fieldTypes();
    void gotoPadsTheId();
    void showContactCommands_data();
    void showContactCommands();
};

void tst_clACTApplication::notRunningGivesEmptyResults()
{
    ScriptedAct act;
    act.laeuft = false;
    ScriptedDialogs dialogs;
    clACTApplication app(act, dialogs, {});
    QVERIFY(!app.ACTgestartet());
    QCOMPARE(app.ACTDatenbank(), QString());
    QCOMPARE(app.ACTVersion(), QString());
    QCOMPARE(app.aktuellerViewTyp(), -1);
    QCOMPARE(app.AktuelleKontaktID(), QString());
    QCOMPARE(app.ExecuteCommand(310), 0);
    app.gehezuKonatkt(u"X"_s);
    app.Zeigen();
    QVERIFY(!act.journal.join(u' ').contains(u"GoTo"_s));
    QVERIFY(!act.journal.join(u' ').contains(u"Show"_s));
    QCOMPARE(dialogs.boxes().size(), 0);
    // Both captions are tried before ACT! counts as not running.
    QVERIFY(act.journal.contains(u"Hauptfenster(Kundenmanager)"_s));
    QVERIFY(act.journal.contains(u"Hauptfenster(ACT)"_s));
}

void tst_clACTApplication::databaseAndViews()
{
    ScriptedAct act;
    ScriptedDialogs dialogs;
    clACTApplication app(act, dialogs, {});
    QVERIFY(app.ACTgestartet());
    QCOMPARE(app.ACTDatenbank(), u"/daten/act/KUNDEN.DBF"_s);
    QCOMPARE(app.AktuelleKontaktID(), u"ABC123456789"_s);
    QCOMPARE(app.aktuellerViewTyp(), 1);
    QCOMPARE(app.AktuelleFeldID(), 42);
    QCOMPARE(app.ACTVersion(), u"Version 1"_s);
    QCOMPARE(app.ExecuteCommand(310), 1);
    QVERIFY(act.journal.contains(u"Command(310)"_s));
    act.ansichtTyp = 3;
    QCOMPARE(app.AktuelleKontaktID(), QString());
    act.objektFehlt = true;
    QCOMPARE(app.ACTDatenbank(), QString());
    QCOMPARE(dialogs.boxes().size(), 0);
}

void tst_clACTApplication::askWhileActDoesNotAnswer_data()
{
    QTest::addColumn<int>("stumm");
    QTest::addColumn<QList<int>>("antworten");
    QTest::addColumn<int>("typ");

    QTest::newRow("answers at once") << 0 << QList<int>{} << 1;
    QTest::newRow("Yes, then it answers") << 2 << QList<int>{int(Dialogs::Answer::Yes), int(Dialogs::Answer::Yes)} << 1;
    QTest::newRow("No gives up") << 1 << QList<int>{int(Dialogs::Answer::No)} << -1;
}

void tst_clACTApplication::askWhileActDoesNotAnswer()
{
    QFETCH(int, stumm);
    QFETCH(QList<int>, antworten);
    QFETCH(int, typ);

    ScriptedAct act;
    act.keineAnsicht = stumm;
    ScriptedDialogs dialogs;
    for (int a : antworten)
        dialogs.answer(static_cast<Dialogs::Answer>(a));
    clACTApplication app(act, dialogs, {});
    QCOMPARE(app.aktuellerViewTyp(), typ);
    QCOMPARE(int(dialogs.boxes().size()), int(antworten.size()));
    for (const auto &box : dialogs.boxes()) {
        QCOMPARE(box.text, u"Eine OLE-Verbindung zu Act! ist nicht möglich.\r\nBitte schließen Sie alle geöffneten "
                           u"Hinweisfenster in ACT!\r\nWeiter versuchen ?"_s);
        QCOMPARE(box.icon, Dialogs::Icon::Exclamation);
        QCOMPARE(box.buttons, Dialogs::Buttons::YesNo);
    }
}

void tst_clACTApplication::oleErrorEndsTheProgramThroughItsExit()
{
    ScriptedAct act;
    act.datenbankFehler = true;
    ScriptedDialogs dialogs;
    int beendet = 0;
    clACTApplication app(act, dialogs, [&] { ++beendet; });
    QCOMPARE(app.ACTDatenbank(), QString());
    QCOMPARE(beendet, 1);
    QCOMPARE(dialogs.boxes().size(), 1);
    QCOMPARE(dialogs.boxes().first().text,
             u"Fehler #462 bei ACT!-Application OLE\r\nDer Remote-Servercomputer existiert nicht."_s);
    QCOMPARE(dialogs.boxes().first().icon, Dialogs::Icon::Exclamation);
}

void tst_clACTApplication::fieldTypes_data()
{
    QTest::addColumn<QString>("feldtyp");
    QTest::addColumn<QString>("ansicht");
    QTest::addColumn<bool>("meldung");

    QTest::newRow("Kontakt") << u"Kontakt"_s << u"Create(1,2)"_s << false;
    QTest::newRow("contact") << u"CONTACT"_s << u"Create(1,2)"_s << false;
    QTest::newRow("Gruppen") << u"Gruppen"_s << u"Create(3,2)"_s << false;
    QTest::newRow("groups") << u"groups"_s << u"Create(3,2)"_s << false;
    QTest::newRow("unknown") << u"Firma"_s << u"Create(1,2)"_s << true;
}

void tst_clACTApplication::fieldTypes()
{
    QFETCH(QString, feldtyp);
    QFETCH(QString, ansicht);
    QFETCH(bool, meldung);

    ScriptedAct act;
    ScriptedDialogs dialogs;
    clACTApplication app(act, dialogs, {});
    QVERIFY(app.setFeldwert(feldtyp, 7, u"neu"_s));
    QCOMPARE(app.getFeldwert(feldtyp, 7), u"Wert 7"_s);
    QCOMPARE(act.journal.count(ansicht), 2);
    QVERIFY(act.journal.contains(u"setfield(7,neu)"_s));
    QCOMPARE(dialogs.boxes().size(), meldung ? 2 : 0);
    if (meldung)
        QCOMPARE(dialogs.boxes().first().text, u"Falsche Feldtyp-Bezeichnung (Firma). Es wird Kontakt benutzt."_s);
}

void tst_clACTApplication::gotoPadsTheId()
{
    ScriptedAct act;
    ScriptedDialogs dialogs;
    clACTApplication app(act, dialogs, {});
    app.gehezuKonatkt(u"AB12"_s);
    const qsizetype create = act.journal.indexOf(u"Create(1,2)"_s);
    QVERIFY(create >= 0);
    QCOMPARE(act.journal.mid(create + 1), QStringList({u"lookupall"_s, u"GoTo(AB12        )"_s}));
    act.journal.clear();
    app.Zeigen();
    QVERIFY(act.journal.contains(u"Show(1)"_s));
    QVERIFY(act.journal.contains(u"NachVorne(ACT)"_s));
}

void tst_clACTApplication::showContactCommands_data()
{
    QTest::addColumn<bool>("aehnliche");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("meldung");
    QTest::addColumn<QString>("goTo");

    QTest::newRow("empty caller list") << false << QStringList() << u"Kein Einträge in Anruferliste!"_s << QString();
    QTest::newRow("unknown caller") << false << QStringList{u"Unbekannt"_s} << u"Kein ACT! Kontakt!"_s << QString();
    QTest::newRow("known caller") << false << QStringList{u"[AB12        ]"_s} << QString() << u"GoTo(AB12        )"_s;
    QTest::newRow("long id kept whole") << false << QStringList{u"[ABCDEFGHIJKLMN]"_s} << QString()
                                        << u"GoTo(ABCDEFGHIJKLMN)"_s;
    QTest::newRow("empty similar list") << true << QStringList() << u"Keine Einträge in Kontaktliste!"_s << QString();
    QTest::newRow("similar contact") << true << QStringList{u"[XY          ]"_s} << QString() << u"GoTo(XY          )"_s;
}

void tst_clACTApplication::showContactCommands()
{
    QFETCH(bool, aehnliche);
    QFETCH(QStringList, tags);
    QFETCH(QString, meldung);
    QFETCH(QString, goTo);

    ScriptedAct act;
    ScriptedDialogs dialogs;
    clACTApplication app(act, dialogs, {});
    QString panel3 = u"vorher"_s;
    int timer = 0;
    ACTBefehle befehle(app, [&](const QString &t) { panel3 = t; }, [&] { ++timer; });
    ListViewModel liste;
    liste.setColumns({{u"Nummer"_s, u"Nummer"_s, {}}});
    for (const QString &tag : tags) {
        ListItem item;
        item.Text = u"0301"_s;
        item.Tag = tag;
        liste.Add(item);
    }
    if (aehnliche)
        befehle.mnuAehnlicheACTAnzeigen(liste, 0);
    else
        befehle.mnuACTAnzeigen(liste, 0);
    QCOMPARE(panel3, meldung);
    if (goTo.isEmpty()) {
        QVERIFY(!act.journal.join(u' ').contains(u"GoTo"_s));
        QCOMPARE(timer, 0);
    } else {
        QVERIFY(act.journal.contains(goTo));
        QVERIFY(act.journal.indexOf(u"Show(1)"_s) < act.journal.indexOf(goTo));
        QCOMPARE(timer, 1);
    }
}

QTEST_GUILESS_MAIN(tst_clACTApplication)
#include "tst_clACTApplication.moc"
