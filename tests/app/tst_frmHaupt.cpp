#include "app/ListView.h"
#include "app/StatusPanel.h"
#include "app/frmHaupt.h"
#include "app/modHaupt.h"
#include "app/modListviewSort.h"
#include "platform/settings/IniSettingsStore.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"
#include "doubles/MemoryClipboard.h"
#include "doubles/RecordingTeilsysteme.h"
#include "doubles/ScriptedDialogs.h"
#include "doubles/Testfenster.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using Umgebung = Testfenster;

ListItem eintrag(const QString &nummer, const QString &datum, const QString &ort, const QString &kontakt)
{
    ListItem item;
    item.Text = nummer;
    item.SubItems = {datum, ort, kontakt};
    item.SmallIcon = 6;
    item.Tag = u"Unbekannt"_s;
    return item;
}

} // namespace

class tst_frmHaupt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void menuTree_data();
    void menuTree();
    void hiddenMenusServeAsPopups();

    void freshStoreStart();
    void startSequenceOrder();
    void deviceSelection_data();
    void deviceSelection();
    void nullOption_data();
    void nullOption();
    void optionsIntoMenus();
    void exitWritesOptionsAndWindow();
    void windowValues_data();
    void windowValues();
    void minimisedExitKeepsWindowKeys();
    void exitSequenceOrderWithActiveMonitor();
    void unloadRunsOnce();
    void cacheFileDeletedAtStartAndExit();
    void cacheBuiltAtStartWhenOn();

    void layoutSplitsSixtyForty();
    void layoutEnforcesMinimumSize();
    void columnWidthsAtStart();

    void pendingStartActionsRunOnce();
    void pendingActivationFiresAfterTimerInterval();
    void activationToggles();
    void toggleCommands();
    void cacheMenuSwitchesWithoutBuilding();

    void copyCommands_data();
    void copyCommands();
    void copyCommandsWithoutEntryOrSelection();
    void statusCopy();
    void spaltennummerAndErstesWort();
    void headerClickSortsAndDoubleClickShowsContact();
};

void tst_frmHaupt::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_frmHaupt::menuTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("checkedWhenCreated");

    QTest::newRow("mnuProgramm") << u"mnuProgramm"_s << u"&Programm"_s << QString() << QString() << false;
    QTest::newRow("mnuTAPI") << u"mnuTAPI"_s << u"&Tapimonitor aktivieren"_s << u"mnuProgramm"_s << u"Ctrl+T"_s << false;
    QTest::newRow("mnuCacheNeu") << u"mnuCacheNeu"_s << u"&Nummern-Cache erneuern"_s << u"mnuProgramm"_s << u"Ctrl+N"_s << false;
    QTest::newRow("mnuAutoNummern") << u"mnuAutoNummern"_s << u"ähnliche &Nummern suchen"_s << u"mnuOptionen"_s << u"Ctrl+A"_s << true;
    QTest::newRow("mnuVerbundeneNummern") << u"mnuVerbundeneNummern"_s << u"Auf &verbundene Nummern reagieren"_s << u"mnuOptionen"_s << QString() << true;
    QTest::newRow("mnuAutoTimer") << u"mnuAutoTimer"_s << u"ACT! Timer mit starten"_s << u"mnuOptionen"_s << QString() << true;
    QTest::newRow("mnuTelefonfelder") << u"mnuTelefonfelder"_s << u"&Telefonfelder auswählen"_s << u"mnuOptionen"_s << QString() << false;
    QTest::newRow("mnuNummern") << u"mnuNummern"_s << u"Rufmon &Nummern"_s << u"mnuOptionen"_s << QString() << false;
    QTest::newRow("mnuNummernfilter") << u"mnuNummernfilter"_s << u"Nummern&filter"_s << u"mnuOptionen"_s << QString() << false;
    QTest::newRow("mnuTapiAktivieren") << u"mnuTapiAktivieren"_s << u"Tapi&monitor automatisch aktivieren"_s << u"mnuStartoptionen"_s << QString() << true;
    QTest::newRow("mnuFensterMin") << u"mnuFensterMin"_s << u"&Fenster minimieren"_s << u"mnuStartoptionen"_s << QString() << true;
    QTest::newRow("mnuNummernCache") << u"mnuNummernCache"_s << u"Nummern-&Cache benutzen"_s << u"mnuStartoptionen"_s << QString() << true;
    QTest::newRow("mnuNummernCacheAutomatisch") << u"mnuNummernCacheAutomatisch"_s << u"Nummern-Cache autom. aktualisieren"_s << u"mnuStartoptionen"_s << QString() << true;
    QTest::newRow("mnuTapiTreiber") << u"mnuTapiTreiber"_s << u"T&API"_s << u"mnuOptionen"_s << QString() << false;
    QTest::newRow("mnuTapiInfos") << u"mnuTapiInfos"_s << u"Treiber &Informationen"_s << u"mnuTapiTreiber"_s << u"Ctrl+I"_s << false;
    QTest::newRow("mnuTapiWaehlregeln") << u"mnuTapiWaehlregeln"_s << u"&Wählregeln"_s << u"mnuTapiTreiber"_s << QString() << false;
    QTest::newRow("mnuTAPIProtokoll") << u"mnuTAPIProtokoll"_s << u"&Protokoll"_s << u"mnuTapiTreiber"_s << QString() << true;
    QTest::newRow("mnuTapiNull") << u"mnuTapiNull"_s << u"Präfix (0) hin&zufügen"_s << u"mnuTapiTreiber"_s << QString() << true;
    QTest::newRow("mnuTAPINullEntfernen") << u"mnuTAPINullEntfernen"_s << u"Präfix (0) en&tfernen"_s << u"mnuTapiTreiber"_s << QString() << true;
    QTest::newRow("mnuTAPIPlusKlammerFilter") << u"mnuTAPIPlusKlammerFilter"_s << u"&Pluszeichen und Klammern filtern"_s << u"mnuTapiTreiber"_s << QString() << true;
    QTest::newRow("mnuKeineNullBeimSuchen") << u"mnuKeineNullBeimSuchen"_s << u"&Suche in ACT! ohne Null"_s << u"mnuTapiTreiber"_s << QString() << true;
    QTest::newRow("mnuBeenden") << u"mnuBeenden"_s << u"&Beenden"_s << u"mnuProgramm"_s << u"Ctrl+Q"_s << false;
    QTest::newRow("mnuACTAnzeigen") << u"mnuACTAnzeigen"_s << u"&Kontakt anzeigen"_s << u"mnuPopupListe"_s << QString() << false;
    QTest::newRow("mnuKopiereKontaktNummer") << u"mnuKopiereKontaktNummer"_s << u"Kontakt && Telefon&nummer"_s << u"mnuKopieren"_s << QString() << false;
    QTest::newRow("mnuTagLoeschen") << u"mnuTagLoeschen"_s << u"Älter als 1 &Tag"_s << u"mnuEintraege"_s << QString() << false;
    QTest::newRow("mnuSuche_aehnliche") << u"mnuSuche_aehnliche"_s << u"&Suche ähnliche Nummern"_s << u"mnuPopupListe"_s << QString() << false;
    QTest::newRow("mnuCopyStatus") << u"mnuCopyStatus"_s << u"&Kopieren"_s << u"mnuStatusKopieren"_s << QString() << false;
    QTest::newRow("mnuAehnlicheNummerAnwaehlen") << u"mnuAehnlicheNummerAnwaehlen"_s << u"&Nummer anwählen"_s << u"mnuMenueAehnliche"_s << QString() << false;
}

