#pragma once

#include "platform/system/Postfach.h"

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The one thread on which contact sources are opened and searched and the
// number cache is built, kept for the program's life: a call pays a
// hand-over of microseconds, not a thread's start. Jobs run one after the
// other in the order given, so two searches never meet in one source. A job
// answers through its messenger; the answers run on the thread that made
// this object (the GUI thread), in order, while their receiver lives.
class Suchthread
{
public:
    class Bote
    {
    public:
        // Runs `antwort` on the GUI thread, after the answers sent before.
        void melden(std::function<void()> antwort);

    private:
        friend class Suchthread;
        Bote(Postfach &postfach, QPointer<QObject> empfaenger);
        Postfach &m_postfach;
        QPointer<QObject> m_empfaenger;
    };
    using Arbeit = std::function<void(Bote &)>;

    // Answers go through `postfach`, which outlives the thread.
    explicit Suchthread(Postfach &postfach);
    ~Suchthread();
    Suchthread(const Suchthread &) = delete;
    Suchthread &operator=(const Suchthread &) = delete;

    // Runs `arbeit` on the thread after the jobs given before; its answers
    // go to `empfaenger`, an object of the GUI thread, and are dropped once
    // it is gone.
    void ausfuehren(QObject *empfaenger, Arbeit arbeit);
    // Waits until every job given so far has run. Only for the end of an
    // owner whose jobs would still use it; never during a call.
    void abwarten();
    bool istDieser() const;

private:
    struct Auftrag
    {
        QPointer<QObject> empfaenger;
        Arbeit arbeit;
    };
    void laufen();

    Postfach &m_postfach;
    std::mutex m_mutex;
    std::condition_variable m_bedingung;
    std::deque<Auftrag> m_auftraege;
    bool m_arbeitet = false;
    bool m_ende = false;
    std::thread m_thread; // last: started when everything above stands
};
