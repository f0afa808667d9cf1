#pragma once

#include "platform/benachrichtigung/Benachrichtigungen.h"
#include "telephony/ErkannterAnruf.h"

#include <QHash>
#include <QObject>

#include <cstdint>
#include <optional>

// The desktop notification of an identified call: what it says, which
// buttons it offers, and that a call identified again (its connected number)
// replaces its own notification instead of adding one. A line reuses its
// call ids, so a call's notification is left alone once the call has ended.
class Anrufmeldung : public QObject
{
    Q_OBJECT

public:
    explicit Anrufmeldung(Benachrichtigungen &dienst, QObject *parent = nullptr);

    bool aktiv() const { return m_aktiv; }
    void setAktiv(bool aktiv) { m_aktiv = aktiv; }

    // The call's notification, new or in place of the call's earlier one.
    void Anruf(const ErkannterAnruf &anruf);
    // A call state of the line: an ended call gets a new notification next time.
    void Zustand(const QString &CCallstate, std::int32_t CCallHandle, std::int32_t CCallID);

    static Benachrichtigungen::Meldung Inhalt(const ErkannterAnruf &anruf);
    static QString KontaktAktion();
    static QString RueckrufAktion();

signals:
    // A button of the notification of the caller-list entry with that key.
    void KontaktAnzeigen(quint64 eintrag);
    void Zurueckrufen(quint64 eintrag);

private:
    struct Laufend
    {
        quint64 auftrag = 0; // the last notification asked for
        uint id = 0;         // the desktop's number of the one shown
        std::optional<ErkannterAnruf> wartend; // a newer state, waiting for that number
    };

    void sende(const ErkannterAnruf &anruf, uint ersetzt);
    void gezeigt(quint64 auftrag, uint id);
    void aktion(uint id, const QString &aktion);

    Benachrichtigungen &m_dienst;
    bool m_aktiv = true;
    quint64 m_naechsterAuftrag = 1;
    QHash<std::int32_t, Laufend> m_anrufe;         // by call id, while the call lasts
    QHash<quint64, ErkannterAnruf> m_auftraege;    // asked for, not yet numbered
    QHash<uint, quint64> m_eintraege;              // notification → caller-list entry
};
