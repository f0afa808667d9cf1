#include "tools/actgen/ActPhoneNumbers.h"

#include "tools/actgen/ActRandom.h"

using namespace Qt::StringLiterals;

namespace {

// How often a number is made anew when it hits a reserved one before it is
// taken anyway; with a handful of reserved numbers one retry is plenty.
constexpr int MaxRetries = 50;

// "1234567" -> "1 23 45 67": pairs from the right, as old letterheads have them.
QString inPairs(const QString &digits)
{
    QString out;
    const qsizetype first = digits.size() % 2;
    if (first)
        out += digits.left(1);
    for (qsizetype i = first; i < digits.size(); i += 2) {
        if (!out.isEmpty())
            out += u' ';
        out += digits.mid(i, 2);
    }
    return out;
}

// Swiss style: "1234567" -> "123 45 67".
QString swissGroups(const QString &digits)
{
    if (digits.size() != 7)
        return digits;
    return digits.left(3) + u' ' + digits.mid(3, 2) + u' ' + digits.mid(5, 2);
}

} // namespace

ActPhoneNumbers::ActPhoneNumbers(ActRandom &random)
    : m_random(random)
{
}

QString ActPhoneNumbers::digitsOf(const QString &text)
{
    QString digits;
    digits.reserve(text.size());
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
    }
    return digits;
}

void ActPhoneNumbers::reserve(const QString &typedNumber)
{
    // The subscriber number sits at the end. A search for the number itself
    // contains its last five digits; a search for its neighbours the leading
    // digits without the last two.
    const QString digits = digitsOf(typedNumber);
    if (digits.size() < 4)
        return;
    const QString tail = digits.right(7);
    const QString leading = tail.size() > 5 ? tail.left(tail.size() - 2) : tail;
    for (const QString &core : {leading, digits.right(5)}) {
        if (!m_reserved.contains(core))
            m_reserved.append(core);
    }
}

bool ActPhoneNumbers::isReserved(const Number &number) const
{
    if (m_reserved.isEmpty())
        return false;
    const QString digits = number.areaCode + number.subscriber;
    for (const QString &core : m_reserved) {
        if (digits.contains(core))
            return true;
    }
    return false;
}

ActPhoneNumbers::Number ActPhoneNumbers::landline(const ActSampleData::City &city)
{
    Number number;
    number.countryCode = city.countryCode;
    number.areaCode = city.areaCode;
    for (int attempt = 0; attempt < MaxRetries; ++attempt) {
        number.subscriber = m_random.digits(m_random.between(city.subscriberMin, city.subscriberMax), true);
        if (!isReserved(number))
            break;
    }
    return number;
}

ActPhoneNumbers::Number ActPhoneNumbers::mobile(const ActSampleData::City &city)
{
    Number number;
    number.countryCode = city.countryCode;
    number.mobile = true;
    for (int attempt = 0; attempt < MaxRetries; ++attempt) {
        number.areaCode = m_random.pick(ActSampleData::instance().mobilePrefixes(city.countryCode));
        const int length = city.countryCode == 49 ? m_random.between(7, 8) : 7;
        number.subscriber = m_random.digits(length, true);
        if (!isReserved(number))
            break;
    }
    return number;
}

ActPhoneNumbers::Number ActPhoneNumbers::sibling(const Number &number)
{
    Number other = number;
    const qsizetype keep = std::max<qsizetype>(1, number.subscriber.size() - 2);
    for (int attempt = 0; attempt < MaxRetries; ++attempt) {
        other.subscriber = number.subscriber.left(keep) + m_random.digits(int(number.subscriber.size() - keep));
        if (other.subscriber != number.subscriber && !isReserved(other))
            break;
    }
    return other;
}

int ActPhoneNumbers::randomStyle(const Number &number)
{
    const int ticket = m_random.below(100);
    if (number.countryCode == 43) {
        // Austrian numbers in a German address book are mostly typed international.
        return ticket < 60 ? 10 : ticket < 70 ? 11 : ticket < 80 ? 12 : ticket < 90 ? 13 : 14;
    }
    if (number.countryCode == 41)
        return ticket < 50 ? 20 : ticket < 65 ? 21 : ticket < 75 ? 22 : 23;
    if (number.mobile)
        return ticket < 35 ? 3 : ticket < 65 ? 0 : ticket < 80 ? 2 : ticket < 95 ? 4 : 5;
    return ticket < 35 ? 0 : ticket < 45 ? 1 : ticket < 60 ? 2 : ticket < 75 ? 3 : ticket < 85 ? 4 : ticket < 90 ? 5 : 6;
}

QString ActPhoneNumbers::format(const Number &number, int style)
{
    const QString national = u'0' + number.areaCode;
    const QString cc = QString::number(number.countryCode);
    const QString &s = number.subscriber;
    switch (style) {
    case 1: {
        const qsizetype half = s.size() / 2;
        return u'(' + national + u") "_s + s.left(half) + u'-' + s.mid(half);
    }
    case 2:
    case 10:
        return u'+' + cc + u' ' + number.areaCode + u' ' + s;
    case 3:
    case 14:
        return national + u'/' + s;
    case 4:
        return national + u'-' + s;
    case 5:
    case 12:
        return u'+' + cc + u" (0)"_s + number.areaCode + u' ' + s;
    case 6:
        return national + u' ' + inPairs(s);
    case 11:
        return u"00"_s + cc + u' ' + number.areaCode + u' ' + s;
    case 20:
        return u'+' + cc + u' ' + number.areaCode + u' ' + swissGroups(s);
    case 21:
        return u'+' + cc + u' ' + number.areaCode + u' ' + s;
    case 22:
        return u"00"_s + cc + u' ' + number.areaCode + u' ' + swissGroups(s);
    case 23:
        return national + u' ' + swissGroups(s);
    case 0:
    case 13:
    default:
        return national + u' ' + s;
    }
}
