#include "schedule/ScheduleTime.h"

#include <climits>
#include <cstdio>

#include "framework/CivilDate.h"
#include "framework/Text.h"

namespace {

const long long kEpochDays = DaysFromCivil(1899, 12, 30);

long long SecondsOf(int year, int month, int day, int hour, int minute, int second) {
    return (DaysFromCivil(year, month, day) - kEpochDays) * kSecondsPerDay + hour * 3600LL +
           minute * 60LL + second;
}

const long long kMinSeconds = SecondsOf(100, 1, 1, 0, 0, 0);
const long long kMaxSeconds = SecondsOf(9999, 12, 31, 23, 59, 59);

// A decimal number as atoi reads it (blanks, a sign, digits), saturated.
long long ReadNumber(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < 100000000000000LL)
            value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

int ReadPart(const char* text) {
    const long long value = ReadNumber(text);
    return int(value > 1000000 ? 1000000 : value < -1000000 ? -1000000 : value);
}

} // namespace

SiteTime MakeSiteTime(int year, int month, int day, int hour, int minute, int second) {
    SiteTime t;
    t.valid = year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && hour >= 0 &&
              hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    if (!t.valid)
        return t;
    t.seconds = SecondsOf(year, month, day, hour, minute, second);
    LocalTime back;
    t.valid = SplitSiteTime(t, &back) && back.day == day && back.month == month;
    return t;
}

SiteTime SiteTimeFromLocal(const LocalTime& local) {
    return MakeSiteTime(local.year, local.month, local.day, local.hour, local.minute, local.second);
}

bool SplitSiteTime(const SiteTime& time, LocalTime* parts) {
    if (!time.valid || time.seconds < kMinSeconds || time.seconds > kMaxSeconds)
        return false;
    long long days = time.seconds / kSecondsPerDay;
    long long rest = time.seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    CivilFromDays(days + kEpochDays, &parts->year, &parts->month, &parts->day);
    parts->hour = int(rest / 3600);
    parts->minute = int(rest / 60 % 60);
    parts->second = int(rest % 60);
    parts->dayOfWeek = int(((days + kEpochDays) % 7 + 11) % 7); // 1970-01-01 was a Thursday
    return true;
}

void MonthName(char* buffer, int month) {
    static const char* const kNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    BoundedCopy(buffer, 3, month >= 1 && month <= 12 ? kNames[month - 1] : "???");
}

SiteTime ParseStartField(const std::string& field, std::string* columnText) {
    *columnText = field;
    if (field == "-" || field.size() != 16)
        return MakeSiteTime(100, 0, 0, 0, 0, 0);
    const char* text = field.c_str();
    const int hour = ReadPart(text);
    const int minute = ReadPart(text + 3);
    const int day = ReadPart(text + 6);
    const int month = ReadPart(text + 9);
    const int year = ReadPart(text + 12);
    char name[4];
    MonthName(name, month);
    *columnText = field.substr(0, 9) + name + "-" + field.substr(12, 4);
    return MakeSiteTime(year, month, day, hour, minute, 0);
}

SiteInterval ParseInterval(const std::string& field, char unit) {
    SiteInterval interval;
    const long long n = ReadNumber(field.c_str());
    if (field == "0" || n <= 0)
        return interval;
    const long long perUnit = unit == 'M' ? 60 : unit == 'H' ? 3600 : kSecondsPerDay;
    if (n > kMaxSpanDays * kSecondsPerDay / perUnit) {
        interval.valid = false;
        return interval;
    }
    interval.seconds = n * perUnit;
    return interval;
}

std::string IntervalColumnText(const std::string& field, char unit) {
    if (field == "0")
        return "-";
    const bool one = field == "1";
    if (unit == 'M')
        return field + (one ? " min" : " mins");
    if (unit == 'H')
        return field + (one ? " hr" : " hrs");
    return field + (one ? " day" : " days");
}

namespace {

// Held at the limits of long long instead of wrapping.
long long SaturatingAdd(long long a, long long b) {
    long long r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? LLONG_MAX : LLONG_MIN;
    return r;
}

long long SaturatingSub(long long a, long long b) {
    long long r = 0;
    if (__builtin_sub_overflow(a, b, &r))
        return b < 0 ? LLONG_MAX : LLONG_MIN;
    return r;
}

long long SaturatingMul(long long a, long long b) {
    long long r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        return (a < 0) != (b < 0) ? LLONG_MIN : LLONG_MAX;
    return r;
}

} // namespace

SiteTime NextConnectionAfter(const SiteTime& next, const SiteInterval& interval,
                             const SiteTime& now) {
    if (!next.valid || interval.IsZero())
        return next;
    SiteTime result = next;
    if (!interval.valid || !now.valid) {
        result.valid = false;
        return result;
    }
    const long long limit = SaturatingAdd(now.seconds, 1);
    if (next.seconds > limit)
        return result;
    const long long k = SaturatingSub(limit, next.seconds) / interval.seconds + 1;
    result.seconds = SaturatingAdd(next.seconds, SaturatingMul(k, interval.seconds));
    result.valid = result.seconds <= kMaxSeconds;
    return result;
}

bool IsDue(const SiteTime& next, const SiteTime& now) {
    return next.valid && now.valid && next.seconds <= now.seconds + 1;
}

std::string FormatNextConnection(const SiteTime& time) {
    LocalTime parts;
    if (!SplitSiteTime(time, &parts))
        return "";
    char name[4];
    MonthName(name, parts.month);
    return Format("%02d:%02d %02d-%s-%04d", parts.hour, parts.minute, parts.day, name, parts.year);
}
