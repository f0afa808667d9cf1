#include "actcontrol/clACTApplication.h"

#include "platform/actole/ActAutomation.h"
#include "platform/dialogs/Dialogs.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;

void atmen()
{
    QCoreApplication::processEvents();
}

} // namespace

clACTApplication::clACTApplication(ActAutomation &automation, Dialogs &dialogs, std::function<void()> beenden)
    : m_automation(automation)
    , m_dialogs(dialogs)
    , m_beenden(std::move(beenden))
{
}

bool clACTApplication::ACTgestartet()
{
    return m_automation.Hauptfenster(u"Kundenmanager"_s) || m_automation.Hauptfenster(u"ACT"_s);
}

std::shared_ptr<ActObjekt> clACTApplication::verbindeAnwendung()
{
    if (!ACTgestartet())
        return nullptr;
    auto objekt = m_automation.ErstelleObjekt();
    atmen();
    return objekt;
}

std::shared_ptr<ActViews> clACTApplication::verbindeAnsichten()
{
    auto anwendung = verbindeAnwendung();
    return anwendung ? anwendung->Views() : nullptr;
}

std::shared_ptr<ActView> clACTApplication::verbindeAnsicht(int neuerTyp)
{
    auto ansichten = verbindeAnsichten();
    if (!ansichten)
        return nullptr;
    for (;;) {
        atmen();
        auto ansicht = neuerTyp == 0 ? ansichten->GetActive()
                                     : ansichten->Create(static_cast<std::int16_t>(neuerTyp), 2);
        atmen();
        if (ansicht)
            return ansicht;
        const auto antwort = m_dialogs.MsgBox(u"Eine OLE-Verbindung zu Act! ist nicht möglich."_s + CRLF
                                                  + u"Bitte schließen Sie alle geöffneten Hinweisfenster in ACT!"_s
                                                  + CRLF + u"Weiter versuchen ?"_s,
                                              Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation,
                                              Dialogs::defaultTitle());
        if (antwort != Dialogs::Answer::Yes)
            return nullptr;
    }
}

QString clACTApplication::ACTDatenbank()
{
    auto anwendung = verbindeAnwendung();
    if (!anwendung)
        return QString();
    try {
        return anwendung->GetOpenDBName();
    } catch (const ActFehler &e) {
        m_dialogs.MsgBox(u"Fehler #"_s + QString::number(e.nummer) + u" bei ACT!-Application OLE"_s + CRLF
                             + e.beschreibung,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
        // The program ends here, but through its exit sequence, so that no
        // option and no stored call is lost.
        if (m_beenden)
            m_beenden();
        return QString();
    }
}

QString clACTApplication::AktuelleKontaktID()
{
    auto ansicht = verbindeAnsicht(0);
    if (!ansicht || ansicht->Type() != 1)
        return QString();
    return ansicht->GetCurrentID();
}

std::int32_t clACTApplication::AktuelleFeldID()
{
    auto ansicht = verbindeAnsicht(0);
    return ansicht ? ansicht->currentfieldid() : 0;
}

std::int32_t clACTApplication::aktuellerViewTyp()
{
    auto ansicht = verbindeAnsicht(0);
    return ansicht ? ansicht->Type() : -1;
}

std::shared_ptr<ActView> clACTApplication::feldAnsicht(const QString &Feldtyp)
{
    const QString typ = Feldtyp.toLower();
    int ansichtTyp = 1;
    if (typ == u"gruppe"_s || typ == u"gruppen"_s || typ == u"group"_s || typ == u"groups"_s) {
        ansichtTyp = 3;
    } else if (typ != u"kontakt"_s && typ != u"contact"_s) {
        m_dialogs.MsgBox(u"Falsche Feldtyp-Bezeichnung ("_s + Feldtyp + u"). Es wird Kontakt benutzt."_s,
                         Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
    }
    return verbindeAnsicht(ansichtTyp);
}

bool clACTApplication::setFeldwert(const QString &Feldtyp, std::int32_t FeldID, const QString &Wert)
{
    auto ansicht = feldAnsicht(Feldtyp);
    return ansicht && ansicht->setfield(FeldID, Wert);
}

QString clACTApplication::getFeldwert(const QString &Feldtyp, std::int32_t FeldID)
{
    auto ansicht = feldAnsicht(Feldtyp);
    return ansicht ? ansicht->getfield(FeldID) : QString();
}

void clACTApplication::gehezuKonatkt(const QString &KontaktID)
{
    auto ansicht = verbindeAnsicht(1);
    if (!ansicht)
        return;
    QString id = KontaktID;
    if (id.size() < 12)
        id += QString(12 - id.size(), u' ');
    ansicht->lookupall();
    ansicht->GoTo(id);
}

QString clACTApplication::ACTVersion()
{
    auto anwendung = verbindeAnwendung();
    return anwendung ? anwendung->GetVersion(1) : QString();
}

std::int32_t clACTApplication::ExecuteCommand(std::int32_t Befehl)
{
    auto anwendung = verbindeAnwendung();
    return anwendung ? anwendung->Command(Befehl) : 0;
}

void clACTApplication::Zeigen()
{
    auto anwendung = verbindeAnwendung();
    if (!anwendung)
        return;
    anwendung->Show(true);
    if (!m_automation.NachVorne(u"ACT"_s))
        m_automation.NachVorne(u"Kundenmanager"_s);
}
