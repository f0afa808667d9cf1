#pragma once

#include "core/Anruf.h"
#include "core/Spaltenmodell.h"

#include <QCollator>

#include <functional>
#include <vector>

class Anruferliste;

// The caller list as the window shows it: one row per call, the columns
// "Nummer", "Datum", "Ort", "Kontakt" by their keys, the call's icon, and
// an order (by date, newest or oldest first, or by a column's text).
//
// The rows are a permutation of the calls, kept in ascending order and read
// backwards where the list shows it descending: a new call, the newest, is
// appended to it and still shows at the top. A call therefore costs the same
// however long the list has grown.
class AnruferlisteModell : public Spaltenmodell
{
    Q_OBJECT

public:
    explicit AnruferlisteModell(Anruferliste &anrufe, QObject *parent = nullptr);

    Anruferliste &Anrufe() const { return m_anrufe; }
    // What a call's tool tip says beyond its columns.
    void setToolTips(std::function<QString(const Anruf &)> tips);

    int Count() const { return static_cast<int>(m_folge.size()); }
    // The call in that row.
    Anruf AnrufIn(int zeile) const;
    // The row of the call with that key; -1 when it is not in the list.
    int Zeile(quint64 eintrag) const;
    // Every call in the order the rows show them.
    std::vector<Anruf> InZeilenfolge() const;

    // By date: newest first, or oldest first. Texts that are no date stand at
    // the end; among calls of one second the one added later is the later.
    void sortiereNachDatum(bool aeltesteZuerst);
    // By the text of a column, as the desktop's lists do (case ignored).
    void sortiereNachText(int spalte, bool absteigend);
    bool NachDatum() const { return m_ordnung == Ordnung::Datum; }

    // The text a column shows for a call.
    QString Spaltentext(const Anruf &anruf, int spalte) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void umordnen(const std::function<void()> &neueOrdnung);
    enum class Ordnung { Datum, Text };

    void hinzugefuegt(quint64 eintrag);
    void geaendert(quint64 eintrag);
    void ersetzt();
    // Whether the call at position `a` of the list comes before the one at `b` in m_folge.
    bool vor(int a, int b) const;
    void ordnen();
    void positionenAb(std::size_t von);
    int zeileAus(std::size_t folge) const;
    std::size_t folgeAus(int zeile) const;
    qint64 zeitschluessel(int stelle) const;

    Anruferliste &m_anrufe;
    QCollator m_collator;
    std::function<QString(const Anruf &)> m_toolTips;
    Ordnung m_ordnung = Ordnung::Datum;
    int m_textSpalte = 0;
    bool m_aeltesteZuerst = false; // by date
    bool m_umgekehrt = true;       // rows read m_folge from its end
    std::vector<int> m_folge;      // the calls' positions in the list, ascending
    std::vector<int> m_platz;      // a call's position in m_folge
    std::vector<qint64> m_zeit;    // a call's moment as a sort key
};
