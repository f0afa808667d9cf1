#include "core/Anruferliste.h"
#include "platform/registry/RegionalSettings.h"
#include "windows/Anruferlistenansicht.h"
#include "windows/ListView.h"
#include "windows/StatusPanel.h"
#include "app/Infobereich.h"
#include "app/frmHaupt.h"

#include "doubles/Dateien.h"
#include "doubles/Testfenster.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

using Werte = QList<std::pair<QString, QString>>;

// The shared window fixture with the shortcuts used here.
struct Fenster : Testfenster
{
    frmHaupt &starte(const Werte &optionen = {}, const QStringList &geraete = {})
    {
        tapi.devices = geraete;
        for (const auto &[key, wert] : optionen)
            setze(u"Optionen"_s, key, wert);
        return Testfenster::starte();
    }
    QString option(const QString &key) const { return gespeichert(u"Optionen"_s, key); }
    bool mark(Menuepunkt punkt) const { return fenster->Menu(punkt)->isChecked(); }
    // Caller-list rows {number, date, place, contact} as the phone database hands them over.
    void anrufer(const QList<QStringList> &zeilen)
    {
        teile.beimOeffnen = [zeilen](Anruferliste &liste) {
            std::vector<Anruf> anrufe;
            for (const QStringList &z : zeilen)
                anrufe.push_back(anruf(z));
            liste.ersetzen(std::move(anrufe));
        };
    }
    static Anruf anruf(const QStringList &z)
    {
        Anruf a;
        a.nummer = z[0];
        a.zeit = RegionalSettings::ParseDateTime(z[1]).value_or(QDateTime());
        a.ort = z[2];
        a.name = z[3];
        a.ergebnis = Anruf::Ergebnis::Unbekannt;
        a.bild = 2;
        return a;
    }
    // An entry of the similar contacts {number, contact, company}.
    static ListItem eintrag(const QStringList &z)
    {
        ListItem item;
        item.Text = z[0];
        item.SubItems = z.mid(1);
        item.SmallIcon = 2;
        return item;
    }
};

// What the clamping of the window corner reckons with, as the window does.
int titelHoehe()
{
    QWidget w;
    return std::max(w.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &w), w.fontMetrics().height());
}
int mindestBreite()
{
    Fenster u;
    return u.erstelle().Mindestgroesse().width();
}

} // namespace

