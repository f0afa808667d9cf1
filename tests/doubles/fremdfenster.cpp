// A foreign program for the window-automation tests: plain Xlib windows with
// chosen classes and captions that report, one line each on standard output,
// what reaches them.
//
//   fremdfenster [--wm | --alter-wm] WINDOW...
//   --fenster NAME CLASS CAPTION   a top-level window
//   --kind NAME CLASS TEXT         a window inside the last top-level window
//   --in NAME CLASS TEXT           a window inside the last inner window
//   --feld NAME CLASS TEXT         a text field inside the last top-level
//                                  window: keys the window gets are its keys
//   --verborgen                    the last window stays unmapped
//   --erscheint-bei KEY            the last top-level window stays unmapped
//                                  until any window gets KEY (e.g. "<C-h>")
//   --nur-wmname                   the last window's text only as Latin-1 WM_NAME
//   --wm                           also be the window manager: report the
//                                  requests sent to the root window, keep
//                                  the EWMH list of windows (--alter-wm: without it)
// In a caption "\0" stands for a NUL character.
//
// Output: "ID NAME 0x…" per window, then "BEREIT"; afterwards "KLICK NAME",
// "LOS NAME", "TASTE NAME KEY", "ERSCHIENEN NAME" and, with --wm, "WM …".
// Ctrl+V pastes the clipboard's text, reported as "TASTE NAME TEXT";
// --ablage TEXT makes it the clipboard's owner with that text until another
// program takes it ("ABLAGE-VERLOREN").
// A key is its character, or "<NAME>" for other keys; Ctrl and Alt are
// written as "<C-x>", "<A-x>".

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Fenster
{
    std::string name;
    Window id = 0;
    bool hauptfenster = false;
    bool verborgen = false;
    std::string erscheintBei;
    Window feld = 0;
};

Display *anzeige = nullptr;
std::vector<Fenster> fenster;
bool alsWm = false;

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
        const bool null = text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '0';
        ergebnis.push_back(null ? '\0' : text[i]);
        i += null;
    }
    return ergebnis;
}

void eigenschaft(Window w, Atom name, Atom typ, const std::string &text)
{
    XChangeProperty(anzeige, w, name, typ, 8, PropModeReplace, reinterpret_cast<const unsigned char *>(text.data()),
                    int(text.size()));
}

void setzeText(Window w, const std::string &text, bool nurWmName)
{
    if (!nurWmName) {
        const Atom utf8 = XInternAtom(anzeige, "UTF8_STRING", False);
        eigenschaft(w, XInternAtom(anzeige, "_NET_WM_NAME", False), utf8, text);
        eigenschaft(w, XA_WM_NAME, utf8, text);
        return;
    }
    // Latin-1, as the old property has it (the tests use two-byte UTF-8 only).
    std::string latin1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        latin1.push_back(c == 0xc3 && i + 1 < text.size() ? char(0xc0 | (text[++i] & 0x3f)) : char(c));
    }
    XDeleteProperty(anzeige, w, XInternAtom(anzeige, "_NET_WM_NAME", False));
    eigenschaft(w, XA_WM_NAME, XA_STRING, latin1);
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
    unsigned long code = 0;
    if ((sym >= 0x20 && sym <= 0x7e) || (sym >= 0xa0 && sym <= 0xff))
        code = sym;
    else if ((sym & 0xff000000) == 0x01000000)
        code = sym & 0x00ffffff;
    else if (sym == XK_EuroSign) // as a German keyboard names it
        code = 0x20ac;
    std::string zeichen;
    if (code < 0x80)
        zeichen = {char(code)};
    else if (code < 0x800)
        zeichen = {char(0xc0 | (code >> 6)), char(0x80 | (code & 0x3f))};
    else
        zeichen = {char(0xe0 | (code >> 12)), char(0x80 | ((code >> 6) & 0x3f)), char(0x80 | (code & 0x3f))};
    if (!code) {
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
    return umschalter.empty() && code ? zeichen : "<" + umschalter + zeichen + ">";
}

