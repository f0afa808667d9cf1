// The whole program as the program entry builds it, with its real
// subsystems on generated data: what needs the window around the
// identification — the cache rebuild and the line, closing while a call is
// identified, choosing phone fields, dialing back, the cache file's life,
// ACT!. What each part does is tested with the part; here, that the program
// joins them.
#include "app/Rufmon.h"
#include "app/frmHaupt.h"
#include "app/frmStatus.h"
#include "core/modHaupt.h"
#include "platform/benachrichtigung/DBusBenachrichtigungen.h"
#include "platform/desktop/X11Desktop.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "windows/frmTelefonfelder.h"
#include "tools/actgen/ActGenerator.h"

#include "TestPaths.h"
#include "doubles/Abwarten.h"
#include "doubles/Dateien.h"
#include "doubles/Beispielkontakte.h"
#include "doubles/FakeTapi.h"
#include "doubles/Fremdprogramm.h"
#include "doubles/Sitzungsbus.h"
#include "doubles/Umgebung.h"
#include "doubles/XvfbServer.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QPushButton>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The program on Beispielkontakte, the simulator line active.
struct Programm : Umgebung
{
    TelephonyControl tapi{store};
    X11Desktop x11;
    Beispielkontakte kontakte;
    std::unique_ptr<Rufmon> rufmon;

    explicit Programm(bool cache, const QString &ausschluss = {}, Benachrichtigungen *dienst = nullptr)
    {
        QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
        QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        system.programFolder = dir.path();
        kontakte = Beispielkontakte::schreibe(dir.filePath(u"act"_s));
        store.SaveSetting(u"ACT"_s, u"Datenbank"_s, kontakte.tabelle);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, cachePfad());
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, cache ? u"1"_s : u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"NummernCacheAutomatisch"_s, u"1"_s);
        if (!ausschluss.isEmpty())
            store.SaveSetting(u"Optionen"_s, u"Ausschlussfelder"_s, ausschluss);
        // A cache file left over by a run that did not end.
        schreibeDatei(cachePfad(), "alt");
        rufmon = std::make_unique<Rufmon>(RufmonUmgebung{store, dialogs, clipboard, system, tapi, x11, dienst});
        rufmon->starten();
        // The window waits for a cache build to end before it takes commands.
        [[maybe_unused]] const bool gebaut
            = QTest::qWaitFor([this] { return !rufmon->Teile().CacheWirdErstellt(); }, 60000);
        f().cmdInitTapi()->click();
        tapi.Simulator()->setTakt(5, 50);
    }

    ~Programm() { f().close(); }

    frmHaupt &f() { return rufmon->Fenster(); }
    QString cachePfad() const { return dir.filePath(u"RUFMON.MDB"_s); }
    // A call on the simulator, identified to its end.
    bool anruf(const QString &nummer)
    {
        const bool angenommen = tapi.Simulator()->anruf(nummer);
        return abwarten(*rufmon->Teile().Auswertung()) && angenommen;
    }
    // The first row of the caller list as "Nummer|Ort|Kontakt|Icon".
    QString eintrag()
    {
        const Anruf e = f().lvNummern()->Modell().AnrufIn(0);
        return QStringList{e.nummer, e.ort, e.name, QString::number(e.bild)}.join(u'|');
    }
};

} // namespace

// A window that deletes its partner when it closes.
struct Partnerfenster : QWidget
{
    QPointer<QWidget> partner;
    void closeEvent(QCloseEvent *e) override
    {
        delete partner.data();
        QWidget::closeEvent(e);
    }
};

