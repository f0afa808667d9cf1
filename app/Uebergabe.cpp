#include "app/Uebergabe.h"

#include "app/Kommandozeile.h"
#include "platform/telephony/SimulatorDevice.h"
#include "platform/telephony/TelephonyControl.h"

using namespace Qt::StringLiterals;

bool FuehreUebergabeAus(const QStringList &uebergabe, TelephonyControl &tapi)
{
    const Kommandozeile k = Kommandozeile::lies(QStringList{u"rufmon"_s} + uebergabe);
    if (k.aktion != Kommandozeile::Aktion::Uebergabe)
        return false;
    if (SimulatorDevice *simulator = tapi.Simulator()) {
        if (k.verbunden)
            simulator->verbunden(k.nummer);
        else
            simulator->anruf(k.nummer, k.name);
    }
    return true;
}
