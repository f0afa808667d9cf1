#pragma once

#include "platform/teamjournal/Journalzeile.h"
#include "platform/teamjournal/PgVerbindung.h"
#include "platform/teamjournal/Teamzugang.h"

#include <QObject>
#include <QTimer>

#include <atomic>

// Writes calls into the team journal, on a thread of its own: a server that
// is slow or down holds up nobody. Rows it could not write wait and are
// tried again, sooner after a short outage, at most once a minute after a
// long one. A row is written once however often it comes (its call id).
class Journalschreiber : public QObject
{
    Q_OBJECT

public:
    static constexpr int ErsteWiederholungMs = 2000;
    static constexpr int LaengsteWiederholungMs = 60000;

    explicit Journalschreiber(QObject *parent = nullptr);

    // Called on the writer's thread (queued).
    void setZugang(const Teamzugang &zugang);
    void schreibe(const QList<Journalzeile> &zeilen);
    // Rows the writer holds; the outbox keeps them too.
    int offen() const { return static_cast<int>(m_offen.size()); }
    void setWiederholungMs(int ms) { m_ersteWiederholung = ms; }
    void beenden();
    // From any thread: a connection being made is given up; the program ends.
    void abbrechen() { m_abbruch = true; }

    // The statements as sent: values only as parameters.
    static QByteArray EinfuegenSql();
    static QVariantList Werte(const Journalzeile &zeile);
    static QByteArray AusgangSql();

signals:
    // The calls now in the journal, and those of them whose outcome is there too.
    void geschrieben(const QStringList &anrufIds, const QStringList &mitAusgang);
    // The journal reached or not, in words for the tool tip.
    void zustand(bool erreichbar, const QString &text);

private:
    void versuchen();
    bool verbinden();
    void spaeter(const QString &grund);

    Teamzugang m_zugang;
    PgVerbindung m_db;
    QList<Journalzeile> m_offen;
    QTimer m_wiederholung{this}; // a child: it moves to the thread with its owner
    int m_ersteWiederholung = ErsteWiederholungMs;
    int m_warten = ErsteWiederholungMs;
    bool m_schemaGeprueft = false;
    std::atomic<bool> m_abbruch{false};
};