void tst_frmHaupt::menuTree()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    QFETCH(QString, shortcut);
    QFETCH(bool, checkedWhenCreated);

    Umgebung u;
    frmHaupt &f = u.erstelle();
    QAction *action = f.findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    QCOMPARE(action->isChecked(), checkedWhenCreated);
    if (parent.isEmpty()) {
        QVERIFY(f.menuBar()->actions().contains(action));
    } else {
        QMenu *menu = f.findChild<QMenu *>(parent);
        QVERIFY2(menu, qPrintable(parent));
        QVERIFY(menu->actions().contains(action));
    }
}

void tst_frmHaupt::hiddenMenusServeAsPopups()
{
    Umgebung u;
    frmHaupt &f = u.erstelle();
    QVERIFY(!f.Menu(u"mnuStatusKopieren"_s)->isVisible());
    QVERIFY(!f.Menu(u"mnuMenueAehnliche"_s)->isVisible());
    QVERIFY(f.Menu(u"mnuPopupListe"_s)->isVisible());
    QCOMPARE(f.Menu(u"mnuStatusKopieren"_s)->text(), u"Menü-Kopieren"_s);
    QCOMPARE(f.Menu(u"mnuMenueAehnliche"_s)->text(), u"Menü-Ähnliche"_s);
    // Separators keep their names too.
    QVERIFY(f.Menu(u"mnuBlank02"_s)->isSeparator());
    QVERIFY(f.Menu(u"mnuKopierenTrennlinie"_s)->isSeparator());
}

void tst_frmHaupt::freshStoreStart()
{
    Umgebung u;
    u.tapi.devices = {u"Gerät A"_s, u"Gerät B"_s};
    frmHaupt &f = u.starte();

    QCOMPARE(f.FensterTwips(), QRect(100, 100, 7575, 6540));
    QCOMPARE(f.size(), QSize(505, 436));
    // No stored device: nothing selected, the control keeps its own device.
    QCOMPARE(f.cbxTapiDevices()->count(), 2);
    QCOMPARE(f.cbxTapiDevices()->currentIndex(), -1);
    QVERIFY(!u.tapi.calls.join(u',').contains(u"DeviceIndex"_s));
    QCOMPARE(f.Menu(u"mnuTapiTreiber"_s)->text(), u"TAPI ()"_s);
    // The cache is off.
    QVERIFY(!f.Menu(u"mnuNummernCache"_s)->isChecked());
    QVERIFY(!f.Menu(u"mnuNummernCacheAutomatisch"_s)->isEnabled());
    QCOMPARE(f.Panel(4)->PictureIndex(), 4);
    QCOMPARE(f.Panel(4)->ToolTipText(), u"Es wird kein Nummern-Cache verwendet."_s);
    QVERIFY(!u.journal.contains(u"ErstelleNummernCache"_s));
    // Switches off, the two defaults that are on, the log hidden.
    QVERIFY(!f.Menu(u"mnuTapiNull"_s)->isChecked());
    QVERIFY(!f.Menu(u"mnuTAPINullEntfernen"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuAutoNummern"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuNummernCacheAutomatisch"_s)->isChecked());
    QVERIFY(!f.Menu(u"mnuTAPIProtokoll"_s)->isChecked());
    QVERIFY(!f.Menu(u"mnuTapiAktivieren"_s)->isChecked());
    QVERIFY(!f.AutoAktivierenOffen);
    QVERIFY(!f.MinimierenOffen);
    QCOMPARE(f.TimerACT().Interval(), 4500);
    QVERIFY(f.TimerACT().isTicking());
    QCOMPARE(f.Menu(u"mnuTapiNullAendern"_s)->text(), u"Präfix (0) än&dern"_s);
    QCOMPARE(modHaupt::instance().CachePfad, u.system.GetTempFolder() + u"RUFMON.MDB"_s);
    // The status window is gone once the window is up.
    QVERIFY(!f.findChild<QWidget *>(u"frmStatus"_s));
    QCOMPARE(u.dialogs.boxes().size(), 0);
}

