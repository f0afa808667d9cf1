#pragma once

#include <string>
#include <vector>

// The bridge's line protocol: one request per line, one answer per line,
// fields separated by tabs, UTF-8. A backslash, tab, CR or LF inside a field
// is written as \\, \t, \r, \n.
namespace Zeilen {

std::vector<std::wstring> zerlege(const std::string &zeile);
std::string verbinde(const std::vector<std::wstring> &felder);

std::wstring breit(const std::string &utf8);
std::string schmal(const std::wstring &text);

} // namespace Zeilen
