#include "platform/telephony/CallMonitorLine.h"

#include "platform/system/Steuerzeichen.h"

#include <QStringDecoder>

#include <algorithm>

#include <array>

using namespace Qt::StringLiterals;

namespace {

struct KindInfo
{
    QStringView name;
    CallMonitorLine::Kind kind;
    qsizetype fieldCount; // fewer is malformed; more is tolerated for newer routers
};

constexpr std::array Kinds{
    KindInfo{u"RING", CallMonitorLine::Kind::Ring, 6},
    KindInfo{u"CALL", CallMonitorLine::Kind::Call, 7},
    KindInfo{u"CONNECT", CallMonitorLine::Kind::Connect, 5},
    KindInfo{u"DISCONNECT", CallMonitorLine::Kind::Disconnect, 4},
};

// Quoted pieces of a bad line go to the log; a long one is cut short.
QString quoted(const QString &text)
{
    constexpr qsizetype Limit = 32;
    const QString shown = text.size() > Limit ? text.left(Limit) + u'…' : text;
    return u"„"_s + shown + u"“"_s;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// "dd.MM.yy HH:mm:ss" read by hand: the router's two-digit year means 20yy,
// the Qt date formats would take it as 19yy (and reject 29.02.00).
QDateTime parseTime(const QString &text)
{
    static constexpr QStringView Layout = u"00.00.00 00:00:00";
    if (text.size() != Layout.size())
        return {};
    for (qsizetype i = 0; i < Layout.size(); ++i) {
        const bool ok = Layout[i] == u'0' ? isAsciiDigit(text[i]) : text[i] == Layout[i];
        if (!ok)
            return {};
    }
    const auto number = [&text](qsizetype at) {
        return (text[at].unicode() - u'0') * 10 + (text[at + 1].unicode() - u'0');
    };
    const QDate date(2000 + number(6), number(3), number(0));
    const QTime time(number(9), number(12), number(15));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

// Nine digits at most, so that the call handle (id + 1) still fits.
bool parseConnectionId(const QString &text, int &id)
{
    if (text.isEmpty() || text.size() > 9 || !std::all_of(text.cbegin(), text.cend(), isAsciiDigit))
        return false;
    id = text.toInt();
    return true;
}

} // namespace

std::optional<CallMonitorLine> CallMonitorLine::parse(QByteArrayView line, QString *problem)
{
    const auto fail = [problem](const QString &text) {
        if (problem)
            *problem = text;
        return std::optional<CallMonitorLine>();
    };

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(line);
    if (decoder.hasError())
        return fail(u"ungültiges UTF-8"_s);
    // Catches C0, DEL and C1 alike; a stray CR or tab is no part of the protocol.
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return fail(u"Steuerzeichen in der Zeile"_s);
    }
    // Invisible format characters would make a number show other than it dials.
    text = Steuerzeichen::entfernt(text);

    CallMonitorLine result;
    result.m_fields = splitFields(text);
    const QString kindName = result.m_fields.value(1);
    const auto info = std::find_if(Kinds.cbegin(), Kinds.cend(),
                                   [&kindName](const KindInfo &k) { return k.name == kindName; });
    if (info == Kinds.cend())
        return fail(u"unbekannte Meldung %1"_s.arg(quoted(kindName)));
    if (result.m_fields.size() < info->fieldCount) {
        return fail(u"zu wenige Felder für %1 (%2 statt %3)"_s.arg(kindName)
                        .arg(result.m_fields.size())
                        .arg(info->fieldCount));
    }
    result.m_kind = info->kind;
    result.m_time = parseTime(result.m_fields[0]);
    if (!result.m_time.isValid())
        return fail(u"ungültiges Datum %1"_s.arg(quoted(result.m_fields[0])));
    if (!parseConnectionId(result.m_fields[2], result.m_connectionId))
        return fail(u"Verbindungsnummer %1 ist keine Zahl"_s.arg(quoted(result.m_fields[2])));
    return result;
}

QStringList CallMonitorLine::splitFields(const QString &line)
{
    QString rest = line;
    if (rest.endsWith(u';'))
        rest.chop(1);
    return rest.split(u';', Qt::KeepEmptyParts);
}

QString CallMonitorLine::party() const
{
    switch (m_kind) {
    case Kind::Ring:
        return field(3);
    case Kind::Call:
        return field(5);
    case Kind::Connect:
        return field(4);
    case Kind::Disconnect:
        break;
    }
    return {};
}

QString CallMonitorLine::ownNumber() const
{
    return m_kind == Kind::Ring || m_kind == Kind::Call ? field(4) : QString();
}
