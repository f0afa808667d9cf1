#pragma once

#include "core/Menuepunkt.h"

#include <QString>
#include <QStringList>

// The main window as the telephony subsystem sees it: the telephony panel of
// the status bar, the activation button, the device and address boxes, the
// menu items it labels, and the window's caption.
class Leitungsfenster
{
public:
    virtual ~Leitungsfenster() = default;

    // Status bar panel 1. A picture is an index into the window's icon list.
    virtual QString TelefonText() const = 0;
    virtual void setTelefonText(const QString &text) = 0;
    virtual void setTelefonToolTip(const QString &text) = 0;
    virtual void setTelefonBild(int index) = 0;

    // The activation button cmdInitTapi.
    virtual void setKnopfBild(const QString &key) = 0;
    virtual void setKnopfToolTip(const QString &text) = 0;

    // The device box cbxTapiDevices.
    virtual void setGeraete(const QStringList &namen) = 0;
    virtual void setGeraetAuswahl(int index) = 0;
    virtual QString GeraetText() const = 0;
    virtual void setGeraeteAktiv(bool aktiv) = 0;
    // The address box cbxAddress: filled and its first entry selected.
    virtual void setAdressen(const QStringList &namen) = 0;
    // The line under the device box that says how to set up a line; empty: none.
    virtual void setLeitungshinweis(const QString &text) = 0;

    virtual void setTitel(const QString &titel) = 0;
    virtual void setMenueText(Menuepunkt punkt, const QString &text) = 0;
    virtual void setLbIDText(const QString &text) = 0;
};
