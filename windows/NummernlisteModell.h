#pragma once

#include "phonedb/FreieListe.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class Database;

// The free list (table "Liste": Nummer, Name, Ort) as an editable grid.
// Edits stay in the model until the row is saved; the last row is the empty
// row for a new entry. Saving and deleting go to the database at once and
// report the engine's errors as JetFehler.
class NummernlisteModell : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Spalte { Nummer = 0, Name = 1, Ort = 2 };

    explicit NummernlisteModell(std::shared_ptr<Database> db, QObject *parent = nullptr);

    // Reads all rows; unsaved edits are dropped.
    void laden();
    // Rows of the table, without the empty row for a new entry.
    int Anzahl() const { return static_cast<int>(m_zeilen.size()); }
    bool istNeueZeile(int row) const { return row == Anzahl(); }
    // The row is in the table (it has been read or saved once).
    bool istGespeichert(int row) const;
    // The row differs from what the table holds (a new row: has any text
    // beyond blanks).
    bool geaendert(int row) const;
    // Writes the row in one transaction; on failure nothing is written and
    // the row keeps its edited values.
    void speichern(int row);
    // Back to the stored values; a row never saved disappears.
    void verwerfen(int row);
    void loeschen(int row);
    QString Wert(int row, int spalte) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Zeile
    {
        qint64 id = 0; // the row in the table; 0 before the first save
        std::array<QString, 3> werte;
        std::array<QString, 3> gespeichert;
    };

    void entferne(int row);

    FreieListe m_liste;
    std::vector<Zeile> m_zeilen;
};
