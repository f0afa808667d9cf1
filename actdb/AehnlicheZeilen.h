#pragma once

#include "core/Kontaktquelle.h"

class ActZugang;
class Recordset;

// The rows of the two similar-number searches of ACT!'s table or the cache
// as contacts: each contact of the search as written with the first column
// that holds the digits, then each further one of the key search with the
// phone field whose key holds them, shown as it is written.
class AehnlicheZeilen
{
public:
    static Kontaktsuchlauf::Aehnliche sammeln(Recordset *woertlich, Recordset *nachSchluessel, const QString &ziffern,
                                              const ActZugang &zugang);
};
