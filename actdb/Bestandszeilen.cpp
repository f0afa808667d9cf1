#include "actdb/Bestandszeilen.h"

#include "core/Kontaktbestand.h"
#include "core/Nummernschluessel.h"
#include "platform/jet/JetFehler.h"

using namespace Qt::StringLiterals;

namespace {

// Name, company, city and id follow the phone values.
constexpr std::size_t Weitere = 4;

} // namespace

Bestandszeilen::Bestandszeilen(Kontaktbestand &bestand, std::size_t telefonfelder, std::string heimat)
    : m_bestand(bestand)
    , m_telefonfelder(telefonfelder)
    , m_heimat(std::move(heimat))
    , m_schluessel(telefonfelder)
    , m_zeile(2 * telefonfelder + Weitere)
{
}

const Verbindung::Textzeile *Bestandszeilen::naechste()
{
    const Kontaktbestand::Werte *werte = m_bestand.naechster();
    if (!werte) {
        const QString fehler = m_bestand.fehler();
        if (!fehler.isEmpty())
            throw JetFehler(JetFehler::DateiBeschaedigt, fehler);
        return nullptr;
    }
    if (werte->size() != m_telefonfelder + Weitere)
        throw JetFehler(JetFehler::DateiBeschaedigt, u"Ein Kontakt hat %1 statt %2 Werte."_s.arg(
                                                         werte->size()).arg(m_telefonfelder + Weitere));
    for (std::size_t i = 0; i < m_telefonfelder; ++i) {
        const std::optional<std::string_view> &wert = (*werte)[i];
        m_zeile[2 * i] = wert;
        if (wert) {
            m_schluessel[i] = Nummernschluessel::schluesselUtf8(*wert, m_heimat);
            m_zeile[2 * i + 1] = m_schluessel[i];
        } else {
            // No number, no key: the searches by key pass the contact by.
            m_zeile[2 * i + 1].reset();
        }
    }
    for (std::size_t i = 0; i < Weitere; ++i)
        m_zeile[2 * m_telefonfelder + i] = (*werte)[m_telefonfelder + i];
    return &m_zeile;
}

qint64 Bestandszeilen::ungefaehreAnzahl() const
{
    return m_bestand.ungefaehreAnzahl();
}
