#include "platform/dialogs/Dialogs.h"

using namespace Qt::StringLiterals;

QString Dialogs::defaultTitle()
{
    return u"Rufmon"_s;
}
