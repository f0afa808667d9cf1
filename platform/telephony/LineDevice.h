#pragma once

#include "platform/telephony/Anrufkennung.h"

#include <QObject>
#include <QString>

#include <cstdint>

// One telephone line device behind the telephony control: the simulator, a
// home router's call monitor, a modem with caller ID, a telephone system.
// While its line is open a device reports what happens on it through the
// signals below; the control passes them on. Its capabilities are names in
// angle brackets ("<ADDRESS>"), as the driver information shows them.
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
    // What happens on the open line, in the order it happens.
    // A call comes in.
    void AnrufKommt(Anrufkennung anruf);
    // The number or extension a call is for; for an own call, the number dialled.
    void AngerufeneNummer(Anrufkennung anruf, const QString &nummer);
    // Who calls: the number (empty when not shown), the name the line knows.
    void AnruferBekannt(Anrufkennung anruf, const QString &nummer, const QString &name, Rufnummernanzeige anzeige);
    // The line rings for the anzahl-th time.
    void Klingelt(int anzahl);
    // An own call starts; with `waehlton` the line gives a dial tone first.
    void Waehlt(Anrufkennung anruf, bool waehlton);
    // The dialled number goes out.
    void Rufaufbau(Anrufkennung anruf);
    // The call was answered: the parties speak.
    void Abgenommen(Anrufkennung anruf);
    // The party the call is connected with (a forwarded call's destination).
    void VerbundenMit(Anrufkennung anruf, const QString &nummer);
    // The call is over.
    void Beendet(Anrufkennung anruf, Anrufende ende);
    // The device failed: what, where, and its number (LineDropped: the line is lost).
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
