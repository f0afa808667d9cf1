#pragma once

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
};
