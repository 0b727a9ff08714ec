// Calendar times of the View Plot page as whole seconds from the OLE epoch
// (30 December 1899 00:00), and their OLE dates (days as a double). No Qt.
#pragma once

#include <cstdint>

// Seconds from 30 December 1899 00:00; kNoTime when the fields do not form a
// calendar date and time (years 100 to 9999, as OLE dates allow).
using PlotSeconds = std::int64_t;
constexpr PlotSeconds kNoTime = INT64_MIN;

struct PlotFields {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

PlotSeconds MakePlotTime(int year, int month, int day, int hour, int minute, int second);
// `day` plus a time of day; kNoTime when `day` is kNoTime or the time is not
// a clock time.
PlotSeconds AddTimeOfDay(PlotSeconds day, int hour, int minute, int second);
// Days from the epoch as an OLE date: below the epoch the fraction counts
// forward from the (negative) whole day, as OLE dates do.
double PlotTimeToOle(PlotSeconds seconds);
// The OLE date rounded to the nearest second; false for a value outside
// years 100 to 9999 or not finite.
bool OleToPlotTime(double ole, PlotSeconds* seconds);
PlotFields PlotTimeFields(PlotSeconds seconds);
