#pragma once

#include "platform/dialogs/Dialogs.h"
#include "platform/system/Postfach.h"

#include <QObject>

// The boxes of work that runs on another thread, shown on the thread that
// made this object (the GUI thread). A plain message with only "OK" does
// not hold the work up: it goes through `postfach`, in its turn among the
// work's other answers, and the work goes on; a box that asks waits for its
// answer.
class MainThreadDialogs : public Dialogs
{
public:
    MainThreadDialogs(Dialogs &dialogs, Postfach &postfach);
    ~MainThreadDialogs() override;

    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override;
    std::unique_ptr<Frage> FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                        const QString &title) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    std::optional<QString> PasswordBox(const QString &prompt, const QString &title) override;
    QString GetOpenFileName(const QString &title, const QString &directory, const QString &filter) override;
    QString GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter) override;

private:
    bool hier() const;
    template<typename Ergebnis, typename Aufruf> Ergebnis dort(Aufruf aufruf);

    Dialogs &m_dialogs;
    QObject m_kontext; // lives on the thread that shows the boxes
    Postfach &m_postfach;
};
