#pragma once

#include <QByteArrayList>
#include <QList>
#include <QString>

class PgVerbindung;

// The journal's tables on the server, created and upgraded by Rufmon: a
// table names the version, each upgrade is a list of statements, and all
// upgrades due run in one transaction that leaves nothing behind when one
// fails. A journal already up to date is only read (a user who may only
// insert and select can write to it).
class Journalschema
{
public:
    // The upgrades in order; upgrade n brings version n-1 to n.
    static QList<QByteArrayList> Schritte();
    static int AktuelleVersion() { return static_cast<int>(Schritte().size()); }

    // The version the server's journal has; 0 when there is none, -1 when
    // it could not be read (the reason in `fehler`).
    static int Version(PgVerbindung &db, QString *fehler);
    // Brings the journal to the last of `schritte`; false with the reason.
    static bool einrichten(PgVerbindung &db, QString *fehler) { return einrichten(db, Schritte(), fehler); }
    static bool einrichten(PgVerbindung &db, const QList<QByteArrayList> &schritte, QString *fehler);
};