class tst_frmHaupt : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void freshStore()
    {
        Fenster u;
        frmHaupt &f = u.starte();
        QVERIFY(!f.Menu(Menuepunkt::mnuNummernCacheAutomatisch)->isEnabled());
        QVERIFY(!u.journal.contains(u"ErstelleNummernCache"_s));
        QVERIFY(!u.mark(Menuepunkt::mnuTAPIProtokoll));
        QVERIFY(!f.AutoAktivierenOffen && !f.MinimierenOffen);
        QVERIFY(!f.findChild<QWidget *>(u"frmStatus"_s));
        QVERIFY(u.dialogs.boxes().isEmpty());
        // The right-click menus are not shown in the menu bar.
        QVERIFY(!f.Menu(Menuepunkt::mnuStatusKopieren)->isVisible() && !f.Menu(Menuepunkt::mnuMenueAehnliche)->isVisible());
        QVERIFY(f.Menu(Menuepunkt::mnuPopupListe)->isVisible());

        f.close();
        // A passive monitor is not closed at exit.
        QVERIFY(!u.tapi.calls.contains(u"CloseLine"_s));
        const Werte erwartet = {
            {u"NummernCache"_s, u"0"_s}, {u"NummernCacheAutomatisch"_s, u"1"_s},
            {u"Null"_s, u"0"_s}, {u"AutoNummern"_s, u"1"_s}, {u"AutoTapimonitor"_s, u"0"_s},
            {u"FensterMin"_s, u"0"_s}, {u"KeineNullBeimSuchen"_s, u"0"_s}, {u"AutostartTimer"_s, u"0"_s},
            {u"WeiterleitungErkennen"_s, u"0"_s}, {u"PlusKlammerFilter"_s, u"0"_s},
            // Never written at exit.
            {u"Stellen"_s, u"<fehlt>"_s}, {u"CacheMDB"_s, u"<fehlt>"_s}};
        for (const auto &[key, wert] : erwartet)
            QCOMPARE(u.option(key), wert);
        // The key macro's settings are written with their defaults, for the user to find and edit.
        for (const QString &key : {u"ProtokollAufruf"_s, u"ProtokollSendKeys"_s, u"ProtokollSendKeyIntervall"_s,
                                   u"ProtokollFensterKennung"_s})
            QCOMPARE(u.option(key), f.Optionen().leseOption(key).toString());
        QCOMPARE(u.gespeichert(u"Window"_s, u"Visible"_s), u"False"_s);
    }

    // The menu item writes and removes the desktop's autostart entry; its mark shows the entry.
    void autostartEntry()
    {
        QTemporaryDir konfig;
        const QByteArray vorher = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", konfig.path().toLocal8Bit());
        const auto zurueck = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", vorher); });
        const QString eintrag = konfig.filePath(u"autostart/rufmon.desktop"_s);
        Fenster u;
        frmHaupt &f = u.starte();
        QVERIFY(!u.mark(Menuepunkt::mnuAutostart));
        f.Menu(Menuepunkt::mnuAutostart)->trigger();
        QVERIFY(u.mark(Menuepunkt::mnuAutostart));
        const QString text = QString::fromUtf8(dateiInhalt(eintrag));
        QVERIFY(text.startsWith(u"[Desktop Entry]\n"_s));
        QVERIFY(text.contains(u"\nExec="_s + QCoreApplication::applicationFilePath() + u'\n'));
        f.Menu(Menuepunkt::mnuAutostart)->trigger();
        QVERIFY(!u.mark(Menuepunkt::mnuAutostart));
        QVERIFY(!QFile::exists(eintrag));
        // An entry made outside the program shows at the next start.
        QVERIFY(QDir().mkpath(QFileInfo(eintrag).path()) && schreibeDatei(eintrag, {}));
        Fenster wieder;
        wieder.starte();
        QVERIFY(wieder.mark(Menuepunkt::mnuAutostart));
    }

    void startAndExitSequences()
    {
        Fenster u;
        // The cache file's place is handed over before the cache is built, and the file goes at exit.
        const QString cache = u.dir.path() + u"/RUFMON.MDB"_s;
        frmHaupt &f = u.starte({{u"TapiDevice"_s, u"Gerät A"_s}, {u"NummernCache"_s, u"-3"_s}, {u"CacheMDB"_s, cache}},
                               {u"Gerät A"_s});
        QCOMPARE(u.journal, QStringList({u"tapi.Initialize"_s, u"TelefondatenOeffnen"_s, u"tapi.DeviceIndex=0"_s,
                                         u"TelefonfelderLaden"_s, u"ACTMonitorInitialisieren"_s,
                                         u"NummernCacheVorbereiten("_s + cache + u')', u"ErstelleNummernCache"_s}));
        QCOMPARE(u.teile.telefondatenPfad, u.system.ProgramFolder() + u"/Nummern.mdb"_s);
        // Any stored value but 0 switches the cache on (and 1 is written at exit).
        QVERIFY(f.Menu(Menuepunkt::mnuNummernCacheAutomatisch)->isEnabled());

        f.cmdInitTapi()->click();
        QVERIFY(f.MonitorAktiv());
        u.journal.clear();
        // Several close requests run the exit sequence once.
        f.close();
        f.close();
        f.Form_Unload();
        QCOMPARE(u.journal, QStringList({u"TelefonieprotokollSchliessen"_s, u"tapi.CloseLine"_s,
                                         u"tapi.ReleaseLine"_s, u"tapi.Shutdown"_s, u"TelefondatenSchliessen"_s,
                                         u"TelefonfelderSchliessen"_s, u"NummernCacheEntfernen"_s}));
        QCOMPARE(u.option(u"NummernCache"_s), u"1"_s);
    }

    void deviceSelection_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("driverCaption");

        const QStringList drei = {u"Rufmon-Simulator"_s, u"Anrufmonitor fritz.box:1012"_s, u"Modem /dev/ttyACM0"_s};
        QTest::newRow("nothing stored: none chosen") << drei << QString() << -1 << u"T&API ()"_s;
        QTest::newRow("stored gone: first") << drei << u"ISDN-Karte"_s << 0 << u"T&API (Rufmon-Simulator)"_s;
        QTest::newRow("exact comparison") << drei << u"rufmon-simulator"_s << 0 << u"T&API (Rufmon-Simulator)"_s;
        QTest::newRow("no devices") << QStringList() << u"Rufmon-Simulator"_s << -1 << u"T&API ()"_s;
    }

    void deviceSelection()
    {
        QFETCH(QStringList, devices);
        QFETCH(QString, stored);
        QFETCH(int, selected);

        Fenster u;
        frmHaupt &f = u.starte({{u"TapiDevice"_s, stored}}, devices);
        QCOMPARE(f.cbxTapiDevices()->currentIndex(), selected);
        if (selected < 0)
            QVERIFY(!u.tapi.calls.join(u',').contains(u"DeviceIndex"_s));
        else
            QVERIFY(u.journal.contains(u"tapi.DeviceIndex=%1"_s.arg(selected)));
        QTEST(f.Menu(Menuepunkt::mnuTapiTreiber)->text(), "driverCaption");
        f.close();
        // The device box's text is what is saved, also when it is empty.
        QCOMPARE(u.option(u"TapiDevice"_s), devices.value(selected));
    }

    void nullOption_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("add");
        QTest::addColumn<bool>("remove");
        QTest::addColumn<QString>("writtenAtExit");

        QTest::newRow("1") << u"1"_s << true << false << u"1"_s;
        QTest::newRow("-1") << u"-1"_s << false << true << u"-1"_s;
        // Neither item is touched: both keep the mark they were created with,
        // and the checked remove item wins at exit.
        QTest::newRow("2") << u"2"_s << true << true << u"-1"_s;
    }

    void nullOption()
    {
        QFETCH(QString, stored);

        Fenster u;
        frmHaupt &f = u.starte({{u"Null"_s, stored}});
        QTEST(u.mark(Menuepunkt::mnuTapiNull), "add");
        QTEST(u.mark(Menuepunkt::mnuTAPINullEntfernen), "remove");
        f.close();
        QTEST(u.option(u"Null"_s), "writtenAtExit");
    }

    void optionsIntoMenus()
    {
        Fenster u;
        frmHaupt &f = u.starte({{u"AutoNummern"_s, u"0"_s}, {u"KeineNullBeimSuchen"_s, u"1"_s},
                                {u"Prefix"_s, u"+49"_s}, {u"NummernCacheAutomatisch"_s, u"0"_s},
                                {u"Nummernfilter"_s, u"0301234,0800"_s}, {u"AutostartTimer"_s, u"1"_s},
                                {u"PlusKlammerFilter"_s, u" 1"_s}, {u"WeiterleitungErkennen"_s, u"1.0"_s}});
        QVERIFY(f.Menu(Menuepunkt::mnuTAPINullEntfernen)->text().contains(u"(+49)"_s));
        QCOMPARE(u.leitung->Nummern().Filtertext(), u"0301234,0800"_s);
        // The similar-numbers pane follows its option from the start.
        QVERIFY(!f.findChild<QGroupBox *>(u"frAehnliche"_s)->isVisible());

        f.close();
        // The marks, as read, are written as 0/1.
        const Werte erwartet = {{u"AutoNummern"_s, u"0"_s}, {u"KeineNullBeimSuchen"_s, u"1"_s},
                                {u"NummernCacheAutomatisch"_s, u"0"_s}, {u"AutostartTimer"_s, u"1"_s},
                                {u"PlusKlammerFilter"_s, u"1"_s}, {u"WeiterleitungErkennen"_s, u"1"_s}};
        for (const auto &[key, wert] : erwartet)
            QCOMPARE(u.option(key), wert);
    }

    void windowValues_data()
    {
        QTest::addColumn<QStringList>("stored"); // Left, Top, Width, Height
        QTest::addColumn<QRect>("opened");       // twips

        // The fake screen is 1280 x 1024 pixels at 15 twips per pixel.
        const auto zeile = [](const char *name, const QString &l, const QString &t, const QString &w,
                              const QString &h, QRect r) { QTest::newRow(name) << QStringList{l, t, w, h} << r; };
        zeile("untouched values come back exactly", u"1234"_s, u"2347"_s, u"9001"_s, u"7003"_s,
              {1234, 2347, 9001, 7003});
        zeile("left below 0, top beyond the screen", u"-500"_s, u"15361"_s, u"7575"_s, u"6540"_s, {0, 0, 7575, 6540});
        // A corner kept by the screen bounds still moves so far that the title bar is
        // on the free part of the screen (1280 x 984 above the task bar).
        const auto frei = [](int breite) { return QPoint((1280 - breite) * 15, 984 * 15 - 15 * titelHoehe()); };
        zeile("left beyond, top at the edge", u"19201"_s, u"15360"_s, u"7575"_s, u"6540"_s,
              {0, frei(0).y(), 7575, 6540});
        zeile("left at the edge, top below 0", u"19200"_s, u"-1"_s, u"7575"_s, u"6540"_s,
              {frei(mindestBreite()).x(), 0, 7575, 6540});
        zeile("not a number: default", u"links"_s, u"1e400"_s, u""_s, u"gross"_s, {100, 100, 7575, 6540});
        zeile("decimal rounds", u"150.4"_s, u" 300 "_s, u"7575"_s, u"6540"_s, {150, 300, 7575, 6540});
    }

    void windowValues()
    {
        QFETCH(QStringList, stored);
        QFETCH(QRect, opened);

        const QStringList keys = {u"Left"_s, u"Top"_s, u"Width"_s, u"Height"_s};
        Fenster u;
        for (int i = 0; i < keys.size(); ++i)
            u.setze(u"Window"_s, keys[i], stored[i]);
        frmHaupt &f = u.starte();
        QCOMPARE(f.FensterTwips(), opened);
        QCOMPARE(f.frameGeometry().topLeft(), QPoint(qRound(opened.x() / 15.0), qRound(opened.y() / 15.0)));
        f.close();
        const QList<int> werte = {opened.x(), opened.y(), opened.width(), opened.height()};
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(u.gespeichert(u"Window"_s, keys[i]), QString::number(werte[i]));
    }

    // Each start puts the frame where the last exit found it, on a desktop
    // that puts a frame round the window: the window does not creep.
    void framePositionRoundTrip()
    {
        Fenster u;
        u.setze(u"Window"_s, u"Left"_s, u"1500"_s);
        u.setze(u"Window"_s, u"Top"_s, u"3000"_s);
        const auto ecke = [&u] { return u.gespeichert(u"Window"_s, u"Left"_s) + u',' + u.gespeichert(u"Window"_s, u"Top"_s); };
        for (int start = 0; start < 3; ++start) {
            // Each start reads the file the last exit wrote.
            u.store = std::make_unique<IniSettingsStore>(u.konfiguration());
            frmHaupt &f = u.starte();
            QCOMPARE(f.frameGeometry().topLeft(), QPoint(100, 200));
            QVERIFY2(f.geometry().topLeft() != f.frameGeometry().topLeft(), "the platform shows no frame");
            f.close();
            QCOMPARE(ecke(), u"1500,3000"_s);
        }
        // A window the user moved saves its frame's corner.
        u.store = std::make_unique<IniSettingsStore>(u.konfiguration());
        frmHaupt &f = u.starte();
        f.move(40, 60);
        QTRY_COMPARE(f.frameGeometry().topLeft(), QPoint(40, 60));
        f.close();
        QCOMPARE(ecke(), u"600,900"_s);
    }

    // At the window's smallest size the caller list shows a 16-digit number, a
    // call's date and time and a name of 25 characters whole; the place gives
    // way and shows its whole text as the tool tip.
    void columnsFitTheirTexts_data()
    {
        QTest::addColumn<QString>("kontakt");
        QTest::newRow("long surname") << u"Hannelore Schwarzenberger"_s;
        QTest::newRow("double name") << u"Karl-Heinz Müller-Barthel"_s;
        QTest::newRow("with company") << u"Dr. Ingrid Wagner (Stadt)"_s;
    }
    void columnsFitTheirTexts()
    {
        QFETCH(QString, kontakt);
        QCOMPARE(kontakt.size(), 25);
        Fenster u;
        const QString ort = u"Österreich/Steiermark/Graz-Umgebung"_s;
        u.anrufer({{u"0043316123456789"_s, u"28.12.2026 23:58:58"_s, ort, kontakt},
                   {u"0301234567"_s, u"06.12.2026 10:15:00"_s, u"Berlin"_s, u"Unbekannt"_s}});
        frmHaupt &f = u.starte();
        ListView *liste = f.lvNummern();
        Spaltenmodell &items = liste->Spalten();
        // What the list itself measures for its rows.
        const auto bedarf = [liste](int spalte) { return static_cast<QAbstractItemView *>(liste)->sizeHintForColumn(spalte); };
        for (const QString &key : {u"Nummer"_s, u"Datum"_s, u"Kontakt"_s}) {
            const int spalte = items.columnByKey(key);
            QVERIFY2(liste->columnWidth(spalte) >= bedarf(spalte),
                     qPrintable(u"%1: %2 < %3"_s.arg(key).arg(liste->columnWidth(spalte)).arg(bedarf(spalte))));
            QVERIFY(liste->VollerText(items.index(0, spalte)).isEmpty());
        }
        // The columns stay inside the list beside its scroll bar.
        int summe = 0;
        for (int i = 0; i < items.columnCount(); ++i)
            summe += liste->columnWidth(i);
        QVERIFY2(summe <= liste->viewport()->width(), qPrintable(QString::number(summe)));
        QCOMPARE(liste->VollerText(items.index(0, items.columnByKey(u"Ort"_s))), ort);
        QCOMPARE(liste->VollerText(items.index(1, items.columnByKey(u"Ort"_s))), QString());
    }

    // The status texts show whole at the smallest size; what is too long for
    // its panel ends in "…" and shows whole in the tool tip.
    void statusPanelsShowTheirTexts()
    {
        Fenster u;
        frmHaupt &f = u.starte();
        StatusPanel *telefon = f.Panel(frmHaupt::Statusfeld::Telefon);
        StatusPanel *act = f.Panel(frmHaupt::Statusfeld::ACT);
        StatusPanel *meldung = f.Panel(frmHaupt::Statusfeld::Meldung);
        telefon->setPicture(f.ilIcons().Picture(5), 5);
        act->setPicture(f.ilIcons().Picture(8), 8);
        telefon->setText(u"9. Klingeln"_s);
        for (const QString &text : {u"Kein ACT! gestartet"_s, u"Keine ACT!-Datenbank geöffnet"_s}) {
            act->setText(text);
            for (const QString &nachricht : {u"Protokollfenster konnte nicht geöffnet werden."_s,
                                             u"Keine ähnlichen Nummern gefunden"_s}) {
                meldung->setText(nachricht);
                for (StatusPanel *p : {telefon, act, meldung})
                    QVERIFY2(!p->Gekuerzt(), qPrintable(p->Text()));
            }
        }
        const QString pfad = u"/home/buero/Dokumente/ACT-Daten/Kunden 2026/Hauptkunden/KUNDEN.dbf"_s;
        act->setToolTipText(pfad);
        act->setText(pfad);
        QVERIFY(act->Gekuerzt());
        QCOMPARE(act->Text(), pfad);
        QCOMPARE(act->AngezeigterToolTip(), pfad);
        // A tool tip that says something else keeps its say below the whole text.
        telefon->setToolTipText(u"Leitung 1"_s);
        telefon->setText(u"Leitung verloren from Anrufmonitor fritz.box:1012 #1013"_s);
        QVERIFY(telefon->Gekuerzt());
        QCOMPARE(telefon->AngezeigterToolTip(), telefon->Text() + u"\nLeitung 1"_s);
        // A window whose quarter holds the text shows it whole again.
        f.resize(4 * telefon->Textbedarf(telefon->Text(), true) + 40, f.height());
        QTRY_VERIFY(!telefon->Gekuerzt());
        QCOMPARE(telefon->AngezeigterToolTip(), u"Leitung 1"_s);
    }

    void minimisedExitKeepsWindowKeys()
    {
        Fenster u;
        u.setze(u"Window"_s, u"Left"_s, u"1500"_s);
        u.setze(u"Window"_s, u"Visible"_s, u"True"_s);
        frmHaupt &f = u.starte({{u"FensterMin"_s, u"0"_s}});
        f.move(300, 300);
        f.Menu(Menuepunkt::mnuFensterMin)->trigger();
        f.setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(f.isMinimized());
        f.close();
        QCOMPARE(u.gespeichert(u"Window"_s, u"Left"_s), u"1500"_s);
        QCOMPARE(u.gespeichert(u"Window"_s, u"Top"_s), u"<fehlt>"_s);
        QCOMPARE(u.gespeichert(u"Window"_s, u"Visible"_s), u"True"_s);
        // The options are saved all the same.
        QCOMPARE(u.option(u"FensterMin"_s), u"1"_s);
    }

    // A window in the tray is minimised only as far as the desktop knows;
    // ended from the tray's menu, it keeps the place it had on the screen.
    void exitFromTheTraySavesWindowKeys()
    {
        Fenster u;
        u.setze(u"Window"_s, u"Left"_s, u"1500"_s);
        frmHaupt &f = u.starte();
        f.move(300, 200);
        const QRect twips = f.FensterTwips();
        f.setInsInfobereich(true);
        f.showMinimized();
        QTRY_VERIFY(f.ImInfobereich());
        QVERIFY(f.isMinimized());
        f.close();
        QCOMPARE(u.gespeichert(u"Window"_s, u"Left"_s), QString::number(twips.x()));
        QCOMPARE(u.gespeichert(u"Window"_s, u"Top"_s), QString::number(twips.y()));
        QCOMPARE(u.gespeichert(u"Window"_s, u"Width"_s), QString::number(twips.width()));
    }

    // The option is the truth: set elsewhere, its menu item shows it; a click changes it.
    void menusShowTheOptions_data()
    {
        using S = Optionsschalter::Schalter;
        QTest::addColumn<int>("punkt");
        QTest::addColumn<S>("schalter");
        const QList<QPair<Menuepunkt, S>> paare = {
            {Menuepunkt::mnuAutoNummern, S::AehnlicheNummern},
            {Menuepunkt::mnuVerbundeneNummern, S::VerbundeneNummern},
            {Menuepunkt::mnuAutoTimer, S::ACTTimer},
            {Menuepunkt::mnuBenachrichtigung, S::Benachrichtigung},
            {Menuepunkt::mnuTapiAktivieren, S::MonitorAutomatisch},
            {Menuepunkt::mnuFensterMin, S::FensterMinimieren},
            {Menuepunkt::mnuNummernCache, S::NummernCache},
            {Menuepunkt::mnuNummernCacheAutomatisch, S::NummernCacheAutomatisch},
            {Menuepunkt::mnuTAPIProtokoll, S::Telefonieprotokoll},
            {Menuepunkt::mnuTapiNull, S::PraefixHinzufuegen},
            {Menuepunkt::mnuTAPINullEntfernen, S::PraefixEntfernen},
            {Menuepunkt::mnuTAPIPlusKlammerFilter, S::PlusKlammerFilter},
            {Menuepunkt::mnuKeineNullBeimSuchen, S::KeineNullBeimSuchen},
        };
        for (const auto &[punkt, schalter] : paare)
            QTest::newRow(qPrintable(Objektname(punkt))) << int(punkt) << schalter;
    }

    void menusShowTheOptions()
    {
        QFETCH(int, punkt);
        QFETCH(Optionsschalter::Schalter, schalter);
        const auto p = static_cast<Menuepunkt>(punkt);
        Fenster u;
        frmHaupt &f = u.starte();
        // Its automatic update is offered only while the cache is used.
        if (schalter == Optionsschalter::Schalter::NummernCacheAutomatisch)
            u.schalter->setzen(Optionsschalter::Schalter::NummernCache, true);
        const bool vorher = u.schalter->gesetzt(schalter);
        QCOMPARE(u.mark(p), vorher);
        u.schalter->setzen(schalter, !vorher);
        QCOMPARE(u.mark(p), !vorher);
        f.Menu(p)->trigger();
        QCOMPARE(u.schalter->gesetzt(schalter), vorher);
        QCOMPARE(u.mark(p), vorher);
    }

    // The options a start reads are the ones the last exit wrote, whichever way they were changed.
    void optionsOutliveARestart()
    {
        using S = Optionsschalter::Schalter;
        Fenster u;
        frmHaupt &f = u.starte();
        f.Menu(Menuepunkt::mnuKeineNullBeimSuchen)->trigger();
        u.schalter->setzen(S::VerbundeneNummern, true);
        u.schalter->setzen(S::AehnlicheNummern, false);
        f.close();
        frmHaupt &wieder = u.starte();
        QVERIFY(u.schalter->gesetzt(S::KeineNullBeimSuchen) && u.mark(Menuepunkt::mnuKeineNullBeimSuchen));
        QVERIFY(u.schalter->gesetzt(S::VerbundeneNummern) && u.mark(Menuepunkt::mnuVerbundeneNummern));
        QVERIFY(!u.schalter->gesetzt(S::AehnlicheNummern) && !u.mark(Menuepunkt::mnuAutoNummern));
        QVERIFY(!wieder.findChild<QGroupBox *>(u"frAehnliche"_s)->isVisible());
    }

    void similarPaneFollowsItsMenu()
    {
        Fenster u;
        frmHaupt &f = u.starte();
        auto *anrufer = f.findChild<QGroupBox *>(u"frAnruferliste"_s);
        auto *aehnliche = f.findChild<QGroupBox *>(u"frAehnliche"_s);
        const int geteilt = anrufer->height();
        // Hiding the pane gives its height to the caller list at once, showing it takes it back.
        f.Menu(Menuepunkt::mnuAutoNummern)->trigger();
        QVERIFY(!aehnliche->isVisible());
        QVERIFY2(anrufer->height() > geteilt + aehnliche->height() / 2, qPrintable(QString::number(anrufer->height())));
        f.Menu(Menuepunkt::mnuAutoNummern)->trigger();
        QVERIFY(aehnliche->isVisible());
        QCOMPARE(anrufer->height(), geteilt);
    }

    void pendingStartActions()
    {
        Fenster u;
        frmHaupt &f = u.starte({{u"AutoTapimonitor"_s, u"1"_s}, {u"FensterMin"_s, u"1"_s}}, {u"Rufmon-Simulator"_s});
        QVERIFY(u.mark(Menuepunkt::mnuTapiAktivieren) && u.mark(Menuepunkt::mnuFensterMin));
        // Both wait for the running timer's first tick ...
        QVERIFY(f.TimerACT().isTicking());
        QVERIFY(!f.MonitorAktiv() && !f.isMinimized());
        u.journal.clear();
        emit f.TimerACT().Timer();
        QCOMPARE(u.journal.mid(0, 2), QStringList({u"PruefeACTDatenbank"_s, u"tapi.OpenLine"_s}));
        QVERIFY(f.MonitorAktiv());
        // The panel says so at once, not only after the first call.
        QCOMPARE(f.Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"TAPI aktiv"_s);
        QTRY_VERIFY(f.isMinimized());
        // ... and run once only.
        f.showNormal();
        QTRY_VERIFY(!f.isMinimized());
        emit f.TimerACT().Timer();
        QCOMPARE(u.tapi.calls.count(u"OpenLine"_s), 1);
        QVERIFY(f.MonitorAktiv() && !f.isMinimized());
    }

    void activationToggles()
    {
        Fenster u;
        frmHaupt &f = u.starte({}, {u"Rufmon-Simulator"_s});
        const auto zustand = [&] {
            return u"%1, Geräte %2, Suche %3"_s.arg(f.MonitorAktiv() ? u"aktiv"_s : u"passiv"_s,
                                                    f.cbxTapiDevices()->isEnabled() ? u"frei"_s : u"fest"_s)
                .arg(u.leitung->Ereignisse().lSuche);
        };
        StatusPanel *telefon = f.Panel(frmHaupt::Statusfeld::Telefon);
        // Either way a caller search in progress is dropped.
        u.leitung->Ereignisse().lSuche = 3;
        f.Menu(Menuepunkt::mnuTAPI)->trigger();
        QCOMPARE(zustand(), u"aktiv, Geräte fest, Suche 0"_s);
        QCOMPARE(telefon->Text(), u"TAPI aktiv"_s);
        QCOMPARE(telefon->PictureIndex(), 4);
        u.leitung->Ereignisse().lSuche = 2;
        f.cmdInitTapi()->click();
        QCOMPARE(zustand(), u"passiv, Geräte frei, Suche 0"_s);
        QCOMPARE(u.tapi.calls.count(u"CloseLine"_s), 1);
        // Off, the panel claims nothing about the line.
        QCOMPARE(telefon->Text(), QString());
        QCOMPARE(telefon->ToolTipText(), QString());
        QCOMPARE(telefon->PictureIndex(), 0);

        // A line whose connection is still being made says so, not "TAPI aktiv".
        u.tapi.verbunden = false;
        f.cmdInitTapi()->click();
        QCOMPARE(telefon->Text(), u"Verbindungsaufbau ..."_s);
        emit u.tapi.OnLineConnection(false, u"Verbindung abgelehnt"_s);
        QCOMPARE(telefon->Text(), u"Keine Verbindung: Verbindung abgelehnt"_s);
        QVERIFY(telefon->ToolTipText().contains(u"Rufmon versucht es weiter"_s));
        u.tapi.verbunden = true;
        emit u.tapi.OnLineConnection(true, QString());
        QCOMPARE(telefon->Text(), u"TAPI aktiv"_s);
        f.cmdInitTapi()->click();
        QCOMPARE(telefon->Text(), QString());

        // A line the device refuses leaves the monitor off, ready for the next try.
        u.tapi.oeffnetLeitung = false;
        f.cmdInitTapi()->click();
        QCOMPARE(zustand(), u"passiv, Geräte frei, Suche 0"_s);
        QCOMPARE(f.windowTitle(), u"Rufmon"_s);
        QVERIFY(!f.MonitorAktiv());
    }

    void toggleCommands()
    {
        Fenster u;
        frmHaupt &f = u.starte();
        // The cache menu switches the cache without building it.
        f.Menu(Menuepunkt::mnuNummernCache)->trigger();
        QCOMPARE(f.Panel(frmHaupt::Statusfeld::Cache)->PictureIndex(), 11);
        QVERIFY(f.Menu(Menuepunkt::mnuNummernCacheAutomatisch)->isEnabled());
        QVERIFY(!u.journal.contains(u"ErstelleNummernCache"_s));
        f.Menu(Menuepunkt::mnuNummernCache)->trigger();
        QCOMPARE(f.Panel(frmHaupt::Statusfeld::Cache)->PictureIndex(), 4);
        QVERIFY(!f.Menu(Menuepunkt::mnuNummernCacheAutomatisch)->isEnabled());

        // A start option reaches the store at exit with its new mark.
        f.Menu(Menuepunkt::mnuTapiAktivieren)->trigger();
        f.close();
        QCOMPARE(u.option(u"AutoTapimonitor"_s), u"1"_s);
    }

    // Every menu, the tray's too: an item this edition added takes a letter
    // that no other item of its menu has; the specified captions keep the
    // clashes they were written with. The driver menu keeps its letter
    // whatever the device is called.
    void mnemonicsAreFreeInTheirMenu()
    {
        Fenster u;
        frmHaupt &f = u.starte({{u"TapiDevice"_s, u"Fax & Modem"_s}}, {u"Fax & Modem"_s});
        QAction *treiber = f.Menu(Menuepunkt::mnuTapiTreiber);
        QCOMPARE(treiber->text(), u"T&API (Fax && Modem)"_s);
        QCOMPARE(QKeySequence::mnemonic(treiber->text()), QKeySequence(Qt::ALT | Qt::Key_A));
        Infobereich tray(f, u.tapi, true);

        // Menu and letter: ähnliche &Nummern suchen / Rufmon &Nummern; &Protokoll /
        // &Pluszeichen und Klammern filtern; &Kontakt anzeigen / Eintrag &kopieren.
        const QStringList erlaubt = {u"mnuOptionen: Alt+N"_s, u"mnuTapiTreiber: Alt+P"_s, u"mnuPopupListe: Alt+K"_s};
        QList<QPair<QString, QList<QAction *>>> menues = {{u"Menüleiste"_s, f.menuBar()->actions()},
                                                          {u"mnuInfobereich"_s, tray.Menue()->actions()}};
        for (QMenu *m : f.findChildren<QMenu *>())
            menues.append({m->objectName(), m->actions()});
        QStringList doppelt;
        int buchstaben = 0;
        for (const auto &[menue, eintraege] : menues) {
            QMap<QString, QStringList> nachBuchstabe;
            for (QAction *a : eintraege) {
                const QKeySequence taste = QKeySequence::mnemonic(a->text());
                if (!a->isSeparator() && !taste.isEmpty())
                    nachBuchstabe[taste.toString()].append(a->objectName());
            }
            buchstaben += nachBuchstabe.size();
            for (auto it = nachBuchstabe.cbegin(); it != nachBuchstabe.cend(); ++it) {
                const QString fall = menue + u": "_s + it.key();
                if (it.value().size() > 1 && !erlaubt.contains(fall))
                    doppelt << fall + u" ("_s + it.value().join(u", "_s) + u')';
            }
        }
        QVERIFY2(doppelt.isEmpty(), qPrintable(doppelt.join(u"; "_s)));
        // The walk saw the menus: every specified item with a letter at the least.
        QVERIFY2(buchstaben > 30, qPrintable(QString::number(buchstaben)));
    }

    void copyCommands_data()
    {
        QTest::addColumn<Menuepunkt>("command");
        QTest::addColumn<QString>("kontakt");
        QTest::addColumn<int>("gewaehlt");
        QTest::addColumn<QString>("clipboard");

        // The newest call comes first after the start; without a selection the clipboard keeps what it had.
        const QString mueller = u"Müller, Jürgen"_s, nummer = u"0301234567"_s;
        const Menuepunkt kn = Menuepunkt::mnuKopiereKontaktNummer;
        QTest::newRow("number") << Menuepunkt::mnuKopiereNummer << mueller << 0 << nummer;
        QTest::newRow("place") << Menuepunkt::mnuKopiereOrt << mueller << 0 << u"Berlin"_s;
        QTest::newRow("contact") << Menuepunkt::mnuKopiereKontakt << mueller << 0 << mueller;
        QTest::newRow("contact and number") << kn << mueller << 0 << mueller + u"\r\n"_s + nummer;
        QTest::newRow("empty contact and number") << kn << QString() << 0 << u"\r\n"_s + nummer;
        QTest::newRow("number, nothing selected") << Menuepunkt::mnuKopiereNummer << mueller << -1 << u"vorher"_s;
        QTest::newRow("contact and number, nothing selected") << kn << mueller << -1 << u"vorher"_s;
        // The status panels, with a box that says so.
        QTest::newRow("status") << Menuepunkt::mnuCopyStatus << mueller << -1
                                << u"TAPI:TAPI aktiv\r\nRufmon:Anruf speichern ...\r\nACT:Kunden"_s;
    }

    void copyCommands()
    {
        QFETCH(Menuepunkt, command);
        QFETCH(QString, kontakt);
        QFETCH(int, gewaehlt);
        QFETCH(QString, clipboard);

        Fenster u;
        u.anrufer({{u"089123456"_s, u"05.12.2026 09:00:00"_s, u"München"_s, u"Huber"_s},
                   {u"0301234567"_s, u"06.12.2026 10:15:00"_s, u"Berlin"_s, kontakt}});
        frmHaupt &f = u.starte();
        f.Panel(frmHaupt::Statusfeld::Telefon)->setText(u"TAPI aktiv"_s);
        f.Panel(frmHaupt::Statusfeld::ACT)->setText(u"Kunden"_s);
        f.Panel(frmHaupt::Statusfeld::Meldung)->setText(u"Anruf speichern ..."_s);
        f.lvNummern()->setSelectedIndex(gewaehlt);
        u.clipboard.SetText(u"vorher"_s);
        f.Menu(command)->trigger();
        QCOMPARE(u.clipboard.GetText(), clipboard);
        const bool status = command == Menuepunkt::mnuCopyStatus;
        QCOMPARE(u.clipboard.clears(), gewaehlt < 0 && !status ? 0 : 1);
        QCOMPARE(u.dialogs.boxes().size(), status ? 1 : 0);
    }

    void headerClickSortsAndDoubleClickShowsContact()
    {
        Fenster u;
        u.anrufer({{u"1"_s, u"31.12.2025 23:59:59"_s, u"Zürich"_s, u"A"_s},
                   {u"2"_s, u"02.01.2026 08:00:00"_s, u"Berlin"_s, u"B"_s},
                   {u"3"_s, u"01.01.2026 12:00:00"_s, u"aachen"_s, u"C"_s}});
        frmHaupt &f = u.starte();
        AnruferlisteModell &items = f.lvNummern()->Modell();
        // Newest first at start, by time, not text; a click on the date header turns it round.
        QCOMPARE(items.AnrufIn(0).nummer, u"2"_s);
        emit f.lvNummern()->header()->sectionClicked(1);
        QCOMPARE(items.AnrufIn(0).nummer, u"1"_s);

        QSignalSpy anzeigen(f.Menu(Menuepunkt::mnuACTAnzeigen), &QAction::triggered);
        f.lvNummern()->setSelectedIndex(0);
        const QRect zeile = f.lvNummern()->visualRect(items.index(0, 0));
        QTest::mouseDClick(f.lvNummern()->viewport(), Qt::LeftButton, {}, zeile.center());
        QCOMPARE(anzeigen.count(), 1);
    }

    // The lists by keyboard: Return runs what the double click runs, the menu
    // key and Shift+F10 open the list's right-click menu at the selected
    // entry, wherever the mouse pointer is.
    void listsByKeyboard_data()
    {
        QTest::addColumn<QString>("liste");
        QTest::addColumn<int>("taste"); // 0: the platform's context menu event
        QTest::addColumn<int>("umschalt");
        QTest::addColumn<bool>("zeigt");    // the list's "Kontakt anzeigen" runs
        QTest::addColumn<QString>("menue"); // the menu that opens, if any
        const int ohne = Qt::NoModifier, shift = Qt::ShiftModifier, ziffernblock = Qt::KeypadModifier;
        QTest::newRow("calls: Return") << u"lvNummern"_s << int(Qt::Key_Return) << ohne << true << QString();
        QTest::newRow("calls: Enter") << u"lvNummern"_s << int(Qt::Key_Enter) << ziffernblock << true << QString();
        QTest::newRow("calls: menu key") << u"lvNummern"_s << int(Qt::Key_Menu) << ohne << false << u"mnuPopupListe"_s;
        QTest::newRow("calls: Shift+F10") << u"lvNummern"_s << int(Qt::Key_F10) << shift << false << u"mnuPopupListe"_s;
        QTest::newRow("similar: Return") << u"lvKontakte"_s << int(Qt::Key_Return) << ohne << true << QString();
        QTest::newRow("similar: menu key") << u"lvKontakte"_s << int(Qt::Key_Menu) << ohne << false
                                           << u"mnuMenueAehnliche"_s;
        QTest::newRow("similar: Shift+F10") << u"lvKontakte"_s << int(Qt::Key_F10) << shift << false
                                            << u"mnuMenueAehnliche"_s;
        // On X11 the platform makes the menu key a context menu event at the pointer.
        QTest::newRow("calls: menu key on X11") << u"lvNummern"_s << 0 << ohne << false << u"mnuPopupListe"_s;
        QTest::newRow("similar: menu key on X11") << u"lvKontakte"_s << 0 << ohne << false << u"mnuMenueAehnliche"_s;
        // Neither F10 alone nor Shift+Return is one of them.
        QTest::newRow("calls: F10") << u"lvNummern"_s << int(Qt::Key_F10) << ohne << false << QString();
        QTest::newRow("calls: Shift+Return") << u"lvNummern"_s << int(Qt::Key_Return) << shift << false << QString();
    }
    void listsByKeyboard()
    {
        QFETCH(QString, liste);
        QFETCH(int, taste);
        QFETCH(int, umschalt);
        QFETCH(bool, zeigt);
        QFETCH(QString, menue);

        Fenster u;
        QList<QStringList> zeilen;
        for (int i = 0; i < 30; ++i)
            zeilen << QStringList{u"03012345%1"_s.arg(i, 2, 10, QChar(u'0')), u"06.12.2026 10:%1:00"_s.arg(i, 2, 10, QChar(u'0')),
                                  u"Berlin"_s, u"Kontakt %1"_s.arg(i)};
        u.anrufer(zeilen);
        frmHaupt &f = u.starte();
        for (int i = 0; i < 30; ++i)
            f.lvKontakte()->Items().Add(Fenster::eintrag({u"[Telefon] 0301234%1"_s.arg(i), u"Nachbar"_s, u"Firma"_s}));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        ListView *lv = f.findChild<ListView *>(liste);
        QVERIFY(lv);
        // An entry further down, scrolled out of sight; the pointer far away from it.
        lv->setSelectedIndex(20);
        lv->scrollToTop();
        lv->setFocus();
        QCursor::setPos(f.mapToGlobal(QPoint(f.width() - 5, 5)));

        const Menuepunkt zeigen = liste == u"lvNummern"_s ? Menuepunkt::mnuACTAnzeigen : Menuepunkt::mnuAehnlicheACTAnzeigen;
        QSignalSpy ausgefuehrt(f.Menu(zeigen), &QAction::triggered);
        QString geoeffnet;
        QRect menueOrt;
        QTimer sieht;
        connect(&sieht, &QTimer::timeout, this, [&] {
            if (auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                geoeffnet = popup->objectName();
                menueOrt = popup->geometry();
                popup->close();
            }
        });
        sieht.start(10);
        if (taste == 0) {
            const QPoint zeiger = QCursor::pos();
            QContextMenuEvent plattform(QContextMenuEvent::Keyboard, lv->mapFromGlobal(zeiger), zeiger);
            QApplication::sendEvent(lv, &plattform);
        } else {
            QTest::keyClick(lv, Qt::Key(taste), Qt::KeyboardModifiers(umschalt));
        }
        if (!menue.isEmpty())
            QTRY_COMPARE(geoeffnet, menue);
        else
            QTest::qWait(50);
        sieht.stop();

        QCOMPARE(ausgefuehrt.count(), zeigt ? 1 : 0);
        if (menue.isEmpty()) {
            QCOMPARE(geoeffnet, QString());
            return;
        }
        // The entry was brought into sight, and the menu opens on it.
        const QRect zeile = lv->visualRect(lv->Spalten().index(20, 0));
        QVERIFY(lv->viewport()->rect().contains(zeile));
        const QRect global(lv->viewport()->mapToGlobal(zeile.topLeft()), zeile.size());
        QVERIFY2(menueOrt.top() >= global.top() && menueOrt.top() <= global.bottom() + 1
                     && menueOrt.left() >= global.left() && menueOrt.left() < global.right(),
                 qPrintable(u"Menü bei %1,%2, Zeile %3,%4 %5x%6"_s.arg(menueOrt.left()).arg(menueOrt.top())
                                .arg(global.left()).arg(global.top()).arg(global.width()).arg(global.height())));
    }

    // The system tray's icon without a tray (the offscreen platform has none):
    // its menu's commands, the state it shows, the click, and the window that
    // hides in the tray when minimised.
    void trayMenuStateAndClick()
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
        emit u.tapi.AnrufKommt({5, 5});
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Klingelt);
        const QImage klingelt = tray.Symbol().pixmap(32).toImage();
        QVERIFY(aus != aktiv && aktiv != klingelt && aus != klingelt);
        emit u.tapi.Beendet({5, 5}, Anrufende::Ausgeklungen);
        QCOMPARE(tray.zustand(), Infobereich::Zustand::Aktiv);
        // Switched off while it rings: off.
        emit u.tapi.Klingelt(1);
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

QTEST_MAIN(tst_frmHaupt)
#include "tst_frmHaupt.moc"
