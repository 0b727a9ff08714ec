// Window timers keyed by (window, id), as the program's pages expect them:
// SetTimer on a running id restarts it, a timer repeats until killed, a late
// timer fires once (never in a burst), and timers due at the same instant
// fire in the order they were armed.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/WinTypes.h"

class CWnd;

class TimerQueue {
public:
    static TimerQueue& Instance();

    void Set(CWnd* wnd, UINT id, UINT elapseMs);
    bool Kill(CWnd* wnd, UINT id);
    void KillAll(CWnd* wnd);
    bool IsSet(const CWnd* wnd, UINT id) const;
    // Milliseconds until (wnd, id) is due; -1 when it is not set.
    std::int64_t DueIn(const CWnd* wnd, UINT id) const;
    std::size_t Count() const { return m_timers.size(); }

    // Virtual clock: moves time forward by `ms`, firing every timer that
    // falls due on the way, each at its own instant.
    void Advance(std::int64_t ms);

    // Fires the earliest timer due at the clock's present time (real clock);
    // the others due follow in events of their own, so the event loop gets
    // a turn between them.
    void FireDue();

private:
    struct Entry {
        CWnd* wnd;
        UINT id;
        UINT period;
        std::int64_t due;
        std::uint64_t seq;
    };
    int NextDueIndex(std::int64_t limit) const;
    void FireEntry(int index);
    void Reschedule();

    std::vector<Entry> m_timers;
    std::uint64_t m_nextSeq = 0;
};
