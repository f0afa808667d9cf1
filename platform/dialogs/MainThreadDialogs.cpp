#include "platform/dialogs/MainThreadDialogs.h"

#include "platform/dialogs/Frage.h"

#include <QThread>

MainThreadDialogs::MainThreadDialogs(Dialogs &dialogs, Postfach &postfach)
    : m_dialogs(dialogs)
    , m_postfach(postfach)
{
}

MainThreadDialogs::~MainThreadDialogs() = default;

bool MainThreadDialogs::hier() const
{
    return QThread::currentThread() == m_kontext.thread();
}

template<typename Ergebnis, typename Aufruf> Ergebnis MainThreadDialogs::dort(Aufruf aufruf)
{
    if (hier())
        return aufruf();
    Ergebnis ergebnis{};
    QMetaObject::invokeMethod(&m_kontext, [&] { ergebnis = aufruf(); }, Qt::BlockingQueuedConnection);
    return ergebnis;
}

Dialogs::Answer MainThreadDialogs::MsgBox(const QString &text, Buttons buttons, Icon icon, const QString &title,
                                          bool systemModal)
{
    if (!hier() && buttons == Buttons::Ok) {
        m_postfach.einwerfen(
            [this, text, icon, title, systemModal] { m_dialogs.MsgBox(text, Buttons::Ok, icon, title, systemModal); });
        return Answer::Ok;
    }
    return dort<Answer>([&] { return m_dialogs.MsgBox(text, buttons, icon, title, systemModal); });
}

std::unique_ptr<Frage> MainThreadDialogs::FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                                       const QString &title)
{
    return dort<std::unique_ptr<Frage>>([&] { return m_dialogs.FrageStellen(text, buttons, icon, title); });
}

std::optional<QString> MainThreadDialogs::InputBox(const QString &prompt, const QString &title,
                                                   const QString &defaultText)
{
    return dort<std::optional<QString>>([&] { return m_dialogs.InputBox(prompt, title, defaultText); });
}

std::optional<QString> MainThreadDialogs::PasswordBox(const QString &prompt, const QString &title)
{
    return dort<std::optional<QString>>([&] { return m_dialogs.PasswordBox(prompt, title); });
}

QString MainThreadDialogs::GetOpenFileName(const QString &title, const QString &directory, const QString &filter)
{
    return dort<QString>([&] { return m_dialogs.GetOpenFileName(title, directory, filter); });
}

QString MainThreadDialogs::GetSaveFileName(const QString &title, const QString &vorschlag, const QString &filter)
{
    return dort<QString>([&] { return m_dialogs.GetSaveFileName(title, vorschlag, filter); });
}
