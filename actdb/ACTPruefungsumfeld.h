#pragma once

#include "actdb/clACTFeld.h"

#include <QString>

#include <vector>

// What the periodic ACT! check asks of the rest of the program and what it
// tells it: whether ACT! runs and with which database, the ACT! state for the
// status bar, the phone fields found, and the number cache's turn.
class ACTPruefungsumfeld
{
public:
    virtual ~ACTPruefungsumfeld() = default;

    virtual bool ACTgestartet() = 0;
    virtual QString ACTDatenbank() = 0;

    // The ACT! state in words (also the progress of reading the definitions).
    virtual void setACTText(const QString &text) = 0;
    // Ready or not, as a picture.
    virtual void setACTBereit(bool bereit) = 0;
    // The database and, after a failure, why.
    virtual void setACTHinweis(const QString &text) = 0;
    // The check's own timer rests while it runs.
    virtual void setPruefungAktiv(bool aktiv) = 0;
    // The phone-field list rebuilt from the contact fields.
    virtual void TelefonfelderSetzen(const std::vector<clACTFeld> &felder, const QString &ausschluss) = 0;
    // The database is ready for the first time: the number cache's step.
    virtual void CacheSchritt() = 0;
};
