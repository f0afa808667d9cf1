#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class ActAutomation;
class ActObjekt;
class ActView;
class ActViews;
class Dialogs;

// The program's only way of talking to the running ACT!: whether it runs,
// which database it has open, which contact is shown, moving it to a contact
// and running its commands. Every operation connects afresh and lets go at
// its end.
class clACTApplication
{
public:
    // `beenden` ends the program through its exit sequence.
    clACTApplication(ActAutomation &automation, Dialogs &dialogs, std::function<void()> beenden);

    void init() {}
    void kill() {}
    bool ACTgestartet();
    QString ACTDatenbank();
    QString AktuelleKontaktID();
    std::int32_t AktuelleFeldID();
    bool setFeldwert(const QString &Feldtyp, std::int32_t FeldID, const QString &Wert);
    QString getFeldwert(const QString &Feldtyp, std::int32_t FeldID);
    void gehezuKonatkt(const QString &KontaktID);
    QString ACTVersion();
    std::int32_t aktuellerViewTyp();
    std::int32_t ExecuteCommand(std::int32_t Befehl);
    void Zeigen();

private:
    std::shared_ptr<ActObjekt> verbindeAnwendung();
    std::shared_ptr<ActViews> verbindeAnsichten();
    // The active view, or a new one of that type (1 contacts, 3 groups);
    // asks the user while ACT! does not answer.
    std::shared_ptr<ActView> verbindeAnsicht(int neuerTyp);
    std::shared_ptr<ActView> feldAnsicht(const QString &Feldtyp);

    ActAutomation &m_automation;
    Dialogs &m_dialogs;
    std::function<void()> m_beenden;
};
