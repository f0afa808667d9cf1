#include "windows/NummernlisteModell.h"

#include "platform/jet/Database.h"
#include "platform/jet/JetFehler.h"
#include "platform/jet/Recordset.h"

using namespace Qt::StringLiterals;

namespace {

const std::array<QString, 3> Spaltennamen = {u"Nummer"_s, u"Name"_s, u"Ort"_s};

// An empty cell is stored as Null, which the caller identification reads as
// "Unbekannt"; blanks around a number would keep it from ever matching.
QVariant speicherwert(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

} // namespace

NummernlisteModell::NummernlisteModell(std::shared_ptr<Database> db, QObject *parent)
    : QAbstractTableModel(parent)
    , m_db(std::move(db))
{
}

void NummernlisteModell::laden()
{
    std::vector<Zeile> zeilen;
    auto rs = m_db->OpenRecordset(u"SELECT rowid AS ID, Nummer, Name, Ort FROM Liste ORDER BY rowid"_s, QVariantList());
    while (!rs->Eof()) {
        Zeile z;
        z.id = rs->Wert(0).toLongLong();
        for (int s = 0; s < 3; ++s)
            z.werte[s] = rs->Wert(s + 1).toString();
        z.gespeichert = z.werte;
        zeilen.push_back(std::move(z));
        rs->MoveNext();
    }
    rs->Close();
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
    m_db->BeginTrans();
    try {
        // The row goes in through the engine's append, which checks every
        // value against its column; a changed row takes the place of the old one.
        if (z.id != 0)
            m_db->Execute(u"DELETE FROM Liste WHERE rowid = ?"_s, QVariantList{z.id});
        auto rs = m_db->OpenRecordset(u"Liste"_s, Recordset::dbOpenTable, Recordset::dbAppendOnly);
        rs->AddNew();
        for (int s = 0; s < 3; ++s)
            rs->Fields()[Spaltennamen[s]].setValue(speicherwert(z.werte[s]));
        rs->Update();
        rs->Close();
        qint64 id = z.id;
        if (id != 0) {
            m_db->Execute(u"UPDATE Liste SET rowid = ? WHERE rowid = last_insert_rowid()"_s, QVariantList{id});
        } else {
            auto neu = m_db->OpenRecordset(u"SELECT last_insert_rowid() AS ID"_s, QVariantList());
            id = neu->Wert(0).toLongLong();
            neu->Close();
        }
        m_db->CommitTrans();
        z.id = id;
    } catch (const JetFehler &) {
        try {
            m_db->Rollback();
        } catch (const JetFehler &) {
            // The engine has ended the transaction itself.
        }
        throw;
    }
    for (int s = 0; s < 3; ++s)
        z.werte[s] = speicherwert(z.werte[s]).toString();
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
        m_db->Execute(u"DELETE FROM Liste WHERE rowid = ?"_s, QVariantList{m_zeilen[row].id});
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
