#include "platform/registry/RegionalSettings.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <iterator>

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
    // Some locales put it in brackets: "H:mm:ss (t)".
    format.remove(QRegularExpression(u"\\s*(\\(\\s*t+\\s*\\)|t+)"_s));
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
    if (QLocale().language() == QLocale::German && moment.isValid()) {
        // dd.MM.yyyy HH:mm:ss written by hand: the caller list shows a
        // hundred thousand of them.
        const QDate d = moment.date();
        const QTime t = moment.time();
        const int teile[] = {d.day(), d.month(), d.year(), t.hour(), t.minute(), t.second()};
        if (teile[2] >= 1000 && teile[2] <= 9999) {
            QString s(19, u' ');
            const auto setze = [&s](int pos, int wert, int stellen) {
                for (int i = stellen - 1; i >= 0; --i) {
                    s[pos + i] = QChar(u'0' + wert % 10);
                    wert /= 10;
                }
            };
            setze(0, teile[0], 2);
            s[2] = u'.';
            setze(3, teile[1], 2);
            s[5] = u'.';
            setze(6, teile[2], 4);
            setze(11, teile[3], 2);
            s[13] = u':';
            setze(14, teile[4], 2);
            s[16] = u':';
            setze(17, teile[5], 2);
            return s;
        }
    }
    return ShortDate(moment.date()) + u' ' + LongTime(moment.time());
}

namespace {

// "dd.MM.yyyy HH:mm:ss", the form the program writes, read without the
// general parser: the caller list sorts a hundred thousand of them.
std::optional<QDateTime> schnell(QStringView t)
{
    if (t.size() != 19 || t[2] != u'.' || t[5] != u'.' || t[10] != u' ' || t[13] != u':' || t[16] != u':')
        return std::nullopt;
    const auto zahl = [&](int von, int laenge) {
        int wert = 0;
        for (int i = von; i < von + laenge; ++i) {
            const char16_t c = t[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            wert = wert * 10 + (c - u'0');
        }
        return wert;
    };
    const int teile[6] = {zahl(6, 4), zahl(3, 2), zahl(0, 2), zahl(11, 2), zahl(14, 2), zahl(17, 2)};
    // A letter in the year must not pass as the year -1, which QDate accepts.
    if (std::any_of(std::begin(teile), std::end(teile), [](int t) { return t < 0; }))
        return std::nullopt;
    const QDate datum(teile[0], teile[1], teile[2]);
    const QTime zeit(teile[3], teile[4], teile[5]);
    if (!datum.isValid() || !zeit.isValid())
        return std::nullopt;
    return QDateTime(datum, zeit);
}

} // namespace

std::optional<QDateTime> RegionalSettings::ParseDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    if (ShortDateFormat() == u"dd.MM.yyyy"_s && LongTimeFormat() == u"HH:mm:ss"_s) {
        if (const std::optional<QDateTime> m = schnell(trimmed))
            return m;
    }
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

QString RegionalSettings::LocaleKennung()
{
    return LocaleKennung(QLocale());
}

QString RegionalSettings::LocaleKennung(const QLocale &locale)
{
    struct Eintrag
    {
        QLocale::Language sprache;
        QLocale::Territory gebiet;
        int kennung;
    };
    static const Eintrag tabelle[] = {
        {QLocale::German, QLocale::Germany, 0x0407},
        {QLocale::German, QLocale::Austria, 0x0c07},
        {QLocale::German, QLocale::Switzerland, 0x0807},
        {QLocale::German, QLocale::Luxembourg, 0x1007},
        {QLocale::German, QLocale::Liechtenstein, 0x1407},
        {QLocale::English, QLocale::UnitedStates, 0x0409},
        {QLocale::English, QLocale::UnitedKingdom, 0x0809},
        {QLocale::French, QLocale::France, 0x040c},
        {QLocale::French, QLocale::Switzerland, 0x100c},
        {QLocale::Italian, QLocale::Italy, 0x0410},
        {QLocale::Italian, QLocale::Switzerland, 0x0810},
        {QLocale::Dutch, QLocale::Netherlands, 0x0413},
        {QLocale::Spanish, QLocale::Spain, 0x0c0a},
    };
    for (const Eintrag &e : tabelle) {
        if (e.sprache == locale.language() && e.gebiet == locale.territory())
            return u"%1"_s.arg(e.kennung, 8, 16, QChar(u'0'));
    }
    return u"00000409"_s;
}