void tst_frmHaupt::startSequenceOrder()
{
    Umgebung u;
    u.tapi.devices = {u"Gerät A"_s};
    u.setze(u"Optionen"_s, u"TapiDevice"_s, u"Gerät A"_s);
    u.setze(u"Optionen"_s, u"NummernCache"_s, u"1"_s);
    u.starte();
    const QStringList erwartet = {u"tapi.Initialize"_s,        u"TelefondatenOeffnen"_s,
                                  u"tapi.DeviceIndex=0"_s,     u"TelefonfelderLaden"_s,
                                  u"ACTMonitorInitialisieren"_s, u"ErstelleNummernCache"_s};
    QCOMPARE(u.journal, erwartet);
    QCOMPARE(u.teile.telefondatenPfad, u.system.ProgramFolder() + u"/Nummern.mdb"_s);
}

void tst_frmHaupt::deviceSelection_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("deviceIndexCall");
    QTest::addColumn<QString>("driverCaption");

    const QStringList drei = {u"Rufmon-Simulator"_s, u"Anrufmonitor fritz.box:1012"_s, u"Modem /dev/ttyACM0"_s};
    QTest::newRow("stored device found") << drei << u"Modem /dev/ttyACM0"_s << 2 << u"tapi.DeviceIndex=2"_s
                                         << u"TAPI (Modem /dev/ttyACM0)"_s;
    QTest::newRow("stored device gone: first") << drei << u"ISDN-Karte"_s << 0 << u"tapi.DeviceIndex=0"_s
                                               << u"TAPI (Rufmon-Simulator)"_s;
    QTest::newRow("exact comparison") << drei << u"rufmon-simulator"_s << 0 << u"tapi.DeviceIndex=0"_s
                                      << u"TAPI (Rufmon-Simulator)"_s;
    QTest::newRow("no devices") << QStringList() << u"Rufmon-Simulator"_s << -1 << QString() << u"TAPI ()"_s;
}

void tst_frmHaupt::deviceSelection()
{
    QFETCH(QStringList, devices);
    QFETCH(QString, stored);
    QFETCH(int, selected);
    QFETCH(QString, deviceIndexCall);
    QFETCH(QString, driverCaption);

    Umgebung u;
    u.tapi.devices = devices;
    u.setze(u"Optionen"_s, u"TapiDevice"_s, stored);
    frmHaupt &f = u.starte();
    QCOMPARE(f.cbxTapiDevices()->currentIndex(), selected);
    if (deviceIndexCall.isEmpty())
        QVERIFY(!u.tapi.calls.join(u',').contains(u"DeviceIndex"_s));
    else
        QVERIFY(u.journal.contains(deviceIndexCall));
    QCOMPARE(f.Menu(u"mnuTapiTreiber"_s)->text(), driverCaption);

    f.close();
    // The device box's text is what is saved, also when it is empty.
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"TapiDevice"_s), f.cbxTapiDevices()->currentText());
}

void tst_frmHaupt::nullOption_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("add");
    QTest::addColumn<bool>("remove");
    QTest::addColumn<QString>("writtenAtExit");

    QTest::newRow("0") << u"0"_s << false << false << u"0"_s;
    QTest::newRow("1") << u"1"_s << true << false << u"1"_s;
    QTest::newRow("-1") << u"-1"_s << false << true << u"-1"_s;
    // Neither item is touched, so both keep the mark they were created with,
    // and the checked remove item wins at exit.
    QTest::newRow("2") << u"2"_s << true << true << u"-1"_s;
    QTest::newRow("not a number reads 0") << u"True"_s << false << false << u"0"_s;
}

void tst_frmHaupt::nullOption()
{
    QFETCH(QString, stored);
    QFETCH(bool, add);
    QFETCH(bool, remove);
    QFETCH(QString, writtenAtExit);

    Umgebung u;
    u.setze(u"Optionen"_s, u"Null"_s, stored);
    frmHaupt &f = u.starte();
    QCOMPARE(f.Menu(u"mnuTapiNull"_s)->isChecked(), add);
    QCOMPARE(f.Menu(u"mnuTAPINullEntfernen"_s)->isChecked(), remove);
    f.close();
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"Null"_s), writtenAtExit);
}

