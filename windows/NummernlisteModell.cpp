#include "windows/NummernlisteModell.h"

namespace {

const std::array<QString, 3> Spaltennamen = {QStringLiteral("Nummer"), QStringLiteral("Name"), QStringLiteral("Ort")};

} // namespace


using namespace Qt::StringLiterals;

NummernlisteModell::NummernlisteModell(std::shared_ptr<Database> db, QObject *parent)
    : QAbstractTableModel(parent)
    , m_liste(std::move(db))
{
}

void NummernlisteModell::laden()
{
    std::vector<Zeile> zeilen;
    for (FreieListe::Eintrag &e : m_liste.alle()) {
        Zeile z;
        z.id = e.id;
        z.werte = std::move(e.werte);
        z.gespeichert = z.werte;
        zeilen.push_back(std::move(z));
    }
    beginResetModel();
    m_zeilen = std::move(zeilen);
    endResetModel();
}

bool NummernlisteModell::istGespeichert(int row) const
{
    return row >= 0 && row < Anzahl() && m_zeilen[row].id != 0;
}

bool NummernlisteModell::geaendert(int row) const
{
    if (row < 0 || row >= Anzahl())
        return false;
    const Zeile &z = m_zeilen[row];
    if (z.id != 0)
        return z.werte != z.gespeichert;
    // A new row of blanks holds nothing worth a row in the table.
    for (const QString &w : z.werte) {
        if (!w.trimmed().isEmpty())
            return true;
    }
    return false;
}

void NummernlisteModell::speichern(int row)
{
    if (!geaendert(row))
        return;
    Zeile &z = m_zeilen[row];
    z.id = m_liste.speichere(z.id, z.werte);
    for (int s = 0; s < 3; ++s)
        z.werte[s] = FreieListe::gespeichert(z.werte[s]);
    z.gespeichert = z.werte;
    emit dataChanged(index(row, 0), index(row, 2));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void NummernlisteModell::verwerfen(int row)
{
    if (row < 0 || row >= Anzahl())
        return;
    Zeile &z = m_zeilen[row];
    if (z.id == 0) {
        entferne(row);
        return;
    }
    z.werte = z.gespeichert;
    emit dataChanged(index(row, 0), index(row, 2));
    emit headerDataChanged(Qt::Vertical, row, row);
}

void NummernlisteModell::loeschen(int row)
{
    if (row < 0 || row >= Anzahl())
        return;
    if (m_zeilen[row].id != 0)
        m_liste.loesche(m_zeilen[row].id);
    entferne(row);
}

void NummernlisteModell::entferne(int row)
{
    beginRemoveRows({}, row, row);
    m_zeilen.erase(m_zeilen.begin() + row);
    endRemoveRows();
}

QString NummernlisteModell::Wert(int row, int spalte) const
{
    if (row < 0 || row >= Anzahl() || spalte < 0 || spalte > 2)
        return {};
    return m_zeilen[row].werte[spalte];
}

int NummernlisteModell::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Anzahl() + 1;
}

int NummernlisteModell::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant NummernlisteModell::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return Wert(index.row(), index.column());
}

bool NummernlisteModell::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() > 2)
        return false;
    const int row = index.row();
    const QString text = value.toString();
    if (istNeueZeile(row)) {
        if (text.isEmpty())
            return false;
        // Typing into the empty row makes it a new entry and brings a new empty row.
        beginInsertRows({}, row + 1, row + 1);
        m_zeilen.push_back(Zeile());
        endInsertRows();
    }
    Zeile &z = m_zeilen[row];
    if (z.werte[index.column()] == text)
        return true;
    z.werte[index.column()] = text;
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, row, row);
    return true;
}

Qt::ItemFlags NummernlisteModell::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant NummernlisteModell::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < 3 ? QVariant(Spaltennamen[section]) : QVariant();
    // As in a data grid: a pencil for the row being edited, a star for the new row.
    if (istNeueZeile(section))
        return u"*"_s;
    return geaendert(section) ? u"✎"_s : QString();
}
