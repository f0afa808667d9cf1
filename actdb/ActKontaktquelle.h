#pragma once

#include "core/Kontaktquelle.h"

class ActZugang;
class Clipboard;
class Dialogs;
class modOptionen;

// ACT!'s contact table as a contact source: each search opens the table's
// folder through the dBASE driver for itself, so that two searches never
// share or close each other's access.
class ActKontaktquelle : public Kontaktquelle
{
public:
    ActKontaktquelle(Dialogs &dialogs, Clipboard &clipboard, const modOptionen &optionen, const ActZugang &zugang);

    Oeffnung oeffnen() override;
    QString Suchmeldung() const override;
    // The contact table's rows, read through an access of their own.
    std::unique_ptr<Kontaktbestand> bestand(const QStringList &telefonfelder) override;

private:
    Dialogs &m_dialogs;
    Clipboard &m_clipboard;
    const modOptionen &m_optionen;
    const ActZugang &m_zugang;
};
