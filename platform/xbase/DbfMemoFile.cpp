#include "platform/xbase/DbfMemoFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

quint32 bigEndian32(const unsigned char *p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
}

quint32 littleEndian32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// ".dbf" -> ".dbt", ".GDB" -> ".GDT": both dBASE and FoxPro name the memo file
// after the table with the extension's last letter replaced by T, except that
// FoxPro keeps the memos of a .dbf in an .fpt.
QStringList memoExtensions(const QString &suffix, DbfMemoFile::Format format)
{
    QStringList result;
    const bool upper = !suffix.isEmpty() && suffix == suffix.toUpper() && suffix != suffix.toLower();
    const auto withCase = [upper](const QString &ext) { return upper ? ext.toUpper() : ext.toLower(); };
    if (format == DbfMemoFile::Format::FoxPro && suffix.compare(u"dbf"_s, Qt::CaseInsensitive) == 0)
        result << withCase(u"fpt"_s);
    if (!suffix.isEmpty())
        result << suffix.chopped(1) + (upper ? u'T' : u't');
    result << withCase(format == DbfMemoFile::Format::FoxPro ? u"fpt"_s : u"dbt"_s);
    result.removeDuplicates();
    return result;
}

} // namespace

DbfMemoFile::~DbfMemoFile()
{
    close();
}

QString DbfMemoFile::findFor(const QString &tablePath, Format format)
{
    const QFileInfo table(tablePath);
    const QString suffix = table.suffix();
    const QString base = suffix.isEmpty() ? table.fileName() : table.fileName().chopped(suffix.size() + 1);
    const QDir dir = table.dir();
    const QStringList extensions = memoExtensions(suffix, format);
    for (const QString &ext : extensions) {
        const QString candidate = dir.filePath(base + u'.' + ext);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    // Files copied from Windows often come with the case of their names mixed.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &ext : extensions) {
        const QString wanted = base + u'.' + ext;
        for (const QString &entry : entries) {
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
                return dir.filePath(entry);
        }
    }
    return {};
}

bool DbfMemoFile::open(const QString &path, Format format)
{
    close();
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_format = format;
    m_size = quint64(info.st_size);
    m_blockSize = 512;
    unsigned char header[32] = {};
    if (format == Format::DbaseIV && readAt(0, reinterpret_cast<char *>(header), sizeof header)) {
        const quint32 size = quint32(header[20]) | quint32(header[21]) << 8;
        if (size != 0)
            m_blockSize = size;
    } else if (format == Format::FoxPro && readAt(0, reinterpret_cast<char *>(header), sizeof header)) {
        const quint32 size = quint32(header[6]) << 8 | quint32(header[7]);
        // FoxPro stores 0 for its default of 64 bytes per block.
        m_blockSize = size != 0 ? size : 64;
    }
    return true;
}

void DbfMemoFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}

bool DbfMemoFile::readAt(quint64 offset, char *buffer, std::size_t size) const
{
    if (m_fd < 0 || offset > m_size || size > m_size - offset)
        return false;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(m_fd, buffer + done, size - done, off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += std::size_t(got);
    }
    return true;
}

bool DbfMemoFile::readInto(quint64 offset, quint64 length, std::string &out) const
{
    out.resize(std::size_t(std::min(length, MaxMemoSize)));
    if (readAt(offset, out.data(), out.size()))
        return true;
    out.clear();
    return false;
}

bool DbfMemoFile::read(quint64 block, std::string &out, bool *binary)
{
    out.clear();
    if (binary)
        *binary = false;
    // Block 0 is the memo file's own header.
    if (m_fd < 0 || block == 0)
        return false;
    const quint64 offset = block * m_blockSize;
    if (offset / m_blockSize != block || offset >= m_size)
        return false;

    switch (m_format) {
    case Format::DbaseIII:
        return readDbaseIII(offset, out);
    case Format::DbaseIV: {
        unsigned char head[8];
        if (!readAt(offset, reinterpret_cast<char *>(head), sizeof head))
            return false;
        if (!(head[0] == 0xFF && head[1] == 0xFF && head[2] == 0x08 && head[3] == 0x00))
            return readDbaseIII(offset, out); // written by a dBASE III-style program
        const quint32 length = littleEndian32(head + 4);
        if (length < 8 || length - 8 > m_size - offset - 8)
            return false;
        return readInto(offset + 8, length - 8, out);
    }
    case Format::FoxPro: {
        unsigned char head[8];
        if (!readAt(offset, reinterpret_cast<char *>(head), sizeof head))
            return false;
        const quint32 type = bigEndian32(head);
        const quint32 length = bigEndian32(head + 4);
        if (length > m_size - offset - 8)
            return false;
        if (binary)
            *binary = type != 1;
        return readInto(offset + 8, length, out);
    }
    }
    return false;
}

bool DbfMemoFile::readDbaseIII(quint64 offset, std::string &out)
{
    // dBASE III ends the text with 0x1A 0x1A; some other programs write a
    // single 0x1A, so the first one ends the text. Reading stops there rather
    // than running on through the following memos.
    constexpr std::size_t Chunk = 512;
    while (offset < m_size && out.size() < MaxMemoSize) {
        const std::size_t want = std::size_t(std::min<quint64>(Chunk, m_size - offset));
        const std::size_t before = out.size();
        out.resize(before + want);
        if (!readAt(offset, out.data() + before, want)) {
            out.clear();
            return false;
        }
        offset += want;
        const std::size_t end = out.find('\x1A', before);
        if (end != std::string::npos) {
            out.resize(end);
            return true;
        }
    }
    if (out.size() > MaxMemoSize)
        out.resize(MaxMemoSize);
    return true;
}
