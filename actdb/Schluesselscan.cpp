#include "actdb/Schluesselscan.h"

#include "core/Nummernschluessel.h"
#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

#include <array>

namespace {

using Ziffernzahl = std::array<int, 10>;

Ziffernzahl zaehle(std::string_view text)
{
    Ziffernzahl n{};
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            ++n[std::size_t(c - '0')];
    }
    return n;
}

// Every digit of a key comes from a digit written in the field, but for up
// to two zeros put in front ("+1 …" becomes "001…"). A field whose digits
// cannot make up the caller's key is passed over before its key is made,
// and nearly every field is.
bool kannEnthalten(const Ziffernzahl &feld, const Ziffernzahl &gesucht)
{
    for (std::size_t d = 0; d < 10; ++d) {
        if (feld[d] + (d == 0 ? 2 : 0) < gesucht[d])
            return false;
    }
    return true;
}

} // namespace

std::optional<std::vector<qint64>> Schluesselscan::Treffer(const QString &datei, const QStringList &felder,
                                                          const std::string &schluessel, const std::string &heimat,
                                                          std::size_t hoechstens)
{
    DbfTable tabelle;
    if (!tabelle.open(datei))
        return std::nullopt;
    std::vector<int> spalten;
    for (const QString &feld : felder) {
        const int i = tabelle.fieldIndex(feld);
        // A number field would read differently as the statement's text.
        if (i < 0 || (tabelle.fields()[std::size_t(i)].type != 'C' && tabelle.fields()[std::size_t(i)].type != 'M'))
            return std::nullopt;
        spalten.push_back(i);
    }
    const Ziffernzahl gesucht = zaehle(schluessel);
    std::vector<qint64> treffer;
    tabelle.rewind();
    while (tabelle.next()) {
        for (const int spalte : spalten) {
            const DbfValue wert = tabelle.value(spalte);
            // An empty field has no key, as in the statement.
            if (wert.kind != DbfValue::Kind::Text || !kannEnthalten(zaehle(wert.bytes), gesucht))
                continue;
            if (Nummernschluessel::schluesselUtf8(wert.bytes, heimat).find(schluessel) != std::string::npos) {
                if (treffer.size() == hoechstens)
                    return std::nullopt;
                treffer.push_back(qint64(tabelle.recordNumber()) + 1);
                break;
            }
        }
    }
    if (tabelle.hasError())
        return std::nullopt;
    return treffer;
}
