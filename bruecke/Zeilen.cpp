#include "Zeilen.h"

#include <windows.h>

namespace Zeilen {

std::wstring breit(const std::string &utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), n);
    return text;
}

std::string schmal(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

std::vector<std::wstring> zerlege(const std::string &zeile)
{
    std::vector<std::string> felder(1);
    for (size_t i = 0; i < zeile.size(); ++i) {
        const char c = zeile[i];
        if (c == '\t') {
            felder.emplace_back();
        } else if (c == '\\' && i + 1 < zeile.size()) {
            const char n = zeile[++i];
            felder.back() += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else if (c != '\r' && c != '\n') {
            felder.back() += c;
        }
    }
    std::vector<std::wstring> ergebnis;
    for (const std::string &f : felder)
        ergebnis.push_back(breit(f));
    return ergebnis;
}

std::string verbinde(const std::vector<std::wstring> &felder)
{
    std::string zeile;
    for (size_t i = 0; i < felder.size(); ++i) {
        if (i)
            zeile += '\t';
        for (const char c : schmal(felder[i])) {
            switch (c) {
            case '\\': zeile += "\\\\"; break;
            case '\t': zeile += "\\t"; break;
            case '\n': zeile += "\\n"; break;
            case '\r': zeile += "\\r"; break;
            default: zeile += c;
            }
        }
    }
    return zeile + '\n';
}

} // namespace Zeilen
