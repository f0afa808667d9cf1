#pragma once

#include "platform/telephony/Geraeteart.h"

#include "platform/telephony/CallMonitorStream.h"
#include "platform/telephony/Endpunkt.h"
#include "platform/telephony/LineDevice.h"
#include "platform/telephony/Wiederverbindung.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QTimer>

#include <optional>

class CallMonitorLine;
class Dialogs;
class Kennwortspeicher;
class Tr064Waehlen;
class QTcpSocket;
class SettingsStore;

// A home router's call monitor: the router reports every call on its lines
// as a text line over TCP. The device listens; with a TR-064 user set up it
// dials through the router's dialing help, otherwise it cannot dial. Answering
// or dropping a call is not possible. Routers close the port while they restart, so a lost
// connection is retried quietly for a grace period before it counts as lost.
class CallMonitorDevice : public LineDevice
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 1012;
    static constexpr int ConnectTimeoutMs = 10000;
    // How soon a silent connection is probed, how often, and how many probes may go unanswered.
    static constexpr int KeepAliveIdleSeconds = 20;
    static constexpr int KeepAliveIntervalSeconds = 10;
    static constexpr int KeepAliveProbes = 3;
    // Longest line kept; the rest of a longer one is dropped unread.
    static constexpr qsizetype MaxLineBytes = 4096;

    // The grace period comes from the settings ("Telefonie", "Wiederverbinden").
    CallMonitorDevice(const QString &host, quint16 port, SettingsStore &settings, QObject *parent = nullptr);
    ~CallMonitorDevice() override;

    // The call monitors in the settings ("Telefonie", "Anrufmonitore"):
    // "host:port,host2" with port 1012 by default, IPv6 addresses in
    // brackets; entries that make no sense are left out.
    // The devices of this kind the settings name.
    static std::vector<std::unique_ptr<LineDevice>> ausEinstellungen(const Geraeteumgebung &umgebung);
    static QList<QPair<QString, quint16>> configured(const SettingsStore &settings);
    // Adds the router to the configured ones, unless it is there already;
    // the router as the settings now hold it.
    static Endpunkt hinzufuegen(SettingsStore &settings, const Endpunkt &router);
    // Takes the router out of the configured ones, and its TR-064 user with
    // it when no other entry names the host; the user it had, or empty.
    static QString entfernen(SettingsStore &settings, const Endpunkt &router);
    static QString geraetename(const Endpunkt &router);

    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    // Replaces this device's entry in the settings; used from the next openLine().
    void saveEndpoint(const QString &host, quint16 port);
    // The host as the settings keep it; empty when it is no usable name.
    static QString normalizedHost(QStringView text);
    void setRetryIntervalMs(int ms);
    void setGraceSeconds(int seconds);

    // Where the TR-064 password is kept, and the boxes that ask for it.
    void setKennwoerter(Kennwortspeicher *kennwoerter, Dialogs *dialogs);
    Kennwortspeicher *kennwoerter() const { return m_kennwoerter; }
    // The TR-064 user ("Telefonie", "TR064/HOST/Benutzer"); empty: no dialing.
    QString tr064Benutzer() const;
    // Writes the user; a password given goes to the keyring (or is kept for the run).
    void saveTr064(const QString &benutzer, const std::optional<QString> &kennwort);
    // The keyring's name for the router's password.
    static QString konto(const QString &host, const QString &benutzer);
    void setTr064Port(quint16 port) { m_tr064Port = port; }
    quint16 tr064Port() const { return m_tr064Port; }

    QString name() const override;
    QStringList addresses() const override;

    void openLine() override;
    void closeLine() override;
    bool isOpen() const override;
    void dial(const QString &number, int address) override;

    Faehigkeiten faehigkeiten() const override;

private:
    void startConnecting();
    void dropSocket();
    void onConnected();
    void onSocketEnded(const QString &reason);
    void schalteKeepAliveEin();
    void onAufgegeben(bool beimOeffnen);
    bool consume(QByteArrayView data);
    void handleLine(QByteArrayView line);
    void raiseEvents(const CallMonitorLine &line);
    QString endpoint() const;
    void tr064Abgelehnt();

    QString m_host;
    quint16 m_port;
    SettingsStore &m_settings;
    Wiederverbindung m_verbindung{this}; // a child: it moves with the device
    QTimer m_connectTimer;
    CallMonitorStream m_stream{MaxLineBytes};

    Kennwortspeicher *m_kennwoerter = nullptr;
    Dialogs *m_dialogs = nullptr;
    Tr064Waehlen *m_tr064 = nullptr;
    quint16 m_tr064Port;
    bool m_tr064Gefragt = false; // the password was asked for the running request
    QString m_tr064Kennwort;     // what was asked, until the router took or refused it
};
