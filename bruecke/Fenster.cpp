#include "Fenster.h"

#include <cwctype>

namespace Fenster {

namespace {

BOOL CALLBACK sammle(HWND fenster, LPARAM liste)
{
    reinterpret_cast<std::vector<HWND> *>(liste)->push_back(fenster);
    return TRUE;
}

std::wstring klein(std::wstring text)
{
    for (wchar_t &c : text)
        c = wchar_t(std::towlower(c));
    return text;
}

bool enthaelt(const std::wstring &heuhaufen, const std::wstring &nadel)
{
    return klein(heuhaufen).find(klein(nadel)) != std::wstring::npos;
}

// The caption as the search compares it: leading blanks gone, cut at the
// first NUL, at most 50 characters, "NoText" when empty.
std::wstring titel(HWND fenster)
{
    std::wstring t = text(fenster);
    const size_t anfang = t.find_first_not_of(L' ');
    t = anfang == std::wstring::npos ? std::wstring() : t.substr(anfang);
    t = t.substr(0, t.find(L'\0')).substr(0, 50);
    return t.empty() ? L"NoText" : t;
}

HWND wurzel(HWND fenster)
{
    return fenster ? GetAncestor(fenster, GA_ROOT) : nullptr;
}

} // namespace

std::vector<HWND> hauptfenster()
{
    std::vector<HWND> liste;
    EnumWindows(sammle, LPARAM(&liste));
    return liste;
}

std::vector<HWND> kindfenster(HWND fenster)
{
    std::vector<HWND> liste;
    if (IsWindow(fenster))
        EnumChildWindows(fenster, sammle, LPARAM(&liste));
    return liste;
}

std::wstring klasse(HWND fenster)
{
    wchar_t puffer[256] = {};
    const int n = GetClassNameW(fenster, puffer, 256);
    return klein(std::wstring(puffer, size_t(n > 0 ? n : 0)));
}

std::wstring text(HWND fenster)
{
    if (!IsWindow(fenster))
        return {};
    if (!(GetWindowLongW(fenster, GWL_STYLE) & WS_CHILD)) {
        wchar_t puffer[1024] = {};
        const int n = GetWindowTextW(fenster, puffer, 1024);
        return std::wstring(puffer, size_t(n > 0 ? n : 0));
    }
    wchar_t puffer[100] = {};
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(fenster, WM_GETTEXT, 100, LPARAM(puffer), SMTO_ABORTIFHUNG, 2000, &n))
        return {};
    return std::wstring(puffer, size_t(n < 100 ? n : 99));
}

bool listenauswahl(HWND fenster, std::wstring &auswahl)
{
    if (klasse(fenster).find(L"listbox") == std::wstring::npos)
        return false;
    auswahl.clear();
    // A program that hangs must not hang the bridge.
    const auto frage = [fenster](UINT nachricht, WPARAM w, LPARAM l) -> LRESULT {
        DWORD_PTR antwort = 0;
        if (!SendMessageTimeoutW(fenster, nachricht, w, l, SMTO_ABORTIFHUNG, 2000, &antwort))
            return -1;
        return LRESULT(antwort);
    };
    const LRESULT anzahl = frage(LB_GETCOUNT, 0, 0);
    if (anzahl <= 0)
        return true;
    LRESULT index = frage(LB_GETCURSEL, 0, 0);
    if (index < 0)
        index = 0;
    const LRESULT laenge = frage(LB_GETTEXTLEN, WPARAM(index), 0);
    if (laenge <= 0)
        return true;
    std::wstring puffer(size_t(laenge) + 1, L'\0');
    const LRESULT n = frage(LB_GETTEXT, WPARAM(index), LPARAM(puffer.data()));
    auswahl = puffer.substr(0, size_t(n > 0 ? n : 0));
    return true;
}

HWND eltern(HWND fenster)
{
    // The window it lies in, not the owner that GetParent names for a dialog.
    if (!IsWindow(fenster))
        return nullptr;
    HWND e = GetAncestor(fenster, GA_PARENT);
    return e == GetDesktopWindow() ? nullptr : e;
}

HWND suche(const std::wstring &gesuchteKlasse, const std::wstring &gesuchterText)
{
    HWND gefunden = nullptr;
    for (HWND f : hauptfenster()) {
        if (!IsWindowVisible(f) || !enthaelt(klasse(f), gesuchteKlasse))
            continue;
        if (gesuchterText == L"*" || enthaelt(titel(f), gesuchterText))
            gefunden = f;
    }
    return gefunden;
}

void klick(HWND fenster)
{
    PostMessageW(fenster, WM_LBUTTONDOWN, 0, 0);
    PostMessageW(fenster, WM_LBUTTONUP, 0, 0);
}

bool aktiviere(HWND fenster)
{
    if (!IsWindow(fenster))
        return false;
    if (IsIconic(fenster))
        ShowWindow(fenster, SW_RESTORE);
    SetForegroundWindow(fenster);
    BringWindowToTop(fenster);
    return true;
}

bool nachVorne(HWND fenster)
{
    if (!IsWindow(fenster))
        return false;
    WINDOWPLACEMENT platz{};
    platz.length = sizeof platz;
    GetWindowPlacement(fenster, &platz);
    if (platz.showCmd == SW_SHOWMINIMIZED) {
        // Normal size, not maximised, even if it was maximised before.
        platz.flags = 0;
        platz.showCmd = SW_SHOWNORMAL;
        SetWindowPlacement(fenster, &platz);
    } else {
        SetForegroundWindow(fenster);
        BringWindowToTop(fenster);
    }
    SetWindowPos(fenster, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    MSG nachricht;
    while (PeekMessageW(&nachricht, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&nachricht);
    SetWindowPos(fenster, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void immerOben(HWND fenster, bool an)
{
    SetWindowPos(fenster, an ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void wiederherstellen(HWND fenster)
{
    WINDOWPLACEMENT platz{};
    platz.length = sizeof platz;
    GetWindowPlacement(fenster, &platz);
    platz.flags = 0;
    platz.showCmd = SW_SHOWNORMAL;
    SetWindowPlacement(fenster, &platz);
}

bool imVordergrund(HWND ziel, HWND &vordergrund)
{
    // The window manager may take a moment to hand over the focus.
    for (int versuch = 0; versuch < 20; ++versuch) {
        vordergrund = GetForegroundWindow();
        if (ziel && wurzel(vordergrund) == wurzel(ziel))
            return true;
        Sleep(50);
    }
    return false;
}

} // namespace Fenster
