#pragma once

#include "platform/dialogs/Dialogs.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class QMessageBox;

// The boxes as Qt shows them, centred over the given parent window.
class QtDialogs : public Dialogs
{
public:
    void setParentWindow(QWidget *parent);
    // The program is ending: every open box and dialog closes with its cancel
    // answer, and a box asked for from now on answers that at once.
    void beenden();

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
    static void richteEin(QMessageBox &box, const QString &text, Buttons buttons, Icon icon, const QString &title);
    static Answer antwort(const QMessageBox &box, Buttons buttons);

    QPointer<QWidget> m_parent;
    QList<QPointer<QMessageBox>> m_fragen;
    bool m_beenden = false;
};
