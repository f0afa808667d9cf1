#pragma once

#include <QStringList>

struct sqlite3_module;

// The table-valued function xbase_teiltext(file, 'FIELD1,FIELD2', 'digits'):
// the rowids of the live records of a dBASE file in which one of the
// character fields holds the digits, found by one read of the file that
// compares the stored bytes and decodes nothing. A field that is missing
// or no character field makes every live record a candidate: the rows are
// meant to be checked again by the condition they stand in for.
class DbfTeiltext
{
public:
    static constexpr const char *Name = "xbase_teiltext";

    // The module, registered under Name with the xbase module.
    static const sqlite3_module &module();
    // Whether the file can be read and each of the fields is a character field.
    static bool anwendbar(const QString &datei, const QStringList &felder);
};
