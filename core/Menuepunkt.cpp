#include "core/Menuepunkt.h"

QString Objektname(Menuepunkt punkt)
{
    switch (punkt) {
#define RUFMON_MENUEPUNKT_NAME(name)                                                                                   \
    case Menuepunkt::name:                                                                                             \
        return QStringLiteral(#name);
        RUFMON_MENUEPUNKTE(RUFMON_MENUEPUNKT_NAME)
#undef RUFMON_MENUEPUNKT_NAME
    }
    return {};
}
