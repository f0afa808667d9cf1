#include "app/StatusPanel.h"
#include "app/modHaupt.h"
#include "telephony/Leitungssteuerung.h"
#include "telephony/Nummernbefehle.h"

#include "doubles/Testfenster.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Aufruf
{
    QString nummer, name, partyId;
    std::int32_t callId, handle;
    bool verbunden;
};

} // namespace

// The handlers of the line's events on a real main window with a fake line.
class tst_Anrufereignisse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void logLines_data();
    void logLines();
    void nothingLoggedWhenLoggingIsOff();
    void callStates_data();
    void callStates();
    void ringingAndConnected();
    void calledIdSetsLabel();
    void callerIdStartsIdentification();
    void secondCallerIdWhileBusyIsDropped();
    void blankNumberIsRecordedButNotIdentified();
    void connectedNumberDeferredWhileIdentifying();
    void connectedNumberWithOptionOffIsOnlyLogged();
    void errorTextAndLostLine_data();
    void errorTextAndLostLine();
    void addressList_data();
    void addressList();
    void deviceChoiceByUser();
    void numberFilterCommand();
    void prefixCommands();
};

void tst_Anrufereignisse::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void tst_Anrufereignisse::logLines_data()
{
    QTest::addColumn<int>("ereignis");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("werte");

    QTest::newRow("OnCallState") << 0 << u"OnCallState"_s << u"CCallstate=\"IDLE\"\r\nCCallID=7\r\nCCallHandle=5"_s;
    QTest::newRow("OnCallerID") << 1 << u"OnCallerID"_s
                                << u"lSuche=\"1\"\r\nCNumber=\"030 1234\"\r\nCName=\"Müller\"\r\nCPartyID=\"<ADDRESS>\"\r\n"
                                   u"CCallID=-3\r\nCCallHandle=9"_s;
    QTest::newRow("OnConnectedID") << 2 << u"OnConnectedID"_s << u"CNumber=\"089\"\r\nCCallID=1\r\nCCallHandle=2"_s;
    QTest::newRow("OnCallOrigin") << 3 << u"OnCallOrigin"_s << u"CCallOrigin=\"<EXTERNAL>\"\r\nCCallID=1\r\nCCallHandle=2"_s;
    QTest::newRow("OnBusy") << 4 << u"OnBusy"_s << u"CBusyMode=\"<STATION>\"\r\nCCallHandle=2"_s;
    QTest::newRow("OnOffering") << 5 << u"OnOffering"_s << u"COfferingMode=\"<OWNER>\"\r\nCCallHandle=2"_s;
    QTest::newRow("OnRinging") << 6 << u"OnRinging"_s << u"CRingMode=0\r\nCRingCount=3"_s;
    QTest::newRow("OnPhoneRing") << 7 << u"OnPhoneRing"_s << u"CRingMode=1"_s;
    QTest::newRow("OnRedirectingID") << 8 << u"OnRedirectingID"_s << u"CNumber=\"\"\r\nCCallID=0\r\nCCallHandle=0"_s;
}

void tst_Anrufereignisse::logLines()
{
    QFETCH(int, ereignis);
    QFETCH(QString, name);
    QFETCH(QString, werte);

    Testfenster u;
    frmHaupt &f = u.starte();
    f.Menu(u"mnuTAPIProtokoll"_s)->setChecked(true);
    QSignalSpy zeilen(&f, &frmHaupt::Protokollzeile);
    switch (ereignis) {
    case 0: emit u.tapi.OnCallState(u"IDLE"_s, 5, 7); break;
    case 1: emit u.tapi.OnCallerID(u"030 1234"_s, u"Müller"_s, u"<ADDRESS>"_s, -3, 9); break;
    case 2: emit u.tapi.OnConnectedID(u"089"_s, 1, 2); break;
    case 3: emit u.tapi.OnCallOrigin(u"<EXTERNAL>"_s, 1, 2); break;
    case 4: emit u.tapi.OnBusy(u"<STATION>"_s, 2); break;
    case 5: emit u.tapi.OnOffering(u"<OWNER>"_s, 2); break;
    case 6: emit u.tapi.OnRinging(0, 3); break;
    case 7: emit u.tapi.OnPhoneRing(1); break;
    case 8: emit u.tapi.OnRedirectingID(QString(), 0, 0); break;
    }
    QCOMPARE(zeilen.count(), 1);
    QCOMPARE(zeilen.first().at(0).toString(), name);
    QCOMPARE(zeilen.first().at(1).toString(), werte);
}

