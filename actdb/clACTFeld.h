#pragma once

#include <QString>

// One field of an ACT! table: its column name, its label and its type code
// (7 = phone field; 0 when the definition file does not know it).
struct clACTFeld
{
    static constexpr int Telefonfeld = 7;

    QString Bezeichnung;
    QString Feldname;
    int Feldart = 0;
};
