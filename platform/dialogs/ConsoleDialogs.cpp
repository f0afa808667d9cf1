#include "platform/dialogs/ConsoleDialogs.h"

#include "platform/dialogs/Frage.h"

using namespace Qt::StringLiterals;

ConsoleDialogs::ConsoleDialogs(std::FILE *out)
    : m_out(out)
{
}

Dialogs::Answer ConsoleDialogs::MsgBox(const QString &text, Buttons buttons, Icon, const QString &title, bool)
{
    QString zeilen = text;
    zeilen.replace(u"\r\n"_s, u"\n"_s);
    std::fprintf(m_out, "%s: %s\n", title.toUtf8().constData(), zeilen.toUtf8().constData());
    std::fflush(m_out);
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    default: return Answer::Cancel;
    }
}

std::unique_ptr<Frage> ConsoleDialogs::FrageStellen(const QString &text, Buttons buttons, Icon icon,
                                                    const QString &title)
{
    // Told like a box, and answered as nobody is there to answer.
    return sofortBeantwortet(MsgBox(text, buttons, icon, title));
}

std::optional<QString> ConsoleDialogs::InputBox(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

std::optional<QString> ConsoleDialogs::PasswordBox(const QString &, const QString &)
{
    return std::nullopt;
}

QString ConsoleDialogs::GetOpenFileName(const QString &, const QString &, const QString &)
{
    return QString();
}

QString ConsoleDialogs::GetSaveFileName(const QString &, const QString &, const QString &)
{
    return QString();
}
