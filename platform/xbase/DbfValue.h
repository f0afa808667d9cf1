#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QtGlobal>

#include <string_view>

// One decoded field. Text and blob bytes point into a buffer of the table
// that is reused by the next decode, so that a scan allocates nothing per row.
struct DbfValue
{
    enum class Kind { Null, Integer, Real, Text, Blob };

    Kind kind = Kind::Null;
    qint64 integer = 0;
    double real = 0.0;
    std::string_view bytes; // UTF-8 for Text

    bool isNull() const { return kind == Kind::Null; }

    // Convenient and slow; for tools and tests, not for scans.
    QVariant toVariant() const
    {
        switch (kind) {
        case Kind::Null:
            return {};
        case Kind::Integer:
            return QVariant::fromValue(integer);
        case Kind::Real:
            return real;
        case Kind::Text:
            // Empty text stays distinct from NULL.
            return bytes.empty() ? QStringLiteral("") : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
        case Kind::Blob:
            return QByteArray(bytes.data(), qsizetype(bytes.size()));
        }
        return {};
    }
};
