// A stand-in of ACT! for the tests under Wine: a main window of the class
// ACT! has, its automation object ACTOLE.APPOBJECT as a COM local server,
// the timer dialog with its Start button and the history dialog, opened
// with Ctrl+H and captioned with the contact's name. Everything it is asked,
// clicked and given is written to a log, one line each, in UTF-8.
//
//   actstandin.exe /regserver              registers the automation object
//   actstandin.exe LOG DATENBANK ID=NAME…  runs; the first contact is shown
//
// With the environment variable STANDIN_KEIN_COM set it runs without its
// automation object; with STANDIN_PROTOKOLL_OFFEN=ID it starts with that
// contact's history dialog open; with STANDIN_HINWEIS set a notice window of
// its own takes the focus as soon as the first field gets text. It ends
// when its standard input closes.

#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

namespace {

// {6B1E5F4A-3C2D-4E7F-9A8B-0C1D2E3F4A5B}
const CLSID KlasseAnwendung = {0x6b1e5f4a, 0x3c2d, 0x4e7f, {0x9a, 0x8b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};
const wchar_t ProgId[] = L"ACTOLE.APPOBJECT";
constexpr int TimerBefehl = 310;

std::wstring logPfad;
std::wstring datenbank;
std::vector<std::pair<std::wstring, std::wstring>> kontakte; // id, name
size_t aktuell = 0;
HWND hauptfenster = nullptr;
HWND timerDialog = nullptr;
HWND protokollDialog = nullptr;
long objekte = 0;

void protokolliere(const std::wstring &zeile)
{
    FILE *datei = _wfopen(logPfad.c_str(), L"ab");
    if (!datei)
        return;
    const std::wstring text = zeile + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8.data(), n, nullptr, nullptr);
    fwrite(utf8.data(), 1, utf8.size(), datei);
    fclose(datei);
}

std::wstring klein(std::wstring text)
{
    for (wchar_t &c : text)
        c = wchar_t(std::towlower(c));
    return text;
}

std::wstring gepolstert(std::wstring id)
{
    while (id.size() < 12)
        id += L' ';
    return id;
}

// --- dialogs from templates in memory ---------------------------------------

struct Vorlage
{
    std::vector<WORD> daten;

