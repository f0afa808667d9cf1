#pragma once

#include "platform/teamjournal/Journalzeile.h"
#include "platform/teamjournal/Teamfilter.h"
#include "platform/teamjournal/Teamzugang.h"

#include <QObject>
#include <QStringList>
#include <QThread>

class Journalleser;

// The team window's access to the journal: queries and the news of other
// desks' calls, answered by signals from a thread of its own.
class Teamabfrage : public QObject
{
    Q_OBJECT

public:
    explicit Teamabfrage(const Teamzugang &zugang, QObject *parent = nullptr);
    ~Teamabfrage() override;

    void abfragen(const Teamfilter &filter);

signals:
    void Ergebnis(const QList<Journalzeile> &zeilen, const QStringList &arbeitsplaetze);
    void Neu();
    void Zustand(bool erreichbar, const QString &text);

private:
    QThread m_thread;
    Journalleser *m_leser = nullptr; // lives on m_thread
};
