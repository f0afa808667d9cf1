// Rufmon's bridge into a Wine prefix: runs inside Wine beside ACT! and does
// there what the program cannot do from outside — finding ACT!'s windows by
// their Win32 classes, clicking and typing into them, and calling ACT!'s
// automation object. One request per line on standard input, one answer per
// line on standard output: "OK" and the values, or "FEHLER", a number and a
// description.

#include "Automation.h"
#include "Fenster.h"
#include "Tasten.h"
#include "Zeilen.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

HANDLE ausgabe;
// The window the program brought to the front last; keys go there only.
HWND ziel = nullptr;

void antworte(const std::vector<std::wstring> &felder)
{
    const std::string zeile = Zeilen::verbinde(felder);
    DWORD geschrieben = 0;
    WriteFile(ausgabe, zeile.data(), DWORD(zeile.size()), &geschrieben, nullptr);
    FlushFileBuffers(ausgabe);
}

std::wstring nummer(HWND fenster)
{
    return std::to_wstring(reinterpret_cast<uintptr_t>(fenster));
}

HWND fenster(const std::vector<std::wstring> &felder, size_t i)
{
    return i < felder.size() ? reinterpret_cast<HWND>(uintptr_t(std::wcstoull(felder[i].c_str(), nullptr, 10)))
                             : nullptr;
}

std::wstring feld(const std::vector<std::wstring> &felder, size_t i)
{
    return i < felder.size() ? felder[i] : std::wstring();
}

std::wstring janein(bool wert)
{
    return wert ? L"1" : L"0";
}

std::wstring klein(std::wstring text)
{
    for (wchar_t &c : text)
        c = wchar_t(towlower(c));
    return text;
}

void liste(const std::vector<HWND> &fenster)
{
    std::vector<std::wstring> felder{L"OK"};
    for (HWND f : fenster)
        felder.push_back(nummer(f));
    antworte(felder);
}

void ergebnis(const Automation::Ergebnis &e)
{
    if (e.ok)
        antworte({L"OK", e.wert});
    else
        antworte({L"FEHLER", std::to_wstring(e.fehlernummer), e.beschreibung});
}

// Returns false when the program asked the bridge to end.
bool bearbeite(const std::vector<std::wstring> &f, Automation &automation)
{
    const std::wstring befehl = feld(f, 0);
    if (befehl == L"ENDE") {
        antworte({L"OK"});
        return false;
    }
    if (befehl == L"FENSTER") {
        liste(Fenster::hauptfenster());
    } else if (befehl == L"KINDER") {
        liste(Fenster::kindfenster(fenster(f, 1)));
    } else if (befehl == L"KLASSE") {
        antworte({L"OK", Fenster::klasse(fenster(f, 1))});
    } else if (befehl == L"TEXT") {
        antworte({L"OK", Fenster::text(fenster(f, 1))});
    } else if (befehl == L"LISTE") {
        std::wstring auswahl;
        const bool liste = Fenster::listenauswahl(fenster(f, 1), auswahl);
        antworte({L"OK", janein(liste), auswahl});
    } else if (befehl == L"SICHTBAR") {
        antworte({L"OK", janein(IsWindowVisible(fenster(f, 1)))});
    } else if (befehl == L"ELTERN") {
        antworte({L"OK", nummer(Fenster::eltern(fenster(f, 1)))});
    } else if (befehl == L"FINDE") {
        // Class and caption whole, letter case aside; the topmost such window.
        const std::wstring klasse = klein(feld(f, 1));
        const std::wstring text = klein(feld(f, 2));
        HWND gefunden = nullptr;
        for (HWND h : Fenster::hauptfenster()) {
            if ((klasse.empty() || Fenster::klasse(h) == klasse) && klein(Fenster::text(h)) == text) {
                gefunden = h;
                break;
            }
        }
        antworte({L"OK", nummer(gefunden)});
    } else if (befehl == L"SUCHE") {
        antworte({L"OK", nummer(Fenster::suche(feld(f, 1), feld(f, 2)))});
    } else if (befehl == L"KLICK") {
        Fenster::klick(fenster(f, 1));
        antworte({L"OK"});
    } else if (befehl == L"AKTIVIERE" || befehl == L"NACHVORNE") {
        HWND h = fenster(f, 1);
        const bool ok = befehl == L"AKTIVIERE" ? Fenster::aktiviere(h) : Fenster::nachVorne(h);
        if (ok)
            ziel = h;
        antworte({L"OK", janein(ok)});
    } else if (befehl == L"OBEN") {
        Fenster::immerOben(fenster(f, 1), feld(f, 2) == L"1");
        antworte({L"OK"});
    } else if (befehl == L"MINIMIERT") {
        antworte({L"OK", janein(IsIconic(fenster(f, 1)))});
    } else if (befehl == L"MINIMIERE") {
        ShowWindow(fenster(f, 1), SW_MINIMIZE);
        antworte({L"OK"});
    } else if (befehl == L"WIEDERHER") {
        Fenster::wiederherstellen(fenster(f, 1));
        antworte({L"OK"});
    } else if (befehl == L"TIPPE") {
        // Never into a window the program did not bring forward: a message
        // box of ACT!'s, or any other program, may have taken the focus.
        HWND vordergrund = nullptr;
        if (!Fenster::imVordergrund(ziel, vordergrund)) {
            antworte({L"OK", L"0",
                      ziel ? L"Im Vordergrund ist ein anderes Fenster („" + Fenster::text(vordergrund) + L"“)"
                           : L"Kein Fenster nach vorn geholt"});
            return true;
        }
        size_t getippt = 0;
        for (size_t i = 1; i < f.size(); ++i) {
            if (!Tasten::tippe(f[i]))
                break;
            ++getippt;
        }
        antworte({L"OK", std::to_wstring(getippt),
                  getippt + 1 < f.size() ? L"Diese Taste kann nicht getippt werden" : L""});
    } else if (befehl == L"OBJEKT") {
        ergebnis(automation.erstelle(feld(f, 1)));
    } else if (befehl == L"RUFE") {
        const long objekt = std::wcstol(feld(f, 1).c_str(), nullptr, 10);
        ergebnis(automation.rufe(objekt, feld(f, 2), std::vector<std::wstring>(f.begin() + std::min<size_t>(3, f.size()), f.end())));
    } else if (befehl == L"LOS") {
        automation.los(std::wcstol(feld(f, 1).c_str(), nullptr, 10));
        antworte({L"OK"});
    } else {
        antworte({L"FEHLER", L"0", L"Unbekannter Befehl " + befehl});
    }
    return true;
}

} // namespace

int wmain()
{
    ausgabe = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE eingabe = GetStdHandle(STD_INPUT_HANDLE);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        Automation automation;
        antworte({L"BEREIT", L"1"});
        std::string puffer;
        char block[4096];
        bool weiter = true;
        while (weiter) {
            DWORD gelesen = 0;
            if (!ReadFile(eingabe, block, sizeof block, &gelesen, nullptr) || gelesen == 0)
                break; // the program has gone
            puffer.append(block, gelesen);
            size_t ende;
            while (weiter && (ende = puffer.find('\n')) != std::string::npos) {
                const std::string zeile = puffer.substr(0, ende);
                puffer.erase(0, ende + 1);
                weiter = bearbeite(Zeilen::zerlege(zeile), automation);
            }
        }
    }
    CoUninitialize();
    return 0;
}
