#include "platform/desktop/X11Desktop.h"

#include "platform/desktop/DiagnoseFenster.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QSocketNotifier>
#include <QTimer>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include <unistd.h>

// Xlib defines macros (None, Bool, Status, …) that clash with Qt's names: it
// comes after every Qt header and nowhere but here.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace Qt::StringLiterals;

namespace {

// Windows vanish while they are looked at; such errors on our connection
// are expected and must not end the program, as Xlib's default handler
// would. Errors of other connections in the process go where they went.
std::vector<Display *> unsereAnzeigen;
int (*vorigerHandler)(Display *, XErrorEvent *) = nullptr;

int fehlerUebergehen(Display *anzeige, XErrorEvent *fehler)
{
    if (std::find(unsereAnzeigen.begin(), unsereAnzeigen.end(), anzeige) != unsereAnzeigen.end() || !vorigerHandler)
        return 0;
    return vorigerHandler(anzeige, fehler);
}

// A property of a window, as raw bytes (at most 64 KiB).
struct Eigenschaft
{
    Atom typ = 0;
    int format = 0;
    QByteArray daten;
    unsigned long anzahl = 0;
};

std::optional<Eigenschaft> lies(Display *anzeige, Window fenster, Atom name)
{
    Atom typ = 0;
    int format = 0;
    unsigned long anzahl = 0;
    unsigned long rest = 0;
    unsigned char *daten = nullptr;
    if (XGetWindowProperty(anzeige, fenster, name, 0, 16384, False, AnyPropertyType, &typ, &format, &anzahl, &rest,
                           &daten)
            != Success
        || typ == 0) {
        if (daten)
            XFree(daten);
        return std::nullopt;
    }
    Eigenschaft e;
    e.typ = typ;
    e.format = format;
    e.anzahl = anzahl;
    // Xlib hands 32-bit items as longs.
    const qsizetype groesse = format == 32 ? qsizetype(anzahl * sizeof(long)) : qsizetype(anzahl * (format / 8));
    e.daten = QByteArray(reinterpret_cast<const char *>(daten), groesse);
    XFree(daten);
    return e;
}

std::vector<Window> kinderVon(Display *anzeige, Window fenster, Window *eltern = nullptr)
{
    Window wurzel = 0;
    Window oben = 0;
    Window *kinder = nullptr;
    unsigned int anzahl = 0;
    std::vector<Window> ergebnis;
    if (XQueryTree(anzeige, fenster, &wurzel, &oben, &kinder, &anzahl)) {
        ergebnis.assign(kinder, kinder + anzahl);
        if (eltern)
            *eltern = oben;
    }
    if (kinder)
        XFree(kinder);
    return ergebnis;
}

long zuTasten(Taste t)
{
    switch (t) {
    case Taste::Zeichen: return NoSymbol;
    case Taste::Enter: return XK_Return;
    case Taste::Tab: return XK_Tab;
    case Taste::Pos1: return XK_Home;
    case Taste::Ende: return XK_End;
    case Taste::Esc: return XK_Escape;
    case Taste::Rueckschritt: return XK_BackSpace;
    case Taste::Entf: return XK_Delete;
    case Taste::Einfg: return XK_Insert;
    case Taste::Hoch: return XK_Up;
    case Taste::Runter: return XK_Down;
    case Taste::Links: return XK_Left;
    case Taste::Rechts: return XK_Right;
    case Taste::BildHoch: return XK_Prior;
    case Taste::BildRunter: return XK_Next;
    case Taste::Feststell: return XK_Caps_Lock;
    case Taste::Num: return XK_Num_Lock;
    case Taste::Rollen: return XK_Scroll_Lock;
    case Taste::Druck: return XK_Print;
    case Taste::Pause: return XK_Pause;
    case Taste::Hilfe: return XK_Help;
    case Taste::Leeren: return XK_Clear;
    case Taste::Plus: return XK_KP_Add;
    case Taste::Minus: return XK_KP_Subtract;
    case Taste::Mal: return XK_KP_Multiply;
    case Taste::Durch: return XK_KP_Divide;
    default: break;
    }
    const int n = int(t) - int(Taste::F1);
    return n >= 0 && n < 16 ? long(XK_F1 + n) : long(NoSymbol);
}

KeySym zeichenTaste(char32_t z)
{
    if (z == U'\r' || z == U'\n')
        return XK_Return;
    if (z == U'\t')
        return XK_Tab;
    if ((z >= 0x20 && z <= 0x7e) || (z >= 0xa0 && z <= 0xff))
        return KeySym(z);
    return KeySym(0x01000000 | z);
}

// The character a key sym stands for; 0 for none. Layouts name some
// characters by their old key syms ("€" is EuroSign), others by Unicode.
char32_t zeichenVon(KeySym sym)
{
    if ((sym >= 0x20 && sym <= 0x7e) || (sym >= 0xa0 && sym <= 0xff))
        return char32_t(sym);
    if ((sym & 0xff000000) == 0x01000000)
        return char32_t(sym & 0x00ffffff);
    if (sym == XK_EuroSign)
        return U'€';
    return 0;
}

bool gleich(KeySym a, KeySym b)
{
    if (a == b)
        return a != NoSymbol;
    const char32_t z = zeichenVon(a);
    return z && z == zeichenVon(b);
}

} // namespace

