// CStrip: the typed wrapper of the strip chart on the View Plot page. Each
// operation is one call on the chart; the chart's events reach the page as
// CHN_* notifications with an NMCHART payload.
#pragma once

#include <cstdint>
#include <string>

#include "framework/CustomCtrl.h"
#include "stripchart/StripChart.h"

class QPainter;

class CStrip : public CCustomCtrl, private StripChartListener {
public:
    CStrip() = default;
    ~CStrip() override = default;

    // The chart widget; null before the control is created.
    StripChart* Chart() const;

    // Properties.
    void SetProperty5(double value); // bottom of the plot area (fraction)
    void SetProperty8(double value); // right of the plot area (fraction)
    void SetSeriesCount(short count);
    void SetCurrentSeries(short series);
    void SetSeriesColor(std::int32_t color);
    void SetSeriesPoints(std::int32_t points);
    void SetProperty21(std::int32_t value); // 0 suspends painting, else resumes
    void SetTimeSpan(double days);
    void SetSeriesLineWidth(short width);
    void SetTimePosition(double end);
    void SetYAxisCount(short count);
    void SetCurrentYAxis(short axis);
    void SetYAxisMin(double value);
    void SetYAxisMax(double value);
    void SetSeriesYAxis(short axis);
    void SetYAxisGap(double gap);
    void SetTextCaption(const std::string& caption);
    void SetTextColor(std::int32_t color);
    void SetCurrentText(short text);
    void SetTextObjectCount(short count);
    void SetTextX(double x);
    void SetTextY(double y);
    void SetYAxisDefaultMax(double value);
    void SetYAxisDefaultMin(double value);
    void SetSeriesPointSize(double size);
    void SetSeriesVisible(bool visible);
    void SetProperty85(std::int32_t value); // 0 removes the cursor
    double GetCursorTime() const;           // the window's middle without a cursor
    void SetProperty87(std::int32_t value); // 2 steps, else lines
    void SetProperty88(std::int32_t value); // changes nothing
    void SetTimeFormat1(const std::string& format);
    void SetTimeFormat2(const std::string& format);
    void SetTimeFormat3(const std::string& format);
    void SetTimeFormat4(const std::string& format);
    void SetProperty96(bool value); // grid
    void SetProperty97(bool value); // changes nothing
    double GetWindowEnd() const;
    void SetWindowEnd(double end);
    double GetWindowStart() const;
    void SetWindowStart(double start);
    void SetTextAlign(std::int32_t align);
    void SetSeriesFill(bool fill);

    // Methods.
    void AddPoint(short series, double time, double value);
    void ClearSeries(short series);
    void ShowProperties();
    void Redraw();
    void Method137(); // repaints
    // Paints the chart on `dc`; left, top, width and height in inches.
    void PrintChart(QPainter* dc, double left, double top, double width, double height);
    void SetTimeRange(double end, double start);
    double GetValueAtCursor(short series) const;
    double GetSeriesMax(short series) const;
    double GetSeriesMin(short series) const;

protected:
    QWidget* CreateCustomWidget(QWidget* parent) override;

private:
    ChartModel& M() const;
    void Changed();

    void OnChartCursor(double time) override;
    void OnChartRangeChanged() override;
    void OnChartMouseDown(short button, short shift, int x, int y) override;
    void OnChartMouseUp(short button, short shift, int x, int y) override;
};
