#include "core/Desktopeinstellungen.h"

#include "platform/settings/SettingsStore.h"

using namespace Qt::StringLiterals;

namespace {

const QString Abschnitt = u"Desktop"_s;

} // namespace

Desktopeinstellungen::Desktopeinstellungen(SettingsStore &store)
    : m_store(store)
{
}

bool Desktopeinstellungen::schalter(const char16_t *key) const
{
    return m_store.GetSetting(Abschnitt, QString::fromUtf16(key), u"1"_s).trimmed() != u"0"_s;
}

bool Desktopeinstellungen::Benachrichtigung() const
{
    return schalter(u"Benachrichtigung");
}

void Desktopeinstellungen::setBenachrichtigung(bool an)
{
    m_store.SaveSetting(Abschnitt, u"Benachrichtigung"_s, an ? u"1"_s : u"0"_s);
    m_store.sync();
}

bool Desktopeinstellungen::Infobereich() const
{
    return schalter(u"Infobereich");
}
