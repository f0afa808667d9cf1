#include "platform/telephony/Wiederverbindung.h"

Wiederverbindung::Wiederverbindung(int retryIntervalMs, int graceSeconds, QObject *parent)
    : QObject(parent)
    , m_retryIntervalMs(std::max(retryIntervalMs, 10))
    , m_graceSeconds(std::clamp(graceSeconds, 0, MaxGraceSeconds))
{
    m_retryTimer.setSingleShot(true);
    m_graceTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &Wiederverbindung::versuchen);
    connect(&m_graceTimer, &QTimer::timeout, this, [this] {
        if (m_zustand == Zustand::Oeffnend || m_zustand == Zustand::Wiederverbindend)
            emit aufgegeben(m_zustand == Zustand::Oeffnend);
    });
}

void Wiederverbindung::oeffnen()
{
    if (m_zustand != Zustand::Geschlossen)
        return;
    m_zustand = Zustand::Oeffnend;
    emit versuchen();
}

void Wiederverbindung::schliessen()
{
    m_zustand = Zustand::Geschlossen;
    m_retryTimer.stop();
    m_graceTimer.stop();
}

bool Wiederverbindung::verbunden()
{
    const bool warWeg = m_zustand == Zustand::Wiederverbindend;
    m_zustand = Zustand::Verbunden;
    m_graceTimer.stop();
    return warWeg;
}

Wiederverbindung::Folge Wiederverbindung::beendet(const QString &grund)
{
    switch (m_zustand) {
    case Zustand::Geschlossen:
        return Folge::Keine;
    case Zustand::Oeffnend: {
        m_ersterGrund = grund;
        const bool erster = !m_graceTimer.isActive();
        if (erster)
            m_graceTimer.start(m_graceSeconds * 1000);
        m_retryTimer.start(m_retryIntervalMs);
        return erster ? Folge::ErsterFehlschlag : Folge::Keine;
    }
    case Zustand::Verbunden:
        m_zustand = Zustand::Wiederverbindend;
        m_graceTimer.start(m_graceSeconds * 1000);
        m_retryTimer.start(m_retryIntervalMs);
        return Folge::Unterbrochen;
    case Zustand::Wiederverbindend:
        // Quiet: the other side may still be restarting.
        m_retryTimer.start(m_retryIntervalMs);
        return Folge::Keine;
    }
    return Folge::Keine;
}
