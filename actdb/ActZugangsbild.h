#pragma once

#include "actdb/ActZugang.h"

#include <QHash>
#include <QMutex>

// What the searches on the search thread know of the program: ACT!'s
// readiness, its database and the chosen phone fields with their labels, as
// they were when the GUI thread last asked for a search. The program's own
// records of them (the phone-field list, the ACT! check) belong to the GUI
// thread and are not read from another.
class ActZugangsbild : public ActZugang
{
public:
    // Takes the picture; `alleFelder` are the column names whose labels are kept.
    void aufnehmen(const ActZugang &zugang, const QStringList &alleFelder);

    bool ACTBereit() const override;
    QString ACTDatenbank() const override;
    QString AusgewaehlteFelder() const override;
    QString Bezeichnung(const QString &feldname) const override;

private:
    mutable QMutex m_mutex;
    bool m_bereit = false;
    QString m_datenbank;
    QString m_felder;
    QHash<QString, QString> m_bezeichnungen;
};
