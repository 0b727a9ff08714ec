// Y axes, unit captions and resizing.
#include <QFontMetricsF>
#include <algorithm>
#include <limits>

#include "plot/DialogPlot.h"
#include "plot/DumpReader.h"
#include "plot/ZoomLadder.h"
#include "stripchart/ChartLayout.h"

namespace {
enum Quantity { kRain, kRiver, kBattery, kTemperature };
// The widest start text, and a gap of two blanks before the bracket.
const char kWidestMark[] = "Start 00:00:00 PM 30-May-2000  ";
} // namespace

bool CDialogPlot::IsQuantityPresent(int quantity) const {
    switch (quantity) {
    case kRain:
        return m_chkHoldRain.IsWindowEnabled();
    case kRiver:
        return m_chkHoldRiver.IsWindowEnabled();
    case kBattery:
        return m_chkHoldBvInt.IsWindowEnabled() || m_chkHoldBvExt.IsWindowEnabled();
    case kTemperature:
        return m_chkHoldTemp.IsWindowEnabled();
    default:
        return false;
    }
}

void CDialogPlot::ScaleYAxis(int axis, double lo, double hi) {
    m_chart.SetCurrentYAxis(short(axis));
    m_chart.SetYAxisMin(lo);
    m_chart.SetYAxisMax(hi);
    m_chart.SetYAxisDefaultMin(lo);
    m_chart.SetYAxisDefaultMax(hi);
}

void CDialogPlot::AssignSeriesAxis(int series, int axis) {
    m_chart.SetCurrentSeries(short(series));
    m_chart.SetSeriesYAxis(short(axis));
}

void CDialogPlot::AddPlaceholders(int below, double time, double value) {
    for (int series = 0; series < below; ++series)
        if (!HoldBox(series).IsWindowEnabled())
            m_chart.AddPoint(short(series), time, value);
}

int CDialogPlot::AxisOfSeries(int series) const {
    if (m_chkPlotSeparately.GetCheck() != BST_CHECKED)
        return 0;
    // Separate axes are taken by battery, temperature, river, rain in turn.
    const bool present[4] = {IsQuantityPresent(kBattery), IsQuantityPresent(kTemperature),
                             IsQuantityPresent(kRiver), IsQuantityPresent(kRain)};
    const int group = series == SERIES_BV_INT || series == SERIES_BV_EXT ? 0
                      : series == SERIES_TEMP                            ? 1
                      : series == SERIES_RIVER                           ? 2
                                                                         : 3;
    return int(std::count(present, present + group, true));
}

