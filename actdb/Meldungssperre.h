#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QSet>

// Passes boxes on to the user, except a message box whose text was shown
// already: a failure that repeats on every tick of a timer is shown once.
// `freigeben` (after a success) lets every text show again.
class Meldungssperre : public Dialogs
{
public:
    explicit Meldungssperre(Dialogs &ziel);

    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override;
    std::unique_ptr<Frage> FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                        const QString &title) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    std::optional<QString> PasswordBox(const QString &prompt, const QString &title) override;
    QString GetOpenFileName(const QString &title, const QString &directory, const QString &filter) override;
    QString GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter) override;

    // The text of the last message box asked for, shown or held back.
    const QString &letzteMeldung() const { return m_letzte; }
    void freigeben();

private:
    Dialogs &m_ziel;
    QSet<QString> m_gezeigt;
    QString m_letzte;
};
