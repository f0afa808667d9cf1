#pragma once

#include <QString>

#include <string>
#include <string_view>

// The number key: the digits the telephone network delivers for a number as
// people write it, in national form. Blanks, slashes, dashes and brackets
// are dropped; "+" or "00" with the home country's code becomes the trunk
// "0", "+" with another country "00"; a "(0)" after a country code is
// dropped; text before the number is skipped, and a letter after it has
// begun ends it. A caller's number and a contact's stored value with the
// same key are the same line.
class Nummernschluessel
{
public:
    // The home country's code for the regional settings' locale text
    // ("00000407" → "49", "00000c07" → "43", "00000807" → "41"); else empty.
    static QString Heimatvorwahl(const QString &locale);
    // The key of a written number; empty when it holds no digit.
    static QString schluessel(const QString &geschrieben, const QString &heimatvorwahl);
    // The same on UTF-8 text, for a search that computes it for every row.
    static std::string schluesselUtf8(std::string_view geschrieben, std::string_view heimatvorwahl);
};
