// Calling back from the caller list and from the similar contacts, with the
// access code of the current dialing location.
#include "core/ListViewModel.h"
#include "telephony/Waehlen.h"

#include "doubles/FakeTapi.h"
#include "doubles/Umgebung.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Dialing with its own settings file, a fake line and a journal that shows
// what reached the window and the line, in order.
struct Aufbau : Umgebung
{
    QStringList journal;
    FakeTapi tapi{&journal};
    int adresse = 0;
    Waehlen waehlen{tapi, store, optionen, dialogs,
                    {[this](const QString &t) { journal << u"panel1 "_s + t; },
                     [this](const QString &t) { journal << u"tooltip "_s + t; }, [this] { return adresse; },
                     [this] { journal << u"atmen"_s; }}};

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

class tst_Waehlen : public QObject
{
    Q_OBJECT

private slots:
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
        a.waehlen.mnuNummerAnwaehlen(Liste({u"0301234567"_s}), 0);

        // The window shows the number and breathes before the line is busy
        // dialing; without a stored option the dial mode is 1.
        QCOMPARE(a.journal, (QStringList{u"panel1 Wähle "_s + dial, u"tooltip Gewählte Nummer: "_s + dial, u"atmen"_s,
                                         u"tapi.DialMode=1"_s, u"tapi.Dial(%1,0)"_s.arg(dial)}));
        QVERIFY(a.dialogs.boxes().isEmpty());
    }

    // The selected entry on the selected address; the stored dial mode for the
    // caller list, mode 1 and no access code for the similar contacts, which
    // leave the status bar alone.
    void selectedEntryOnItsAddress()
    {
        Aufbau a;
        a.standortEinsMitNull();
        a.set(u"DialLineAdressMode"_s, u"3"_s, u"Optionen"_s);
        a.adresse = 2;
        a.waehlen.mnuNummerAnwaehlen(Liste({u"0221111"_s, u"0301234567"_s, u"089333"_s}), 1);
        QCOMPARE(a.tapi.calls, (QStringList{u"DialMode=3"_s, u"Dial(00301234567,2)"_s}));
        a.journal.clear();
        a.waehlen.mnuAehnlicheNummerAnwaehlen(Liste({u"[Telefon] 1"_s, u"[Fax] 0301234567"_s}), 1);
        QCOMPARE(a.journal, (QStringList{u"tapi.DialMode=1"_s, u"tapi.Dial(0301234567,2)"_s}));
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
            a.waehlen.mnuNummerAnwaehlen(Liste(eintraege), ausgewaehlt);

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
        QFETCH(QString, nummer);
        QCOMPARE(Waehlen::NummerAusEintrag(eintrag), nummer);
    }
};

QTEST_GUILESS_MAIN(tst_Waehlen)
#include "tst_Waehlen.moc"
