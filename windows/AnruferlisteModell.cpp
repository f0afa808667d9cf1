#include "windows/AnruferlisteModell.h"

#include "core/Anruferliste.h"
#include "core/Anruf.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 KeinDatum = std::numeric_limits<qint64>::min();

} // namespace

AnruferlisteModell::AnruferlisteModell(Anruferliste &anrufe, QObject *parent)
    : Spaltenmodell(parent)
    , m_anrufe(anrufe)
{
    // Like the desktop's own lists: by the column's text, ignoring case.
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    connect(&m_anrufe, &Anruferliste::Hinzugefuegt, this, &AnruferlisteModell::hinzugefuegt);
    connect(&m_anrufe, &Anruferliste::Geaendert, this, &AnruferlisteModell::geaendert);
    connect(&m_anrufe, &Anruferliste::Ersetzt, this, &AnruferlisteModell::ersetzt);
    ersetzt();
}

void AnruferlisteModell::setToolTips(std::function<QString(const Anruf &)> tips)
{
    m_toolTips = std::move(tips);
}

QString AnruferlisteModell::Spaltentext(const Anruf &anruf, int spalte) const
{
    if (spalte < 0 || spalte >= static_cast<int>(columns().size()))
        return {};
    const QString &key = columns()[spalte].Key;
    if (key == u"Nummer"_s)
        return anruf.nummer;
    if (key == u"Datum"_s)
        return anruf.Datumstext();
    if (key == u"Ort"_s)
        return anruf.ort;
    if (key == u"Kontakt"_s)
        return anruf.name;
    return {};
}

qint64 AnruferlisteModell::zeitschluessel(int stelle) const
{
    const QDateTime zeit = m_anrufe.Zeit(stelle);
    if (!zeit.isValid())
        return KeinDatum;
    // The moment as the clock on the wall showed it, as the list shows it.
    return zeit.date().toJulianDay() * qint64(86'400'000) + zeit.time().msecsSinceStartOfDay();
}

bool AnruferlisteModell::vor(int a, int b) const
{
    if (m_ordnung == Ordnung::Text) {
        const int c = m_collator.compare(Spaltentext(m_anrufe.an(a), m_textSpalte),
                                         Spaltentext(m_anrufe.an(b), m_textSpalte));
        return c != 0 ? c < 0 : a < b;
    }
    const qint64 za = m_zeit[a];
    const qint64 zb = m_zeit[b];
    const bool hatA = za != KeinDatum;
    const bool hatB = zb != KeinDatum;
    if (hatA != hatB) {
        // Texts that are no date stand at the end of the rows shown.
        return m_umgekehrt ? !hatA : hatA;
    }
    if (za != zb)
        return za < zb;
    return a < b;
}

int AnruferlisteModell::zeileAus(std::size_t folge) const
{
    return static_cast<int>(m_umgekehrt ? m_folge.size() - 1 - folge : folge);
}

std::size_t AnruferlisteModell::folgeAus(int zeile) const
{
    return m_umgekehrt ? m_folge.size() - 1 - static_cast<std::size_t>(zeile) : static_cast<std::size_t>(zeile);
}

void AnruferlisteModell::positionenAb(std::size_t von)
{
    m_platz.resize(m_folge.size());
    for (std::size_t i = von; i < m_folge.size(); ++i)
        m_platz[m_folge[i]] = static_cast<int>(i);
}

void AnruferlisteModell::ordnen()
{
    m_folge.resize(m_zeit.size());
    std::iota(m_folge.begin(), m_folge.end(), 0);
    if (m_ordnung == Ordnung::Text) {
        // Each text's key once, not once per comparison.
        std::vector<QCollatorSortKey> keys;
        keys.reserve(m_folge.size());
        for (int i = 0; i < static_cast<int>(m_folge.size()); ++i)
            keys.push_back(m_collator.sortKey(Spaltentext(m_anrufe.an(i), m_textSpalte)));
        std::sort(m_folge.begin(), m_folge.end(), [&keys](int a, int b) {
            const int c = keys[a].compare(keys[b]);
            return c != 0 ? c < 0 : a < b;
        });
    } else {
        std::sort(m_folge.begin(), m_folge.end(), [this](int a, int b) { return vor(a, b); });
    }
    positionenAb(0);
}

