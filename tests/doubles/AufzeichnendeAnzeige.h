#pragma once

#include "core/Optionsschalter.h"
#include "telephony/Auswertungsanzeige.h"
#include "telephony/Leitungsfenster.h"
#include "telephony/Telefonieprotokoll.h"

#include <QSet>
#include <QStringList>

// The window as the identification, the line control and the call events
// see it, without a window: every message, the states the identification
// switched. A failed number cache is switched off in `schalter`, as the
// window does.
class AufzeichnendeAnzeige : public Auswertungsanzeige, public Leitungsfenster, public Telefonieprotokoll
{
public:
    QStringList meldungen;
    QList<bool> anrufeWartend; // as told at each call's start
    Optionsschalter *schalter = nullptr;
    int wartecursor = 0;
    int nachVorneGeholt = 0;
    bool knopfAktiv = true;
    bool pruefungAktiv = true;
    bool cacheAbgeschaltet = false;
    int neueAnrufe = 0;
    QString suchdauer;
    QString telefontext;

    // The identification's side.
    void setMeldung(const QString &text) override { meldungen << text; }
    void setWartecursor(bool an) override { wartecursor += an ? 1 : (wartecursor > 0 ? -1 : 0); }
    void nachVorne() override { ++nachVorneGeholt; }
    void setMonitorKnopfAktiv(bool aktiv) override { knopfAktiv = aktiv; }
    void setACTPruefungAktiv(bool aktiv) override { pruefungAktiv = aktiv; }
    void zeigeNeuenAnruf() override { ++neueAnrufe; }
    QString Suchdauer() const override { return suchdauer; }
    void setSuchdauer(const QString &text) override { suchdauer = text; }
    void setCacheMeldung(const QString &) override {}
    void NummernCacheAbschalten() override
    {
        cacheAbgeschaltet = true;
        if (schalter)
            schalter->setzen(Optionsschalter::Schalter::NummernCache, false);
    }
    void setAnrufeWartend(bool wartend) override { anrufeWartend << wartend; }

    // The line's side: only what the call events write.
    QString TelefonText() const override { return telefontext; }
    void setTelefonText(const QString &text) override { telefontext = text; }
    void setTelefonToolTip(const QString &) override {}
    void setTelefonBild(int) override {}
    void setKnopfBild(const QString &) override {}
    void setKnopfToolTip(const QString &) override {}
    void setGeraete(const QStringList &) override {}
    void setGeraetAuswahl(int) override {}
    QString GeraetText() const override { return {}; }
    void setGeraeteAktiv(bool) override {}
    void setAdressen(const QStringList &) override {}
    void setLeitungshinweis(const QString &) override {}
    void setTitel(const QString &) override {}
    void setMenueText(Menuepunkt, const QString &) override {}
    void setLbIDText(const QString &) override {}

    bool Protokolliert() const override { return false; }
    void PrintProtokoll(const QString &, const QString &) override {}
};
