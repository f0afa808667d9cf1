#include "telephony/Leitungssteuerung.h"

#include "telephony/Diagnose.h"

#include "core/modOptionen.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/telephony/topTapi.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Leitungsfenster.h"

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
constexpr int MaxAdressen = 11;
constexpr std::int32_t LeitungVerloren = 1013;

} // namespace

Leitungssteuerung::Leitungssteuerung(topTapi &tapi, Leitungsfenster &fenster, Dialogs &dialogs,
                                     modOptionen &optionen, Anrufereignisse &ereignisse, QObject *parent)
    : QObject(parent)
    , m_tapi(tapi)
    , m_fenster(fenster)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_ereignisse(ereignisse)
{
    connect(&tapi, &topTapi::OnDeviceChanged, this, &Leitungssteuerung::OnDeviceChanged);
    connect(&tapi, &topTapi::OnError, this, &Leitungssteuerung::OnError);
}

void Leitungssteuerung::GeraetelisteFuellen()
{
    QStringList namen;
    const int anzahl = m_tapi.DeviceCount();
    for (int i = 0; i < anzahl; ++i)
        namen.append(m_tapi.DeviceName(i));
    m_fenster.setGeraete(namen);
    const QString gespeichert = m_optionen.leseText(u"TapiDevice"_s);
    if (!gespeichert.isEmpty() && anzahl > 0) {
        const int gefunden = static_cast<int>(namen.indexOf(gespeichert));
        const int wahl = gefunden >= 0 ? gefunden : 0;
        m_fenster.setGeraetAuswahl(wahl);
        m_tapi.setDeviceIndex(wahl);
    }
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, u"TAPI ("_s + m_fenster.GeraetText() + u')');
}

bool Leitungssteuerung::Aktiv() const
{
    return m_fenster.KnopfTag() == u"aktiv"_s;
}

void Leitungssteuerung::cmdInitTapi_Click()
{
    if (m_fenster.KnopfTag() == u"passiv"_s)
        Aktivieren();
    else
        Deaktivieren();
}

void Leitungssteuerung::Aktivieren()
{
    m_tapi.setCallPrivilege(2);
    // A line that did not open leaves the monitor off: the device's error
    // says why, and the button offers the next try.
    if (!m_tapi.OpenLine())
        return;
    m_fenster.setKnopfBild(u"aktiv"_s);
    m_fenster.setKnopfTag(u"aktiv"_s);
    m_fenster.setGeraeteAktiv(false);
    m_fenster.setTitel(u"Rufmon ist aktiv"_s);
    m_fenster.setKnopfToolTip(u"Tapimonitor deaktivieren"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTAPI, u"&Tapimonitor deaktivieren"_s);
    m_ereignisse.lSuche = 0;
}

void Leitungssteuerung::Deaktivieren()
{
    m_tapi.CloseLine();
    m_fenster.setKnopfBild(u"passiv"_s);
    m_fenster.setKnopfTag(u"passiv"_s);
    m_fenster.setGeraeteAktiv(true);
    m_fenster.setTitel(u"Rufmon"_s);
    m_fenster.setKnopfToolTip(u"Tapimonitor aktivieren"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTAPI, u"&Tapimonitor aktivieren"_s);
    m_ereignisse.lSuche = 0;
}

void Leitungssteuerung::cbxTapiDevices_Click(int index)
{
    if (index < 0)
        return;
    m_tapi.setDeviceIndex(index);
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, u"TAPI ("_s + m_fenster.GeraetText() + u')');
}

void Leitungssteuerung::mnuTapiEinstellungen()
{
    const int index = m_tapi.DeviceIndex();
    const QString vorher = m_tapi.DeviceName(index);
    m_tapi.ConfigDialog();
    const QString nachher = m_tapi.DeviceName(index);
    if (nachher == vorher)
        return;
    // Another host, port or serial port renames the device: the list, the
    // caption and the saved choice follow at once, so that the next start
    // finds the device instead of falling back to another.
    QStringList namen;
    for (int i = 0; i < m_tapi.DeviceCount(); ++i)
        namen.append(m_tapi.DeviceName(i));
    m_fenster.setGeraete(namen);
    m_fenster.setGeraetAuswahl(index);
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, u"TAPI ("_s + nachher + u')');
    m_optionen.schreibOption(u"TapiDevice"_s, nachher);
}

void Leitungssteuerung::OnDeviceChanged()
{
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, u"TAPI ("_s + m_tapi.CurrentDeviceName() + u')');
    QStringList adressen;
    for (int i = 0; i < MaxAdressen; ++i) {
        const QString name = m_tapi.AddressName(m_tapi.DeviceIndex(), i);
        if (name.isEmpty())
            break;
        adressen.append(name);
    }
    if (adressen.isEmpty())
        adressen.append(u"keine"_s);
    m_fenster.setAdressen(adressen);
}

void Leitungssteuerung::OnError(const QString &ErrorText, const QString &, std::int32_t ErrorNumber)
{
    if (ErrorNumber != LeitungVerloren || !Aktiv())
        return;
    Deaktivieren();
    const QString geraet = m_tapi.CurrentDeviceName();
    qCWarning(lcTelefonie).noquote() << u"Leitung %1 verloren: %2; Rufmon deaktiviert"_s.arg(geraet, ErrorText);
    const auto antwort = m_dialogs.MsgBox(
        u"Das Tapi-Gerät \""_s + geraet + u"\" hat die Verbindung abgebrochen."_s + CRLF
            + u"Rufmon wurde daher deaktiviert."_s + CRLF + u"TAPI-Fehlermeldung: "_s + ErrorText + CRLF
            + u"TAPI-Fehlernummer: "_s + QString::number(ErrorNumber) + CRLF
            + u"Soll Rufmon wieder aktiviert werden?"_s,
        Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::defaultTitle());
    if (antwort == Dialogs::Answer::Yes)
        Aktivieren();
}