void tst_frmHaupt::optionsIntoMenus()
{
    Umgebung u;
    const QString o = u"Optionen"_s;
    u.setze(o, u"AutoNummern"_s, u"0"_s);
    u.setze(o, u"KeineNullBeimSuchen"_s, u"1"_s);
    u.setze(o, u"Prefix"_s, u"+49"_s);
    u.setze(o, u"NummernCacheAutomatisch"_s, u"0"_s);
    u.setze(o, u"Nummernfilter"_s, u"0301234,0800"_s);
    u.setze(o, u"AutostartTimer"_s, u"1"_s);
    u.setze(o, u"PlusKlammerFilter"_s, u" 1"_s);
    u.setze(o, u"WeiterleitungErkennen"_s, u"1.0"_s);
    frmHaupt &f = u.starte();

    QVERIFY(!f.Menu(u"mnuAutoNummern"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuKeineNullBeimSuchen"_s)->isChecked());
    QCOMPARE(f.Menu(u"mnuTapiNull"_s)->text(), u"Präfix (+49) hin&zufügen"_s);
    QCOMPARE(f.Menu(u"mnuTAPINullEntfernen"_s)->text(), u"Präfix (+49) ent&fernen"_s);
    QCOMPARE(f.Menu(u"mnuTapiNullAendern"_s)->text(), u"Präfix (+49) än&dern"_s);
    QVERIFY(!f.Menu(u"mnuNummernCacheAutomatisch"_s)->isChecked());
    QCOMPARE(f.Filtertext, u"0301234,0800"_s);
    QVERIFY(f.Menu(u"mnuAutoTimer"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuTAPIPlusKlammerFilter"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuVerbundeneNummern"_s)->isChecked());
    // The similar-numbers pane follows its option from the start.
    QVERIFY(!f.findChild<QGroupBox *>(u"frAehnliche"_s)->isVisible());

    f.close();
    QCOMPARE(u.gespeichert(o, u"AutoNummern"_s), u"0"_s);
    QCOMPARE(u.gespeichert(o, u"KeineNullBeimSuchen"_s), u"1"_s);
    QCOMPARE(u.gespeichert(o, u"NummernCacheAutomatisch"_s), u"0"_s);
    QCOMPARE(u.gespeichert(o, u"AutostartTimer"_s), u"1"_s);
    QCOMPARE(u.gespeichert(o, u"PlusKlammerFilter"_s), u"1"_s);
    QCOMPARE(u.gespeichert(o, u"WeiterleitungErkennen"_s), u"1"_s);
    // Text options changed only in their dialogs stay as they were.
    QCOMPARE(u.gespeichert(o, u"Prefix"_s), u"+49"_s);
    QCOMPARE(u.gespeichert(o, u"Nummernfilter"_s), u"0301234,0800"_s);
}

void tst_frmHaupt::exitWritesOptionsAndWindow()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    f.close();

    const QString o = u"Optionen"_s;
    const QList<std::pair<QString, QString>> erwartet = {
        {u"TapiDevice"_s, QString()},
        {u"NummernCache"_s, u"0"_s},
        {u"NummernCacheAutomatisch"_s, u"1"_s},
        {u"Null"_s, u"0"_s},
        {u"AutoNummern"_s, u"1"_s},
        {u"AutoTapimonitor"_s, u"0"_s},
        {u"FensterMin"_s, u"0"_s},
        {u"KeineNullBeimSuchen"_s, u"0"_s},
        {u"AutostartTimer"_s, u"0"_s},
        {u"WeiterleitungErkennen"_s, u"0"_s},
        {u"ProtokollAufruf"_s, u"^h"_s},
        {u"ProtokollSendKeys"_s, u"%D|%Datum|%U||%Uhrzeit|%y||{HOME}|%A||%y|{TAB}"_s},
        {u"ProtokollSendKeyIntervall"_s, u"150"_s},
        {u"ProtokollFensterKennung"_s, u"OK|Button|Protokoll aufzeichnen |#32770"_s},
        {u"PlusKlammerFilter"_s, u"0"_s},
    };
    for (const auto &[key, wert] : erwartet)
        QCOMPARE(u.gespeichert(o, key), wert);
    // Keys that are never written at exit stay absent.
    QCOMPARE(u.gespeichert(o, u"Stellen"_s), u"<fehlt>"_s);
    QCOMPARE(u.gespeichert(o, u"CacheMDB"_s), u"<fehlt>"_s);

    QCOMPARE(u.gespeichert(u"Window"_s, u"Left"_s), u"100"_s);
    QCOMPARE(u.gespeichert(u"Window"_s, u"Top"_s), u"100"_s);
    QCOMPARE(u.gespeichert(u"Window"_s, u"Height"_s), u"6540"_s);
    QCOMPARE(u.gespeichert(u"Window"_s, u"Width"_s), u"7575"_s);
    QCOMPARE(u.gespeichert(u"Window"_s, u"Visible"_s), u"False"_s);
}

void tst_frmHaupt::windowValues_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QRect>("opened"); // twips

    // The fake screen is 1280 x 1024 pixels at 15 twips per pixel.
    QTest::newRow("untouched values come back exactly")
        << u"1234"_s << u"2347"_s << u"9001"_s << u"7003"_s << QRect(1234, 2347, 9001, 7003);
    QTest::newRow("left below 0") << u"-500"_s << u"100"_s << u"7575"_s << u"6540"_s << QRect(0, 100, 7575, 6540);
    QTest::newRow("left beyond the screen") << u"19201"_s << u"100"_s << u"7575"_s << u"6540"_s
                                            << QRect(0, 100, 7575, 6540);
    QTest::newRow("left at the screen edge stays") << u"19200"_s << u"100"_s << u"7575"_s << u"6540"_s
                                                   << QRect(19200, 100, 7575, 6540);
    QTest::newRow("top beyond the screen") << u"100"_s << u"15361"_s << u"7575"_s << u"6540"_s
                                           << QRect(100, 0, 7575, 6540);
    QTest::newRow("not a number: default") << u"links"_s << u"1e400"_s << u""_s << u"gross"_s
                                           << QRect(100, 100, 7575, 6540);
    QTest::newRow("decimal rounds") << u"150.4"_s << u" 300 "_s << u"7575"_s << u"6540"_s
                                    << QRect(150, 300, 7575, 6540);
}

