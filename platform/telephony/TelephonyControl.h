#pragma once

#include "platform/telephony/topTapi.h"

#include <QStringList>

// The telephony control over the line devices that the providers offer. A
// device list without devices is a valid state: every line operation then
// does nothing and the program runs without a telephone line.
class TelephonyControl : public topTapi
{
    Q_OBJECT

public:
    explicit TelephonyControl(QObject *parent = nullptr);

    void Initialize() override;
    std::int32_t DeviceCount() const override;
    QString DeviceName(std::int32_t device) const override;
    std::int32_t DeviceIndex() const override;
    void setDeviceIndex(std::int32_t device) override;
    QString CurrentDeviceName() const override;
    QString AddressName(std::int32_t device, std::int32_t address) const override;
    void setCallPrivilege(std::int32_t privilege) override;
    void OpenLine() override;
    void CloseLine() override;
    void ReleaseLine() override;
    void Shutdown() override;
    void setEventsEnabled(bool enabled) override;
    void ConfigDialog() override;
    void TranslateDialog(std::int32_t device) override;
    void setDialMode(std::int32_t mode) override;
    void Dial(const QString &number, std::int16_t address) override;
    std::int32_t ApiVersion(std::int32_t device) const override;
    QString ProviderInfo(std::int32_t device) const override;
    QString SwitchInfo(std::int32_t device) const override;
    QString MediaModes(std::int32_t device) const override;
    QString AddressModes(std::int32_t device) const override;
    QString ParkModes(std::int32_t device) const override;
    QString DialtoneModes(std::int32_t device) const override;
    QString BusyModes(std::int32_t device) const override;
    QString DisconnectModes(std::int32_t device) const override;
    QString BearerModes(std::int32_t device) const override;
    QString CallStates(std::int32_t device) const override;
    QString CallInfoStates(std::int32_t device) const override;
    QString CallFeatures(std::int32_t device) const override;
    QString Version() const override;

private:
    QStringList m_devices;
    std::int32_t m_current = 0;
    bool m_eventsEnabled = true;
};
