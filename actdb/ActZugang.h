#pragma once

#include <QString>

// What ACT!'s contact table and the number cache built from it need to know
// of the program: whether ACT! is ready, its database, and the phone fields
// the user chose with their labels.
class ActZugang
{
public:
    virtual ~ActZugang() = default;

    virtual bool ACTBereit() const = 0;
    virtual QString ACTDatenbank() const = 0;
    // The chosen phone fields' column names, joined by ",".
    virtual QString AusgewaehlteFelder() const = 0;
    // A phone field's label; empty for a column that is none.
    virtual QString Bezeichnung(const QString &feldname) const = 0;
};
