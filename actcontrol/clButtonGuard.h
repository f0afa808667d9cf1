#pragma once

#include "actcontrol/Tastenfolge.h"
#include "platform/desktop/Desktop.h"

#include <QString>

// One control of a foreign dialog — a button, say — described by its text
// and class and by the caption and class of the dialog around it: found,
// clicked, and typed into. Made for one task and dropped afterwards.
class clButtonGuard
{
public:
    explicit clButtonGuard(Desktop &desktop);

    // Free texts for the user of the guard; the guard does not use them.
    QString SendKey;
    QString Key;
    QString Tag;
    // What is searched for.
    QString ParentClass;
    QString ParentText;
    QString WindowClass;
    QString WindowText;

    // Searches the control afresh: true when it is there and the caption of
    // the window around it begins with `ParentText`.
    bool WindowExist();
    // Clicks the control when `WindowExist` finds it; returns at once.
    void MouseClick();
    // Brings the window captioned `WindowText` to the front and types the
    // keys into the window that has the focus. A fault in the keys ends the
    // typing there and is returned.
    Tastenfolge SendeTasten(const QString &Tasten);

    // "WindowText|WindowClass|ParentText|ParentClass": anything but four
    // items is refused and changes nothing.
    bool SetConfiguration(const QString &Konfiguration);
    QString GetConfiguration() const;

    // The control found by the last `WindowExist`; 0 when none.
    Fenster GefundenesFenster() const { return m_gefunden; }

private:
    Desktop &m_desktop;
    Fenster m_gefunden = 0;
};
