#include "platform/registry/RegionalSettings.h"

#include <QLocale>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString RegionalSettings::ShortDateFormat()
{
    const QLocale locale;
    if (locale.language() == QLocale::German)
        return u"dd.MM.yyyy"_s;
    // Two-digit years cannot be read back unambiguously; always write four.
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(u"yyyy"_s))
        format.replace(u"yy"_s, u"yyyy"_s);
    return format;
}

QString RegionalSettings::LongTimeFormat()
{
    const QLocale locale;
    if (locale.language() == QLocale::German)
        return u"HH:mm:ss"_s;
    QString format = locale.timeFormat(QLocale::LongFormat);
    // The time zone is not part of a call's stored moment.
    format.remove(QRegularExpression(u"\\s*t+"_s));
    return format.trimmed();
}

QString RegionalSettings::ShortDate(const QDate &date)
{
    return QLocale().toString(date, ShortDateFormat());
}

QString RegionalSettings::LongTime(const QTime &time)
{
    return QLocale().toString(time, LongTimeFormat());
}

QString RegionalSettings::DateTimeText(const QDateTime &moment)
{
    return ShortDate(moment.date()) + u' ' + LongTime(moment.time());
}

std::optional<QDateTime> RegionalSettings::ParseDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QLocale locale;
    const QString date = ShortDateFormat();
    const QString time = LongTimeFormat();
    const QString candidates[] = {
        date + u' ' + time,
        date + u" HH:mm"_s,
        date,
        u"yyyy-MM-dd HH:mm:ss"_s,
        u"yyyy-MM-ddTHH:mm:ss"_s,
        u"yyyy-MM-dd"_s,
        u"d.M.yyyy H:mm:ss"_s,
        u"d.M.yyyy"_s,
    };
    for (const QString &format : candidates) {
        const QDateTime moment = locale.toDateTime(trimmed, format);
        if (moment.isValid())
            return moment;
    }
    const QTime onlyTime = locale.toTime(trimmed, time);
    if (onlyTime.isValid())
        return QDateTime(QDate(1899, 12, 30), onlyTime);
    return std::nullopt;
}
