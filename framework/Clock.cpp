#include "framework/Clock.h"

#include <chrono>
#include <ctime>

namespace {

bool g_virtual = false;
std::int64_t g_virtualMs = 0;
std::time_t g_virtualEpochStart = 0; // wall time at virtual ms 0

std::time_t ToTimeT(const LocalTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    return std::mktime(&tm);
}

LocalTime FromTimeT(std::time_t when) {
    std::tm tm{};
    localtime_r(&when, &tm);
    LocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.dayOfWeek = tm.tm_wday;
    return t;
}

} // namespace

std::int64_t Clock::NowMs() {
    if (g_virtual)
        return g_virtualMs;
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

LocalTime Clock::LocalNow() {
    if (g_virtual)
        return FromTimeT(g_virtualEpochStart + std::time_t(g_virtualMs / 1000));
    return FromTimeT(std::time(nullptr));
}

void Clock::UseVirtual(const LocalTime& start) {
    g_virtual = true;
    g_virtualMs = 0;
    g_virtualEpochStart = ToTimeT(start);
}

void Clock::SetVirtualLocal(const LocalTime& now) {
    g_virtualEpochStart = ToTimeT(now) - std::time_t(g_virtualMs / 1000);
}

void Clock::UseReal() {
    g_virtual = false;
}

bool Clock::IsVirtual() {
    return g_virtual;
}

void Clock::AdvanceVirtualTo(std::int64_t ms) {
    if (ms > g_virtualMs)
        g_virtualMs = ms;
}
