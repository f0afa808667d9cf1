#include "platform/actole/ActWahl.h"

#include "platform/actole/ActDatenbankAdapter.h"
#include "platform/actole/ActWahlDesktop.h"
#include "platform/actole/WineAutomation.h"
#include "platform/actole/WineBruecke.h"
#include "platform/actole/WineDesktop.h"
#include "platform/actole/WineUmgebung.h"
#include "platform/dialogs/Dialogs.h"

#include <QProcessEnvironment>

using namespace Qt::StringLiterals;

ActWahl::ActWahl(SettingsStore &settings, Dialogs &dialogs, ActDatenbankAdapter &linux, Desktop &x11,
                 QObject *parent)
    : QObject(parent)
    , m_dialogs(dialogs)
    , m_linux(linux)
    , m_umgebung(std::make_unique<WineUmgebung>(settings))
    , m_x11(x11)
{
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(u"WINEPREFIX"_s, m_umgebung->Praefix());
    if (!umgebung.contains(u"WINEDEBUG"_s))
        umgebung.insert(u"WINEDEBUG"_s, u"-all"_s);
    m_bruecke = std::make_unique<WineBruecke>(m_umgebung->Wine(), QStringList{m_umgebung->Bruecke()}, umgebung);
    m_wineDesktop = std::make_unique<WineDesktop>(*m_bruecke);
    m_wine = std::make_unique<WineAutomation>(*m_bruecke, *m_wineDesktop, *m_umgebung, m_linux);
    m_desktop = std::make_unique<ActWahlDesktop>(*this, m_x11, *m_wineDesktop);
    connect(m_bruecke.get(), &WineBruecke::Ausgefallen, this, [this](const QString &meldung) {
        m_dialogs.MsgBox(meldung, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, Dialogs::defaultTitle());
    });
}

ActWahl::~ActWahl() = default;

Desktop &ActWahl::desktop()
{
    return *m_desktop;
}

bool ActWahl::pruefeWine()
{
    m_unterWine = m_umgebung->nutzbar() && !m_bruecke->aufgegeben()
                  && (m_wine->Hauptfenster(u"ACT"_s) || m_wine->Hauptfenster(u"Kundenmanager"_s));
    return m_unterWine;
}

bool ActWahl::Hauptfenster(const QString &titeltext)
{
    // The last look decides: an ACT! that has ended under Wine leaves the
    // dialogs to the X11 desktop again.
    m_unterWine = m_umgebung->nutzbar() && !m_bruecke->aufgegeben() && m_wine->Hauptfenster(titeltext);
    return m_unterWine || m_linux.Hauptfenster(titeltext);
}

std::shared_ptr<ActObjekt> ActWahl::ErstelleObjekt()
{
    return pruefeWine() ? m_wine->ErstelleObjekt() : m_linux.ErstelleObjekt();
}

bool ActWahl::NachVorne(const QString &titeltext)
{
    return pruefeWine() ? m_wine->NachVorne(titeltext) : m_linux.NachVorne(titeltext);
}
