#pragma once

#include "doubles/Begleitprozess.h"
#include "platform/desktop/Desktop.h"

#include <QHash>
#include <QStringList>

// The foreign test program (fremdfenster) running with the windows its
// arguments describe; collects the lines it reports.
class Fremdprogramm
{
public:
    // Starts it and waits until its windows stand; false when it could not.
    bool starte(const QStringList &argumente);
    ~Fremdprogramm();

    Fenster id(const QString &name) const { return m_ids.value(name); }
    // Every line reported so far (after "BEREIT").
    QStringList zeilen();
    // Waits until a line equal to `zeile` was reported, at most `ms`.
    bool warteAuf(const QString &zeile, int ms = 5000);
    // The keys a window got so far, joined.
    QString tasten(const QString &name);

private:
    void lies();

    Begleitprozess m_prozess;
    QHash<QString, Fenster> m_ids;
    QStringList m_zeilen;
    QByteArray m_rest;
};
