#include "tools/dbf/DbfWriter.h"

#include <QFileInfo>

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

void putLe16(char *p, quint32 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8 & 0xFF);
}

void putLe32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char(v >> (8 * i) & 0xFF);
}

void putBe32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char(v >> (8 * (3 - i)) & 0xFF);
}

// How many bytes the UTF-8 sequence starting with this byte has.
int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

bool isKnownVersion(quint8 version)
{
    return version == 0x03 || version == 0x83 || version == 0x8B || version == 0xF5 || version == 0x30;
}

} // namespace

DbfWriter::DbfWriter(quint8 version, quint8 languageDriver)
    : m_version(version)
    , m_languageDriver(languageDriver)
    , m_lastUpdate(QDate::currentDate())
{
    iconv_t cd = iconv_open(codePageName(languageDriver), "UTF-8");
    m_iconv = cd == iconv_t(-1) ? nullptr : cd;
}

DbfWriter::~DbfWriter()
{
    if (m_file.isOpen())
        finish();
    if (m_iconv)
        iconv_close(iconv_t(m_iconv));
}

const char *DbfWriter::codePageName(quint8 languageDriver)
{
    switch (languageDriver) {
    case 0x01: return "CP437";
    case 0x02: return "CP850";
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
    default: return "CP1252"; // 0x03, 0x57, 0x58, 0x59 and anything unknown
    }
}

QString DbfWriter::memoPathFor(const QString &tablePath, quint8 version)
{
    const QFileInfo info(tablePath);
    const QString suffix = info.suffix();
    const bool foxPro = version == 0xF5 || version == 0x30;
    const bool upper = !suffix.isEmpty() && suffix == suffix.toUpper() && suffix != suffix.toLower();
    QString memoSuffix;
    if (suffix.isEmpty())
        memoSuffix = foxPro ? u"fpt"_s : u"dbt"_s;
    else if (foxPro && suffix.compare(u"dbf"_s, Qt::CaseInsensitive) == 0)
        memoSuffix = u"fpt"_s;
    else
        memoSuffix = suffix.chopped(1) + u't';
    memoSuffix = upper ? memoSuffix.toUpper() : memoSuffix.toLower();
    const QString base = suffix.isEmpty() ? tablePath : tablePath.chopped(suffix.size() + 1);
    return base + u'.' + memoSuffix;
}

bool DbfWriter::writeTable(const QString &path, quint8 version, quint8 languageDriver, const QList<Field> &fields,
                           const QList<Record> &records, QString *error)
{
    DbfWriter writer(version, languageDriver);
    bool ok = true;
    for (const Field &field : fields)
        ok = ok && writer.addField(field.name, field.type, field.length, field.decimals);
    ok = ok && writer.create(path);
    for (const Record &record : records)
        ok = ok && writer.appendRecord(record.values, record.deleted);
    ok = ok && writer.finish();
    if (!ok && error)
        *error = writer.errorString();
    return ok;
}

bool DbfWriter::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool DbfWriter::addField(const QString &name, char type, int length, int decimals)
{
    if (m_file.isOpen())
        return fail(u"Felder können nach create() nicht mehr hinzukommen"_s);
    // Measured as written: upper case can be longer ("ß" becomes "SS").
    const QByteArray encodedName = encode(name.toUpper());
    if (encodedName.isEmpty() || encodedName.size() > 10)
        return fail(u"Feldname „%1“ muss 1 bis 10 Zeichen lang sein"_s.arg(name));
    const bool memoVersion = m_version != 0x03;
    switch (type) {
    case 'C':
        if (length < 1 || length > 254)
            return fail(u"Feld %1: Textlänge %2 nicht zwischen 1 und 254"_s.arg(name).arg(length));
        decimals = 0;
        break;
    case 'N':
    case 'F':
        if (length < 1 || length > 20 || decimals < 0 || (decimals > 0 && decimals > length - 2))
            return fail(u"Feld %1: Zahlenformat %2,%3 ungültig"_s.arg(name).arg(length).arg(decimals));
        break;
    case 'D':
    case 'L':
    case 'M':
    case 'I':
    case 'B': {
        if (type == 'M' && !memoVersion)
            return fail(u"Feld %1: Memofelder braucht eine Tabellenversion mit Memodatei"_s.arg(name));
        if ((type == 'I' || type == 'B') && !isVisualFoxPro())
            return fail(u"Feld %1: Typ %2 gibt es nur in Visual FoxPro"_s.arg(name, QChar::fromLatin1(type)));
        const int fixed = type == 'D' ? 8
                          : type == 'L' ? 1
                          : type == 'M' ? (isVisualFoxPro() ? 4 : 10)
                          : type == 'I' ? 4
                                        : 8;
        if (length == 0)
            length = fixed;
        if (length != fixed)
            return fail(u"Feld %1: Typ %2 hat immer die Länge %3"_s.arg(name, QChar::fromLatin1(type)).arg(fixed));
        if (type != 'B')
            decimals = 0;
        break;
    }
    default:
        return fail(u"Feld %1: Feldtyp %2 wird nicht geschrieben"_s.arg(name, QChar::fromLatin1(type)));
    }
    m_fields.append({name.toUpper(), type, length, decimals});
    return true;
}

