#pragma once

#include <QString>

class Database;

// The tables the program ships in Nummern.mdb (countries, area codes) carry
// a data version; the user's tables (the caller list "Anrufspeicher" and the
// free list "Liste") are the user's. A user's file older than the shipped
// template gets the shipped tables anew, in one transaction, and keeps its own.
class NummernMdbAuffrischung
{
public:
    // The table that holds the version, a system table.
    static QString Versionstabelle();
    // The data version of a file's shipped tables; empty for a file made
    // before the version was kept.
    static QString Datenstand(Database &db);
    // Brings the shipped tables of `datei` to the state of `vorlage` when
    // their versions differ; true when it did. A failure leaves the file as
    // it was and raises the engine's error.
    static bool auffrischen(const QString &datei, const QString &vorlage);
    // Whether the table belongs to the user rather than to the shipped data.
    static bool Benutzertabelle(const QString &name);
};
