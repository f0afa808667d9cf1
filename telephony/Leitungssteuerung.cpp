#include "telephony/Leitungssteuerung.h"

#include "telephony/DiagnoseTelefonie.h"

#include "core/modOptionen.h"
#include "platform/dialogs/Frage.h"
#include "platform/telephony/topTapi.h"
#include "telephony/Anrufereignisse.h"
#include "telephony/Leitungsfenster.h"
#include "telephony/Telefonieprotokoll.h"

using namespace Qt::StringLiterals;

namespace {

const QString CRLF = u"\r\n"_s;
constexpr int MaxAdressen = 11;
constexpr std::int32_t LeitungVerloren = 1013;
// The pictures of the telephony panel: the idle line, and none.
constexpr int BildBereit = 4;
constexpr int KeinBild = 0;

} // namespace

Leitungssteuerung::Leitungssteuerung(topTapi &tapi, Leitungsfenster &fenster, Dialogs &dialogs,
                                     modOptionen &optionen, Anrufereignisse &ereignisse, Telefonieprotokoll &protokoll,
                                     QObject *parent)
    : QObject(parent)
    , m_tapi(tapi)
    , m_fenster(fenster)
    , m_dialogs(dialogs)
    , m_optionen(optionen)
    , m_ereignisse(ereignisse)
    , m_protokoll(protokoll)
{
    m_versuch.setSingleShot(true);
    connect(&m_versuch, &QTimer::timeout, this, &Leitungssteuerung::neuerVersuch);
    connect(&tapi, &topTapi::OnDeviceChanged, this, &Leitungssteuerung::OnDeviceChanged);
    connect(&tapi, &topTapi::OnError, this, &Leitungssteuerung::OnError);
    connect(&tapi, &topTapi::OnLineConnection, this, &Leitungssteuerung::OnLineConnection);
}

Leitungssteuerung::~Leitungssteuerung() = default;

QString Leitungssteuerung::Treibermenue(const QString &geraet)
{
    return u"T&API ("_s + QString(geraet).replace(u'&', u"&&"_s) + u')';
}

QString Leitungssteuerung::TextAktiv()
{
    return u"TAPI aktiv"_s;
}

QString Leitungssteuerung::TextAufbau()
{
    return u"Verbindungsaufbau ..."_s;
}

QString Leitungssteuerung::TextGetrennt(const QString &grund)
{
    return u"Keine Verbindung: "_s + grund;
}

QString Leitungssteuerung::TextKeineLeitung()
{
    return u"Keine Telefonleitung eingerichtet – Optionen › TAPI › Leitung hinzufügen…"_s;
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
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, Treibermenue(m_fenster.GeraetText()));
    zeigeHinweis();
}

void Leitungssteuerung::zeigeHinweis()
{
    m_fenster.setLeitungshinweis(m_tapi.LeitungEingerichtet() ? QString() : TextKeineLeitung());
}

void Leitungssteuerung::listeNeu()
{
    QStringList namen;
    for (int i = 0; i < m_tapi.DeviceCount(); ++i)
        namen.append(m_tapi.DeviceName(i));
    m_fenster.setGeraete(namen);
    if (m_tapi.DeviceCount() > 0)
        m_fenster.setGeraetAuswahl(m_tapi.DeviceIndex());
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, Treibermenue(m_fenster.GeraetText()));
    zeigeHinweis();
}

void Leitungssteuerung::mnuLeitungHinzufuegen()
{
    const std::int32_t neu = m_tapi.LeitungHinzufuegen();
    if (neu < 0)
        return;
    // While monitoring, the open line stays; the new one waits in the list.
    if (!Aktiv()) {
        // Another device: the lost one is not wanted back.
        if (m_frage)
            m_frage->Schliessen(Dialogs::Answer::No);
        m_tapi.setDeviceIndex(neu);
        m_optionen.schreibOption(u"TapiDevice"_s, m_tapi.DeviceName(neu));
    }
    listeNeu();
}

