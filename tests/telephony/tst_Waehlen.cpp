// Calling back from the caller list and from the similar contacts, with the
// access code of the current dialing location.
#include "app/ListViewModel.h"
#include "app/modOptionen.h"
#include "platform/settings/IniSettingsStore.h"
#include "telephony/Waehlen.h"

#include "doubles/FakeSystem.h"
#include "doubles/FakeTapi.h"
#include "doubles/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Dialing with its own settings file, a fake line and a journal that shows
// what reached the window and the line, in order.
struct Aufbau
{
    QTemporaryDir dir;
    IniSettingsStore store{dir.filePath(u"Rufmon.conf"_s)};
    FakeSystem system;
    modOptionen optionen{store, system};
    ScriptedDialogs dialogs;
    QStringList journal;
    FakeTapi tapi{&journal};
    QString panel1 = u"vorher"_s;
    QString tooltip = u"vorher"_s;
    int adresse = 0;
    std::unique_ptr<Waehlen> waehlen;

    Aufbau()
    {
        Waehlen::Anbindung a;
        a.setPanel1Text = [this](const QString &t) {
            panel1 = t;
            journal << u"panel1"_s;
        };
        a.setText1ToolTip = [this](const QString &t) {
            tooltip = t;
            journal << u"tooltip"_s;
        };
        a.Adresse = [this] { return adresse; };
        a.atmen = [this] { journal << u"atmen"_s; };
        waehlen = std::make_unique<Waehlen>(tapi, store, optionen, dialogs, a);
    }

    void standort(const QString &currentId, const QString &nummer, const QString &amt)
    {
        if (!currentId.isNull())
            store.SaveSetting(u"Waehlregeln"_s, u"CurrentID"_s, currentId);
        if (!nummer.isEmpty())
            store.SaveSetting(u"Waehlregeln"_s, u"Location"_s + nummer + u"/OutsideAccess"_s, amt);
    }
};

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

QStringList gewaehlt(const FakeTapi &tapi)
{
    QStringList d;
    for (const QString &c : tapi.calls) {
        if (c.startsWith(u"Dial("_s))
            d << c;
    }
    return d;
}

} // namespace

class tst_Waehlen : public QObject
{
    Q_OBJECT

private slots:
    void accessCode_data();
    void accessCode();
    void callerEntryGoesToWindowThenLine();
    void callerListDialsSelectedEntryOnItsAddress();
    void emptyOrUnselectedListDialsNothing_data();
    void emptyOrUnselectedListDialsNothing();
    void callerEntryWithoutNumberIsReported();
    void bracketRule_data();
    void bracketRule();
    void similarContactWithoutNumberIsReported_data();
    void similarContactWithoutNumberIsReported();
    void similarContactDialsWithoutCodeInModeOne();
    void dialingRulesOfCurrentDevice();
};

void tst_Waehlen::accessCode_data()
{
    QTest::addColumn<QString>("currentId"); // null: not in the store
    QTest::addColumn<QString>("standort");
    QTest::addColumn<QString>("amt");
    QTest::addColumn<QString>("dial");

    QTest::newRow("location 1 with 0") << u"1"_s << u"1"_s << u"0"_s << u"00301234567"_s;
    QTest::newRow("no CurrentID") << QString() << u"1"_s << u"0"_s << u"0301234567"_s;
    QTest::newRow("CurrentID 0") << u"0"_s << u"0"_s << u"0"_s << u"0301234567"_s;
    QTest::newRow("negative CurrentID") << u"-1"_s << u"1"_s << u"0"_s << u"0301234567"_s;
    QTest::newRow("CurrentID not a number") << u"zwei"_s << u"2"_s << u"0"_s << u"0301234567"_s;
    QTest::newRow("digits before text count") << u"2b"_s << u"2"_s << u"9"_s << u"90301234567"_s;
    QTest::newRow("location without code") << u"3"_s << QString() << QString() << u"0301234567"_s;
    QTest::newRow("code of two digits") << u"4"_s << u"4"_s << u"00"_s << u"000301234567"_s;
}

