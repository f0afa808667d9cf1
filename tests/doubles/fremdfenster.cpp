// A foreign program for the window-automation tests: plain Xlib windows with
// chosen classes and captions that report, one line each on standard output,
// what reaches them.
//
//   fremdfenster [--wm] WINDOW...
//   --fenster NAME CLASS CAPTION   a top-level window
//   --kind NAME CLASS TEXT         a window inside the last top-level window
//   --in NAME CLASS TEXT           a window inside the last inner window
//   --feld NAME CLASS TEXT         a text field inside the last top-level
//                                  window: keys the window gets are its keys
//   --verborgen                    the last window stays unmapped
//   --erscheint-bei KEY            the last top-level window stays unmapped
//                                  until any window gets KEY (e.g. "<C-h>")
//   --nur-wmname                   the last window's text only as WM_NAME
//   --wm                           also be the window manager: report the
//                                  requests sent to the root window, keep
//                                  the EWMH list of windows
//   --alter-wm                     the same without the EWMH list
// In a caption "\0" stands for a NUL character.
//
// Output: "ID NAME 0x…" per window, then "BEREIT"; afterwards "KLICK NAME",
// "LOS NAME", "TASTE NAME KEY", "ERSCHIENEN NAME" and, with --wm, "WM …".
// A key is its character, or "<NAME>" for other keys; Ctrl and Alt are
// written as "<C-x>", "<A-x>".

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Fenster
{
    std::string name;
    Window id = 0;
    Window oben = 0; // the top-level window it lies in (itself for one)
    bool hauptfenster = false;
    bool verborgen = false;
    std::string erscheintBei;
    Window feld = 0;
};

Display *anzeige = nullptr;
std::vector<Fenster> fenster;
bool alsWm = false;
bool ewmh = false;

Fenster *finde(Window w)
{
    for (Fenster &f : fenster) {
        if (f.id == w)
            return &f;
    }
    return nullptr;
}

std::string nameVon(Window w)
{
    if (const Fenster *f = finde(w))
        return f->name;
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", w);
    return text;
}

void zeile(const std::string &text)
{
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

std::string mitNull(const std::string &text)
{
    std::string ergebnis;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '0') {
            ergebnis.push_back('\0');
            ++i;
        } else {
            ergebnis.push_back(text[i]);
        }
    }
    return ergebnis;
}

void setzeText(Window w, const std::string &text, bool nurWmName)
{
    const Atom utf8 = XInternAtom(anzeige, "UTF8_STRING", False);
    if (nurWmName) {
        // Latin-1 as the old property has it.
        std::string latin1;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == 0xc3 && i + 1 < text.size()) {
                latin1.push_back(static_cast<char>(0xc0 | (static_cast<unsigned char>(text[++i]) & 0x3f)));
            } else {
                latin1.push_back(static_cast<char>(c));
            }
        }
        XDeleteProperty(anzeige, w, XInternAtom(anzeige, "_NET_WM_NAME", False));
        XChangeProperty(anzeige, w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char *>(latin1.data()), int(latin1.size()));
        return;
    }
    XChangeProperty(anzeige, w, XInternAtom(anzeige, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(text.data()), int(text.size()));
    XChangeProperty(anzeige, w, XA_WM_NAME, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(text.data()), int(text.size()));
}

void setzeWmState(Window w, long zustand)
{
    const Atom wmState = XInternAtom(anzeige, "WM_STATE", False);
    long daten[2] = {zustand, 0};
    XChangeProperty(anzeige, w, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char *>(daten), 2);
}

