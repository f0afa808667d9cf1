#include "core/Anruferliste.h"
#include "platform/registry/RegionalSettings.h"
#include "windows/Anruferlistenansicht.h"
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

// A call; a text that is no date leaves it without a moment.
Anruf eintrag(const QString &nummer, const QString &datum, const QString &ort = {})
{
    Anruf a;
    a.nummer = nummer;
    a.zeit = RegionalSettings::ParseDateTime(datum).value_or(QDateTime());
    a.ort = ort;
    return a;
}

} // namespace

Q_DECLARE_METATYPE(QList<Klick>)

// The caller list is sorted by clicking its column headers. The date column
// sorts by the calls' moments; the header icons show which column sorts and
// which way.
class tst_ListViewSort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init()
    {
        modListviewSort::Absteigend = false;
        m_liste.reset();
        m_anrufe = std::make_unique<Anruferliste>();
        m_liste = std::make_unique<Anruferlistenansicht>(*m_anrufe);
        AnruferlisteModell &model = m_liste->Modell();
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
        // The third call loaded, 0893, wherever it shows.
        m_liste->setSelectedIndex(m_liste->Modell().Zeile(m_anrufe->Schluessel(2)));
        QCOMPARE(m_liste->Auswahl()->nummer, u"0893"_s);
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
        m_anrufe->hinzufuegen(eintrag(u"0998"_s, u"03.01.2025 09:00:00"_s));
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern(), (QStringList{u"0998"_s, u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s}));

        modListviewSort::SortColumn(*m_liste, Datum, true);
        m_anrufe->hinzufuegen(eintrag(u"0999"_s, u"03.01.2025 09:00:01"_s));
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern().first(), u"0221"_s);
        QCOMPARE(nummern().mid(4), (QStringList{u"0402"_s, u"0998"_s, u"0999"_s}));
    }

    // Two calls in one second: the one added later is the later call, either
    // way round; and it is the one added last.
    void zweiAnrufeInEinerSekunde_data()
    {
        QTest::addColumn<bool>("aeltesteZuerst");
        QTest::addColumn<QStringList>("reihenfolge");
        QTest::newRow("newest first")
            << false << QStringList{u"0998"_s, u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s};
        QTest::newRow("oldest first")
            << true << QStringList{u"0221"_s, u"0301"_s, u"0711"_s, u"0893"_s, u"0402"_s, u"0998"_s};
    }
    void zweiAnrufeInEinerSekunde()
    {
        QFETCH(bool, aeltesteZuerst);
        fuelle();
        modListviewSort::SortColumn(*m_liste, Datum, false);
        if (aeltesteZuerst)
            modListviewSort::SortColumn(*m_liste, Datum, true);
        m_anrufe->hinzufuegen(eintrag(u"0998"_s, u"02.01.2025 10:00:00"_s));
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QTEST(nummern(), "reihenfolge");
        QCOMPARE(m_anrufe->anruf(m_anrufe->ZuletztHinzugefuegt()).nummer, u"0998"_s);
    }

    // A new call the list puts in place ends where sorting every one would
    // put it: either way round, into an equal second, before a call without
    // a moment.
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
        std::vector<Anruf> anrufe;
        for (const auto &[nummer, wann] : std::initializer_list<std::pair<const char16_t *, const char16_t *>>{
                 {u"0301", u"15.03.2024 10:00:00"}, {u"0402", u"02.01.2025 10:00:00"},
                 {u"0893", u"31.12.2024 23:59:59"}, {u"0221", u"01.02.2024 08:30:00"},
                 {u"0200", u"kein Datum"}})
            anrufe.push_back(eintrag(QString::fromUtf16(nummer), QString::fromUtf16(wann)));
        Anruferliste alle;
        Anruferlistenansicht sortiert(alle);
        for (Anruferlistenansicht *liste : {m_liste.get(), &sortiert})
            liste->Modell().setColumns(m_liste->Modell().columns());
        m_anrufe->ersetzen(anrufe);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        if (aeltesteZuerst)
            modListviewSort::SortColumn(*m_liste, Datum, true);
        m_anrufe->hinzufuegen(eintrag(u"0998"_s, datum));

        // The same calls loaded at once and sorted whole.
        anrufe.push_back(eintrag(u"0998"_s, datum));
        alle.ersetzen(anrufe);
        modListviewSort::SortColumn(sortiert, Datum, false);
        if (aeltesteZuerst)
            modListviewSort::SortColumn(sortiert, Datum, true);
        QStringList erwartet;
        for (int i = 0; i < sortiert.Modell().Count(); ++i)
            erwartet << sortiert.Modell().AnrufIn(i).nummer;
        QCOMPARE(nummern(), erwartet);
        QCOMPARE(erwartet.last(), u"0200"_s);
    }

    void modellBleibtGueltig()
    {
        // The model tester checks every signal and index while the list is changed and sorted.
        AnruferlisteModell &model = m_liste->Modell();
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        fuelle();
        m_anrufe->hinzufuegen(eintrag(u"0100"_s, u"01.01.2023 09:00:00"_s, u"Erfurt"_s));
        const quint64 ohne = m_anrufe->hinzufuegen(eintrag(u"0200"_s, u"kein Datum"_s, u"Gera"_s));
        QCOMPARE(model.rowCount(), 7);
        QCOMPARE(nummern().last(), u"0200"_s);

        // A call without a moment goes to the end, either way round.
        m_liste->setSelectedIndex(2);
        modListviewSort::SortColumn(*m_liste, Datum, false);
        QCOMPARE(nummern().last(), u"0200"_s);
        modListviewSort::SortColumn(*m_liste, Datum, true);
        QCOMPARE(nummern().last(), u"0200"_s);
        modListviewSort::SortColumn(*m_liste, Ort, true);

        Anruf geaendert = m_anrufe->anruf(ohne);
        geaendert.ort = u"Jena"_s;
        m_anrufe->aktualisieren(geaendert);
        QCOMPARE(model.data(model.index(model.Zeile(ohne), Ort)).toString(), u"Jena"_s);
        m_anrufe->leeren();
        QCOMPARE(m_liste->SelectedIndex(), -1);
        modListviewSort::SortColumn(*m_liste, Datum, true);
        QCOMPARE(model.rowCount(), 0);
    }