void tst_frmHaupt::windowValues()
{
    QFETCH(QString, left);
    QFETCH(QString, top);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QFETCH(QRect, opened);

    Umgebung u;
    const QString w = u"Window"_s;
    u.setze(w, u"Left"_s, left);
    u.setze(w, u"Top"_s, top);
    u.setze(w, u"Width"_s, width);
    u.setze(w, u"Height"_s, height);
    frmHaupt &f = u.starte();
    QCOMPARE(f.FensterTwips(), opened);
    QCOMPARE(f.pos(), QPoint(qRound(opened.x() / 15.0), qRound(opened.y() / 15.0)));

    f.close();
    QCOMPARE(u.gespeichert(w, u"Left"_s), QString::number(opened.x()));
    QCOMPARE(u.gespeichert(w, u"Top"_s), QString::number(opened.y()));
    QCOMPARE(u.gespeichert(w, u"Width"_s), QString::number(opened.width()));
    QCOMPARE(u.gespeichert(w, u"Height"_s), QString::number(opened.height()));
}

void tst_frmHaupt::minimisedExitKeepsWindowKeys()
{
    Umgebung u;
    const QString w = u"Window"_s;
    u.setze(w, u"Left"_s, u"1500"_s);
    u.setze(w, u"Visible"_s, u"True"_s);
    u.setze(u"Optionen"_s, u"FensterMin"_s, u"0"_s);
    frmHaupt &f = u.starte();
    f.move(300, 300);
    f.Menu(u"mnuFensterMin"_s)->trigger();
    f.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(f.isMinimized());
    f.close();

    QCOMPARE(u.gespeichert(w, u"Left"_s), u"1500"_s);
    QCOMPARE(u.gespeichert(w, u"Top"_s), u"<fehlt>"_s);
    QCOMPARE(u.gespeichert(w, u"Visible"_s), u"True"_s);
    // The options are saved all the same.
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"FensterMin"_s), u"1"_s);
}

void tst_frmHaupt::exitSequenceOrderWithActiveMonitor()
{
    Umgebung u;
    u.tapi.devices = {u"Rufmon-Simulator"_s};
    frmHaupt &f = u.starte();
    f.cmdInitTapi()->click();
    QVERIFY(f.MonitorAktiv());
    u.journal.clear();
    f.close();
    const QStringList erwartet = {u"ProtokollfensterSchliessen"_s, u"tapi.CloseLine"_s,
                                  u"tapi.ReleaseLine"_s,           u"tapi.Shutdown"_s,
                                  u"TelefondatenSchliessen"_s,     u"TelefonfelderSchliessen"_s};
    QCOMPARE(u.journal, erwartet);
}

void tst_frmHaupt::unloadRunsOnce()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    f.close();
    f.close();
    f.Form_Unload();
    QCOMPARE(u.tapi.calls.count(u"Shutdown"_s), 1);
    // A passive monitor is not closed at exit.
    QVERIFY(!u.tapi.calls.contains(u"CloseLine"_s));
}

void tst_frmHaupt::cacheFileDeletedAtStartAndExit()
{
    Umgebung u;
    const QString cache = u.dir.path() + u"/cache/RUFMON.MDB"_s;
    QDir().mkpath(u.dir.path() + u"/cache"_s);
    u.setze(u"Optionen"_s, u"CacheMDB"_s, cache);
    QFile alt(cache);
    QVERIFY(alt.open(QIODevice::WriteOnly));
    alt.write("von gestern");
    alt.close();

    frmHaupt &f = u.starte();
    QVERIFY(!QFile::exists(cache));
    QCOMPARE(modHaupt::instance().CachePfad, cache);

    QFile neu(cache);
    QVERIFY(neu.open(QIODevice::WriteOnly));
    neu.close();
    f.close();
    QVERIFY(!QFile::exists(cache));
}