void tst_Anrufereignisse::nothingLoggedWhenLoggingIsOff()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    QSignalSpy zeilen(&f, &frmHaupt::Protokollzeile);
    emit u.tapi.OnCallState(u"IDLE"_s, 5, 7);
    emit u.tapi.OnRinging(0, 1);
    emit u.tapi.OnDeviceChanged(0);
    emit u.tapi.OnError(u"x"_s, u"y"_s, 1);
    QCOMPARE(zeilen.count(), 0);
}

void tst_Anrufereignisse::callStates_data()
{
    QTest::addColumn<QString>("zustand");
    QTest::addColumn<int>("bild");
    QTest::addColumn<QString>("knopf");
    QTest::addColumn<QString>("text");

    QTest::newRow("IDLE") << u"IDLE"_s << 4 << u"aktiv"_s << u"TAPI aktiv"_s;
    QTest::newRow("DIALTONE") << u"DIALTONE"_s << 3 << u"abgenommen"_s << u"Wählton"_s;
    QTest::newRow("CONNECTED") << u"CONNECTED"_s << 7 << u"vorher"_s << u"vorher"_s;
    QTest::newRow("ACCEPTED") << u"ACCEPTED"_s << 5 << u"vorher"_s << u"vorher"_s;
    QTest::newRow("other") << u"OFFERING"_s << 9 << u"vorher"_s << u"vorher"_s;
    QTest::newRow("lower case changes nothing") << u"idle"_s << 9 << u"vorher"_s << u"vorher"_s;
}

void tst_Anrufereignisse::callStates()
{
    QFETCH(QString, zustand);
    QFETCH(int, bild);
    QFETCH(QString, knopf);
    QFETCH(QString, text);

    Testfenster u;
    frmHaupt &f = u.starte();
    f.setTelefonText(u"vorher"_s);
    f.setTelefonBild(9);
    f.setTelefonToolTip(u"alt"_s);
    f.setKnopfBild(u"vorher"_s);
    emit u.tapi.OnCallState(zustand, 1, 2);
    QCOMPARE(f.Panel(1)->PictureIndex(), bild);
    QCOMPARE(f.cmdInitTapi()->property("Bild").toString(), knopf);
    QCOMPARE(f.Panel(1)->Text(), text);
    // The tool tip follows the text in every case.
    QCOMPARE(f.Panel(1)->ToolTipText(), text);
}

void tst_Anrufereignisse::ringingAndConnected()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    emit u.tapi.OnRinging(0, 3);
    QCOMPARE(f.Panel(1)->Text(), u"3. Klingeln"_s);
    QCOMPARE(f.Panel(1)->ToolTipText(), u"3. Klingeln"_s);
    QCOMPARE(f.Panel(1)->PictureIndex(), 5);
    emit u.tapi.OnConnected(u"<ACTIVE>"_s, 4);
    QCOMPARE(f.Panel(1)->Text(), u"<ACTIVE>"_s);
    QCOMPARE(f.Panel(1)->PictureIndex(), 7);
    // The tool tip stays as the ringing left it.
    QCOMPARE(f.Panel(1)->ToolTipText(), u"3. Klingeln"_s);
}

void tst_Anrufereignisse::calledIdSetsLabel()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    emit u.tapi.OnCalledID(u"0301234"_s, 17, 4);
    QCOMPARE(f.lbID()->text(), u"Nummer 0301234 ID 17"_s);
}

void tst_Anrufereignisse::callerIdStartsIdentification()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    QList<Aufruf> aufrufe;
    f.setAnrufauswertung([&](const QString &n, const QString &na, const QString &p, std::int32_t id, std::int32_t h,
                             bool v) { aufrufe.append({n, na, p, id, h, v}); });
    emit u.tapi.OnCallerID(u"0301234567"_s, u"Name"_s, u"<ADDRESS>"_s, 7, 9);
    QCOMPARE(aufrufe.size(), 1);
    QCOMPARE(aufrufe[0].nummer, u"0301234567"_s);
    QCOMPARE(aufrufe[0].partyId, u"<ADDRESS>"_s);
    QCOMPARE(aufrufe[0].callId, 7);
    QCOMPARE(aufrufe[0].handle, 9);
    QVERIFY(!aufrufe[0].verbunden);
    QCOMPARE(f.Ereignisse().lSuche, 0);
    const QRegularExpression kopf(u"^OnCallerEvent:1 \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\r\n"_s);
    QVERIFY2(kopf.match(f.Ereignisse().LetzterAnruf).hasMatch(), qPrintable(f.Ereignisse().LetzterAnruf));
    QVERIFY(f.Ereignisse().LetzterAnruf.endsWith(u"\r\nCNumber:0301234567\r\nCName:Name\r\nCPartyID:<ADDRESS>\r\n"
                                                 u"CCallID:7\r\nCCallHandle:9\r\n"_s));
    // The same call reported again after the first has finished: a second entry.
    emit u.tapi.OnCallerID(u"0301234567"_s, u"Name"_s, u"<ADDRESS>"_s, 7, 9);
    QCOMPARE(aufrufe.size(), 2);
}

