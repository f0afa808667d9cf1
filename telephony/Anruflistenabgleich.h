#pragma once

#include "platform/telephony/Tr064Anrufliste.h"
#include "telephony/Anrufauswertung.h"
#include "telephony/Nummernaufbereitung.h"

#include <QList>
#include <QObject>

class Auswertungsanzeige;
class Anruferliste;
class Nummernbefehle;
class topTapi;

// The calls that came while Rufmon was not watching: whenever the router's
// line stands (at the start and after it was lost), the router's own call
// list is read, and its incoming and missed calls since the newest one of
// the caller list are identified like live calls, oldest first, marked and
// without a notification. A call the list has already (same caller, same
// minute) is not taken twice.
class Anruflistenabgleich : public QObject
{
    Q_OBJECT

public:
    struct Teile
    {
        topTapi &tapi;
        Anrufauswertung &auswertung;
        const Anruferliste &anruferliste;
        const Nummernbefehle &nummern;
        Auswertungsanzeige &anzeige;
    };

    explicit Anruflistenabgleich(const Teile &teile, QObject *parent = nullptr);

    static QList<Anrufauswertung::Nachtrag> Nachzutragen(const QList<Tr064Anrufliste::Anruf> &liste,
                                                         const Anruferliste &anruferliste,
                                                         const Nummernaufbereitung::Einstellungen &einstellungen);
    // Takes the router's list in; the calls added. They are identified one
    // after the other; Abgeglichen tells when the last has been stored.
    int Abgleichen(const QList<Tr064Anrufliste::Anruf> &liste);
    // The status line after a reading that added `anzahl` calls.
    static QString Meldung(int anzahl);

    // Reads the router's list now, when the current line is a router with a
    // TR-064 user and a password in the keyring.
    void Lesen();

signals:
    // A reading ended: the calls added, or why none could be read.
    void Abgeglichen(int anzahl);
    void Fehler(const QString &grund);

private:
    void leitung(bool steht, const QString &grund);
    void nachtragen();

    Teile m_t;
    Tr064Anrufliste m_leser;
    QList<Anrufauswertung::Nachtrag> m_offen;
    int m_nachgetragen = 0;
    bool m_abgleich = false; // a reading's calls are being identified
};
