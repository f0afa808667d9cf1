#include "platform/dialogs/Dialogs.h"

using namespace Qt::StringLiterals;

QString Dialogs::defaultTitle()
{
    return u"Rufmon"_s;
}

Dialogs::Answer Dialogs::cancelAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}
