#include "platform/system/Steuerzeichen.h"

#include <algorithm>

bool Steuerzeichen::istUnsichtbar(QChar c)
{
    const QChar::Category k = c.category();
    return k == QChar::Other_Control || k == QChar::Other_Format;
}

bool Steuerzeichen::enthaelt(QStringView text)
{
    return std::any_of(text.begin(), text.end(), istUnsichtbar);
}

QString Steuerzeichen::entfernt(QStringView text)
{
    QString rein;
    rein.reserve(text.size());
    for (const QChar c : text) {
        if (!istUnsichtbar(c))
            rein.append(c);
    }
    return rein;
}
