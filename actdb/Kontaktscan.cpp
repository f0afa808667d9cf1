#include "actdb/Kontaktscan.h"

#include "core/Nummernschluessel.h"
#include "platform/xbase/DbfField.h"
#include "platform/xbase/DbfTable.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <thread>

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

// A stored field is filled up with blanks at its end, and most phone fields
// are nothing else: eight of them are passed over at a time.
std::string_view ohneFuellung(std::string_view text)
{
    constexpr std::uint64_t achtLeer = 0x2020202020202020ULL;
    std::size_t n = text.size();
    while (n >= 8) {
        std::uint64_t acht = 0;
        std::memcpy(&acht, text.data() + n - 8, 8);
        if (acht != achtLeer)
            break;
        n -= 8;
    }
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return text.substr(0, n);
}

// Counted through a table, not by a comparison: whether the next byte is a
// digit is anybody's guess, and the branch on it was most of a pass's time.
Ziffernzahl zaehle(std::string_view text)
{
    text = ohneFuellung(text);
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

// What a table's fields allow, worked out once for every part of the read.
struct Plan
{
    std::vector<int> spalten;
    std::vector<bool> memo;
    bool woertlich = false;
    bool schluessel = false;
};

Plan planen(const DbfTable &tabelle, const Kontaktscan::Auftrag &auftrag)
{
    Plan plan;
    // A digit's byte is that digit in every code page the tables are written
    // in, so a character field holds the digits exactly when its bytes do.
    plan.woertlich = nurZiffern(auftrag.ziffern);
    plan.schluessel = !auftrag.schluessel.isEmpty();
    for (const QString &feld : auftrag.felder) {
        const int i = tabelle.fieldIndex(feld);
        const char typ = i < 0 ? '\0' : tabelle.fields()[std::size_t(i)].type;
        // A number or date field would read differently as the statement's text.
        plan.woertlich = plan.woertlich && typ == 'C';
        plan.schluessel = plan.schluessel && (typ == 'C' || typ == 'M');
        plan.spalten.push_back(i);
        plan.memo.push_back(typ == 'M');
    }
    return plan;
}

// Two opened copies of one file read alike only when their layout is the same.
bool gleicheForm(const DbfTable &a, const DbfTable &b)
{
    if (a.recordCount() != b.recordCount() || a.recordLength() != b.recordLength()
        || a.fields().size() != b.fields().size())
        return false;
    for (std::size_t i = 0; i < a.fields().size(); ++i) {
        const DbfField &x = a.fields()[i];
        const DbfField &y = b.fields()[i];
        if (x.name != y.name || x.type != y.type || x.offset != y.offset || x.length != y.length)
            return false;
    }
    return true;
}

struct Teil
{
    Sammlung woertlich;
    Sammlung nachSchluessel;
    bool fehler = false;
};

// The records from "von" up to "bis" of an opened table. "halt" ends the read
// early: a part further back is not needed once one in front found its record.
Teil lesenTeil(DbfTable &tabelle, const Plan &plan, const Kontaktscan::Auftrag &auftrag, quint32 von, quint32 bis,
               const std::atomic<bool> *halt, std::atomic<bool> *gefunden)
{
    Teil teil{{plan.woertlich ? std::make_optional<std::vector<qint64>>() : std::nullopt, auftrag.hoechstens},
              {plan.schluessel ? std::make_optional<std::vector<qint64>>() : std::nullopt, auftrag.hoechstens}};
    const std::string ziffern = auftrag.ziffern.toStdString();
    const std::string schluessel = auftrag.schluessel.toStdString();
    const std::string heimat = auftrag.heimatvorwahl.toStdString();
    const Ziffernzahl gesucht = zaehle(schluessel);
    const std::vector<int> &spalten = plan.spalten;
    tabelle.rewindTo(von);
    quint32 gelesen = 0;
    while ((teil.woertlich.offen() || teil.nachSchluessel.offen()) && tabelle.next()
           && tabelle.recordNumber() < bis) {
        if (halt && ++gelesen % 256 == 0 && halt->load(std::memory_order_relaxed))
            break;
        const qint64 zeile = qint64(tabelle.recordNumber()) + 1;
        if (teil.woertlich.offen()
            && std::any_of(spalten.begin(), spalten.end(), [&](int s) {
                   return ohneFuellung(tabelle.rawField(s)).find(ziffern) != std::string_view::npos;
               })) {
            teil.woertlich.dazu(zeile);
            if (auftrag.nurErsterWoertlich && teil.woertlich.offen()) {
                if (gefunden)
                    gefunden->store(true, std::memory_order_relaxed);
                // The key search runs only when this one found nothing.
                teil.nachSchluessel.zeilen.reset();
                break;
            }
        }
        if (!teil.nachSchluessel.offen())
            continue;
        for (std::size_t k = 0; k < spalten.size(); ++k) {
            // A memo field's stored bytes only point to its text.
            if (!plan.memo[k] && !kannEnthalten(zaehle(tabelle.rawField(spalten[k])), gesucht))
                continue;
            const DbfValue wert = tabelle.value(spalten[k]);
            // An empty field has no key, as in the statement.
            if (wert.kind != DbfValue::Kind::Text || !kannEnthalten(zaehle(wert.bytes), gesucht))
                continue;
            if (Nummernschluessel::schluesselUtf8(wert.bytes, heimat).find(schluessel) != std::string::npos) {
                teil.nachSchluessel.dazu(zeile);
                break;
            }
        }
    }
    teil.fehler = tabelle.hasError();
    return teil;
}

// One search's records of the front part and the back part, as one read
// from the first record to the last would have collected them.
Kontaktscan::Zeilen zusammen(Kontaktscan::Zeilen vorn, const Kontaktscan::Zeilen &hinten, std::size_t hoechstens)
{
    if (!vorn || !hinten || vorn->size() + hinten->size() > hoechstens)
        return std::nullopt;
    vorn->insert(vorn->end(), hinten->begin(), hinten->end());
    return vorn;
}

} // namespace

