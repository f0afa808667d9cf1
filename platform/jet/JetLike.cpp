#include "platform/jet/JetLike.h"

#include <QChar>

#include <algorithm>

namespace {

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// Decodes UTF-8; a malformed byte stands for itself so nothing is dropped.
std::u32string decode(std::string_view s)
{
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t c = b;
        if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            c = b & 0x07;
        } else if (b >= 0xE0 && b < 0xF0) {
            extra = 2;
            c = b & 0x0F;
        } else if (b >= 0xC2 && b < 0xE0) {
            extra = 1;
            c = b & 0x1F;
        }
        bool ok = extra > 0 && i + extra < s.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(s[i + k]);
            if ((next & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (next & 0x3F);
        }
        if (extra > 0 && ok) {
            out.push_back(c);
            i += extra + 1;
        } else {
            out.push_back(b);
            ++i;
        }
    }
    return out;
}

bool isAscii(std::string_view s)
{
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

} // namespace

JetLike::JetLike(std::string_view pattern)
{
    const std::u32string p = decode(pattern);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        Token t{Token::Char, 0, false, {}};
        if (c == U'*') {
            // Runs of stars are one star.
            if (!m_tokens.empty() && m_tokens.back().kind == Token::AnyRun)
                continue;
            t.kind = Token::AnyRun;
        } else if (c == U'?') {
            t.kind = Token::AnyOne;
        } else if (c == U'#') {
            t.kind = Token::Digit;
        } else if (c == U'[') {
            const std::size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                // An unclosed bracket stands for itself.
                t.ch = U'[';
            } else {
                t.kind = Token::Set;
                std::size_t k = i + 1;
                if (k < close && p[k] == U'!') {
                    t.negate = true;
                    ++k;
                }
                while (k < close) {
                    char32_t from = fold(p[k]);
                    char32_t to = from;
                    if (k + 2 < close && p[k + 1] == U'-') {
                        to = fold(p[k + 2]);
                        k += 3;
                    } else {
                        ++k;
                    }
                    if (to < from)
                        std::swap(from, to);
                    t.ranges.push_back({from, to});
                }
                i = close;
            }
        } else {
            t.ch = fold(c);
        }
        m_tokens.push_back(std::move(t));
    }

    // Plain ASCII literals, with or without a star at each end, are by far
    // the most common patterns: phone digits searched anywhere in a field.
    std::size_t first = 0;
    std::size_t last = m_tokens.size();
    const bool leadingStar = !m_tokens.empty() && m_tokens.front().kind == Token::AnyRun;
    const bool trailingStar = m_tokens.size() > 1 && m_tokens.back().kind == Token::AnyRun;
    if (leadingStar)
        ++first;
    if (trailingStar)
        --last;
    bool plain = first <= last;
    std::string needle;
    for (std::size_t k = first; plain && k < last; ++k) {
        if (m_tokens[k].kind != Token::Char || m_tokens[k].ch >= 0x80)
            plain = false;
        else
            needle.push_back(static_cast<char>(m_tokens[k].ch));
    }
    if (plain) {
        m_asciiNeedle = needle;
        m_asciiSubstring = leadingStar && trailingStar;
        m_asciiExact = !leadingStar && !trailingStar;
        m_ohneBuchstaben = std::none_of(needle.begin(), needle.end(), [](char c) { return lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z'; });
    }
}

bool JetLike::matches(std::string_view text) const
{
    if ((m_asciiSubstring || m_asciiExact) && isAscii(text)) {
        const std::string &n = m_asciiNeedle;
        if (m_asciiExact) {
            if (text.size() != n.size())
                return false;
            for (std::size_t i = 0; i < n.size(); ++i) {
                if (lowerAscii(text[i]) != n[i])
                    return false;
            }
            return true;
        }
        if (n.empty())
            return true;
        // A phone number's digits: the library's search, no folding needed.
        if (m_ohneBuchstaben)
            return text.find(n) != std::string_view::npos;
        if (text.size() < n.size())
            return false;
        for (std::size_t start = 0; start + n.size() <= text.size(); ++start) {
            std::size_t k = 0;
            while (k < n.size() && lowerAscii(text[start + k]) == n[k])
                ++k;
            if (k == n.size())
                return true;
        }
        return false;
    }
    return matchFrom(decode(text));
}

bool JetLike::matchesToken(const Token &token, char32_t c) const
{
    switch (token.kind) {
    case Token::Char: return fold(c) == token.ch;
    case Token::AnyOne: return true;
    case Token::Digit: return c >= U'0' && c <= U'9';
    case Token::Set: {
        const char32_t f = fold(c);
        bool inside = false;
        for (const Range &r : token.ranges) {
            if (f >= r.from && f <= r.to) {
                inside = true;
                break;
            }
        }
        return inside != token.negate;
    }
    case Token::AnyRun: return true;
    }
    return false;
}

bool JetLike::matchFrom(const std::u32string &text) const
{
    std::size_t i = 0;
    std::size_t p = 0;
    std::size_t starP = std::string::npos;
    std::size_t starI = 0;
    const std::size_t m = m_tokens.size();
    while (i < text.size()) {
        if (p < m && m_tokens[p].kind == Token::AnyRun) {
            starP = p++;
            starI = i;
            continue;
        }
        if (p < m && matchesToken(m_tokens[p], text[i])) {
            ++p;
            ++i;
            continue;
        }
        if (starP != std::string::npos) {
            p = starP + 1;
            i = ++starI;
            continue;
        }
        return false;
    }
    while (p < m && m_tokens[p].kind == Token::AnyRun)
        ++p;
    return p == m;
}
