#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The user's regional formats: the short date and the long time in which the
// program writes and reads the moments of calls.
class RegionalSettings
{
public:
    static QString ShortDateFormat();
    static QString LongTimeFormat();

    static QString ShortDate(const QDate &date);
    static QString LongTime(const QTime &time);
    // Short date, a blank, long time: the text form of a call's moment.
    static QString DateTimeText(const QDateTime &moment);
    // Reads a date, a time or both in the regional form (or ISO form).
    static std::optional<QDateTime> ParseDateTime(const QString &text);
    // The user's locale as the desktop of the program's origin names it,
    // e.g. "00000407" for German (Germany), "00000c07" for German (Austria).
    static QString LocaleKennung();
    static QString LocaleKennung(const QLocale &locale);
};
