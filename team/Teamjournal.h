#pragma once

#include "platform/teamjournal/Journalzeile.h"
#include "platform/teamjournal/Teamzugang.h"
#include "platform/telephony/Anrufkennung.h"

#include <QHash>
#include <QObject>
#include <QThread>

#include <cstdint>
#include <memory>

class Database;
class Journalschreiber;
class Teamausgang;
struct Anruf;

// The desk's part of the team journal: each identified call goes into the
// outbox of the desk's own store and on to the journal's writer on its own
// thread; what the journal has leaves the outbox. The outbox's rows are sent
// again at every start, so a call reaches the journal once even after hours
// of outage or a restart in between. Nothing here waits for the server.
class Teamjournal : public QObject
{
    Q_OBJECT

public:
    explicit Teamjournal(const Teamzugang &zugang, QObject *parent = nullptr);
    ~Teamjournal() override;

    const Teamzugang &Zugang() const { return m_zugang; }
    // The outbox in the desk's store; its waiting rows go out at once.
    void setAusgang(std::shared_ptr<Database> db);
    // The writer's first pause after an outage (tests).
    void setWiederholungMs(int ms);

    // An identified call on the line `leitung`.
    void Eintragen(const ::Anruf &anruf, const QString &leitung);
    // What became of a call on the line: whether it was taken, and how long it lasted.
    void Abgenommen(Anrufkennung anruf);
    void Beendet(Anrufkennung anruf);

    // The journal's state in words, for a tool tip.
    QString ZustandText() const { return m_zustand; }
    bool Erreichbar() const { return m_erreichbar; }
    // Calls in the outbox, not yet in the journal.
    int Wartend() const;

    static Journalzeile Zeile(const ::Anruf &anruf, const QString &arbeitsplatz, const QString &leitung);

signals:
    void ZustandGeaendert(const QString &text);
    // Calls the journal took (their ids).
    void Geschrieben(const QStringList &anrufIds);

private:
    void senden(const QList<Journalzeile> &zeilen);
    void geschrieben(const QStringList &anrufIds, const QStringList &mitAusgang);
    void zustand(bool erreichbar, const QString &text);

    // A live call from identification to its end.
    struct Laufend
    {
        Journalzeile zeile;
        QDateTime verbunden; // invalid: not taken (yet)
    };

    Teamzugang m_zugang;
    QThread m_thread;
    Journalschreiber *m_schreiber = nullptr; // lives on m_thread
    std::unique_ptr<Teamausgang> m_ausgang;
    QHash<std::int32_t, Laufend> m_laufend;
    QString m_zustand;
    bool m_erreichbar = false;
};
