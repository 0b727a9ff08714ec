// The calling thread's CPU time, for benchmarks on a shared machine.
#pragma once

#include <time.h>

inline double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}
