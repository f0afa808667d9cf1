#pragma once

#include "platform/dialogs/Dialogs.h"

#include <cstdio>

// Boxes for the program's command-line work, where no window is shown: the
// text goes to standard error and every question gets its escape answer.
class ConsoleDialogs : public Dialogs
{
public:
    explicit ConsoleDialogs(std::FILE *out = stderr);

    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override;
    std::unique_ptr<Frage> FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                        const QString &title) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    std::optional<QString> PasswordBox(const QString &prompt, const QString &title) override;
    QString GetOpenFileName(const QString &title, const QString &directory,
                            const QString &filter) override;
    QString GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter) override;

private:
    std::FILE *m_out;
};
