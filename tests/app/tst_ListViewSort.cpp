#include "windows/ListView.h"
#include "core/ListViewModel.h"
#include "windows/modListviewSort.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One click on a column header, or a sort the program asks for.
struct Klick
{
    int spalte;
    bool umkehren;
};

constexpr int Nummer = 0;
constexpr int Datum = 1;
constexpr int Ort = 2;

ListItem eintrag(const QString &nummer, const QString &datum, const QString &ort = {})
{
    ListItem item;
    item.Text = nummer;
    item.SubItems = {datum, ort};
    return item;
}

} // namespace

Q_DECLARE_METATYPE(QList<Klick>)

// The caller list is sorted by clicking its column headers. The date column
// holds text but must sort by the moment it names; the header icons show
// which column sorts and which way.
class tst_ListViewSort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init()
    {
        modListviewSort::Absteigend = false;
        m_liste = std::make_unique<ListView>();
        ListViewModel &model = m_liste->Items();
        model.setColumns({
            {u"Nummer"_s, u"Nummer"_s, QString()},
            {u"Datum"_s, u"Datum"_s, QString()},
            {u"Ort"_s, u"Ort"_s, QString()},
            {u"Kontakt"_s, u"Kontakt"_s, QString()},
        });
        QCOMPARE(m_liste->SortKey(), 0);
    }

    void sortieren_data()
    {
        QTest::addColumn<QList<Klick>>("klicks");
        QTest::addColumn<QStringList>("reihenfolge");
        QTest::addColumn<QStringList>("symbole");
        QTest::addColumn<bool>("absteigend");

        const QStringList neuesteZuerst = {u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s};
        const QStringList aeltesteZuerst = {u"0221"_s, u"0301"_s, u"0711"_s, u"0893"_s, u"0402"_s};
        const QStringList ortAZ = {u"0402"_s, u"0301"_s, u"0221"_s, u"0893"_s, u"0711"_s};
        const QStringList ortZA = {u"0711"_s, u"0893"_s, u"0221"_s, u"0301"_s, u"0402"_s};
        const QStringList nummerAb = {u"0893"_s, u"0711"_s, u"0402"_s, u"0301"_s, u"0221"_s};

        const QString L = u"Leer"_s;
        const QString H = u"Hoch"_s;
        const QString R = u"Runter"_s;

        // A new column sorts ascending whatever the click asks; the same column
        // turns round only when asked. The date column's "ascending" is newest first.
        QTest::newRow("date") << QList<Klick>{{Datum, true}} << neuesteZuerst << QStringList{L, R, L, L} << false;
        QTest::newRow("date turned round") << QList<Klick>{{Datum, false}, {Datum, true}} << aeltesteZuerst
                                           << QStringList{L, H, L, L} << true;
        QTest::newRow("user's oldest-first kept") << QList<Klick>{{Datum, false}, {Datum, true}, {Datum, false}}
                                                  << aeltesteZuerst << QStringList{L, H, L, L} << true;
        QTest::newRow("place, case ignored") << QList<Klick>{{Datum, false}, {Ort, true}} << ortAZ
                                             << QStringList{L, L, R, L} << false;
        QTest::newRow("place turned round") << QList<Klick>{{Ort, true}, {Ort, true}} << ortZA << QStringList{L, L, H, L}
                                            << true;
        QTest::newRow("back to date after descending place")
            << QList<Klick>{{Ort, true}, {Ort, true}, {Datum, false}} << neuesteZuerst << QStringList{L, R, L, L} << false;
        QTest::newRow("number, the sort column from the start") << QList<Klick>{{Nummer, true}} << nummerAb
                                                                 << QStringList{H, L, L, L} << true;
    }
    void sortieren()
    {
        QFETCH(QList<Klick>, klicks);
        QFETCH(QStringList, reihenfolge);
        QFETCH(QStringList, symbole);
        QFETCH(bool, absteigend);

        fuelle();
        m_liste->setSelectedIndex(2);
        for (const Klick &k : klicks)
            modListviewSort::SortColumn(*m_liste, k.spalte, k.umkehren);

        QCOMPARE(nummern(), reihenfolge);
        // The selected entry stays selected and current wherever it went.
        QCOMPARE(m_liste->SelectedIndex(), static_cast<int>(reihenfolge.indexOf(u"0893"_s)));
        QCOMPARE(m_liste->currentIndex().row(), m_liste->SelectedIndex());
        QCOMPARE(this->symbole(), symbole);
        QCOMPARE(modListviewSort::Absteigend, absteigend);
        QCOMPARE(m_liste->SortKey(), klicks.last().spalte);
        QCOMPARE(m_liste->sortOrder() == ListView::SortOrder::Descending, absteigend);
    }

    void neuerEintragNachSortierung()
    {
        // A new call is the newest one: at the top when the newest come first,
        // at the bottom when the user chose the oldest first.
        fuelle();
        modListviewSort::SortColumn(*m_liste, Datum, false);
        m_liste->Items().Add(eintrag(u"0998"_s, u"03.01.2025 09:00:00"_s), 2);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern(), (QStringList{u"0998"_s, u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s}));

        modListviewSort::SortColumn(*m_liste, Datum, true);
        m_liste->Items().Add(eintrag(u"0999"_s, u"03.01.2025 09:00:01"_s), 0);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern().first(), u"0221"_s);
        QCOMPARE(nummern().mid(4), (QStringList{u"0402"_s, u"0998"_s, u"0999"_s}));
    }

    // Two calls in one second: the one added later is the later call, either
    // way round and wherever it was put in; and it is the one added last.
    void zweiAnrufeInEinerSekunde_data()
    {
        QTest::addColumn<bool>("aeltesteZuerst");
        QTest::addColumn<int>("position");
        QTest::addColumn<QStringList>("reihenfolge");
        QTest::newRow("newest first, put in at the end")
            << false << -1 << QStringList{u"0998"_s, u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s};
        QTest::newRow("oldest first, put in at the top")
            << true << 0 << QStringList{u"0221"_s, u"0301"_s, u"0711"_s, u"0893"_s, u"0402"_s, u"0998"_s};
    }
    void zweiAnrufeInEinerSekunde()
    {
        QFETCH(bool, aeltesteZuerst);
        QFETCH(int, position);
        fuelle();
        modListviewSort::SortColumn(*m_liste, Datum, false);
        if (aeltesteZuerst)
            modListviewSort::SortColumn(*m_liste, Datum, true);
        m_liste->Items().Add(eintrag(u"0998"_s, u"02.01.2025 10:00:00"_s), position);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QTEST(nummern(), "reihenfolge");
        QCOMPARE(m_liste->Items().Item(m_liste->Items().ZuletztHinzugefuegt()).Text, u"0998"_s);
    }

    // A new call put in place by a few dates ends where sorting every one
    // would put it: either way round, into an equal second, before a text
    // that is no date; and nothing moves when the others are out of order.
    void einordnenWieSortieren_data()
    {
        QTest::addColumn<bool>("aeltesteZuerst");
        QTest::addColumn<QString>("datum");
        for (const bool aeltesteZuerst : {false, true}) {
            const char *weg = aeltesteZuerst ? "oldest first" : "newest first";
            QTest::addRow("%s, newest", weg) << aeltesteZuerst << u"07.12.2026 08:00:00"_s;
            QTest::addRow("%s, oldest", weg) << aeltesteZuerst << u"01.01.2020 08:00:00"_s;
            QTest::addRow("%s, between", weg) << aeltesteZuerst << u"01.06.2024 08:00:00"_s;
            QTest::addRow("%s, same second", weg) << aeltesteZuerst << u"31.12.2024 23:59:59"_s;
        }
    }
    void einordnenWieSortieren()
    {
        QFETCH(bool, aeltesteZuerst);
        QFETCH(QString, datum);
        ListView sortiert;
        for (ListView *liste : {m_liste.get(), &sortiert}) {
            liste->Items().setColumns(m_liste->Items().columns());
            ListViewModel &model = liste->Items();
            for (const auto &[nummer, wann] : std::initializer_list<std::pair<const char16_t *, const char16_t *>>{
                     {u"0301", u"15.03.2024 10:00:00"}, {u"0402", u"02.01.2025 10:00:00"},
                     {u"0893", u"31.12.2024 23:59:59"}, {u"0221", u"01.02.2024 08:30:00"},
                     {u"0200", u"kein Datum"}})
                model.Add(eintrag(QString::fromUtf16(nummer), QString::fromUtf16(wann)));
            modListviewSort::SortColumn(*liste, Datum, false);
            if (aeltesteZuerst)
                modListviewSort::SortColumn(*liste, Datum, true);
            model.Add(eintrag(u"0998"_s, datum));
        }
        QVERIFY(modListviewSort::NachDatumEinordnen(*m_liste, m_liste->Items().Count() - 1));
        modListviewSort::SortColumn(sortiert, Datum, false);
        QStringList erwartet;
        for (int i = 0; i < sortiert.Items().Count(); ++i)
            erwartet << sortiert.Items().Item(i).Text;
        QCOMPARE(nummern(), erwartet);

        // Out of order: left to a whole sort.
        ListViewModel &model = m_liste->Items();
        model.Verschieben(0, model.Count() - 1);
        model.Add(eintrag(u"0999"_s, u"07.12.2026 09:00:00"_s));
        const QStringList vorher = nummern();
        QVERIFY(!modListviewSort::NachDatumEinordnen(*m_liste, model.Count() - 1));
        QCOMPARE(nummern(), vorher);
    }

    void modellBleibtGueltig()
    {
        // The model tester checks every signal and index while the list is changed and sorted.
        ListViewModel &model = m_liste->Items();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        fuelle();
        model.Add(eintrag(u"0100"_s, u"01.01.2023 09:00:00"_s, u"Erfurt"_s), 0);
        model.Add(eintrag(u"0200"_s, u"kein Datum"_s, u"Gera"_s), 3);
        QCOMPARE(nummern().mid(0, 4), (QStringList{u"0100"_s, u"0301"_s, u"0402"_s, u"0200"_s}));
        model.Verschieben(0, 3);
        model.Verschieben(3, 0);
        model.Remove(0);
        model.Remove(99);
        QCOMPARE(model.rowCount(), 6);

        // A text that is no date goes to the end, either way round.
        m_liste->setSelectedIndex(2);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern().last(), u"0200"_s);
        modListviewSort::SortColumn(*m_liste, Datum, true);
        QCOMPARE(nummern().last(), u"0200"_s);
        modListviewSort::SortColumn(*m_liste, Ort, true);

        ListItem geaendert = model.Item(4);
        geaendert.setColumnText(Ort, u"Jena"_s);
        model.setItem(4, geaendert);
        QCOMPARE(model.data(model.index(4, Ort)).toString(), u"Jena"_s);
        model.Clear();
        QCOMPARE(m_liste->SelectedIndex(), -1);
        modListviewSort::SortColumn(*m_liste, Datum, true);
        QCOMPARE(model.rowCount(), 0);
    }

