#pragma once

#include "actdb/Zeilenleser.h"

#include <string>
#include <vector>

class Kontaktbestand;

// A contact source's contacts as the number cache's rows: each phone value
// with its key beside it, then name, company, city and id. A value without a
// digit has an empty key, and no value has no key; contacts the source could
// not read end the rows with the engine's error for a damaged source.
class Bestandszeilen : public Zeilenleser
{
public:
    Bestandszeilen(Kontaktbestand &bestand, std::size_t telefonfelder, std::string heimat);

    const Verbindung::Textzeile *naechste() override;
    qint64 ungefaehreAnzahl() const override;

private:
    Kontaktbestand &m_bestand;
    std::size_t m_telefonfelder;
    std::string m_heimat;
    std::vector<std::string> m_schluessel;
    Verbindung::Textzeile m_zeile;
};
