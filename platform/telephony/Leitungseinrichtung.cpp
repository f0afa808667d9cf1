#include "platform/telephony/Leitungseinrichtung.h"

#include "platform/kennwort/Kennwortspeicher.h"
#include "platform/settings/SettingsStore.h"
#include "platform/telephony/CallMonitorDevice.h"
#include "platform/telephony/DiagnoseLeitung.h"
#include "platform/telephony/ModemDevice.h"
#include "platform/telephony/SimulatorDevice.h"

using namespace Qt::StringLiterals;

Leitungseinrichtung::Leitungseinrichtung(SettingsStore &settings, Kennwortspeicher *kennwoerter)
    : m_settings(settings)
    , m_kennwoerter(kennwoerter)
{
}

QString Leitungseinrichtung::anrufmonitor(const Endpunkt &router)
{
    if (Endpunkt::hostname(router.host).isEmpty() || router.port == 0)
        return {};
    const QString name = CallMonitorDevice::geraetename(CallMonitorDevice::hinzufuegen(m_settings, router));
    m_settings.sync();
    qCInfo(lcLeitung).noquote() << u"Leitung hinzugefügt: %1"_s.arg(name);
    return name;
}

QString Leitungseinrichtung::telefonanlage(TelefonanlageDevice::Anlage anlage, const std::optional<QString> &kennwort)
{
    if (Endpunkt::hostname(anlage.adresse.host).isEmpty() || anlage.adresse.port == 0 || anlage.benutzer.isEmpty())
        return {};
    // The group of the same system if there is one, else the first free number.
    const QList<TelefonanlageDevice::Anlage> da = TelefonanlageDevice::configured(m_settings);
    int nummer = 0;
    for (const TelefonanlageDevice::Anlage &a : da) {
        if (a.adresse == anlage.adresse)
            nummer = a.nummer;
    }
    if (nummer == 0)
        nummer = TelefonanlageDevice::freieNummer(m_settings);
    if (nummer == 0)
        return {};
    anlage.nummer = nummer;
    TelefonanlageDevice::schreibe(m_settings, anlage);
    m_settings.sync();
    if (kennwort && m_kennwoerter)
        m_kennwoerter->schreibe(TelefonanlageDevice::konto(anlage), *kennwort);
    qCInfo(lcLeitung).noquote() << u"Leitung hinzugefügt: %1"_s.arg(TelefonanlageDevice::geraetename(anlage.adresse));
    return TelefonanlageDevice::geraetename(anlage.adresse);
}

QString Leitungseinrichtung::modem(const QString &port)
{
    const QString pfad = port.trimmed();
    if (pfad.isEmpty() || pfad.contains(u','))
        return {};
    ModemDevice::hinzufuegen(m_settings, pfad);
    m_settings.sync();
    qCInfo(lcLeitung).noquote() << u"Leitung hinzugefügt: %1"_s.arg(ModemDevice::geraetename(pfad));
    return ModemDevice::geraetename(pfad);
}

QString Leitungseinrichtung::nichtEntfernbar(const LineDevice &device) const
{
    if (qobject_cast<const SimulatorDevice *>(&device))
        return u"Der Rufmon-Simulator ist eingebaut und kann nicht entfernt werden."_s;
    if (const auto *modem = qobject_cast<const ModemDevice *>(&device);
        modem && !ModemDevice::eingetragenePorts(m_settings).contains(modem->portName()))
        return u"Das Modem an %1 hat Rufmon am Rechner gefunden; es erscheint, solange es angeschlossen ist."_s.arg(
            modem->portName());
    return {};
}

bool Leitungseinrichtung::entfernen(const LineDevice &device)
{
    if (!nichtEntfernbar(device).isEmpty())
        return false;
    bool entfernt = false;
    if (const auto *monitor = qobject_cast<const CallMonitorDevice *>(&device)) {
        const Endpunkt router{monitor->host(), monitor->port()};
        const QString benutzer = CallMonitorDevice::entfernen(m_settings, router);
        if (!benutzer.isEmpty() && m_kennwoerter)
            m_kennwoerter->vergiss(CallMonitorDevice::konto(router.host, benutzer));
        entfernt = true;
    } else if (const auto *anlage = qobject_cast<const TelefonanlageDevice *>(&device)) {
        TelefonanlageDevice::entferne(m_settings, anlage->anlage().nummer);
        // Every group of that address: another one would stand in for it at the next reading.
        for (bool weiter = true; weiter;) {
            weiter = false;
            for (const TelefonanlageDevice::Anlage &a : TelefonanlageDevice::configured(m_settings)) {
                if (a.adresse == anlage->anlage().adresse) {
                    TelefonanlageDevice::entferne(m_settings, a.nummer);
                    weiter = true;
                }
            }
        }
        if (m_kennwoerter)
            m_kennwoerter->vergiss(TelefonanlageDevice::konto(anlage->anlage()));
        entfernt = true;
    } else if (const auto *modem = qobject_cast<const ModemDevice *>(&device)) {
        entfernt = ModemDevice::entfernen(m_settings, modem->portName());
    }
    if (entfernt) {
        m_settings.sync();
        qCInfo(lcLeitung).noquote() << u"Leitung entfernt: %1"_s.arg(device.name());
    }
    return entfernt;
}
