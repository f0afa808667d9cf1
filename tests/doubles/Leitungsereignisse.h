#pragma once

#include "platform/telephony/LineDevice.h"

#include <QStringList>

// Every call event a line device raises, in order, as "Signal(arg,arg,…)";
// recording them all also shows an event that should not have come.
namespace Leitungsereignisse {

inline QString text(const QString &value) { return value; }
inline QString text(std::int32_t value) { return QString::number(value); }

template <typename... Args>
void zeichne(LineDevice &device, QObject *context, QStringList &events, void (LineDevice::*signal)(Args...),
             const QString &name)
{
    QObject::connect(&device, signal, context, [&events, name](Args... args) {
        events << name + u'(' + QStringList{text(args)...}.join(u',') + u')';
    });
}

inline void zeichneAuf(LineDevice &device, QObject *context, QStringList &events)
{
#define EREIGNIS(signal) zeichne(device, context, events, &LineDevice::signal, QStringLiteral(#signal))
    EREIGNIS(OnCallState), EREIGNIS(OnCallerID), EREIGNIS(OnConnectedID), EREIGNIS(OnCalledID);
    EREIGNIS(OnRedirectingID), EREIGNIS(OnRedirectionID), EREIGNIS(OnCallOrigin), EREIGNIS(OnBusy);
    EREIGNIS(OnConnected), EREIGNIS(OnDialtone), EREIGNIS(OnDisconnected), EREIGNIS(OnOffering), EREIGNIS(OnRinging);
#undef EREIGNIS
}

} // namespace Leitungsereignisse
