#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

// The desktop's notifications: a message that appears on the screen for a
// while, may offer buttons, and can be replaced by a newer one. Everything
// is asynchronous, so that a slow or missing notification service never
// holds up the program; without one nothing happens at all.
class Benachrichtigungen : public QObject
{
    Q_OBJECT

public:
    struct Meldung
    {
        QString titel;
        QString text;                            // lines separated by "\n"
        QList<QPair<QString, QString>> aktionen; // key, button text
    };

    using QObject::QObject;

    // Shows `meldung`, in place of the notification `ersetzt` unless that is
    // 0. `auftrag` comes back with Gezeigt once the desktop has numbered it.
    virtual void zeige(quint64 auftrag, const Meldung &meldung, uint ersetzt) = 0;

signals:
    void Gezeigt(quint64 auftrag, uint id);
    // The user chose one of the notification's buttons.
    void AktionGewaehlt(uint id, const QString &aktion);
    void Geschlossen(uint id);
};
