#pragma once

#include "Kontaktliste.h"

#include <condition_variable>
#include <mutex>

// An address book whose searches, while it is locked, wait on the search
// thread until the test releases them: a long search the test holds open
// while calls arrive.
class Sperrbuch : public Kontaktliste
{
public:
    void sperren()
    {
        const std::lock_guard sperre(m_mutex);
        m_gesperrt = true;
    }
    void freigeben()
    {
        {
            const std::lock_guard sperre(m_mutex);
            m_gesperrt = false;
        }
        m_bedingung.notify_all();
    }
    // Whether a search has come to the lock and waits there.
    bool wartet() const
    {
        const std::lock_guard sperre(m_mutex);
        return m_wartende > 0;
    }
    int gewartet() const
    {
        const std::lock_guard sperre(m_mutex);
        return m_gewartet;
    }

    Oeffnung oeffnen() override
    {
        Oeffnung o = Kontaktliste::oeffnen();
        if (o.lauf)
            o.lauf = std::make_unique<Lauf>(std::move(o.lauf), *this);
        return o;
    }

private:
    class Lauf : public Kontaktsuchlauf
    {
    public:
        Lauf(std::unique_ptr<Kontaktsuchlauf> innen, Sperrbuch &buch)
            : m_innen(std::move(innen))
            , m_buch(buch)
        {
        }
        Fund erster(const QString &nummer, const QString &schluessel) override
        {
            m_buch.warten();
            return m_innen->erster(nummer, schluessel);
        }
        Aehnliche aehnliche(const QString &ziffern) override
        {
            m_buch.warten();
            return m_innen->aehnliche(ziffern);
        }
        QString firma(const QString &id) override { return m_innen->firma(id); }

    private:
        std::unique_ptr<Kontaktsuchlauf> m_innen;
        Sperrbuch &m_buch;
    };

    void warten()
    {
        std::unique_lock sperre(m_mutex);
        if (!m_gesperrt)
            return;
        ++m_wartende;
        ++m_gewartet;
        m_bedingung.wait(sperre, [this] { return !m_gesperrt; });
        --m_wartende;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_bedingung;
    bool m_gesperrt = false;
    int m_wartende = 0;
    int m_gewartet = 0;
};
