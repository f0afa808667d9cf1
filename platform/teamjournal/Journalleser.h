#pragma once

#include "platform/teamjournal/Journalzeile.h"
#include "platform/teamjournal/Teamfilter.h"
#include "platform/teamjournal/PgVerbindung.h"
#include "platform/teamjournal/Teamzugang.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <memory>

class QSocketNotifier;

// Reads the team journal for the team window, on a thread of its own, and
// listens for the other desks' new calls (LISTEN/NOTIFY).
class Journalleser : public QObject
{
    Q_OBJECT

public:
    explicit Journalleser(QObject *parent = nullptr);
    ~Journalleser() override;

    // Called on the reader's thread (queued).
    void setZugang(const Teamzugang &zugang);
    void abfragen(const Teamfilter &filter);
    void beenden();
    // From any thread: a connection being made is given up; the window is gone.
    void abbrechen() { m_abbruch = true; }

    // The window's query and its values, as sent.
    static QByteArray AbfrageSql();
    static QVariantList Werte(const Teamfilter &filter, const QDateTime &jetzt);
    static QList<Journalzeile> zeilen(const PgVerbindung::Ergebnis &ergebnis);
    // The desks that wrote to the journal.
    static QByteArray ArbeitsplaetzeSql();

signals:
    void ergebnis(const QList<Journalzeile> &zeilen, const QStringList &arbeitsplaetze);
    // Another call reached the journal.
    void neu();
    void zustand(bool erreichbar, const QString &text);

private:
    bool verbinden();
    void lesen();

    Teamzugang m_zugang;
    PgVerbindung m_db;
    std::unique_ptr<QSocketNotifier> m_horcher;
    QTimer m_wiederholung{this}; // a child: it moves to the thread with its owner
    std::atomic<bool> m_abbruch{false};
};
