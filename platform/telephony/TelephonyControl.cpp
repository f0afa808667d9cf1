#include "platform/telephony/TelephonyControl.h"

using namespace Qt::StringLiterals;

TelephonyControl::TelephonyControl(QObject *parent)
    : topTapi(parent)
{
}

void TelephonyControl::Initialize() {}

std::int32_t TelephonyControl::DeviceCount() const
{
    return static_cast<std::int32_t>(m_devices.size());
}

QString TelephonyControl::DeviceName(std::int32_t device) const
{
    return device >= 0 && device < DeviceCount() ? m_devices[device] : QString();
}

std::int32_t TelephonyControl::DeviceIndex() const
{
    return m_current;
}

void TelephonyControl::setDeviceIndex(std::int32_t device)
{
    if (device < 0 || device >= DeviceCount())
        return;
    m_current = device;
    emit OnDeviceChanged(device);
}

QString TelephonyControl::CurrentDeviceName() const
{
    return DeviceName(m_current);
}

QString TelephonyControl::AddressName(std::int32_t, std::int32_t) const { return {}; }
void TelephonyControl::setCallPrivilege(std::int32_t) {}
void TelephonyControl::OpenLine() {}
void TelephonyControl::CloseLine() {}
void TelephonyControl::ReleaseLine() {}
void TelephonyControl::Shutdown() {}
void TelephonyControl::setEventsEnabled(bool enabled) { m_eventsEnabled = enabled; }
void TelephonyControl::ConfigDialog() {}
void TelephonyControl::TranslateDialog(std::int32_t) {}
void TelephonyControl::setDialMode(std::int32_t) {}

void TelephonyControl::Dial(const QString &, std::int16_t)
{
    emit OnError(u"Kein Telefoniegerät ausgewählt"_s, u"TelephonyControl"_s, 1013);
}

std::int32_t TelephonyControl::ApiVersion(std::int32_t) const { return 0; }
QString TelephonyControl::ProviderInfo(std::int32_t) const { return {}; }
QString TelephonyControl::SwitchInfo(std::int32_t) const { return {}; }
QString TelephonyControl::MediaModes(std::int32_t) const { return {}; }
QString TelephonyControl::AddressModes(std::int32_t) const { return {}; }
QString TelephonyControl::ParkModes(std::int32_t) const { return {}; }
QString TelephonyControl::DialtoneModes(std::int32_t) const { return {}; }
QString TelephonyControl::BusyModes(std::int32_t) const { return {}; }
QString TelephonyControl::DisconnectModes(std::int32_t) const { return {}; }
QString TelephonyControl::BearerModes(std::int32_t) const { return {}; }
QString TelephonyControl::CallStates(std::int32_t) const { return {}; }
QString TelephonyControl::CallInfoStates(std::int32_t) const { return {}; }
QString TelephonyControl::CallFeatures(std::int32_t) const { return {}; }

QString TelephonyControl::Version() const
{
    return u"Rufmon-Telefonie "_s + QStringLiteral(RUFMON_VERSION_TEXT);
}
