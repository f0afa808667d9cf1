// The caller identification end to end: a call on the simulator line of the
// real telephony control, the real phone database and a generated ACT!
// database, with the number cache and without, down to the stored row.
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
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Gespeichert
{
    QString uniqueId, nummer, ort, kontakt;
    int icon = 0;
};

// One program with its real subsystems on generated data.
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
    QStringList bekannt; // ids of the planted contacts, in the order of `nummern`
    QStringList nummern;

    explicit Programm(bool cache, int weitere = 0)
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
            n.firstName = u"Nachbar"_s;
            n.lastName = QString::number(i);
            n.company = u"Firma %1"_s.arg(i);
            n.fax = u"03012345%1"_s.arg(10 + i * 11);
            g.addKnownContact(n);
        }
        for (int i = 0; i < weitere; ++i) {
            ActGenerator::Contact k;
            k.firstName = u"Kunde"_s;
            k.lastName = QString::number(i);
            k.city = u"Haan"_s;
            const QString nummer = u"021297%1"_s.arg(i, 4, 10, QChar(u'0'));
            if (i % 2)
                k.mobilePhone = nummer;
            else
                k.homePhone = nummer;
            nummern << nummer;
            bekannt << g.addKnownContact(k);
        }
        g.write(dir.filePath(u"act"_s));

        store.SaveSetting(u"ACT"_s, u"Datenbank"_s, g.summary().dbfPath);
        store.SaveSetting(u"Optionen"_s, u"TapiDevice"_s, u"Rufmon-Simulator"_s);
        store.SaveSetting(u"Optionen"_s, u"CacheMDB"_s, dir.filePath(u"RUFMON.MDB"_s));
        store.SaveSetting(u"Optionen"_s, u"NummernCache"_s, cache ? u"1"_s : u"0"_s);
        store.SaveSetting(u"Optionen"_s, u"NummernCacheAutomatisch"_s, u"1"_s);

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

    ~Programm()
    {
        fenster->close();
    }

    // The entry of the last call (calls within one second share their moment).
    ListItem oben() const
    {
        const ListViewModel &m = fenster->lvNummern()->Items();
        int neueste = 0;
        for (int i = 1; i < m.Count(); ++i) {
            if (m.Item(i).Schluessel > m.Item(neueste).Schluessel)
                neueste = i;
        }
        return m.Item(neueste);
    }

    QList<Gespeichert> zeilen() const
    {
        QList<Gespeichert> z;
        auto db = DBEngine::instance().OpenDatabase(dir.filePath(u"Nummern.mdb"_s), false, true);
        auto rs = db->OpenRecordset(u"SELECT UniqueID, Icon, Nummer, Ort, Kontakt FROM Anrufspeicher"_s);
        while (!rs->Eof()) {
            z.append({rs->Fields()[0].Text(), rs->Fields()[2].Text(), rs->Fields()[3].Text(), rs->Fields()[4].Text(),
                      rs->Fields()[1].Value().toInt()});
            rs->MoveNext();
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
    void initTestCase();
    void knownCaller_data();
    void knownCaller();
    void unknownCallerFromAbroad();
    void connectedNumber();
    void filteredNumberLeavesNoRow();
    void similarNumbers();
    void cacheAndDirectSearchAgree();
    void cacheFailureSwitchesTheCacheOff_data();
    void cacheFailureSwitchesTheCacheOff();
    void dialingBackOnTheSimulator();
};

void tst_Anrufauswertung::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_Anrufauswertung::knownCaller_data()
{
    QTest::addColumn<bool>("cache");
    QTest::newRow("direct") << false;
    QTest::newRow("cache") << true;
}

void tst_Anrufauswertung::knownCaller()
{
    QFETCH(bool, cache);
    Programm p(cache);
    QCOMPARE(p.fenster->Menu(u"mnuNummernCache"_s)->isChecked(), cache);
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    const ListItem e = p.oben();
    QCOMPARE(e.Text, u"0301234567"_s);
    QCOMPARE(e.columnText(2), u"Berlin"_s);
    QCOMPARE(e.columnText(3), u"Greta Grünwald"_s);
    QCOMPARE(e.SmallIcon, 6);
    QCOMPARE(e.Tag, IDInKlammern(p.greta));
    QVERIFY(p.fenster->lbID()->toolTip().startsWith(u"Suchdauer1:"_s));
    QVERIFY(p.fenster->Ereignisse().LetzterAnruf.contains(u"Gefilterte Nummer:0301234567\r\n"_s));

    const auto z = p.zeilen();
    QCOMPARE(z.size(), 1);
    QCOMPARE(z[0].uniqueId, IDInKlammern(p.greta));
    QCOMPARE(z[0].kontakt, u"Greta Grünwald"_s);
    QCOMPARE(z[0].ort, u"Berlin"_s);
    QCOMPARE(z[0].icon, 6);
    // Everything is back as before the call.
    QVERIFY(!modHaupt::instance().AuswertungLaeuft);
    QVERIFY(p.fenster->cmdInitTapi()->isEnabled());
    QVERIFY(p.tapi->EventsEnabled());
    QCOMPARE(p.fenster->Panel(3)->Text(), QString());
    QCOMPARE(p.dialogs.boxes().size(), 0);
}

void tst_Anrufauswertung::unknownCallerFromAbroad()
{
    Programm p(false);
    QVERIFY(p.tapi->Simulator()->anruf(u"0043316123456"_s));
    const ListItem e = p.oben();
    QCOMPARE(e.Text, u"0043316123456"_s);
    QCOMPARE(e.columnText(2), u"Österreich/Graz"_s);
    QCOMPARE(e.columnText(3), u"Unbekannt"_s);
    QCOMPARE(e.SmallIcon, 2);
    QCOMPARE(e.Tag, u"Unbekannt"_s);
    QCOMPARE(p.zeilen().size(), 1);
    QCOMPARE(p.zeilen()[0].ort, u"Österreich/Graz"_s);
    // A short number: no place look-up, then the free list or "Unbekannt".
    QVERIFY(p.tapi->Simulator()->anruf(u"112"_s));
    QCOMPARE(p.fenster->lvNummern()->Items().Count(), 2);
    const auto z = p.zeilen();
    QCOMPARE(z.size(), 2);
    QCOMPARE(z[1].nummer, u"112"_s);
    QCOMPARE(z[1].ort, u"Unbekannt"_s);
}

void tst_Anrufauswertung::connectedNumber()
{
    Programm p(false);
    p.fenster->Menu(u"mnuVerbundeneNummern"_s)->setChecked(true);
    QVERIFY(p.tapi->Simulator()->verbunden(u"0301234567"_s));
    QCOMPARE(p.oben().SmallIcon, 10);
    QVERIFY(p.tapi->Simulator()->verbunden(u"0402222333"_s));
    QCOMPARE(p.oben().SmallIcon, 9);
}

void tst_Anrufauswertung::filteredNumberLeavesNoRow()
{
    Programm p(false);
    p.fenster->Filtertext = u"0800,0301234567"_s;
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    QCOMPARE(p.fenster->lvNummern()->Items().Count(), 0);
    QCOMPARE(p.zeilen().size(), 0);
    QVERIFY(p.fenster->Ereignisse().LetzterAnruf.endsWith(u"\r\nNummernfilter:0301234567"_s));
}

void tst_Anrufauswertung::similarNumbers()
{
    Programm p(false);
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    ListViewModel &k = p.fenster->lvKontakte()->Items();
    QCOMPARE(k.Count(), 5);
    QCOMPARE(k.columns()[0].Text, u"Nummer (030) 123..."_s);
    QStringList texte;
    for (int i = 0; i < k.Count(); ++i)
        texte << k.Item(i).Text;
    QVERIFY(texte.contains(u"[Telefon] 0301234567"_s));
    QVERIFY(texte.contains(u"[Fax] 0301234510"_s));
    QCOMPARE(k.Item(0).Tag.size(), 14);
}

void tst_Anrufauswertung::cacheAndDirectSearchAgree()
{
    QStringList direkt, cache;
    for (bool mitCache : {false, true}) {
        Programm p(mitCache, 1000);
        for (const QString &n : p.nummern)
            p.tapi->Simulator()->anruf(n);
        QStringList tags;
        for (const Gespeichert &z : p.zeilen())
            tags << z.uniqueId;
        (mitCache ? cache : direkt) = tags;
        QStringList erwartet;
        for (const QString &id : p.bekannt)
            erwartet << IDInKlammern(id);
        QCOMPARE(tags, erwartet);
    }
    QCOMPARE(cache, direkt);
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
    if (dateiWeg) {
        QVERIFY(QFile::remove(p.dir.filePath(u"RUFMON.MDB"_s)));
    } else {
        auto db = DBEngine::instance().OpenDatabase(p.dir.filePath(u"RUFMON.MDB"_s));
        db->TableDefs().Delete(u"ACTNR"_s);
        db->Close();
    }
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    QCOMPARE(p.dialogs.boxes().size(), 1);
    QCOMPARE(p.dialogs.boxes().first().text, u"Fehler beim Zugriff auf Nummerncache-Datenbank: "_s
                                                 + p.dir.filePath(u"RUFMON.MDB"_s)
                                                 + u"\r\nDer Nummerncache wird deaktiviert."_s);
    QVERIFY(!p.fenster->Menu(u"mnuNummernCache"_s)->isChecked());
    // No direct search for that call.
    QCOMPARE(p.oben().columnText(3), u"Unbekannt"_s);
    // The next call searches the ACT! tables.
    QVERIFY2(modHaupt::instance().ACTBereit, "ACT! not ready");
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    QCOMPARE(p.oben().columnText(3), u"Greta Grünwald"_s);
}

void tst_Anrufauswertung::dialingBackOnTheSimulator()
{
    Programm p(false);
    p.store.SaveSetting(u"Waehlregeln"_s, u"CurrentID"_s, u"1"_s);
    p.store.SaveSetting(u"Waehlregeln"_s, u"Location1/OutsideAccess"_s, u"0"_s);
    QVERIFY(p.tapi->Simulator()->anruf(u"0301234567"_s));
    p.fenster->Menu(u"mnuTAPIProtokoll"_s)->trigger();
    p.fenster->lvNummern()->setSelectedIndex(0);
    p.fenster->Menu(u"mnuNummerAnwaehlen"_s)->trigger();
    QCOMPARE(p.tapi->Simulator()->gewaehlt(), QStringList{u"00301234567"_s});
    // Answered with call states: the dial tone first, idle at the end.
    QCOMPARE(p.fenster->Panel(1)->Text(), u"Wählton"_s);
    QTRY_COMPARE(p.fenster->Panel(1)->Text(), u"TAPI aktiv"_s);
    auto *log = p.fenster->findChild<QPlainTextEdit *>(u"txbProtokoll"_s);
    QVERIFY(log);
    QVERIFY(log->toPlainText().contains(u"CCallstate=\"DIALTONE\""_s));
    QVERIFY(log->toPlainText().contains(u"CCallstate=\"CONNECTED\""_s));
}

QTEST_MAIN(tst_Anrufauswertung)
#include "tst_Anrufauswertung.moc"
