#pragma once

#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QSocketNotifier;

// Work handed from any thread to the thread that made the box: run there on
// the next turns of its event loop, in the order handed in. The hand-over
// is a list under a lock of our own and a wake-up through an event file
// descriptor, both of which the race checker sees.
class Postfach
{
public:
    Postfach();
    ~Postfach();
    Postfach(const Postfach &) = delete;
    Postfach &operator=(const Postfach &) = delete;

    void einwerfen(std::function<void()> auftrag);
    // Dropped when `empfaenger`, an object of the box's thread, is gone by then.
    void einwerfen(std::function<void()> auftrag, const QPointer<QObject> &empfaenger);

private:
    struct Eintrag
    {
        std::function<void()> auftrag;
        QPointer<QObject> empfaenger;
        bool mitEmpfaenger = false;
    };
    void einwerfen(Eintrag eintrag);
    void leeren();

    std::mutex m_mutex;
    std::deque<Eintrag> m_eintraege;
    bool m_geweckt = false;
    int m_weckruf = -1;
    std::unique_ptr<QSocketNotifier> m_melder;
};
