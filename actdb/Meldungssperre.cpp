#include "actdb/Meldungssperre.h"

#include "platform/dialogs/Frage.h"

Meldungssperre::Meldungssperre(Dialogs &ziel)
    : m_ziel(ziel)
{
}

Dialogs::Answer Meldungssperre::MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                                       bool systemModal)
{
    m_letzte = text;
    // Held back: answered as a box closed without a choice.
    if (m_gezeigt.contains(text))
        return cancelAnswer(buttons);
    m_gezeigt.insert(text);
    return m_ziel.MsgBox(text, buttons, icon, title, systemModal);
}

std::unique_ptr<Frage> Meldungssperre::FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                                    const QString &title)
{
    // Passed on every time: a question that waits is no failure told again.
    return m_ziel.FrageStellen(text, buttons, icon, title);
}

std::optional<QString> Meldungssperre::InputBox(const QString &prompt, const QString &title,
                                                const QString &defaultText)
{
    return m_ziel.InputBox(prompt, title, defaultText);
}

std::optional<QString> Meldungssperre::PasswordBox(const QString &prompt, const QString &title)
{
    return m_ziel.PasswordBox(prompt, title);
}

QString Meldungssperre::GetOpenFileName(const QString &title, const QString &directory, const QString &filter)
{
    return m_ziel.GetOpenFileName(title, directory, filter);
}

QString Meldungssperre::GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter)
{
    return m_ziel.GetSaveFileName(title, vorschlag, filter);
}

void Meldungssperre::freigeben()
{
    m_gezeigt.clear();
    m_letzte.clear();
}
