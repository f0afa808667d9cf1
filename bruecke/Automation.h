#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// ACT!'s automation object and the objects it hands out, called late-bound by
// member name (ACT! offers no type information). Each object the program
// holds has a number until it lets go of it.
//
// Arguments come as "i2:N", "i4:N", "b:0|1", "s:TEXT" or "&i4:N" (a number
// passed by reference); a result goes back as "-" (nothing), "s:TEXT",
// "i:N", "b:0|1" or "o:NUMBER" (an object).
class Automation
{
public:
    struct Ergebnis
    {
        bool ok = false;
        std::wstring wert;     // the result as above
        long fehlernummer = 0; // when not ok
        std::wstring beschreibung;
    };

    ~Automation();

    // Creates ACTOLE.APPOBJECT as a local server.
    Ergebnis erstelle(const std::wstring &progId);
    Ergebnis rufe(long objekt, const std::wstring &mitglied, const std::vector<std::wstring> &argumente);
    void los(long objekt);

private:
    long merke(IDispatch *objekt);

    std::map<long, IDispatch *> m_objekte;
    long m_naechste = 1;
};
