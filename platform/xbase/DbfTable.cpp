#include "platform/xbase/DbfTable.h"

#include "platform/xbase/DbfCodePage.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

constexpr int FileHeaderSize = 32;
constexpr int DescriptorSize = 32;
constexpr char HeaderTerminator = 0x0D;
constexpr std::size_t ReadChunk = 64 * 1024;

quint16 le16(const unsigned char *p)
{
    return quint16(p[0] | p[1] << 8);
}

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint64 le64(const unsigned char *p)
{
    return quint64(le32(p)) | quint64(le32(p + 4)) << 32;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\0';
}

// Number text as dBASE stores it: right-aligned, perhaps with a sign.
// Blank, overflow stars or anything else unreadable give false.
bool parseNumber(const char *data, std::size_t size, double *result)
{
    const char *begin = data;
    const char *end = data + size;
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    if (begin < end && *begin == '+')
        ++begin;
    if (begin == end)
        return false;
    const auto [ptr, ec] = std::from_chars(begin, end, *result);
    return ec == std::errc() && ptr == end;
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : Days[month - 1];
}

} // namespace

DbfTable::DbfTable() = default;

DbfTable::~DbfTable()
{
    close();
}

bool DbfTable::isSupportedVersion(quint8 version)
{
    switch (version) {
    case 0x03: // dBASE III/IV without memo
    case 0x83: // dBASE III with .dbt
    case 0x8B: // dBASE IV with .dbt
    case 0xF5: // FoxPro 2.x with .fpt
    case 0x30: // Visual FoxPro
    case 0x31: // Visual FoxPro with an autoincrement field, same layout
        return true;
    default:
        return false;
    }
}

const char *DbfTable::codePageName() const
{
    return m_codePage ? m_codePage->name() : DbfCodePage::nameForLanguageDriver(m_languageDriver);
}

bool DbfTable::fail(const QString &text)
{
    m_error = QDir::toNativeSeparators(m_path) + u": "_s + text;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_record = nullptr;
    return false;
}

void DbfTable::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_fileSize = 0;
    m_version = 0;
    m_languageDriver = 0;
    m_lastUpdate = {};
    m_recordCount = 0;
    m_headerLength = 0;
    m_recordLength = 0;
    m_fields.clear();
    m_codePage = nullptr;
    m_bufferRecords = m_bufferFirst = m_bufferCount = m_next = m_current = 0;
    m_record = nullptr;
    m_memo.close();
    m_memoLookedFor = false;
    m_error.clear();
}

bool DbfTable::open(const QString &path)
{
    close();
    m_path = path;
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK keeps a FIFO that happens to carry the name from hanging us.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return fail(u"Datei kann nicht geöffnet werden: %1"_s.arg(qt_error_string(errno)));
    m_fd = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return fail(u"Dateiangaben nicht lesbar: %1"_s.arg(qt_error_string(errno)));
    if (S_ISDIR(info.st_mode))
        return fail(u"ist ein Ordner, keine Tabellendatei"_s);
    if (!S_ISREG(info.st_mode))
        return fail(u"ist keine gewöhnliche Datei"_s);
    m_fileSize = quint64(info.st_size);
    return readHeader();
}

bool DbfTable::readFully(quint64 offset, char *buffer, std::size_t size, std::size_t *got) const
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, buffer + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    *got = done;
    return true;
}

