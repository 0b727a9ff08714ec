#include "plot/PlotTime.h"

#include <cmath>

#include "framework/CivilDate.h"

namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);

// Days since 30 December 1899, and back.
constexpr std::int64_t OleDays(std::int64_t y, int m, int d) {
    return DaysFromCivil(y, m, d) - kOleEpochDays;
}
void CivilFromOleDays(std::int64_t z, int* year, int* month, int* day) {
    CivilFromDays(z + kOleEpochDays, year, month, day);
}

const PlotSeconds kFirst = OleDays(100, 1, 1) * kDay;
const PlotSeconds kEnd = OleDays(10000, 1, 1) * kDay;

// Whole days from the epoch (rounded down) and the seconds into that day.
std::int64_t SplitDays(PlotSeconds seconds, std::int64_t* rest) {
    std::int64_t days = seconds / kDay;
    *rest = seconds % kDay;
    if (*rest < 0) {
        *rest += kDay;
        --days;
    }
    return days;
}

} // namespace

PlotSeconds MakePlotTime(int year, int month, int day, int hour, int minute, int second) {
    static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1)
        return kNoTime;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > kMonthDays[month - 1] + (month == 2 && leap ? 1 : 0))
        return kNoTime;
    return AddTimeOfDay(OleDays(year, month, day) * kDay, hour, minute, second);
}

PlotSeconds AddTimeOfDay(PlotSeconds day, int hour, int minute, int second) {
    if (day == kNoTime || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59)
        return kNoTime;
    return day + hour * 3600 + minute * 60 + second;
}

double PlotTimeToOle(PlotSeconds seconds) {
    std::int64_t rest = 0;
    const std::int64_t days = SplitDays(seconds, &rest);
    const double fraction = double(rest) / double(kDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

bool OleToPlotTime(double ole, PlotSeconds* seconds) {
    if (!std::isfinite(ole) || ole < -657435.0 || ole >= 2958466.0)
        return false;
    // Below the epoch the whole day counts back and the fraction forward.
    const double whole = std::trunc(ole);
    const double fraction = std::fabs(ole - whole);
    const std::int64_t secs = std::int64_t(whole) * kDay + std::llround(fraction * double(kDay));
    if (secs < kFirst || secs >= kEnd)
        return false;
    *seconds = secs;
    return true;
}

PlotFields PlotTimeFields(PlotSeconds seconds) {
    PlotFields f;
    std::int64_t rest = 0;
    const std::int64_t days = SplitDays(seconds, &rest);
    CivilFromOleDays(days, &f.year, &f.month, &f.day);
    f.hour = int(rest / 3600);
    f.minute = int(rest / 60 % 60);
    f.second = int(rest % 60);
    return f;
}
