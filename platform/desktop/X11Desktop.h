#pragma once

#include "platform/desktop/Desktop.h"

#include <memory>

// The desktop on X11 (also XWayland): its own connection to the X server
// named by DISPLAY, opened on first use. Clicks are sent events, keys come
// from the XTEST extension, with AltGr for what lies on a key's third or
// fourth level. Characters the keyboard map lacks altogether are pasted:
// the clipboard holds them for the moment of Ctrl+V and then its text again
// (other contents than text are not kept). A program that does not take the
// paste gets them through a spare key code that is given the character for
// as long as the program runs and cleared again when it ends. Keys are never typed while
// a window of this program has the keyboard focus.
class X11Desktop : public Desktop
{
public:
    X11Desktop();
    ~X11Desktop() override;
    X11Desktop(const X11Desktop &) = delete;
    X11Desktop &operator=(const X11Desktop &) = delete;

    // True when an X server could be reached.
    bool verbunden();

    std::vector<Fenster> Hauptfenster() override;
    std::vector<Fenster> Kindfenster(Fenster fenster) override;
    QString Klasse(Fenster fenster) override;
    QString Text(Fenster fenster) override;
    std::optional<QString> Listenauswahl(Fenster fenster) override;
    bool Sichtbar(Fenster fenster) override;
    Fenster Elternfenster(Fenster fenster) override;
    Fenster Finde(const QString &klasse, const QString &text) override;
    void Klick(Fenster fenster) override;
    bool Aktiviere(Fenster fenster) override;
    void ImmerOben(Fenster fenster, bool an) override;
    bool Minimiert(Fenster fenster) override;
    void Minimiere(Fenster fenster) override;
    void Wiederherstellen(Fenster fenster) override;
    std::size_t Tippe(const std::vector<Tastendruck> &tasten) override;
    QString Tippfehler() const override;
    // By _NET_WM_PID of the window or the one it lies in.
    bool VomEigenenProgramm(Fenster fenster) override;

private:
    struct Verbindung;
    std::unique_ptr<Verbindung> d;
};
