#pragma once

#include "platform/teamjournal/Teamzugang.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private PostgreSQL server for one test: its own cluster in a temporary
// folder (initdb), started and stopped with pg_ctl on a free port of the
// loopback address, trusting local connections. Started as the user
// "postgres" when the test runs as root (the server refuses root).
class PgCluster
{
public:
    PgCluster();
    ~PgCluster();

    // Why no server can be made here (package missing); empty when one can.
    static QString fehlt();
    // Tests run without waiting for the disk; a benchmark measures the server as it is set up.
    void setDauerhaft(bool dauerhaft) { m_dauerhaft = dauerhaft; }
    bool starten(QString *fehler = nullptr);
    bool stoppen();
    bool laeuft() const { return m_laeuft; }
    quint16 port() const { return m_port; }

    // Access as the cluster's owner, or as another role, to the database "team".
    Teamzugang zugang(const QString &benutzer = QStringLiteral("rufmon_admin")) const;
    // Runs statements as the owner; false with the reason.
    bool sql(const QString &statement, QString *fehler = nullptr);

private:
    bool lauf(const QStringList &befehl, QString *fehler);

    std::unique_ptr<QTemporaryDir> m_ordner;
    quint16 m_port = 0;
    bool m_initialisiert = false;
    bool m_laeuft = false;
    bool m_dauerhaft = false;
};