void tst_frmHaupt::cacheBuiltAtStartWhenOn()
{
    Umgebung u;
    u.setze(u"Optionen"_s, u"NummernCache"_s, u"-3"_s);
    frmHaupt &f = u.starte();
    QVERIFY(u.journal.contains(u"ErstelleNummernCache"_s));
    QVERIFY(f.Menu(u"mnuNummernCache"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuNummernCacheAutomatisch"_s)->isEnabled());
    QCOMPARE(f.Panel(4)->PictureIndex(), 11);
    QCOMPARE(f.Panel(4)->ToolTipText(), u"Der Nummern-Cache wird verwendet."_s);
    f.close();
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"NummernCache"_s), u"1"_s);
}

void tst_frmHaupt::layoutSplitsSixtyForty()
{
    Umgebung u;
    u.setze(u"Window"_s, u"Height"_s, u"9000"_s);
    frmHaupt &f = u.starte();
    auto *anrufer = f.findChild<QGroupBox *>(u"frAnruferliste"_s);
    auto *aehnliche = f.findChild<QGroupBox *>(u"frAehnliche"_s);
    auto *tapi = f.findChild<QGroupBox *>(u"frTapi"_s);
    const int m = anrufer->x();
    const int innen = f.height() - f.menuBar()->height();
    const int H = innen - anrufer->y() - f.statusBar()->height() - 2 * m;

    QVERIFY(aehnliche->isVisible());
    QVERIFY2(std::abs(anrufer->height() - 0.6 * H) <= 1,
             qPrintable(u"%1 of H %2"_s.arg(anrufer->height()).arg(H)));
    QVERIFY(std::abs(aehnliche->height() - 0.4 * H) <= 1);
    QCOMPARE(aehnliche->y(), anrufer->y() + anrufer->height() + 6);
    QCOMPARE(anrufer->width(), f.width() - 2 * m);
    QCOMPARE(aehnliche->width(), anrufer->width());
    QCOMPARE(tapi->width(), anrufer->width());
    QCOMPARE(f.lvNummern()->width(), aehnliche->width() - 2 * f.lvKontakte()->x());
    QCOMPARE(f.lvNummern()->height(), anrufer->height() - 2 * f.lvNummern()->y());
    // The banner sits at the right of the device frame.
    auto *banner = f.findChild<QWidget *>(u"imBanner"_s);
    QCOMPARE(banner->x(), tapi->width() - banner->width() - tapi->x());

    // Hiding the pane gives its height to the caller list at once.
    f.Menu(u"mnuAutoNummern"_s)->trigger();
    QVERIFY(!aehnliche->isVisible());
    QVERIFY(std::abs(anrufer->height() - H) <= 1);
    f.Menu(u"mnuAutoNummern"_s)->trigger();
    QVERIFY(aehnliche->isVisible());
    QVERIFY(std::abs(anrufer->height() - 0.6 * H) <= 1);

    // Panels 1 to 3 share the width in quarters.
    const int viertel = qRound(f.width() * 15.0) / 4;
    QCOMPARE(f.Panel(1)->width(), qRound(viertel / 15.0));
    QCOMPARE(f.Panel(3)->width(), f.Panel(2)->width());
}

void tst_frmHaupt::layoutEnforcesMinimumSize()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    f.resize(7000 / 15, 6000 / 15);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), QSize(505, 436));
    f.resize(700, 600);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), QSize(700, 600));
    // Every resize restarts the timer's interval.
    QVERIFY(f.TimerACT().isTicking());
}

void tst_frmHaupt::columnWidthsAtStart()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    const int n = (f.lvNummern()->width() - 24) / 4;
    QCOMPARE(f.lvNummern()->columnWidth(0), n);
    QCOMPARE(f.lvNummern()->columnWidth(1), n + 3);
    QCOMPARE(f.lvNummern()->columnWidth(3), n);
    const int k = (f.lvKontakte()->width() - 24) / 3;
    QCOMPARE(f.lvKontakte()->columnWidth(1), k);
}

void tst_frmHaupt::pendingStartActionsRunOnce()
{
    Umgebung u;
    u.tapi.devices = {u"Rufmon-Simulator"_s};
    u.setze(u"Optionen"_s, u"AutoTapimonitor"_s, u"1"_s);
    u.setze(u"Optionen"_s, u"FensterMin"_s, u"1"_s);
    frmHaupt &f = u.starte();
    QVERIFY(f.Menu(u"mnuTapiAktivieren"_s)->isChecked());
    QVERIFY(f.Menu(u"mnuFensterMin"_s)->isChecked());
    QVERIFY(!u.tapi.calls.contains(u"OpenLine"_s));
    u.journal.clear();

    f.TimerACT_Timer();
    QCOMPARE(u.journal.mid(0, 3),
             QStringList({u"PruefeACTDatenbank"_s, u"tapi.CallPrivilege=2"_s, u"tapi.OpenLine"_s}));
    QVERIFY(f.MonitorAktiv());
    QCOMPARE(f.windowTitle(), u"Rufmon ist aktiv"_s);
    QTRY_VERIFY(f.isMinimized());

    f.TimerACT_Timer();
    QCOMPARE(u.tapi.calls.count(u"OpenLine"_s), 1);
    QCOMPARE(u.journal.count(u"PruefeACTDatenbank"_s), 2);
    QVERIFY(f.MonitorAktiv());
}

