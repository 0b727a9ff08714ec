#include "plot/RainTotal.h"

#include <algorithm>
#include <cmath>

#include "plot/DumpReader.h"

namespace {

constexpr double kHalfSecond = 0.5 / 86400.0;

struct Marks {
    double lo, hi;
    bool Holds(PlotSeconds t) const {
        if (t == kNoTime)
            return false;
        const double ole = PlotTimeToOle(t);
        return ole > lo - kHalfSecond && ole < hi + kHalfSecond;
    }
};

double CountRain(DumpLineReader& lines, const DumpLine& first, bool dayFirst, const Marks& m) {
    const bool slash = first.At(3) == '/';
    const long titleLine = slash ? 3 : 2;
    double increment = 1.0;
    double total = 0.0;
    PlotSeconds day = MakePlotTime(2000, 1, 1, 0, 0, 0);
    DumpLine line;
    for (long n = 2; lines.Next(&line); ++n) {
        if (n == titleLine) {
            TitleIncrement(line, &increment);
            continue;
        }
        if (n < titleLine || line.At(2) != ':')
            continue;
        const int hour = line.IntAt(0), minute = line.IntAt(3), second = line.IntAt(6);
        int d = 0, mo = 0, y = 0;
        if (DumpDateLine(line, dayFirst, &d, &mo, &y)) {
            day = MakePlotTime(y, mo, d, 0, 0, 0);
            IncrementSetting(line, &increment);
            continue;
        }
        if (m.Holds(AddTimeOfDay(day, hour, minute, second)))
            total += increment;
    }
    return total;
}

double CountAll(DumpLineReader& lines, bool dayFirst, const Marks& m) {
    double total = 0.0;
    DumpLine line;
    for (long n = 2; lines.Next(&line); ++n) {
        if (n < 3 || line.At(0) != '1' || line.At(1) != ',')
            continue;
        int month = 0;
        if (m.Holds(AllRecordTime(line, dayFirst, &month)))
            total += line.NumberAt(20);
    }
    return total;
}

} // namespace

double CountRainTotal(DumpSource& source, bool dayFirst, double startOle, double endOle) {
    if (std::fabs(endOle - startOle) < kHalfSecond || !std::isfinite(startOle) ||
        !std::isfinite(endOle))
        return 0.0;
    const Marks marks{std::min(startOle, endOle), std::max(startOle, endOle)};
    DumpLineReader lines(source);
    DumpLine first;
    if (!lines.Next(&first))
        return 0.0;
    if (first.StartsWithNoCase("dur"))
        return CountRain(lines, first, dayFirst, marks);
    if (first.StartsWithNoCase("duall"))
        return CountAll(lines, dayFirst, marks);
    return 0.0;
}

bool CountRainTotalFile(const std::string& path, bool dayFirst, double startOle, double endOle,
                        double* total) {
    DumpFileSource source;
    if (!source.Open(path))
        return false;
    *total = CountRainTotal(source, dayFirst, startOle, endOle);
    return true;
}
