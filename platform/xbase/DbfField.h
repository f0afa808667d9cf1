#pragma once

#include <QString>

// One column of a table file as described in its header.
struct DbfField
{
    QString name;      // as stored, normally upper case; made unique within the table
    char type = 'C';   // dBASE/FoxPro type letter, upper case
    int length = 0;    // bytes in the record
    int decimals = 0;
    int offset = 0;    // position inside the record, counted after the deletion flag byte
};
