// Zoom, the time window and the cursor readouts.
#include "framework/OleDate.h"
#include "plot/DialogPlot.h"
#include "plot/DumpReader.h"
#include "plot/ZoomLadder.h"

namespace {
const char kCursorFormat[] = "%I:%M:%S %p %#d-%b-%Y";
const char kStartFormat[] = "Start %I:%M:%S %p %#d-%b-%Y";
const char kEndFormat[] = "End  %I:%M:%S %p %#d-%b-%Y";
} // namespace

void CDialogPlot::SetTimeWindow(double centre, double width) {
    (void)width; // the window follows m_dSpan
    const TimeWindow w = TimeWindowAround(centre, m_dSpan);
    for (int pass = 0; pass < 2; ++pass) {
        m_chart.SetWindowStart(w.start);
        m_chart.SetWindowEnd(w.end);
        m_chart.SetTimeSpan(w.span);
        m_chart.SetTimePosition(w.position);
        if (pass == 0) {
            m_chart.SetTimeRange(w.end, w.start);
            m_chart.Redraw();
        }
    }
}

double CDialogPlot::ZoomCentre() const {
    if (m_bCursorSet)
        return m_dCursorTime;
    return (m_chart.GetWindowStart() + m_chart.GetWindowEnd()) * 0.5;
}

void CDialogPlot::OnZoomIn() {
    const ZoomStep step = ZoomInStep(m_dSpan);
    m_dSpan = step.span;
    m_stcZoomLevel.SetWindowText(step.caption);
    SetTimeWindow(ZoomCentre(), 1.02 * m_dSpan);
}

void CDialogPlot::OnZoomOut() {
    const ZoomStep step = ZoomOutStep(m_dSpan, m_dFullSpan);
    m_dSpan = step.span;
    m_stcZoomLevel.SetWindowText(step.caption);
    const double centre = step.zoomAll ? (m_dMinTime + m_dMaxTime) * 0.5 : ZoomCentre();
    SetTimeWindow(centre, 1.02 * m_dSpan);
}

void CDialogPlot::OnChartRangeChanged() {
    const double width = m_chart.GetWindowEnd() - m_chart.GetWindowStart();
    if (!WidthKeepsZoomCaption(width, m_dSpan))
        m_stcZoomLevel.SetWindowText("");
}

void CDialogPlot::OnChartCursor(double time) {
    for (int text = 8; text <= 12; ++text)
        SetChartTextCaption(text, "");
    const bool metric = m_radMetric.GetCheck() == BST_CHECKED;
    for (int series = 0; series <= 4; ++series) {
        if (!HoldBox(series).IsWindowEnabled())
            continue;
        const double v = m_chart.GetValueAtCursor(short(series));
        SetChartTextCaption(8 + series, FormatReadout(series, v, metric));
    }
    m_dCursorTime = time;
    SetChartTextCaption(13, FormatOleDate(time, kCursorFormat));
    m_bCursorSet = 1;
    if (m_bStartSet) {
        m_chart.ClearSeries(SERIES_MARKER);
        m_chart.AddPoint(SERIES_MARKER, m_dStartTime, -0.2);
        m_chart.AddPoint(SERIES_MARKER, time, -0.2);
        m_chart.SetCurrentSeries(SERIES_MARKER);
        m_chart.SetSeriesFill(true);
        SetChartTextCaption(15, FormatOleDate(time, kEndFormat));
    }
}

void CDialogPlot::OnChartMouseDown(short button, short shift, long x, long y) {
    (void)x;
    (void)y;
    // The right and middle buttons pan the chart; they mark nothing.
    if (!m_chkHoldRain.IsWindowEnabled() || shift != 1 || button != 1)
        return;
    m_dStartTime = m_dCursorTime;
    m_bStartSet = 1;
    SetChartTextCaption(14, FormatOleDate(m_dStartTime, kStartFormat));
    for (int text : {15, 17, 18, 16})
        SetChartTextCaption(text, "");
    m_chart.ClearSeries(SERIES_MARKER);
    m_chart.AddPoint(SERIES_MARKER, m_dStartTime, -0.2);
}
