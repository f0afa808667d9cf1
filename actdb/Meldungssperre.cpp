#include "actdb/Meldungssperre.h"

Meldungssperre::Meldungssperre(Dialogs &ziel)
    : m_ziel(ziel)
{
}

Dialogs::Answer Meldungssperre::MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                                       bool systemModal)
{
    m_letzte = text;
    if (m_gezeigt.contains(text)) {
        // Held back: the answer a user gives to a box they have seen already.
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
            return Answer::No;
        }
    }
    m_gezeigt.insert(text);
    return m_ziel.MsgBox(text, buttons, icon, title, systemModal);
}

std::optional<QString> Meldungssperre::InputBox(const QString &prompt, const QString &title,
                                                const QString &defaultText)
{
    return m_ziel.InputBox(prompt, title, defaultText);
}

QString Meldungssperre::GetOpenFileName(const QString &title, const QString &directory, const QString &filter)
{
    return m_ziel.GetOpenFileName(title, directory, filter);
}

void Meldungssperre::freigeben()
{
    m_gezeigt.clear();
    m_letzte.clear();
}
