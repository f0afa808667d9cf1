// The caller identification end to end: a call on the simulator line of the
// real telephony control, the real phone database and a generated ACT!
// database, with the number cache and without, down to the stored row.
#include "actdb/frmTelefonfelder.h"
#include "app/ListView.h"
#include "app/Programmteile.h"
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "platform/settings/IniSettingsStore.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"
#include "tools/actgen/ActGenerator.h"

#include "TestPaths.h"
#include "doubles/FakeSystem.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// One program with its real subsystems on generated data: 300 contacts, Greta
// Grünwald at 0301234567, four neighbours with similar fax numbers, and
// `weitere` customers in Haan, every other one on the mobile field.
struct Programm
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    ScriptedDialogs dialogs;
    MemoryClipboard clipboard;
    FakeSystem system;
    std::unique_ptr<TelephonyControl> tapi;
    std::unique_ptr<Programmteile> teile;
    std::unique_ptr<frmHaupt> fenster;
    QString greta;
    QStringList kunden; // "number id" of the customers

    explicit Programm(bool cache, int weitere = 0, const QString &ausschluss = {})
    {
        QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), dir.filePath(u"Nummern.mdb"_s));
        QFile::setPermissions(dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        system.programFolder = dir.path();

        ActGenerator g;
        g.options().seed = 9;
        g.options().contacts = 300 + weitere;
        ActGenerator::Contact c;
        c.firstName = u"Greta"_s;
        c.lastName = u"Grünwald"_s;
        c.city = u"Berlin"_s;
        c.phone = u"0301234567"_s;
        greta = g.addKnownContact(c);
        for (int i = 0; i < 4; ++i) {
            ActGenerator::Contact n;
            n.lastName = u"Nachbar %1"_s.arg(i);
            n.fax = u"03012345%1"_s.arg(10 + i * 11);
            g.addKnownContact(n);
        }
        for (int i = 0; i < weitere; ++i) {
            ActGenerator::Contact k;
            k.lastName = u"Kunde %1"_s.arg(i);
            const QString nummer = u"021297%1"_s.arg(i, 4, 10, QChar(u'0'));
            (i % 2 ? k.mobilePhone : k.homePhone) = nummer;
            kunden << nummer + u' ' + IDInKlammern(g.addKnownContact(k));
        }
        g.write(dir.filePath(u"act"_s));

        store.SaveSetting(u"ACT"_s, u"Datenbank"_s, g.summary().dbfPath);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, cache ? u"1"_s : u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"NummernCacheAutomatisch"_s, u"1"_s);
        if (!ausschluss.isEmpty())
            store.SaveSetting(u"Optionen"_s, u"Ausschlussfelder"_s, ausschluss);

        modHaupt::instance().zuruecksetzen();
        tapi = std::make_unique<TelephonyControl>(store);
        teile = std::make_unique<Programmteile>(dialogs, clipboard, store, system);
        fenster = std::make_unique<frmHaupt>(frmHauptUmgebung{store, dialogs, clipboard, system, *tapi, *teile});
        teile->verbinde(*fenster, *tapi);
        fenster->Form_Load();
        teile->StartAbgeschlossen();
        fenster->show();
        fenster->cmdInitTapi()->click();
        tapi->Simulator()->setTakt(5, 50);
    }

    ~Programm() { fenster->close(); }

    bool anruf(const QString &nummer) { return tapi->Simulator()->anruf(nummer); }

    // The entry of the last call as "Nummer|Ort|Kontakt|Icon|Tag" (calls
    // within one second share their moment, so the key tells).
    QString eintrag() const
    {
        const ListViewModel &m = fenster->lvNummern()->Items();
        int neueste = 0;
        for (int i = 1; i < m.Count(); ++i) {
            if (m.Item(i).Schluessel > m.Item(neueste).Schluessel)
                neueste = i;
        }
        const ListItem e = m.Item(neueste);
        return QStringList{e.Text, e.columnText(2), e.columnText(3), QString::number(e.SmallIcon), e.Tag}.join(u'|');
    }

    // The stored rows as "UniqueID|Nummer|Ort|Kontakt|Icon".
    QStringList zeilen() const
    {
        QStringList z;
        auto db = DBEngine::instance().OpenDatabase(dir.filePath(u"Nummern.mdb"_s), false, true);
        auto rs = db->OpenRecordset(u"SELECT UniqueID, Nummer, Ort, Kontakt, Icon FROM Anrufspeicher"_s);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList felder;
            for (int i = 0; i < 5; ++i)
                felder << rs->Fields()[i].Text();
            z << felder.join(u'|');
        }
        db->Close();
        return z;
    }
};

} // namespace

