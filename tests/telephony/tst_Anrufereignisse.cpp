#include "core/Anruf.h"
#include "core/ListViewModel.h"
#include "windows/StatusPanel.h"
#include "telephony/Leitungssteuerung.h"
#include "telephony/Nummernaufbereitung.h"
#include "telephony/Nummernbefehle.h"
#include "telephony/Waehlanzeige.h"
#include "telephony/Waehlen.h"

#include "doubles/Testfenster.h"
#include "doubles/Umgebung.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

// A report of the line, raised on the control.
using Meldung = std::function<void(topTapi &)>;
Q_DECLARE_METATYPE(Meldung)

namespace {

// Records every number handed to the identification, as
// "number|name|party|call id|handle" or "number|call id|handle" for a connected one.
void zeichneAuf(Testfenster &u, QStringList &aufrufe)
{
    Anrufereignisse &ereignisse = u.leitung->Ereignisse();
    QObject::connect(&ereignisse, &Anrufereignisse::Anrufer, u.fenster.get(),
                     [&aufrufe](const QString &n, const QString &na, const QString &p, std::int32_t id, std::int32_t h) {
                         aufrufe << QStringList{n, na, p, QString::number(id), QString::number(h)}.join(u'|');
                     });
    QObject::connect(&ereignisse, &Anrufereignisse::VerbundeneNummer, u.fenster.get(),
                     [&aufrufe](const QString &n, std::int32_t id, std::int32_t h) {
                         aufrufe << QStringList{n, QString::number(id), QString::number(h)}.join(u'|');
                     });
}

// Dialing with its own settings file, a fake line and a journal that shows
// what reached the window and the line, in order.
struct Aufbau : Umgebung, Waehlanzeige
{
    QStringList journal;
    FakeTapi tapi{&journal};
    int adresse = 0;
    Waehlen waehlen{tapi, store, dialogs, *this};

    void setTelefonText(const QString &text) override { journal << u"panel1 "_s + text; }
    void setWaehlhinweis(const QString &text) override { journal << u"tooltip "_s + text; }
    int Adresse() const override { return adresse; }

    void set(const QString &schluessel, const QString &wert, const QString &abschnitt = u"Waehlregeln"_s)
    {
        store.SaveSetting(abschnitt, schluessel, wert);
    }
    void standortEinsMitNull()
    {
        set(u"CurrentID"_s, u"1"_s);
        set(u"Location1/OutsideAccess"_s, u"0"_s);
    }
};

// The call selected among calls with these numbers, as the caller list hands
// it to a command: none when the selection is no entry.
std::optional<Anruf> gewaehlt(const QStringList &nummern, int ausgewaehlt)
{
    if (ausgewaehlt < 0 || ausgewaehlt >= nummern.size())
        return std::nullopt;
    Anruf a;
    a.nummer = nummern[ausgewaehlt];
    return a;
}

// A list whose entries carry these texts.
struct Liste : ListViewModel
{
    explicit Liste(const QStringList &texte)
    {
        for (const QString &t : texte) {
            ListItem item;
            item.Text = t;
            Add(item);
        }
    }
};

} // namespace

