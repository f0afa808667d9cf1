#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>

struct Teamzugang;
struct pg_conn;

// One connection to a PostgreSQL server through libpq. Every value goes to
// the server as a bound parameter, never inside the statement's text.
// Blocking: used from a worker thread only.
class PgVerbindung
{
public:
    struct Ergebnis
    {
        bool ok = false;
        QString fehler;
        QString sqlstate;
        QList<QList<QVariant>> zeilen; // text values; a null QVariant for NULL
        int betroffen = 0;
    };

    PgVerbindung() = default;
    ~PgVerbindung();
    PgVerbindung(const PgVerbindung &) = delete;
    PgVerbindung &operator=(const PgVerbindung &) = delete;

    // Connects, waiting at most `sekunden`; false with the reason in `fehler`.
    // With `abbruch`, a connection being made is given up as soon as it is set.
    bool oeffnen(const Teamzugang &zugang, int sekunden, QString *fehler,
                 const std::atomic<bool> *abbruch = nullptr);
    void schliessen();
    bool offen() const;
    // Whether the connection is encrypted (TLS).
    bool verschluesselt() const;

    // A statement with $1, $2, ... for the values; QVariant() is NULL, bool is
    // "true"/"false", everything else its text.
    Ergebnis ausfuehren(const QByteArray &sql, const QVariantList &werte = {});

    // For notifications: the socket to watch, and the payloads that came.
    int socket() const;
    QStringList benachrichtigungen();

private:
    pg_conn *m_conn = nullptr;
};
