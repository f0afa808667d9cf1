#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// A call as the identification left it in the caller list.
struct ErkannterAnruf
{
    QString nummer;  // the entry's text
    QString ort;     // column "Ort"
    QString kontakt; // column "Kontakt"
    QString tag;     // the contact in brackets, or "Unbekannt"
    QString firma;   // the contact's company, when known
    std::int32_t callId = 0;
    quint64 eintrag = 0; // the entry's key in the caller list
    QString angerufen;   // the number or extension the call was for, when the line tells it
    QDateTime zeit;      // when the call came
    bool verbunden = false;    // a connected number, not a caller
    bool nachgetragen = false; // from the router's list: it came while Rufmon was off
    bool verpasst = false;     // the router's list says nobody took it
    int dauer = -1;            // seconds, where the line tells it
};
