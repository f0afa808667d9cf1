#pragma once

#include <QMetaType>
#include <QString>

class SettingsStore;

// Where the team journal lives and who writes there: the settings' section
// "Team" (Datenbank=postgresql://host[:port]/db, Benutzer, Arbeitsplatz,
// TLS=prefer|require); the password is the keyring's.
struct Teamzugang
{
    QString host;
    quint16 port = 5432;
    QString datenbank;
    QString benutzer;
    QString kennwort;
    QString arbeitsplatz;
    QString tls = QStringLiteral("prefer");

    static QString Abschnitt();
    // Empty host or database when no journal is set up or the address is unusable.
    static Teamzugang aus(const SettingsStore &settings);
    // Reads "postgresql://host[:port]/db"; false when it is none.
    bool setzeAdresse(const QString &adresse);
    bool eingerichtet() const { return !host.isEmpty() && !datenbank.isEmpty(); }
    // The keyring's name for the password.
    QString konto() const;
    // The journal's address for messages, without the password.
    QString anzeige() const;
};

Q_DECLARE_METATYPE(Teamzugang)
