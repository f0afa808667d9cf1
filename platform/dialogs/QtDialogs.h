#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QPointer>
#include <QWidget>

// The boxes as Qt shows them, centred over the given parent window.
class QtDialogs : public Dialogs
{
public:
    void setParentWindow(QWidget *parent);

    Answer MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                  bool systemModal = false) override;
    std::optional<QString> InputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString GetOpenFileName(const QString &title, const QString &directory,
                            const QString &filter) override;

private:
    QPointer<QWidget> m_parent;
};