std::string taste(XKeyEvent &e)
{
    char puffer[32];
    KeySym sym = 0;
    XLookupString(&e, puffer, sizeof puffer, &sym, nullptr);
    std::string zeichen;
    unsigned long code = 0;
    if ((sym >= 0x20 && sym <= 0x7e) || (sym >= 0xa0 && sym <= 0xff))
        code = sym;
    else if ((sym & 0xff000000) == 0x01000000)
        code = sym & 0x00ffffff;
    if (code) {
        // As UTF-8.
        if (code < 0x80) {
            zeichen.push_back(char(code));
        } else if (code < 0x800) {
            zeichen.push_back(char(0xc0 | (code >> 6)));
            zeichen.push_back(char(0x80 | (code & 0x3f)));
        } else {
            zeichen.push_back(char(0xe0 | (code >> 12)));
            zeichen.push_back(char(0x80 | ((code >> 6) & 0x3f)));
            zeichen.push_back(char(0x80 | (code & 0x3f)));
        }
    } else {
        const char *name = XKeysymToString(sym);
        zeichen = name ? name : "?";
    }
    std::string umschalter;
    if (e.state & ControlMask)
        umschalter += "C-";
    if (e.state & Mod1Mask)
        umschalter += "A-";
    if (!code && (e.state & ShiftMask))
        umschalter += "S-";
    if (!umschalter.empty() || !code)
        return "<" + umschalter + zeichen + ">";
    return zeichen;
}

void wmNachricht(XClientMessageEvent &e)
{
    char *typ = XGetAtomName(anzeige, e.message_type);
    std::string text = std::string("WM ") + typ + " " + nameVon(e.window);
    XFree(typ);
    const std::string art = text.substr(3, text.find(' ', 3) - 3);
    if (art == "_NET_WM_STATE") {
        char *zustand = XGetAtomName(anzeige, Atom(e.data.l[1]));
        text += " " + std::to_string(e.data.l[0]) + " " + (zustand ? zustand : "?");
        if (zustand)
            XFree(zustand);
    } else if (art == "WM_CHANGE_STATE") {
        text += " " + std::to_string(e.data.l[0]);
        if (e.data.l[0] == IconicState) {
            setzeWmState(e.window, IconicState);
            XUnmapWindow(anzeige, e.window);
        }
    } else if (art == "_NET_ACTIVE_WINDOW") {
        XRaiseWindow(anzeige, e.window);
    }
    zeile(text);
}

} // namespace

