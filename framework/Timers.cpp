#include "framework/Timers.h"

#include <QTimer>

#include "framework/Clock.h"
#include "framework/Wnd.h"

namespace {

// Drives the queue on the real clock: one single-shot Qt timer aimed at the
// earliest due entry.
QTimer& Driver() {
    static QTimer* timer = [] {
        auto* t = new QTimer();
        t->setSingleShot(true);
        t->setTimerType(Qt::PreciseTimer);
        QObject::connect(t, &QTimer::timeout, [] { TimerQueue::Instance().FireDue(); });
        return t;
    }();
    return *timer;
}

} // namespace

TimerQueue& TimerQueue::Instance() {
    static TimerQueue queue;
    return queue;
}

void TimerQueue::Set(CWnd* wnd, UINT id, UINT elapseMs) {
    if (elapseMs == 0)
        elapseMs = 1; // a zero period would fire without end
    const std::int64_t due = Clock::NowMs() + elapseMs;
    for (Entry& e : m_timers) {
        if (e.wnd == wnd && e.id == id) {
            e.period = elapseMs;
            e.due = due;
            e.seq = m_nextSeq++;
            Reschedule();
            return;
        }
    }
    m_timers.push_back(Entry{wnd, id, elapseMs, due, m_nextSeq++});
    Reschedule();
}

bool TimerQueue::Kill(CWnd* wnd, UINT id) {
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        if (m_timers[i].wnd == wnd && m_timers[i].id == id) {
            m_timers.erase(m_timers.begin() + std::ptrdiff_t(i));
            Reschedule();
            return true;
        }
    }
    return false;
}

void TimerQueue::KillAll(CWnd* wnd) {
    std::erase_if(m_timers, [wnd](const Entry& e) { return e.wnd == wnd; });
    Reschedule();
}

bool TimerQueue::IsSet(const CWnd* wnd, UINT id) const {
    return DueIn(wnd, id) >= 0;
}

std::int64_t TimerQueue::DueIn(const CWnd* wnd, UINT id) const {
    for (const Entry& e : m_timers) {
        if (e.wnd == wnd && e.id == id) {
            const std::int64_t left = e.due - Clock::NowMs();
            return left < 0 ? 0 : left;
        }
    }
    return -1;
}

int TimerQueue::NextDueIndex(std::int64_t limit) const {
    int best = -1;
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        const Entry& e = m_timers[i];
        if (e.due > limit)
            continue;
        if (best < 0 || e.due < m_timers[std::size_t(best)].due ||
            (e.due == m_timers[std::size_t(best)].due && e.seq < m_timers[std::size_t(best)].seq))
            best = int(i);
    }
    return best;
}

void TimerQueue::FireEntry(int index) {
    Entry& e = m_timers[std::size_t(index)];
    // The next period counts from now: a late timer fires once, not in a burst.
    e.due = Clock::NowMs() + e.period;
    CWnd* wnd = e.wnd;
    const UINT id = e.id;
    Reschedule();
    wnd->OnTimer(id); // may set, kill or destroy anything
}

void TimerQueue::Advance(std::int64_t ms) {
    const std::int64_t target = Clock::NowMs() + (ms > 0 ? ms : 0);
    for (;;) {
        const int index = NextDueIndex(target);
        if (index < 0)
            break;
        Clock::AdvanceVirtualTo(m_timers[std::size_t(index)].due);
        FireEntry(index);
    }
    Clock::AdvanceVirtualTo(target);
}

void TimerQueue::FireDue() {
    const int index = NextDueIndex(Clock::NowMs());
    if (index >= 0)
        FireEntry(index);
    Reschedule();
}

void TimerQueue::Reschedule() {
    if (Clock::IsVirtual())
        return;
    QTimer& driver = Driver();
    if (m_timers.empty()) {
        driver.stop();
        return;
    }
    std::int64_t earliest = m_timers.front().due;
    for (const Entry& e : m_timers)
        earliest = std::min(earliest, e.due);
    const std::int64_t wait = std::max<std::int64_t>(0, earliest - Clock::NowMs());
    driver.start(int(std::min<std::int64_t>(wait, 1 << 30)));
}
