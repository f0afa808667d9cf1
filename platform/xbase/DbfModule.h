#pragma once

#include <QString>
#include <QtGlobal>

struct sqlite3;
struct DbfField;

// The SQLite virtual-table module "xbase": each table reads one dBASE/FoxPro
// file, read-only and afresh for every statement, so that changes made by the
// contact manager meanwhile are seen. A table is created with
//   CREATE VIRTUAL TABLE temp."KUNDEN" USING xbase('/path/KUNDEN.DBF')
// or for a whole folder with attachFolder().
class DbfModule
{
public:
    static constexpr const char *Name = "xbase";

    // Registers the module with the connection; may be called again.
    static bool registerModule(sqlite3 *db);

    // Creates a table in the temp schema for every .dbf and .gdb file of the
    // folder (any letter case), named like the file; for a .dbf also one named
    // without the extension. A file whose header is damaged still gets its
    // table, and using it fails with the description of the damage. False with
    // a description when the folder cannot be read or a table not created.
    static bool attachFolder(sqlite3 *db, const QString &folder, QString *error);

    // One table for one file, in the temp schema; replaces an earlier xbase
    // table of that name.
    static bool attachFile(sqlite3 *db, const QString &tableName, const QString &path, QString *error);

    // The column type a field is declared with, so that callers can tell
    // the field's type and size: TEXT(len), DOUBLE, DATETIME, BIT, MEMO, LONG.
    static QString declaredType(const DbfField &field);

    // Fields decoded by all closed cursors of the process so far.
    static quint64 decodedValueCount();
};