private:
    QStringList nummern() const
    {
        QStringList liste;
        for (int i = 0; i < m_liste->Items().Count(); ++i)
            liste.append(m_liste->Items().Item(i).Text);
        return liste;
    }
    // The picture key each header shows, telling which column sorts and which way.
    QStringList symbole() const
    {
        QStringList liste;
        for (const auto &spalte : m_liste->Items().columns())
            liste.append(spalte.IconKey);
        return liste;
    }
    void fuelle()
    {
        // The text order of the dates (01.02., 02.01., 10.11., 15.03., 31.12.)
        // differs from their order in time, and the places mix upper and lower case.
        ListViewModel &model = m_liste->Items();
        model.Add(eintrag(u"0301"_s, u"15.03.2024 10:00:00"_s, u"berlin"_s));
        model.Add(eintrag(u"0402"_s, u"02.01.2025 10:00:00"_s, u"Aachen"_s));
        model.Add(eintrag(u"0893"_s, u"31.12.2024 23:59:59"_s, u"München"_s));
        model.Add(eintrag(u"0221"_s, u"01.02.2024 08:30:00"_s, u"köln"_s));
        model.Add(eintrag(u"0711"_s, u"10.11.2024 12:00:00"_s, u"Zwickau"_s));
    }

    std::unique_ptr<ListView> m_liste;
};

QTEST_MAIN(tst_ListViewSort)
#include "tst_ListViewSort.moc"
