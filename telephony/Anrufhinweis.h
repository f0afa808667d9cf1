#pragma once

#include <QString>

struct Anruf;

// What an entry of the caller list tells in its tool tip beyond its columns:
// the number the call was for, and that it came in while Rufmon was off.
class Anrufhinweis
{
public:
    // The picture of a call taken from the router's own list afterwards.
    static constexpr int BildNachgetragen = 8;

    static QString ToolTip(const Anruf &anruf);
    static QString AngerufenText(const QString &angerufen);
    static QString NachgetragenText();
};