class tst_Anrufauswertung : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void knownCallers_data();
    void knownCallers();
    void noPhoneFieldFindsNobody_data() { knownCallers_data(); }
    void noPhoneFieldFindsNobody();
    void cacheRebuildPausesTheLine();
    void closingDuringIdentificationKeepsTheCall();
    void aPhoneFieldChosenLaterIsInTheCache();
    void unknownFilteredAndConnectedCalls();
    void cacheFailureSwitchesTheCacheOff_data();
    void cacheFailureSwitchesTheCacheOff();
    void dialingBackOnTheSimulator();
};

void tst_Anrufauswertung::knownCallers_data()
{
    QTest::addColumn<bool>("cache");
    QTest::newRow("direct") << false;
    QTest::newRow("cache") << true;
}

void tst_Anrufauswertung::knownCallers()
{
    QFETCH(bool, cache);
    // Over 550 contacts: the cache import outgrows its first table of keys.
    Programm p(cache, 250);
    QCOMPARE(p.fenster->Menu(u"mnuNummernCache"_s)->isChecked(), cache);
    QVERIFY(p.anruf(u"0301234567"_s));
    const QString greta = IDInKlammern(p.greta);
    QCOMPARE(p.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + greta);
    QCOMPARE(p.zeilen(), QStringList{greta + u"|0301234567|Berlin|Greta Grünwald|6"_s});
    QVERIFY(p.fenster->lbID()->toolTip().startsWith(u"Suchdauer1:"_s));
    QVERIFY(p.fenster->Ereignisse().LetzterAnruf.contains(u"Gefilterte Nummer:0301234567\r\n"_s));
    // Everything is back as before the call.
    QVERIFY(!modHaupt::instance().AuswertungLaeuft);
    QVERIFY(p.fenster->cmdInitTapi()->isEnabled());
    QVERIFY(p.tapi->EventsEnabled());
    QCOMPARE(p.fenster->Panel(3)->Text(), QString());
    QCOMPARE(p.dialogs.boxes().size(), 0);

    // The similar contacts: Greta and her neighbours' faxes, each with its contact's id.
    const ListViewModel &k = p.fenster->lvKontakte()->Items();
    QCOMPARE(k.columns()[0].Text, u"Nummer (030) 123..."_s);
    QStringList texte;
    for (int i = 0; i < k.Count(); ++i)
        texte << k.Item(i).Text + u' ' + QString::number(k.Item(i).Tag.size());
    texte.sort();
    QCOMPARE(texte, (QStringList{u"[Fax] 0301234510 14"_s, u"[Fax] 0301234521 14"_s, u"[Fax] 0301234532 14"_s,
                                 u"[Fax] 0301234543 14"_s, u"[Telefon] 0301234567 14"_s}));

    // Every customer is found by its own number, on the home and on the mobile field.
    for (const QString &kunde : std::as_const(p.kunden))
        p.anruf(kunde.section(u' ', 0, 0));
    QStringList gefunden;
    for (const QString &zeile : p.zeilen().mid(1))
        gefunden << zeile.section(u'|', 1, 1) + u' ' + zeile.section(u'|', 0, 0);
    QCOMPARE(gefunden, p.kunden);
}

