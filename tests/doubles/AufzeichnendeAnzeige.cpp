#include "AufzeichnendeAnzeige.h"

#include <QCoreApplication>

void AufzeichnendeAnzeige::NummernCacheAbschalten()
{
    cacheAbgeschaltet = true;
    gesetzt.remove(Menuepunkt::mnuNummernCache);
}

void AufzeichnendeAnzeige::atmen()
{
    QCoreApplication::processEvents();
    if (beimAtmen)
        beimAtmen();
}

void AufzeichnendeAnzeige::setMenueGesetzt(Menuepunkt punkt, bool an)
{
    if (an)
        gesetzt.insert(punkt);
    else
        gesetzt.remove(punkt);
}
