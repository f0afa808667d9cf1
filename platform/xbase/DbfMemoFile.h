#pragma once

#include <QString>
#include <QtGlobal>

#include <string>

// The memo file beside a table (.dbt or .fpt), opened read-only. A memo that
// cannot be found or points outside the file reads as empty: a damaged memo
// must not make the whole table unreadable.
class DbfMemoFile
{
public:
    enum class Format {
        DbaseIII, // 512-byte blocks, text ends at 0x1A 0x1A
        DbaseIV,  // block size in the header, blocks start with FF FF 08 00 and a length
        FoxPro,   // big-endian block size, blocks start with type and length
    };

    // Largest memo that is read; anything longer is cut, to keep memory bounded.
    static constexpr quint64 MaxMemoSize = 64ull * 1024 * 1024;

    DbfMemoFile() = default;
    ~DbfMemoFile();
    DbfMemoFile(const DbfMemoFile &) = delete;
    DbfMemoFile &operator=(const DbfMemoFile &) = delete;

    // The memo file that belongs to a table, or an empty string when there is none.
    static QString findFor(const QString &tablePath, Format format);

    bool open(const QString &path, Format format);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    quint32 blockSize() const { return m_blockSize; }

    // Reads the raw bytes of the memo that starts at block; false when the
    // block is empty or does not lie inside the file. binary tells whether the
    // memo holds something other than text (FoxPro picture or object memos).
    bool read(quint64 block, std::string &out, bool *binary);

private:
    bool readAt(quint64 offset, char *buffer, std::size_t size) const;
    bool readInto(quint64 offset, quint64 length, std::string &out) const;
    bool readDbaseIII(quint64 offset, std::string &out);

    int m_fd = -1;
    Format m_format = Format::DbaseIII;
    quint64 m_size = 0;
    quint32 m_blockSize = 512;
};
