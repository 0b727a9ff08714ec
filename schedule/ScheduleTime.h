// The Schedule's dates: naive local wall-clock time in whole seconds since
// 30 December 1899 00:00 (the day count of an OLE date), with a valid flag,
// and polling intervals in seconds. No time zones: the wall clock is taken
// as it reads. No Qt in here.
#pragma once

#include <string>

#include "framework/Clock.h"

constexpr long long kSecondsPerDay = 86400;
// A span is valid only within this many days either way.
constexpr long long kMaxSpanDays = 3615897;

struct SiteTime {
    long long seconds = 0;
    bool valid = true;
};

struct SiteInterval {
    long long seconds = 0;
    bool valid = true;
    bool IsZero() const { return valid && seconds == 0; }
};

// A date and time of years 100 to 9999; invalid unless every part exists
// (31-02-2009, month 0 or 13, hour 24 give an invalid time).
SiteTime MakeSiteTime(int year, int month, int day, int hour, int minute, int second);
SiteTime SiteTimeFromLocal(const LocalTime& local);
// The parts of a valid time; false for an invalid one.
bool SplitSiteTime(const SiteTime& time, LocalTime* parts);

// "Jan" to "Dec" for 1 to 12, "???" otherwise; `buffer` holds 4 bytes.
void MonthName(char* buffer, int month);

// The start field of a site line: a text of exactly 16 characters other
// than "-" is read as hh:mm dd-mm-yyyy and rewritten for the Start column
// as hh:mm dd-Mon-yyyy; any other text stays and gives an invalid time.
SiteTime ParseStartField(const std::string& field, std::string* columnText);

// Interval field and unit ('M' minutes, 'H' hours, else days). A number
// that is not positive (negative, non-numeric, "0") is a zero interval;
// one beyond the span limit is invalid.
SiteInterval ParseInterval(const std::string& field, char unit);
// The Interval column: "-" for "0", else the field and " min"/" mins",
// " hr"/" hrs", " day"/" days" (singular only for exactly "1").
std::string IntervalColumnText(const std::string& field, char unit);

// The first of start + k * interval (k >= 0) that lies more than one
// second after `now`; invalid when the start or the interval is, or the
// result leaves the years of a date. A zero interval leaves `next` as it is.
SiteTime NextConnectionAfter(const SiteTime& next, const SiteInterval& interval,
                             const SiteTime& now);
// A site is due when its next connection lies no later than one second
// after `now`.
bool IsDue(const SiteTime& next, const SiteTime& now);
// "%02d:%02d %02d-%s-%04d" (hour, minute, day, month name, year); "" for
// an invalid time.
std::string FormatNextConnection(const SiteTime& time);
