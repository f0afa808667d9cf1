#pragma once

#include <QString>

#include <cstdint>

// Program-wide state shared by the subsystems. It lives for the whole run;
// the program entry resets it before the main window loads.
class modHaupt
{
public:
    // A connected-party number that arrived while an identification was running.
    struct WartenderAnruf
    {
        bool markiert = false;
        QString CNumber;
        std::int32_t CCallID = 0;
        std::int32_t CCallHandle = 0;
    };

    bool ACTBereit = false;
    QString CachePfad;
    bool AuswertungLaeuft = false;
    WartenderAnruf Wartend;

    // The one instance of the running program.
    static modHaupt &instance();
    // Back to the state at program entry.
    void zuruecksetzen();
};

// Text helpers for contact identifiers and separated lists. Positions are
// 1-based and comparisons exact, as the stored data expects.
QString Auffuellen12(const QString &text);
QString IDInKlammern(const QString &id);
QString IDAusKlammern(const QString &text);
int AnzahlElemente(const QString &liste, const QString &trenner);
QString Element(const QString &liste, const QString &trenner, int i);
bool InListe(const QString &liste, const QString &item, const QString &trenner);
