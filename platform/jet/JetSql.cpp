#include "platform/jet/JetSql.h"

#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

void skipBlanks(const QString &s, qsizetype &i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
}

QString stringLiteral(const QString &text)
{
    QString out = text;
    out.replace(u"'"_s, u"''"_s);
    return u'\'' + out + u'\'';
}

// After Date() or Now(): an optional "+ n" or "- n" (n possibly signed) in days.
double foldDays(const QString &s, qsizetype &i)
{
    qsizetype k = i;
    skipBlanks(s, k);
    if (k >= s.size() || (s[k] != u'+' && s[k] != u'-'))
        return 0;
    const double op = s[k] == u'-' ? -1 : 1;
    ++k;
    skipBlanks(s, k);
    double sign = 1;
    if (k < s.size() && (s[k] == u'+' || s[k] == u'-')) {
        sign = s[k] == u'-' ? -1 : 1;
        ++k;
        skipBlanks(s, k);
    }
    const qsizetype start = k;
    while (k < s.size() && (s[k].isDigit() || s[k] == u'.'))
        ++k;
    if (k == start)
        return 0;
    // A name or call right after the number means this is no plain day count.
    if (k < s.size() && (isIdentChar(s[k]) || s[k] == u'('))
        return 0;
    bool ok = false;
    const double days = s.mid(start, k - start).toDouble(&ok);
    if (!ok)
        return 0;
    i = k;
    return op * sign * days;
}

QString momentLiteral(const QDateTime &base, double days)
{
    const qint64 ms = static_cast<qint64>(days * 86'400'000.0);
    return stringLiteral(JetSql::isoText(base.addMSecs(ms)));
}

} // namespace

QString JetSql::isoText(const QDateTime &moment)
{
    return moment.toString(u"yyyy-MM-dd HH:mm:ss"_s);
}

QString JetSql::quoteName(const QString &name)
{
    QString inner = name;
    inner.replace(u"]"_s, u"]]"_s);
    return u'[' + inner + u']';
}

QString JetSql::translate(const QString &s, const QDateTime &now, bool *zeitabhaengig)
{
    if (zeitabhaengig)
        *zeitabhaengig = false;
    QString out;
    out.reserve(s.size() + 16);
    qsizetype i = 0;
    bool first = true;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == u'\'') {
            const qsizetype start = i++;
            while (i < s.size()) {
                if (s[i] == u'\'') {
                    if (i + 1 < s.size() && s[i + 1] == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out += QStringView(s).mid(start, i - start);
        } else if (c == u'"') {
            QString text;
            ++i;
            while (i < s.size()) {
                if (s[i] == u'"') {
                    if (i + 1 < s.size() && s[i + 1] == u'"') {
                        text += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += s[i++];
            }
            out += stringLiteral(text);
        } else if (c == u'[') {
            const qsizetype close = s.indexOf(u']', i);
            const qsizetype end = close < 0 ? s.size() : close + 1;
            out += QStringView(s).mid(i, end - i);
            i = end;
        } else if (c == u'#') {
            const qsizetype close = s.indexOf(u'#', i + 1);
            QDateTime moment;
            if (close > i) {
                const QString text = s.mid(i + 1, close - i - 1).trimmed();
                for (const QString &format : {u"yyyy-MM-dd HH:mm:ss"_s, u"yyyy-MM-dd"_s,
                                              u"M/d/yyyy H:mm:ss"_s, u"M/d/yyyy"_s}) {
                    moment = QLocale::c().toDateTime(text, format);
                    if (moment.isValid())
                        break;
                }
            }
            if (moment.isValid()) {
                out += stringLiteral(isoText(moment));
                i = close + 1;
            } else {
                out += c;
                ++i;
            }
        } else if (isIdentChar(c)) {
            const qsizetype start = i;
            while (i < s.size() && isIdentChar(s[i]))
                ++i;
            const QString word = s.mid(start, i - start);
            qsizetype k = i;
            skipBlanks(s, k);
            const bool call = k + 1 < s.size() && s[k] == u'(' ;
            qsizetype afterCall = k;
            bool emptyCall = false;
            if (call) {
                afterCall = k + 1;
                skipBlanks(s, afterCall);
                emptyCall = afterCall < s.size() && s[afterCall] == u')';
            }
            if (emptyCall && zeitabhaengig
                && (word.compare(u"Date"_s, Qt::CaseInsensitive) == 0 || word.compare(u"Now"_s, Qt::CaseInsensitive) == 0))
                *zeitabhaengig = true;
            if (emptyCall && word.compare(u"Date"_s, Qt::CaseInsensitive) == 0) {
                i = afterCall + 1;
                const QDateTime midnight(now.date(), QTime(0, 0));
                out += momentLiteral(midnight, foldDays(s, i));
            } else if (emptyCall && word.compare(u"Now"_s, Qt::CaseInsensitive) == 0) {
                i = afterCall + 1;
                out += momentLiteral(now, foldDays(s, i));
            } else if (first && word.compare(u"DELETE"_s, Qt::CaseInsensitive) == 0) {
                // Jet names what to delete; SQLite deletes whole rows.
                const qsizetype from = s.indexOf(u"FROM"_s, i, Qt::CaseInsensitive);
                out += u"DELETE "_s;
                if (from >= 0)
                    i = from;
            } else {
                out += word;
            }
            first = false;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}