bool DbfTable::readHeader()
{
    if (m_fileSize == 0)
        return fail(u"Datei ist leer"_s);
    if (m_fileSize < quint64(FileHeaderSize))
        return fail(u"Tabellenkopf abgeschnitten: die Datei hat nur %1 Bytes, ein Tabellenkopf braucht mindestens %2"_s
                        .arg(m_fileSize)
                        .arg(FileHeaderSize));

    unsigned char fixed[FileHeaderSize];
    std::size_t got = 0;
    if (!readFully(0, reinterpret_cast<char *>(fixed), sizeof fixed, &got))
        return fail(u"Lesefehler: %1"_s.arg(qt_error_string(errno)));
    if (got < sizeof fixed)
        return fail(u"Tabellenkopf abgeschnitten: nur %1 von %2 Bytes lesbar"_s.arg(got).arg(FileHeaderSize));

    m_version = fixed[0];
    if (!isSupportedVersion(m_version))
        return fail(u"Unbekannte Tabellenversion 0x%1 (keine dBASE- oder FoxPro-Tabelle?)"_s
                        .arg(QString::number(m_version, 16).toUpper().rightJustified(2, u'0')));
    m_lastUpdate = QDate(1900 + fixed[1], fixed[2], fixed[3]);
    m_recordCount = le32(fixed + 4);
    m_headerLength = le16(fixed + 8);
    m_recordLength = le16(fixed + 10);
    m_languageDriver = fixed[29];
    m_codePage = &DbfCodePage::forLanguageDriver(m_languageDriver);

    if (quint64(m_headerLength) > m_fileSize)
        return fail(u"Tabellenkopf abgeschnitten: laut Kopf ist er %1 Bytes lang, die Datei hat nur %2 Bytes"_s
                        .arg(m_headerLength)
                        .arg(m_fileSize));

    std::vector<unsigned char> header(std::size_t(std::max(m_headerLength, FileHeaderSize)));
    if (!readFully(0, reinterpret_cast<char *>(header.data()), std::size_t(m_headerLength), &got))
        return fail(u"Lesefehler: %1"_s.arg(qt_error_string(errno)));
    if (got < std::size_t(m_headerLength))
        return fail(u"Tabellenkopf abgeschnitten: nur %1 von %2 Bytes lesbar"_s.arg(got).arg(m_headerLength));

    const bool visualFoxPro = m_version == 0x30 || m_version == 0x31;
    int position = FileHeaderSize;
    int offset = 0;
    for (;;) {
        if (position >= m_headerLength)
            return fail(u"Felddefinition läuft über den Tabellenkopf hinaus: kein Abschlussbyte 0x0D "
                        "innerhalb der %1 Bytes des Kopfes"_s.arg(m_headerLength));
        if (header[std::size_t(position)] == HeaderTerminator)
            break;
        if (position + DescriptorSize > m_headerLength)
            return fail(u"Felddefinition läuft über den Tabellenkopf hinaus: Feld %1 endet bei Byte %2, "
                        "der Kopf ist nur %3 Bytes lang"_s
                            .arg(m_fields.size() + 1)
                            .arg(position + DescriptorSize)
                            .arg(m_headerLength));
        const unsigned char *d = header.data() + position;
        DbfField field;
        const auto nameLength = std::size_t(std::find(d, d + 11, 0) - d);
        field.name = m_codePage->toQString(reinterpret_cast<const char *>(d), nameLength).trimmed();
        field.type = char(std::toupper(d[11]));
        field.length = d[16];
        field.decimals = d[17];
        field.offset = offset;
        if (visualFoxPro && le32(d + 12) != quint32(1 + offset))
            return fail(u"Feld %1: Position %2 im Tabellenkopf passt nicht zu den Feldlängen davor (erwartet %3)"_s
                            .arg(field.name)
                            .arg(le32(d + 12))
                            .arg(1 + offset));
        offset += field.length;
        m_fields.push_back(std::move(field));
        position += DescriptorSize;
    }
    if (m_fields.empty())
        return fail(u"Tabelle hat keine Felder"_s);
    if (m_recordLength != 1 + offset)
        return fail(u"Satzlänge passt nicht zu den Feldern: der Kopf nennt %1 Bytes, "
                    "Löschkennzeichen und Felder ergeben %2"_s
                        .arg(m_recordLength)
                        .arg(1 + offset));

    const quint64 needed = quint64(m_headerLength) + quint64(m_recordCount) * quint64(m_recordLength);
    if (needed > m_fileSize)
        return fail(u"Satzanzahl größer als die Datei: %1 Sätze zu %2 Bytes nach %3 Bytes Kopf brauchen "
                    "%4 Bytes, die Datei hat nur %5"_s
                        .arg(m_recordCount)
                        .arg(m_recordLength)
                        .arg(m_headerLength)
                        .arg(needed)
                        .arg(m_fileSize));

    // Names must be unique to serve as column names; empty ones get one.
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        DbfField &field = m_fields[i];
        if (field.name.isEmpty())
            field.name = u"FELD%1"_s.arg(i + 1);
        const QString base = field.name;
        for (int n = 2; std::any_of(m_fields.begin(), m_fields.begin() + qsizetype(i),
                                    [&field](const DbfField &other) {
                                        return other.name.compare(field.name, Qt::CaseInsensitive) == 0;
                                    });
             ++n)
            field.name = base + u'_' + QString::number(n);
    }

    m_bufferRecords = quint32(std::max<std::size_t>(1, ReadChunk / std::size_t(m_recordLength)));
    m_bufferRecords = std::min(m_bufferRecords, std::max<quint32>(m_recordCount, 1));
    m_buffer.resize(std::size_t(m_bufferRecords) * std::size_t(m_recordLength));
    rewind();
    return true;
}

