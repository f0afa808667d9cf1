#include "actdb/Cachezeilen.h"

#include "core/Nummernschluessel.h"
#include "platform/jet/JetFehler.h"
#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

using namespace Qt::StringLiterals;

Cachezeilen::Cachezeilen() = default;
Cachezeilen::~Cachezeilen() = default;

std::unique_ptr<Cachezeilen> Cachezeilen::oeffnen(const QString &datei, const QStringList &telefonfelder,
                                                  const std::string &heimat)
{
    std::unique_ptr<Cachezeilen> z(new Cachezeilen);
    z->m_tabelle = std::make_unique<DbfTable>();
    if (!z->m_tabelle->open(datei))
        return nullptr;
    const auto position = [&z](const QString &feld) {
        const int i = z->m_tabelle->fieldIndex(feld);
        // Number, date and memo fields read differently through the statement.
        return i >= 0 && z->m_tabelle->fields()[std::size_t(i)].type == 'C' ? i : -1;
    };
    for (const QString &feld : telefonfelder) {
        z->m_telefon.push_back(position(feld));
        if (z->m_telefon.back() < 0)
            return nullptr;
    }
    for (const QString &feld : {u"NAME"_s, u"COMPANY"_s, u"CITY"_s, u"UNIQUE_ID"_s}) {
        z->m_weitere.push_back(position(feld));
        if (z->m_weitere.back() < 0)
            return nullptr;
    }
    z->m_heimat = heimat;
    const std::size_t spalten = 2 * z->m_telefon.size() + z->m_weitere.size();
    z->m_texte.resize(spalten);
    z->m_zeile.resize(spalten);
    z->m_tabelle->rewind();
    return z;
}

qint64 Cachezeilen::ungefaehreAnzahl() const
{
    return m_tabelle->recordCount();
}

const Verbindung::Textzeile *Cachezeilen::naechste()
{
    if (!m_tabelle->next()) {
        if (m_tabelle->hasError())
            throw JetFehler(JetFehler::DateiBeschaedigt, m_tabelle->errorString());
        return nullptr;
    }
    std::size_t spalte = 0;
    // Each value is copied out: the table reuses its buffer for the next one.
    const auto lesen = [this, &spalte](int feld) {
        const DbfValue wert = m_tabelle->value(feld);
        if (wert.kind == DbfValue::Kind::Text) {
            m_texte[spalte].assign(wert.bytes);
            m_zeile[spalte] = m_texte[spalte];
        } else {
            m_zeile[spalte].reset();
        }
        ++spalte;
    };
    for (const int feld : m_telefon) {
        lesen(feld);
        // The key beside its field: Null for an empty field, as in the statement.
        if (m_zeile[spalte - 1]) {
            m_texte[spalte] = Nummernschluessel::schluesselUtf8(*m_zeile[spalte - 1], m_heimat);
            m_zeile[spalte] = m_texte[spalte];
        } else {
            m_zeile[spalte].reset();
        }
        ++spalte;
    }
    for (const int feld : m_weitere)
        lesen(feld);
    return &m_zeile;
}
