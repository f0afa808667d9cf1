#pragma once

#include "platform/jet/Verbindung.h"

#include <QtGlobal>

// Rows for a table import read by other means than a recordset: the rows
// the recordset would give, in its order and with its fields in its order.
class Zeilenleser
{
public:
    virtual ~Zeilenleser() = default;
    // The next row, valid until the following call; nullptr after the last.
    // Throws a JetFehler when the source cannot be read.
    virtual const Verbindung::Textzeile *naechste() = 0;
    // About how many rows there are, for the progress shown.
    virtual qint64 ungefaehreAnzahl() const = 0;
};
