// What the strip chart shows: series with their look, y axes, text objects,
// the visible time window and the cursor. Times are OLE dates (days). Every
// index is checked: out of range, a write does nothing and a read gives 0.
// No Qt in here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stripchart/ChartSeries.h"

struct ChartSeriesStyle {
    std::uint32_t color = 0x000000; // COLORREF 0x00BBGGRR
    int lineWidth = 1;
    bool points = false;
    double pointSize = 0.005; // fraction of the plot area's width
    int yAxis = 0;
    bool visible = true;
    bool fill = false;
    int mode = 0; // 2: steps (a value holds until the next point), else lines
};

struct ChartAxis {
    double min = 0.0, max = 100.0;
    double defaultMin = 0.0, defaultMax = 100.0;
};

struct ChartText {
    double x = 0.0, y = 0.0; // fractions of the control
    int align = 0;           // 0: left edge at x; 2: centred on x
    std::string caption;     // bytes, Latin-1
    std::uint32_t color = 0x000000;
};

class ChartModel {
public:
    ChartModel();

    // Counts: growing keeps what exists, shrinking drops the rest.
    void SetSeriesCount(int count);
    int SeriesCount() const { return int(m_series.size()); }
    void SetAxisCount(int count);
    int AxisCount() const { return int(m_axes.size()); }
    void SetTextCount(int count);
    int TextCount() const { return int(m_texts.size()); }

    // Selectors; the setters below act on the selected object.
    int currentSeries = 0;
    int currentAxis = 0;
    int currentText = 0;

    ChartSeriesStyle* Style(int series);
    const ChartSeriesStyle* Style(int series) const;
    ChartSeries* Points(int series);
    const ChartSeries* Points(int series) const;
    ChartAxis* Axis(int axis);
    const ChartAxis* Axis(int axis) const;
    ChartText* Text(int text);
    const ChartText* Text(int text) const;

    void AddPoint(int series, double time, double value);
    void ClearSeries(int series);
    double SeriesMin(int series) const;
    double SeriesMax(int series) const;
    // The series' value at `time`: the last point at or before it for
    // steps, interpolated for lines, the nearest end outside the data; 0.0
    // for an empty series.
    double ValueAt(int series, double time) const;

    // Visible window; kept as written (it may be empty or inverted).
    double windowStart = 0.0;
    double windowEnd = 1.0;
    // The window as drawn: ordered and at least a minute wide.
    void DrawnWindow(double* start, double* end) const;

    bool cursorShown = false;
    double cursorTime = 0.0;
    bool cursorEnabled = true;
    // The cursor time, or the middle of the window when there is none.
    double CursorTime() const;

    // Plot area as fractions of the control.
    double plotLeft = 0.08, plotTop = 0.11, plotRight = 0.98, plotBottom = 0.92;
    double axisGap = 0.0; // fraction of the plot area between stacked axes
    bool grid = false;
    bool repaintSuspended = false;
    std::string timeFormat[4] = {"%#d-%b-%Y", "%Y", "%#d-%b-%Y", "%#d-%b-%Y"};

private:
    std::vector<ChartSeriesStyle> m_styles;
    std::vector<ChartSeries> m_series;
    std::vector<ChartAxis> m_axes;
    std::vector<ChartText> m_texts;
};
