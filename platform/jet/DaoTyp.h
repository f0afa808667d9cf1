#pragma once

#include <QString>

// Field types by their engine numbers, and how a column's declared type in
// the database file tells them.
namespace DaoTyp {

enum : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
};

struct Spalte
{
    int typ = dbText;
    int groesse = 255;
    bool leerErlaubt = true; // the empty string is allowed
};

// Reads the declared type of a column ("TEXT ZEROLENGTH(50)", "LONG", ...).
Spalte ausDeklaration(const QString &deklaration);
// The declaration under which a field of that type is created.
QString Deklaration(int typ, int groesse, bool leerErlaubt);
// The byte size the engine reports for fixed-size types.
int Standardgroesse(int typ);

} // namespace DaoTyp
