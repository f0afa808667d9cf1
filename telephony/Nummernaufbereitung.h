#pragma once

#include <QString>

// How the caller's number, as the telephone line reports it, becomes the
// number the caller list shows: the filter of numbers to ignore, the removal
// of plus signs and brackets, and the prefix the user adds or removes.
class Nummernaufbereitung
{
public:
    struct Einstellungen
    {
        QString Filtertext;          // numbers to ignore, separated by ","
        bool PlusKlammerFilter = false;
        bool PraefixHinzufuegen = false; // mnuTapiNull
        bool PraefixEntfernen = false;   // mnuTAPINullEntfernen
        QString Praefix = QStringLiteral("0");
    };

    struct Ergebnis
    {
        bool ignoriert = false; // the number filter matched
        QString filterTreffer;  // the filter entry that matched
        QString nummer;         // the filtered number
    };

    // Steps 1 to 5: filter, "keine Nummer" without an address flag, plus and
    // brackets, prefix. The empty-number message is the caller's step.
    static Ergebnis aufbereiten(const QString &rohnummer, const QString &partyId, const Einstellungen &e);
    static QString PlusKlammerFilter(const QString &s);
    // The answer of the number filter dialog turned into the new filter text.
    static QString Filtereingabe(const QString &antwort);
};