void Leitungssteuerung::mnuLeitungEntfernen()
{
    const std::int32_t index = m_tapi.DeviceIndex();
    const QString geraet = m_tapi.DeviceName(index);
    if (geraet.isEmpty())
        return;
    const QString grund = m_tapi.NichtEntfernbar(index);
    if (!grund.isEmpty()) {
        m_dialogs.MsgBox(grund, Dialogs::Buttons::Ok, Dialogs::Icon::Information, Dialogs::defaultTitle());
        return;
    }
    const Dialogs::Answer antwort = m_dialogs.MsgBox(
        u"Soll die Leitung „%1“ entfernt werden?"_s.arg(geraet) + CRLF
            + u"Die Einstellungen der Leitung und ihr gespeichertes Kennwort werden gelöscht."_s,
        Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::defaultTitle());
    // The box waited: the line may have changed meanwhile.
    if (antwort != Dialogs::Answer::Yes || m_tapi.DeviceName(m_tapi.DeviceIndex()) != geraet)
        return;
    if (Aktiv())
        Deaktivieren();
    // The line that is going is not wanted back.
    if (m_frage)
        m_frage->Schliessen(Dialogs::Answer::No);
    if (!m_tapi.LeitungEntfernen(m_tapi.DeviceIndex()))
        return;
    m_optionen.schreibOption(u"TapiDevice"_s, m_tapi.CurrentDeviceName());
    listeNeu();
}

void Leitungssteuerung::setAktiv(bool aktiv)
{
    m_aktiv = aktiv;
    emit MonitorGeaendert(aktiv);
}

void Leitungssteuerung::cmdInitTapi_Click()
{
    if (!m_aktiv)
        Aktivieren();
    else
        Deaktivieren();
}

void Leitungssteuerung::Aktivieren()
{
    // A line that did not open leaves the monitor off: the device's error
    // says why, and the button offers the next try.
    if (!m_tapi.OpenLine())
        return;
    m_fenster.setKnopfBild(u"aktiv"_s);
    setAktiv(true);
    m_fenster.setGeraeteAktiv(false);
    m_fenster.setTitel(u"Rufmon ist aktiv"_s);
    m_fenster.setKnopfToolTip(u"Tapimonitor deaktivieren"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTAPI, u"&Tapimonitor deaktivieren"_s);
    m_ereignisse.lSuche = 0;
    zeigeLeitung();
    // On again, by hand or by the question's "Ja": the question is answered.
    if (m_frage)
        m_frage->Schliessen(Dialogs::Answer::Yes);
}

void Leitungssteuerung::Deaktivieren()
{
    abschalten();
    // Off says nothing about the line.
    m_grund.clear();
    zeigeTelefon(QString(), QString(), KeinBild);
}

void Leitungssteuerung::abschalten()
{
    m_tapi.CloseLine();
    m_fenster.setKnopfBild(u"passiv"_s);
    setAktiv(false);
    m_fenster.setGeraeteAktiv(true);
    m_fenster.setTitel(u"Rufmon"_s);
    m_fenster.setKnopfToolTip(u"Tapimonitor aktivieren"_s);
    m_fenster.setMenueText(Menuepunkt::mnuTAPI, u"&Tapimonitor aktivieren"_s);
    m_ereignisse.lSuche = 0;
}

void Leitungssteuerung::zeigeLeitung()
{
    const QString geraet = m_tapi.CurrentDeviceName();
    if (m_tapi.LineConnected())
        zeigeTelefon(TextAktiv(), TextAktiv(), BildBereit);
    else if (m_grund.isEmpty())
        zeigeTelefon(TextAufbau(), u"Verbindung zu „%1“ wird aufgebaut"_s.arg(geraet), KeinBild);
    else
        zeigeTelefon(TextGetrennt(m_grund),
                     u"Keine Verbindung zu „%1“: %2. Rufmon versucht es weiter."_s.arg(geraet, m_grund), KeinBild);
}

void Leitungssteuerung::zeigeTelefon(const QString &text, const QString &toolTip, int bild)
{
    m_fenster.setTelefonBild(bild);
    m_fenster.setTelefonText(text);
    m_fenster.setTelefonToolTip(toolTip);
}

