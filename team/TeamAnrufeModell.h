#pragma once

#include "platform/teamjournal/Journalzeile.h"

#include <QAbstractTableModel>
#include <QList>

// The journal's calls as the team window lists them, newest first.
class TeamAnrufeModell : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Spalte { Zeit, Arbeitsplatz, Nummer, Kontakt, Firma, Ort, Angerufen, Ergebnis, Dauer, Spalten };

    using QAbstractTableModel::QAbstractTableModel;

    void setZeilen(const QList<Journalzeile> &zeilen);
    const Journalzeile &Zeile(int row) const { return m_zeilen[row]; }

    // "angenommen", "verpasst", or empty when the line did not tell.
    static QString ErgebnisText(const Journalzeile &zeile);
    static QString DauerText(int sekunden);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<Journalzeile> m_zeilen;
};
