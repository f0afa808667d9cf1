#include "platform/telephony/KennwortHinweis.h"

using namespace Qt::StringLiterals;

QString KennwortHinweis(bool dauerhaft)
{
    return dauerhaft ? u"Das Kennwort wird im Schlüsselbund der Arbeitsumgebung gespeichert. Leer lassen, um das "
                       u"gespeicherte zu behalten."_s
                     : u"Kein Schlüsselbund verfügbar: Das Kennwort gilt nur bis zum Programmende und wird nach "
                       u"jedem Start einmal abgefragt."_s;
}
