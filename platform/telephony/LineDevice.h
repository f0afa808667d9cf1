#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

// One telephone line device behind the telephony control: the simulator, a
// home router's call monitor, a modem with caller ID. A device raises the
// control's call events while its line is open; the control passes them on.
// Names of call states and flags are written in upper case, flag lists as
// names in angle brackets ("<ADDRESS>").
class LineDevice : public QObject
{
    Q_OBJECT

public:
    // Raised as OnError when the device lost its line (connection, port).
    static constexpr std::int32_t LineDropped = 1013;

    using QObject::QObject;

    virtual QString name() const = 0;
    // Up to eleven address names (lines, numbers) of the device; may be empty.
    virtual QStringList addresses() const = 0;

    virtual void openLine() = 0;
    virtual void closeLine() = 0;
    virtual bool isOpen() const = 0;
    // Open, and the connection to the line stands where the device needs
    // one (a router, a telephone system): calls can come.
    bool verbunden() const { return isOpen() && m_steht; }
    // Dials the number on the address; a device that cannot dial raises OnError.
    virtual void dial(const QString &number, int address) = 0;

    // What the device tells about itself, truthfully: names in angle
    // brackets, empty where the device has none of a kind.
    struct Faehigkeiten
    {
        std::int32_t apiVersion = 0x00020000;
        QString providerInfo;
        QString switchInfo;
        QString mediaModes;
        QString addressModes;
        QString parkModes;
        QString dialtoneModes;
        QString busyModes;
        QString disconnectModes;
        QString bearerModes;
        QString callStates;
        QString callInfoStates;
        QString callFeatures;
    };
    virtual Faehigkeiten faehigkeiten() const = 0;

signals:
    void OnCallState(const QString &CCallstate, std::int32_t CCallHandle, std::int32_t CCallID);
    void OnCallerID(const QString &CNumber, const QString &CName, const QString &CPartyID, std::int32_t CCallID,
                    std::int32_t CCallHandle);
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
    void OnError(const QString &ErrorText, const QString &ErrorSource, std::int32_t ErrorNumber);
    // Something worth a line in the telephony log that is no call event
    // (a skipped protocol line, a reconnect); never shown anywhere else.
    void Diagnose(const QString &text);
    // The open line's connection: it stands, it is being made (no reason),
    // or it is down for `grund` and being retried.
    void Verbindungszustand(bool steht, const QString &grund);

protected:
    // For devices that keep a connection to their line: what it is now.
    void setVerbindung(bool steht, const QString &grund);

private:
    bool m_steht = true;
};