void tst_Anrufereignisse::secondCallerIdWhileBusyIsDropped()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    f.Menu(u"mnuTAPIProtokoll"_s)->setChecked(true);
    QSignalSpy zeilen(&f, &frmHaupt::Protokollzeile);
    QStringList nummern;
    f.setAnrufauswertung([&](const QString &n, const QString &, const QString &, std::int32_t, std::int32_t, bool) {
        nummern.append(n);
        // The identification lets events through while it works.
        if (nummern.size() == 1)
            emit u.tapi.OnCallerID(u"0402"_s, QString(), u"<ADDRESS>"_s, 2, 2);
    });
    emit u.tapi.OnCallerID(u"0301"_s, QString(), u"<ADDRESS>"_s, 1, 1);
    QCOMPARE(nummern, QStringList{u"0301"_s});
    QCOMPARE(zeilen.count(), 1);
    QVERIFY(f.Ereignisse().LetzterAnruf.contains(u"CNumber:0301\r\n"_s));
    QCOMPARE(f.Ereignisse().lSuche, 0);
}

void tst_Anrufereignisse::blankNumberIsRecordedButNotIdentified()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    int aufrufe = 0;
    f.setAnrufauswertung([&](auto &&...) { ++aufrufe; });
    emit u.tapi.OnCallerID(u"   "_s, QString(), u"<ADDRESS>"_s, 1, 1);
    QCOMPARE(aufrufe, 0);
    QVERIFY(f.Ereignisse().LetzterAnruf.contains(u"CNumber:   \r\n"_s));
    // Nor while an identification runs.
    modHaupt::instance().AuswertungLaeuft = true;
    emit u.tapi.OnCallerID(u"0301"_s, QString(), u"<ADDRESS>"_s, 1, 1);
    QCOMPARE(aufrufe, 0);
    QVERIFY(f.Ereignisse().LetzterAnruf.contains(u"CNumber:0301\r\n"_s));
}

void tst_Anrufereignisse::connectedNumberDeferredWhileIdentifying()
{
    Testfenster u;
    u.setze(u"Optionen"_s, u"WeiterleitungErkennen"_s, u"1"_s);
    frmHaupt &f = u.starte();
    QList<Aufruf> aufrufe;
    f.setAnrufauswertung([&](const QString &n, const QString &na, const QString &p, std::int32_t id, std::int32_t h,
                             bool v) {
        aufrufe.append({n, na, p, id, h, v});
        if (aufrufe.size() == 1) {
            modHaupt::instance().AuswertungLaeuft = true;
            emit u.tapi.OnConnectedID(u"0891"_s, 11, 12);
            emit u.tapi.OnConnectedID(u"0892"_s, 13, 14); // a later one overwrites
            modHaupt::instance().AuswertungLaeuft = false;
        }
    });
    emit u.tapi.OnCallerID(u"0301"_s, QString(), u"<ADDRESS>"_s, 1, 1);
    QCOMPARE(aufrufe.size(), 2);
    QCOMPARE(aufrufe[1].nummer, u"0892"_s);
    QCOMPARE(aufrufe[1].name, u">"_s);
    QCOMPARE(aufrufe[1].partyId, u"<ADDRESS>"_s);
    QCOMPARE(aufrufe[1].callId, 13);
    QCOMPARE(aufrufe[1].handle, 14);
    QVERIFY(aufrufe[1].verbunden);
    QVERIFY(!modHaupt::instance().Wartend.markiert);

    // Outside an identification a connected number is identified at once.
    emit u.tapi.OnConnectedID(u"0893"_s, 3, 4);
    QCOMPARE(aufrufe.size(), 3);
    QVERIFY(aufrufe[2].verbunden);
}

void tst_Anrufereignisse::connectedNumberWithOptionOffIsOnlyLogged()
{
    Testfenster u;
    u.setze(u"Optionen"_s, u"WeiterleitungErkennen"_s, u"0"_s);
    frmHaupt &f = u.starte();
    f.Menu(u"mnuTAPIProtokoll"_s)->setChecked(true);
    QSignalSpy zeilen(&f, &frmHaupt::Protokollzeile);
    int aufrufe = 0;
    f.setAnrufauswertung([&](auto &&...) { ++aufrufe; });
    emit u.tapi.OnConnectedID(u"0891"_s, 1, 1);
    QCOMPARE(aufrufe, 0);
    QCOMPARE(zeilen.count(), 1);
}

