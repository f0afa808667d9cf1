#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The windows of the Wine session as the program works ACT!'s dialogs:
// listed, read, searched, clicked, brought to the front and typed into.
namespace Fenster {

std::vector<HWND> hauptfenster();
std::vector<HWND> kindfenster(HWND fenster);
std::wstring klasse(HWND fenster);
// A top-level window's caption; a control's text as it answers the request
// for its text (into 100 characters).
std::wstring text(HWND fenster);
// A list box's selected entry, the first when none is selected; false when
// it is no list box.
bool listenauswahl(HWND fenster, std::wstring &auswahl);
// The window it lies in; none for a top-level window.
HWND eltern(HWND fenster);

// The top-level search: visible, class and caption contained, letter case
// aside, "*" any caption, "NoText" an empty one; the last match counts.
HWND suche(const std::wstring &klasse, const std::wstring &text);

// A left click posted at 0,0 of the window.
void klick(HWND fenster);
// Foreground and top of the window order; a minimised window restored.
bool aktiviere(HWND fenster);
// ACT!'s three steps: a minimised window shown normally, else foreground
// and top; then topmost for a moment.
bool nachVorne(HWND fenster);
void immerOben(HWND fenster, bool an);
void wiederherstellen(HWND fenster);

// True when the foreground window is `ziel` (or lies in it), waiting a
// moment for an activation still under way.
bool imVordergrund(HWND ziel, HWND &vordergrund);

} // namespace Fenster