    void ausrichten()
    {
        if (daten.size() % 2)
            daten.push_back(0);
    }
    void text(const std::wstring &t)
    {
        for (wchar_t c : t)
            daten.push_back(WORD(c));
        daten.push_back(0);
    }
    void dword(DWORD d)
    {
        daten.push_back(LOWORD(d));
        daten.push_back(HIWORD(d));
    }
    void kopf(const std::wstring &titel, short breite, short hoehe, WORD elemente)
    {
        dword(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
        dword(0);
        daten.push_back(elemente);
        daten.push_back(10);
        daten.push_back(10);
        daten.push_back(WORD(breite));
        daten.push_back(WORD(hoehe));
        daten.push_back(0); // menu
        daten.push_back(0); // class: a dialog
        text(titel);
        daten.push_back(8);
        text(L"MS Shell Dlg");
    }
    void element(WORD klasse, const std::wstring &t, WORD id, DWORD stil, short x, short y, short b, short h)
    {
        ausrichten();
        dword(stil | WS_CHILD | WS_VISIBLE);
        dword(0);
        daten.push_back(WORD(x));
        daten.push_back(WORD(y));
        daten.push_back(WORD(b));
        daten.push_back(WORD(h));
        daten.push_back(id);
        daten.push_back(0xFFFF);
        daten.push_back(klasse);
        text(t);
        daten.push_back(0);
    }
};

constexpr WORD KlasseButton = 0x0080;
constexpr WORD KlasseEdit = 0x0081;
constexpr WORD KlasseStatic = 0x0082;
constexpr WORD KlasseListbox = 0x0083;
constexpr WORD IdArt = 400;
constexpr WORD IdStart = 100;
constexpr WORD IdErstesFeld = 200;

const wchar_t *const Protokollfelder[] = {L"&Datum", L"&Uhrzeit", L"&Nummer", L"&Ort", L"&Bemerkung"};
constexpr int AnzahlFelder = 5;

INT_PTR CALLBACK timerProzedur(HWND dialog, UINT nachricht, WPARAM w, LPARAM)
{
    if (nachricht == WM_COMMAND && LOWORD(w) == IdStart && HIWORD(w) == BN_CLICKED) {
        protokolliere(L"Klick Timer &Start");
        SetWindowTextW(dialog, L"Timer läuft");
        return TRUE;
    }
    if (nachricht == WM_COMMAND && LOWORD(w) == IDCANCEL) {
        DestroyWindow(dialog);
        timerDialog = nullptr;
        return TRUE;
    }
    return FALSE;
}

void oeffneTimer()
{
    if (timerDialog)
        return;
    Vorlage v;
    v.kopf(L"Timer", 160, 60, 2);
    v.element(KlasseButton, L"&Start", IdStart, BS_PUSHBUTTON | WS_TABSTOP, 10, 20, 60, 14);
    v.element(KlasseButton, L"Abbrechen", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 90, 20, 60, 14);
    timerDialog = CreateDialogIndirectW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(v.daten.data()),
                                        hauptfenster, timerProzedur);
}

INT_PTR CALLBACK protokollProzedur(HWND dialog, UINT nachricht, WPARAM w, LPARAM)
{
    if (nachricht == WM_INITDIALOG) {
        // The kind of entry, as ACT! lists it; a call is preselected.
        for (const wchar_t *art : {L"Besuch", L"Anruf", L"Brief"})
            SendDlgItemMessageW(dialog, IdArt, LB_ADDSTRING, 0, LPARAM(art));
        SendDlgItemMessageW(dialog, IdArt, LB_SETCURSEL, 1, 0);
        return TRUE;
    }
    if (nachricht == WM_COMMAND && HIWORD(w) == EN_CHANGE && LOWORD(w) >= IdErstesFeld
        && LOWORD(w) < IdErstesFeld + AnzahlFelder) {
        wchar_t puffer[256] = {};
        GetDlgItemTextW(dialog, LOWORD(w), puffer, 256);
        std::wstring name = Protokollfelder[LOWORD(w) - IdErstesFeld];
        name.erase(0, 1);
        protokolliere(L"Eingabe " + name + L"=" + puffer);
        static bool hinweisGezeigt = false;
        if (GetEnvironmentVariableW(L"STANDIN_HINWEIS", nullptr, 0) && !hinweisGezeigt) {
            hinweisGezeigt = true;
            // As ACT! may show a reminder in the middle of anything.
            HWND hinweis = CreateWindowExW(0, L"ACTHinweis", L"ACT! Hinweis", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200,
                                           200, 300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
            SetForegroundWindow(hinweis);
            protokolliere(L"Hinweis gezeigt");
        }
        return TRUE;
    }
    if (nachricht != WM_COMMAND || HIWORD(w) != BN_CLICKED)
        return FALSE;
    if (LOWORD(w) == IDOK) {
        for (int i = 0; i < AnzahlFelder; ++i) {
            wchar_t puffer[256] = {};
            GetDlgItemTextW(dialog, IdErstesFeld + i, puffer, 256);
            std::wstring name = Protokollfelder[i];
            name.erase(0, 1);
            protokolliere(L"Feld " + name + L"=" + puffer);
        }
        protokolliere(L"Klick Protokoll OK");
    } else if (LOWORD(w) == IDCANCEL) {
        protokolliere(L"Klick Protokoll Abbrechen");
    } else {
        return FALSE;
    }
    DestroyWindow(dialog);
    protokollDialog = nullptr;
    return TRUE;
}

void oeffneProtokoll()
{
    if (protokollDialog || kontakte.empty())
        return;
    Vorlage v;
    v.kopf(L"Protokoll aufzeichnen " + kontakte[aktuell].second, 290, 30 + 16 * AnzahlFelder,
           WORD(2 * AnzahlFelder + 3));
    for (int i = 0; i < AnzahlFelder; ++i) {
        v.element(KlasseStatic, std::wstring(Protokollfelder[i]) + L":", WORD(300 + i), SS_LEFT, 8, short(10 + 16 * i),
                  50, 10);
        v.element(KlasseEdit, L"", WORD(IdErstesFeld + i), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60,
                  short(8 + 16 * i), 150, 12);
    }
    v.element(KlasseListbox, L"", IdArt, WS_BORDER | WS_VSCROLL | WS_TABSTOP, 220, 8, 60, 40);
    const short unten = short(12 + 16 * AnzahlFelder);
    v.element(KlasseButton, L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 60, unten, 50, 14);
    v.element(KlasseButton, L"Abbrechen", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 120, unten, 50, 14);
    protokollDialog = CreateDialogIndirectW(GetModuleHandleW(nullptr),
                                            reinterpret_cast<LPCDLGTEMPLATEW>(v.daten.data()), hauptfenster,
                                            protokollProzedur);
    protokolliere(L"Protokollfenster " + kontakte[aktuell].second);
}

// --- the automation object ---------------------------------------------------

// IDispatch by member name only: no type information, as ACT! has none.
class Objekt : public IDispatch
{
public:
    Objekt() { InterlockedIncrement(&objekte); }
    virtual ~Objekt() { InterlockedDecrement(&objekte); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **aus) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *aus = static_cast<IDispatch *>(this);
            AddRef();
            return S_OK;
        }
        *aus = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&m_zaehler)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const long n = InterlockedDecrement(&m_zaehler);
        if (n == 0)
            delete this;
        return ULONG(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *anzahl) override
    {
        *anzahl = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *namen, UINT anzahl, LCID, DISPID *ids) override
    {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < anzahl; ++i) {
            const auto &tabelle = mitglieder();
            const auto it = tabelle.find(klein(namen[i]));
            ids[i] = it == tabelle.end() ? DISPID_UNKNOWN : it->second;
            if (it == tabelle.end())
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *parameter, VARIANT *ergebnis,
                                     EXCEPINFO *, UINT *) override
    {
        VARIANT leer;
        VariantInit(&leer);
        return rufe(id, *parameter, ergebnis ? *ergebnis : leer);
    }

protected:
    virtual const std::map<std::wstring, DISPID> &mitglieder() const = 0;
    virtual HRESULT rufe(DISPID id, DISPPARAMS &parameter, VARIANT &ergebnis) = 0;

