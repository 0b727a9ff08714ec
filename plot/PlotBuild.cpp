// Plotting a dump file: the chart prepared for the file's kind, every point
// the reader delivers on its series, then the time window or a redraw.
#include <algorithm>

#include "framework/Files.h"
#include "plot/DialogPlot.h"
#include "plot/DumpReader.h"
#include "plot/ZoomLadder.h"

namespace {

struct SeriesLook {
    COLORREF colour;
    short width;
};
const SeriesLook kSeriesLook[kChartSeriesCount] = {
    {0x0000FF, 1}, {0xFF0000, 2}, {0x00C000, 2}, {0x808080, 2}, {0xFF00FF, 2}, {0xFF6432, 2},
};

const char kTimeFormat[] = "%#d-%b-%Y";

// The first series a dump of `kind` brings.
int FirstSeriesOf(std::uint8_t kind) {
    switch (kind) {
    case PLOT_KIND_RIVER:
        return SERIES_RIVER;
    case PLOT_KIND_BATT:
    case PLOT_KIND_BATT_INT:
    case PLOT_KIND_BATT_TEMP:
        return SERIES_BV_INT;
    case PLOT_KIND_BATT_EXT:
        return SERIES_BV_EXT;
    case PLOT_KIND_TEMP:
        return SERIES_TEMP;
    default:
        return SERIES_RAIN;
    }
}

// Puts what the reader delivers on the page's chart.
class PlotSink : public DumpSink {
public:
    explicit PlotSink(CDialogPlot& page) : m_page(page) {}
    void OnKind(std::uint8_t kind) override { m_page.PrepareKind(kind); }
    void OnTitle(const std::string& title) override { m_page.SetChartTextCaption(0, title); }
    void OnPoint(int series, double time, double value) override {
        m_page.m_chart.AddPoint(short(series), time, value);
    }
    void OnMessage(const std::string& message) override { m_message = message; }

    std::string m_message;

private:
    CDialogPlot& m_page;
};

} // namespace

CButton& CDialogPlot::HoldBox(int series) {
    CButton* const boxes[] = {&m_chkHoldRain, &m_chkHoldRiver, &m_chkHoldBvInt, &m_chkHoldBvExt,
                              &m_chkHoldTemp};
    return *boxes[std::clamp(series, 0, 4)];
}

const CButton& CDialogPlot::HoldBox(int series) const {
    return const_cast<CDialogPlot*>(this)->HoldBox(series);
}

void CDialogPlot::ShowPlotMessage(const char* text) {
    m_stcMessage.SetWindowText(text);
    m_stcMessage.ShowWindow(SW_SHOW);
}

void CDialogPlot::HideSeries(int series) {
    m_chart.ClearSeries(short(series));
    m_chart.SetCurrentSeries(short(series));
    m_chart.SetSeriesVisible(false);
}

