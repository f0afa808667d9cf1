#include "core/Optionsschalter.h"

#include "core/Desktopeinstellungen.h"
#include "core/modOptionen.h"

using namespace Qt::StringLiterals;

namespace {

using S = Optionsschalter::Schalter;

// The options stored as 1 for on and 0 for off, and when a stored value reads as on.
struct Ablage
{
    S schalter;
    const char16_t *key;
    bool nurEins; // on only at exactly 1; otherwise at anything but 0
};

constexpr Ablage Abgelegt[] = {
    {S::AehnlicheNummern, u"AutoNummern", true},
    {S::VerbundeneNummern, u"WeiterleitungErkennen", true},
    {S::ACTTimer, u"AutostartTimer", true},
    {S::MonitorAutomatisch, u"AutoTapimonitor", true},
    {S::FensterMinimieren, u"FensterMin", true},
    {S::NummernCache, u"NummernCache", false},
    {S::NummernCacheAutomatisch, u"NummernCacheAutomatisch", false},
    {S::PlusKlammerFilter, u"PlusKlammerFilter", true},
    {S::KeineNullBeimSuchen, u"KeineNullBeimSuchen", true},
};

} // namespace

Optionsschalter::Optionsschalter(modOptionen &optionen, SettingsStore &store, QObject *parent)
    : QObject(parent)
    , m_optionen(optionen)
    , m_store(store)
{
    // Until the settings say otherwise the prefix is both added and removed,
    // as an unknown value of "Null" leaves it.
    m_an[nr(S::PraefixHinzufuegen)] = true;
    m_an[nr(S::PraefixEntfernen)] = true;
    laden();
}

void Optionsschalter::setzen(Schalter schalter, bool an)
{
    if (m_an[nr(schalter)] == an)
        return;
    m_an[nr(schalter)] = an;
    if (schalter == S::Benachrichtigung)
        Desktopeinstellungen(m_store).setBenachrichtigung(an);
    emit Geaendert(schalter, an);
}

void Optionsschalter::laden()
{
    for (const Ablage &a : Abgelegt) {
        const double wert = m_optionen.leseZahl(QString::fromUtf16(a.key));
        setzen(a.schalter, a.nurEins ? wert == 1 : wert != 0);
    }
    // One value for two options; any other value leaves both as they are.
    const double null = m_optionen.leseZahl(u"Null"_s);
    if (null == 0 || null == 1 || null == -1) {
        setzen(S::PraefixHinzufuegen, null == 1);
        setzen(S::PraefixEntfernen, null == -1);
    }
    const bool benachrichtigung = Desktopeinstellungen(m_store).Benachrichtigung();
    if (m_an[nr(S::Benachrichtigung)] != benachrichtigung) {
        m_an[nr(S::Benachrichtigung)] = benachrichtigung;
        emit Geaendert(S::Benachrichtigung, benachrichtigung);
    }
}

void Optionsschalter::speichern() const
{
    for (const Ablage &a : Abgelegt)
        m_optionen.schreibOption(QString::fromUtf16(a.key), gesetzt(a.schalter) ? 1.0 : 0.0);
    // Removing wins over adding, should both be on.
    double null = 0;
    if (gesetzt(S::PraefixEntfernen))
        null = -1;
    else if (gesetzt(S::PraefixHinzufuegen))
        null = 1;
    m_optionen.schreibOption(u"Null"_s, null);
}
