#pragma once

#include "core/Anruf.h"
#include "core/Kontaktquelle.h"
#include "core/ListViewModel.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

class AehnlicheNummern;
class Anruferliste;
class Anrufereignisse;
class Auswertungsanzeige;
class Dialogs;
class Kontaktsuche;
class Optionsschalter;
class Nummernbefehle;
class SystemFacilities;
class clRufmonDaten;
class modOptionen;
class topTapi;

// The caller identification: an incoming call or a connected number becomes
// a new entry at the top of the caller list, named by country and place,
// looked up among the ACT! contacts (in the number cache or the ACT! tables)
// and in the free list, stored, and followed by the search for contacts with
// similar numbers. The searches run on the search thread; the steps around
// them run here, each when the one before has answered, so nothing waits in
// a loop of its own. The line's events are held back meanwhile; a caller
// that reaches the identification all the same is dropped, a connected
// number is taken up afterwards.
class Anrufauswertung : public QObject
{
    Q_OBJECT

public:
    // What the identification works with; all of it outlives it.
    struct Teile
    {
        Auswertungsanzeige &anzeige;
        Anruferliste &anruferliste;
        ListViewModel &aehnlicheListe;
        Anrufereignisse &ereignisse;
        const Nummernbefehle &nummern;
        Kontaktsuche &suche;
        clRufmonDaten &telefondaten;
        AehnlicheNummern &aehnliche;
        topTapi &tapi;
        Dialogs &dialogs;
        const modOptionen &optionen;
        const SystemFacilities &system;
        const Optionsschalter &schalter;
    };

    explicit Anrufauswertung(const Teile &teile, QObject *parent = nullptr);
    ~Anrufauswertung() override;

    bool laeuft() const { return m_laeuft; }
    // Whether a found contact's company is looked up too (for the desktop notification).
    void setFirmaSuchen(bool suchen) { m_firmaSuchen = suchen; }

    // An incoming call's number.
    void Anrufer(const QString &CNumber, const QString &CName, const QString &CPartyID, std::int32_t CCallID,
                 std::int32_t CCallHandle);
    // A connected party's number.
    void VerbundeneNummer(const QString &CNumber, std::int32_t CCallID, std::int32_t CCallHandle);

    // A call that came while the program was not watching, from the
    // router's own list: identified like the others, marked, announced to
    // nobody. False when an identification runs and it was not taken; the
    // end of the one taken is told by Beendet.
    struct Nachtrag
    {
        QString nummer;
        QString angerufen;
        QDateTime zeit;
        bool verpasst = false;
        int dauer = -1;
    };
    bool Nachtragen(const Nachtrag &anruf);

signals:
    // The call is identified and stored.
    void Erkannt(const Anruf &anruf);
    // The call is stored and the window may close, if it was asked to meanwhile.
    void Beendet();

private:
    // A connected-party number that arrived while an identification was running.
    struct Wartend
    {
        bool markiert = false;
        QString CNumber;
        std::int32_t CCallID = 0;
        std::int32_t CCallHandle = 0;
        QDateTime zeit;
    };

    // What the search thread found for the call.
    struct Suchergebnis
    {
        Kontaktquelle::Oeffnung::Zustand zustand = Kontaktquelle::Oeffnung::Zustand::NichtBereit;
        QString meldung;
        Kontaktsuchlauf::Fund fund;
        QString firma;
        std::int32_t dauer = 0;
    };
    // The identification that runs, between its steps.
    struct Lauf
    {
        Anruf anruf;
        QString nummer;      // as searched and looked up in the free list
        QString schluessel;  // the caller's key for the second search
        bool verbunden = false;
        bool sucheGezeigt = false; // the search's message and wait cursor are up
        bool vonAnrufer = false;   // started by a caller's event, which it holds
    };

    void ausfuehren(const QString &CNumber, const QString &CPartyID, bool verbunden, std::int32_t CCallID,
                    const QDateTime &zeit, bool vonAnrufer);
    // The steps after the place: the contact search (on the search thread), its
    // answer, the free list and the stored row, the similar contacts, the end.
    void suchen();
    void geoeffnet(const QString &suchmeldung);
    void gesucht(const Suchergebnis &ergebnis);
    void nachSuche();
    void schluss();
    void zeige();
    void wartendeAufnehmen();
    void fehler(const QString &schritt, long nummer, const QString &beschreibung);

    Teile m_t;
    bool m_laeuft = false;
    bool m_firmaSuchen = false;
    bool m_wartetAufAehnliche = false;
    Wartend m_wartend;
    Lauf m_lauf;
    std::optional<Nachtrag> m_nachtrag; // while one is identified
};
