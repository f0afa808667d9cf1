#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QObject>

#include <optional>

// A question that waits beside the program instead of stopping it: the user
// answers it, or the program closes it from outside with the answer that
// has come true meanwhile. Only the first answer counts; it arrives through
// Beantwortet, never inside the call that asked.
class Frage : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool Offen() const { return !m_antwort.has_value(); }
    std::optional<Dialogs::Answer> Antwort() const { return m_antwort; }
    // Closes the question as if `antwort` had been chosen.
    void Schliessen(Dialogs::Answer antwort);

signals:
    void Beantwortet(Dialogs::Answer antwort);

private:
    std::optional<Dialogs::Answer> m_antwort;
};
