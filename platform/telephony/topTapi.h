#pragma once

#include "platform/telephony/Anrufkennung.h"
#include "platform/telephony/LineDevice.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>

// The telephony control the program talks to: it lists the line devices, opens
// one line for monitoring, passes on what happens on it and dials. Device and address
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

    // What the device tells about itself, for the driver information; no
    // version and nothing named for a device that is not there.
    virtual LineDevice::Faehigkeiten Faehigkeiten(std::int32_t device) const = 0;
    virtual QString Version() const = 0;

signals:
    // What happens on the open line of the current device, as the device
    // reports it (LineDevice tells what each means).
    void AnrufKommt(Anrufkennung anruf);
    void AngerufeneNummer(Anrufkennung anruf, const QString &nummer);
    void AnruferBekannt(Anrufkennung anruf, const QString &nummer, const QString &name, Rufnummernanzeige anzeige);
    void Klingelt(int anzahl);
    void Waehlt(Anrufkennung anruf, bool waehlton);
    void Rufaufbau(Anrufkennung anruf);
    void Abgenommen(Anrufkennung anruf);
    void VerbundenMit(Anrufkennung anruf, const QString &nummer);
    void Beendet(Anrufkennung anruf, Anrufende ende);
    void OnDeviceChanged(std::int32_t device);
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);
    // The open line's connection: it stands, it is being made (no reason),
    // or it is down for that reason and the device tries again.
    void OnLineConnection(bool connected, const QString &reason);
};
