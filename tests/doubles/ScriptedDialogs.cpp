#include "ScriptedDialogs.h"

#include "platform/dialogs/Frage.h"

using namespace Qt::StringLiterals;

Dialogs::Answer ScriptedDialogs::MsgBox(const QString &text, Buttons buttons, Icon icon,
                                        const QString &title, bool systemModal)
{
    m_boxes.append({u"MsgBox"_s, title, text, icon, buttons, QString(), systemModal});
    if (beimZeigen)
        beimZeigen();
    // A notice with only "OK" needs no answer.
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    ++m_unanswered;
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::unique_ptr<Frage> ScriptedDialogs::FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                                     const QString &title)
{
    m_boxes.append({u"Frage"_s, title, text, icon, buttons, QString(), false});
    if (beimZeigen)
        beimZeigen();
    if (buttons == Buttons::Ok)
        return sofortBeantwortet(Answer::Ok);
    if (!m_answers.isEmpty())
        return sofortBeantwortet(m_answers.dequeue());
    auto frage = std::make_unique<Frage>();
    m_fragen.append(frage.get());
    return frage;
}

QList<Frage *> ScriptedDialogs::offeneFragen() const
{
    QList<Frage *> offen;
    for (const QPointer<Frage> &f : m_fragen) {
        if (f && f->Offen())
            offen.append(f);
    }
    return offen;
}

std::optional<QString> ScriptedDialogs::InputBox(const QString &prompt, const QString &title,
                                                 const QString &defaultText)
{
    m_boxes.append({u"InputBox"_s, title, prompt, Icon::None, Buttons::OkCancel, defaultText, false});
    if (!m_inputs.isEmpty())
        return m_inputs.dequeue();
    ++m_unanswered;
    return std::nullopt;
}

std::optional<QString> ScriptedDialogs::PasswordBox(const QString &prompt, const QString &title)
{
    m_boxes.append({u"PasswordBox"_s, title, prompt, Icon::None, Buttons::OkCancel, QString(), false});
    if (!m_inputs.isEmpty())
        return m_inputs.dequeue();
    ++m_unanswered;
    return std::nullopt;
}

QString ScriptedDialogs::GetOpenFileName(const QString &title, const QString &directory,
                                         const QString &)
{
    m_boxes.append({u"GetOpenFileName"_s, title, directory, Icon::None, Buttons::OkCancel, QString(), false});
    if (!m_files.isEmpty())
        return m_files.dequeue();
    ++m_unanswered;
    return QString();
}

QString ScriptedDialogs::GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter)
{
    m_boxes.append({u"GetSaveFileName"_s, title, filter, Icon::None, Buttons::OkCancel, vorschlag, false});
    if (!m_files.isEmpty())
        return m_files.dequeue();
    ++m_unanswered;
    return QString();
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_inputs.clear();
    m_files.clear();
    m_boxes.clear();
    m_fragen.clear();
    m_unanswered = 0;
    beimZeigen = nullptr;
}
