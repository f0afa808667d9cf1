#pragma once

#include "telephony/Nummernaufbereitung.h"

class Dialogs;
class Leitungsfenster;
class modOptionen;

// The menu commands that set how caller numbers are cleaned: the number
// filter, the prefix to add or remove and its text, the plus-and-bracket
// filter. The check marks live in the menus; texts are saved at once.
class Nummernbefehle
{
public:
    Nummernbefehle(Leitungsfenster &fenster, Dialogs &dialogs, modOptionen &optionen, QString &filtertext);

    void mnuNummernfilter();
    // `warGesetzt`: the item's check mark before the user chose it.
    void mnuTapiNull(bool warGesetzt);
    void mnuTAPINullEntfernen(bool warGesetzt);
    void mnuTapiNullAendern();
    // The settings the identification cleans a number with, as they stand now.
    Nummernaufbereitung::Einstellungen Einstellungen() const;

private:
    Leitungsfenster &m_fenster;
    Dialogs &m_dialogs;
    modOptionen &m_optionen;
    QString &m_filtertext;
};
