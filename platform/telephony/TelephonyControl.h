#pragma once

#include "platform/telephony/topTapi.h"

#include <QPointer>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class Dialogs;
class GeraeteEinstellungen;
class Kennwortspeicher;
class LineDevice;
class SettingsStore;
class SimulatorDevice;

// The telephony control over the line devices: the call monitors and modems
// named in the settings or found on the machine, then the simulator.
// The current device's events are passed on while its line is open; its
// errors always. While events are disabled, or one is being handled, the
// next wait their turn in order instead of being lost. A device that reads a
// socket is never handled inside its read: the socket is read again while a
// call is identified, so that every event keeps the moment it arrived.
class TelephonyControl : public topTapi
{
    Q_OBJECT

public:
    explicit TelephonyControl(SettingsStore &settings, QObject *parent = nullptr);
    ~TelephonyControl() override;

    // Replaces the devices the settings would give (tests hand in their own).
    void setDevices(std::vector<LineDevice *> devices);
    // The devices as the settings give them now. Those that stay keep their
    // state (an open line stays open); a removed current device is closed
    // and the first device becomes the current one.
    void GeraeteNeuEinlesen();
    // The settings windows the configuration commands open; none: nothing opens.
    void setEinstellungen(GeraeteEinstellungen *einstellungen) { m_einstellungen = einstellungen; }
    // Where the devices keep their passwords, and the boxes that ask for one;
    // set before Initialize. Without a store passwords last for the run only.
    void setKennwoerter(Kennwortspeicher *kennwoerter) { m_kennwoerter = kennwoerter; }
    void setDialogs(Dialogs *dialogs) { m_dialogs = dialogs; }
    SimulatorDevice *Simulator() const;
    LineDevice *Device(std::int32_t device) const;
    bool LineOpen() const { return m_open; }
    bool EventsEnabled() const { return m_eventsEnabled; }
    // At most this many events wait; a line that sends more is cut short.
    static constexpr std::size_t HoechstensWartend = 100'000;

    void Initialize() override;
    std::int32_t DeviceCount() const override;
    QString DeviceName(std::int32_t device) const override;
    std::int32_t DeviceIndex() const override;
    void setDeviceIndex(std::int32_t device) override;
    QString CurrentDeviceName() const override;
    QString AddressName(std::int32_t device, std::int32_t address) const override;
    bool OpenLine() override;
    bool LineConnected() const override;
    void CloseLine() override;
    void ReleaseLine() override;
    void Shutdown() override;
    void setEventsEnabled(bool enabled) override;
    QDateTime Ereigniszeit() const override;
    int WartendeAnrufe() const override { return m_wartendeAnrufe; }
    void ConfigDialog() override;
    std::int32_t LeitungHinzufuegen() override;
    bool LeitungEntfernen(std::int32_t device) override;
    QString NichtEntfernbar(std::int32_t device) const override;
    bool LeitungEingerichtet() const override;
    void TranslateDialog(std::int32_t device) override;
    void Dial(const QString &number, std::int16_t address) override;
    LineDevice::Faehigkeiten Faehigkeiten(std::int32_t device) const override;
    QString Version() const override;

signals:
    // Notes of the devices for the telephony log.
    void Diagnose(const QString &text);

private:
    // A call event of a device, held until the program is ready for it.
    struct Ereignis
    {
        QDateTime zeit;
        const LineDevice *geraet = nullptr;
        bool anruf = false;
        std::function<void()> senden;
    };

    // New devices for what the settings name, the simulator last.
    std::vector<std::unique_ptr<LineDevice>> ausEinstellungen();
    Kennwortspeicher &kennwoerter();
    void verbinde(LineDevice *device);
    void weitergeben(const LineDevice *device, bool anruf, std::function<void()> senden);
    void sende(Ereignis &ereignis);
    void planeLieferung();
    void liefere();
    void verwerfeWartende();
    LineDevice *current() const;

    SettingsStore &m_settings;
    std::vector<std::unique_ptr<LineDevice>> m_devices;
    std::int32_t m_current = 0;
    bool m_open = false;
    bool m_eventsEnabled = true;
    std::deque<Ereignis> m_wartend;
    int m_wartendeAnrufe = 0;
    int m_ausgabe = 0; // events being handled right now (nested)
    bool m_lieferungGeplant = false;
    bool m_ueberlaufGemeldet = false;
    QDateTime m_ereigniszeit;
    bool m_initialized = false;
    GeraeteEinstellungen *m_einstellungen = nullptr;
    Kennwortspeicher *m_kennwoerter = nullptr;
    std::unique_ptr<Kennwortspeicher> m_sitzungsKennwoerter;
    Dialogs *m_dialogs = nullptr;
};