void Leitungssteuerung::cbxTapiDevices_Click(int index)
{
    if (index < 0)
        return;
    // Another device: the lost one is not wanted back.
    if (m_frage)
        m_frage->Schliessen(Dialogs::Answer::No);
    m_tapi.setDeviceIndex(index);
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, Treibermenue(m_fenster.GeraetText()));
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
    listeNeu();
    m_optionen.schreibOption(u"TapiDevice"_s, nachher);
}

void Leitungssteuerung::OnDeviceChanged()
{
    m_fenster.setMenueText(Menuepunkt::mnuTapiTreiber, Treibermenue(m_tapi.CurrentDeviceName()));
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
    if (ErrorNumber != LeitungVerloren)
        return;
    if (m_frage) {
        // The quiet attempt gave up as well: the next one a little later.
        m_versuch.start(m_neuerVersuchMs);
        return;
    }
    if (!Aktiv())
        return;
    // Off, but the panel keeps the device's error.
    abschalten();
    m_grund.clear();
    const QString geraet = m_tapi.CurrentDeviceName();
    qCWarning(lcTelefonie).noquote() << u"Leitung %1 verloren: %2; Rufmon deaktiviert"_s.arg(geraet, ErrorText);
    // The question waits beside the window; meanwhile the line is tried
    // again, and once it is back the question answers itself.
    m_frage = m_dialogs.FrageStellen(
        u"Das Tapi-Gerät \""_s + geraet + u"\" hat die Verbindung abgebrochen."_s + CRLF
            + u"Rufmon wurde daher deaktiviert."_s + CRLF + u"TAPI-Fehlermeldung: "_s + ErrorText + CRLF
            + u"TAPI-Fehlernummer: "_s + QString::number(ErrorNumber) + CRLF
            + u"Soll Rufmon wieder aktiviert werden?"_s,
        Dialogs::Buttons::YesNo, Dialogs::Icon::Question, Dialogs::defaultTitle());
    connect(m_frage.get(), &Frage::Beantwortet, this, &Leitungssteuerung::frageBeantwortet);
    m_versuch.start(0);
}

void Leitungssteuerung::neuerVersuch()
{
    if (!m_frage)
        return;
    if (!m_tapi.OpenLine()) {
        m_versuch.start(m_neuerVersuchMs);
        return;
    }
    // A line without a connection of its own is back at once; the others
    // tell when theirs stands, or give up again.
    if (m_tapi.LineConnected())
        wiederDa();
}

void Leitungssteuerung::OnLineConnection(bool connected, const QString &reason)
{
    m_grund = connected ? QString() : reason;
    if (m_frage) {
        if (connected)
            wiederDa();
        else if (!reason.isEmpty())
            zeigeLeitung();
        return;
    }
    if (Aktiv())
        zeigeLeitung();
}

void Leitungssteuerung::Beenden()
{
    m_versuch.stop();
    if (m_frage) {
        m_frage->disconnect(this);
        m_frage.reset();
    }
}

void Leitungssteuerung::wiederDa()
{
    const QString text = u"Die Verbindung zu „%1“ ist wieder da; Rufmon wird wieder aktiviert."_s.arg(
        m_tapi.CurrentDeviceName());
    qCInfo(lcTelefonie).noquote() << text;
    if (m_protokoll.Protokolliert())
        m_protokoll.PrintProtokoll(u"Leitung"_s, text);
    // As if the user had said yes.
    m_frage->Schliessen(Dialogs::Answer::Yes);
}

void Leitungssteuerung::frageBeantwortet(Dialogs::Answer antwort)
{
    m_versuch.stop();
    // The handle goes later: this runs inside its signal.
    if (m_frage)
        m_frage.release()->deleteLater();
    if (antwort == Dialogs::Answer::Yes) {
        if (!Aktiv())
            Aktivieren();
        return;
    }
    // No: the monitor stays off, and so does the line tried meanwhile.
    if (!Aktiv()) {
        m_tapi.CloseLine();
        m_grund.clear();
    }
}
