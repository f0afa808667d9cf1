#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// A call: what the line delivered, and what the identification made of it.
// The caller list shows it, the store keeps it, the notification tells it.
struct Anruf
{
    enum class Ergebnis { Gesucht, Erkannt, Unbekannt };

    // From the line.
    QString geliefert; // the number as the line gave it
    std::int32_t callId = 0;
    bool verbunden = false; // the connected party's number, not a caller's
    QDateTime zeit;
    QString angerufen; // the number or extension the call was for, when the line tells it
    // From the router's own list afterwards: it came while Rufmon was off.
    bool nachgetragen = false;
    bool verpasst = false; // that list says nobody took it
    int dauer = -1;        // seconds, where the line tells it

    // From the identification.
    QString nummer; // cleaned, as the list shows it
    QString laendervorwahl;
    QString vorwahl;
    QString anschluss;
    QString land;
    QString ort;       // the place shown
    QString kontaktId; // empty: nobody was found
    QString name;      // the contact, the free list's name, or "Unbekannt"
    QString firma;     // the contact's company, when it was asked for
    Ergebnis ergebnis = Ergebnis::Gesucht;
    int bild = 0;        // the entry's icon
    quint64 eintrag = 0; // the entry's key in the caller list

    bool erkannt() const { return ergebnis == Ergebnis::Erkannt; }
    // The contact as the caller list and the store keep it: its id in
    // brackets, or "Unbekannt"; nothing while it is searched.
    QString Tag() const;
    // The moment as the caller list shows it: the local short date and long
    // time, a moment at midnight as the date alone (as the store reads it
    // back); nothing when there is none.
    QString Datumstext() const;
};