void CDialogPlot::ArrangeYAxes() {
    const bool rain = m_chkHoldRain.IsWindowEnabled(), river = m_chkHoldRiver.IsWindowEnabled();
    const bool bvInt = m_chkHoldBvInt.IsWindowEnabled(), bvExt = m_chkHoldBvExt.IsWindowEnabled();
    const bool temp = m_chkHoldTemp.IsWindowEnabled();
    const double t0 = m_dMinTime;
    if (m_chkPlotSeparately.GetCheck() != BST_CHECKED) {
        double lo = 0.0, hi = 0.0;
        m_chart.SetYAxisCount(1);
        for (int series = 0; series < kChartSeriesCount; ++series)
            AssignSeriesAxis(series, 0);
        if (rain)
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_RAIN));
        if (river) {
            lo = std::min(lo, m_chart.GetSeriesMin(SERIES_RIVER));
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_RIVER));
            AddPlaceholders(SERIES_RIVER, t0, lo);
        }
        if (bvInt) {
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_BV_INT));
            AddPlaceholders(SERIES_BV_INT, t0, lo);
        }
        if (bvExt) {
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_BV_EXT));
            AddPlaceholders(SERIES_BV_EXT, t0, lo);
        }
        if (temp) {
            lo = std::min(lo, m_chart.GetSeriesMin(SERIES_TEMP));
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_TEMP));
            AddPlaceholders(SERIES_TEMP, t0, lo);
        }
        ScaleYAxis(0, lo - 0.5, hi + 0.5);
        return;
    }
    int n = 0;
    if (bvInt || bvExt) {
        n = 1;
        m_chart.SetYAxisCount(1);
        double hi = 0.0;
        if (bvInt) {
            AssignSeriesAxis(SERIES_BV_INT, 0);
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_BV_INT));
        }
        if (bvExt) {
            AssignSeriesAxis(SERIES_BV_EXT, 0);
            hi = std::max(hi, m_chart.GetSeriesMax(SERIES_BV_EXT));
        }
        ScaleYAxis(0, -0.5, hi + 0.5);
        AddPlaceholders(SERIES_BV_INT, t0, 0.0);
    }
    if (temp) {
        ++n;
        m_chart.SetYAxisCount(short(n));
        AssignSeriesAxis(SERIES_TEMP, n - 1);
        const double lo = std::min(0.0, m_chart.GetSeriesMin(SERIES_TEMP));
        const double hi = std::max(0.0, m_chart.GetSeriesMax(SERIES_TEMP));
        ScaleYAxis(n - 1, lo - 0.5, hi + 0.5);
        AddPlaceholders(SERIES_TEMP, t0, lo);
    }
    if (river) {
        ++n;
        m_chart.SetYAxisCount(short(n));
        AssignSeriesAxis(SERIES_RIVER, n - 1);
        const double lo = std::min(0.0, m_chart.GetSeriesMin(SERIES_RIVER));
        const double hi = std::max(0.0, m_chart.GetSeriesMax(SERIES_RIVER));
        ScaleYAxis(n - 1, lo - 0.5, hi + 0.5);
        AddPlaceholders(SERIES_RIVER, t0, lo);
    }
    if (rain) {
        m_chart.SetYAxisCount(short(n + 1));
        AssignSeriesAxis(SERIES_MARKER, n);
        AssignSeriesAxis(SERIES_RAIN, n);
        ScaleYAxis(n, -0.9, std::max(0.0, m_chart.GetSeriesMax(SERIES_RAIN)) + 0.5);
    }
    m_chart.SetYAxisGap(0.05);
}

void CDialogPlot::PlaceUnitLabels() {
    int n = 0;
    for (int q = kRain; q <= kTemperature; ++q)
        n += IsQuantityPresent(q) ? 1 : 0;
    if (n != 1 && m_chkPlotSeparately.GetCheck() == BST_CHECKED) {
        double y = 0.08;
        for (int q : {kBattery, kTemperature, kRiver, kRain}) {
            if (!IsQuantityPresent(q))
                continue;
            PlaceChartText(19 + q, 0.02, y);
            y += 0.9 / n;
        }
        return;
    }
    double y = 0.06;
    for (int q : {kRain, kRiver, kBattery, kTemperature}) {
        if (!IsQuantityPresent(q))
            continue;
        PlaceChartText(19 + q, 0.02, y);
        y += 0.02;
    }
}

void CDialogPlot::SetUnitCaptions() {
    const bool metric = m_radMetric.GetCheck() == BST_CHECKED;
    for (int q : {kRain, kRiver, kBattery, kTemperature})
        if (IsQuantityPresent(q))
            SetChartTextCaption(19 + q, UnitCaption(q, metric));
}

void CDialogPlot::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (!m_chart.IsCreated())
        return;
    SetRedraw(FALSE);
    m_chart.SetWindowPos(10, 70, std::max(cx - 20, 0), std::max(cy - 75, 0),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    // Start and End end before the bracket, measured in the largest font a
    // chart this wide can take (a page printed from it looks the same).
    const double width = std::max(cx - 20, 1);
    const QFontMetricsF fm(ChartFont(width, std::numeric_limits<double>::infinity()));
    const double x = MarkTextX(cx, fm.horizontalAdvance(kWidestMark) / width);
    for (short text : {14, 15}) {
        m_chart.SetCurrentText(text);
        m_chart.SetTextX(x);
    }
    SetRedraw(TRUE);
    Invalidate(TRUE);
}
