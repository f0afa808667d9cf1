#include "telephony/Waehlen.h"

#include "core/Anruf.h"
#include "core/ListViewModel.h"
#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/topTapi.h"
#include "telephony/Waehlanzeige.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString Abschnitt = u"Waehlregeln"_s;

std::int16_t adressnummer(int adresse)
{
    const int hoechste = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(adresse, -1, hoechste));
}

} // namespace

Waehlen::Waehlen(topTapi &tapi, const SettingsStore &store, Dialogs &dialogs, Waehlanzeige &anzeige)
    : m_tapi(tapi)
    , m_store(store)
    , m_dialogs(dialogs)
    , m_anzeige(anzeige)
{
}

QString Waehlen::Amtskennziffer() const
{
    // The location is a number; text that does not start with one means none.
    const double wert = std::floor(modOptionen::ZahlAusText(m_store.GetSetting(Abschnitt, u"CurrentID"_s, QString())));
    if (!(wert >= 1 && wert <= std::numeric_limits<std::int32_t>::max()))
        return {};
    const QString standort = QString::number(static_cast<std::int32_t>(wert));
    return m_store.GetSetting(Abschnitt, u"Location"_s + standort + u"/OutsideAccess"_s, QString());
}

QString Waehlen::NummerAusEintrag(const QString &text)
{
    const qsizetype klammer = text.indexOf(u']');
    return klammer < 0 ? text : text.mid(klammer + 2);
}

void Waehlen::keineNummer()
{
    m_dialogs.MsgBox(u"Es ist keine Nummer vorhanden."_s, Dialogs::Buttons::Ok, Dialogs::Icon::Information,
                     Dialogs::defaultTitle());
}

void Waehlen::mnuNummerAnwaehlen(const std::optional<Anruf> &auswahl)
{
    if (!auswahl)
        return;
    const QString nummer = auswahl->nummer;
    // An entry without a number would dial the access code alone.
    if (nummer.isEmpty()) {
        keineNummer();
        return;
    }
    const QString gewaehlt = Amtskennziffer() + nummer;
    m_anzeige.setTelefonText(u"Wähle "_s + gewaehlt);
    m_anzeige.setWaehlhinweis(u"Gewählte Nummer: "_s + gewaehlt);
    m_tapi.Dial(gewaehlt, adressnummer(m_anzeige.Adresse()));
}

void Waehlen::mnuAehnlicheNummerAnwaehlen(const ListViewModel &lvKontakte, int ausgewaehlt)
{
    if (lvKontakte.Count() == 0 || ausgewaehlt < 0 || ausgewaehlt >= lvKontakte.Count())
        return;
    const QString nummer = NummerAusEintrag(lvKontakte.Item(ausgewaehlt).Text);
    // Also an entry that is only a field label ("[Telefon] ") has nothing to dial.
    if (nummer.isEmpty()) {
        keineNummer();
        return;
    }
    m_tapi.Dial(nummer, adressnummer(m_anzeige.Adresse()));
}

void Waehlen::mnuTapiWaehlregeln()
{
    m_tapi.TranslateDialog(m_tapi.DeviceIndex());
}