int DbfTable::fieldIndex(const QString &name) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

void DbfTable::rewind()
{
    rewindTo(0);
}

void DbfTable::rewindTo(quint32 index)
{
    m_bufferFirst = 0;
    m_bufferCount = 0;
    m_next = index;
    m_current = 0;
    m_record = nullptr;
}

bool DbfTable::fill(quint32 index)
{
    const quint32 count = std::min(m_bufferRecords, m_recordCount - index);
    const std::size_t bytes = std::size_t(count) * std::size_t(m_recordLength);
    const quint64 offset = quint64(m_headerLength) + quint64(index) * quint64(m_recordLength);
    std::size_t got = 0;
    if (!readFully(offset, m_buffer.data(), bytes, &got))
        return fail(u"Lesefehler bei Satz %1: %2"_s.arg(quint64(index) + 1).arg(qt_error_string(errno)));
    if (got < bytes)
        return fail(u"Datei wurde während des Lesens verkürzt: Satz %1 von %2 fehlt"_s
                        .arg(quint64(index) + got / std::size_t(m_recordLength) + 1)
                        .arg(m_recordCount));
    m_bufferFirst = index;
    m_bufferCount = count;
    return true;
}

bool DbfTable::next()
{
    m_record = nullptr;
    if (m_fd < 0)
        return false;
    while (m_next < m_recordCount) {
        const quint32 index = m_next++;
        if (index < m_bufferFirst || index - m_bufferFirst >= m_bufferCount) {
            if (!fill(index))
                return false;
        }
        const char *record = m_buffer.data() + std::size_t(index - m_bufferFirst) * std::size_t(m_recordLength);
        if (*record == '*')
            continue;
        m_record = record;
        m_current = index;
        return true;
    }
    return false;
}

bool DbfTable::seek(quint32 index)
{
    m_record = nullptr;
    if (m_fd < 0 || index >= m_recordCount)
        return false;
    if (index < m_bufferFirst || index - m_bufferFirst >= m_bufferCount) {
        if (!fill(index))
            return false;
    }
    m_next = index + 1;
    const char *record = m_buffer.data() + std::size_t(index - m_bufferFirst) * std::size_t(m_recordLength);
    if (*record == '*')
        return false;
    m_record = record;
    m_current = index;
    return true;
}

DbfValue DbfTable::text(const char *data, std::size_t size, bool trim)
{
    if (trim) {
        while (size > 0 && isBlank(data[size - 1]))
            --size;
        // A field of blanks is not filled in; callers test for NULL.
        if (size == 0)
            return {};
    }
    DbfValue value;
    value.kind = DbfValue::Kind::Text;
    // Plain ASCII, nearly every value of a contact table, is handed out from
    // the record as it stands: a search reads every field of every record.
    if (m_codePage->asciiIdentity() && std::all_of(data, data + size, [](char c) { return uchar(c) < 0x80; })) {
        value.bytes = std::string_view(data, size);
        return value;
    }
    m_text.clear();
    m_codePage->appendUtf8(m_text, data, size);
    value.bytes = m_text;
    return value;
}

DbfMemoFile::Format DbfTable::memoFormat() const
{
    switch (m_version) {
    case 0x8B:
        return DbfMemoFile::Format::DbaseIV;
    case 0xF5:
    case 0x30:
    case 0x31:
        return DbfMemoFile::Format::FoxPro;
    default:
        return DbfMemoFile::Format::DbaseIII;
    }
}

