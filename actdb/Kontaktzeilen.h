#pragma once

#include "core/Kontaktquelle.h"

class ActZugang;
class Recordset;

#include <memory>

// The rows of ACT!'s table or the cache, searched the same way in both, as
// the contact source answers. Each takes the rows and closes them.
class Kontaktzeilen
{
public:
    // The first row of the search by the number as written; when it found
    // nothing and there is a key, the first of the key search `nachSchluessel`
    // runs. No rows at all: the search could not run.
    template<typename Schluesselsuche>
    static Kontaktsuchlauf::Fund erster(std::unique_ptr<Recordset> treffer, const QString &schluessel,
                                        Schluesselsuche nachSchluessel)
    {
        if (treffer && leer(*treffer) && !schluessel.isEmpty()) {
            schliesse(treffer.get());
            treffer = nachSchluessel();
        }
        return fund(std::move(treffer));
    }

    // Each contact of the search as written with the first column that holds
    // the digits, then each further one of the key search with the phone
    // field whose key holds them, shown as it is written.
    static Kontaktsuchlauf::Aehnliche sammeln(std::unique_ptr<Recordset> woertlich,
                                              std::unique_ptr<Recordset> nachSchluessel, const QString &ziffern,
                                              const ActZugang &zugang);

private:
    static bool leer(Recordset &rs);
    static void schliesse(Recordset *rs);
    static Kontaktsuchlauf::Fund fund(std::unique_ptr<Recordset> treffer);
};
