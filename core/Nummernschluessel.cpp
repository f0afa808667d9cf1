#include "core/Nummernschluessel.h"

using namespace Qt::StringLiterals;

namespace {

struct Heimat
{
    const char16_t *locale;
    const char16_t *vorwahl;
};

// The countries whose area codes the phone database knows as national numbers.
constexpr Heimat Heimatlaender[] = {
    {u"00000407", u"49"}, // German (Germany)
    {u"00000c07", u"43"}, // German (Austria)
    {u"00000807", u"41"}, // German (Switzerland)
};

} // namespace

QString Nummernschluessel::Heimatvorwahl(const QString &locale)
{
    for (const Heimat &h : Heimatlaender) {
        if (locale.compare(QStringView(h.locale), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(h.vorwahl);
    }
    return {};
}

QString Nummernschluessel::schluessel(const QString &geschrieben, const QString &heimatvorwahl)
{
    // Where the number begins: the first digit or a "+" before one.
    qsizetype anfang = -1;
    for (qsizetype i = 0; i < geschrieben.size() && anfang < 0; ++i) {
        const QChar c = geschrieben[i];
        if (c.isDigit())
            anfang = i;
        else if (c == u'+' && i + 1 < geschrieben.size())
            anfang = i;
    }
    if (anfang < 0)
        return {};

    // Up to the first letter, as "Zentrale" or "oder 1234568" after it.
    QString teil;
    for (qsizetype i = anfang; i < geschrieben.size(); ++i) {
        const QChar c = geschrieben[i];
        if (c.isLetter())
            break;
        teil.append(c);
    }
    const bool plus = teil.startsWith(u'+');
    QString alle;
    for (const QChar c : teil) {
        if (c.isDigit() && c.unicode() < 0x80)
            alle.append(c);
    }
    const bool auslaendisch = plus || alle.startsWith(u"00"_s);
    QString ziffern;
    for (qsizetype i = 0; i < teil.size(); ++i) {
        // A written "(0)" after a country code: the trunk zero, not dialled from abroad.
        if (auslaendisch && teil.mid(i, 3) == u"(0)"_s && ziffern.size() > (plus ? 0 : 2)) {
            i += 2;
            continue;
        }
        if (teil[i].isDigit() && teil[i].unicode() < 0x80)
            ziffern.append(teil[i]);
    }
    if (ziffern.isEmpty())
        return {};

    QString international;
    if (plus)
        international = ziffern;
    else if (ziffern.startsWith(u"00"_s))
        international = ziffern.mid(2);
    else
        return ziffern;
    if (!heimatvorwahl.isEmpty() && international.startsWith(heimatvorwahl)) {
        QString national = international.mid(heimatvorwahl.size());
        // "+49 030 …": the trunk zero written twice is one.
        if (!national.startsWith(u'0'))
            national.prepend(u'0');
        return national;
    }
    return u"00"_s + international;
}
