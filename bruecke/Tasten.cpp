#include "Tasten.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace Tasten {

namespace {

// In the order of the program's named keys, from Enter on.
const WORD benannt[] = {VK_RETURN, VK_TAB,     VK_HOME,    VK_END,  VK_ESCAPE,   VK_BACK,  VK_DELETE,
                        VK_INSERT, VK_UP,      VK_DOWN,    VK_LEFT, VK_RIGHT,    VK_PRIOR, VK_NEXT,
                        VK_CAPITAL, VK_NUMLOCK, VK_SCROLL, VK_SNAPSHOT, VK_PAUSE, VK_HELP,  VK_CLEAR,
                        VK_ADD,    VK_SUBTRACT, VK_MULTIPLY, VK_DIVIDE};
constexpr int ersteFunktionstaste = 26;

INPUT taste(WORD vk, bool los)
{
    INPUT e{};
    e.type = INPUT_KEYBOARD;
    e.ki.wVk = vk;
    e.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    e.ki.dwFlags = los ? KEYEVENTF_KEYUP : 0;
    return e;
}

INPUT zeichen(wchar_t z, bool los)
{
    INPUT e{};
    e.type = INPUT_KEYBOARD;
    e.ki.wScan = z;
    e.ki.dwFlags = KEYEVENTF_UNICODE | (los ? KEYEVENTF_KEYUP : 0);
    return e;
}

} // namespace

bool tippe(const std::wstring &beschreibung)
{
    wchar_t *rest = nullptr;
    const long nummer = std::wcstol(beschreibung.c_str(), &rest, 10);
    const unsigned long code = rest && *rest == L',' ? std::wcstoul(rest + 1, &rest, 10) : 0;
    const long umschalter = rest && *rest == L',' ? std::wcstol(rest + 1, &rest, 10) : 0;
    const bool shift = umschalter & 1;
    const bool strg = umschalter & 2;
    const bool alt = umschalter & 4;

    WORD vk = 0;
    if (nummer >= 1 && nummer < ersteFunktionstaste)
        vk = benannt[nummer - 1];
    else if (nummer >= ersteFunktionstaste && nummer < ersteFunktionstaste + 16)
        vk = WORD(VK_F1 + (nummer - ersteFunktionstaste));
    else if (nummer != 0)
        return false;
    else if (code == L'\r' || code == L'\n')
        vk = VK_RETURN;
    else if (code == L'\t')
        vk = VK_TAB;

    std::vector<INPUT> ereignisse;
    std::vector<WORD> gehalten;
    if (nummer == 0 && !vk) {
        if (code == 0 || code > 0x10FFFF)
            return false;
        // Outside the basic plane a character is two UTF-16 units.
        std::wstring einheiten;
        if (code > 0xFFFF) {
            einheiten += wchar_t(0xD800 + ((code - 0x10000) >> 10));
            einheiten += wchar_t(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            einheiten += wchar_t(code);
        }
        if (shift || strg || alt) {
            // With a modifier the key counts, not the character.
            const SHORT ort = code <= 0xFFFF ? VkKeyScanW(wchar_t(code)) : SHORT(-1);
            if (ort != -1 && LOBYTE(ort) != 0xFF) {
                vk = LOBYTE(ort);
            } else if (!strg && !alt) {
                vk = 0; // Shift with a character no key carries: the character
            } else {
                return false;
            }
        }
        if (!vk) {
            for (wchar_t e : einheiten)
                ereignisse.push_back(zeichen(e, false));
            for (wchar_t e : einheiten)
                ereignisse.push_back(zeichen(e, true));
            return SendInput(UINT(ereignisse.size()), ereignisse.data(), sizeof(INPUT)) == ereignisse.size();
        }
    }
    if (strg)
        gehalten.push_back(VK_CONTROL);
    if (alt)
        gehalten.push_back(VK_MENU);
    if (shift)
        gehalten.push_back(VK_SHIFT);
    for (WORD m : gehalten)
        ereignisse.push_back(taste(m, false));
    ereignisse.push_back(taste(vk, false));
    ereignisse.push_back(taste(vk, true));
    for (auto it = gehalten.rbegin(); it != gehalten.rend(); ++it)
        ereignisse.push_back(taste(*it, true));
    return SendInput(UINT(ereignisse.size()), ereignisse.data(), sizeof(INPUT)) == ereignisse.size();
}

} // namespace Tasten
