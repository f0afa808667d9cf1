// The caller list as calls and as the window's rows: the order of the rows
// (newest or oldest first, by a column's text), a new call in its place as
// one inserted row, every stored call once after loading, each column
// showing its own field after sorting.
#include "core/Anruferliste.h"
#include "phonedb/NummernMdbOrt.h"
#include "phonedb/clRufmonDaten.h"
#include "platform/jet/DBEngine.h"
#include "platform/jet/Database.h"
#include "windows/AnruferlisteModell.h"

#include "TestPaths.h"
#include "doubles/Umgebung.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A call "number@dd.MM. hh:mm" (no "@": a call without a moment), placed
// in "Ort" and named "Kontakt" after its number.
Anruf anruf(const QString &text)
{
    Anruf a;
    a.nummer = text.section(u'@', 0, 0);
    if (text.contains(u'@'))
        a.zeit = QDateTime::fromString(text.section(u'@', 1) + u".2026"_s, u"dd.MM. hh:mm.yyyy"_s);
    a.ort = u"Ort "_s + a.nummer;
    a.name = u"Kontakt "_s + a.nummer;
    a.ergebnis = Anruf::Ergebnis::Unbekannt;
    a.bild = 2;
    return a;
}

std::vector<Anruf> anrufe(const QStringList &texte)
{
    std::vector<Anruf> a;
    for (const QString &t : texte)
        a.push_back(anruf(t));
    return a;
}

void spalten(AnruferlisteModell &m)
{
    m.setColumns({{u"Nummer"_s, u"Nummer"_s, {}},
                  {u"Datum"_s, u"Datum"_s, {}},
                  {u"Ort"_s, u"Ort"_s, {}},
                  {u"Kontakt"_s, u"Kontakt"_s, {}}});
}

QStringList nummern(const AnruferlisteModell &m)
{
    QStringList n;
    for (int i = 0; i < m.Count(); ++i)
        n << m.data(m.index(i, 0)).toString();
    return n;
}

} // namespace