private:
    QStringList nummern() const
    {
        QStringList liste;
        for (int i = 0; i < m_liste->Modell().Count(); ++i)
            liste.append(m_liste->Modell().AnrufIn(i).nummer);
        return liste;
    }
    // The picture key each header shows, telling which column sorts and which way.
    QStringList symbole() const
    {
        QStringList liste;
        for (const auto &spalte : m_liste->Modell().columns())
            liste.append(spalte.IconKey);
        return liste;
    }
    void fuelle()
    {
        // The text order of the dates (01.02., 02.01., 10.11., 15.03., 31.12.)
        // differs from their order in time, and the places mix upper and lower case.
        m_anrufe->ersetzen({eintrag(u"0301"_s, u"15.03.2024 10:00:00"_s, u"berlin"_s),
                            eintrag(u"0402"_s, u"02.01.2025 10:00:00"_s, u"Aachen"_s),
                            eintrag(u"0893"_s, u"31.12.2024 23:59:59"_s, u"München"_s),
                            eintrag(u"0221"_s, u"01.02.2024 08:30:00"_s, u"köln"_s),
                            eintrag(u"0711"_s, u"10.11.2024 12:00:00"_s, u"Zwickau"_s)});
    }

    std::unique_ptr<Anruferliste> m_anrufe;
    std::unique_ptr<Anruferlistenansicht> m_liste;
};

QTEST_MAIN(tst_ListViewSort)
#include "tst_ListViewSort.moc"
