#include "platform/xbase/DbfCodePage.h"

#include <iconv.h>

#include <map>
#include <memory>
#include <mutex>

namespace {

// Bytes a code page leaves undefined read as U+FFFD.
constexpr char Replacement[3] = {char(0xEF), char(0xBF), char(0xBD)};

} // namespace

const char *DbfCodePage::nameForLanguageDriver(quint8 languageDriver)
{
    switch (languageDriver) {
    case 0x01: return "CP437";
    case 0x02: return "CP850";
    case 0x03: return "CP1252";
    case 0x57: return "CP1252";
    case 0x58: return "CP1252";
    case 0x59: return "CP1252";
    case 0x64: return "CP852";
    case 0x65: return "CP866";
    case 0x66: return "CP865";
    case 0x67: return "CP861";
    case 0x7D: return "CP1255";
    case 0x7E: return "CP1256";
    case 0xC8: return "CP1250";
    case 0xC9: return "CP1251";
    case 0xCA: return "CP1254";
    case 0xCB: return "CP1253";
    default: return "CP1252";
    }
}

const DbfCodePage &DbfCodePage::forLanguageDriver(quint8 languageDriver)
{
    return named(nameForLanguageDriver(languageDriver));
}

const DbfCodePage &DbfCodePage::named(const char *iconvName)
{
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<DbfCodePage>> pages;
    const std::lock_guard lock(mutex);
    auto &page = pages[iconvName];
    if (!page)
        page.reset(new DbfCodePage(iconvName));
    return *page;
}

DbfCodePage::DbfCodePage(const char *iconvName)
    : m_name(iconvName)
{
    iconv_t cd = iconv_open("UTF-8", iconvName);
    for (int byte = 0; byte < 256; ++byte) {
        Entry &entry = m_table[std::size_t(byte)];
        char in = char(byte);
        char out[8] = {};
        bool ok = false;
        if (cd != iconv_t(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char *inPtr = &in;
            std::size_t inLeft = 1;
            char *outPtr = out;
            std::size_t outLeft = sizeof out;
            ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1) && inLeft == 0;
            // Some converters (CP1255) hold a letter back in case a combining
            // mark follows; flushing hands it out.
            ok = ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != std::size_t(-1);
            const std::size_t produced = sizeof out - outLeft;
            ok = ok && produced >= 1 && produced <= 3;
            if (ok) {
                for (std::size_t i = 0; i < produced; ++i)
                    entry.bytes[i] = out[i];
                entry.length = static_cast<unsigned char>(produced);
            }
        } else if (byte < 0x80) {
            // Without iconv at least the ASCII half stays readable.
            entry.bytes[0] = in;
            entry.length = 1;
            ok = true;
        }
        if (!ok) {
            for (std::size_t i = 0; i < 3; ++i)
                entry.bytes[i] = Replacement[i];
            entry.length = 3;
        }
        if (byte < 0x80 && (entry.length != 1 || entry.bytes[0] != in))
            m_asciiIdentity = false;
    }
    if (cd != iconv_t(-1))
        iconv_close(cd);
}

void DbfCodePage::appendUtf8(std::string &out, const char *data, std::size_t size) const
{
    const char *const end = data + size;
    while (data < end) {
        if (m_asciiIdentity) {
            const char *run = data;
            while (run < end && static_cast<unsigned char>(*run) < 0x80)
                ++run;
            if (run != data) {
                out.append(data, std::size_t(run - data));
                data = run;
                if (data == end)
                    break;
            }
        }
        const Entry &entry = m_table[static_cast<unsigned char>(*data)];
        out.append(entry.bytes, entry.length);
        ++data;
    }
}

QString DbfCodePage::toQString(const char *data, std::size_t size) const
{
    std::string utf8;
    utf8.reserve(size);
    appendUtf8(utf8, data, size);
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}
