#include "core/Anruf.h"

#include "core/modHaupt.h"

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
