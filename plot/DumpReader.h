// The dump-file reader: one pass over a dump's bytes, delivering to a sink in
// file order the kind, the title, the points of each series (rain summed per
// collection period), and at the end the messages and ranges. No Qt in here.
#pragma once

#include <cstdint>
#include <string>

#include "plot/DumpLine.h"
#include "plot/PlotTime.h"

enum : std::uint8_t {
    PLOT_KIND_NONE = 0,
    PLOT_KIND_RAIN = 1,
    PLOT_KIND_RIVER = 2,
    PLOT_KIND_BATT = 3,
    PLOT_KIND_BATT_INT = 4,
    PLOT_KIND_BATT_EXT = 5,
    PLOT_KIND_BATT_TEMP = 6,
    PLOT_KIND_TEMP = 7,
    PLOT_KIND_ALL = 8,
};

// Series of the chart the points go to.
enum : int {
    SERIES_RAIN = 0,
    SERIES_RIVER = 1,
    SERIES_BV_INT = 2,
    SERIES_BV_EXT = 3,
    SERIES_TEMP = 4,
    SERIES_MARKER = 5,
};

struct DumpReadOptions {
    bool dayFirst = true; // dates are day/month/year
    int periodIndex = 0;  // "Daily", "Hourly", "15 Mins", "10 Mins", "5 Mins"
};

// What the reader found when it finished.
struct DumpSummary {
    bool anyRecord = false;
    bool complete = false; // read to the end (not stopped at an illegal date)
    bool hasTimeRange = false;
    double earliest = 0.0, latest = 0.0; // OLE dates
    double low = 0.0, high = 0.0;
};

class DumpSink {
public:
    virtual ~DumpSink() = default;
    virtual void OnKind(std::uint8_t kind) { (void)kind; }
    virtual void OnTitle(const std::string& title) { (void)title; }
    // `time` is an OLE date.
    virtual void OnPoint(int series, double time, double value) = 0;
    virtual void OnMessage(const std::string& message) { (void)message; }
    virtual void OnEnd(const DumpSummary& summary) { (void)summary; }
};

struct DumpReadResult {
    bool opened = false;
    std::uint8_t kind = PLOT_KIND_NONE;
    double rainIncrement = 1.0;
    // A rain dump's title gave the increment (else 1.0 until a date line sets one).
    bool titleIncrement = false;
    // Length of a collection period in seconds; 0 unless the kind sums rain.
    std::int64_t periodSeconds = 0;
    DumpSummary summary;
};

extern const char kIllegalDateDmy[]; // "Illegal date, try swapping DMY to MDY !"
extern const char kIllegalDateMdy[]; // "Illegal date, try swapping MDY to DMY !"
extern const char kNoBucketSize[];   // "Bucket size not found in the title; 1.0 used"

// Length of the collection period chosen by its combo-box index (1 day for
// any other index).
std::int64_t CollectionPeriodSeconds(int periodIndex);
// The kind line 1 names and whether its word is followed by "/".
std::uint8_t ClassifyDumpLine(const DumpLine& line, bool* slash);
// Year field of a dump: below 80 is 20xx, else 19xx.
int DumpYear(int field);
// A date line of the point kinds ("hh:mm:ss dd/mm/yy ..."): its fields, day
// and month by `dayFirst`. False for any other line.
bool DumpDateLine(const DumpLine& line, bool dayFirst, int* day, int* month, int* year);
// The time of an all-parameter record ("t,dd/mm/yy,hh:mm:ss,..."), kNoTime
// when its fields form none; `month` gets the month field.
PlotSeconds AllRecordTime(const DumpLine& line, bool dayFirst, int* month);

DumpReadResult ReadDump(DumpSource& source, const DumpReadOptions& options, DumpSink& sink);
// Opens `path` and reads it; `opened` false when it cannot be opened.
DumpReadResult ReadDumpFile(const std::string& path, const DumpReadOptions& options,
                            DumpSink& sink);