Kontaktscan::Treffer Kontaktscan::lesen(const QString &datei, const Auftrag &auftrag)
{
    DbfTable vorn;
    if (!vorn.open(datei) || auftrag.felder.isEmpty())
        return {};
    const Plan plan = planen(vorn, auftrag);
    if (!plan.woertlich && !plan.schluessel)
        return {};
    const quint32 anzahl = vorn.recordCount();

    // A large table is read in two halves at once: copying its records out
    // of the page cache is most of a read, and the second core is idle while
    // the caller waits. The back half is read by a copy of its own, and only
    // when that copy is the same file still.
    DbfTable hinten;
    if (anzahl < auftrag.teilenAb || anzahl < 2 || !hinten.open(datei) || !gleicheForm(vorn, hinten)) {
        Teil ganz = lesenTeil(vorn, plan, auftrag, 0, anzahl, nullptr, nullptr);
        if (ganz.fehler)
            return {};
        return {std::move(ganz.woertlich.zeilen), std::move(ganz.nachSchluessel.zeilen)};
    }
    const quint32 mitte = anzahl / 2;
    std::atomic<bool> vornGefunden{false};
    Teil hinterer;
    std::thread leser([&] { hinterer = lesenTeil(hinten, plan, auftrag, mitte, anzahl, &vornGefunden, nullptr); });
    Teil vorderer = lesenTeil(vorn, plan, auftrag, 0, mitte, nullptr, &vornGefunden);
    leser.join();
    if (vorderer.fehler)
        return {};
    if (auftrag.nurErsterWoertlich && vorderer.woertlich.zeilen && !vorderer.woertlich.zeilen->empty())
        return {std::move(vorderer.woertlich.zeilen), std::nullopt};
    if (hinterer.fehler)
        return {};
    if (auftrag.nurErsterWoertlich && hinterer.woertlich.zeilen && !hinterer.woertlich.zeilen->empty())
        return {std::move(hinterer.woertlich.zeilen), std::nullopt};
    return {zusammen(std::move(vorderer.woertlich.zeilen), hinterer.woertlich.zeilen, auftrag.hoechstens),
            zusammen(std::move(vorderer.nachSchluessel.zeilen), hinterer.nachSchluessel.zeilen, auftrag.hoechstens)};
}