void tst_Anrufauswertung::noPhoneFieldFindsNobody()
{
    // Every phone field excluded: a search without a field would match every
    // contact; the caller is unknown and nobody is similar.
    QFETCH(bool, cache);
    Programm p(cache, 0, u"PHONE;FAX;HOME_PHONE;MOBILE_PH;ALT_PHONE;"_s);
    QVERIFY(p.anruf(u"0301234567"_s));
    QCOMPARE(p.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
    QCOMPARE(p.fenster->lvKontakte()->Items().Count(), 0);
    QCOMPARE(p.dialogs.boxes().size(), 0);
}

void tst_Anrufauswertung::cacheRebuildPausesTheLine()
{
    Programm p(true);
    QVERIFY(p.tapi->LineOpen());
    // Sampled whenever the rebuild lets the window breathe.
    QList<bool> offen;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] { offen << p.tapi->LineOpen(); });
    probe.start(0);
    p.fenster->Menu(u"mnuCacheNeu"_s)->trigger();
    probe.stop();
    QVERIFY(offen.contains(false));
    QVERIFY(p.tapi->LineOpen());
    QVERIFY(p.fenster->MonitorAktiv());
}

void tst_Anrufauswertung::closingDuringIdentificationKeepsTheCall()
{
    Programm p(false);
    // Closed (the close box, a logout) while the call is being identified.
    QObject::connect(&p.fenster->lvNummern()->Items(), &QAbstractItemModel::rowsInserted, p.fenster.get(),
                     [&] { p.fenster->close(); }, Qt::SingleShotConnection);
    QVERIFY(p.anruf(u"0301234567"_s));
    QTRY_VERIFY(!p.fenster->isVisible());
    QCOMPARE(p.zeilen(), QStringList{IDInKlammern(p.greta) + u"|0301234567|Berlin|Greta Grünwald|6"_s});
    QCOMPARE(p.dialogs.boxes().size(), 0);
}

void tst_Anrufauswertung::aPhoneFieldChosenLaterIsInTheCache()
{
    // The cache is built without the fax field; then the user chooses it.
    Programm p(true, 0, u"FAX;"_s);
    frmTelefonfelder *dialog = p.teile->Telefonfelder();
    QVERIFY(dialog);
    QTimer::singleShot(0, dialog, [dialog] {
        ListViewModel &liste = dialog->findChild<ListView *>()->Items();
        for (int i = 0; i < liste.Count(); ++i) {
            if (liste.Item(i).Tag == u"FAX"_s)
                liste.setData(liste.index(i, 0), Qt::Checked, Qt::CheckStateRole);
        }
        dialog->cmdOK_Click();
    });
    p.fenster->Menu(u"mnuTelefonfelder"_s)->trigger();
    QVERIFY(dialog->AusgewaehlteFelder().contains(u"FAX"_s));
    // A neighbour known only by the fax number.
    QVERIFY(p.anruf(u"0301234510"_s));
    QVERIFY2(p.eintrag().startsWith(u"0301234510|Berlin|Nachbar 0|6|"_s), qPrintable(p.eintrag()));
    QCOMPARE(p.dialogs.boxes().size(), 0);
}