void tst_Anrufereignisse::errorTextAndLostLine_data()
{
    QTest::addColumn<bool>("aktiv");
    QTest::addColumn<int>("nummer");
    QTest::addColumn<int>("antwort"); // -1 no question
    QTest::addColumn<bool>("danachAktiv");

    QTest::newRow("lost line, answered Yes") << true << 1013 << int(Dialogs::Answer::Yes) << true;
    QTest::newRow("lost line, answered No") << true << 1013 << int(Dialogs::Answer::No) << false;
    QTest::newRow("1013 while off: no question") << false << 1013 << -1 << false;
    QTest::newRow("other error while on: stays on") << true << 17 << -1 << true;
}

void tst_Anrufereignisse::errorTextAndLostLine()
{
    QFETCH(bool, aktiv);
    QFETCH(int, nummer);
    QFETCH(int, antwort);
    QFETCH(bool, danachAktiv);

    Testfenster u;
    u.tapi.devices = {u"Modem /dev/ttyACM0"_s};
    frmHaupt &f = u.starte();
    u.tapi.current = 0;
    if (aktiv)
        f.cmdInitTapi()->click();
    if (antwort >= 0)
        u.dialogs.answer(static_cast<Dialogs::Answer>(antwort));
    emit u.tapi.OnError(u"Port verschwunden"_s, u"Modem"_s, nummer);

    QCOMPARE(f.MonitorAktiv(), danachAktiv);
    if (antwort >= 0) {
        QCOMPARE(u.dialogs.boxes().size(), 1);
        const ScriptedDialogs::Box box = u.dialogs.boxes().first();
        QCOMPARE(box.text, u"Das Tapi-Gerät \"Modem /dev/ttyACM0\" hat die Verbindung abgebrochen.\r\n"
                           u"Rufmon wurde daher deaktiviert.\r\nTAPI-Fehlermeldung: Port verschwunden\r\n"
                           u"TAPI-Fehlernummer: 1013\r\nSoll Rufmon wieder aktiviert werden?"_s);
        QCOMPARE(box.icon, Dialogs::Icon::Question);
        QCOMPARE(box.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(box.title, u"Rufmon"_s);
        if (!danachAktiv) {
            QCOMPARE(f.windowTitle(), u"Rufmon"_s);
            QVERIFY(f.cbxTapiDevices()->isEnabled());
            QCOMPARE(f.cmdInitTapi()->property("Bild").toString(), u"passiv"_s);
        }
    } else {
        QCOMPARE(u.dialogs.boxes().size(), 0);
    }
    // The error shows in panel 1 either way.
    QCOMPARE(f.Panel(1)->Text(), u"Port verschwunden from Modem #%1"_s.arg(nummer));
    QCOMPARE(f.Panel(1)->ToolTipText(), f.Panel(1)->Text());
}

void tst_Anrufereignisse::addressList_data()
{
    QTest::addColumn<QStringList>("adressen");
    QTest::addColumn<QStringList>("liste");

    QTest::newRow("none") << QStringList() << QStringList{u"keine"_s};
    QTest::newRow("two") << QStringList{u"a"_s, u"b"_s} << QStringList{u"a"_s, u"b"_s};
    QStringList zwoelf;
    for (int i = 0; i < 12; ++i)
        zwoelf << u"L%1"_s.arg(i);
    QTest::newRow("only eleven") << zwoelf << zwoelf.mid(0, 11);
}

void tst_Anrufereignisse::addressList()
{
    QFETCH(QStringList, adressen);
    QFETCH(QStringList, liste);

    Testfenster u;
    u.tapi.devices = {u"A"_s, u"B"_s};
    u.tapi.addresses = adressen;
    frmHaupt &f = u.starte();
    u.tapi.current = 1;
    emit u.tapi.OnDeviceChanged(1);
    QStringList gezeigt;
    for (int i = 0; i < f.cbxAddress()->count(); ++i)
        gezeigt << f.cbxAddress()->itemText(i);
    QCOMPARE(gezeigt, liste);
    QCOMPARE(f.cbxAddress()->currentIndex(), 0);
    QCOMPARE(f.Menu(u"mnuTapiTreiber"_s)->text(), u"TAPI (B)"_s);
}

void tst_Anrufereignisse::deviceChoiceByUser()
{
    Testfenster u;
    u.tapi.devices = {u"A"_s, u"B"_s};
    frmHaupt &f = u.starte();
    f.cbxTapiDevices()->setCurrentIndex(1);
    emit f.cbxTapiDevices()->activated(1);
    QCOMPARE(u.tapi.current, 1);
    QCOMPARE(f.Menu(u"mnuTapiTreiber"_s)->text(), u"TAPI (B)"_s);
    f.Menu(u"mnuTapiEinstellungen"_s)->trigger();
    QVERIFY(u.tapi.calls.contains(u"ConfigDialog"_s));
}

void tst_Anrufereignisse::numberFilterCommand()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    u.dialogs.answerInput(u"030 / 123-45, (089) 1;2"_s);
    f.Menu(u"mnuNummernfilter"_s)->trigger();
    QCOMPARE(f.Filtertext, u"03012345,08912"_s);
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"Nummernfilter"_s), u"03012345,08912"_s);
    const ScriptedDialogs::Box eingabe = u.dialogs.boxes().last();
    QCOMPARE(eingabe.title, u"Rufmon - Nummernfilter"_s);
    QCOMPARE(eingabe.text, u"Bitte geben Sie die Nummer(n) ein, auf die Rufmon nicht reagieren soll."_s);

    // Cancel with a filter set asks; No keeps it.
    u.dialogs.answerInput(std::nullopt);
    u.dialogs.answer(Dialogs::Answer::No);
    f.Menu(u"mnuNummernfilter"_s)->trigger();
    QCOMPARE(f.Filtertext, u"03012345,08912"_s);
    QCOMPARE(u.dialogs.boxes().last().text, u"Wollen Sie den Nummernfilter wirklich löschen?"_s);
    QCOMPARE(u.dialogs.boxes().last().icon, Dialogs::Icon::Question);

    u.dialogs.answerInput(QString());
    u.dialogs.answer(Dialogs::Answer::Yes);
    f.Menu(u"mnuNummernfilter"_s)->trigger();
    QCOMPARE(f.Filtertext, QString());
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"Nummernfilter"_s), QString());

    // Empty answer with no filter: no question.
    const int vorher = int(u.dialogs.boxes().size());
    u.dialogs.answerInput(QString());
    f.Menu(u"mnuNummernfilter"_s)->trigger();
    QCOMPARE(int(u.dialogs.boxes().size()), vorher + 1);
}

