#pragma once

#include "telephony/Nummernaufbereitung.h"

class Dialogs;
class Leitungsfenster;
class Optionsschalter;
class modOptionen;

// The menu commands that set how caller numbers are cleaned: the number
// filter, the prefix to add or remove and its text, the plus-and-bracket
// filter. The prefix's two options exclude each other; texts are saved at
// once. The number filter is read from the options when it is made.
class Nummernbefehle
{
public:
    Nummernbefehle(Leitungsfenster &fenster, Dialogs &dialogs, modOptionen &optionen, Optionsschalter &schalter);

    void mnuNummernfilter();
    // `warGesetzt`: the option before the user chose the item.
    void mnuTapiNull(bool warGesetzt);
    void mnuTAPINullEntfernen(bool warGesetzt);
    void mnuTapiNullAendern();
    // The numbers the program does not react to, as the user wrote them.
    const QString &Filtertext() const { return m_filtertext; }
    void setFiltertext(const QString &text) { m_filtertext = text; }
    // The settings the identification cleans a number with, as they stand now.
    Nummernaufbereitung::Einstellungen Einstellungen() const;

private:
    Leitungsfenster &m_fenster;
    Dialogs &m_dialogs;
    modOptionen &m_optionen;
    Optionsschalter &m_schalter;
    QString m_filtertext;
};