struct X11Desktop::Verbindung
{
    Display *anzeige = nullptr;
    bool versucht = false;
    Window wurzel = 0;
    // Characters the keyboard map lacked, on the spare key codes given them,
    // with when each was last used.
    struct Ersatz
    {
        KeyCode code = 0;
        unsigned long takt = 0;
    };
    std::map<KeySym, Ersatz> ersatz;
    unsigned long takt = 0;
    QString tippfehler;
    // The clipboard while we hold it: what a program that pastes gets, on
    // a window of our own that is never shown. Served whenever the event
    // loop runs, and meanwhile while we wait for a paste.
    bool ohneVerwaltungGesagt = false;
    Window ablage = 0;
    bool besitzt = false;
    QByteArray angeboten;
    std::unique_ptr<QSocketNotifier> melder;

    Atom atom(const char *name) const { return XInternAtom(anzeige, name, False); }

    // Both parts of WM_CLASS, instance and class, in lower case; empty when
    // the window has none.
    std::pair<QString, QString> klassenteile(Window w) const
    {
        XClassHint hinweis{};
        if (!XGetClassHint(anzeige, w, &hinweis))
            return {};
        std::pair<QString, QString> teile{QString::fromLocal8Bit(hinweis.res_name ? hinweis.res_name : "").toLower(),
                                          QString::fromLocal8Bit(hinweis.res_class ? hinweis.res_class : "").toLower()};
        if (hinweis.res_name)
            XFree(hinweis.res_name);
        if (hinweis.res_class)
            XFree(hinweis.res_class);
        return teile;
    }

    bool hatWmState(Window w) const { return lies(anzeige, w, atom("WM_STATE")).has_value(); }

    // Below a window manager's frame: the program's own window, the one that
    // carries WM_STATE.
    Window programmfenster(Window w) const
    {
        if (hatWmState(w))
            return w;
        for (Window kind : kinderVon(anzeige, w)) {
            if (const Window gefunden = programmfenster(kind); gefunden)
                return gefunden;
        }
        return 0;
    }

    enum class Verwaltung { Keine, Ewmh, Alt };

