// The part of the test environment that needs the window timers.
#include "framework/Timers.h"
#include "tests/support/TestEnv.h"

void TestEnv::Advance(long long ms) {
    TimerQueue::Instance().Advance(ms);
}