    // The argument at that place, first to last.
    static VARIANT *argument(DISPPARAMS &p, UINT i) { return i < p.cArgs ? &p.rgvarg[p.cArgs - 1 - i] : nullptr; }
    static long zahl(DISPPARAMS &p, UINT i)
    {
        VARIANT *v = argument(p, i);
        if (!v)
            return 0;
        if (v->vt == (VT_I4 | VT_BYREF))
            return *v->plVal;
        VARIANT z;
        VariantInit(&z);
        long wert = 0;
        if (SUCCEEDED(VariantChangeType(&z, v, 0, VT_I4)))
            wert = z.lVal;
        VariantClear(&z);
        return wert;
    }
    static std::wstring text(DISPPARAMS &p, UINT i)
    {
        VARIANT *v = argument(p, i);
        if (!v)
            return {};
        VARIANT z;
        VariantInit(&z);
        std::wstring wert;
        if (SUCCEEDED(VariantChangeType(&z, v, 0, VT_BSTR)) && z.bstrVal)
            wert.assign(z.bstrVal, SysStringLen(z.bstrVal));
        VariantClear(&z);
        return wert;
    }
    static std::wstring art(DISPPARAMS &p, UINT i)
    {
        VARIANT *v = argument(p, i);
        if (!v)
            return L"-";
        switch (v->vt) {
        case VT_I2: return L"i2";
        case VT_I4: return L"i4";
        case VT_I4 | VT_BYREF: return L"&i4";
        case VT_BOOL: return L"b";
        case VT_BSTR: return L"s";
        default: return L"?";
        }
    }
    static void setze(VARIANT &e, const std::wstring &t)
    {
        e.vt = VT_BSTR;
        e.bstrVal = SysAllocStringLen(t.data(), UINT(t.size()));
    }
    static void setze(VARIANT &e, long z)
    {
        e.vt = VT_I4;
        e.lVal = z;
    }
    static void setze(VARIANT &e, IDispatch *o)
    {
        e.vt = VT_DISPATCH;
        e.pdispVal = o;
    }

private:
    long m_zaehler = 1;
};

