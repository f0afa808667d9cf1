#include "FakeTapi.h"

FakeTapi::FakeTapi(QStringList *journal, QObject *parent)
    : topTapi(parent)
    , m_journal(journal)
{
}

void FakeTapi::log(const QString &call)
{
    calls.append(call);
    if (m_journal)
        m_journal->append(QStringLiteral("tapi.") + call);
}

QString FakeTapi::DeviceName(std::int32_t device) const
{
    return device >= 0 && device < devices.size() ? devices[device] : QString();
}

void FakeTapi::setDeviceIndex(std::int32_t device)
{
    current = device;
    log(QStringLiteral("DeviceIndex=%1").arg(device));
    emit OnDeviceChanged(device);
}

QString FakeTapi::AddressName(std::int32_t, std::int32_t address) const
{
    return address >= 0 && address < addresses.size() ? addresses[address] : QString();
}

void FakeTapi::setCallPrivilege(std::int32_t privilege)
{
    callPrivilege = privilege;
    log(QStringLiteral("CallPrivilege=%1").arg(privilege));
}

void FakeTapi::setEventsEnabled(bool enabled)
{
    eventsEnabled = enabled;
    log(QStringLiteral("EventsEnabled=%1").arg(enabled ? 1 : 0));
}

void FakeTapi::TranslateDialog(std::int32_t device)
{
    log(QStringLiteral("TranslateDialog(%1)").arg(device));
}

void FakeTapi::setDialMode(std::int32_t mode)
{
    dialMode = mode;
    log(QStringLiteral("DialMode=%1").arg(mode));
}

void FakeTapi::Dial(const QString &number, std::int16_t address)
{
    log(QStringLiteral("Dial(%1,%2)").arg(number).arg(address));
}
