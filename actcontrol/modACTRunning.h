#pragma once

#include "actcontrol/Tastenfolge.h"
#include "platform/desktop/Desktop.h"

#include <QString>

// Finding foreign windows by class and text, as the program works ACT!'s
// dialogs. A window matches when it is visible, its class name contains
// `Klasse` and its text contains `Text`, letter case aside; "*" is any text,
// and a window without text is "NoText". Of several matches the last one in
// the desktop's order counts (the topmost on X11).
namespace modACTRunning {

// A top-level window's text as the search compares it.
QString Fenstertitel(Desktop &desktop, Fenster fenster);
// The text of a window inside a dialog as the search compares it.
QString Kindfenstertext(Desktop &desktop, Fenster fenster);
// A window's text as another program reads it: into a buffer of 100
// characters, cut at the first NUL.
QString Puffertext(Desktop &desktop, Fenster fenster);

Fenster SucheFenster(Desktop &desktop, const QString &Klasse, const QString &Text);
Fenster SucheKindfenster(Desktop &desktop, Fenster Elternfenster, const QString &Klasse, const QString &Text);

// The top-level window a window lies in (the window itself when it is one).
Fenster Oberfenster(Desktop &desktop, Fenster fenster);
// Brings the top-level window captioned `Titel` to the front: one with that
// caption exactly, else a visible one whose caption begins with it. False
// when there is none.
bool AktiviereFenster(Desktop &desktop, const QString &Titel);
// Types a key macro into the window that has the focus; a fault ends the
// typing there and is returned.
Tastenfolge Tippe(Desktop &desktop, const QString &Tasten);

} // namespace modACTRunning
