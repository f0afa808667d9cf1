#include "telephony/Suchthread.h"

Suchthread::Bote::Bote(Postfach &postfach, QPointer<QObject> empfaenger)
    : m_postfach(postfach)
    , m_empfaenger(std::move(empfaenger))
{
}

void Suchthread::Bote::melden(std::function<void()> antwort)
{
    m_postfach.einwerfen(std::move(antwort), m_empfaenger);
}

Suchthread::Suchthread(Postfach &postfach)
    : m_postfach(postfach)
    , m_thread([this] { laufen(); })
{
}

Suchthread::~Suchthread()
{
    {
        const std::lock_guard sperre(m_mutex);
        m_ende = true;
    }
    m_bedingung.notify_all();
    m_thread.join();
}

void Suchthread::ausfuehren(QObject *empfaenger, Arbeit arbeit)
{
    {
        const std::lock_guard sperre(m_mutex);
        m_auftraege.push_back({QPointer<QObject>(empfaenger), std::move(arbeit)});
    }
    m_bedingung.notify_all();
}

void Suchthread::laufen()
{
    std::unique_lock sperre(m_mutex);
    for (;;) {
        m_bedingung.wait(sperre, [this] { return m_ende || !m_auftraege.empty(); });
        if (m_ende)
            return;
        Auftrag auftrag = std::move(m_auftraege.front());
        m_auftraege.pop_front();
        m_arbeitet = true;
        sperre.unlock();
        Bote bote(m_postfach, std::move(auftrag.empfaenger));
        auftrag.arbeit(bote);
        auftrag = {};
        sperre.lock();
        m_arbeitet = false;
        m_bedingung.notify_all();
    }
}

void Suchthread::abwarten()
{
    // A job waiting for itself would wait for ever.
    if (istDieser())
        return;
    std::unique_lock sperre(m_mutex);
    m_bedingung.wait(sperre, [this] { return m_auftraege.empty() && !m_arbeitet; });
}

bool Suchthread::istDieser() const
{
    return std::this_thread::get_id() == m_thread.get_id();
}