int main(int argc, char **argv)
{
    anzeige = XOpenDisplay(nullptr);
    if (!anzeige) {
        std::fprintf(stderr, "fremdfenster: kein X-Server\n");
        return 2;
    }
    const Window wurzel = DefaultRootWindow(anzeige);
    std::vector<std::string> args(argv + 1, argv + argc);
    Window letztesHaupt = 0;
    Window letztesKind = 0;
    int y = 10;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--wm" || a == "--alter-wm") {
            alsWm = true;
            ewmh = a == "--wm";
            XSelectInput(anzeige, wurzel, SubstructureRedirectMask | SubstructureNotifyMask);
            continue;
        }
        if (a == "--verborgen" || a == "--nur-wmname") {
            Fenster &f = fenster.back();
            if (a == "--verborgen")
                f.verborgen = true;
            else
                setzeText(f.id, mitNull(args[i - 1]), true);
            continue;
        }
        if (a == "--erscheint-bei" && i + 1 < args.size()) {
            for (Fenster &f : fenster) {
                if (f.id == letztesHaupt) {
                    f.verborgen = true;
                    f.erscheintBei = args[++i];
                }
            }
            continue;
        }
        if (i + 3 >= args.size()) {
            std::fprintf(stderr, "fremdfenster: %s braucht NAME KLASSE TEXT\n", a.c_str());
            return 2;
        }
        Fenster f;
        f.name = args[i + 1];
        const std::string klasse = args[i + 2];
        const std::string text = mitNull(args[i + 3]);
        i += 3;
        if (a == "--fenster") {
            f.id = XCreateSimpleWindow(anzeige, wurzel, 10, y, 400, 200, 1, 0, 0xffffff);
            y += 30;
            f.oben = f.id;
            f.hauptfenster = true;
            letztesHaupt = f.id;
            letztesKind = 0;
            XSelectInput(anzeige, f.id, KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
            if (alsWm)
                setzeWmState(f.id, NormalState);
        } else if ((a == "--kind" || a == "--feld" || a == "--in") && letztesHaupt) {
            const Window eltern = a == "--in" && letztesKind ? letztesKind : letztesHaupt;
            const int anzahl = int(fenster.size());
            f.id = XCreateSimpleWindow(anzeige, eltern, 5 + (anzahl % 4) * 90, 5 + (anzahl / 4) * 25, 80, 20, 1, 0,
                                       0xeeeeee);
            f.oben = letztesHaupt;
            letztesKind = f.id;
            long maske = ButtonPressMask | ButtonReleaseMask;
            if (a == "--feld") {
                maske |= KeyPressMask;
                for (Fenster &h : fenster) {
                    if (h.id == letztesHaupt)
                        h.feld = f.id;
                }
            }
            XSelectInput(anzeige, f.id, maske);
        } else {
            std::fprintf(stderr, "fremdfenster: unbekannt: %s\n", a.c_str());
            return 2;
        }
        XClassHint hinweis;
        std::string name = "rufmontest";
        hinweis.res_name = name.data();
        std::string k = klasse;
        hinweis.res_class = k.data();
        XSetClassHint(anzeige, f.id, &hinweis);
        setzeText(f.id, text, false);
        fenster.push_back(f);
    }
    if (ewmh) {
        const Atom pruef = XInternAtom(anzeige, "_NET_SUPPORTING_WM_CHECK", False);
        Window pruefFenster = XCreateSimpleWindow(anzeige, wurzel, -10, -10, 1, 1, 0, 0, 0);
        XChangeProperty(anzeige, pruefFenster, pruef, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char *>(&pruefFenster), 1);
        XChangeProperty(anzeige, wurzel, pruef, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<unsigned char *>(&pruefFenster), 1);
        // Bottom first, as the windows were made.
        std::vector<Window> liste;
        for (const Fenster &f : fenster) {
            if (f.hauptfenster)
                liste.push_back(f.id);
        }
        XChangeProperty(anzeige, wurzel, XInternAtom(anzeige, "_NET_CLIENT_LIST_STACKING", False), XA_WINDOW, 32,
                        PropModeReplace, reinterpret_cast<unsigned char *>(liste.data()), int(liste.size()));
    }
    for (const Fenster &f : fenster) {
        if (!f.verborgen)
            XMapWindow(anzeige, f.id);
        char text[64];
        std::snprintf(text, sizeof text, "ID %s 0x%lx", f.name.c_str(), f.id);
        zeile(text);
    }
    XSync(anzeige, False);
    zeile("BEREIT");

    for (;;) {
        XEvent e;
        XNextEvent(anzeige, &e);
        switch (e.type) {
        case MappingNotify:
            XRefreshKeyboardMapping(&e.xmapping);
            break;
        case ButtonPress:
            zeile("KLICK " + nameVon(e.xbutton.window));
            break;
        case ButtonRelease:
            zeile("LOS " + nameVon(e.xbutton.window));
            break;
        case KeyPress: {
            const KeySym sym = XLookupKeysym(&e.xkey, 0);
            if (IsModifierKey(sym))
                break;
            Window ziel = e.xkey.window;
            // A top-level window's keys are its text field's, as a toolkit
            // passes them to its focus widget.
            if (const Fenster *f = finde(ziel); f && f->feld)
                ziel = f->feld;
            const std::string t = taste(e.xkey);
            zeile("TASTE " + nameVon(ziel) + " " + t);
            for (Fenster &f : fenster) {
                if (!f.erscheintBei.empty() && f.erscheintBei == t) {
                    f.erscheintBei.clear();
                    if (alsWm)
                        setzeWmState(f.id, NormalState);
                    XMapRaised(anzeige, f.id);
                    XSync(anzeige, False);
                    zeile("ERSCHIENEN " + f.name);
                }
            }
            break;
        }
        case MapRequest:
            setzeWmState(e.xmaprequest.window, NormalState);
            XMapWindow(anzeige, e.xmaprequest.window);
            zeile("WM MAP " + nameVon(e.xmaprequest.window));
            break;
        case ConfigureRequest: {
            XWindowChanges c{};
            c.x = e.xconfigurerequest.x;
            c.y = e.xconfigurerequest.y;
            c.width = e.xconfigurerequest.width;
            c.height = e.xconfigurerequest.height;
            c.stack_mode = e.xconfigurerequest.detail;
            XConfigureWindow(anzeige, e.xconfigurerequest.window,
                             static_cast<unsigned int>(e.xconfigurerequest.value_mask), &c);
            break;
        }
        case ClientMessage:
            if (alsWm)
                wmNachricht(e.xclient);
            break;
        default:
            break;
        }
        XFlush(anzeige);
    }
}
