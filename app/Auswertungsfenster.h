#pragma once

#include "telephony/Auswertungsanzeige.h"

class frmHaupt;

// The main window as the caller identification sees it.
class Auswertungsfenster : public Auswertungsanzeige
{
public:
    explicit Auswertungsfenster(frmHaupt &fenster);

    void setMeldung(const QString &text) override;
    void setWartecursor(bool an) override;
    void nachVorne() override;
    void setMonitorKnopfAktiv(bool aktiv) override;
    void setACTPruefungAktiv(bool aktiv) override;
    void zeigeNeuenAnruf() override;
    QString Suchdauer() const override;
    void setSuchdauer(const QString &text) override;
    void setCacheMeldung(const QString &text) override;
    void NummernCacheAbschalten() override;
    void setAnrufeWartend(bool wartend) override;

private:
    frmHaupt &m_fenster;
};
