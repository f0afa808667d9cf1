#pragma once

#include "platform/telephony/Geraeteart.h"

#include "platform/telephony/AmiStrom.h"
#include "platform/telephony/Endpunkt.h"
#include "platform/telephony/LineDevice.h"
#include "platform/telephony/Wiederverbindung.h"

#include <QHash>
#include <QList>
#include <QTimer>

class AmiNachricht;
class Dialogs;
class Kennwortspeicher;
class QTcpSocket;
class SettingsStore;

// A telephone system built on Asterisk, reached over its Manager Interface
// (TCP, a text protocol of "Name: Wert" blocks). The device logs in (the
// password only ever as the key to the system's MD5 challenge), asks for
// call events only and raises the control's events for the calls that ring
// at the user's extension; it dials by having the system ring that extension
// first and then the number. A lost connection is retried quietly for the
// grace period, as with the router.
class TelefonanlageDevice : public LineDevice
{
    Q_OBJECT

public:
    static constexpr quint16 DefaultPort = 5038;
    // From connecting to the end of the login.
    static constexpr int ConnectTimeoutMs = 10000;
    // A Ping after this much time; two unanswered in a row mean the system is gone.
    static constexpr int DefaultPingIntervalMs = 20000;
    // How long a new connection waits for the greeting before logging in
    // regardless: a proxy or gateway may greet only after the login.
    static constexpr int DefaultGreetingTimeoutMs = 3000;
    static constexpr int MaxAnlagen = 99;

    // One group of keys "TelefonanlageN/…" in the section "Telefonie".
    struct Anlage
    {
        int nummer = 1;
        Endpunkt adresse;
        QString benutzer;
        QString nebenstelle; // the user's phone as a channel, e.g. "PJSIP/201"
        QString kontext;     // where numbers dialled from Rufmon are routed
    };

    // The systems in the settings, numbered from 1; groups without a usable
    // address are left out, and each address is taken once.
    // The devices of this kind the settings name.
    static std::vector<std::unique_ptr<LineDevice>> ausEinstellungen(const Geraeteumgebung &umgebung);
    static QList<Anlage> configured(const SettingsStore &settings);
    // The group of keys of one system, written and removed whole.
    static void schreibe(SettingsStore &settings, const Anlage &anlage);
    static void entferne(SettingsStore &settings, int nummer);
    // The first number without an address; 0 when all are taken.
    static int freieNummer(const SettingsStore &settings);
    static QString geraetename(const Endpunkt &adresse);

    TelefonanlageDevice(const Anlage &anlage, SettingsStore &settings, Kennwortspeicher &kennwoerter,
                        Dialogs *dialogs, QObject *parent = nullptr);
    ~TelefonanlageDevice() override;

    const Anlage &anlage() const { return m_anlage; }
    Kennwortspeicher &kennwoerter() { return m_kennwoerter; }
    // The keyring's name for this system's password.
    static QString konto(const Anlage &anlage);
    // Writes this device's group of keys; used from the next openLine(). A
    // password given goes to the keyring (or is kept for the run), never
    // into the settings.
    void saveSettings(const Anlage &anlage, const std::optional<QString> &kennwort);

    void setRetryIntervalMs(int ms);
    void setGraceSeconds(int seconds);
    void setPingIntervalMs(int ms);
    void setGreetingTimeoutMs(int ms);

    QString name() const override;
    QStringList addresses() const override;
    void openLine() override;
    void closeLine() override;
    bool isOpen() const override;
    void dial(const QString &number, int address) override;

    Faehigkeiten faehigkeiten() const override;

private:
    enum class Anmeldung { Begruessung, Challenge, Login, Angemeldet };

    struct Anruf
    {
        std::int32_t id = 0;
        bool verbunden = false;
    };
    struct Ausgehend
    {
        std::int32_t id = 0;
        QString actionId;
        QString kanal; // the Uniqueid given to the ringing of the own phone
        bool aktiv = false;
    };

    void startConnecting();
    void dropSocket();
    void onSocketEnded(const QString &reason);
    void onAufgegeben(bool beimOeffnen);
    void onPing();
    void ohneBegruessung();
    void challenge();
    bool consume(QByteArrayView data);
    void handle(const AmiNachricht &nachricht);
    void antwort(const AmiNachricht &nachricht);
    void ereignis(const AmiNachricht &nachricht);
    void sende(const QList<QPair<QString, QString>> &felder);
    QString neueActionId();
    void login(const QString &challenge);
    void loginOhneKennwort();
    void sendeLogin(const QList<QPair<QString, QString>> &nachweis);
    void ohneChallenge();
    void keineSichereAnmeldung();
    void angemeldet();
    void abgelehnt(const QString &meldung);
    void aufgeben(const QString &text);

    bool meinKanal(const QString &kanal) const;
    void klingelt(const QString &uniqueId, const QString &nummer, const QString &name, const QString &angerufen);
    // What the caller dialled to reach this phone: the number the system
    // names, else the own extension.
    QString angerufen(const QString &gewaehlt) const;
    void abgenommen(const QString &uniqueId);
    void aufgelegt(const QString &uniqueId);
    void ausgehendEnde(bool besetzt);
    void alleBeenden();

    Anlage m_anlage;
    SettingsStore &m_settings;
    Kennwortspeicher &m_kennwoerter;
    Dialogs *m_dialogs;
    Wiederverbindung m_verbindung{this}; // a child: it moves with the device
    int m_pingIntervalMs = DefaultPingIntervalMs;
    int m_greetingTimeoutMs = DefaultGreetingTimeoutMs;

    Anmeldung m_anmeldung = Anmeldung::Begruessung;
    QTimer m_connectTimer;
    QTimer m_begruessungTimer;
    QTimer m_pingTimer;
    int m_pingsOffen = 0; // sent since the system last said anything
    AmiStrom m_strom;

    QString m_kennwort;     // for this opening of the line
    bool m_gefragt = false; // the user was asked for it during this opening
    quint64 m_naechsteAktion = 0;
    QString m_loginId;
    QString m_challengeId;
    bool m_ohneMd5 = false; // this connection's system refused the challenge

    std::int32_t m_letzterAnruf = 0;
    QHash<QString, Anruf> m_anrufe; // incoming, by the Uniqueid of the extension's channel
    Ausgehend m_ausgehend;
};
