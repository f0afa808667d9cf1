#pragma once

#include <QString>
#include <QStringView>

// Characters that a line or a hand-over may carry in a number or a name but
// that no one can see: control characters, and the format characters that
// change how the rest is shown (bidirectional overrides and isolates,
// zero-width characters, the byte-order mark). A right-to-left override
// before 7654321030 shows it as 0301234567; what is shown must be what is dialled.
class Steuerzeichen
{
public:
    static bool istUnsichtbar(QChar c);
    static bool enthaelt(QStringView text);
    static QString entfernt(QStringView text);
};
