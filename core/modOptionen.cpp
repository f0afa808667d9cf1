#include "core/modOptionen.h"

#include "platform/settings/SettingsStore.h"
#include "platform/system/SystemFacilities.h"

using namespace Qt::StringLiterals;

modOptionen::modOptionen(SettingsStore &store, const SystemFacilities &system)
    : m_store(store)
    , m_system(system)
{
    using K = Klasse;
    m_tabelle = {
        {u"TapiDevice"_s, K::Text, QString()},
        {u"Null"_s, K::Zahl, u"0"_s},
        {u"AutoTapimonitor"_s, K::Zahl, u"0"_s},
        {u"AutoNummern"_s, K::Zahl, u"1"_s},
        {u"CacheMDB"_s, K::Text, GetTempFolder() + u"RUFMON.MDB"_s},
        {u"NummernCache"_s, K::Zahl, u"0"_s},
        {u"FensterMin"_s, K::Zahl, u"0"_s},
        {u"InternationaleKennung"_s, K::Text, u"00"_s},
        {u"Ausschlussfelder"_s, K::Text, QString()},
        {u"Stellen"_s, K::Zahl, u"3"_s},
        {u"Debug"_s, K::Zahl, u"0"_s},
        {u"KeineNullBeimSuchen"_s, K::Zahl, u"0"_s},
        {u"Nummernfilter"_s, K::Text, QString()},
        {u"AutostartTimer"_s, K::Zahl, u"0"_s},
        {u"DialLineAdressMode"_s, K::Zahl, u"1"_s},
        {u"Prefix"_s, K::Text, u"0"_s},
        {u"ProtokollAufruf"_s, K::Text, u"^h"_s},
        {u"ProtokollSendKeys"_s, K::Text, u"%D|%Datum|%U||%Uhrzeit|%y||{HOME}|%A||%y|{TAB}"_s},
        {u"ProtokollSendKeyIntervall"_s, K::Zahl, u"150"_s},
        {u"ProtokollFensterKennung"_s, K::Text, u"OK|Button|Protokoll aufzeichnen |#32770"_s},
        {u"PlusKlammerFilter"_s, K::Zahl, u"0"_s},
        {u"NummernCacheAutomatisch"_s, K::Zahl, u"1"_s},
        {u"WeiterleitungErkennen"_s, K::Zahl, u"0"_s},
    };
}

const modOptionen::Schluessel *modOptionen::finde(const QString &key) const
{
    for (const Schluessel &s : m_tabelle) {
        if (s.name == key)
            return &s;
    }
    return nullptr;
}

QVariant modOptionen::leseOption(const QString &key) const
{
    const Schluessel *s = finde(key);
    if (!s)
        return {};
    const QString text = m_store.GetSetting(Abschnitt, key, s->standard);
    if (s->klasse == Klasse::Zahl)
        return ZahlAusText(text);
    return text;
}

double modOptionen::leseZahl(const QString &key) const
{
    const QVariant v = leseOption(key);
    return v.typeId() == QMetaType::Double ? v.toDouble() : ZahlAusText(v.toString());
}

QString modOptionen::leseText(const QString &key) const
{
    const QVariant v = leseOption(key);
    return v.typeId() == QMetaType::Double ? TextForm(v) : v.toString();
}

void modOptionen::schreibOption(const QString &key, const QVariant &value)
{
    if (!finde(key))
        return;
    m_store.SaveSetting(Abschnitt, key, TextForm(value));
}

QString modOptionen::GetTempFolder() const
{
    return m_system.GetTempFolder();
}

double modOptionen::ZahlAusText(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    qsizetype digits = i - digitsStart;
    if (i < n && text[i] == u'.') {
        qsizetype j = i + 1;
        while (j < n && text[j] >= u'0' && text[j] <= u'9')
            ++j;
        digits += j - i - 1;
        if (j - i - 1 > 0 || digits > 0)
            i = j;
    }
    if (digits == 0)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

QString modOptionen::TextForm(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? u"1"_s : u"0"_s;
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}
