#pragma once

#include <QMetaType>
#include <QString>

// What the team window asks for: the calls of the last days, newest first.
struct Teamfilter
{
    int tage = 7;
    QString arbeitsplatz; // empty: every desk
    bool nurVerpasste = false;
    QString suchtext; // in number, number called, place, name, company
    int hoechstens = 2000;
};

Q_DECLARE_METATYPE(Teamfilter)