void AnruferlisteModell::hinzugefuegt(quint64 eintrag)
{
    const int stelle = m_anrufe.Stelle(eintrag);
    if (stelle != static_cast<int>(m_zeit.size())) {
        ersetzt();
        return;
    }
    m_zeit.push_back(zeitschluessel(stelle));
    // Usually the newest call: its place is the end, and the top row when newest first.
    const auto ort = std::upper_bound(m_folge.begin(), m_folge.end(), stelle,
                                      [this](int a, int b) { return vor(a, b); });
    const std::size_t platz = static_cast<std::size_t>(ort - m_folge.begin());
    const int zeile = static_cast<int>(m_umgekehrt ? m_folge.size() - platz : platz);
    beginInsertRows({}, zeile, zeile);
    m_folge.insert(ort, stelle);
    m_platz.push_back(static_cast<int>(platz));
    if (platz + 1 < m_folge.size())
        positionenAb(platz + 1);
    endInsertRows();
}

void AnruferlisteModell::geaendert(quint64 eintrag)
{
    const int stelle = m_anrufe.Stelle(eintrag);
    if (stelle < 0 || stelle >= static_cast<int>(m_zeit.size()))
        return;
    m_zeit[stelle] = zeitschluessel(stelle);
    const int zeile = zeileAus(m_platz[stelle]);
    emit dataChanged(index(zeile, 0), index(zeile, columnCount() - 1));
}

void AnruferlisteModell::ersetzt()
{
    beginResetModel();
    m_zeit.clear();
    m_zeit.reserve(m_anrufe.Anzahl());
    for (int i = 0; i < m_anrufe.Anzahl(); ++i)
        m_zeit.push_back(zeitschluessel(i));
    ordnen();
    endResetModel();
}

void AnruferlisteModell::sortiereNachDatum(bool aeltesteZuerst)
{
    // The rows keep their date order as calls come: nothing to do.
    if (m_ordnung == Ordnung::Datum && m_aeltesteZuerst == aeltesteZuerst)
        return;
    umordnen([&] {
        m_ordnung = Ordnung::Datum;
        m_aeltesteZuerst = aeltesteZuerst;
        m_umgekehrt = !aeltesteZuerst;
    });
}

void AnruferlisteModell::sortiereNachText(int spalte, bool absteigend)
{
    umordnen([&] {
        m_ordnung = Ordnung::Text;
        m_textSpalte = spalte;
        m_umgekehrt = absteigend;
    });
}

// The selection and every other held index follow their call into its new row.
void AnruferlisteModell::umordnen(const std::function<void()> &neueOrdnung)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList von = persistentIndexList();
    std::vector<int> stellen;
    stellen.reserve(von.size());
    for (const QModelIndex &i : von)
        stellen.push_back(m_folge[folgeAus(i.row())]);
    neueOrdnung();
    ordnen();
    QModelIndexList nach;
    nach.reserve(von.size());
    for (qsizetype i = 0; i < von.size(); ++i)
        nach.append(index(zeileAus(m_platz[stellen[i]]), von[i].column()));
    changePersistentIndexList(von, nach);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Anruf AnruferlisteModell::AnrufIn(int zeile) const
{
    if (zeile < 0 || zeile >= Count())
        return {};
    return m_anrufe.an(m_folge[folgeAus(zeile)]);
}

int AnruferlisteModell::Zeile(quint64 eintrag) const
{
    const int stelle = m_anrufe.Stelle(eintrag);
    if (stelle < 0 || stelle >= static_cast<int>(m_platz.size()))
        return -1;
    return zeileAus(m_platz[stelle]);
}

std::vector<Anruf> AnruferlisteModell::InZeilenfolge() const
{
    std::vector<Anruf> anrufe;
    anrufe.reserve(m_folge.size());
    for (int zeile = 0; zeile < Count(); ++zeile)
        anrufe.push_back(AnrufIn(zeile));
    return anrufe;
}

int AnruferlisteModell::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant AnruferlisteModell::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Spaltentext(AnrufIn(index.row()), index.column());
    case Qt::DecorationRole:
        return index.column() == 0 ? kleinesBild(AnrufIn(index.row()).bild) : QVariant();
    case Qt::ToolTipRole:
        if (m_toolTips) {
            const QString tip = m_toolTips(AnrufIn(index.row()));
            if (!tip.isEmpty())
                return tip;
        }
        return {};
    default:
        return {};
    }
}
