#include "core/Nummernschluessel.h"

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

struct Heimat
{
    const char16_t *locale;
    const char16_t *vorwahl;
};

// The countries whose area codes the phone database knows as national numbers.
constexpr Heimat Heimatlaender[] = {
    {u"00000407", u"49"}, // German (Germany)
    {u"00000c07", u"43"}, // German (Austria)
    {u"00000807", u"41"}, // German (Switzerland)
};

} // namespace

QString Nummernschluessel::Heimatvorwahl(const QString &locale)
{
    for (const Heimat &h : Heimatlaender) {
        if (locale.compare(QStringView(h.locale), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(h.vorwahl);
    }
    return {};
}

namespace {

template <typename Zeichen>
bool istZiffer(Zeichen c)
{
    return c >= Zeichen('0') && c <= Zeichen('9');
}

// The rules, on UTF-16 text or on ASCII bytes as they stand in a table; the
// digits go into a short string (no heap for a telephone number), so that a
// search calling it for every field of every row stays quick.
template <typename Zeichen>
std::string schluesselAus(std::basic_string_view<Zeichen> text, std::string_view heimat)
{
    // Where the number begins: the first digit or a "+" before one.
    std::size_t anfang = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (QChar::isDigit(char32_t(text[i])) || (text[i] == Zeichen('+') && i + 1 < text.size())) {
            anfang = i;
            break;
        }
    }
    if (anfang == text.size())
        return {};
    // Up to the first letter, as "Zentrale" or "oder 1234568" after it.
    std::size_t ende = anfang;
    while (ende < text.size() && !QChar::isLetter(char32_t(text[ende])))
        ++ende;
    const std::basic_string_view<Zeichen> teil = text.substr(anfang, ende - anfang);
    const bool plus = teil[0] == Zeichen('+');
    bool auslaendisch = plus;
    if (!plus) {
        // "00" as the first two digits dials abroad.
        int gesehen = 0;
        for (std::size_t i = 0; i < teil.size() && gesehen < 2; ++i) {
            if (!istZiffer(teil[i]))
                continue;
            if (teil[i] != Zeichen('0'))
                break;
            if (++gesehen == 2)
                auslaendisch = true;
        }
    }
    std::string ziffern;
    ziffern.reserve(teil.size());
    for (std::size_t i = 0; i < teil.size(); ++i) {
        const Zeichen c = teil[i];
        if (istZiffer(c)) {
            ziffern.push_back(char(c));
        } else if (auslaendisch && c == Zeichen('(') && i + 2 < teil.size() && teil[i + 1] == Zeichen('0')
                   && teil[i + 2] == Zeichen(')') && ziffern.size() > (plus ? 0u : 2u)) {
            // A written "(0)" after a country code: the trunk zero, not dialled from abroad.
            i += 2;
        }
    }
    if (ziffern.empty())
        return {};
    std::string_view international;
    if (plus)
        international = ziffern;
    else if (ziffern.starts_with("00"))
        international = std::string_view(ziffern).substr(2);
    else
        return ziffern;
    if (!heimat.empty() && international.starts_with(heimat)) {
        std::string national(international.substr(heimat.size()));
        // "+49 030 …": the trunk zero written twice is one.
        if (!national.starts_with('0'))
            national.insert(national.begin(), '0');
        return national;
    }
    return "00" + std::string(international);
}

} // namespace

QString Nummernschluessel::schluessel(const QString &geschrieben, const QString &heimatvorwahl)
{
    const QByteArray heimat = heimatvorwahl.toLatin1();
    return QString::fromLatin1(schluesselAus(std::u16string_view(reinterpret_cast<const char16_t *>(geschrieben.utf16()), std::size_t(geschrieben.size())),
                                             std::string_view(heimat.constData(), std::size_t(heimat.size())))
                                   .c_str());
}

std::string Nummernschluessel::schluesselUtf8(std::string_view geschrieben, std::string_view heimatvorwahl)
{
    // Nearly every stored number is ASCII: read as it stands, not decoded.
    if (std::all_of(geschrieben.begin(), geschrieben.end(), [](char c) { return uchar(c) < 0x80; }))
        return schluesselAus(geschrieben, heimatvorwahl);
    const QString text = QString::fromUtf8(geschrieben.data(), qsizetype(geschrieben.size()));
    return schluesselAus(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())), heimatvorwahl);
}
