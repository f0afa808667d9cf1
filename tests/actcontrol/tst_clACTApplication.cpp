#include "actcontrol/ACTBefehle.h"
#include "actcontrol/ACTBefehlsfenster.h"
#include "actcontrol/clACTApplication.h"
#include "core/Anruferliste.h"
#include "core/ListViewModel.h"
#include "core/modHaupt.h"

#include "doubles/ScriptedAct.h"
#include "doubles/ScriptedDialogs.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The application object asks nothing of ACT! until it is used, so a test
// may script the ACT! after building this.
struct Act
{
    ScriptedAct act;
    ScriptedDialogs dialogs;
    int beendet = 0;
    clACTApplication app{act, dialogs, [this] { ++beendet; }};

    bool gingZu() const { return act.journal.join(u' ').contains(u"GoTo"_s); }
};

// The message panel as the ACT! commands leave it.
struct Meldungsfeld : ACTBefehlsfenster
{
    QString text = u"vorher"_s;

    void setMeldung(const QString &t) override { text = t; }
    void setACTPruefungAktiv(bool) override {}
    void atmen() override {}
    void warten(int) override {}
};

} // namespace

// The ACT! application object over a scripted ACT!.
class tst_clACTApplication : public QObject
{
    Q_OBJECT

private slots:
    void answersOnlyWhileActRuns_data()
    {
        QTest::addColumn<bool>("laeuft");
        QTest::addColumn<bool>("objekt");
        QTest::addColumn<int>("ansichtTyp");
        QTest::newRow("contact view") << true << true << 1;
        QTest::newRow("group view") << true << true << 3;
        QTest::newRow("no object") << true << false << 1;
        QTest::newRow("not running") << false << true << 1;
    }
    void answersOnlyWhileActRuns()
    {
        QFETCH(bool, laeuft);
        QFETCH(bool, objekt);
        QFETCH(int, ansichtTyp);
        Act a;
        a.act.laeuft = laeuft;
        a.act.objektFehlt = !objekt;
        a.act.ansichtTyp = ansichtTyp;
        const bool da = laeuft && objekt;

        QCOMPARE(a.app.ACTgestartet(), laeuft);
        // Both captions are tried before ACT! counts as not running.
        QCOMPARE(a.act.journal.contains(u"Hauptfenster(ACT)"_s), !laeuft);
        QCOMPARE(a.app.ACTDatenbank(), da ? u"/daten/act/KUNDEN.DBF"_s : QString());
        QCOMPARE(a.app.ACTVersion(), da ? u"Version 1"_s : QString());
        QCOMPARE(a.app.aktuellerViewTyp(), da ? ansichtTyp : -1);
        QCOMPARE(a.app.AktuelleFeldID(), da ? 42 : 0);
        // Only a contact view has a current contact.
        QCOMPARE(a.app.AktuelleKontaktID(), da && ansichtTyp == 1 ? u"ABC123456789"_s : QString());
        QCOMPARE(a.app.ExecuteCommand(310), da ? 1 : 0);
        QCOMPARE(a.act.journal.contains(u"Command(310)"_s), da);

        // To a contact: in a new contact view, the id padded to twelve.
        a.act.journal.clear();
        a.app.gehezuKonatkt(u"AB12"_s);
        if (da)
            QCOMPARE(a.act.journal.mid(a.act.journal.indexOf(u"Create(1,2)"_s)),
                     QStringList({u"Create(1,2)"_s, u"lookupall"_s, u"GoTo(AB12        )"_s}));
        else
            QVERIFY(!a.gingZu());
        a.app.Zeigen();
        QCOMPARE(a.act.journal.contains(u"Show(1)"_s), da);
        QCOMPARE(a.act.journal.contains(u"NachVorne(ACT)"_s), da);
        QCOMPARE(a.dialogs.boxes().size(), 0);
    }

    void askWhileActDoesNotAnswer_data()
    {
        QTest::addColumn<int>("stumm"); // view requests that answer nothing
        QTest::addColumn<int>("ja");    // Yes answers; the question after them is answered No
        QTest::addColumn<int>("fragen");
        QTest::addColumn<int>("typ");
        QTest::newRow("Yes twice, then it answers") << 2 << 2 << 2 << 1;
        QTest::newRow("No gives up") << 1 << 0 << 1 << -1;
        QTest::newRow("Yes, then No") << 3 << 1 << 2 << -1;
    }
    void askWhileActDoesNotAnswer()
    {
        QFETCH(int, stumm);
        QFETCH(int, ja);
        Act a;
        a.act.keineAnsicht = stumm;
        for (int i = 0; i < ja; ++i)
            a.dialogs.answer(Dialogs::Answer::Yes);
        QTEST(a.app.aktuellerViewTyp(), "typ");
        QTEST(int(a.dialogs.boxes().size()), "fragen");
        for (const auto &box : a.dialogs.boxes())
            QCOMPARE(box.buttons, Dialogs::Buttons::YesNo);
    }