    // Whether a window manager runs, and whether it keeps the EWMH lists.
    Verwaltung verwaltung() const
    {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(anzeige, wurzel, &a) || !(a.all_event_masks & SubstructureRedirectMask))
            return Verwaltung::Keine;
        // An EWMH manager names a window on the root that names itself.
        const Atom pruef = atom("_NET_SUPPORTING_WM_CHECK");
        const auto auf = [&](Window w) -> Window {
            const auto e = lies(anzeige, w, pruef);
            if (!e || e->format != 32 || e->anzahl < 1)
                return 0;
            long f = 0;
            std::memcpy(&f, e->daten.constData(), sizeof f);
            return Window(f);
        };
        const Window pruefFenster = auf(wurzel);
        return pruefFenster && auf(pruefFenster) == pruefFenster ? Verwaltung::Ewmh : Verwaltung::Alt;
    }

    std::vector<Fenster> fensterliste(const char *name) const
    {
        std::vector<Fenster> liste;
        const auto e = lies(anzeige, wurzel, atom(name));
        if (!e || e->format != 32)
            return liste;
        for (unsigned long i = 0; i < e->anzahl; ++i) {
            long f = 0;
            std::memcpy(&f, e->daten.constData() + i * sizeof(long), sizeof f);
            liste.push_back(Fenster(f));
        }
        return liste;
    }

    void sammle(Window w, std::vector<Fenster> &ziel) const
    {
        for (Window kind : kinderVon(anzeige, w)) {
            ziel.push_back(kind);
            sammle(kind, ziel);
        }
    }

    Window ablagefenster()
    {
        if (!ablage) {
            ablage = XCreateWindow(anzeige, wurzel, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, 0, nullptr);
            melder = std::make_unique<QSocketNotifier>(ConnectionNumber(anzeige), QSocketNotifier::Read);
            QObject::connect(melder.get(), &QSocketNotifier::activated, melder.get(), [this] { bediene(); });
        }
        return ablage;
    }

    // A request that Xlib has already read off the connection while we
    // waited for something else no longer wakes the socket: it is answered
    // when the event loop next runs, or a program pasting from us waits in vain.
    void spaeterBedienen()
    {
        if (!melder)
            return;
        QTimer::singleShot(0, melder.get(), [this] { bediene(); });
    }

    // Answers the requests for our clipboard; true when one asked for text.
    bool bediene()
    {
        bool textGeholt = false;
        while (XPending(anzeige)) {
            XEvent e;
            XNextEvent(anzeige, &e);
            if (e.type == SelectionClear && e.xselectionclear.window == ablage) {
                besitzt = false;
            } else if (e.type == SelectionRequest && e.xselectionrequest.owner == ablage) {
                textGeholt = beantworte(e.xselectionrequest) || textGeholt;
            }
        }
        return textGeholt;
    }

    bool beantworte(const XSelectionRequestEvent &r)
    {
        const Atom utf8 = atom("UTF8_STRING");
        const Atom ziele = atom("TARGETS");
        const Atom eigenschaft = r.property ? r.property : r.target;
        bool text = false;
        bool ok = besitzt;
        if (ok && r.target == ziele) {
            const Atom liste[] = {ziele, utf8, XA_STRING, atom("TEXT")};
            XChangeProperty(anzeige, r.requestor, eigenschaft, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(liste), 4);
        } else if (ok && (r.target == utf8 || r.target == atom("TEXT"))) {
            XChangeProperty(anzeige, r.requestor, eigenschaft, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(angeboten.constData()), int(angeboten.size()));
            text = true;
        } else if (ok && r.target == XA_STRING) {
            const QByteArray latin1 = QString::fromUtf8(angeboten).toLatin1();
            XChangeProperty(anzeige, r.requestor, eigenschaft, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(latin1.constData()), int(latin1.size()));
            text = true;
        } else {
            ok = false;
        }
        XEvent antwort{};
        antwort.xselection.type = SelectionNotify;
        antwort.xselection.requestor = r.requestor;
        antwort.xselection.selection = r.selection;
        antwort.xselection.target = r.target;
        antwort.xselection.property = ok ? eigenschaft : None;
        antwort.xselection.time = r.time;
        XSendEvent(anzeige, r.requestor, False, 0, &antwort);
        XFlush(anzeige);
        return text;
    }

    // The clipboard's text as its owner gives it; nothing when it has none.
    std::optional<QByteArray> clipboardText()
    {
        if (besitzt)
            return angeboten;
        const Atom clipboard = atom("CLIPBOARD");
        if (XGetSelectionOwner(anzeige, clipboard) == None)
            return std::nullopt;
        const Atom ziel = atom("RUFMON_ABLAGE");
        XConvertSelection(anzeige, clipboard, atom("UTF8_STRING"), ziel, ablagefenster(), CurrentTime);
        XFlush(anzeige);
        const QDeadlineTimer ende(500);
        while (!ende.hasExpired()) {
            XEvent e;
            if (XCheckTypedWindowEvent(anzeige, ablage, SelectionNotify, &e)) {
                if (e.xselection.property == None)
                    return std::nullopt;
                auto text = lies(anzeige, ablage, ziel);
                XDeleteProperty(anzeige, ablage, ziel);
                if (!text || text->format != 8 || text->typ == atom("INCR"))
                    return std::nullopt;
                return text->daten;
            }
            QThread::msleep(5);
        }
        return std::nullopt;
    }

    // Pastes `text` with Ctrl+V into the window that has the focus and gives
    // the clipboard its text back; false when nobody took the text.
    bool fuegeEin(const QString &text, KeyCode strg, KeyCode v)
    {
        if (!strg || !v)
            return false;
        const std::optional<QByteArray> vorher = clipboardText();
        const Atom clipboard = atom("CLIPBOARD");
        angeboten = text.toUtf8();
        XSetSelectionOwner(anzeige, clipboard, ablagefenster(), CurrentTime);
        besitzt = XGetSelectionOwner(anzeige, clipboard) == ablage;
        if (!besitzt)
            return false;
        XTestFakeKeyEvent(anzeige, strg, True, CurrentTime);
        XTestFakeKeyEvent(anzeige, v, True, CurrentTime);
        XTestFakeKeyEvent(anzeige, v, False, CurrentTime);
        XTestFakeKeyEvent(anzeige, strg, False, CurrentTime);
        XFlush(anzeige);
        bool geholt = false;
        // A busy desktop may take its time to ask.
        const QDeadlineTimer ende(3000);
        while (!geholt && !ende.hasExpired()) {
            geholt = bediene();
            if (!geholt)
                QThread::msleep(5);
        }
        if (!geholt)
            qCWarning(lcFenster) << "Einfügen nicht angenommen:" << text.size() << "Zeichen";
        if (vorher) {
            angeboten = *vorher;
        } else {
            XSetSelectionOwner(anzeige, clipboard, None, CurrentTime);
            besitzt = false;
            angeboten.clear();
        }
        XFlush(anzeige);
        return geholt;
    }

    void nachricht(Window w, const char *typ, long l0, long l1, long l2, long l3)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = atom(typ);
        e.xclient.format = 32;
        e.xclient.data.l[0] = l0;
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        XSendEvent(anzeige, wurzel, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    }
};