void tst_Anrufauswertung::unknownFilteredAndConnectedCalls()
{
    Programm p(false);
    p.fenster->Filtertext = u"0800,0891234567"_s;
    QVERIFY(p.anruf(u"0891234567"_s));
    QCOMPARE(p.fenster->lvNummern()->Items().Count(), 0);
    QCOMPARE(p.zeilen(), QStringList());
    QVERIFY(p.fenster->Ereignisse().LetzterAnruf.endsWith(u"\r\nNummernfilter:0891234567"_s));

    QVERIFY(p.anruf(u"0043316123456"_s));
    QCOMPARE(p.eintrag(), u"0043316123456|Österreich/Graz|Unbekannt|2|Unbekannt"_s);
    // A short number: no place look-up, then the free list or "Unbekannt".
    QVERIFY(p.anruf(u"112"_s));
    QCOMPARE(p.fenster->lvNummern()->Items().Count(), 2);
    QCOMPARE(p.zeilen(), (QStringList{u"Unbekannt|0043316123456|Österreich/Graz|Unbekannt|2"_s,
                                      u"Unbekannt|112|Unbekannt|Unbekannt|2"_s}));

    // A connected number is identified too, with pictures of its own.
    p.fenster->Menu(u"mnuVerbundeneNummern"_s)->setChecked(true);
    QVERIFY(p.tapi->Simulator()->verbunden(u"0301234567"_s));
    QCOMPARE(p.eintrag(), u"0301234567|Berlin|Greta Grünwald|10|"_s + IDInKlammern(p.greta));
    QVERIFY(p.tapi->Simulator()->verbunden(u"0402222333"_s));
    QCOMPARE(p.eintrag(), u"0402222333|Hamburg|Unbekannt|9|Unbekannt"_s);
}

void tst_Anrufauswertung::cacheFailureSwitchesTheCacheOff_data()
{
    QTest::addColumn<bool>("dateiWeg");
    QTest::newRow("cache file deleted") << true;
    QTest::newRow("cache table missing") << false;
}

void tst_Anrufauswertung::cacheFailureSwitchesTheCacheOff()
{
    QFETCH(bool, dateiWeg);
    Programm p(true);
    const QString cache = p.dir.filePath(u"RUFMON.MDB"_s);
    if (dateiWeg) {
        QVERIFY(QFile::remove(cache));
    } else {
        auto db = DBEngine::instance().OpenDatabase(cache);
        db->TableDefs().Delete(u"ACTNR"_s);
        db->Close();
    }
    QVERIFY(p.anruf(u"0301234567"_s));
    QCOMPARE(p.dialogs.boxes().size(), 1);
    QCOMPARE(p.dialogs.boxes().first().text, u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s + cache
                                                 + u"\r\nDer Nummerncache wird deaktiviert."_s);
    QVERIFY(!p.fenster->Menu(u"mnuNummernCache"_s)->isChecked());
    // No direct search for that call; the next one searches the ACT! tables.
    QCOMPARE(p.eintrag(), u"0301234567|Berlin|Unbekannt|2|Unbekannt"_s);
    QVERIFY2(modHaupt::instance().ACTBereit, "ACT! not ready");
    QVERIFY(p.anruf(u"0301234567"_s));
    QCOMPARE(p.eintrag(), u"0301234567|Berlin|Greta Grünwald|6|"_s + IDInKlammern(p.greta));
}

void tst_Anrufauswertung::dialingBackOnTheSimulator()
{
    Programm p(false);
    p.store.SaveSetting(u"Waehlregeln"_s, u"CurrentID"_s, u"1"_s);
    p.store.SaveSetting(u"Waehlregeln"_s, u"Location1/OutsideAccess"_s, u"0"_s);
    QVERIFY(p.anruf(u"0301234567"_s));
    p.fenster->Menu(u"mnuTAPIProtokoll"_s)->trigger();
    p.fenster->lvNummern()->setSelectedIndex(0);
    p.fenster->Menu(u"mnuNummerAnwaehlen"_s)->trigger();
    QCOMPARE(p.tapi->Simulator()->gewaehlt(), QStringList{u"00301234567"_s});
    // Answered with call states: the dial tone first, idle at the end.
    QCOMPARE(p.fenster->Panel(1)->Text(), u"Wählton"_s);
    QTRY_COMPARE(p.fenster->Panel(1)->Text(), u"TAPI aktiv"_s);
    const QString log = p.fenster->findChild<QPlainTextEdit *>(u"txbProtokoll"_s)->toPlainText();
    QVERIFY(log.contains(u"CCallstate=\"DIALTONE\""_s));
    QVERIFY(log.contains(u"CCallstate=\"CONNECTED\""_s));
}

QTEST_MAIN(tst_Anrufauswertung)
#include "tst_Anrufauswertung.moc"