void CDialogPlot::PrepareKind(std::uint8_t kind) {
    auto enable = [this](std::initializer_list<int> series) {
        for (int s : series) {
            m_broughtSeries |= 1u << s;
            HoldBox(s).EnableWindow(TRUE);
            m_chart.ClearSeries(short(s));
        }
    };
    auto show = [this](int series, std::int32_t steps) {
        m_chart.SetCurrentSeries(short(series));
        m_chart.SetProperty87(steps);
        m_chart.SetSeriesVisible(true);
    };
    auto showBattery = [&](std::initializer_list<int> series) {
        enable(series);
        for (int s : series) {
            show(s, 0);
            m_chart.SetSeriesFill(false);
        }
    };
    switch (kind) {
    case PLOT_KIND_RAIN:
        enable({SERIES_RAIN});
        m_chart.ClearSeries(SERIES_MARKER);
        m_chart.SetCurrentSeries(SERIES_RAIN);
        m_chart.SetSeriesLineWidth(1);
        show(SERIES_RAIN, 2);
        m_chart.SetSeriesPoints(0);
        m_chart.SetSeriesFill(true);
        m_chart.SetCurrentSeries(SERIES_MARKER);
        m_chart.SetSeriesLineWidth(1);
        show(SERIES_MARKER, 0);
        break;
    case PLOT_KIND_RIVER:
        enable({SERIES_RIVER});
        show(SERIES_RIVER, 0);
        break;
    case PLOT_KIND_BATT:
        showBattery({SERIES_BV_INT, SERIES_BV_EXT});
        break;
    case PLOT_KIND_BATT_INT:
        showBattery({SERIES_BV_INT});
        break;
    case PLOT_KIND_BATT_EXT:
        showBattery({SERIES_BV_EXT});
        break;
    case PLOT_KIND_BATT_TEMP:
        showBattery({SERIES_BV_INT, SERIES_BV_EXT, SERIES_TEMP});
        break;
    case PLOT_KIND_TEMP:
        showBattery({SERIES_TEMP});
        break;
    case PLOT_KIND_ALL:
        enable({SERIES_RAIN, SERIES_RIVER, SERIES_BV_INT, SERIES_BV_EXT, SERIES_TEMP});
        m_chart.ClearSeries(SERIES_MARKER);
        show(SERIES_RAIN, 2);
        for (int s = 1; s <= 5; ++s)
            show(s, 0);
        break;
    default:
        break;
    }
    // The optional controls follow what is present.
    for (CWnd* control :
         {static_cast<CWnd*>(&m_cboCollectionPeriod), static_cast<CWnd*>(&m_stcCollectionPeriod),
          static_cast<CWnd*>(&m_chkAutoScale), static_cast<CWnd*>(&m_chkFill),
          static_cast<CWnd*>(&m_chkPoints)})
        control->ShowWindow(SW_HIDE);
    if (m_chkHoldRain.IsWindowEnabled()) {
        m_cboCollectionPeriod.ShowWindow(SW_SHOW);
        m_stcCollectionPeriod.ShowWindow(SW_SHOW);
        m_chkAutoScale.ShowWindow(SW_SHOW);
    }
    if (m_chkHoldRiver.IsWindowEnabled() || m_chkHoldBvInt.IsWindowEnabled() ||
        m_chkHoldBvExt.IsWindowEnabled() || m_chkHoldTemp.IsWindowEnabled()) {
        m_chkFill.ShowWindow(SW_SHOW);
        m_chkPoints.ShowWindow(SW_SHOW);
    }
}

bool CDialogPlot::IsHeldOver(int series) const {
    const CButton& box = HoldBox(series);
    return box.GetCheck() == BST_CHECKED && box.IsWindowEnabled() &&
           !(m_broughtSeries & (1u << series));
}

void CDialogPlot::HeldRange(double* from, double* to) const {
    *from = kEmptyRangeStart;
    *to = kEmptyRangeEnd;
    for (int series = 0; series <= 4; ++series) {
        if (!IsHeldOver(series))
            continue;
        *from = std::min(*from, m_seriesRange[series].from);
        *to = std::max(*to, m_seriesRange[series].to);
    }
}

void CDialogPlot::ClearOtherFileTexts() {
    bool anyHeld = false;
    for (int series = 0; series <= 4; ++series) {
        if (IsHeldOver(series))
            anyHeld = true;
        else
            SetChartTextCaption(8 + series, "");
    }
    if (!anyHeld)
        SetChartTextCaption(13, "");
    // The total counts the rain file, which stays while rain is held.
    if (!IsHeldOver(SERIES_RAIN))
        for (int text = 14; text <= 18; ++text)
            SetChartTextCaption(text, "");
    m_stcZoomLevel.SetWindowText("");
}

