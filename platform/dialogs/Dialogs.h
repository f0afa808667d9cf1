#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Frage;

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
    // The same box without waiting for it: the program goes on while it is
    // shown, and the answer comes through the handle, which can also close
    // the box from outside. Dropping the handle closes the box unanswered.
    virtual std::unique_ptr<Frage> FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                                const QString &title) = 0;
    // The text the user entered; nothing when the box was cancelled.
    virtual std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // A password, typed without being shown; nothing when the box was cancelled.
    virtual std::optional<QString> PasswordBox(const QString &prompt, const QString &title) = 0;
    // A file to open; empty when the user chose none.
    virtual QString GetOpenFileName(const QString &title, const QString &directory,
                                    const QString &filter) = 0;
    // Where to save a file, starting from `vorschlag` (folder and name); empty
    // when the user chose none. A name typed without an ending gets the one
    // of the filter chosen.
    virtual QString GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter) = 0;

    static QString defaultTitle();
    // What a box answers when it is closed without a choice (Escape, the close box).
    static Answer cancelAnswer(Buttons buttons);

protected:
    // A question that needs nobody: it answers itself on the next turn of
    // the event loop, after the caller has connected to it.
    static std::unique_ptr<Frage> sofortBeantwortet(Answer antwort);
};
