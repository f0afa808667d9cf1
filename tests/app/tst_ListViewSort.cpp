#include "app/ImageList.h"
#include "app/ListView.h"
#include "app/ListViewModel.h"
#include "app/modListviewSort.h"
#include "platform/registry/RegionalSettings.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QPixmap>
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
constexpr int Kontakt = 3;

QIcon farbe(Qt::GlobalColor c)
{
    QPixmap bild(8, 8);
    bild.fill(c);
    return QIcon(bild);
}

ListItem eintrag(const QString &nummer, const QString &datum, const QString &ort,
                 const QString &kontakt)
{
    ListItem item;
    item.Text = nummer;
    item.SubItems = {datum, ort, kontakt};
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
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void sortieren_data();
    void sortieren();
    void neuerEintragNachSortierung_data();
    void neuerEintragNachSortierung();
    void auswahlBleibt_data();
    void auswahlBleibt();
    void modellBleibtGueltig();
    void hunderttausendEintraege();

private:
    QStringList nummern() const;
    QStringList symbole() const;
    void fuelle();

    QLocale m_vorher;
    ImageList m_kopfSymbole;
    std::unique_ptr<ListView> m_liste;
};

void tst_ListViewSort::initTestCase()
{
    m_vorher = QLocale();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_kopfSymbole.Add(u"Leer"_s, farbe(Qt::white));
    m_kopfSymbole.Add(u"Hoch"_s, farbe(Qt::red));
    m_kopfSymbole.Add(u"Runter"_s, farbe(Qt::blue));
}

void tst_ListViewSort::cleanupTestCase()
{
    QLocale::setDefault(m_vorher);
}

void tst_ListViewSort::init()
{
    modListviewSort::Absteigend = false;
    m_liste = std::make_unique<ListView>();
    ListViewModel &model = m_liste->Items();
    model.setHeaderIcons([this](const QString &key) { return QVariant(m_kopfSymbole.Picture(key)); });
    model.setColumns({
        {u"Nummer"_s, u"Nummer"_s, QString()},
        {u"Datum"_s, u"Datum"_s, QString()},
        {u"Ort"_s, u"Ort"_s, QString()},
        {u"Kontakt"_s, u"Kontakt"_s, QString()},
    });
    QCOMPARE(m_liste->SortKey(), 0);
}

void tst_ListViewSort::cleanup()
{
    m_liste.reset();
}

void tst_ListViewSort::fuelle()
{
    // The text order of the dates (01.02., 02.01., 10.11., 15.03., 31.12.)
    // differs from their order in time, and the places mix upper and lower case.
    ListViewModel &model = m_liste->Items();
    model.Add(eintrag(u"0301"_s, u"15.03.2024 10:00:00"_s, u"berlin"_s, u"Meier"_s));
    model.Add(eintrag(u"0402"_s, u"02.01.2025 10:00:00"_s, u"Aachen"_s, u"Schulz"_s));
    model.Add(eintrag(u"0893"_s, u"31.12.2024 23:59:59"_s, u"München"_s, u"albers"_s));
    model.Add(eintrag(u"0221"_s, u"01.02.2024 08:30:00"_s, u"köln"_s, u"Zander"_s));
    model.Add(eintrag(u"0711"_s, u"10.11.2024 12:00:00"_s, u"Zwickau"_s, u"Becker"_s));
}

QStringList tst_ListViewSort::nummern() const
{
    QStringList liste;
    const ListViewModel &model = m_liste->Items();
    for (int i = 0; i < model.Count(); ++i)
        liste.append(model.Item(i).Text);
    return liste;
}

