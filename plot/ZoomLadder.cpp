#include "plot/ZoomLadder.h"

#include <algorithm>
#include <cmath>

#include "framework/Text.h"

namespace {

// The ladder's rungs, shortest first.
constexpr ZoomStep kRungs[] = {{1.0 / 144.0, "10 Mins", false}, {1.0 / 12.0, "2 Hours", false},
                               {1.0, "1 Day", false},           {7.0, "1 Week", false},
                               {30.0, "1 Month", false},        {365.0, "1 Year", false}};

} // namespace

ZoomStep ZoomInStep(double s) {
    // The rung below a span up to each of these.
    static const double kBelow[] = {0.1, 2.0, 8.0, 31.0, 366.0};
    for (int i = 0; i < 5; ++i)
        if (s < kBelow[i])
            return kRungs[i];
    return kRungs[5];
}

ZoomStep ZoomOutStep(double s, double full) {
    const ZoomStep all{full, "Zoom All", true};
    if (!(s * 1.0001 < full))
        return all;
    ZoomStep rung;
    if (s >= 365.0)
        return all; // past the largest rung
    if (s > 29.0)
        rung = kRungs[5];
    else if (s > 6.0)
        rung = kRungs[4];
    else if (s > 0.9)
        rung = kRungs[3];
    else if (s > 0.08)
        rung = kRungs[2];
    else
        return kRungs[1].span < full ? kRungs[1] : all;
    return rung.span > full ? all : rung;
}

TimeWindow TimeWindowAround(double centre, double span) {
    const double h = 0.51 * span;
    return {centre - h, centre + h, 1.02 * span, centre + h};
}

bool WidthKeepsZoomCaption(double width, double span) {
    return !(width > 1.05 * span || width < 0.95 * span);
}

std::string FormatReadout(int series, double v, bool metric) {
    switch (series) {
    case 0:
        return Format(metric ? "%5.1fmm" : "%5.1fin", v);
    case 1:
        return Format(metric ? "%6.3fm" : "%6.3fft", v);
    case 2:
    case 3:
        return Format("%5.2fV", v);
    case 4:
        return Format(metric ? "T=%5.1fC" : "T=%5.1fF", v);
    default:
        return std::string();
    }
}

const char* UnitCaption(int quantity, bool metric) {
    static const char* const kMetric[] = {"mm", "m", "V", "oC"};
    static const char* const kImperial[] = {"in", "ft", "V", "oF"};
    if (quantity < 0 || quantity > 3)
        return "";
    return metric ? kMetric[quantity] : kImperial[quantity];
}

const char* SpanCaption(double span) {
    for (const ZoomStep& rung : kRungs)
        if (std::fabs(span - rung.span) < 0.5 / 86400.0)
            return rung.caption;
    return "Zoom All";
}

double MarkTextX(int cx, double textWidth) {
    const double x = cx > 720 ? 0.68 + double(cx - 720) / 6000.0 : 0.68;
    return std::max(0.0, std::min(x, kBracketX - textWidth));
}