// The caller's number as the line reports it, cleaned as the user chose; the
// handlers of the line's events on a real main window with a fake line; and
// dialing back.
class tst_Anrufereignisse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void aufbereiten_data()
    {
        QTest::addColumn<QString>("roh");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("schalter"); // P: plus and brackets off, +: prefix added, -: prefix removed
        QTest::addColumn<QString>("praefix");
        QTest::addColumn<QString>("partyId");
        QTest::addColumn<QString>("ergebnis");

        const auto zeile = [](const char *name, const QString &roh, const QString &filter, const QString &schalter,
                              const QString &praefix, const QString &ergebnis, const QString &partyId = u"<ADDRESS>"_s) {
            QTest::newRow(name) << roh << filter << schalter << praefix << partyId << ergebnis;
        };
        zeile("filter matches raw number", u"0301234"_s, u"0800,0301234"_s, {}, u"0"_s, u"ignoriert: 0301234"_s);
        zeile("filter compares before cleaning", u"+49 301234"_s, u"0301234"_s, u"P+"_s, u"0"_s, u"0301234"_s);
        zeile("filter is exact, no trimming", u"0301234 "_s, u"0301234"_s, {}, u"0"_s, u"0301234 "_s);
        zeile("empty number not filtered", QString(), u"0800,,0301"_s, {}, u"0"_s, QString());
        zeile("no address flag", u"0301234"_s, {}, u"P+"_s, u"0"_s, u"keine Nummer"_s, u"<UNAVAIL>"_s);
        zeile("plus filter and prefix added", u"+49 (30) 1234567"_s, {}, u"P+"_s, u"0"_s, u"0301234567"_s);
        zeile("plus filter leaves nothing", u"+49"_s, {}, u"P"_s, u"0"_s, QString());
        zeile("prefix removed after trimming", u" 0301234 "_s, {}, u"-"_s, u"0"_s, u"301234"_s);
        zeile("prefix not at the start", u"301234"_s, {}, u"-"_s, u"0"_s, u"301234"_s);
        zeile("empty prefix removes nothing", u"0301234"_s, {}, u"-"_s, QString(), u"0301234"_s);
        zeile("both prefix marks: neither", u"301234"_s, {}, u"+-"_s, u"0"_s, u"301234"_s);
        // The plus-and-brackets filter alone.
        const auto plus = [&](const QString &roh, const QString &ergebnis) {
            zeile(qPrintable(roh), roh, {}, u"P"_s, u"0"_s, ergebnis);
        };
        plus(u"+49 (30) 1234567"_s, u"301234567"_s);
        plus(u"+4930123456"_s, u"004930123456"_s);
        plus(u"(030) 123-456"_s, u"030123456"_s);
        plus(u"+123"_s, QString());
        plus(u"030/1234+5"_s, u"03012345"_s);
        plus(u"   "_s, u"   "_s); // blanks only stay
        plus(u" +49 30 1"_s, u"301"_s); // a plus after a blank is dropped
    }
    void aufbereiten()
    {
        QFETCH(QString, roh);
        QFETCH(QString, filter);
        QFETCH(QString, schalter);
        QFETCH(QString, praefix);
        QFETCH(QString, partyId);

        Nummernaufbereitung::Einstellungen e;
        e.Filtertext = filter;
        e.PlusKlammerFilter = schalter.contains(u'P');
        e.PraefixHinzufuegen = schalter.contains(u'+');
        e.PraefixEntfernen = schalter.contains(u'-');
        e.Praefix = praefix;
        const auto r = Nummernaufbereitung::aufbereiten(roh, partyId, e);
        QTEST(r.ignoriert ? u"ignoriert: "_s + r.filterTreffer : r.nummer, "ergebnis");
    }

    void filtereingabe_data()
    {
        QTest::addColumn<QString>("antwort");
        QTest::addColumn<QString>("filter");

        QTest::newRow("separators removed") << u"030 / 123-45, (089) 1#2"_s << u"03012345,08912"_s;
        QTest::newRow("semicolon is no separator") << u"0301;0302"_s << u"03010302"_s;
        QTest::newRow("empty parts dropped") << u",0301,, ,+"_s << u"0301"_s;
    }
    void filtereingabe()
    {
        QFETCH(QString, antwort);
        QTEST(Nummernaufbereitung::Filtereingabe(antwort), "filter");
    }

    void logLinesOnlyWhenLoggingIsOn()
    {
        Testfenster u;
        frmHaupt &f = u.starte();
        QSignalSpy zeilen(&f, &frmHaupt::Telefonieprotokollzeile);
        emit u.tapi.Beendet({7, 5}, Anrufende::Ausgeklungen);
        QCOMPARE(zeilen.count(), 0);

        f.Menu(Menuepunkt::mnuTAPIProtokoll)->setChecked(true);
        emit u.tapi.AnruferBekannt({-3, 9}, u"030 1234"_s, u"Müller"_s, Rufnummernanzeige::Nummer);
        QCOMPARE(zeilen.count(), 1);
        QCOMPARE(zeilen[0][0].toString(), u"OnCallerID"_s);
        // Text values are quoted, the call id comes before the handle.
        QVERIFY2(zeilen[0][1].toString().endsWith(
                     u"CNumber=\"030 1234\"\r\nCName=\"Müller\"\r\nCPartyID=\"<ADDRESS>\"\r\nCCallID=-3\r\nCCallHandle=9"_s),
                 qPrintable(zeilen[0][1].toString()));
    }

    // What the line reports becomes the events and values a TAPI driver shows,
    // in the driver's order: one report may be several lines of the log.
    void logLinesOfTheLinesReports_data()
    {
        QTest::addColumn<Meldung>("meldung");
        QTest::addColumn<QStringList>("zeilen");

        const auto zustand = [](const QString &z) {
            return u"OnCallState CCallstate=\"%1\"|CCallID=5|CCallHandle=6"_s.arg(z);
        };
        const auto modus = [](const QString &ereignis, const QString &name, const QString &wert) {
            return u"%1 %2=\"%3\"|CCallHandle=6"_s.arg(ereignis, name, wert);
        };
        const auto anrufer = [](const QString &nummer, const QString &name, const QString &partei) {
            return u"OnCallerID lSuche=\"1\"|CNumber=\"%1\"|CName=\"%2\"|CPartyID=\"%3\"|CCallID=5|CCallHandle=6"_s.arg(
                nummer, name, partei);
        };
        const Anrufkennung a{5, 6};
        QTest::newRow("Anruf kommt") << Meldung([a](topTapi &t) { emit t.AnrufKommt(a); })
                                     << QStringList{zustand(u"OFFERING"_s),
                                                    modus(u"OnOffering"_s, u"COfferingMode"_s, u"<OWNER>"_s)};
        QTest::newRow("angerufene Nummer") << Meldung([a](topTapi &t) { emit t.AngerufeneNummer(a, u"987654"_s); })
                                           << QStringList{u"OnCalledID CNumber=\"987654\"|CCallID=5|CCallHandle=6"_s};
        QTest::newRow("Anrufer mit Nummer")
            << Meldung([a](topTapi &t) { emit t.AnruferBekannt(a, u"0301"_s, u"Meier"_s, Rufnummernanzeige::Nummer); })
            << QStringList{anrufer(u"0301"_s, u"Meier"_s, u"<ADDRESS>"_s)};
        QTest::newRow("Anrufer unterdrückt")
            << Meldung([a](topTapi &t) { emit t.AnruferBekannt(a, {}, {}, Rufnummernanzeige::Unterdrueckt); })
            << QStringList{anrufer({}, {}, u"<BLOCKED>"_s)};
        QTest::newRow("Anrufer nicht verfügbar")
            << Meldung([a](topTapi &t) { emit t.AnruferBekannt(a, {}, u"Kunz"_s, Rufnummernanzeige::NichtVerfuegbar); })
            << QStringList{anrufer({}, u"Kunz"_s, u"<UNAVAIL>"_s)};
        QTest::newRow("Klingeln") << Meldung([](topTapi &t) { emit t.Klingelt(3); })
                                  << QStringList{u"OnRinging CRingMode=0|CRingCount=3"_s};
        QTest::newRow("wählt mit Wählton")
            << Meldung([a](topTapi &t) { emit t.Waehlt(a, true); })
            << QStringList{zustand(u"DIALTONE"_s), modus(u"OnDialtone"_s, u"CDialtoneMode"_s, u"<NORMAL>"_s)};
        QTest::newRow("wählt") << Meldung([a](topTapi &t) { emit t.Waehlt(a, false); })
                               << QStringList{zustand(u"DIALTONE"_s)};
        QTest::newRow("Rufaufbau") << Meldung([a](topTapi &t) { emit t.Rufaufbau(a); })
                                   << QStringList{zustand(u"PROCEEDING"_s)};
        QTest::newRow("abgenommen")
            << Meldung([a](topTapi &t) { emit t.Abgenommen(a); })
            << QStringList{zustand(u"CONNECTED"_s), modus(u"OnConnected"_s, u"CConnectedMode"_s, u"<ACTIVE>"_s)};
        QTest::newRow("verbunden mit") << Meldung([a](topTapi &t) { emit t.VerbundenMit(a, u"0891"_s); })
                                       << QStringList{u"OnConnectedID CNumber=\"0891\"|CCallID=5|CCallHandle=6"_s};
        QTest::newRow("aufgelegt")
            << Meldung([a](topTapi &t) { emit t.Beendet(a, Anrufende::Aufgelegt); })
            << QStringList{zustand(u"DISCONNECTED"_s),
                           modus(u"OnDisconnected"_s, u"CDisconnectedMode"_s, u"<NORMAL>"_s), zustand(u"IDLE"_s)};
        QTest::newRow("getrennt") << Meldung([a](topTapi &t) { emit t.Beendet(a, Anrufende::Getrennt); })
                                  << QStringList{zustand(u"DISCONNECTED"_s), zustand(u"IDLE"_s)};
        QTest::newRow("besetzt") << Meldung([a](topTapi &t) { emit t.Beendet(a, Anrufende::Besetzt); })
                                 << QStringList{modus(u"OnBusy"_s, u"CBusyMode"_s, u"<STATION>"_s),
                                                zustand(u"DISCONNECTED"_s), zustand(u"IDLE"_s)};
        QTest::newRow("ausgeklungen") << Meldung([a](topTapi &t) { emit t.Beendet(a, Anrufende::Ausgeklungen); })
                                      << QStringList{zustand(u"IDLE"_s)};
    }
    void logLinesOfTheLinesReports()
    {
        QFETCH(Meldung, meldung);
        Testfenster u;
        frmHaupt &f = u.starte();
        f.Menu(Menuepunkt::mnuTAPIProtokoll)->setChecked(true);
        QStringList zeilen;
        connect(&f, &frmHaupt::Telefonieprotokollzeile, this, [&zeilen](const QString &ereignis, const QString &werte) {
            zeilen << ereignis + u' ' + QString(werte).replace(u"\r\n"_s, u"|"_s);
        });
        meldung(u.tapi);
        QTEST(zeilen, "zeilen");
    }

    void telephonePanel()
    {
        Testfenster u;
        frmHaupt &f = u.starte();
        StatusPanel *panel = f.Panel(frmHaupt::Statusfeld::Telefon);
        f.setTelefonText(u"vorher"_s);
        // Every call state sets the tool tip to the text; a ring shows its count;
        // answered leaves the tool tip as the ringing left it.
        emit u.tapi.Rufaufbau({2, 1});
        QCOMPARE(panel->ToolTipText(), u"vorher"_s);
        emit u.tapi.Klingelt(3);
        QCOMPARE(panel->Text(), u"3. Klingeln"_s);
        emit u.tapi.Abgenommen({4, 4});
        QCOMPARE(panel->Text() + u'|' + panel->ToolTipText(), u"<ACTIVE>|3. Klingeln"_s);
    }

    // What becomes of the numbers is the identification's, tested end to end
    // with it; here the window's part: the menu item for connected numbers.
    void callerIdStartsIdentification()
    {
        Testfenster u;
        frmHaupt &f = u.starte();
        QStringList aufrufe;
        zeichneAuf(u, aufrufe);
        emit u.tapi.AnruferBekannt({7, 9}, u"0301234567"_s, u"Name"_s, Rufnummernanzeige::Nummer);
        QCOMPARE(aufrufe, QStringList{u"0301234567|Name|<ADDRESS>|7|9"_s});
        emit u.tapi.VerbundenMit({1, 1}, u"0891"_s);
        QCOMPARE(aufrufe.size(), 1);
        f.Menu(Menuepunkt::mnuVerbundeneNummern)->setChecked(true);
        emit u.tapi.VerbundenMit({3, 4}, u"0891"_s);
        QCOMPARE(aufrufe.last(), u"0891|3|4"_s);
    }

    void errorTextAndLostLine()
    {
        Testfenster u;
        u.tapi.devices = {u"Modem /dev/ttyACM0"_s};
        frmHaupt &f = u.starte();
        u.tapi.current = 0;
        f.cmdInitTapi()->click();
        // Any error shows in panel 1; only a lost line ends the monitor.
        emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, 17);
        QCOMPARE(f.Panel(frmHaupt::Statusfeld::Telefon)->Text(), u"Port verschwunden from Modem #17"_s);
        QVERIFY(f.MonitorAktiv());
        QCOMPARE(u.dialogs.boxes().size(), 0);

        // The user is asked whether to start it again; the question waits
        // beside the window, and the monitor is off meanwhile.
        u.dialogs.answer(Dialogs::Answer::No);
        emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, 1013);
        QVERIFY(!f.MonitorAktiv());
        QCOMPARE(u.dialogs.boxes().size(), 1);
        QCOMPARE(u.dialogs.boxes().first().kind, u"Frage"_s);
        for (const QString &teil : {u"\"Modem /dev/ttyACM0\""_s, u": Port verschwunden\r\n"_s, u": 1013\r\n"_s})
            QVERIFY2(u.dialogs.boxes().first().text.contains(teil), qPrintable(u.dialogs.boxes().first().text));
        // No: it stays off, and the line tried meanwhile is closed.
        QTRY_VERIFY(!u.leitung->Leitung().OffeneFrage());
        QVERIFY(!f.MonitorAktiv());
        QVERIFY(!u.tapi.LineConnected());
        // Not again while it is off.
        emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, 1013);
        QTest::qWait(20);
        QCOMPARE(u.dialogs.boxes().size(), 1);
        QVERIFY(!f.MonitorAktiv());

        f.cmdInitTapi()->click();
        u.dialogs.answer(Dialogs::Answer::Yes);
        emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, 1013);
        QVERIFY(!f.MonitorAktiv());
        QTRY_VERIFY(f.MonitorAktiv());
        QCOMPARE(u.tapi.calls.count(u"OpenLine"_s), 3);

        // Nobody answers, but the port is there again at the first quiet
        // attempt: the question closes as if "Ja" had been chosen.
        emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, 1013);
        QVERIFY(!f.MonitorAktiv());
        QVERIFY(u.leitung->Leitung().OffeneFrage());
        QTRY_VERIFY(f.MonitorAktiv());
        QVERIFY(!u.leitung->Leitung().OffeneFrage());
        QCOMPARE(u.dialogs.boxes().size(), 3);
        QCOMPARE(u.dialogs.unanswered(), 0);
    }

    void devicesAndAddresses()
    {
        Testfenster u;
        u.tapi.devices = {u"A"_s, u"B"_s};
        for (int i = 0; i < 12; ++i)
            u.tapi.addresses << u"L%1"_s.arg(i);
        frmHaupt &f = u.starte();
        // At most eleven addresses, the first chosen; none is shown as such.
        u.tapi.current = 1;
        emit u.tapi.OnDeviceChanged(1);
        QCOMPARE(f.Menu(Menuepunkt::mnuTapiTreiber)->text(), u"T&API (B)"_s);
        QCOMPARE(f.cbxAddress()->count(), 11);
        QCOMPARE(f.cbxAddress()->itemText(10), u"L10"_s);
        QCOMPARE(f.cbxAddress()->currentIndex(), 0);
        u.tapi.addresses.clear();
        emit u.tapi.OnDeviceChanged(1);
        QCOMPARE(f.cbxAddress()->count(), 1);
        QCOMPARE(f.cbxAddress()->itemText(0), u"keine"_s);

        // The user's choice of device.
        f.cbxTapiDevices()->setCurrentIndex(0);
        emit f.cbxTapiDevices()->activated(0);
        QCOMPARE(u.tapi.current, 0);
        QCOMPARE(f.Menu(Menuepunkt::mnuTapiTreiber)->text(), u"T&API (A)"_s);
    }

    void filterAndPrefixCommands()
    {
        Testfenster u;
        frmHaupt &f = u.starte();
        QAction *befehl = f.Menu(Menuepunkt::mnuNummernfilter);
        u.dialogs.answerInput(u"030 1, 089"_s);
        befehl->trigger();
        QCOMPARE(u.leitung->Nummern().Filtertext(), u"0301,089"_s);
        QCOMPARE(u.gespeichert(u"Optionen"_s, u"Nummernfilter"_s), u.leitung->Nummern().Filtertext());

        // Cancel with a filter set asks; No keeps it, Yes clears it.
        u.dialogs.answerInput(std::nullopt);
        u.dialogs.answer(Dialogs::Answer::No);
        befehl->trigger();
        QCOMPARE(u.leitung->Nummern().Filtertext(), u"0301,089"_s);
        QCOMPARE(u.dialogs.boxes().last().buttons, Dialogs::Buttons::YesNo);
        u.dialogs.answerInput(QString());
        u.dialogs.answer(Dialogs::Answer::Yes);
        befehl->trigger();
        QCOMPARE(u.leitung->Nummern().Filtertext(), QString());
        QCOMPARE(u.gespeichert(u"Optionen"_s, u"Nummernfilter"_s), QString());

        QAction *hinzu = f.Menu(Menuepunkt::mnuTapiNull);
        QAction *weg = f.Menu(Menuepunkt::mnuTAPINullEntfernen);
        // The two marks exclude each other; a second click clears.
        const auto marken = [&] { return QList<bool>{hinzu->isChecked(), weg->isChecked()}; };
        hinzu->trigger();
        QCOMPARE(marken(), (QList<bool>{true, false}));
        weg->trigger();
        QCOMPARE(marken(), (QList<bool>{false, true}));
        weg->trigger();
        QCOMPARE(marken(), (QList<bool>{false, false}));

        u.dialogs.answerInput(u"+49"_s);
        f.Menu(Menuepunkt::mnuTapiNullAendern)->trigger();
        QCOMPARE(u.gespeichert(u"Optionen"_s, u"Prefix"_s), u"+49"_s);
        QCOMPARE(hinzu->text(), u"Präfix (+49) hin&zufügen"_s);

        // The identification reads the current marks and prefix.
        hinzu->trigger();
        f.Menu(Menuepunkt::mnuTAPIPlusKlammerFilter)->setChecked(true);
        const auto e = u.leitung->Nummern().Einstellungen();
        QCOMPARE((QList<bool>{e.PraefixHinzufuegen, e.PraefixEntfernen, e.PlusKlammerFilter}),
                 (QList<bool>{true, false, true}));
        QCOMPARE(e.Praefix, u"+49"_s);
    }

    // Calling back from the caller list and from the similar contacts, with the
    // access code of the current dialing location.
    void accessCode_data()
    {
        QTest::addColumn<QString>("currentId"); // null: not in the store
        QTest::addColumn<QString>("standort");  // the location a code is stored for
        QTest::addColumn<QString>("amt");
        QTest::addColumn<QString>("dial");

        QTest::newRow("location 1 with 0") << u"1"_s << u"1"_s << u"0"_s << u"00301234567"_s;
        QTest::newRow("no CurrentID") << QString() << u"1"_s << u"0"_s << u"0301234567"_s;
        QTest::newRow("CurrentID 0") << u"0"_s << u"0"_s << u"0"_s << u"0301234567"_s;
                QTest::newRow("digits before text count") << u"2b"_s << u"2"_s << u"9"_s << u"90301234567"_s;
        QTest::newRow("location without code") << u"3"_s << QString() << QString() << u"0301234567"_s;
        }
    void accessCode()
    {
        QFETCH(QString, currentId);
        QFETCH(QString, standort);
        QFETCH(QString, amt);
        QFETCH(QString, dial);

        Aufbau a;
        if (!currentId.isNull())
            a.set(u"CurrentID"_s, currentId);
        if (!standort.isNull())
            a.set(u"Location"_s + standort + u"/OutsideAccess"_s, amt);
        // A code stored for another location must not leak in.
        a.set(u"Location7/OutsideAccess"_s, u"7"_s);
        a.waehlen.mnuNummerAnwaehlen(gewaehlt({u"0301234567"_s}, 0));

        // The window is told the number before the line is busy dialing.
        QCOMPARE(a.journal, (QStringList{u"panel1 Wähle "_s + dial, u"tooltip Gewählte Nummer: "_s + dial,
                                         u"tapi.Dial(%1,0)"_s.arg(dial)}));
        QVERIFY(a.dialogs.boxes().isEmpty());
    }

    // The selected entry on the selected address; no access code for the
    // similar contacts, which leave the status bar alone.
    void selectedEntryOnItsAddress()
    {
        Aufbau a;
        a.standortEinsMitNull();
        a.adresse = 2;
        a.waehlen.mnuNummerAnwaehlen(gewaehlt({u"0221111"_s, u"0301234567"_s, u"089333"_s}, 1));
        QCOMPARE(a.tapi.calls, (QStringList{u"Dial(00301234567,2)"_s}));
        a.journal.clear();
        a.waehlen.mnuAehnlicheNummerAnwaehlen(Liste({u"[Telefon] 1"_s, u"[Fax] 0301234567"_s}), 1);
        QCOMPARE(a.journal, (QStringList{u"tapi.Dial(0301234567,2)"_s}));
    }

    void nothingToDial_data()
    {
        QTest::addColumn<bool>("aehnlich"); // from the similar contacts, else the caller list
        QTest::addColumn<QStringList>("eintraege");
        QTest::addColumn<int>("ausgewaehlt");
        QTest::addColumn<bool>("meldung"); // "no number" reported

        const QStringList eins{u"0221111"_s};
        for (const bool aehnlich : {false, true}) {
            const char *liste = aehnlich ? "similar contacts: " : "caller list: ";
            QTest::addRow("%sempty", liste) << aehnlich << QStringList() << -1 << false;
            QTest::addRow("%sno selection", liste) << aehnlich << eins << -1 << false;
            QTest::addRow("%sselection past the end", liste) << aehnlich << eins << 1 << false;
            // Dialing the access code alone would seize a line for nothing.
            QTest::addRow("%sentry without number", liste) << aehnlich << QStringList{QString()} << 0 << true;
        }
        QTest::newRow("similar contacts: label only") << true << QStringList{u"[Telefon] "_s} << 0 << true;
    }
    void nothingToDial()
    {
        QFETCH(bool, aehnlich);
        QFETCH(QStringList, eintraege);
        QFETCH(int, ausgewaehlt);
        QFETCH(bool, meldung);

        Aufbau a;
        a.standortEinsMitNull();
        if (aehnlich)
            a.waehlen.mnuAehnlicheNummerAnwaehlen(Liste(eintraege), ausgewaehlt);
        else
            a.waehlen.mnuNummerAnwaehlen(gewaehlt(eintraege, ausgewaehlt));

        // The window keeps what it showed, the line dials nothing.
        for (const QString &z : std::as_const(a.journal))
            QVERIFY2(!z.startsWith(u"panel1"_s) && !z.contains(u"Dial("_s), qPrintable(z));
        QCOMPARE(a.dialogs.boxes().size(), meldung ? 1 : 0);
        if (meldung) {
            const ScriptedDialogs::Box &box = a.dialogs.boxes().first();
            QCOMPARE(box.text, u"Es ist keine Nummer vorhanden."_s);
            QCOMPARE(box.icon, Dialogs::Icon::Information);
            QCOMPARE(box.title, u"Rufmon"_s);
        }
    }

    void bracketRule_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::addColumn<QString>("nummer");

        QTest::newRow("label and number") << u"[Telefon] 0221123456"_s << u"0221123456"_s;
        QTest::newRow("no bracket: all of it") << u"0221 123"_s << u"0221 123"_s;
        QTest::newRow("only the first bracket counts") << u"[Fax] 0221]5"_s << u"0221]5"_s;
        QTest::newRow("one character after the bracket is dropped") << u"[Fax]-0221"_s << u"0221"_s;
        QTest::newRow("bracket at the end") << u"[Fax]"_s << QString();
    }
    void bracketRule()
    {
        QFETCH(QString, eintrag);
        QTEST(Waehlen::NummerAusEintrag(eintrag), "nummer");
    }
};

QTEST_MAIN(tst_Anrufereignisse)
#include "tst_Anrufereignisse.moc"