void tst_Waehlen::accessCode()
{
    QFETCH(QString, currentId);
    QFETCH(QString, standort);
    QFETCH(QString, amt);
    QFETCH(QString, dial);

    Aufbau a;
    a.standort(currentId, standort, amt);
    // A code stored for another location must not leak in.
    a.store.SaveSetting(u"Waehlregeln"_s, u"Location7/OutsideAccess"_s, u"7"_s);
    const Liste nummern({u"0301234567"_s});
    a.waehlen->mnuNummerAnwaehlen(nummern, 0);

    QCOMPARE(gewaehlt(a.tapi), QStringList{u"Dial(%1,0)"_s.arg(dial)});
    QCOMPARE(a.panel1, u"Wähle "_s + dial);
    QCOMPARE(a.tooltip, u"Gewählte Nummer: "_s + dial);
    QVERIFY(a.dialogs.boxes().isEmpty());
}

void tst_Waehlen::callerEntryGoesToWindowThenLine()
{
    Aufbau a;
    a.standort(u"1"_s, u"1"_s, u"0"_s);
    a.store.SaveSetting(u"Optionen"_s, u"DialLineAdressMode"_s, u"2"_s);
    const Liste nummern({u"0301234567"_s});
    a.waehlen->mnuNummerAnwaehlen(nummern, 0);

    // The window shows the number and breathes before the line is busy dialing.
    QCOMPARE(a.journal, (QStringList{u"panel1"_s, u"tooltip"_s, u"atmen"_s, u"tapi.DialMode=2"_s,
                                     u"tapi.Dial(00301234567,0)"_s}));
}

void tst_Waehlen::callerListDialsSelectedEntryOnItsAddress()
{
    Aufbau a;
    a.adresse = 1;
    const Liste nummern({u"0221111"_s, u"0301234567"_s, u"089333"_s});
    a.waehlen->mnuNummerAnwaehlen(nummern, 1);

    // Without a stored option the address mode is its default, 1.
    QCOMPARE(a.tapi.dialMode, 1);
    QCOMPARE(gewaehlt(a.tapi), QStringList{u"Dial(0301234567,1)"_s});
    QCOMPARE(a.panel1, u"Wähle 0301234567"_s);
}

void tst_Waehlen::emptyOrUnselectedListDialsNothing_data()
{
    QTest::addColumn<QStringList>("eintraege");
    QTest::addColumn<int>("ausgewaehlt");

    QTest::newRow("empty list") << QStringList() << -1;
    QTest::newRow("no selection") << QStringList{u"0221111"_s} << -1;
    QTest::newRow("selection past the end") << QStringList{u"0221111"_s} << 1;
}

void tst_Waehlen::emptyOrUnselectedListDialsNothing()
{
    QFETCH(QStringList, eintraege);
    QFETCH(int, ausgewaehlt);

    Aufbau a;
    const Liste l(eintraege);
    a.waehlen->mnuNummerAnwaehlen(l, ausgewaehlt);
    a.waehlen->mnuAehnlicheNummerAnwaehlen(l, ausgewaehlt);

    QVERIFY(a.tapi.calls.isEmpty());
    QCOMPARE(a.panel1, u"vorher"_s);
    QVERIFY(a.dialogs.boxes().isEmpty());
}

void tst_Waehlen::callerEntryWithoutNumberIsReported()
{
    Aufbau a;
    a.standort(u"1"_s, u"1"_s, u"0"_s);
    const Liste nummern({QString()});
    a.waehlen->mnuNummerAnwaehlen(nummern, 0);

    // Dialing the access code alone would seize a line for nothing.
    QVERIFY(gewaehlt(a.tapi).isEmpty());
    QCOMPARE(a.dialogs.boxes().size(), 1);
    QCOMPARE(a.dialogs.boxes().first().text, u"Es ist keine Nummer vorhanden."_s);
    QCOMPARE(a.dialogs.boxes().first().icon, Dialogs::Icon::Information);
}

