#include "core/Anruf.h"

#include "core/modHaupt.h"
#include "platform/registry/RegionalSettings.h"

QString Anruf::Tag() const
{
    switch (ergebnis) {
    case Ergebnis::Erkannt:
        return IDInKlammern(kontaktId);
    case Ergebnis::Unbekannt:
        return QStringLiteral("Unbekannt");
    case Ergebnis::Gesucht:
        break;
    }
    return {};
}

QString Anruf::Datumstext() const
{
    if (!zeit.isValid())
        return {};
    if (zeit.time() == QTime(0, 0))
        return RegionalSettings::ShortDate(zeit.date());
    return RegionalSettings::DateTimeText(zeit);
}
