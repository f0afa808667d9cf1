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

bool istZiffer(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The rules on UTF-16 text; the digits go into a short string (no heap for a
// telephone number), so that a search calling it for every row stays quick.
std::string schluesselAus(std::u16string_view text, std::string_view heimat)
{
    // Where the number begins: the first digit or a "+" before one.
    std::size_t anfang = text.size();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (QChar(text[i]).isDigit() || (text[i] == u'+' && i + 1 < text.size())) {
            anfang = i;
            break;
        }
    }
    if (anfang == text.size())
        return {};
    // Up to the first letter, as "Zentrale" or "oder 1234568" after it.
    std::size_t ende = anfang;
    while (ende < text.size() && !QChar(text[ende]).isLetter())
        ++ende;
    const std::u16string_view teil = text.substr(anfang, ende - anfang);
    const bool plus = teil[0] == u'+';
    std::string alle;
    for (const char16_t c : teil) {
        if (istZiffer(c) && alle.size() < 2)
            alle.push_back(char(c));
    }
    const bool auslaendisch = plus || alle == "00";
    std::string ziffern;
    for (std::size_t i = 0; i < teil.size(); ++i) {
        // A written "(0)" after a country code: the trunk zero, not dialled from abroad.
        if (auslaendisch && teil.substr(i, 3) == u"(0)" && ziffern.size() > (plus ? 0u : 2u)) {
            i += 2;
            continue;
        }
        if (istZiffer(teil[i]))
            ziffern.push_back(char(teil[i]));
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
    // Nearly every stored number is ASCII: widened on the stack, not decoded.
    char16_t puffer[256];
    if (geschrieben.size() <= std::size(puffer)
        && std::all_of(geschrieben.begin(), geschrieben.end(), [](char c) { return uchar(c) < 0x80; })) {
        std::copy(geschrieben.begin(), geschrieben.end(), puffer);
        return schluesselAus(std::u16string_view(puffer, geschrieben.size()), heimatvorwahl);
    }
    const QString text = QString::fromUtf8(geschrieben.data(), qsizetype(geschrieben.size()));
    return schluesselAus(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())), heimatvorwahl);
}
