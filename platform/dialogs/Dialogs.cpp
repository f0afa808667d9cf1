#include "platform/dialogs/Dialogs.h"

#include "platform/dialogs/Frage.h"

#include <QPointer>

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

std::unique_ptr<Frage> Dialogs::sofortBeantwortet(Answer antwort)
{
    auto frage = std::make_unique<Frage>();
    const QPointer<Frage> ziel = frage.get();
    QMetaObject::invokeMethod(
        frage.get(),
        [ziel, antwort] {
            if (ziel)
                ziel->Schliessen(antwort);
        },
        Qt::QueuedConnection);
    return frage;
}