void tst_Waehlen::bracketRule_data()
{
    QTest::addColumn<QString>("eintrag");
    QTest::addColumn<QString>("nummer");

    QTest::newRow("label and number") << u"[Telefon] 0221123456"_s << u"0221123456"_s;
    QTest::newRow("label with blanks") << u"[Telefon privat] 089777"_s << u"089777"_s;
    QTest::newRow("no bracket: all of it") << u"0221 123"_s << u"0221 123"_s;
    QTest::newRow("only the first bracket counts") << u"[Fax] 0221]5"_s << u"0221]5"_s;
    QTest::newRow("one character after the bracket is dropped") << u"[Fax]-0221"_s << u"0221"_s;
    QTest::newRow("bracket in front") << u"] 0711"_s << u"0711"_s;
}

void tst_Waehlen::bracketRule()
{
    QFETCH(QString, eintrag);
    QFETCH(QString, nummer);

    QCOMPARE(Waehlen::NummerAusEintrag(eintrag), nummer);

    Aufbau a;
    a.standort(u"1"_s, u"1"_s, u"0"_s);
    a.adresse = 2;
    const Liste kontakte({u"[Telefon] 1"_s, eintrag});
    a.waehlen->mnuAehnlicheNummerAnwaehlen(kontakte, 1);
    QCOMPARE(gewaehlt(a.tapi), QStringList{u"Dial(%1,2)"_s.arg(nummer)});
}

void tst_Waehlen::similarContactWithoutNumberIsReported_data()
{
    QTest::addColumn<QString>("eintrag");

    QTest::newRow("empty entry") << QString();
    QTest::newRow("label without number") << u"[Telefon] "_s;
}

void tst_Waehlen::similarContactWithoutNumberIsReported()
{
    QFETCH(QString, eintrag);

    Aufbau a;
    const Liste kontakte({eintrag});
    a.waehlen->mnuAehnlicheNummerAnwaehlen(kontakte, 0);

    QVERIFY(gewaehlt(a.tapi).isEmpty());
    QCOMPARE(a.dialogs.boxes().size(), 1);
    const ScriptedDialogs::Box &box = a.dialogs.boxes().first();
    QCOMPARE(box.text, u"Es ist keine Nummer vorhanden."_s);
    QCOMPARE(box.icon, Dialogs::Icon::Information);
    QCOMPARE(box.title, u"Rufmon"_s);
}

void tst_Waehlen::similarContactDialsWithoutCodeInModeOne()
{
    Aufbau a;
    a.standort(u"1"_s, u"1"_s, u"0"_s);
    a.store.SaveSetting(u"Optionen"_s, u"DialLineAdressMode"_s, u"3"_s);
    const Liste kontakte({u"[Telefon] 0301234567"_s});
    a.waehlen->mnuAehnlicheNummerAnwaehlen(kontakte, 0);

    QCOMPARE(a.journal, (QStringList{u"tapi.DialMode=1"_s, u"tapi.Dial(0301234567,0)"_s}));
    QCOMPARE(a.panel1, u"vorher"_s);
    QCOMPARE(a.tooltip, u"vorher"_s);
}

void tst_Waehlen::dialingRulesOfCurrentDevice()
{
    Aufbau a;
    a.tapi.devices = {u"Rufmon-Simulator"_s, u"Modem /dev/ttyACM0"_s};
    a.tapi.current = 1;
    a.waehlen->mnuTapiWaehlregeln();
    QCOMPARE(a.tapi.calls, QStringList{u"TranslateDialog(1)"_s});
}

QTEST_GUILESS_MAIN(tst_Waehlen)
#include "tst_Waehlen.moc"