class tst_Rufmon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void callerNamedAndCacheFileLife()
    {
        // The junk left in the cache file's place is replaced at start; the file goes at exit.
        auto p = std::make_unique<Programm>(true);
        QVERIFY(p->anruf(u"0301234567"_s));
        QCOMPARE(p->eintrag(), u"0301234567|Berlin|Greta Grünwald|6"_s);
        QVERIFY(p->f().lbID()->toolTip().startsWith(u"Suchdauer1:"_s));
        QCOMPARE(p->f().Panel(frmHaupt::Statusfeld::Meldung)->Text(), QString());
        QVERIFY(p->f().cmdInitTapi()->isEnabled());
        QVERIFY(QFile::exists(p->cachePfad()));

        // A rebuild closes the line while it runs on the search thread (sampled
        // on every turn of the event loop, which goes on meanwhile, the window
        // disabled) and opens it again.
        QVERIFY(p->tapi.LineOpen());
        QList<bool> offen;
        QList<bool> fensterAktiv;
        QStringList status;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            offen << p->tapi.LineOpen();
            fensterAktiv << p->f().isEnabled();
            if (const frmStatus *s = p->f().Statusfenster(); s && (status.isEmpty() || status.last() != s->Info()))
                status << s->Info();
        });
        probe.start(0);
        p->f().Menu(Menuepunkt::mnuCacheNeu)->trigger();
        QVERIFY(p->rufmon->Teile().CacheWirdErstellt());
        QTRY_VERIFY_WITH_TIMEOUT(!p->rufmon->Teile().CacheWirdErstellt(), 60000);
        probe.stop();
        QVERIFY(fensterAktiv.contains(false));
        QVERIFY(p->f().isEnabled());
        // The status window showed the build's steps as it went.
        QVERIFY2(std::any_of(status.cbegin(), status.cend(),
                             [](const QString &s) { return s.startsWith(u"TabCache: "_s); }),
                 qPrintable(status.join(u" / "_s)));
        QVERIFY(!p->f().Statusfenster());
        QVERIFY(offen.contains(false));
        QVERIFY(p->tapi.LineOpen());
        QVERIFY(p->f().MonitorAktiv());

        const QString cache = p->cachePfad();
        p->f().close();
        QVERIFY(!QFile::exists(cache));
        QCOMPARE(p->dialogs.boxes().size(), 0);
    }

    void closingDuringIdentificationKeepsTheCall()
    {
        Programm p(false);
        // Closed (the close box, a logout) while the call is being identified.
        QObject::connect(&p.f().lvNummern()->Modell(), &QAbstractItemModel::rowsInserted, &p.f(),
                         [&] { p.f().close(); }, Qt::SingleShotConnection);
        QVERIFY(p.anruf(u"0301234567"_s));
        QTRY_VERIFY(!p.f().isVisible());
        QCOMPARE(p.eintrag(), u"0301234567|Berlin|Greta Grünwald|6"_s);
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    // Closed like Alt+F4 or a logout closes it, with the contact card open
    // beside it: the exit sequence runs, the card goes, the program ends.
    // Two more windows, each deleting the other when it closes, stand for a
    // window that takes others with it: whichever closes first, the second
    // must not be touched after it is gone.
    // The ACT! commands say in the window's message panel why they do nothing.
    void actCommandsOnEmptyLists_data()
    {
        QTest::addColumn<Menuepunkt>("befehl");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("contact of a call") << Menuepunkt::mnuACTAnzeigen << u"Kein Einträge in Anruferliste!"_s;
        QTest::newRow("history entry") << Menuepunkt::mnuACTProtokollAufzeichnen
                                       << u"Keine Einträge in Anruferliste!"_s;
        QTest::newRow("similar contact") << Menuepunkt::mnuAehnlicheACTAnzeigen
                                         << u"Keine Einträge in Kontaktliste!"_s;
    }
    void actCommandsOnEmptyLists()
    {
        QFETCH(Menuepunkt, befehl);
        Programm p(false);
        QCOMPARE(p.rufmon->Teile().Anrufe().Anzahl(), 0);
        p.f().Menu(befehl)->trigger();
        QTEST(p.f().Panel(frmHaupt::Statusfeld::Meldung)->Text(), "meldung");
    }

    // The program takes its window down before its parts: what they show
    // afterwards goes nowhere, and nothing reaches into the window that is gone.
    void partsOutliveTheWindow()
    {
        Umgebung u;
        const Beispielkontakte kontakte = Beispielkontakte::schreibe(u.dir.filePath(u"act"_s));
        FakeTapi tapi;
        X11Desktop x11;
        Programmteile teile(u.dialogs, u.clipboard, u.store, u.system, x11);
        {
            frmHaupt fenster(
                frmHauptUmgebung{u.store, u.dialogs, u.clipboard, u.system, tapi, teile, teile.Schalter()});
            teile.verbinde(fenster, tapi);
        }
        teile.ACTDatenbankSetzen(kontakte.tabelle);
        QVERIFY(teile.ACTBereit());
        teile.StartAbgeschlossen();
        teile.mnuCacheNeu();
        QVERIFY(!teile.CacheWirdErstellt());
        QVERIFY(u.dialogs.boxes().isEmpty());
    }

    void programEndsWithItsWindow()
    {
        Programm p(false);
        QVERIFY(p.anruf(u"0301234567"_s));
        p.f().lvNummern()->setSelectedIndex(0);
        p.f().Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        frmKontaktkarte &karte = p.rufmon->Teile().Kontaktkarte();
        QTRY_VERIFY(karte.isVisible());
        QPointer<Partnerfenster> eins = new Partnerfenster;
        QPointer<Partnerfenster> zwei = new Partnerfenster;
        eins->partner = zwei;
        zwei->partner = eins;
        eins->show();
        zwei->show();
        QSignalSpy entladen(&p.f(), &frmHaupt::Entladen);

        QTimer::singleShot(0, &p.f(), [&p] { p.f().close(); });
        // A program that does not end is ended here, with another code.
        QTimer wache;
        wache.setSingleShot(true);
        QObject::connect(&wache, &QTimer::timeout, qApp, [] { QCoreApplication::exit(3); });
        wache.start(10000);
        QCOMPARE(p.rufmon->laufen(), 0);
        QCOMPARE(entladen.size(), 1);
        QVERIFY(!karte.isVisible());
        QVERIFY(!p.f().isVisible());
        QCOMPARE(int(!eins) + int(!zwei), 1);
        delete eins.data();
        delete zwei.data();
    }

    // A new call while the list is sorted by another column: the list goes
    // back to newest first and the new call is selected, so that the next
    // command acts on it. Oldest first, chosen on the date, stays.
    void newCallIsShownAndSelected_data()
    {
        QTest::addColumn<QList<int>>("klicks"); // header clicks before the call
        QTest::addColumn<bool>("oben");         // where the new call stands
        QTest::newRow("by place") << QList<int>{2} << true;
        QTest::newRow("by place, Z to A") << QList<int>{2, 2} << true;
        QTest::newRow("by number") << QList<int>{0} << true;
        QTest::newRow("by date, oldest first") << QList<int>{1} << false;
        QTest::newRow("by place, then date again") << QList<int>{2, 1} << true;
    }
    void newCallIsShownAndSelected()
    {
        QFETCH(QList<int>, klicks);
        QFETCH(bool, oben);
        Programm p(false);
        for (const QString &nummer : {u"0301234567"_s, u"0043316123456"_s, u"0891234560"_s})
            QVERIFY(p.anruf(nummer));
        Anruferlistenansicht *liste = p.f().lvNummern();
        for (int spalte : klicks)
            emit liste->header()->sectionClicked(spalte);

        QVERIFY(p.anruf(u"0401234567"_s));
        const AnruferlisteModell &eintraege = liste->Modell();
        QCOMPARE(eintraege.Count(), 4);
        const int neu = oben ? 0 : 3;
        QCOMPARE(eintraege.AnrufIn(neu).nummer, u"0401234567"_s);
        QCOMPARE(liste->SelectedIndex(), neu);
        QStringList symbole;
        for (const ColumnHeader &c : eintraege.columns())
            symbole << c.IconKey;
        QCOMPARE(symbole, (QStringList{u"Leer"_s, oben ? u"Runter"_s : u"Hoch"_s, u"Leer"_s, u"Leer"_s}));
        // The next command acts on the new call.
        p.f().Menu(Menuepunkt::mnuKopiereNummer)->trigger();
        QCOMPARE(p.clipboard.GetText(), u"0401234567"_s);
    }

    void aPhoneFieldChosenLaterIsInTheCache()
    {
        // The cache is built without the fax field; then the user chooses it.
        Programm p(true, u"FAX;"_s);
        frmTelefonfelder *dialog = p.rufmon->Teile().Telefonfelder();
        QVERIFY(dialog);
        QTimer::singleShot(0, dialog, [dialog] {
            ListViewModel &liste = dialog->findChild<ListView *>()->Items();
            for (int i = 0; i < liste.Count(); ++i) {
                if (liste.Item(i).Tag == u"FAX"_s)
                    liste.setData(liste.index(i, 0), Qt::Checked, Qt::CheckStateRole);
            }
            dialog->cmdOK_Click();
        });
        p.f().Menu(Menuepunkt::mnuTelefonfelder)->trigger();
        QVERIFY(dialog->AusgewaehlteFelder().contains(u"FAX"_s));
        // Built anew on the search thread, the line paused meanwhile.
        QVERIFY(p.rufmon->Teile().CacheWirdErstellt());
        QTRY_VERIFY_WITH_TIMEOUT(!p.rufmon->Teile().CacheWirdErstellt(), 60000);
        // A neighbour known only by the fax number.
        QVERIFY(p.anruf(u"0301234510"_s));
        QVERIFY2(p.eintrag().startsWith(u"0301234510|Berlin|Nachbar 0|6"_s), qPrintable(p.eintrag()));
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    void dialingBackOnTheSimulator()
    {
        Programm p(false);
        p.store.SaveSetting(u"Waehlregeln"_s, u"CurrentID"_s, u"1"_s);
        p.store.SaveSetting(u"Waehlregeln"_s, u"Location1/OutsideAccess"_s, u"0"_s);
        QVERIFY(p.anruf(u"0301234567"_s));
        p.f().Menu(Menuepunkt::mnuTAPIProtokoll)->trigger();
        p.f().lvNummern()->setSelectedIndex(0);
        p.f().Menu(Menuepunkt::mnuNummerAnwaehlen)->trigger();
        QCOMPARE(p.tapi.Simulator()->gewaehlt(), QStringList{u"00301234567"_s});
        QCOMPARE(p.f().Text1()->toolTip(), u"Gewählte Nummer: 00301234567"_s);
        // Answered with call states: the dial tone first, idle at the end.
        QCOMPARE(p.f().Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"Wählton"_s);
        // The incoming call may still hang up meanwhile and make the line
        // idle once more: what counts is that the dialled call was answered.
        const auto *log = p.f().findChild<QPlainTextEdit *>(u"txbProtokoll"_s);
        QVERIFY(log->toPlainText().contains(u"CCallstate=\"DIALTONE\""_s));
        QTRY_VERIFY(log->toPlainText().contains(u"CCallstate=\"CONNECTED\""_s));
        QTRY_COMPARE(p.f().Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"TAPI aktiv"_s);
    }

    void callAnnouncedOnTheDesktop()
    {
        Sitzungsbus bus;
        if (!bus.laeuft())
            QSKIP(qPrintable(bus.grund()));
        Benachrichtigungsserver server(bus.verbinde(u"server"_s), {u"actions"_s});
        DBusBenachrichtigungen dienst(bus.verbinde(u"programm"_s));
        Programm p(false, {}, &dienst);
        QVERIFY(p.anruf(u"0301234567"_s));
        QTRY_COMPARE(server.aufrufe.size(), 1);
        QCOMPARE(server.aufrufe[0].titel, u"Greta Grünwald"_s);
        QCOMPARE(server.aufrufe[0].text, u"0301234567\nBerlin\nGrünwald & Söhne"_s);

        // The buttons run the caller list's commands on the call's entry.
        server.waehle(server.letzteId(), u"kontakt"_s);
        QTRY_VERIFY(p.rufmon->Teile().Kontaktkarte().isVisible());
        QCOMPARE(p.rufmon->Teile().Kontaktkarte().aktuelleID(), p.kontakte.greta);
        server.waehle(server.letzteId(), u"rueckruf"_s);
        QTRY_COMPARE(p.tapi.Simulator()->gewaehlt(), QStringList{u"0301234567"_s});

        // A click on the notification: the window comes back from the tray
        // with the call selected, also after the user selected another.
        QVERIFY(p.anruf(u"0043316123456"_s));
        QTRY_COMPARE(server.aufrufe.size(), 2);
        p.f().setInsInfobereich(true);
        p.f().showMinimized();
        QTRY_VERIFY(p.f().ImInfobereich());
        QCOMPARE(p.f().lvNummern()->Modell().AnrufIn(1).nummer, u"0301234567"_s);
        p.f().lvNummern()->setSelectedIndex(1);
        server.waehle(server.letzteId(), u"default"_s);
        QTRY_VERIFY(p.f().isVisible());
        QVERIFY(!p.f().isMinimized());
        QCOMPARE(p.f().lvNummern()->SelectedIndex(), 0);
        QCOMPARE(p.f().lvNummern()->Modell().AnrufIn(0).nummer, u"0043316123456"_s);

        // Switched off in the menu, and kept so.
        p.f().Menu(Menuepunkt::mnuBenachrichtigung)->trigger();
        QCOMPARE(p.store.GetSetting(u"Desktop"_s, u"Benachrichtigung"_s, {}), u"0"_s);
        QVERIFY(p.anruf(u"0891234560"_s));
        QTest::qWait(200);
        QCOMPARE(server.aufrufe.size(), 2);
        QCOMPARE(p.dialogs.boxes().size(), 0);
    }

    // The caller list leaves the program through its menu: as a table with
    // the company from ACT!'s table, and as the address book of its contacts.
    void callerListExported()
    {
        Programm p(false);
        QVERIFY(p.anruf(u"0043316123456"_s));
        QVERIFY(p.anruf(u"0301234567"_s));
        const QString tabelle = p.dir.filePath(u"Anrufe.csv"_s);
        p.dialogs.answerFile(tabelle);
        p.f().Menu(Menuepunkt::mnuAnruferlisteExportieren)->trigger();
        const QList<QByteArray> zeilen = dateiInhalt(tabelle).split('\n');
        QCOMPARE(zeilen.size(), 4); // header, two calls, the end of the last line
        QVERIFY2(zeilen[1].startsWith("\"0301234567\";\""), zeilen[1].constData());
        // The simulator names no number called: the last column stays empty.
        QVERIFY2(zeilen[1].endsWith(u"\"Berlin\";\"Greta Grünwald\";\"Grünwald & Söhne\";\"erkannt\";\"\"\r"_s.toUtf8()),
                 zeilen[1].constData());
        QVERIFY2(zeilen[2].endsWith(u"\"Unbekannt\";\"\";\"unbekannt\";\"\"\r"_s.toUtf8()), zeilen[2].constData());
        QCOMPARE(p.f().Panel(frmHaupt::Statusfeld::Meldung)->Text(), u"2 Anrufe exportiert nach "_s + tabelle);
        const ScriptedDialogs::Box frage = p.dialogs.boxes().last();
        QCOMPARE(frage.kind, u"GetSaveFileName"_s);
        QCOMPARE(frage.title, u"Rufmon - Anruferliste exportieren"_s);

        const QString adressbuch = p.dir.filePath(u"Kontakte.vcf"_s);
        p.dialogs.answerFile(adressbuch);
        p.f().Menu(Menuepunkt::mnuAnruferlisteExportieren)->trigger();
        QCOMPARE(dateiInhalt(adressbuch),
                 u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Greta Grünwald\r\nN:Grünwald;Greta;;;\r\n"
                 "ORG:Grünwald & Söhne\r\nTEL;TYPE=VOICE:0301234567\r\nEND:VCARD\r\n"_s.toUtf8());
        QCOMPARE(p.dialogs.boxes().size(), 2);
    }

    // ACT! as the program finds it: the panel, the phone fields, showing a
    // caller's contact, a history entry typed into a foreign dialog on an X server.
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
        X11Desktop x11;
        Rufmon rufmon({u.store, u.dialogs, u.clipboard, u.system, tapi, x11});
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

        Anruf eintrag;
        eintrag.nummer = u"0212955501"_s;
        eintrag.zeit = QDateTime(QDate(2026, 12, 6), QTime(12, 0));
        eintrag.ort = u"Haan Rheinland"_s;
        eintrag.name = u"Anna Anrufer"_s;
        eintrag.ergebnis = Anruf::Ergebnis::Erkannt;
        eintrag.kontaktId = id;
        eintrag.bild = 6;
        teile.Anrufe().hinzufuegen(eintrag);
        fenster.lvNummern()->setSelectedIndex(0);
        fenster.Menu(Menuepunkt::mnuACTAnzeigen)->trigger();
        QVERIFY(teile.Kontaktkarte().isVisible());
        QCOMPARE(teile.Kontaktkarte().aktuelleID(), id);

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

QTEST_MAIN(tst_Rufmon)
#include "tst_Rufmon.moc"
