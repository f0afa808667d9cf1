#include "platform/actole/ActWahlDesktop.h"

#include "platform/actole/ActWahl.h"

ActWahlDesktop::ActWahlDesktop(ActWahl &wahl, Desktop &x11, Desktop &wine)
    : m_wahl(wahl)
    , m_x11(x11)
    , m_wine(wine)
{
}

Desktop &ActWahlDesktop::d()
{
    return m_wahl.unterWine() ? m_wine : m_x11;
}

QString ActWahlDesktop::Tippfehler() const
{
    return m_wahl.unterWine() ? m_wine.Tippfehler() : m_x11.Tippfehler();
}