QByteArray DbfWriter::encode(const QString &text) const
{
    const QByteArray utf8 = text.toUtf8();
    if (!m_iconv)
        return text.toLatin1();
    auto cd = iconv_t(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray result(utf8.size() + 4, Qt::Uninitialized);
    char *in = const_cast<char *>(utf8.constData());
    std::size_t inLeft = std::size_t(utf8.size());
    char *out = result.data();
    std::size_t outLeft = std::size_t(result.size());
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &out, &outLeft) != std::size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: a single-byte code page never needs more than UTF-8
        // A character the code page lacks becomes '?', as Windows does.
        if (outLeft == 0)
            break;
        *out++ = '?';
        --outLeft;
        const auto skip = std::min<std::size_t>(std::size_t(utf8Length(static_cast<unsigned char>(*in))), inLeft);
        in += skip;
        inLeft -= skip;
    }
    result.truncate(result.size() - qsizetype(outLeft));
    return result;
}

bool DbfWriter::hasMemo() const
{
    for (const Field &field : m_fields) {
        if (field.type == 'M')
            return true;
    }
    return false;
}

int DbfWriter::headerLength() const
{
    return 32 + 32 * int(m_fields.size()) + 1 + (isVisualFoxPro() ? 263 : 0);
}

int DbfWriter::recordLength() const
{
    int length = 1;
    for (const Field &field : m_fields)
        length += field.length;
    return length;
}

quint32 DbfWriter::memoBlockSize() const
{
    // dBASE III knows only 512-byte blocks.
    if (m_version == 0x83)
        return 512;
    if (m_memoBlockSize > 0)
        return quint32(m_memoBlockSize);
    return m_version == 0x8B ? 512 : 64;
}

QByteArray DbfWriter::header() const
{
    QByteArray bytes(headerLength(), '\0');
    char *h = bytes.data();
    h[0] = char(m_version);
    h[1] = char(m_lastUpdate.year() - 1900);
    h[2] = char(m_lastUpdate.month());
    h[3] = char(m_lastUpdate.day());
    putLe32(h + 4, m_recordCount);
    putLe16(h + 8, quint32(headerLength()));
    putLe16(h + 10, quint32(recordLength()));
    if (isVisualFoxPro() && hasMemo())
        h[28] = 0x02; // table has a memo file
    h[29] = char(m_languageDriver);
    int offset = 1;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const Field &field = m_fields[i];
        char *d = h + 32 + 32 * i;
        const QByteArray name = encode(field.name);
        std::memcpy(d, name.constData(), std::size_t(name.size()));
        d[11] = field.type;
        // Only Visual FoxPro keeps the field's place in the record here.
        if (isVisualFoxPro())
            putLe32(d + 12, quint32(offset));
        d[16] = char(field.length);
        d[17] = char(field.decimals);
        offset += field.length;
    }
    h[32 + 32 * m_fields.size()] = 0x0D;
    // The Visual FoxPro database backlink that follows stays all zero: a free table.
    return bytes;
}