QStringList tst_ListViewSort::symbole() const
{
    QStringList liste;
    const ListViewModel &model = m_liste->Items();
    for (int i = 0; i < static_cast<int>(model.columns().size()); ++i) {
        const QString key = model.columns()[i].IconKey;
        liste.append(key);
        // The header shows the picture that belongs to the key.
        const QIcon gezeigt = model.headerData(i, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        if (gezeigt.cacheKey() != m_kopfSymbole.Picture(key).cacheKey())
            liste.last() += u" (other picture)"_s;
    }
    return liste;
}

void tst_ListViewSort::sortieren_data()
{
    QTest::addColumn<QList<Klick>>("klicks");
    QTest::addColumn<QStringList>("reihenfolge");
    QTest::addColumn<QStringList>("symbole");
    QTest::addColumn<bool>("absteigend");

    const QStringList neuesteZuerst = {u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s};
    const QStringList aeltesteZuerst = {u"0221"_s, u"0301"_s, u"0711"_s, u"0893"_s, u"0402"_s};
    const QStringList ortAZ = {u"0402"_s, u"0301"_s, u"0221"_s, u"0893"_s, u"0711"_s};
    const QStringList ortZA = {u"0711"_s, u"0893"_s, u"0221"_s, u"0301"_s, u"0402"_s};
    const QStringList nummerAuf = {u"0221"_s, u"0301"_s, u"0402"_s, u"0711"_s, u"0893"_s};
    const QStringList nummerAb = {u"0893"_s, u"0711"_s, u"0402"_s, u"0301"_s, u"0221"_s};
    const QStringList kontaktAZ = {u"0893"_s, u"0711"_s, u"0301"_s, u"0402"_s, u"0221"_s};

    const QString L = u"Leer"_s;
    const QString H = u"Hoch"_s;
    const QString R = u"Runter"_s;

    QTest::newRow("date from start")
        << QList<Klick>{{Datum, false}} << neuesteZuerst << QStringList{L, R, L, L} << false;
    QTest::newRow("date header clicked once")
        << QList<Klick>{{Datum, true}} << neuesteZuerst << QStringList{L, R, L, L} << false;
    QTest::newRow("date header clicked again")
        << QList<Klick>{{Datum, false}, {Datum, true}} << aeltesteZuerst << QStringList{L, H, L, L}
        << true;
    QTest::newRow("date header clicked a third time")
        << QList<Klick>{{Datum, false}, {Datum, true}, {Datum, true}} << neuesteZuerst
        << QStringList{L, R, L, L} << false;
    QTest::newRow("date again without reversing")
        << QList<Klick>{{Datum, false}, {Datum, false}} << neuesteZuerst << QStringList{L, R, L, L}
        << false;
    QTest::newRow("user's oldest-first kept")
        << QList<Klick>{{Datum, false}, {Datum, true}, {Datum, false}} << aeltesteZuerst
        << QStringList{L, H, L, L} << true;
    QTest::newRow("place clicked")
        << QList<Klick>{{Datum, false}, {Ort, true}} << ortAZ << QStringList{L, L, R, L} << false;
    QTest::newRow("place clicked twice")
        << QList<Klick>{{Datum, false}, {Ort, true}, {Ort, true}} << ortZA
        << QStringList{L, L, H, L} << true;
    QTest::newRow("place clicked three times")
        << QList<Klick>{{Ort, true}, {Ort, true}, {Ort, true}} << ortAZ << QStringList{L, L, R, L}
        << false;
    QTest::newRow("back to date after place")
        << QList<Klick>{{Datum, false}, {Ort, true}, {Ort, true}, {Datum, false}} << neuesteZuerst
        << QStringList{L, R, L, L} << false;
    QTest::newRow("place after oldest-first date")
        << QList<Klick>{{Datum, false}, {Datum, true}, {Ort, true}} << ortAZ
        << QStringList{L, L, R, L} << false;
    QTest::newRow("contact, case ignored")
        << QList<Klick>{{Kontakt, true}} << kontaktAZ << QStringList{L, L, L, R} << false;
    QTest::newRow("number, already the sort column, kept")
        << QList<Klick>{{Nummer, false}} << nummerAuf << QStringList{R, L, L, L} << false;
    QTest::newRow("number, already the sort column, reversed")
        << QList<Klick>{{Nummer, true}} << nummerAb << QStringList{H, L, L, L} << true;
    QTest::newRow("number after date")
        << QList<Klick>{{Datum, false}, {Nummer, true}} << nummerAuf << QStringList{R, L, L, L}
        << false;
}

void tst_ListViewSort::sortieren()
{
    QFETCH(QList<Klick>, klicks);
    QFETCH(QStringList, reihenfolge);
    QFETCH(QStringList, symbole);
    QFETCH(bool, absteigend);

    fuelle();
    for (const Klick &k : klicks)
        modListviewSort::SortColumn(*m_liste, k.spalte, k.umkehren);

    QCOMPARE(nummern(), reihenfolge);
    QCOMPARE(this->symbole(), symbole);
    QCOMPARE(modListviewSort::Absteigend, absteigend);
    QCOMPARE(m_liste->SortKey(), klicks.last().spalte);
    QCOMPARE(m_liste->sortOrder() == ListView::SortOrder::Descending, absteigend);
}

void tst_ListViewSort::neuerEintragNachSortierung_data()
{
    QTest::addColumn<QList<Klick>>("klicks");
    QTest::addColumn<QStringList>("reihenfolge");

    // The new call is the newest one: at the top when the newest come first,
    // at the bottom when the user chose the oldest first.
    QTest::newRow("newest first")
        << QList<Klick>{{Datum, false}}
        << QStringList{u"0999"_s, u"0402"_s, u"0893"_s, u"0711"_s, u"0301"_s, u"0221"_s};
    QTest::newRow("oldest first chosen")
        << QList<Klick>{{Datum, false}, {Datum, true}}
        << QStringList{u"0221"_s, u"0301"_s, u"0711"_s, u"0893"_s, u"0402"_s, u"0999"_s};
}

void tst_ListViewSort::neuerEintragNachSortierung()
{
    QFETCH(QList<Klick>, klicks);
    QFETCH(QStringList, reihenfolge);

    fuelle();
    for (const Klick &k : klicks)
        modListviewSort::SortColumn(*m_liste, k.spalte, k.umkehren);

    m_liste->Items().Add(eintrag(u"0999"_s, u"03.01.2025 09:00:00"_s, u"Bonn"_s, u"Neu"_s), 2);
    modListviewSort::SortColumn(*m_liste, Datum, false);
    QCOMPARE(nummern(), reihenfolge);
}

void tst_ListViewSort::auswahlBleibt_data()
{
    QTest::addColumn<QList<Klick>>("klicks");

    QTest::newRow("newest first") << QList<Klick>{{Datum, false}};
    QTest::newRow("oldest first") << QList<Klick>{{Datum, false}, {Datum, true}};
    QTest::newRow("place A to Z") << QList<Klick>{{Ort, true}};
    QTest::newRow("place Z to A") << QList<Klick>{{Ort, true}, {Ort, true}};
    QTest::newRow("contact") << QList<Klick>{{Kontakt, true}};
}

void tst_ListViewSort::auswahlBleibt()
{
    QFETCH(QList<Klick>, klicks);

    fuelle();
    const int vorher = static_cast<int>(nummern().indexOf(u"0893"_s));
    m_liste->setSelectedIndex(vorher);
    QCOMPARE(m_liste->SelectedIndex(), vorher);

    for (const Klick &k : klicks) {
        modListviewSort::SortColumn(*m_liste, k.spalte, k.umkehren);
        const int gewaehlt = m_liste->SelectedIndex();
        QVERIFY(gewaehlt >= 0);
        QCOMPARE(m_liste->Items().Item(gewaehlt).Text, u"0893"_s);
        QCOMPARE(gewaehlt, static_cast<int>(nummern().indexOf(u"0893"_s)));
        QCOMPARE(m_liste->currentIndex().row(), gewaehlt);
    }
}

void tst_ListViewSort::modellBleibtGueltig()
{
    ListViewModel &model = m_liste->Items();
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

    fuelle();
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.data(model.index(1, Ort)).toString(), u"Aachen"_s);

    model.Add(eintrag(u"0100"_s, u"01.01.2023 09:00:00"_s, u"Erfurt"_s, u"Anfang"_s), 0);
    QCOMPARE(model.Item(0).Text, u"0100"_s);
    model.Add(eintrag(u"0200"_s, u"kein Datum"_s, u"Gera"_s, QString()), 3);
    QCOMPARE(model.Item(3).Text, u"0200"_s);
    model.Remove(0);
    QCOMPARE(model.rowCount(), 6);
    model.Remove(99);
    QCOMPARE(model.rowCount(), 6);

    m_liste->setSelectedIndex(2);
    modListviewSort::SortColumn(*m_liste, Datum, false);
    modListviewSort::SortColumn(*m_liste, Datum, true);
    modListviewSort::SortColumn(*m_liste, Ort, true);
    modListviewSort::SortColumn(*m_liste, Ort, true);
    modListviewSort::SortColumn(*m_liste, Kontakt, true);
    QCOMPARE(model.rowCount(), 6);

    std::vector<ListItem> viele;
    for (int i = 0; i < 50; ++i)
        viele.push_back(eintrag(u"1%1"_s.arg(i, 3, 10, QChar(u'0')), u"05.05.2024 10:00:00"_s,
                                u"Ort %1"_s.arg(i), QString()));
    model.AddMany(std::move(viele));
    QCOMPARE(model.rowCount(), 56);
    modListviewSort::SortColumn(*m_liste, Datum, false);

    ListItem geaendert = model.Item(4);
    geaendert.setColumnText(Ort, u"Jena"_s);
    model.setItem(4, geaendert);
    QCOMPARE(model.data(model.index(4, Ort)).toString(), u"Jena"_s);

    model.Clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(m_liste->SelectedIndex(), -1);
    modListviewSort::SortColumn(*m_liste, Datum, true);
    QCOMPARE(model.rowCount(), 0);
}