class Ansicht : public Objekt
{
public:
    explicit Ansicht(long typ)
        : m_typ(typ)
    {
    }

protected:
    const std::map<std::wstring, DISPID> &mitglieder() const override
    {
        static const std::map<std::wstring, DISPID> tabelle{{L"type", 1},    {L"getcurrentid", 2}, {L"currentfieldid", 3},
                                                            {L"setfield", 4}, {L"getfield", 5},     {L"lookupall", 6},
                                                            {L"goto", 7}};
        return tabelle;
    }
    HRESULT rufe(DISPID id, DISPPARAMS &p, VARIANT &e) override
    {
        switch (id) {
        case 1:
            protokolliere(L"Type");
            setze(e, m_typ);
            return S_OK;
        case 2:
            protokolliere(L"GetCurrentID");
            setze(e, kontakte.empty() ? std::wstring() : gepolstert(kontakte[aktuell].first));
            return S_OK;
        case 3:
            protokolliere(L"currentfieldid");
            setze(e, 0L);
            return S_OK;
        case 4:
            protokolliere(L"setfield " + std::to_wstring(zahl(p, 0)) + L" " + text(p, 1));
            return S_OK;
        case 5:
            protokolliere(L"getfield " + std::to_wstring(zahl(p, 0)));
            setze(e, std::wstring());
            return S_OK;
        case 6:
            protokolliere(L"lookupall");
            return S_OK;
        case 7: {
            const std::wstring id = text(p, 0);
            protokolliere(L"GoTo " + art(p, 0) + L" [" + id + L"]");
            for (size_t i = 0; i < kontakte.size(); ++i) {
                if (gepolstert(kontakte[i].first) == id) {
                    aktuell = i;
                    SetWindowTextW(hauptfenster, (L"ACT! - " + kontakte[i].second).c_str());
                }
            }
            return S_OK;
        }
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    long m_typ;
};

class Ansichten : public Objekt
{
protected:
    const std::map<std::wstring, DISPID> &mitglieder() const override
    {
        static const std::map<std::wstring, DISPID> tabelle{{L"getactive", 1}, {L"create", 2}};
        return tabelle;
    }
    HRESULT rufe(DISPID id, DISPPARAMS &p, VARIANT &e) override
    {
        if (id == 1) {
            protokolliere(L"GetActive");
            setze(e, new Ansicht(1));
            return S_OK;
        }
        if (id == 2) {
            protokolliere(L"Create " + art(p, 0) + L" " + std::to_wstring(zahl(p, 0)) + L" " + art(p, 1) + L" "
                          + std::to_wstring(zahl(p, 1)));
            setze(e, new Ansicht(zahl(p, 0)));
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

class Anwendung : public Objekt
{
protected:
    const std::map<std::wstring, DISPID> &mitglieder() const override
    {
        static const std::map<std::wstring, DISPID> tabelle{
            {L"getopendbname", 1}, {L"views", 2}, {L"getversion", 3}, {L"command", 4}, {L"show", 5}};
        return tabelle;
    }
    HRESULT rufe(DISPID id, DISPPARAMS &p, VARIANT &e) override
    {
        switch (id) {
        case 1:
            protokolliere(L"GetOpenDBName");
            setze(e, datenbank);
            return S_OK;
        case 2:
            protokolliere(L"Views");
            setze(e, new Ansichten);
            return S_OK;
        case 3:
            protokolliere(L"GetVersion " + art(p, 0) + L" " + std::to_wstring(zahl(p, 0)));
            setze(e, std::wstring(L"3.0.8"));
            return S_OK;
        case 4: {
            const long befehl = zahl(p, 0);
            protokolliere(L"Command " + art(p, 0) + L" " + std::to_wstring(befehl));
            // ACT! opens its timer after the call has returned.
            if (befehl == TimerBefehl)
                PostMessageW(hauptfenster, WM_APP, 0, 0);
            setze(e, 1L);
            return S_OK;
        }
        case 5:
            protokolliere(L"Show " + art(p, 0) + L" " + std::to_wstring(zahl(p, 0) ? 1 : 0));
            ShowWindow(hauptfenster, SW_SHOW);
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }
};

class Fabrik : public IClassFactory
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **aus) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *aus = static_cast<IClassFactory *>(this);
            return S_OK;
        }
        *aus = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *aussen, REFIID iid, void **aus) override
    {
        if (aussen)
            return CLASS_E_NOAGGREGATION;
        protokolliere(L"CreateInstance");
        auto *anwendung = new Anwendung;
        const HRESULT hr = anwendung->QueryInterface(iid, aus);
        anwendung->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

bool registriere()
{
    wchar_t pfad[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, pfad, MAX_PATH);
    wchar_t *klasse = nullptr;
    StringFromCLSID(KlasseAnwendung, &klasse);
    const std::wstring schluessel = std::wstring(L"CLSID\\") + klasse;
    const auto setze = [](const std::wstring &s, const std::wstring &wert) {
        HKEY h = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, s.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr)
            != ERROR_SUCCESS)
            return false;
        const LONG r = RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(wert.c_str()),
                                      DWORD((wert.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
        return r == ERROR_SUCCESS;
    };
    const bool ok = setze(ProgId, L"ACT! Application")
                    && setze(std::wstring(ProgId) + L"\\CLSID", klasse)
                    && setze(schluessel, L"ACT! Application") && setze(schluessel + L"\\ProgID", ProgId)
                    && setze(schluessel + L"\\LocalServer32", pfad);
    CoTaskMemFree(klasse);
    return ok;
}

// The test ends the stand-in by closing its input.
DWORD WINAPI eingabeBeobachten(LPVOID)
{
    char puffer[256];
    DWORD gelesen = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), puffer, sizeof puffer, &gelesen, nullptr) && gelesen > 0) {
    }
    PostMessageW(hauptfenster, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK hauptProzedur(HWND fenster, UINT nachricht, WPARAM w, LPARAM l)
{
    switch (nachricht) {
    case WM_APP:
        oeffneTimer();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(fenster, nachricht, w, l);
}

} // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 2 && (klein(argv[1]) == L"/regserver" || klein(argv[1]) == L"-regserver"))
        return registriere() ? 0 : 1;
    // Started by COM alone there is nothing to show: ACT! is not running.
    if (argc < 3)
        return 1;
    logPfad = argv[1];
    datenbank = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::wstring k = argv[i];
        const size_t gleich = k.find(L'=');
        if (gleich != std::wstring::npos)
            kontakte.emplace_back(k.substr(0, gleich), k.substr(gleich + 1));
    }

    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSW klasse{};
    klasse.lpfnWndProc = hauptProzedur;
    klasse.hInstance = GetModuleHandleW(nullptr);
    klasse.hCursor = LoadCursor(nullptr, IDC_ARROW);
    klasse.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    // Spelled as ACT! spells it; Windows compares class names without case.
    klasse.lpszClassName = L"ACT3.0FrameClass";
    RegisterClassW(&klasse);
    WNDCLASSW hinweisKlasse = klasse;
    hinweisKlasse.lpfnWndProc = DefWindowProcW;
    hinweisKlasse.lpszClassName = L"ACTHinweis";
    RegisterClassW(&hinweisKlasse);
    const std::wstring titel = L"ACT! - " + (kontakte.empty() ? std::wstring() : kontakte[0].second);
    hauptfenster = CreateWindowExW(0, klasse.lpszClassName, titel.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 500, 300,
                                   nullptr, nullptr, klasse.hInstance, nullptr);
    ShowWindow(hauptfenster, SW_SHOWNORMAL);
    UpdateWindow(hauptfenster);

    static Fabrik fabrik;
    DWORD anmeldung = 0;
    if (!GetEnvironmentVariableW(L"STANDIN_KEIN_COM", nullptr, 0)) {
        const HRESULT hr = CoRegisterClassObject(KlasseAnwendung, &fabrik, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                                 &anmeldung);
        protokolliere(SUCCEEDED(hr) ? L"Bereit" : L"Bereit ohne Automation");
    } else {
        protokolliere(L"Bereit ohne Automation");
    }

    wchar_t offen[64] = {};
    if (GetEnvironmentVariableW(L"STANDIN_PROTOKOLL_OFFEN", offen, 64)) {
        for (size_t i = 0; i < kontakte.size(); ++i) {
            if (kontakte[i].first == offen) {
                aktuell = i;
                SetWindowTextW(hauptfenster, (L"ACT! - " + kontakte[i].second).c_str());
            }
        }
        oeffneProtokoll();
    }
    CreateThread(nullptr, 0, eingabeBeobachten, nullptr, 0, nullptr);

    MSG nachricht;
    while (GetMessageW(&nachricht, nullptr, 0, 0) > 0) {
        // Ctrl+H in the main window opens the history dialog, as in ACT!.
        if (nachricht.message == WM_KEYDOWN && nachricht.wParam == 'H' && (GetKeyState(VK_CONTROL) & 0x8000)
            && GetAncestor(nachricht.hwnd, GA_ROOT) == hauptfenster) {
            oeffneProtokoll();
            continue;
        }
        if (protokollDialog && IsDialogMessageW(protokollDialog, &nachricht))
            continue;
        if (timerDialog && IsDialogMessageW(timerDialog, &nachricht))
            continue;
        TranslateMessage(&nachricht);
        DispatchMessageW(&nachricht);
    }
    if (anmeldung)
        CoRevokeClassObject(anmeldung);
    CoUninitialize();
    return 0;
}