X11Desktop::X11Desktop()
    : d(std::make_unique<Verbindung>())
{
}

X11Desktop::~X11Desktop()
{
    if (!d->anzeige)
        return;
    // Only codes that still carry our character: a layout loaded meanwhile
    // may have given them real keys.
    KeySym leer[2] = {NoSymbol, NoSymbol};
    for (const auto &[taste, ersatz] : d->ersatz) {
        int jeTaste = 0;
        KeySym *jetzt = XGetKeyboardMapping(d->anzeige, ersatz.code, 1, &jeTaste);
        if (jetzt && jeTaste > 0 && jetzt[0] == taste)
            XChangeKeyboardMapping(d->anzeige, ersatz.code, 2, leer, 1);
        if (jetzt)
            XFree(jetzt);
    }
    d->melder.reset();
    if (d->ablage)
        XDestroyWindow(d->anzeige, d->ablage);
    XCloseDisplay(d->anzeige);
    std::erase(unsereAnzeigen, d->anzeige);
}

bool X11Desktop::verbunden()
{
    if (!d->versucht) {
        d->versucht = true;
        // No DISPLAY, no desktop: nothing to find, nothing to type.
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            d->anzeige = XOpenDisplay(nullptr);
            if (d->anzeige) {
                d->wurzel = DefaultRootWindow(d->anzeige);
                unsereAnzeigen.push_back(d->anzeige);
                if (!vorigerHandler) {
                    vorigerHandler = XSetErrorHandler(fehlerUebergehen);
                    if (vorigerHandler == fehlerUebergehen)
                        vorigerHandler = nullptr;
                }
            }
        }
    }
    return d->anzeige != nullptr;
}