void tst_frmHaupt::pendingActivationFiresAfterTimerInterval()
{
    Umgebung u;
    u.tapi.devices = {u"Rufmon-Simulator"_s};
    u.setze(u"Optionen"_s, u"AutoTapimonitor"_s, u"1"_s);
    frmHaupt &f = u.starte();
    QTest::qWait(3000);
    QVERIFY(!u.tapi.calls.contains(u"OpenLine"_s));
    QTRY_VERIFY_WITH_TIMEOUT(u.tapi.calls.contains(u"OpenLine"_s), 4000);
    QVERIFY(f.MonitorAktiv());
}

void tst_frmHaupt::activationToggles()
{
    Umgebung u;
    u.tapi.devices = {u"Rufmon-Simulator"_s};
    frmHaupt &f = u.starte();
    f.Ereignisse().lSuche = 3;
    f.Menu(u"mnuTAPI"_s)->trigger();
    QCOMPARE(f.cmdInitTapi()->property("Tag").toString(), u"aktiv"_s);
    QVERIFY(!f.cbxTapiDevices()->isEnabled());
    QCOMPARE(f.cmdInitTapi()->toolTip(), u"Tapimonitor deaktivieren"_s);
    QCOMPARE(f.Menu(u"mnuTAPI"_s)->text(), u"&Tapimonitor deaktivieren"_s);
    QCOMPARE(f.Ereignisse().lSuche, 0);

    f.Ereignisse().lSuche = 2;
    f.cmdInitTapi()->click();
    QCOMPARE(f.cmdInitTapi()->property("Tag").toString(), u"passiv"_s);
    QVERIFY(f.cbxTapiDevices()->isEnabled());
    QCOMPARE(f.windowTitle(), u"Rufmon"_s);
    QCOMPARE(f.cmdInitTapi()->toolTip(), u"Tapimonitor aktivieren"_s);
    QCOMPARE(f.Menu(u"mnuTAPI"_s)->text(), u"&Tapimonitor aktivieren"_s);
    QCOMPARE(f.Ereignisse().lSuche, 0);
    QCOMPARE(u.tapi.calls.count(u"CloseLine"_s), 1);
}

void tst_frmHaupt::toggleCommands()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    for (const QString &name : {u"mnuFensterMin"_s, u"mnuKeineNullBeimSuchen"_s,
                                u"mnuNummernCacheAutomatisch"_s, u"mnuVerbundeneNummern"_s,
                                u"mnuAutoTimer"_s, u"mnuTapiAktivieren"_s}) {
        QAction *a = f.Menu(name);
        a->setEnabled(true);
        const bool vorher = a->isChecked();
        a->trigger();
        QVERIFY2(a->isChecked() != vorher, qPrintable(name));
    }
    f.close();
    // Toggles reach the store only at exit, then with their new marks.
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"FensterMin"_s), u"1"_s);
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"AutoTapimonitor"_s), u"1"_s);
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"NummernCacheAutomatisch"_s), u"0"_s);
}

void tst_frmHaupt::cacheMenuSwitchesWithoutBuilding()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    f.Menu(u"mnuNummernCache"_s)->trigger();
    QVERIFY(f.Menu(u"mnuNummernCache"_s)->isChecked());
    QCOMPARE(f.Panel(4)->PictureIndex(), 11);
    QVERIFY(!u.journal.contains(u"ErstelleNummernCache"_s));
    f.Menu(u"mnuNummernCache"_s)->trigger();
    QVERIFY(!f.Menu(u"mnuNummernCache"_s)->isChecked());
    QCOMPARE(f.Panel(4)->PictureIndex(), 4);
    QVERIFY(!f.Menu(u"mnuNummernCacheAutomatisch"_s)->isEnabled());
}

void tst_frmHaupt::copyCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kontakt");
    QTest::addColumn<QString>("clipboard");

    QTest::newRow("number") << u"mnuKopiereNummer"_s << u"Müller, Jürgen"_s << u"0301234567"_s;
    QTest::newRow("place") << u"mnuKopiereOrt"_s << u"Müller, Jürgen"_s << u"Berlin"_s;
    QTest::newRow("contact") << u"mnuKopiereKontakt"_s << u"Müller, Jürgen"_s << u"Müller, Jürgen"_s;
    QTest::newRow("contact and number") << u"mnuKopiereKontaktNummer"_s << u"Müller, Jürgen"_s
                                        << u"Müller, Jürgen\r\n0301234567"_s;
    QTest::newRow("empty contact and number") << u"mnuKopiereKontaktNummer"_s << QString()
                                              << u"\r\n0301234567"_s;
}

void tst_frmHaupt::copyCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, kontakt);
    QFETCH(QString, clipboard);

    Umgebung u;
    u.teile.beimOeffnen = [&](ListView &liste) {
        liste.Items().Add(eintrag(u"089123456"_s, u"05.12.2026 09:00:00"_s, u"München"_s, u"Huber"_s));
        liste.Items().Add(eintrag(u"0301234567"_s, u"06.12.2026 10:15:00"_s, u"Berlin"_s, kontakt));
    };
    frmHaupt &f = u.starte();
    // Newest first after the start.
    QCOMPARE(f.lvNummern()->Items().Item(0).Text, u"0301234567"_s);
    f.lvNummern()->setSelectedIndex(0);
    u.clipboard.SetText(u"vorher"_s);
    f.Menu(command)->trigger();
    QCOMPARE(u.clipboard.GetText(), clipboard);
    QCOMPARE(u.clipboard.clears(), 1);
}