bool DbfWriter::create(const QString &path)
{
    if (!isKnownVersion(m_version))
        return fail(u"Tabellenversion 0x%1 wird nicht geschrieben"_s.arg(uint(m_version), 2, 16, QChar(u'0')));
    if (m_fields.isEmpty())
        return fail(u"Tabelle ohne Felder"_s);
    if (headerLength() > 0xFFFF)
        return fail(u"Zu viele Felder: der Tabellenkopf hätte %1 Bytes"_s.arg(headerLength()));
    if (m_lastUpdate.year() < 1900 || m_lastUpdate.year() > 2155)
        return fail(u"Tabellendatum %1 liegt nicht zwischen 1900 und 2155"_s.arg(m_lastUpdate.toString(Qt::ISODate)));
    if (recordLength() > 0xFFFF)
        return fail(u"Satzlänge %1 zu groß"_s.arg(recordLength()));
    if (m_file.isOpen())
        return fail(u"Tabelle %1 ist schon angelegt"_s.arg(m_file.fileName()));
    m_recordCount = 0;
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(u"%1 kann nicht geschrieben werden: %2"_s.arg(path, m_file.errorString()));
    const QByteArray head = header();
    if (m_file.write(head) != head.size())
        return fail(u"%1: %2"_s.arg(path, m_file.errorString()));
    m_record = QByteArray(recordLength(), ' ');
    return !hasMemo() || startMemoFile(path);
}

bool DbfWriter::startMemoFile(const QString &tablePath)
{
    m_memoFile.setFileName(memoPathFor(tablePath, m_version));
    if (!m_memoFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(u"%1 kann nicht geschrieben werden: %2"_s.arg(m_memoFile.fileName(), m_memoFile.errorString()));
    const quint32 blockSize = memoBlockSize();
    // The memo file's header fills the first 512 bytes, or a whole block if they are larger.
    const quint32 headerSize = m_version == 0x83 ? 512 : std::max<quint32>(512, blockSize);
    m_nextMemoBlock = (headerSize + blockSize - 1) / blockSize;
    QByteArray head(qsizetype(m_nextMemoBlock * blockSize), '\0');
    if (m_version == 0x8B) {
        const QByteArray base = QFileInfo(m_file.fileName()).completeBaseName().toLatin1().left(8);
        std::memcpy(head.data() + 8, base.constData(), std::size_t(base.size()));
        putLe16(head.data() + 20, blockSize);
    } else if (m_version == 0x83) {
        head[16] = 0x03;
    } else {
        head[6] = char(blockSize >> 8 & 0xFF);
        head[7] = char(blockSize & 0xFF);
    }
    return m_memoFile.write(head) == head.size() || fail(m_memoFile.errorString());
}

bool DbfWriter::writeMemo(const QString &text, quint32 *block)
{
    const QByteArray data = encode(text);
    const quint32 blockSize = memoBlockSize();
    QByteArray bytes;
    if (m_version == 0x83) {
        bytes = data + "\x1A\x1A";
    } else if (m_version == 0x8B) {
        bytes = QByteArray(8, '\0') + data;
        bytes[0] = char(0xFF);
        bytes[1] = char(0xFF);
        bytes[2] = 0x08;
        bytes[3] = 0x00;
        putLe32(bytes.data() + 4, quint32(data.size()) + 8);
    } else {
        bytes = QByteArray(8, '\0') + data;
        putBe32(bytes.data(), 1); // text
        putBe32(bytes.data() + 4, quint32(data.size()));
    }
    const qsizetype padded = (bytes.size() + blockSize - 1) / blockSize * blockSize;
    bytes.append(padded - bytes.size(), '\0');
    *block = m_nextMemoBlock;
    m_nextMemoBlock += quint32(padded / blockSize);
    return m_memoFile.write(bytes) == bytes.size() || fail(m_memoFile.errorString());
}

bool DbfWriter::encodeValue(const Field &field, const QVariant &value, char *out)
{
    const auto length = std::size_t(field.length);
    const bool binary = field.type == 'I' || field.type == 'B' || (field.type == 'M' && field.length == 4);
    std::memset(out, binary ? 0 : ' ', length);
    if (value.isNull() || !value.isValid())
        return true;
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray raw = value.toByteArray();
        std::memcpy(out, raw.constData(), std::min(length, std::size_t(raw.size())));
        return true;
    }
    const auto putRight = [out, length](const QByteArray &text) {
        if (std::size_t(text.size()) > length) {
            std::memset(out, '*', length); // as dBASE shows a number that does not fit
            return;
        }
        std::memcpy(out + length - std::size_t(text.size()), text.constData(), std::size_t(text.size()));
    };

    switch (field.type) {
    case 'C': {
        const QByteArray text = encode(value.toString());
        std::memcpy(out, text.constData(), std::min(length, std::size_t(text.size())));
        return true;
    }
    case 'N':
    case 'F': {
        if (value.typeId() == QMetaType::QString) {
            putRight(value.toString().trimmed().toLatin1());
            return true;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number))
            return fail(u"Feld %1: %2 ist keine Zahl"_s.arg(field.name, value.toString()));
        putRight(QByteArray::number(number, 'f', field.decimals));
        return true;
    }
    case 'D': {
        QDate date = value.toDate();
        if (value.typeId() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return true;
            date = QDate::fromString(text, text.size() == 8 ? u"yyyyMMdd"_s : u"yyyy-MM-dd"_s);
        }
        if (!date.isValid() || date.year() < 1 || date.year() > 9999)
            return fail(u"Feld %1: %2 ist kein Datum"_s.arg(field.name, value.toString()));
        const QByteArray text = date.toString(u"yyyyMMdd"_s).toLatin1();
        std::memcpy(out, text.constData(), 8);
        return true;
    }
    case 'L':
        if (value.typeId() == QMetaType::Bool) {
            out[0] = value.toBool() ? 'T' : 'F';
        } else {
            const QString text = value.toString();
            out[0] = text.isEmpty() ? ' ' : char(text.at(0).toLatin1());
        }
        return true;
    case 'M': {
        const QString text = value.toString();
        if (text.isEmpty())
            return true;
        quint32 block = 0;
        if (!writeMemo(text, &block))
            return false;
        if (field.length == 4)
            putLe32(out, block);
        else
            putRight(QByteArray::number(block));
        return true;
    }
    case 'I': {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < INT32_MIN || number > INT32_MAX)
            return fail(u"Feld %1: %2 ist keine 32-Bit-Zahl"_s.arg(field.name, value.toString()));
        putLe32(out, quint32(qint32(number)));
        return true;
    }
    case 'B': {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return fail(u"Feld %1: %2 ist keine Zahl"_s.arg(field.name, value.toString()));
        const auto bits = std::bit_cast<quint64>(number);
        putLe32(out, quint32(bits & 0xFFFFFFFFu));
        putLe32(out + 4, quint32(bits >> 32));
        return true;
    }
    default:
        return true;
    }
}