std::vector<Fenster> X11Desktop::Hauptfenster()
{
    std::vector<Fenster> ergebnis;
    if (!verbunden())
        return ergebnis;
    const std::vector<Window> oben = kinderVon(d->anzeige, d->wurzel);
    switch (d->verwaltung()) {
    case Verbindung::Verwaltung::Keine:
        // Without a window manager the root's children are the programs' windows.
        ergebnis.assign(oben.begin(), oben.end());
        break;
    case Verbindung::Verwaltung::Ewmh:
        ergebnis = d->fensterliste("_NET_CLIENT_LIST_STACKING");
        if (ergebnis.empty())
            ergebnis = d->fensterliste("_NET_CLIENT_LIST");
        if (!ergebnis.empty())
            break;
        [[fallthrough]];
    case Verbindung::Verwaltung::Alt:
        // Below each frame, the window that carries WM_STATE.
        for (Window w : oben) {
            const Window programm = d->programmfenster(w);
            ergebnis.push_back(programm ? programm : w);
        }
        break;
    }
    return ergebnis;
}

std::vector<Fenster> X11Desktop::Kindfenster(Fenster fenster)
{
    std::vector<Fenster> ergebnis;
    if (!fenster || !verbunden())
        return ergebnis;
    d->sammle(Window(fenster), ergebnis);
    return ergebnis;
}

QString X11Desktop::Klasse(Fenster fenster)
{
    if (!fenster || !verbunden())
        return QString();
    const auto [name, klasse] = d->klassenteile(Window(fenster));
    if (name.isEmpty() || name == klasse)
        return klasse;
    if (klasse.isEmpty())
        return name;
    return name + u' ' + klasse;
}

QString X11Desktop::Text(Fenster fenster)
{
    if (!fenster || !verbunden())
        return QString();
    if (auto netName = lies(d->anzeige, Window(fenster), d->atom("_NET_WM_NAME")); netName && netName->format == 8)
        return QString::fromUtf8(netName->daten);
    auto name = lies(d->anzeige, Window(fenster), XA_WM_NAME);
    if (!name || name->format != 8)
        return QString();
    if (name->typ == XA_STRING)
        return QString::fromLatin1(name->daten);
    if (name->typ == d->atom("UTF8_STRING"))
        return QString::fromUtf8(name->daten);
    // COMPOUND_TEXT and the like: Xlib converts.
    XTextProperty text{};
    text.value = reinterpret_cast<unsigned char *>(name->daten.data());
    text.encoding = name->typ;
    text.format = 8;
    text.nitems = static_cast<unsigned long>(name->daten.size());
    char **liste = nullptr;
    int anzahl = 0;
    QString ergebnis;
    if (Xutf8TextPropertyToTextList(d->anzeige, &text, &liste, &anzahl) >= Success && liste) {
        for (int i = 0; i < anzahl; ++i)
            ergebnis += (i ? QString(QChar(0)) : QString()) + QString::fromUtf8(liste[i]);
        XFreeStringList(liste);
    }
    return ergebnis;
}

std::optional<QString> X11Desktop::Listenauswahl(Fenster)
{
    // X has no list box of its own whose selection another program could ask for.
    return std::nullopt;
}

bool X11Desktop::Sichtbar(Fenster fenster)
{
    if (!fenster || !verbunden())
        return false;
    XWindowAttributes a{};
    return XGetWindowAttributes(d->anzeige, Window(fenster), &a) && a.map_state == IsViewable;
}

Fenster X11Desktop::Elternfenster(Fenster fenster)
{
    if (!fenster || !verbunden())
        return 0;
    if (d->hatWmState(Window(fenster)))
        return 0;
    Window eltern = 0;
    kinderVon(d->anzeige, Window(fenster), &eltern);
    return eltern == d->wurzel ? 0 : eltern;
}

Fenster X11Desktop::Finde(const QString &klasse, const QString &text)
{
    const std::vector<Fenster> alle = Hauptfenster();
    for (auto it = alle.rbegin(); it != alle.rend(); ++it) {
        if (Text(*it).compare(text, Qt::CaseInsensitive) != 0)
            continue;
        if (klasse.isEmpty())
            return *it;
        const auto [name, klasseDesFensters] = d->klassenteile(Window(*it));
        if ((!name.isEmpty() && klasse.compare(name, Qt::CaseInsensitive) == 0)
            || (!klasseDesFensters.isEmpty() && klasse.compare(klasseDesFensters, Qt::CaseInsensitive) == 0))
            return *it;
    }
    return 0;
}

