#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QList>
#include <QPointer>
#include <QQueue>

#include <functional>
#include <optional>

// Answers every box from a queue instead of a user and records each box it
// was asked to show. A notice with only "OK" is answered by itself; a
// question without a queued answer gets its escape answer (No or Cancel) and
// is counted as unanswered. A question that does not wait (FrageStellen)
// takes a queued answer on the next turn of the event loop; without one it
// stays open, for the program to close or the test to answer.
class ScriptedDialogs : public Dialogs
{
public:
    struct Box
    {
        QString kind; // "MsgBox", "Frage", "InputBox", "PasswordBox", "GetOpenFileName", "GetSaveFileName"
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        QString defaultText;
        bool systemModal = false;
    };

    void answer(Answer a) { m_answers.enqueue(a); }
    void answerInput(std::optional<QString> text) { m_inputs.enqueue(text); }
    void answerFile(const QString &path) { m_files.enqueue(path); }

    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override;
    std::unique_ptr<Frage> FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                        const QString &title) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    std::optional<QString> PasswordBox(const QString &prompt, const QString &title) override;
    QString GetOpenFileName(const QString &title, const QString &directory,
                            const QString &filter) override;
    // Recorded with the suggestion as its default text and the filter as its text.
    QString GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter) override;

    const QList<Box> &boxes() const { return m_boxes; }
    int unanswered() const { return m_unanswered; }
    // The questions shown that nobody has answered yet, oldest first.
    QList<Frage *> offeneFragen() const;
    void clear();

    // Runs as a message box shows, to look at the world at that moment.
    std::function<void()> beimZeigen;

private:
    QQueue<Answer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<QString> m_files;
    QList<Box> m_boxes;
    QList<QPointer<Frage>> m_fragen;
    int m_unanswered = 0;
};
