#include "Automation.h"

#include <oleauto.h>

#include <cwchar>

namespace {

std::wstring fehlertext(HRESULT hr)
{
    wchar_t *text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::wstring ergebnis = text ? text : L"";
    if (text)
        LocalFree(text);
    while (!ergebnis.empty() && (ergebnis.back() == L'\n' || ergebnis.back() == L'\r'))
        ergebnis.pop_back();
    if (ergebnis.empty()) {
        wchar_t puffer[32];
        swprintf(puffer, 32, L"Fehler 0x%08lX", static_cast<unsigned long>(hr));
        ergebnis = puffer;
    }
    return ergebnis;
}

Automation::Ergebnis fehler(HRESULT hr, const std::wstring &beschreibung = {})
{
    Automation::Ergebnis e;
    e.fehlernummer = long(hr);
    e.beschreibung = beschreibung.empty() ? fehlertext(hr) : beschreibung;
    return e;
}

} // namespace

Automation::~Automation()
{
    for (auto &[nummer, objekt] : m_objekte)
        objekt->Release();
}

long Automation::merke(IDispatch *objekt)
{
    const long nummer = m_naechste++;
    m_objekte[nummer] = objekt;
    return nummer;
}

Automation::Ergebnis Automation::erstelle(const std::wstring &progId)
{
    CLSID klasse{};
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &klasse);
    if (FAILED(hr))
        return fehler(hr);
    IDispatch *objekt = nullptr;
    hr = CoCreateInstance(klasse, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void **>(&objekt));
    if (FAILED(hr) || !objekt)
        return fehler(FAILED(hr) ? hr : E_NOINTERFACE);
    Ergebnis e;
    e.ok = true;
    e.wert = L"o:" + std::to_wstring(merke(objekt));
    return e;
}

Automation::Ergebnis Automation::rufe(long nummer, const std::wstring &mitglied,
                                      const std::vector<std::wstring> &argumente)
{
    const auto it = m_objekte.find(nummer);
    if (it == m_objekte.end())
        return fehler(E_HANDLE, L"Kein solches Objekt");
    IDispatch *objekt = it->second;

    DISPID kennung = 0;
    LPOLESTR name = const_cast<LPOLESTR>(mitglied.c_str());
    HRESULT hr = objekt->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &kennung);
    if (FAILED(hr))
        return fehler(hr);

    // The arguments last to first, as IDispatch takes them.
    std::vector<VARIANT> werte(argumente.size());
    std::vector<LONG> verweise(argumente.size());
    for (size_t i = 0; i < argumente.size(); ++i) {
        const std::wstring &a = argumente[i];
        VARIANT &v = werte[argumente.size() - 1 - i];
        VariantInit(&v);
        const size_t doppelpunkt = a.find(L':');
        const std::wstring art = a.substr(0, doppelpunkt);
        const std::wstring wert = doppelpunkt == std::wstring::npos ? std::wstring() : a.substr(doppelpunkt + 1);
        if (art == L"i2") {
            v.vt = VT_I2;
            v.iVal = SHORT(std::wcstol(wert.c_str(), nullptr, 10));
        } else if (art == L"i4") {
            v.vt = VT_I4;
            v.lVal = std::wcstol(wert.c_str(), nullptr, 10);
        } else if (art == L"&i4") {
            verweise[i] = std::wcstol(wert.c_str(), nullptr, 10);
            v.vt = VT_I4 | VT_BYREF;
            v.plVal = &verweise[i];
        } else if (art == L"b") {
            v.vt = VT_BOOL;
            v.boolVal = wert == L"1" ? VARIANT_TRUE : VARIANT_FALSE;
        } else {
            v.vt = VT_BSTR;
            v.bstrVal = SysAllocStringLen(wert.data(), UINT(wert.size()));
        }
    }
    DISPPARAMS parameter{werte.data(), nullptr, UINT(werte.size()), 0};
    VARIANT ergebnis;
    VariantInit(&ergebnis);
    EXCEPINFO ausnahme{};
    UINT falschesArgument = 0;
    hr = objekt->Invoke(kennung, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameter,
                        &ergebnis, &ausnahme, &falschesArgument);
    for (VARIANT &v : werte)
        VariantClear(&v);

    if (FAILED(hr)) {
        if (hr == DISP_E_EXCEPTION) {
            if (ausnahme.pfnDeferredFillIn)
                ausnahme.pfnDeferredFillIn(&ausnahme);
            const long nr = ausnahme.scode ? long(ausnahme.scode) : long(ausnahme.wCode);
            const std::wstring text = ausnahme.bstrDescription ? ausnahme.bstrDescription : L"";
            SysFreeString(ausnahme.bstrDescription);
            SysFreeString(ausnahme.bstrSource);
            SysFreeString(ausnahme.bstrHelpFile);
            Ergebnis e = fehler(HRESULT(nr ? nr : hr), text);
            return e;
        }
        return fehler(hr);
    }

    Ergebnis e;
    e.ok = true;
    switch (ergebnis.vt) {
    case VT_EMPTY:
    case VT_NULL:
        e.wert = L"-";
        break;
    case VT_DISPATCH:
        if (ergebnis.pdispVal) {
            ergebnis.pdispVal->AddRef();
            e.wert = L"o:" + std::to_wstring(merke(ergebnis.pdispVal));
        } else {
            e.wert = L"-";
        }
        break;
    case VT_BOOL:
        e.wert = ergebnis.boolVal ? L"b:1" : L"b:0";
        break;
    case VT_BSTR:
        e.wert = L"s:" + std::wstring(ergebnis.bstrVal ? ergebnis.bstrVal : L"", SysStringLen(ergebnis.bstrVal));
        break;
    default: {
        VARIANT zahl;
        VariantInit(&zahl);
        if (SUCCEEDED(VariantChangeType(&zahl, &ergebnis, 0, VT_I4))) {
            e.wert = L"i:" + std::to_wstring(zahl.lVal);
        } else if (SUCCEEDED(VariantChangeType(&zahl, &ergebnis, 0, VT_BSTR))) {
            e.wert = L"s:" + std::wstring(zahl.bstrVal ? zahl.bstrVal : L"");
        } else {
            e.wert = L"-";
        }
        VariantClear(&zahl);
    }
    }
    VariantClear(&ergebnis);
    return e;
}

void Automation::los(long nummer)
{
    if (const auto it = m_objekte.find(nummer); it != m_objekte.end()) {
        it->second->Release();
        m_objekte.erase(it);
    }
}
