#pragma once

#include "platform/telephony/LineDevice.h"

#include <QStringList>

// Everything a line device reports of its calls, in order, as
// "Signal(arg,arg,…)", a call as its id and handle; recording them all also
// shows an event that should not have come.
namespace Leitungsereignisse {

inline QString text(const QString &value) { return value; }
inline QString text(int value) { return QString::number(value); }
inline QString text(bool value) { return value ? QStringLiteral("ja") : QStringLiteral("nein"); }
inline QString text(Anrufkennung anruf) { return QString::number(anruf.id) + u',' + QString::number(anruf.handle); }
inline QString text(Rufnummernanzeige anzeige)
{
    switch (anzeige) {
    case Rufnummernanzeige::Nummer:
        return QStringLiteral("Nummer");
    case Rufnummernanzeige::Unterdrueckt:
        return QStringLiteral("Unterdrueckt");
    case Rufnummernanzeige::NichtVerfuegbar:
        break;
    }
    return QStringLiteral("NichtVerfuegbar");
}
inline QString text(Anrufende ende)
{
    switch (ende) {
    case Anrufende::Aufgelegt:
        return QStringLiteral("Aufgelegt");
    case Anrufende::Getrennt:
        return QStringLiteral("Getrennt");
    case Anrufende::Besetzt:
        return QStringLiteral("Besetzt");
    case Anrufende::Ausgeklungen:
        break;
    }
    return QStringLiteral("Ausgeklungen");
}

template <typename Sender, typename Klasse, typename... Args>
void zeichne(Sender &sender, QObject *context, QStringList &events, void (Klasse::*signal)(Args...),
             const QString &name)
{
    QObject::connect(&sender, signal, context, [&events, name](Args... args) {
        events << name + u'(' + QStringList{text(args)...}.join(u',') + u')';
    });
}

// For a device or the control: both report in the same words.
template <typename Sender>
void zeichneAuf(Sender &sender, QObject *context, QStringList &events)
{
#define EREIGNIS(signal) zeichne(sender, context, events, &Sender::signal, QStringLiteral(#signal))
    EREIGNIS(AnrufKommt), EREIGNIS(AngerufeneNummer), EREIGNIS(AnruferBekannt), EREIGNIS(Klingelt);
    EREIGNIS(Waehlt), EREIGNIS(Rufaufbau), EREIGNIS(Abgenommen), EREIGNIS(VerbundenMit), EREIGNIS(Beendet);
#undef EREIGNIS
}

} // namespace Leitungsereignisse
