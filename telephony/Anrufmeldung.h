#pragma once

#include "platform/benachrichtigung/Benachrichtigungen.h"
#include "core/Anruf.h"
#include "platform/telephony/Anrufkennung.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <chrono>

#include <cstdint>
#include <optional>

// The desktop notification of an identified call: what it says, which
// buttons it offers (a click on it shows the call in the caller list), and
// that a call identified again (its connected number) replaces its own
// notification instead of adding one. A line reuses its
// call ids, so a call's notification is left alone once the call has ended.
// A burst of calls shows one notification: a new call within the minimum
// gap of the last waits, the newest waiting one then takes the place of the
// one shown, so that no more than one a gap appears and nothing piles up.
class Anrufmeldung : public QObject
{
    Q_OBJECT

public:
    explicit Anrufmeldung(Benachrichtigungen &dienst, QObject *parent = nullptr);

    bool aktiv() const { return m_aktiv; }
    void setAktiv(bool aktiv) { m_aktiv = aktiv; }
    // The least time between two new notifications (1 s).
    void setMindestabstand(std::chrono::milliseconds abstand) { m_mindestabstand = abstand; }

    // The call's notification, new or in place of the call's earlier one.
    void Melden(const ::Anruf &anruf);
    // The call is over: its id gets a new notification next time.
    void Beendet(Anrufkennung anruf);

    static Benachrichtigungen::Meldung Inhalt(const ::Anruf &anruf);
    // The click on the notification itself.
    static QString StandardAktion();
    static QString KontaktAktion();
    static QString RueckrufAktion();

signals:
    // The notification of the caller-list entry with that key was clicked.
    void Anzeigen(quint64 eintrag);
    // A button of the notification of the caller-list entry with that key.
    void KontaktAnzeigen(quint64 eintrag);
    void Zurueckrufen(quint64 eintrag);

private:
    struct Laufend
    {
        quint64 auftrag = 0; // the last notification asked for
        uint id = 0;         // the desktop's number of the one shown
        std::optional<::Anruf> wartend; // a newer state, waiting for that number
    };

    void sende(const ::Anruf &anruf, uint ersetzt);
    void neu(const ::Anruf &anruf);
    void gehaltenZeigen();
    void gezeigt(quint64 auftrag, uint id);
    void aktion(uint id, const QString &aktion);

    Benachrichtigungen &m_dienst;
    bool m_aktiv = true;
    quint64 m_naechsterAuftrag = 1;
    QHash<std::int32_t, Laufend> m_anrufe;         // by call id, while the call lasts
    QHash<quint64, ::Anruf> m_auftraege;    // asked for, not yet numbered
    QHash<uint, quint64> m_eintraege;              // notification → caller-list entry
    std::chrono::milliseconds m_mindestabstand{1000};
    QElapsedTimer m_seitNeu;                       // since the last new notification
    quint64 m_neuAuftrag = 0;                      // that notification's request
    uint m_neuId = 0;                              // and its number, once known
    std::optional<::Anruf> m_gehalten;      // the newest call of a burst, waiting
    QTimer m_gehaltenZeit;
};