    void oleErrorEndsTheProgramThroughItsExit()
    {
        Act a;
        a.act.datenbankFehler = true;
        QCOMPARE(a.app.ACTDatenbank(), QString());
        QCOMPARE(a.beendet, 1);
        QCOMPARE(a.dialogs.boxes().size(), 1);
        QVERIFY(a.dialogs.boxes().first().text.startsWith(u"Fehler #462 "_s));
    }

    void fieldTypes_data()
    {
        QTest::addColumn<QString>("feldtyp");
        QTest::addColumn<QString>("ansicht");
        QTest::addColumn<bool>("meldung");

        QTest::newRow("Kontakt") << u"Kontakt"_s << u"Create(1,2)"_s << false;
        QTest::newRow("Gruppen") << u"Gruppen"_s << u"Create(3,2)"_s << false;
        QTest::newRow("groups") << u"groups"_s << u"Create(3,2)"_s << false;
        QTest::newRow("unknown") << u"Firma"_s << u"Create(1,2)"_s << true;
    }
    void fieldTypes()
    {
        QFETCH(QString, feldtyp);
        QFETCH(QString, ansicht);
        QFETCH(bool, meldung);

        Act a;
        QVERIFY(a.app.setFeldwert(feldtyp, 7, u"neu"_s));
        QCOMPARE(a.app.getFeldwert(feldtyp, 7), u"Wert 7"_s);
        QCOMPARE(a.act.journal.count(ansicht), 2);
        QVERIFY(a.act.journal.contains(u"setfield(7,neu)"_s));
        QCOMPARE(a.dialogs.boxes().size(), meldung ? 2 : 0);
        if (meldung)
            QVERIFY(a.dialogs.boxes().first().text.contains(u"(Firma)"_s));
    }

    void showContactCommands_data()
    {
        QTest::addColumn<bool>("aehnliche");
        QTest::addColumn<QString>("tag"); // empty: the list is empty
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("goTo");

        QTest::newRow("empty caller list") << false << QString() << u"Kein Einträge in Anruferliste!"_s << QString();
        QTest::newRow("unknown caller") << false << u"Unbekannt"_s << u"Kein ACT! Kontakt!"_s << QString();
        QTest::newRow("known caller") << false << u"[AB12        ]"_s << QString() << u"GoTo(AB12        )"_s;
        QTest::newRow("long id kept whole") << false << u"[ABCDEFGHIJKLMN]"_s << QString() << u"GoTo(ABCDEFGHIJKLMN)"_s;
        QTest::newRow("empty similar list") << true << QString() << u"Keine Einträge in Kontaktliste!"_s << QString();
        QTest::newRow("similar contact") << true << u"[XY          ]"_s << QString() << u"GoTo(XY          )"_s;
    }
    void showContactCommands()
    {
        QFETCH(bool, aehnliche);
        QFETCH(QString, tag);
        QFETCH(QString, goTo);

        Act a;
        Meldungsfeld panel3;
        ACTBefehle befehle(a.app, panel3);
        QSignalSpy timer(&befehle, &ACTBefehle::KontaktGezeigt);
        ListViewModel liste;
        liste.setColumns({{u"Nummer"_s, u"Nummer"_s, {}}});
        Anruferliste anrufe;
        if (!tag.isEmpty()) {
            ListItem item;
            item.Text = u"0301"_s;
            item.Tag = tag;
            liste.Add(item);
            // A caller as the store reads it back from its contact column.
            Anruf anruf;
            anruf.nummer = u"0301"_s;
            anruf.ergebnis = tag.startsWith(u'[') ? Anruf::Ergebnis::Erkannt : Anruf::Ergebnis::Unbekannt;
            anruf.kontaktId = anruf.erkannt() ? IDAusKlammern(tag).trimmed() : QString();
            anrufe.hinzufuegen(anruf);
        }
        if (aehnliche)
            befehle.mnuAehnlicheACTAnzeigen(liste, 0);
        else
            befehle.mnuACTAnzeigen(anrufe, anrufe.Anzahl() > 0 ? std::optional<Anruf>(anrufe.an(0)) : std::nullopt);
        QTEST(panel3.text, "meldung");
        QCOMPARE(timer.count(), goTo.isEmpty() ? 0 : 1);
        // ACT! comes to the front before it moves to the contact.
        const qsizetype zeigen = a.act.journal.indexOf(u"Show(1)"_s);
        if (goTo.isEmpty())
            QVERIFY(!a.gingZu());
        else
            QVERIFY(zeigen >= 0 && zeigen < a.act.journal.indexOf(goTo));
    }
};

QTEST_GUILESS_MAIN(tst_clACTApplication)
#include "tst_clACTApplication.moc"
