// The program's one clock: monotonic milliseconds and local wall time.
// Production reads the system; tests switch to a virtual clock that only
// moves when the timer queue advances it.
#pragma once

#include <cstdint>

struct LocalTime {
    int year = 2000; // four digits
    int month = 1;   // 1..12
    int day = 1;     // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0; // 0 Sunday
};

class Clock {
public:
    // Monotonic milliseconds since an arbitrary start.
    static std::int64_t NowMs();
    // Local wall time now.
    static LocalTime LocalNow();

    // Tests: from now on time stands still at `start` until AdvanceVirtualTo
    // moves it.
    static void UseVirtual(const LocalTime& start);
    static void UseReal();
    // Tests: the wall clock is set to `now` (as by hand or a daylight-saving
    // change); the monotonic milliseconds and the timers do not move.
    static void SetVirtualLocal(const LocalTime& now);
    static bool IsVirtual();
    // Moves the virtual clock forward to `ms` (never backwards).
    static void AdvanceVirtualTo(std::int64_t ms);
};
