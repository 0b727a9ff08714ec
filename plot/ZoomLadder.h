// The View Plot page's zoom ladder, its visible time window and the value
// readouts' texts. No Qt in here.
#pragma once

#include <string>

struct ZoomStep {
    double span = 0.0;        // days
    const char* caption = ""; // "10 Mins" .. "1 Year", "Zoom All"
    bool zoomAll = false;     // span is the full span, centred on all data
};

// The next rung down from `span` (never below 10 minutes).
ZoomStep ZoomInStep(double span);
// The next rung up from `span`, or Zoom All once a rung would pass `fullSpan`
// or `span` is already the largest rung.
ZoomStep ZoomOutStep(double span, double fullSpan);

struct TimeWindow {
    double start, end, span, position;
};
// The window 1.02 x `span` wide centred on `centre`.
TimeWindow TimeWindowAround(double centre, double span);
// Whether a window `width` wide still shows the chosen `span` (within 5 %).
bool WidthKeepsZoomCaption(double width, double span);

// Value readout of `series` (0 rain .. 4 temperature) in metric or imperial
// captions: the same number, another unit.
std::string FormatReadout(int series, double value, bool metric);
// Unit caption of a quantity: 0 rain, 1 river, 2 battery voltage, 3 temperature.
const char* UnitCaption(int quantity, bool metric);
// The caption of a window showing `span` days: the rung of that span (within
// half a second), else "Zoom All".
const char* SpanCaption(double span);

// x of the total's bracket; the total itself sits right of it.
constexpr double kBracketX = 0.91;
// x of the rain-total start and end texts for a page `cx` pixels wide, whose
// texts (with a gap) take `textWidth` of the chart's width: the further right
// the wider the page, but never so far that they reach the bracket.
double MarkTextX(int cx, double textWidth);
