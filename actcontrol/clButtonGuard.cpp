#include "actcontrol/clButtonGuard.h"

#include "actcontrol/modACTRunning.h"

#include <QStringList>

using namespace Qt::StringLiterals;

clButtonGuard::clButtonGuard(Desktop &desktop)
    : m_desktop(desktop)
{
}

bool clButtonGuard::WindowExist()
{
    Fenster fenster = m_desktop.Finde(WindowClass, WindowText);
    if (!fenster) {
        if (const Fenster dialog = modACTRunning::SucheFenster(m_desktop, ParentClass, ParentText))
            fenster = modACTRunning::SucheKindfenster(m_desktop, dialog, WindowClass, WindowText);
    }
    m_gefunden = fenster;
    if (!fenster)
        return false;
    const Fenster eltern = m_desktop.Elternfenster(fenster);
    if (!eltern)
        return ParentClass.isEmpty() && ParentText.isEmpty();
    // The search takes a dialog whose caption merely contains the text; it
    // only counts when the caption begins with it.
    return modACTRunning::Puffertext(m_desktop, eltern).toLower().startsWith(ParentText.toLower());
}

void clButtonGuard::MouseClick()
{
    if (WindowExist())
        m_desktop.Klick(m_gefunden);
}

Tastenfolge clButtonGuard::SendeTasten(const QString &Tasten)
{
    modACTRunning::AktiviereFenster(m_desktop, WindowText);
    return modACTRunning::Tippe(m_desktop, Tasten);
}

bool clButtonGuard::SetConfiguration(const QString &Konfiguration)
{
    const QStringList teile = Konfiguration.split(u'|');
    if (teile.size() != 4)
        return false;
    WindowText = teile[0];
    WindowClass = teile[1];
    ParentText = teile[2];
    ParentClass = teile[3];
    return true;
}

QString clButtonGuard::GetConfiguration() const
{
    return WindowText + u'|' + WindowClass + u'|' + ParentText + u'|' + ParentClass;
}
