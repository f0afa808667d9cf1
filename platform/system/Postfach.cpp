#include "platform/system/Postfach.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

Postfach::Postfach()
    : m_weckruf(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    , m_melder(std::make_unique<QSocketNotifier>(m_weckruf, QSocketNotifier::Read))
{
    QObject::connect(m_melder.get(), &QSocketNotifier::activated, m_melder.get(), [this] { leeren(); });
}

Postfach::~Postfach()
{
    m_melder.reset();
    if (m_weckruf >= 0)
        ::close(m_weckruf);
}

void Postfach::einwerfen(std::function<void()> auftrag)
{
    einwerfen(Eintrag{std::move(auftrag), {}, false});
}

void Postfach::einwerfen(std::function<void()> auftrag, const QPointer<QObject> &empfaenger)
{
    einwerfen(Eintrag{std::move(auftrag), empfaenger, true});
}

void Postfach::einwerfen(Eintrag eintrag)
{
    const std::lock_guard sperre(m_mutex);
    m_eintraege.push_back(std::move(eintrag));
    // One wake-up for everything handed in until the box is emptied.
    if (!std::exchange(m_geweckt, true)) {
        const std::uint64_t eins = 1;
        [[maybe_unused]] const ssize_t n = ::write(m_weckruf, &eins, sizeof eins);
    }
}

void Postfach::leeren()
{
    std::uint64_t zaehler = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_weckruf, &zaehler, sizeof zaehler);
    std::deque<Eintrag> eintraege;
    {
        const std::lock_guard sperre(m_mutex);
        eintraege.swap(m_eintraege);
        m_geweckt = false;
    }
    for (Eintrag &e : eintraege) {
        if (!e.mitEmpfaenger || e.empfaenger)
            e.auftrag();
    }
}
