#pragma once

#include "platform/telephony/AmiStrom.h"
#include "platform/telephony/Endpunkt.h"

#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTimer>

class AmiNachricht;
class QTcpSocket;

// Reads the extensions of an Asterisk telephone system over its Manager
// Interface, to offer them when the system is added as a line: logs in the
// way the line device does (the password only as the key to the system's
// MD5 challenge, never in the clear), asks for the PJSIP endpoints and,
// where the system has none or no PJSIP, for the chan_sip peers, and logs
// off. The answer is bounded in time and in the number of extensions.
class NebenstellenAbfrage : public QObject
{
    Q_OBJECT

public:
    static constexpr int WarteMs = 10000;
    static constexpr int BegruessungMs = 3000;
    static constexpr int MaxNebenstellen = 500;

    explicit NebenstellenAbfrage(QObject *parent = nullptr);
    ~NebenstellenAbfrage() override;

    void setWarteMs(int ms) { m_warteMs = ms; }
    void setBegruessungMs(int ms) { m_begruessungMs = ms; }

    // A new query; one still running is dropped.
    void abfragen(const Endpunkt &adresse, const QString &benutzer, const QString &kennwort);
    void abbrechen();
    bool laeuft() const { return m_socket != nullptr; }

signals:
    // The extensions as channels the line device watches ("PJSIP/201", "SIP/202"), in the system's order.
    void gelesen(const QStringList &nebenstellen);
    void fehler(const QString &grund);

private:
    enum class Schritt { Begruessung, Challenge, Login, Pjsip, Sip };

    void lesen();
    void nachricht(const AmiNachricht &n);
    void challenge();
    void login(const QList<QPair<QString, QString>> &nachweis);
    void pjsip();
    void sip();
    void nimm(const QString &kanal);
    void fertig();
    void scheitern(const QString &grund);
    void sende(const QList<QPair<QString, QString>> &felder);

    Endpunkt m_adresse;
    QString m_benutzer;
    QString m_kennwort;
    QTcpSocket *m_socket = nullptr;
    AmiStrom m_strom;
    Schritt m_schritt = Schritt::Begruessung;
    QString m_actionId;
    int m_naechsteAktion = 0;
    QStringList m_nebenstellen;
    QTimer m_frist;
    QTimer m_begruessung;
    int m_warteMs = WarteMs;
    int m_begruessungMs = BegruessungMs;
};
