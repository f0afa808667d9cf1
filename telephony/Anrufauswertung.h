#pragma once

#include "core/Anruf.h"
#include "core/ListViewModel.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <cstdint>

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
// similar numbers. The window stays responsive throughout; a caller that
// arrives meanwhile is dropped, a connected number is taken up afterwards.
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
    // nobody. False when an identification runs and it was not taken.
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

    void ausfuehren(const QString &CNumber, const QString &CPartyID, bool verbunden, std::int32_t CCallID,
                    const QDateTime &zeit);
    void wartendeAufnehmen();
    void fehler(const QString &schritt, long nummer, const QString &beschreibung);

    Teile m_t;
    bool m_laeuft = false;
    bool m_firmaSuchen = false;
    Wartend m_wartend;
    const Nachtrag *m_nachtrag = nullptr; // while one is identified
};
