#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>

// The telephony control the program talks to: it lists the line devices, opens
// one line for monitoring, raises the call events and dials. Device and address
// numbers are 0-based. A flag list is text of flag names in angle brackets,
// as in "<ADDRESS>".
class topTapi : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void Initialize() = 0;
    virtual std::int32_t DeviceCount() const = 0;
    virtual QString DeviceName(std::int32_t device) const = 0;
    virtual std::int32_t DeviceIndex() const = 0;
    // Selects a device; raises OnDeviceChanged.
    virtual void setDeviceIndex(std::int32_t device) = 0;
    virtual QString CurrentDeviceName() const = 0;
    // Empty past the last address.
    virtual QString AddressName(std::int32_t device, std::int32_t address) const = 0;
    // True when the line is open; a device that refuses reports why as its error.
    virtual bool OpenLine() = 0;
    // The line is open and its connection stands where the device needs one
    // (a router, a telephone system): calls can come. OnLineConnection tells
    // every change while the line is open.
    virtual bool LineConnected() const = 0;
    virtual void CloseLine() = 0;
    virtual void ReleaseLine() = 0;
    virtual void Shutdown() = 0;
    virtual void setEventsEnabled(bool enabled) = 0;
    // When the event being handled reached the line: events that arrive
    // while the program is busy wait their turn and keep their moment.
    virtual QDateTime Ereigniszeit() const = 0;
    // Incoming calls that reached the line and wait to be handled.
    virtual int WartendeAnrufe() const = 0;
    virtual void ConfigDialog() = 0;
    // Lines set up in the program. Adding shows the window that sets one up;
    // the device's index once added, -1 when none was. Removing takes the
    // device's settings and password away; the current device is the first
    // one afterwards if it was the one removed.
    virtual std::int32_t LeitungHinzufuegen() = 0;
    virtual bool LeitungEntfernen(std::int32_t device) = 0;
    // Why the device cannot be removed (built in, found on the machine); empty when it can.
    virtual QString NichtEntfernbar(std::int32_t device) const = 0;
    // A line to the telephone network is set up: a device besides the simulator.
    virtual bool LeitungEingerichtet() const = 0;
    virtual void TranslateDialog(std::int32_t device) = 0;
    virtual void Dial(const QString &number, std::int16_t address) = 0;

    virtual std::int32_t ApiVersion(std::int32_t device) const = 0;
    virtual QString ProviderInfo(std::int32_t device) const = 0;
    virtual QString SwitchInfo(std::int32_t device) const = 0;
    virtual QString MediaModes(std::int32_t device) const = 0;
    virtual QString AddressModes(std::int32_t device) const = 0;
    virtual QString ParkModes(std::int32_t device) const = 0;
    virtual QString DialtoneModes(std::int32_t device) const = 0;
    virtual QString BusyModes(std::int32_t device) const = 0;
    virtual QString DisconnectModes(std::int32_t device) const = 0;
    virtual QString BearerModes(std::int32_t device) const = 0;
    virtual QString CallStates(std::int32_t device) const = 0;
    virtual QString CallInfoStates(std::int32_t device) const = 0;
    virtual QString CallFeatures(std::int32_t device) const = 0;
    virtual QString Version() const = 0;

signals:
    void OnCallState(const QString &CCallstate, std::int32_t CCallHandle, std::int32_t CCallID);
    void OnCallerID(const QString &CNumber, const QString &CName, const QString &CPartyID,
                    std::int32_t CCallID, std::int32_t CCallHandle);
    void OnConnectedID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnCalledID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnRedirectingID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnRedirectionID(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnCallOrigin(const QString &CCallOrigin, std::int32_t CCallID, std::int32_t CCallHandle);
    void OnBusy(const QString &CBusyMode, std::int32_t CCallHandle);
    void OnConnected(const QString &CConnectedMode, std::int32_t CCallHandle);
    void OnDialtone(const QString &CDialtoneMode, std::int32_t CCallHandle);
    void OnDisconnected(const QString &CDisconnectedMode, std::int32_t CCallHandle);
    void OnOffering(const QString &COfferingMode, std::int32_t CCallHandle);
    void OnRinging(std::int32_t CRingMode, std::int32_t CRingCount);
    void OnPhoneRing(std::int32_t CRingMode);
    void OnDeviceChanged(std::int32_t device);
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);
    // The open line's connection: it stands, it is being made (no reason),
    // or it is down for that reason and the device tries again.
    void OnLineConnection(bool connected, const QString &reason);
};
