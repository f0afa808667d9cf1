#include "app/Uebergabe.h"

#include "app/Kommandozeile.h"
#include "platform/system/Steuerzeichen.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"

using namespace Qt::StringLiterals;

namespace {

// As the lines from the router and the modem: no control or invisible
// format characters reach the caller list or the log.
QString ohneSteuerzeichen(const QString &text)
{
    return Steuerzeichen::entfernt(text);
}

} // namespace

QString PruefeUebergabe(const QStringList &uebergabe, const TelephonyControl &tapi)
{
    const Kommandozeile k = Kommandozeile::lies(QStringList{u"rufmon"_s} + uebergabe);
    // A contact table that is not there is not taken, from wherever it comes.
    if (k.aktion == Kommandozeile::Aktion::Starten && !k.actDatenbank.isEmpty())
        return Kommandozeile::PruefeACTDatenbank(k.actDatenbank);
    if (k.aktion != Kommandozeile::Aktion::Uebergabe)
        return {};
    if (ohneSteuerzeichen(k.nummer).size() > UebergabeHoechstlaenge)
        return u"Die Nummer ist zu lang (mehr als %1 Zeichen)."_s.arg(UebergabeHoechstlaenge);
    if (!tapi.LineOpen())
        return u"Der Tapimonitor ist nicht aktiv."_s;
    const SimulatorDevice *simulator = tapi.Simulator();
    if (!simulator || tapi.Device(tapi.DeviceIndex()) != simulator || !simulator->isOpen())
        return u"Das gewählte Tapi-Gerät ist nicht der Rufmon-Simulator."_s;
    return {};
}

bool FuehreUebergabeAus(const QStringList &uebergabe, TelephonyControl &tapi)
{
    const Kommandozeile k = Kommandozeile::lies(QStringList{u"rufmon"_s} + uebergabe);
    if (k.aktion != Kommandozeile::Aktion::Uebergabe)
        return false;
    if (!PruefeUebergabe(uebergabe, tapi).isEmpty())
        return true;
    if (SimulatorDevice *simulator = tapi.Simulator()) {
        if (k.verbunden)
            simulator->verbunden(ohneSteuerzeichen(k.nummer));
        else
            simulator->anruf(ohneSteuerzeichen(k.nummer), ohneSteuerzeichen(k.name));
    }
    return true;
}