void tst_frmHaupt::copyCommandsWithoutEntryOrSelection()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    u.clipboard.SetText(u"vorher"_s);
    for (const QString &c : {u"mnuKopiereNummer"_s, u"mnuKopiereOrt"_s, u"mnuKopiereKontakt"_s,
                             u"mnuKopiereKontaktNummer"_s})
        f.Menu(c)->trigger();
    QCOMPARE(u.clipboard.GetText(), u"vorher"_s);
    QCOMPARE(u.clipboard.clears(), 0);

    f.lvNummern()->Items().Add(eintrag(u"040123"_s, u"06.12.2026 10:15:00"_s, u"Hamburg"_s, u"X"_s));
    f.lvNummern()->clearSelection();
    f.Menu(u"mnuKopiereNummer"_s)->trigger();
    QCOMPARE(u.clipboard.GetText(), u"vorher"_s);
}

void tst_frmHaupt::statusCopy()
{
    Umgebung u;
    frmHaupt &f = u.starte();
    f.Menu(u"mnuCopyStatus"_s)->trigger();
    QCOMPARE(u.clipboard.GetText(), u"TAPI:\r\nRufmon:\r\nACT:"_s);
    QCOMPARE(u.dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box box = u.dialogs.boxes().first();
    QCOMPARE(box.text, u"Die Statusmeldungen sind in die Zwischenanblage kopiert worden."_s);
    QCOMPARE(box.title, u"Rufmon"_s);
    QCOMPARE(box.icon, Dialogs::Icon::Information);

    f.Panel(1)->setText(u"TAPI aktiv"_s);
    f.Panel(2)->setText(u"Kunden"_s);
    f.Panel(3)->setText(u"Anruf speichern ..."_s);
    f.Menu(u"mnuCopyStatus"_s)->trigger();
    QCOMPARE(u.clipboard.GetText(), u"TAPI:TAPI aktiv\r\nRufmon:Anruf speichern ...\r\nACT:Kunden"_s);
}

void tst_frmHaupt::spaltennummerAndErstesWort()
{
    Umgebung u;
    frmHaupt &f = u.erstelle();
    QCOMPARE(f.Spaltennummer(u"Nummer"_s), 0);
    QCOMPARE(f.Spaltennummer(u"Datum"_s), 1);
    QCOMPARE(f.Spaltennummer(u"Ort"_s), 2);
    QCOMPARE(f.Spaltennummer(u"Kontakt"_s), 3);
    QCOMPARE(f.Spaltennummer(u"kontakt"_s), -1);
    QCOMPARE(frmHaupt::ErstesWort(u"0301234567 [Telefon]"_s), u"0301234567"_s);
    QCOMPARE(frmHaupt::ErstesWort(u" vorne"_s), QString());
    QCOMPARE(frmHaupt::ErstesWort(u"ohneBlank"_s), u"ohneBlank"_s);
}

void tst_frmHaupt::headerClickSortsAndDoubleClickShowsContact()
{
    Umgebung u;
    u.teile.beimOeffnen = [](ListView &liste) {
        liste.Items().Add(eintrag(u"1"_s, u"31.12.2025 23:59:59"_s, u"Zürich"_s, u"A"_s));
        liste.Items().Add(eintrag(u"2"_s, u"02.01.2026 08:00:00"_s, u"Berlin"_s, u"B"_s));
        liste.Items().Add(eintrag(u"3"_s, u"01.01.2026 12:00:00"_s, u"aachen"_s, u"C"_s));
    };
    frmHaupt &f = u.starte();
    ListViewModel &items = f.lvNummern()->Items();
    const auto reihenfolge = [&] {
        QString s;
        for (int i = 0; i < items.Count(); ++i)
            s += items.Item(i).Text;
        return s;
    };
    QCOMPARE(reihenfolge(), u"231"_s);
    QCOMPARE(items.columns()[1].IconKey, u"Runter"_s);

    QHeaderView *kopf = f.lvNummern()->header();
    emit kopf->sectionClicked(1);
    QCOMPARE(reihenfolge(), u"132"_s);
    QCOMPARE(items.columns()[1].IconKey, u"Hoch"_s);
    emit kopf->sectionClicked(2);
    QCOMPARE(reihenfolge(), u"321"_s);
    QCOMPARE(items.columns()[2].IconKey, u"Runter"_s);
    QCOMPARE(items.columns()[1].IconKey, u"Leer"_s);

    QSignalSpy anzeigen(f.Menu(u"mnuACTAnzeigen"_s), &QAction::triggered);
    f.lvNummern()->setSelectedIndex(0);
    const QRect zeile = f.lvNummern()->visualRect(items.index(0, 0));
    QTest::mouseDClick(f.lvNummern()->viewport(), Qt::LeftButton, {}, zeile.center());
    QCOMPARE(anzeigen.count(), 1);
}

QTEST_MAIN(tst_frmHaupt)
#include "tst_frmHaupt.moc"
