#include "actdb/Kontaktscan.h"

#include "core/Nummernschluessel.h"
#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

// How often each digit occurs; the last place counts every other byte.
using Ziffernzahl = std::array<int, 11>;

constexpr std::array<std::uint8_t, 256> ziffernplatz = [] {
    std::array<std::uint8_t, 256> platz{};
    for (auto &p : platz)
        p = 10;
    for (int c = '0'; c <= '9'; ++c)
        platz[std::size_t(c)] = std::uint8_t(c - '0');
    return platz;
}();

// Counted through a table, not by a comparison: whether the next byte is a
// digit is anybody's guess, and the branch on it was most of a pass's time.
Ziffernzahl zaehle(std::string_view text)
{
    // A stored field is filled up with blanks at its end.
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    Ziffernzahl n{};
    for (const char c : text)
        ++n[ziffernplatz[static_cast<unsigned char>(c)]];
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

bool nurZiffern(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// One search's records, given up once there are too many.
struct Sammlung
{
    Kontaktscan::Zeilen zeilen;
    std::size_t hoechstens = 0;

    bool offen() const { return zeilen.has_value(); }
    void dazu(qint64 zeile)
    {
        if (zeilen->size() == hoechstens)
            zeilen.reset();
        else
            zeilen->push_back(zeile);
    }
};

} // namespace

Kontaktscan::Treffer Kontaktscan::lesen(const QString &datei, const Auftrag &auftrag)
{
    DbfTable tabelle;
    if (!tabelle.open(datei) || auftrag.felder.isEmpty())
        return {};
    std::vector<int> spalten;
    std::vector<bool> memo;
    // A digit's byte is that digit in every code page the tables are written
    // in, so a character field holds the digits exactly when its bytes do.
    bool woertlichLesbar = nurZiffern(auftrag.ziffern);
    bool schluesselLesbar = !auftrag.schluessel.isEmpty();
    for (const QString &feld : auftrag.felder) {
        const int i = tabelle.fieldIndex(feld);
        const char typ = i < 0 ? '\0' : tabelle.fields()[std::size_t(i)].type;
        // A number or date field would read differently as the statement's text.
        woertlichLesbar = woertlichLesbar && typ == 'C';
        schluesselLesbar = schluesselLesbar && (typ == 'C' || typ == 'M');
        spalten.push_back(i);
        memo.push_back(typ == 'M');
    }
    Sammlung woertlich{woertlichLesbar ? std::make_optional<std::vector<qint64>>() : std::nullopt, auftrag.hoechstens};
    Sammlung nachSchluessel{schluesselLesbar ? std::make_optional<std::vector<qint64>>() : std::nullopt,
                            auftrag.hoechstens};
    if (!woertlich.offen() && !nachSchluessel.offen())
        return {};

    const std::string ziffern = auftrag.ziffern.toStdString();
    const std::string schluessel = auftrag.schluessel.toStdString();
    const std::string heimat = auftrag.heimatvorwahl.toStdString();
    const Ziffernzahl gesucht = zaehle(schluessel);
    tabelle.rewind();
    while ((woertlich.offen() || nachSchluessel.offen()) && tabelle.next()) {
        const qint64 zeile = qint64(tabelle.recordNumber()) + 1;
        if (woertlich.offen()
            && std::any_of(spalten.begin(), spalten.end(),
                           [&](int s) { return tabelle.rawField(s).find(ziffern) != std::string_view::npos; })) {
            woertlich.dazu(zeile);
            if (auftrag.nurErsterWoertlich && woertlich.offen()) {
                // The key search runs only when this one found nothing.
                nachSchluessel.zeilen.reset();
                break;
            }
        }
        if (!nachSchluessel.offen())
            continue;
        for (std::size_t k = 0; k < spalten.size(); ++k) {
            // A memo field's stored bytes only point to its text.
            if (!memo[k] && !kannEnthalten(zaehle(tabelle.rawField(spalten[k])), gesucht))
                continue;
            const DbfValue wert = tabelle.value(spalten[k]);
            // An empty field has no key, as in the statement.
            if (wert.kind != DbfValue::Kind::Text || !kannEnthalten(zaehle(wert.bytes), gesucht))
                continue;
            if (Nummernschluessel::schluesselUtf8(wert.bytes, heimat).find(schluessel) != std::string::npos) {
                nachSchluessel.dazu(zeile);
                break;
            }
        }
    }
    if (tabelle.hasError())
        return {};
    return {std::move(woertlich.zeilen), std::move(nachSchluessel.zeilen)};
}