class tst_AnruferlisteModell : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // The loaded calls, in the store's order, then one more call: where it stands.
    void order_data()
    {
        QTest::addColumn<QStringList>("geladen");
        QTest::addColumn<bool>("aeltesteZuerst");
        QTest::addColumn<QString>("neu");
        QTest::addColumn<QStringList>("erwartet");

        const QStringList durcheinander{u"b@02.12. 10:00"_s, u"a@01.12. 10:00"_s, u"ohne"_s, u"c@03.12. 10:00"_s};
        QTest::newRow("newest first, a new call on top")
            << durcheinander << false << u"d@04.12. 10:00"_s
            << QStringList{u"d"_s, u"c"_s, u"b"_s, u"a"_s, u"ohne"_s};
        QTest::newRow("oldest first, a new call at the bottom of the dates")
            << durcheinander << true << u"d@04.12. 10:00"_s
            << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"ohne"_s};
        QTest::newRow("newest first, a call of earlier in its place")
            << durcheinander << false << u"x@02.12. 11:00"_s
            << QStringList{u"c"_s, u"x"_s, u"b"_s, u"a"_s, u"ohne"_s};
        QTest::newRow("oldest first, a call of earlier in its place")
            << durcheinander << true << u"x@01.12. 09:00"_s
            << QStringList{u"x"_s, u"a"_s, u"b"_s, u"c"_s, u"ohne"_s};
        // Calls of one minute: the one added later is the later call.
        QTest::newRow("same moment, newest first")
            << QStringList{u"a@01.12. 10:00"_s, u"b@01.12. 10:00"_s} << false << u"c@01.12. 10:00"_s
            << QStringList{u"c"_s, u"b"_s, u"a"_s};
        QTest::newRow("same moment, oldest first")
            << QStringList{u"a@01.12. 10:00"_s, u"b@01.12. 10:00"_s} << true << u"c@01.12. 10:00"_s
            << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("an empty list") << QStringList() << false << u"a@01.12. 10:00"_s << QStringList{u"a"_s};
    }
    void order()
    {
        QFETCH(QStringList, geladen);
        QFETCH(bool, aeltesteZuerst);
        QFETCH(QString, neu);

        Anruferliste liste;
        AnruferlisteModell modell(liste);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        spalten(modell);
        liste.ersetzen(anrufe(geladen));
        modell.sortiereNachDatum(aeltesteZuerst);

        QSignalSpy eingefuegt(&modell, &QAbstractItemModel::rowsInserted);
        QSignalSpy umgestellt(&modell, &QAbstractItemModel::layoutChanged);
        QSignalSpy neuGesetzt(&modell, &QAbstractItemModel::modelReset);
        const quint64 schluessel = liste.hinzufuegen(anruf(neu));
        QTEST(nummern(modell), "erwartet");
        // One row put in where it belongs; the others are neither moved nor laid out anew.
        QCOMPARE(eingefuegt.size(), 1);
        const int zeile = eingefuegt.first().at(1).toInt();
        QCOMPARE(eingefuegt.first().at(2).toInt(), zeile);
        QCOMPARE(modell.Zeile(schluessel), zeile);
        QCOMPARE(modell.AnrufIn(zeile).nummer, anruf(neu).nummer);
        QCOMPARE(umgestellt.size(), 0);
        QCOMPARE(neuGesetzt.size(), 0);
    }

    // The call found shows in its own row at once; the row does not move.
    void updatedCallShowsInItsRow()
    {
        Anruferliste liste;
        AnruferlisteModell modell(liste);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        spalten(modell);
        liste.ersetzen(anrufe({u"a@01.12. 10:00"_s, u"b@02.12. 10:00"_s}));
        Anruf a = anruf(u"c@03.12. 10:00"_s);
        a.ort = u"suche..."_s;
        a.eintrag = liste.hinzufuegen(a);
        QSignalSpy geaendert(&modell, &QAbstractItemModel::dataChanged);
        a.ort = u"Berlin"_s;
        a.name = u"Greta Grünwald"_s;
        a.ergebnis = Anruf::Ergebnis::Erkannt;
        a.kontaktId = u"GRETA01"_s;
        a.bild = 6;
        liste.aktualisieren(a);
        QCOMPARE(geaendert.size(), 1);
        QCOMPARE(geaendert.first().at(0).value<QModelIndex>().row(), 0);
        QCOMPARE(modell.data(modell.index(0, 2)).toString(), u"Berlin"_s);
        QCOMPARE(modell.data(modell.index(0, 3)).toString(), u"Greta Grünwald"_s);
        QCOMPARE(modell.AnrufIn(0).Tag(), u"[GRETA01     ]"_s);
        QCOMPARE(nummern(modell), (QStringList{u"c"_s, u"b"_s, u"a"_s}));
        // A call no longer in the list (reloaded meanwhile) changes nothing.
        liste.ersetzen(anrufe({u"x@01.12. 10:00"_s}));
        liste.aktualisieren(a);
        QCOMPARE(nummern(modell), QStringList{u"x"_s});
        QVERIFY(!liste.enthaelt(a.eintrag));
    }

    // After a click on a header the rows follow that column, and every
    // column of a row still shows its own call's field.
    void sortedByAColumn_data()
    {
        QTest::addColumn<QString>("spalte");
        QTest::addColumn<bool>("absteigend");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("number A-Z") << u"Nummer"_s << false << QStringList{u"alpha"_s, u"Beta"_s, u"gamma"_s};
        QTest::newRow("number Z-A") << u"Nummer"_s << true << QStringList{u"gamma"_s, u"Beta"_s, u"alpha"_s};
        QTest::newRow("place A-Z") << u"Ort"_s << false << QStringList{u"gamma"_s, u"alpha"_s, u"Beta"_s};
        QTest::newRow("contact Z-A") << u"Kontakt"_s << true << QStringList{u"gamma"_s, u"Beta"_s, u"alpha"_s};
    }
    void sortedByAColumn()
    {
        QFETCH(QString, spalte);
        QFETCH(bool, absteigend);

        Anruferliste liste;
        AnruferlisteModell modell(liste);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        spalten(modell);
        std::vector<Anruf> a = anrufe({u"Beta@02.12. 10:00"_s, u"alpha@03.12. 10:00"_s, u"gamma@01.12. 10:00"_s});
        a[0].ort = u"Zwickau"_s;
        a[1].ort = u"Berlin"_s;
        a[2].ort = u"aachen"_s;
        liste.ersetzen(a);
        modell.sortiereNachText(modell.columnByKey(spalte), absteigend);
        QTEST(nummern(modell), "erwartet");
        for (int zeile = 0; zeile < modell.Count(); ++zeile) {
            const Anruf r = modell.AnrufIn(zeile);
            QCOMPARE(modell.data(modell.index(zeile, 0)).toString(), r.nummer);
            QCOMPARE(modell.data(modell.index(zeile, 1)).toString(), r.Datumstext());
            QCOMPARE(modell.data(modell.index(zeile, 2)).toString(), r.ort);
            QCOMPARE(modell.data(modell.index(zeile, 3)).toString(), r.name);
            QCOMPARE(modell.data(modell.index(zeile, 3)).toString(), u"Kontakt "_s + r.nummer);
        }
        // Back to the date, newest first.
        modell.sortiereNachDatum(false);
        QCOMPARE(nummern(modell), (QStringList{u"alpha"_s, u"Beta"_s, u"gamma"_s}));
    }

    // A selection (a persistent index) follows its call through a new order.
    void selectionFollowsItsCall()
    {
        Anruferliste liste;
        AnruferlisteModell modell(liste);
        spalten(modell);
        liste.ersetzen(anrufe({u"a@01.12. 10:00"_s, u"b@02.12. 10:00"_s, u"c@03.12. 10:00"_s}));
        const QPersistentModelIndex b = modell.index(1, 0);
        QCOMPARE(b.data().toString(), u"b"_s);
        modell.sortiereNachDatum(true);
        QCOMPARE(b.data().toString(), u"b"_s);
        liste.hinzufuegen(anruf(u"d@04.12. 10:00"_s));
        modell.sortiereNachText(0, true);
        QCOMPARE(b.data().toString(), u"b"_s);
        QCOMPARE(b.row(), 2);
    }

    // Stored calls come back each once, also after a second reload and with
    // calls added between; the rows hold the same calls.
    void everyStoredCallOnce()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        Umgebung u;
        QVERIFY(QFile::copy(QStringLiteral(RUFMON_NUMMERN_MDB), u.dir.filePath(u"Nummern.mdb"_s)));
        QFile::setPermissions(u.dir.filePath(u"Nummern.mdb"_s), QFile::ReadOwner | QFile::WriteOwner);
        clRufmonDaten daten(u.dialogs, u.optionen);
        daten.init(NummernMdbOrt::Pfad(u.dir.path()));
        QVERIFY(daten.istOffen());
        const QDateTime anfang(QDate(2026, 12, 1), QTime(8, 0));
        QSet<QString> gespeichert;
        daten.StapelBeginnen();
        for (int i = 0; i < 500; ++i) {
            Anruf a = anruf(u"0301%1"_s.arg(i, 6, 10, QChar(u'0')));
            // Not in time order, as a clock set back or a gap read later leaves them.
            a.zeit = anfang.addSecs(((i * 7919) % 500) * 60);
            QVERIFY(daten.speichere(a));
            gespeichert.insert(a.nummer);
        }
        daten.StapelBeenden();

        Anruferliste liste;
        AnruferlisteModell modell(liste);
        QAbstractItemModelTester pruefer(&modell, QAbstractItemModelTester::FailureReportingMode::QtTest);
        spalten(modell);
        for (int runde = 0; runde < 2; ++runde) {
            liste.hinzufuegen(anruf(u"nur gezeigt@05.12. 10:00"_s));
            daten.leseMDBinListview(liste);
            QCOMPARE(liste.Anzahl(), 500);
            QCOMPARE(modell.Count(), 500);
            QSet<QString> gezeigt;
            QDateTime vorige;
            for (int zeile = 0; zeile < modell.Count(); ++zeile) {
                const Anruf a = modell.AnrufIn(zeile);
                QVERIFY2(!gezeigt.contains(a.nummer), qPrintable(a.nummer));
                gezeigt.insert(a.nummer);
                // Newest first.
                QVERIFY(!vorige.isValid() || a.zeit <= vorige);
                vorige = a.zeit;
            }
            QCOMPARE(gezeigt, gespeichert);
        }
        daten.kill();
        QVERIFY(u.dialogs.boxes().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_AnruferlisteModell)
#include "tst_AnruferlisteModell.moc"