bool DbfWriter::appendRecord(const QVariantList &values, bool deleted)
{
    if (!m_file.isOpen())
        return fail(u"appendRecord() vor create()"_s);
    if (values.size() > m_fields.size())
        return fail(u"%1 Werte für %2 Felder"_s.arg(values.size()).arg(m_fields.size()));
    char *record = m_record.data();
    record[0] = deleted ? '*' : ' ';
    int offset = 1;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const Field &field = m_fields[i];
        if (!encodeValue(field, i < values.size() ? values[i] : QVariant(), record + offset))
            return false;
        offset += field.length;
    }
    if (m_file.write(m_record) != m_record.size())
        return fail(m_file.errorString());
    ++m_recordCount;
    return true;
}

bool DbfWriter::finish()
{
    if (!m_file.isOpen())
        return fail(u"finish() ohne offene Tabelle"_s);
    bool ok = m_file.write("\x1A", 1) == 1;
    char count[4];
    putLe32(count, m_recordCount);
    ok = ok && m_file.seek(4) && m_file.write(count, 4) == 4;
    if (!ok)
        fail(m_file.errorString());
    m_file.close();
    if (m_memoFile.isOpen()) {
        char next[4];
        if (m_version == 0x83 || m_version == 0x8B)
            putLe32(next, m_nextMemoBlock);
        else
            putBe32(next, m_nextMemoBlock);
        if (!(m_memoFile.seek(0) && m_memoFile.write(next, 4) == 4) && ok)
            ok = fail(m_memoFile.errorString());
        m_memoFile.close();
    }
    return ok;
}
