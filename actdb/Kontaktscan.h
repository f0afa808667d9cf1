#pragma once

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// The identification's searches read straight from the contact table: one
// pass over its records finds the records whose phone field holds the digits
// as written and those whose field's key holds the caller's key, with no
// statement engine between the file and the comparison. Only the records
// found go through a statement afterwards, which checks them again.
class Kontaktscan
{
public:
    // Rowids (positions counted from 1) of live records, in file order;
    // nothing where only the statement over every row can tell.
    using Zeilen = std::optional<std::vector<qint64>>;

    struct Auftrag
    {
        QStringList felder;
        // The text as written; found in the stored bytes, so digits only.
        QString ziffern;
        QString schluessel;
        QString heimatvorwahl;
        // More records than these for one search: the whole statement is the better way.
        std::size_t hoechstens = 5000;
        // The literal search needs its first record only: the pass ends there.
        bool nurErsterWoertlich = false;
        // From this many records on, the two halves of the table are read at once.
        quint32 teilenAb = 20000;
    };

    struct Treffer
    {
        Zeilen woertlich;
        Zeilen nachSchluessel;
    };

    // Nothing for a search that is not asked for, when the file or one of
    // the fields cannot be read for it (the literal search wants character
    // fields, the key search character or memo fields), when its records are
    // too many, and for the key search when the pass ended early.
    static Treffer lesen(const QString &datei, const Auftrag &auftrag);
};