void CDialogPlot::ProcessPlotFile(const std::string& name) {
    CWaitCursor wait;
    m_broughtSeries = 0;
    m_strPlotFile = name;
    m_chart.ShowWindow(SW_HIDE);
    ShowPlotMessage("Processing Plot Data!");
    for (int text = 19; text <= 22; ++text)
        SetChartTextCaption(text, "");

    // Series whose box is not ticked are dropped; the marker goes with rain.
    bool anyTicked = false;
    for (int series = 0; series <= 4; ++series) {
        CButton& box = HoldBox(series);
        if (box.GetCheck() == BST_CHECKED) {
            anyTicked = true;
            continue;
        }
        box.EnableWindow(FALSE);
        HideSeries(series);
        if (series == SERIES_RAIN)
            HideSeries(SERIES_MARKER);
    }

    m_chart.SetProperty88(1);
    m_chart.SetProperty97(false);
    m_chart.SetProperty96(true);
    m_chart.SetTimeFormat3(kTimeFormat);
    m_chart.SetTimeFormat1(kTimeFormat);
    m_chart.SetTimeFormat4(kTimeFormat);
    m_chart.SetTimeFormat2("%Y");
    for (short series = 0; series < kChartSeriesCount; ++series) {
        m_chart.SetCurrentSeries(series);
        m_chart.SetSeriesColor(std::int32_t(kSeriesLook[series].colour));
        m_chart.SetSeriesLineWidth(kSeriesLook[series].width);
    }

    if (m_bFreshPlot) {
        m_chart.SetProperty85(0);
        m_bCursorSet = 0;
        m_chart.SetProperty85(1);
        m_chart.ClearSeries(SERIES_MARKER);
        m_bStartSet = 0;
        if (!anyTicked) {
            m_dMinTime = kEmptyRangeStart;
            m_dMaxTime = kEmptyRangeEnd;
        }
    }

    // While the points go on, the chart is hidden and does not repaint.
    const std::string path = JoinPath(m_szDataFolder, name);
    DumpReadOptions options;
    options.dayFirst = m_bDayFirst != 0;
    options.periodIndex = m_cboCollectionPeriod.GetCurSel();
    PlotSink sink(*this);
    m_dRainIncrement = 1.0;
    const DumpReadResult r = ReadDumpFile(path, options, sink);
    const bool otherFile = m_bFreshPlot && name != m_strLastPlotted;
    m_strLastPlotted = name;
    if (otherFile)
        ClearOtherFileTexts();
    if (!r.opened) {
        ShowPlotMessage("No Plot File Found!");
        return;
    }
    m_nPlotKind = r.kind;
    m_dRainIncrement = r.rainIncrement;
    if (r.kind == PLOT_KIND_RAIN || r.kind == PLOT_KIND_ALL) {
        m_tsCollectionPeriod = COleDateTimeSpan(double(r.periodSeconds) / 86400.0);
        m_strPlotPath = path;
    }
    const DumpSummary& s = r.summary;
    if (!sink.m_message.empty()) {
        ShowPlotMessage(sink.m_message.c_str());
        return;
    }
    if (!s.anyRecord) {
        ShowPlotMessage("No Plot Data in File!");
        return;
    }

    if (m_bFreshPlot) {
        // A file without any valid time has no range to show.
        if (!s.hasTimeRange || s.latest - s.earliest >= 3650.0) {
            ShowPlotMessage("Bad Plot Data!");
            return;
        }
        // A held series counts only while the new file does not replace it.
        HeldRange(&m_dMinTime, &m_dMaxTime);
        m_dMinTime = std::min(m_dMinTime, s.earliest);
        m_dMaxTime = std::max(m_dMaxTime, s.latest);
        for (int series = 0; series <= 4; ++series)
            if (m_broughtSeries & (1u << series))
                m_seriesRange[series] = {s.earliest, s.latest};
        m_dSpan = m_dFullSpan = m_dMaxTime - m_dMinTime;
        m_chart.SetProperty21(0);
        SetUnitCaptions();
        ArrangeYAxes();
        PlaceUnitLabels();
        SetTimeWindow((m_dMinTime + m_dMaxTime) / 2.0, 1.02 * m_dSpan);
        if (otherFile)
            m_stcZoomLevel.SetWindowText(SpanCaption(m_dSpan));
        m_chart.SetProperty21(3);
    } else {
        if (m_chkAutoScale.GetCheck() == BST_CHECKED) {
            // The axis that carries the file's own first series.
            m_chart.SetCurrentYAxis(short(AxisOfSeries(FirstSeriesOf(r.kind))));
            m_chart.SetYAxisMin(s.low - 0.5);
            m_chart.SetYAxisDefaultMin(s.low - 0.5);
            m_chart.SetYAxisMax(s.high + 0.5);
            m_chart.SetYAxisDefaultMax(s.high + 0.5);
        }
        SetUnitCaptions();
        m_chart.Redraw();
        m_chart.Method137();
    }
    m_chart.ShowWindow(SW_SHOW);
    if (r.kind == PLOT_KIND_RAIN && !r.titleIncrement)
        ShowPlotMessage(kNoBucketSize);
    else
        m_stcMessage.ShowWindow(SW_HIDE);
}
