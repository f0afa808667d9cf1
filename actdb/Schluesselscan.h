#pragma once

#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// The key search read straight from the contact table: one pass over its
// records that makes each phone field's key as it reads it, with no
// statement engine between the file and the comparison. Only the rows found
// go through a statement afterwards.
class Schluesselscan
{
public:
    // The rowids (positions counted from 1) of the live records whose key of
    // one of the fields holds the key, in file order. Nothing when the
    // file or one of the fields cannot be read as text, or when more than
    // `hoechstens` records match: then the whole statement is the better way.
    static std::optional<std::vector<qint64>> Treffer(const QString &datei, const QStringList &felder,
                                                     const std::string &schluessel, const std::string &heimat,
                                                     std::size_t hoechstens);
};