std::string atomName(Atom a)
{
    char *name = XGetAtomName(anzeige, a);
    const std::string text = name ? name : "?";
    if (name)
        XFree(name);
    return text;
}

void wmNachricht(XClientMessageEvent &e)
{
    const std::string art = atomName(e.message_type);
    std::string text = "WM " + art + " " + nameVon(e.window);
    if (art == "_NET_WM_STATE") {
        text += " " + std::to_string(e.data.l[0]) + " " + atomName(Atom(e.data.l[1]));
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
    const std::vector<std::string> args(argv + 1, argv + argc);
    Window letztesHaupt = 0;
    Window letztesKind = 0;
    bool ewmh = false;
    Window ablage = 0;
    std::string ablageText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--ablage" && i + 1 < args.size()) {
            // Owns the clipboard with this text, as an editor after a copy.
            ablageText = args[++i];
            ablage = XCreateSimpleWindow(anzeige, wurzel, 0, 0, 1, 1, 0, 0, 0);
            XSetSelectionOwner(anzeige, XInternAtom(anzeige, "CLIPBOARD", False), ablage, CurrentTime);
        } else if (a == "--wm" || a == "--alter-wm") {
            alsWm = true;
            ewmh = a == "--wm";
            XSelectInput(anzeige, wurzel, SubstructureRedirectMask | SubstructureNotifyMask);
        } else if (a == "--verborgen") {
            fenster.back().verborgen = true;
        } else if (a == "--nur-wmname") {
            setzeText(fenster.back().id, mitNull(args[i - 1]), true);
        } else if (a == "--erscheint-bei" && i + 1 < args.size()) {
            Fenster *f = finde(letztesHaupt);
            f->verborgen = true;
            f->erscheintBei = args[++i];
        } else if (i + 3 >= args.size() || !(a == "--fenster" || letztesHaupt)) {
            std::fprintf(stderr, "fremdfenster: %s braucht NAME KLASSE TEXT nach einem Fenster\n", a.c_str());
            return 2;
        } else {
            Fenster f;
            f.name = args[i + 1];
            std::string klasse = args[i + 2];
            const std::string text = mitNull(args[i + 3]);
            const int n = int(fenster.size());
            if (a == "--fenster") {
                f.id = XCreateSimpleWindow(anzeige, wurzel, 10, 10 + 30 * n, 400, 200, 1, 0, 0xffffff);
                f.hauptfenster = true;
                letztesHaupt = f.id;
                letztesKind = 0;
                XSelectInput(anzeige, f.id, KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
                if (alsWm)
                    setzeWmState(f.id, NormalState);
            } else if (a == "--kind" || a == "--feld" || a == "--in") {
                const Window eltern = a == "--in" && letztesKind ? letztesKind : letztesHaupt;
                f.id = XCreateSimpleWindow(anzeige, eltern, 5 + (n % 4) * 90, 5 + (n / 4) * 25, 80, 20, 1, 0, 0xeeeeee);
                letztesKind = f.id;
                if (a == "--feld")
                    finde(letztesHaupt)->feld = f.id;
                XSelectInput(anzeige, f.id, ButtonPressMask | ButtonReleaseMask | (a == "--feld" ? KeyPressMask : 0));
            } else {
                std::fprintf(stderr, "fremdfenster: unbekannt: %s\n", a.c_str());
                return 2;
            }
            std::string name = "rufmontest";
            XClassHint hinweis{name.data(), klasse.data()};
            XSetClassHint(anzeige, f.id, &hinweis);
            setzeText(f.id, text, false);
            fenster.push_back(f);
            i += 3;
        }
    }
    if (ewmh) {
        const Atom pruef = XInternAtom(anzeige, "_NET_SUPPORTING_WM_CHECK", False);
        Window pruefFenster = XCreateSimpleWindow(anzeige, wurzel, -10, -10, 1, 1, 0, 0, 0);
        for (const Window w : {pruefFenster, wurzel})
            XChangeProperty(anzeige, w, pruef, XA_WINDOW, 32, PropModeReplace,
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
        case ButtonRelease:
            zeile((e.type == ButtonPress ? "KLICK " : "LOS ") + nameVon(e.xbutton.window));
            break;
        case KeyPress: {
            if (IsModifierKey(XLookupKeysym(&e.xkey, 0)))
                break;
            // A top-level window's keys are its text field's, as a toolkit
            // passes them to its focus widget.
            const Fenster *f = finde(e.xkey.window);
            const Window ziel = f && f->feld ? f->feld : e.xkey.window;
            // Ctrl+V pastes: the clipboard's text is asked for and reported
            // as the keys it stands for.
            if ((e.xkey.state & ControlMask) && !(e.xkey.state & Mod1Mask)
                && (XLookupKeysym(&e.xkey, 0) == XK_v)) {
                XConvertSelection(anzeige, XInternAtom(anzeige, "CLIPBOARD", False),
                                  XInternAtom(anzeige, "UTF8_STRING", False),
                                  XInternAtom(anzeige, "FREMD_EINFUEGEN", False), ziel, e.xkey.time);
                XFlush(anzeige);
                break;
            }
            const std::string t = taste(e.xkey);
            zeile("TASTE " + nameVon(ziel) + " " + t);
            for (Fenster &g : fenster) {
                if (!g.erscheintBei.empty() && g.erscheintBei == t) {
                    g.erscheintBei.clear();
                    if (alsWm)
                        setzeWmState(g.id, NormalState);
                    XMapRaised(anzeige, g.id);
                    XSync(anzeige, False);
                    zeile("ERSCHIENEN " + g.name);
                }
            }
            break;
        }
        case SelectionClear:
            if (e.xselectionclear.window == ablage)
                zeile("ABLAGE-VERLOREN");
            break;
        case SelectionRequest: {
            const XSelectionRequestEvent &r = e.xselectionrequest;
            XEvent antwort{};
            antwort.xselection.type = SelectionNotify;
            antwort.xselection.requestor = r.requestor;
            antwort.xselection.selection = r.selection;
            antwort.xselection.target = r.target;
            antwort.xselection.time = r.time;
            antwort.xselection.property = None;
            if (r.target == XInternAtom(anzeige, "UTF8_STRING", False)) {
                XChangeProperty(anzeige, r.requestor, r.property, r.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char *>(ablageText.data()), int(ablageText.size()));
                antwort.xselection.property = r.property;
            }
            XSendEvent(anzeige, r.requestor, False, 0, &antwort);
            XFlush(anzeige);
            break;
        }
        case SelectionNotify: {
            if (e.xselection.property == None) {
                zeile("EINFUEGEN-LEER " + nameVon(e.xselection.requestor));
                break;
            }
            Atom typ = 0;
            int format = 0;
            unsigned long anzahl = 0;
            unsigned long rest = 0;
            unsigned char *daten = nullptr;
            XGetWindowProperty(anzeige, e.xselection.requestor, e.xselection.property, 0, 65536, True,
                               AnyPropertyType, &typ, &format, &anzahl, &rest, &daten);
            if (daten) {
                zeile("TASTE " + nameVon(e.xselection.requestor) + " "
                      + std::string(reinterpret_cast<const char *>(daten), anzahl));
                XFree(daten);
            }
            break;
        }
        case MapRequest:
            setzeWmState(e.xmaprequest.window, NormalState);
            XMapWindow(anzeige, e.xmaprequest.window);
            zeile("WM MAP " + nameVon(e.xmaprequest.window));
            break;
        case ConfigureRequest: {
            const XConfigureRequestEvent &r = e.xconfigurerequest;
            XWindowChanges c{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
            XConfigureWindow(anzeige, r.window, static_cast<unsigned int>(r.value_mask), &c);
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
