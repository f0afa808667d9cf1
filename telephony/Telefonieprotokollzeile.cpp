#include "telephony/Telefonieprotokollzeile.h"

#include "platform/registry/RegionalSettings.h"

using namespace Qt::StringLiterals;

QString Telefonieprotokollzeile(const QString &ereignis, const QString &werte, const QDateTime &zeitpunkt)
{
    QString einzeilig = werte;
    einzeilig.replace(u"\r\n"_s, u", "_s);
    // A driver's text with a bare line break must not split the line either.
    einzeilig.replace(u'\r', u", "_s);
    einzeilig.replace(u'\n', u", "_s);
    return u"\r\n"_s + RegionalSettings::ShortDate(zeitpunkt.date()) + u' '
        + RegionalSettings::LongTime(zeitpunkt.time()) + u" Event: "_s + ereignis + u" Values: "_s + einzeilig;
}
