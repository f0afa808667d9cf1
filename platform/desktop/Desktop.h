#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The desktop's windows as the program works foreign dialogs: finding them by
// class and text, clicking a control, bringing a window forward and typing
// into the window that has the focus. Without a desktop every search finds
// nothing and nothing is typed.

// A window of any program; 0 is no window.
using Fenster = std::uint64_t;

// The keys a key macro can name besides ordinary characters.
enum class Taste : std::uint8_t {
    Zeichen, // an ordinary character, in `Tastendruck::zeichen`
    Enter,
    Tab,
    Pos1,
    Ende,
    Esc,
    Rueckschritt,
    Entf,
    Einfg,
    Hoch,
    Runter,
    Links,
    Rechts,
    BildHoch,
    BildRunter,
    Feststell,
    Num,
    Rollen,
    Druck,
    Pause,
    Hilfe,
    Leeren,
    Plus,  // on the number pad
    Minus, // on the number pad
    Mal,   // on the number pad
    Durch, // on the number pad
    F1,    // F1 … F16 follow in order
    F16 = F1 + 15,
};

// One key pressed and released, with the modifiers held down meanwhile.
struct Tastendruck
{
    Taste taste = Taste::Zeichen;
    char32_t zeichen = 0;
    bool shift = false;
    bool strg = false;
    bool alt = false;
    // Where in the macro the key came from (1-based), for messages; 0 unknown.
    int stelle = 0;

    bool operator==(const Tastendruck &) const = default;
};

class Desktop
{
public:
    virtual ~Desktop() = default;

    // The top-level windows, bottom of the stacking order first.
    virtual std::vector<Fenster> Hauptfenster() = 0;
    // Every window inside `fenster` at any depth, each followed by its own.
    virtual std::vector<Fenster> Kindfenster(Fenster fenster) = 0;
    // The window's class name in lower case; empty when it has none.
    virtual QString Klasse(Fenster fenster) = 0;
    // The window's text (a top-level window's caption), as the window has it.
    virtual QString Text(Fenster fenster) = 0;
    // For a list box: the text of its selected entry (the first when none is
    // selected, empty when it has none). Nothing when the desktop cannot tell.
    virtual std::optional<QString> Listenauswahl(Fenster fenster) = 0;
    // Shown on the screen: mapped, and so are all windows it lies in.
    virtual bool Sichtbar(Fenster fenster) = 0;
    // The window it lies in; 0 for a top-level window.
    virtual Fenster Elternfenster(Fenster fenster) = 0;
    // A top-level window whose class (either part) and caption are exactly
    // these, letter case aside; an empty class matches any. The topmost such
    // window, or 0.
    virtual Fenster Finde(const QString &klasse, const QString &text) = 0;

    // Posts a left click at 0,0 of the window and returns at once.
    virtual void Klick(Fenster fenster) = 0;
    // Brings the window to the front and gives it the focus; false when it is
    // no window.
    virtual bool Aktiviere(Fenster fenster) = 0;
    virtual void ImmerOben(Fenster fenster, bool an) = 0;
    virtual bool Minimiert(Fenster fenster) = 0;
    virtual void Minimiere(Fenster fenster) = 0;
    virtual void Wiederherstellen(Fenster fenster) = 0;
    // Types the keys into the window that has the focus, without waiting for
    // them to be taken. Returns how many were typed: fewer when the keyboard
    // cannot produce the next one (the rest is not typed, rather than wrong).
    virtual std::size_t Tippe(const std::vector<Tastendruck> &tasten) = 0;
    // Why the last `Tippe` stopped early; empty when the keyboard could not
    // produce the next key or when all were typed.
    virtual QString Tippfehler() const { return QString(); }
    // A window of this very program (or one inside it): never a target.
    virtual bool VomEigenenProgramm(Fenster) { return false; }
};