void tst_Anrufereignisse::prefixCommands()
{
    Testfenster u;
    frmHaupt &f = u.starte();
    QAction *hinzu = f.Menu(u"mnuTapiNull"_s);
    QAction *weg = f.Menu(u"mnuTAPINullEntfernen"_s);
    hinzu->trigger();
    QVERIFY(hinzu->isChecked());
    QVERIFY(!weg->isChecked());
    weg->trigger();
    QVERIFY(!hinzu->isChecked());
    QVERIFY(weg->isChecked());
    weg->trigger();
    QVERIFY(!hinzu->isChecked());
    QVERIFY(!weg->isChecked());

    u.dialogs.answerInput(u"+49"_s);
    f.Menu(u"mnuTapiNullAendern"_s)->trigger();
    QCOMPARE(u.gespeichert(u"Optionen"_s, u"Prefix"_s), u"+49"_s);
    QCOMPARE(hinzu->text(), u"Präfix (+49) hin&zufügen"_s);
    QCOMPARE(weg->text(), u"Präfix (+49) ent&fernen"_s);
    QCOMPARE(f.Menu(u"mnuTapiNullAendern"_s)->text(), u"Präfix (+49) än&dern"_s);
    QCOMPARE(u.dialogs.boxes().last().title, u"Rufmon - Präfix"_s);
    QCOMPARE(u.dialogs.boxes().last().defaultText, u"0"_s);

    // The same prefix again: nothing saved, captions stay.
    u.setze(u"Optionen"_s, u"Prefix"_s, u"+49"_s);
    hinzu->setText(u"unverändert"_s);
    u.dialogs.answerInput(u"+49"_s);
    f.Menu(u"mnuTapiNullAendern"_s)->trigger();
    QCOMPARE(hinzu->text(), u"unverändert"_s);

    // The identification reads the current marks and prefix.
    hinzu->trigger();
    f.Menu(u"mnuTAPIPlusKlammerFilter"_s)->setChecked(true);
    const auto e = f.Nummern().Einstellungen();
    QVERIFY(e.PraefixHinzufuegen);
    QVERIFY(e.PlusKlammerFilter);
    QCOMPARE(e.Praefix, u"+49"_s);
}

QTEST_MAIN(tst_Anrufereignisse)
#include "tst_Anrufereignisse.moc"
