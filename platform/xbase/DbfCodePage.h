#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <string>

// A single-byte code page as a 256-entry table of UTF-8 sequences, built once
// with iconv and then shared, so that decoding a field is a plain lookup.
class DbfCodePage
{
public:
    // The iconv name of the code page that a header's language-driver byte
    // stands for; unknown drivers and 0 mean Windows-1252.
    static const char *nameForLanguageDriver(quint8 languageDriver);

    static const DbfCodePage &forLanguageDriver(quint8 languageDriver);
    static const DbfCodePage &named(const char *iconvName);

    const char *name() const { return m_name.c_str(); }

    // True when the bytes below 0x80 stand for themselves, as in ASCII:
    // then text of such bytes is UTF-8 as it stands.
    bool asciiIdentity() const { return m_asciiIdentity; }
    // Appends the UTF-8 form of the bytes to out.
    void appendUtf8(std::string &out, const char *data, std::size_t size) const;
    QString toQString(const char *data, std::size_t size) const;

private:
    explicit DbfCodePage(const char *iconvName);

    struct Entry
    {
        char bytes[3];
        unsigned char length;
    };

    std::string m_name;
    std::array<Entry, 256> m_table{};
    bool m_asciiIdentity = true; // bytes below 0x80 stand for themselves
};
