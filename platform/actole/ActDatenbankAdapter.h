#pragma once

#include "platform/actole/ActAutomation.h"

class Kontaktanzeige;
class SettingsStore;

// ACT! on Linux: the program cannot run, but its database files can be read
// wherever they lie. "ACT! runs with database X open" when the setting
// [ACT] Datenbank names an existing contact table; its contact view is the
// program's own contact card. Nothing is ever written: field writes are
// refused and commands answer 0.
class ActDatenbankAdapter : public ActAutomation
{
public:
    ActDatenbankAdapter(SettingsStore &settings, Kontaktanzeige &anzeige);

    static QString Abschnitt();
    static QString Schluessel();
    // The contact table named in the settings, found as Windows would find it;
    // empty when there is none.
    QString Datenbank() const;

    bool Hauptfenster(const QString &titeltext) override;
    std::shared_ptr<ActObjekt> ErstelleObjekt() override;
    bool NachVorne(const QString &titeltext) override;

private:
    SettingsStore &m_settings;
    Kontaktanzeige &m_anzeige;
};
