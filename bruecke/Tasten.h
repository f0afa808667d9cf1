#pragma once

#include <string>

// Typing into the foreground window with SendInput. A key comes as
// "TASTE,ZEICHEN,UMSCHALTER": the key's number in the program's list of named
// keys (0 an ordinary character), the character's code point, and Shift 1,
// Ctrl 2, Alt 4 added up. A character without a held modifier is typed as a
// Unicode character, so that the X keyboard layout does not matter; with a
// modifier, as the key that carries it (Alt+D reaches the dialog's mnemonic).
namespace Tasten {

// False when the key cannot be typed at all.
bool tippe(const std::wstring &taste);

} // namespace Tasten
