#pragma once

#include "platform/telephony/topTapi.h"

#include <QStringList>

// A telephony control the test drives: its devices and addresses are set by
// the test, every call is written to a journal, events are raised by hand.
class FakeTapi : public topTapi
{
    Q_OBJECT

public:
    explicit FakeTapi(QStringList *journal = nullptr, QObject *parent = nullptr) : topTapi(parent), m_journal(journal) {}

    QStringList devices;
    QStringList addresses; // of every device
    std::int32_t current = 0;
    bool eventsEnabled = true;
    QDateTime ereigniszeit; // invalid: now
    int wartendeAnrufe = 0;
    bool oeffnetLeitung = true; // what OpenLine answers
    bool verbunden = true;      // what LineConnected answers while the line is open
    bool offen = false;
    bool eingerichtet = true;   // what LeitungEingerichtet answers
    QString neueLeitung;        // the device LeitungHinzufuegen appends; empty: the user set up none
    QString nichtEntfernbar;    // what NichtEntfernbar answers for every device
    QStringList calls;

    void Initialize() override { log(QStringLiteral("Initialize")); }
    std::int32_t DeviceCount() const override { return static_cast<std::int32_t>(devices.size()); }
    QString DeviceName(std::int32_t device) const override { return devices.value(device); }
    std::int32_t DeviceIndex() const override { return current; }
    void setDeviceIndex(std::int32_t device) override
    {
        current = device;
        log(QStringLiteral("DeviceIndex=%1").arg(device));
        emit OnDeviceChanged(device);
    }
    QString CurrentDeviceName() const override { return DeviceName(current); }
    QString AddressName(std::int32_t, std::int32_t address) const override { return addresses.value(address); }
    bool OpenLine() override
    {
        log(QStringLiteral("OpenLine"));
        offen = offen || oeffnetLeitung;
        return oeffnetLeitung;
    }
    bool LineConnected() const override { return offen && verbunden; }
    void CloseLine() override
    {
        offen = false;
        log(QStringLiteral("CloseLine"));
    }
    void ReleaseLine() override
    {
        offen = false;
        log(QStringLiteral("ReleaseLine"));
    }
    void Shutdown() override
    {
        offen = false;
        log(QStringLiteral("Shutdown"));
    }
    void setEventsEnabled(bool enabled) override
    {
        eventsEnabled = enabled;
        log(QStringLiteral("EventsEnabled=%1").arg(enabled ? 1 : 0));
    }
    QDateTime Ereigniszeit() const override { return ereigniszeit.isValid() ? ereigniszeit : QDateTime::currentDateTime(); }
    int WartendeAnrufe() const override { return wartendeAnrufe; }
    void ConfigDialog() override { log(QStringLiteral("ConfigDialog")); }
    std::int32_t LeitungHinzufuegen() override
    {
        log(QStringLiteral("LeitungHinzufuegen"));
        if (neueLeitung.isEmpty())
            return -1;
        devices.insert(devices.isEmpty() ? 0 : devices.size() - 1, neueLeitung);
        eingerichtet = true;
        return static_cast<std::int32_t>(devices.indexOf(neueLeitung));
    }
    bool LeitungEntfernen(std::int32_t device) override
    {
        log(QStringLiteral("LeitungEntfernen(%1)").arg(device));
        if (device < 0 || device >= devices.size() || !nichtEntfernbar.isEmpty())
            return false;
        devices.removeAt(device);
        // As the real control: the first device stands in for a removed current one.
        current = current == device ? 0 : current - (current > device ? 1 : 0);
        return true;
    }
    QString NichtEntfernbar(std::int32_t) const override { return nichtEntfernbar; }
    bool LeitungEingerichtet() const override { return eingerichtet; }
    void TranslateDialog(std::int32_t device) override { log(QStringLiteral("TranslateDialog(%1)").arg(device)); }
    void Dial(const QString &number, std::int16_t address) override
    {
        log(QStringLiteral("Dial(%1,%2)").arg(number).arg(address));
    }
    LineDevice::Faehigkeiten Faehigkeiten(std::int32_t) const override
    {
        LineDevice::Faehigkeiten f;
        f.providerInfo = QStringLiteral("Fake");
        f.mediaModes = QStringLiteral("<INTERACTIVEVOICE>");
        f.addressModes = QStringLiteral("<ADDRESSID>");
        f.callStates = QStringLiteral("<IDLE><OFFERING>");
        return f;
    }
    QString Version() const override { return QStringLiteral("Fake 1.0"); }

private:
    void log(const QString &call)
    {
        calls.append(call);
        if (m_journal)
            m_journal->append(QStringLiteral("tapi.") + call);
    }

    QStringList *m_journal;
};
