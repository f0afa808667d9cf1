#pragma once

#include <QString>

// Where the ACT! adapter shows a contact: a window of the program's own that
// shows the contact with every filled field under its label, read-only.
class Kontaktanzeige
{
public:
    virtual ~Kontaktanzeige() = default;
    // Shows the contact of the database; false when there is no such contact.
    virtual bool zeige(const QString &datenbank, const QString &id) = 0;
    // The id of the contact shown; empty when none.
    virtual QString aktuelleID() const = 0;
    virtual void sichtbar() = 0;
    virtual void nachVorne() = 0;
};
