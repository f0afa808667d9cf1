#pragma once

#include <QString>

// Where the program keeps its phone database: beside the program when that
// folder is writable (a build tree, a portable copy); otherwise a copy of the
// installed file in the user's data folder, made on first use.
class NummernMdbOrt
{
public:
    static QString Pfad(const QString &programmordner);
    // The shipped template: the installed one beside the program's folder
    // (share/rufmon), empty when there is none.
    static QString Vorlage(const QString &programmordner);
    // Pfad, with the shipped tables of that file brought to the template's
    // data version first (the user's caller list and free list stay).
    static QString Bereitstellen(const QString &programmordner);
    // The user's copy: $XDG_DATA_HOME/Rufmon/Nummern.mdb.
    static QString Benutzerkopie();
};
