#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Message and input boxes. Every box the program shows goes through here, so
// that tests answer them instead of a user.
class Dialogs
{
public:
    enum class Icon { None, Information, Exclamation, Question, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                          bool systemModal = false) = 0;
    // The text the user entered; nothing when the box was cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // A password, typed without being shown; nothing when the box was cancelled.
    virtual std::optional<QString> PasswordBox(const QString &prompt, const QString &title) = 0;
    // A file to open; empty when the user chose none.
    virtual QString GetOpenFileName(const QString &title, const QString &directory,
                                    const QString &filter) = 0;

    static QString defaultTitle();
    // What a box answers when it is closed without a choice (Escape, the close box).
    static Answer cancelAnswer(Buttons buttons);
};