void tst_ListViewSort::hunderttausendEintraege()
{
    // Moments from 08:00 on, one day per hundred entries, so the list spans
    // several years and months; entries go in shuffled.
    constexpr int Anzahl = 100'000;
    const QDate ersterTag(2022, 11, 20);
    const auto moment = [&](int i) {
        return QDateTime(ersterTag.addDays(i / 100), QTime(8, 0).addSecs((i % 100) * 431));
    };

    std::vector<ListItem> eintraege;
    eintraege.reserve(Anzahl);
    for (int zeile = 0; zeile < Anzahl; ++zeile) {
        const int i = static_cast<int>((qint64(zeile) * 7919) % Anzahl);
        eintraege.push_back(eintrag(QString::number(i), RegionalSettings::DateTimeText(moment(i)),
                                    u"Ort"_s, QString()));
    }
    m_liste->Items().AddMany(std::move(eintraege));
    QCOMPARE(m_liste->Items().Count(), Anzahl);

    const int stichproben[] = {0, 1, 2, 99, 100, 12'345, Anzahl / 2, Anzahl - 101, Anzahl - 2, Anzahl - 1};

    modListviewSort::SortColumn(*m_liste, Datum, false);
    for (int k : stichproben) {
        const ListItem &item = m_liste->Items().Item(k);
        QCOMPARE(item.Text, QString::number(Anzahl - 1 - k));
        QCOMPARE(item.SubItems.value(0), RegionalSettings::DateTimeText(moment(Anzahl - 1 - k)));
    }

    modListviewSort::SortColumn(*m_liste, Datum, true);
    for (int k : stichproben)
        QCOMPARE(m_liste->Items().Item(k).Text, QString::number(k));
}

QTEST_MAIN(tst_ListViewSort)
#include "tst_ListViewSort.moc"
