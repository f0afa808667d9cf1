#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One call of one desk as the team journal keeps it.
struct Journalzeile
{
    QString anrufId; // unique over all desks; a second write of it changes nothing
    QDateTime zeit;
    QString arbeitsplatz;
    QString leitung;
    QString nummer;
    QString angerufen;
    QString ort;
    QString kontaktId;
    QString kontaktName;
    QString firma;
    bool erkannt = false;
    std::optional<bool> angenommen; // where the line tells it
    int dauer = -1;                  // seconds; -1 unknown
    bool nachgetragen = false;       // came while the desk's Rufmon was off
};

Q_DECLARE_METATYPE(Journalzeile)
