#include "plot/PlotTime.h"

#include <cmath>

namespace {

constexpr std::int64_t kDay = 86400;

// Days from 1 March of year 0 style civil arithmetic, shifted to the epoch.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 693899; // 693899: 30 December 1899
}

void CivilFromDays(std::int64_t z, int* year, int* month, int* day) {
    z += 693899;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = int(doy - (153 * mp + 2) / 5 + 1);
    const int m = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yoe + era * 400 + (m <= 2));
    *month = m;
    *day = d;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

const PlotSeconds kFirst = DaysFromCivil(100, 1, 1) * kDay;
const PlotSeconds kEnd = DaysFromCivil(10000, 1, 1) * kDay;

} // namespace

PlotSeconds MakePlotTime(int year, int month, int day, int hour, int minute, int second) {
    static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return kNoTime;
    const int days = kMonthDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day > days)
        return kNoTime;
    return DaysFromCivil(year, month, day) * kDay + hour * 3600 + minute * 60 + second;
}

double PlotTimeToOle(PlotSeconds seconds) {
    std::int64_t days = seconds / kDay;
    std::int64_t rest = seconds % kDay;
    if (rest < 0) {
        rest += kDay;
        --days;
    }
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
    std::int64_t days = seconds / kDay;
    std::int64_t rest = seconds % kDay;
    if (rest < 0) {
        rest += kDay;
        --days;
    }
    CivilFromDays(days, &f.year, &f.month, &f.day);
    f.hour = int(rest / 3600);
    f.minute = int(rest / 60 % 60);
    f.second = int(rest % 60);
    return f;
}
