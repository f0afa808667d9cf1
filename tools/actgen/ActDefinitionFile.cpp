#include "tools/actgen/ActDefinitionFile.h"

#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

const char *const ActDefinitionFile::ActivityMarker = "ACTIVITY SCHEMA";
const char *const ActDefinitionFile::GroupMarker = "GROUP INFO SCHEMA";
const char *const ActDefinitionFile::SalesMarker = "SALES SCHEMA";

namespace {

// Bytes in front of the name's length; not zero, and never a length a
// field name could have, so they cannot pose as the start of another field.
constexpr char RecordHead[] = {'\x11', '\x22'};
constexpr char RecordFlags = '\x01';
constexpr char FillerByte = '\xFF';
constexpr qsizetype FillerRun = 127;

const QList<ActDefinitionFile::Field> &activityFields()
{
    static const QList<ActDefinitionFile::Field> fields = {
        {u"ACT_TYPE"_s, u"Art"_s, ActDefinitionFile::Number, 2},
        {u"ACT_DATE"_s, u"Datum"_s, ActDefinitionFile::Date, 8},
        {u"DURATION"_s, u"Dauer"_s, ActDefinitionFile::Number, 4},
        {u"REGARDING"_s, u"Betreff"_s, ActDefinitionFile::Text, 60},
        {u"PRIORITY"_s, u"Priorität"_s, ActDefinitionFile::Number, 1},
    };
    return fields;
}

const QList<ActDefinitionFile::Field> &salesFields()
{
    static const QList<ActDefinitionFile::Field> fields = {
        {u"PRODUCT"_s, u"Produkt"_s, ActDefinitionFile::Text, 40},
        {u"AMOUNT"_s, u"Betrag"_s, ActDefinitionFile::Number, 12},
        {u"STAGE"_s, u"Phase"_s, ActDefinitionFile::Text, 20},
        {u"CLOSE_DATE"_s, u"Abschluss"_s, ActDefinitionFile::Date, 8},
    };
    return fields;
}

QByteArray records(const QList<ActDefinitionFile::Field> &fields)
{
    QByteArray bytes;
    for (const ActDefinitionFile::Field &field : fields)
        bytes += ActDefinitionFile::fieldRecord(field);
    return bytes;
}

// Filler runs of exactly `size` bytes: non-zero runs each ended by a zero.
QByteArray filler(qsizetype size)
{
    QByteArray bytes(size, FillerByte);
    for (qsizetype end = FillerRun; end < size; end += FillerRun + 1)
        bytes[end] = '\0';
    if (size > 0)
        bytes[size - 1] = '\0';
    return bytes;
}

} // namespace

QByteArray ActDefinitionFile::toWindows1252(const QString &text)
{
    // The characters of 0x80..0x9F; the rest of Windows-1252 is Latin-1.
    static const char16_t upper[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes += char(u);
            continue;
        }
        const auto *found = std::find(std::begin(upper), std::end(upper), u);
        bytes += found != std::end(upper) ? char(0x80 + (found - std::begin(upper))) : '?';
    }
    return bytes;
}

QByteArray ActDefinitionFile::fieldRecord(const Field &field, int labelLength)
{
    const QByteArray name = field.name.toLatin1();
    const QByteArray label = toWindows1252(field.label);
    QByteArray bytes;
    bytes.append(RecordHead, sizeof RecordHead);
    bytes += char(name.size());
    bytes += name;
    bytes += char(std::clamp(field.size, 1, 255));
    bytes += RecordFlags;
    bytes += char(field.type);
    bytes += '\0';
    bytes += QByteArray(2, '\0'); // not read
    bytes += char(labelLength >= 0 ? labelLength : label.size());
    bytes += label;
    bytes += '\0';
    return bytes;
}

QByteArray ActDefinitionFile::markerRun(const char *marker)
{
    return '\x01' + QByteArray(marker) + " V3" + QByteArray(2, '\0');
}