DbfValue DbfTable::memo(const DbfField &field, const char *data)
{
    DbfValue empty;
    empty.kind = DbfValue::Kind::Text;
    empty.bytes = std::string_view("", 0);

    quint64 block = 0;
    if (field.length == 4) {
        block = le32(reinterpret_cast<const unsigned char *>(data));
    } else {
        const char *begin = data;
        const char *end = data + field.length;
        while (begin < end && isBlank(*begin))
            ++begin;
        while (end > begin && isBlank(end[-1]))
            --end;
        if (begin == end || std::from_chars(begin, end, block).ptr != end)
            return empty;
    }
    if (block == 0)
        return empty;

    if (!m_memoLookedFor) {
        m_memoLookedFor = true;
        const DbfMemoFile::Format format = memoFormat();
        const QString memoPath = DbfMemoFile::findFor(m_path, format);
        if (!memoPath.isEmpty())
            m_memo.open(memoPath, format);
    }
    bool binary = false;
    if (!m_memo.read(block, m_memoBytes, &binary))
        return empty;
    if (binary) {
        DbfValue value;
        value.kind = DbfValue::Kind::Blob;
        value.bytes = m_memoBytes;
        return value;
    }
    return text(m_memoBytes.data(), m_memoBytes.size(), false);
}

std::string_view DbfTable::rawField(int index) const
{
    if (!m_record || index < 0 || std::size_t(index) >= m_fields.size())
        return {};
    const DbfField &field = m_fields[std::size_t(index)];
    return {m_record + 1 + field.offset, std::size_t(field.length)};
}

DbfValue DbfTable::value(int index)
{
    if (!m_record || index < 0 || std::size_t(index) >= m_fields.size())
        return {};
    ++m_decoded;
    const DbfField &field = m_fields[std::size_t(index)];
    const char *data = m_record + 1 + field.offset;
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    const auto size = std::size_t(field.length);
    DbfValue value;

    switch (field.type) {
    case 'C':
        return text(data, size, true);
    case 'N':
    case 'F':
        if (parseNumber(data, size, &value.real))
            value.kind = DbfValue::Kind::Real;
        return value;
    case 'D': {
        if (size != 8 || !std::all_of(data, data + 8, [](char c) { return c >= '0' && c <= '9'; }))
            return value;
        const int year = (data[0] - '0') * 1000 + (data[1] - '0') * 100 + (data[2] - '0') * 10 + (data[3] - '0');
        const int month = (data[4] - '0') * 10 + (data[5] - '0');
        const int day = (data[6] - '0') * 10 + (data[7] - '0');
        if (year == 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
            return value;
        m_text.assign(data, 4);
        m_text += '-';
        m_text.append(data + 4, 2);
        m_text += '-';
        m_text.append(data + 6, 2);
        value.kind = DbfValue::Kind::Text;
        value.bytes = m_text;
        return value;
    }
    case 'L':
        if (size < 1)
            return value;
        switch (data[0]) {
        case 'T': case 't': case 'Y': case 'y':
            value.integer = 1;
            value.kind = DbfValue::Kind::Integer;
            break;
        case 'F': case 'f': case 'N': case 'n':
            value.integer = 0;
            value.kind = DbfValue::Kind::Integer;
            break;
        default:
            break; // '?' or blank: not set
        }
        return value;
    case 'M':
        return memo(field, data);
    case 'I':
        if (size != 4)
            break;
        value.integer = qint32(le32(bytes));
        value.kind = DbfValue::Kind::Integer;
        return value;
    case 'B':
        if (size != 8)
            break;
        value.real = std::bit_cast<double>(le64(bytes));
        value.kind = DbfValue::Kind::Real;
        return value;
    case 'Y':
        if (size != 8)
            break;
        // Currency: a 64-bit integer in ten-thousandths.
        value.real = double(qint64(le64(bytes))) / 10000.0;
        value.kind = DbfValue::Kind::Real;
        return value;
    case 'T': {
        if (size != 8)
            break;
        const qint64 julianDay = qint32(le32(bytes));
        const qint64 millis = qint32(le32(bytes + 4));
        if (julianDay <= 0 || millis < 0 || millis >= 24 * 3600 * 1000)
            return value;
        const QDate date = QDate::fromJulianDay(julianDay);
        if (!date.isValid() || date.year() < 1 || date.year() > 9999)
            return value;
        const qint64 seconds = std::min<qint64>((millis + 500) / 1000, 24 * 3600 - 1);
        char buffer[32];
        const int n = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", date.year(),
                                    date.month(), date.day(), int(seconds / 3600),
                                    int(seconds / 60 % 60), int(seconds % 60));
        m_text.assign(buffer, std::size_t(n));
        value.kind = DbfValue::Kind::Text;
        value.bytes = m_text;
        return value;
    }
    default:
        break;
    }
    // A type we do not know: its bytes as text, so that nothing is hidden.
    return text(data, size, false);
}
