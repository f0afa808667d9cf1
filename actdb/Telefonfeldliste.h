#pragma once

#include "actdb/clACTFeld.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class ListViewModel;
class Recordset;
class clActDBF;

// The phone fields as the entries of a list with check boxes: text = the
// field's label, tag = its column name, checked = searched, column 2 = how
// many numbers the field holds. The list is the program's record of its
// phone fields, so everything that reads or fills it goes through here.
class Telefonfeldliste
{
public:
    // How often the counting reports its progress, in records.
    static constexpr long Fortschrittsschritt = 73;
    static constexpr int Anzahlspalte = 1;

    explicit Telefonfeldliste(ListViewModel &eintraege);

    // One checked entry per phone field, unchecked when its column name is
    // one of the ";"-separated names (exact letter case).
    void FelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschlussfelder);
    // The column names of the checked entries, joined by ",".
    QString AusgewaehlteFelder() const;
    // The column names of the unchecked entries, each followed by ";".
    QString Ausschlussfelder() const;
    // The column names of all entries, joined by ",".
    QString AlleFelder() const;
    QString Bezeichnung(const QString &feldname) const;

    // " 2 von 5 Feldern sind ausgewählt." and, once numbers are counted, the
    // checked fields' share of all numbers.
    QString Zusammenfassung(const QLocale &locale = QLocale()) const;
    // A share written like "#.##": no leading zero, at most two decimals,
    // the separator always.
    static QString Prozentzahl(double wert, const QLocale &locale = QLocale());

    void AnzahlenLeeren();
    // Counts the filled values of each entry's field over the rows of a
    // search whose field i + 1 belongs to entry i; `fortschritt` gets the
    // percentage on every 73rd row. Returns all numbers together.
    long Zaehlen(Recordset &rs, const std::function<void(long prozent)> &fortschritt);
    // The same over every contact of the open ACT! table; none when the
    // table could not be searched or broke off while it was read.
    std::optional<long> ZaehlenIn(clActDBF &tabelle, const std::function<void(long prozent)> &fortschritt);

    static QStringList Namensliste(const QString &ausschlussfelder);

private:
    void schreibeAnzahlen(const std::vector<long> &anzahl);

    ListViewModel &m_eintraege;
};