QByteArray ActDefinitionFile::head() const
{
    QByteArray bytes = records(m_contactFields);
    if (m_variant != Variant::WithoutActivityMarker)
        bytes += markerRun(ActivityMarker);
    bytes += records(activityFields());
    return bytes;
}

QByteArray ActDefinitionFile::tail() const
{
    QByteArray bytes;
    if (m_variant != Variant::WithoutGroupMarker)
        bytes += markerRun(GroupMarker);
    if (m_variant == Variant::LabelPastEnd && !m_groupFields.isEmpty()) {
        bytes += records(m_groupFields.first(m_groupFields.size() - 1));
        const Field &last = m_groupFields.last();
        const int claimed = int(toWindows1252(last.label).size()) + 40;
        bytes += fieldRecord(last, std::min(claimed, 255)).chopped(1);
        return bytes;
    }
    bytes += records(m_groupFields);
    bytes += markerRun(SalesMarker);
    bytes += records(salesFields());
    bytes += QByteArray(4, '\0');
    return bytes;
}

bool ActDefinitionFile::fail(const QString &text)
{
    m_error = text;
    return false;
}

bool ActDefinitionFile::check(const QList<Field> &fields)
{
    for (const Field &field : fields) {
        const QByteArray name = field.name.toLatin1();
        const QByteArray label = toWindows1252(field.label);
        if (name.isEmpty() || name.size() > 255 || name.contains('\0'))
            return fail(u"Feldname „%1“ passt nicht in die Felddefinition"_s.arg(field.name));
        if (label.isEmpty() || label.size() > 255 || label.contains('\0'))
            return fail(u"Bezeichnung „%1“ von %2 passt nicht in die Felddefinition"_s.arg(field.label, field.name));
        if (field.type == 0)
            return fail(u"Feld %1 braucht einen Typ ungleich 0"_s.arg(field.name));
    }
    return true;
}

bool ActDefinitionFile::write(const QString &path)
{
    if (!check(m_contactFields) || !check(m_groupFields))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(u"%1 kann nicht geschrieben werden: %2"_s.arg(path, file.errorString()));
    const auto put = [&file](const QByteArray &bytes) { return file.write(bytes) == bytes.size(); };

    bool ok = true;
    switch (m_variant) {
    case Variant::Empty:
        break;
    case Variant::Truncated: {
        const QByteArray contacts = records(m_contactFields);
        ok = put(contacts.left(contacts.size() / 2));
        break;
    }
    default: {
        const QByteArray first = head();
        const QByteArray last = tail();
        ok = put(first);
        qint64 padding = m_minimumSize - first.size() - last.size();
        // Large files are padded in pieces, so the padding needs no memory.
        const QByteArray chunk = filler(64 * (FillerRun + 1));
        while (ok && padding >= chunk.size()) {
            ok = put(chunk);
            padding -= chunk.size();
        }
        if (ok && padding > 0)
            ok = put(filler(padding));
        ok = ok && put(last);
        break;
    }
    }
    if (!ok)
        return fail(u"%1: %2"_s.arg(path, file.errorString()));
    file.close();
    return true;
}

QList<ActDefinitionFile::Variant> ActDefinitionFile::allVariants()
{
    return {Variant::Normal,    Variant::WithoutActivityMarker, Variant::WithoutGroupMarker,
            Variant::Truncated, Variant::LabelPastEnd,          Variant::Empty};
}

QString ActDefinitionFile::variantName(Variant variant)
{
    switch (variant) {
    case Variant::Normal:
        return u"normal"_s;
    case Variant::WithoutActivityMarker:
        return u"no-activity"_s;
    case Variant::WithoutGroupMarker:
        return u"no-group"_s;
    case Variant::Truncated:
        return u"truncated"_s;
    case Variant::LabelPastEnd:
        return u"label-past-end"_s;
    case Variant::Empty:
        return u"empty"_s;
    }
    return {};
}

bool ActDefinitionFile::variantFromName(const QString &name, Variant *variant)
{
    for (Variant candidate : allVariants()) {
        if (variantName(candidate) == name) {
            *variant = candidate;
            return true;
        }
    }
    return false;
}