void X11Desktop::Klick(Fenster fenster)
{
    if (!fenster || !verbunden())
        return;
    int x = 0;
    int y = 0;
    Window kind = 0;
    XTranslateCoordinates(d->anzeige, Window(fenster), d->wurzel, 0, 0, &x, &y, &kind);
    for (const int typ : {ButtonPress, ButtonRelease}) {
        XEvent e{};
        e.xbutton.type = typ;
        e.xbutton.window = Window(fenster);
        e.xbutton.root = d->wurzel;
        e.xbutton.time = CurrentTime;
        e.xbutton.x_root = x;
        e.xbutton.y_root = y;
        e.xbutton.same_screen = True;
        e.xbutton.button = Button1;
        XSendEvent(d->anzeige, Window(fenster), True, typ == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
                   &e);
    }
    XFlush(d->anzeige);
}

bool X11Desktop::Aktiviere(Fenster fenster)
{
    if (!fenster || !verbunden())
        return false;
    XWindowAttributes a{};
    if (!XGetWindowAttributes(d->anzeige, Window(fenster), &a))
        return false;
    // The window manager raises and focuses on request (and restores a
    // minimised window); without one the program does it itself, which a
    // program with a focus of its own (one under Wine) may not follow.
    if (d->verwaltung() == Verbindung::Verwaltung::Keine && !std::exchange(d->ohneVerwaltungGesagt, true))
        qCWarning(lcFenster) << "Kein Fenstermanager: Fenster" << Qt::hex << fenster
                             << "bekommt nur den X-Fokus; Programme unter Wine folgen ihm nicht";
    d->nachricht(Window(fenster), "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0, 0);
    XRaiseWindow(d->anzeige, Window(fenster));
    if (a.map_state == IsViewable)
        XSetInputFocus(d->anzeige, Window(fenster), RevertToParent, CurrentTime);
    XFlush(d->anzeige);
    return true;
}

void X11Desktop::ImmerOben(Fenster fenster, bool an)
{
    if (!fenster || !verbunden())
        return;
    d->nachricht(Window(fenster), "_NET_WM_STATE", an ? 1 : 0, long(d->atom("_NET_WM_STATE_ABOVE")), 0, 2);
    XFlush(d->anzeige);
}

bool X11Desktop::Minimiert(Fenster fenster)
{
    if (!fenster || !verbunden())
        return false;
    const Atom wmState = d->atom("WM_STATE");
    if (auto s = lies(d->anzeige, Window(fenster), wmState); s && s->format == 32 && s->anzahl >= 1) {
        long zustand = 0;
        std::memcpy(&zustand, s->daten.constData(), sizeof zustand);
        if (zustand == IconicState)
            return true;
    }
    if (auto s = lies(d->anzeige, Window(fenster), d->atom("_NET_WM_STATE")); s && s->format == 32) {
        const Atom versteckt = d->atom("_NET_WM_STATE_HIDDEN");
        for (unsigned long i = 0; i < s->anzahl; ++i) {
            long a = 0;
            std::memcpy(&a, s->daten.constData() + i * sizeof(long), sizeof a);
            if (Atom(a) == versteckt)
                return true;
        }
    }
    return false;
}

void X11Desktop::Minimiere(Fenster fenster)
{
    if (!fenster || !verbunden())
        return;
    XIconifyWindow(d->anzeige, Window(fenster), DefaultScreen(d->anzeige));
    XFlush(d->anzeige);
}

void X11Desktop::Wiederherstellen(Fenster fenster)
{
    if (!fenster || !verbunden())
        return;
    // Mapping an iconic window asks the window manager for its normal state.
    XMapWindow(d->anzeige, Window(fenster));
    d->nachricht(Window(fenster), "_NET_ACTIVE_WINDOW", 2, CurrentTime, 0, 0);
    XFlush(d->anzeige);
}

QString X11Desktop::Tippfehler() const
{
    return d->tippfehler;
}

bool X11Desktop::VomEigenenProgramm(Fenster fenster)
{
    if (!fenster || !verbunden())
        return false;
    const Atom pidAtom = d->atom("_NET_WM_PID");
    const auto eigen = [&](Window w) -> std::optional<bool> {
        const auto e = lies(d->anzeige, w, pidAtom);
        if (!e || e->format != 32 || e->anzahl < 1)
            return std::nullopt;
        long pid = 0;
        std::memcpy(&pid, e->daten.constData(), sizeof pid);
        return pid == long(getpid());
    };
    Window w = Window(fenster);
    for (int tiefe = 0; w && w != d->wurzel && tiefe < 64; ++tiefe) {
        if (const auto ja = eigen(w))
            return *ja;
        // A window manager's frame: the program's window inside it tells.
        if (const Window programm = d->programmfenster(w); programm && programm != w) {
            if (const auto ja = eigen(programm))
                return *ja;
        }
        Window eltern = 0;
        kinderVon(d->anzeige, w, &eltern);
        w = eltern;
    }
    return false;
}

std::size_t X11Desktop::Tippe(const std::vector<Tastendruck> &tasten)
{
    d->tippfehler.clear();
    // Without a desktop there is nothing to type into, and no key the
    // keyboard could not produce.
    if (tasten.empty() || !verbunden())
        return tasten.size();
    Display *anzeige = d->anzeige;
    Window fokus = 0;
    int zurueck = 0;
    XGetInputFocus(anzeige, &fokus, &zurueck);
    if (fokus != None && fokus != PointerRoot && VomEigenenProgramm(fokus)) {
        d->tippfehler = u"Der Tastaturfokus liegt auf einem Fenster von Rufmon selbst"_s;
        return 0;
    }
    int ereignis = 0;
    int fehler = 0;
    int haupt = 0;
    int neben = 0;
    if (!XTestQueryExtension(anzeige, &ereignis, &fehler, &haupt, &neben))
        return tasten.size();

    // The keyboard map as it is now, not as Xlib cached it: the user may have
    // switched layouts since the last call.
    int erster = 0;
    int letzter = 0;
    XDisplayKeycodes(anzeige, &erster, &letzter);
    int jeTaste = 0;
    KeySym *karte = XGetKeyboardMapping(anzeige, KeyCode(erster), letzter - erster + 1, &jeTaste);
    if (!karte)
        return tasten.size();
    auto symbol = [&](int code, int i) { return i < jeTaste ? karte[(code - erster) * jeTaste + i] : KeySym(NoSymbol); };
    int gruppe = 0;
    XkbStateRec zustand{};
    if (XkbGetState(anzeige, XkbUseCoreKbd, &zustand) == Success && zustand.group < 2)
        gruppe = zustand.group;

    // Where a key sym lies: the key code, and whether Shift and AltGr give it.
    struct Ort
    {
        KeyCode code = 0;
        bool shift = false;
        bool altgr = false;
    };
    auto finde = [&](KeySym sym) -> Ort {
        for (int code = erster; code <= letzter; ++code) {
            int g = gruppe;
            if (symbol(code, 2 * g) == NoSymbol && symbol(code, 2 * g + 1) == NoSymbol)
                g = 0; // a key of one group serves every group
            if (gleich(symbol(code, 2 * g), sym))
                return {KeyCode(code), false};
            if (gleich(symbol(code, 2 * g + 1), sym))
                return {KeyCode(code), true};
        }
        return {};
    };
    // The third and fourth level (AltGr, AltGr with Shift), which the core
    // map lists after both groups' first two levels: "@" and "€" on a German
    // keyboard. A real key rather than a spare one, which not every program
    // reads (Wine does not).
    const KeyCode altgr = finde(XK_ISO_Level3_Shift).code;
    auto findeMitAltGr = [&](KeySym sym) -> Ort {
        if (!altgr)
            return {};
        for (int code = erster; code <= letzter; ++code) {
            for (const int g : {gruppe, 0}) {
                if (gleich(symbol(code, 4 + 2 * g), sym))
                    return {KeyCode(code), false, true};
                if (gleich(symbol(code, 5 + 2 * g), sym))
                    return {KeyCode(code), true, true};
            }
        }
        return {};
    };
    auto frei = [&](int code) {
        for (int i = 0; i < jeTaste; ++i) {
            if (symbol(code, i) != NoSymbol)
                return false;
        }
        return true;
    };
    // A character the map lacks gets a key code nobody uses; it keeps it, so
    // that a program that takes the key late still reads the right character.
    std::set<KeyCode> inDiesemAufruf;
    auto ersatzFuer = [&](KeySym sym) -> Ort {
        if (auto it = d->ersatz.find(sym); it != d->ersatz.end() && symbol(it->second.code, 0) == sym) {
            it->second.takt = ++d->takt;
            inDiesemAufruf.insert(it->second.code);
            return {it->second.code, false};
        }
        d->ersatz.erase(sym);
        KeyCode code = 0;
        for (int c = letzter; c >= erster && !code; --c) {
            if (frei(c))
                code = KeyCode(c);
        }
        if (!code) {
            // Every spare code is taken: the one used longest ago is given
            // again — but never one this call has typed, whose presses the
            // program may not have read yet.
            auto alt = d->ersatz.end();
            for (auto it = d->ersatz.begin(); it != d->ersatz.end(); ++it) {
                if (!inDiesemAufruf.count(it->second.code) && (alt == d->ersatz.end() || it->second.takt < alt->second.takt))
                    alt = it;
            }
            if (alt == d->ersatz.end())
                return {};
            code = alt->second.code;
            d->ersatz.erase(alt);
        }
        KeySym paar[2] = {sym, sym};
        XChangeKeyboardMapping(anzeige, code, 2, paar, 1);
        // The next look-up in this call must see the code as taken.
        for (int i = 0; i < jeTaste; ++i)
            karte[(code - erster) * jeTaste + i] = i < 2 ? sym : NoSymbol;
        d->ersatz[sym] = {code, ++d->takt};
        inDiesemAufruf.insert(code);
        return {code, false};
    };

    const KeyCode shift = finde(XK_Shift_L).code;
    const KeyCode strg = finde(XK_Control_L).code;
    KeyCode alt = finde(XK_Alt_L).code;
    if (!alt)
        alt = finde(XK_Meta_L).code;

    const KeyCode v = finde(XK_v).code;
    // What no key carries and no modifier comes with: pasted.
    auto nurEinfuegen = [&](const Tastendruck &t) {
        if (t.taste != Taste::Zeichen || t.strg || t.alt || t.shift)
            return false;
        const KeySym sym = zeichenTaste(t.zeichen);
        return !finde(sym).code && !findeMitAltGr(sym).code;
    };

    std::size_t getippt = 0;
    for (; getippt < tasten.size(); ++getippt) {
        const Tastendruck &t = tasten[getippt];
        if (nurEinfuegen(t)) {
            // A run of such characters in one go.
            std::size_t bis = getippt;
            QString text;
            for (; bis < tasten.size() && nurEinfuegen(tasten[bis]); ++bis)
                text += QString::fromUcs4(&tasten[bis].zeichen, 1);
            if (d->fuegeEin(text, strg, v)) {
                getippt = bis - 1;
                continue;
            }
        }
        const KeySym sym = t.taste == Taste::Zeichen ? zeichenTaste(t.zeichen) : KeySym(zuTasten(t.taste));
        if (sym == NoSymbol)
            continue;
        Ort ort = finde(sym);
        if (!ort.code)
            ort = findeMitAltGr(sym);
        // A program that does not paste gets the character on a spare key.
        if (!ort.code)
            ort = ersatzFuer(sym);
        if (!ort.code)
            break;
        std::vector<KeyCode> gehalten;
        if (t.strg && strg)
            gehalten.push_back(strg);
        if (t.alt && alt)
            gehalten.push_back(alt);
        if ((t.shift || ort.shift) && shift)
            gehalten.push_back(shift);
        if (ort.altgr)
            gehalten.push_back(altgr);
        for (KeyCode m : gehalten)
            XTestFakeKeyEvent(anzeige, m, True, CurrentTime);
        XTestFakeKeyEvent(anzeige, ort.code, True, CurrentTime);
        XTestFakeKeyEvent(anzeige, ort.code, False, CurrentTime);
        for (auto it = gehalten.rbegin(); it != gehalten.rend(); ++it)
            XTestFakeKeyEvent(anzeige, *it, False, CurrentTime);
    }
    XFree(karte);
    XFlush(anzeige);
    d->spaeterBedienen();
    return getippt;
}
