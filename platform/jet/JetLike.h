#pragma once

#include <string>
#include <string_view>
#include <vector>

// The pattern language of the engine's LIKE: "*" any run of characters, "?"
// any one character, "#" one digit, "[abc]" one of a list, "[!abc]" none of
// it, "[a-z]" a range; a pattern character in brackets stands for itself.
// Letters match regardless of case. Works on UTF-8 text.
class JetLike
{
public:
    explicit JetLike(std::string_view pattern);

    bool matches(std::string_view text) const;

private:
    struct Range
    {
        char32_t from;
        char32_t to;
    };
    struct Token
    {
        enum Kind { Char, AnyOne, AnyRun, Digit, Set } kind;
        char32_t ch = 0;
        bool negate = false;
        std::vector<Range> ranges;
    };

    bool matchFrom(const std::u32string &text) const;
    bool matchesToken(const Token &token, char32_t c) const;

    std::vector<Token> m_tokens;
    // "*literal*" and "literal" patterns of plain ASCII are matched without decoding.
    bool m_asciiSubstring = false;
    bool m_asciiExact = false;
    std::string m_asciiNeedle;
    // Digits and signs only: no letter whose case would have to be folded.
    bool m_ohneBuchstaben = false;
};
