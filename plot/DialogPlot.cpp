#include "plot/DialogPlot.h"

#include <QAbstractButton>

#include "framework/MessageMap.h"
#include "plot/DumpReader.h"
#include "plot/ZoomLadder.h"
#include "shell/PageIndex.h"
#include "shell/XTabCtrl.h"

namespace {

const MessageMapEntry<CDialogPlot> kMessageMap[] = {
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_ZOOM_IN, &CDialogPlot::OnZoomIn),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_ZOOM_OUT, &CDialogPlot::OnZoomOut),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_PRINT, &CDialogPlot::OnPrint),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_POINTS, &CDialogPlot::OnPoints),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_FILL, &CDialogPlot::OnFill),
    OnNotify<CDialogPlot>(CBN_SELCHANGE, IDC_PLOT_FILE, &CDialogPlot::OnSelchangePlotFile),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_PROPERTIES, &CDialogPlot::OnProperties),
    OnNotify<CDialogPlot>(CBN_DROPDOWN, IDC_PLOT_FILE, &CDialogPlot::OnDropdownPlotFile),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_IMPERIAL, &CDialogPlot::OnImperial),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_METRIC, &CDialogPlot::OnMetric),
    OnNotify<CDialogPlot>(CBN_SELCHANGE, IDC_COLLECTION_PERIOD,
                          &CDialogPlot::OnSelchangeCollectionPeriod),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_DMY, &CDialogPlot::OnDmy),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_MDY, &CDialogPlot::OnMdy),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_EDIT_VIEW, &CDialogPlot::OnEditView),
    OnNotify<CDialogPlot>(BN_CLICKED, IDC_PLOT_SEPARATELY, &CDialogPlot::OnPlotSeparately),
};

// The chart's events (its event sink).
const MessageMapEntry<CDialogPlot> kEventSinkMap[] = {
    OnNotifyData<CDialogPlot>(CHN_RANGECHANGED, IDC_PLOT_CHART, &CDialogPlot::NotifyChartRange),
    OnNotifyData<CDialogPlot>(CHN_CURSOR, IDC_PLOT_CHART, &CDialogPlot::NotifyChartCursor),
    OnNotifyData<CDialogPlot>(CHN_MOUSEDOWN, IDC_PLOT_CHART, &CDialogPlot::NotifyChartMouseDown),
    OnNotifyData<CDialogPlot>(CHN_MOUSEUP, IDC_PLOT_CHART, &CDialogPlot::NotifyChartMouseUp),
};

struct InitialText {
    int index;
    double x, y;
    long alignment;
    const char* caption;
    COLORREF colour;
};

// In the order they are made: the total (16) after its bracket (17, 18).
const InitialText kInitialTexts[kChartTextCount] = {
    {0, 0.47, 0.05, 2, "", RGB(0, 0, 0)},
    {1, 0.005, 0.83, 0, "  Key:", RGB(0, 0, 0)},
    {2, 0.005, 0.86, 0, "--Rain", RGB(255, 0, 0)},
    {3, 0.005, 0.89, 0, "--River", RGB(0, 0, 255)},
    {4, 0.005, 0.92, 0, "--BV Int", RGB(0, 192, 0)},
    {5, 0.005, 0.95, 0, "--BV Ext", RGB(128, 128, 128)},
    {6, 0.005, 0.98, 0, "--Temp", RGB(255, 0, 255)},
    {7, 0.02, 0.03, 0, "Cursor :", RGB(0, 0, 0)},
    {8, 0.07, 0.03, 2, "", RGB(255, 0, 0)},
    {9, 0.105, 0.03, 2, "", RGB(0, 0, 255)},
    {10, 0.14, 0.03, 2, "", RGB(0, 192, 0)},
    {11, 0.175, 0.03, 2, "", RGB(128, 128, 128)},
    {12, 0.21, 0.03, 2, "", RGB(255, 0, 255)},
    {13, 0.07, 0.07, 0, "", RGB(0, 0, 0)},
    {14, 0.68, 0.03, 0, "", RGB(0, 0, 0)},
    {15, 0.68, 0.07, 0, "", RGB(0, 0, 0)},
    {17, kBracketX, 0.04, 0, "", RGB(0, 0, 0)},
    {18, kBracketX, 0.06, 0, "", RGB(0, 0, 0)},
    {16, 0.93, 0.05, 0, "", RGB(0, 0, 0)},
    {19, 0.02, 0.06, 2, "mm", RGB(255, 0, 0)},
    {20, 0.02, 0.07, 2, "m", RGB(0, 0, 255)},
    {21, 0.02, 0.08, 2, "V", RGB(0, 255, 0)},
    {22, 0.02, 0.09, 2, "oC", RGB(255, 0, 255)},
};

const char* const kCollectionPeriods[] = {"Daily", "Hourly", "15 Mins", "10 Mins", "5 Mins"};

// The four radio buttons are plain ones: each click handler sets both
// buttons of its pair, so Qt must not group or toggle them itself.
void MakePlainRadio(CButton& radio) {
    if (auto* button = qobject_cast<QAbstractButton*>(radio.GetWidget()))
        button->setAutoExclusive(false);
}

} // namespace

CDialogPlot::CDialogPlot(CWnd* parent) : CDialog(IDD_PLOT, parent) {}

CDialogPlot::~CDialogPlot() = default;

void CDialogPlot::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_VIEW, m_btnEditView);
    DDX_Control(pDX, IDC_AUTOSCALE, m_chkAutoScale);
    DDX_Control(pDX, IDC_COLLECTION_LABEL, m_stcCollectionPeriod);
    DDX_Control(pDX, IDC_COLLECTION_PERIOD, m_cboCollectionPeriod);
    DDX_Control(pDX, IDC_PROPERTIES, m_btnProperties);
    DDX_Control(pDX, IDC_PLOT_FILE, m_cboPlotFile);
    DDX_Control(pDX, IDC_PLOT_MESSAGE, m_stcMessage);
    DDX_Control(pDX, IDC_ZOOM_LEVEL, m_stcZoomLevel);
    DDX_Control(pDX, IDC_POINTS, m_chkPoints);
    DDX_Control(pDX, IDC_FILL, m_chkFill);
    DDX_Control(pDX, IDC_PRINT, m_btnPrint);
    DDX_Control(pDX, IDC_ZOOM_OUT, m_btnZoomOut);
    DDX_Control(pDX, IDC_ZOOM_IN, m_btnZoomIn);
    DDX_Control(pDX, IDC_PLOT_CHART, m_chart);
    DDX_Control(pDX, IDC_METRIC, m_radMetric);
    DDX_Control(pDX, IDC_IMPERIAL, m_radImperial);
    DDX_Control(pDX, IDC_DMY, m_radDmy);
    DDX_Control(pDX, IDC_MDY, m_radMdy);
    DDX_Control(pDX, IDC_HOLD_RAIN, m_chkHoldRain);
    DDX_Control(pDX, IDC_HOLD_RIVER, m_chkHoldRiver);
    DDX_Control(pDX, IDC_HOLD_BVINT, m_chkHoldBvInt);
    DDX_Control(pDX, IDC_HOLD_BVEXT, m_chkHoldBvExt);
    DDX_Control(pDX, IDC_HOLD_TEMP, m_chkHoldTemp);
    DDX_Control(pDX, IDC_PLOT_SEPARATELY, m_chkPlotSeparately);
}

BOOL CDialogPlot::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

BOOL CDialogPlot::OnNotify(UINT id, UINT code, NMHDR* payload) {
    return DispatchNotify(this, kEventSinkMap, id, code, payload) ? TRUE : FALSE;
}

void CDialogPlot::NotifyChartRange(NMHDR*) {
    OnChartRangeChanged();
}

void CDialogPlot::NotifyChartCursor(NMHDR* payload) {
    OnChartCursor(static_cast<NMCHART*>(payload)->time);
}

void CDialogPlot::NotifyChartMouseDown(NMHDR* payload) {
    const auto* n = static_cast<NMCHART*>(payload);
    OnChartMouseDown(n->button, n->shift, n->x, n->y);
}

void CDialogPlot::NotifyChartMouseUp(NMHDR* payload) {
    const auto* n = static_cast<NMCHART*>(payload);
    OnChartMouseUp(n->button, n->shift, n->x, n->y);
}

BOOL CDialogPlot::OnInitDialog() {
    CDialog::OnInitDialog();
    for (CButton* radio : {&m_radMetric, &m_radImperial, &m_radDmy, &m_radMdy})
        MakePlainRadio(*radio);

    m_dSpan = 1.0;
    // A box ticked before the first plot must not widen the range from 1899.
    m_dMinTime = kEmptyRangeStart;
    m_dMaxTime = kEmptyRangeEnd;
    m_stcZoomLevel.SetWindowText("");
    m_bPageShown = 0;
    m_bCursorSet = 0;
    m_bStartSet = 0;
    m_chkPoints.SetCheck(BST_UNCHECKED);
    m_chkFill.SetCheck(BST_UNCHECKED);
    m_chkAutoScale.SetCheck(BST_UNCHECKED);

    m_chart.SetYAxisCount(1);
    m_chart.SetSeriesCount(kChartSeriesCount);
    for (short series = 0; series < kChartSeriesCount; ++series) {
        m_chart.SetCurrentSeries(series);
        m_chart.SetSeriesPoints(0);
        const bool rainOrMarker = series == SERIES_RAIN || series == SERIES_MARKER;
        if (!rainOrMarker)
            m_chart.SetSeriesPointSize(0.005);
        m_chart.SetSeriesFill(rainOrMarker);
    }
    m_chart.SetProperty21(3);
    m_chart.SetProperty8(0.98);
    m_chart.SetProperty5(0.92);
    m_chart.SetTextObjectCount(kChartTextCount);
    for (const InitialText& t : kInitialTexts)
        SetChartText(t.index, t.x, t.y, t.alignment, t.caption, t.colour);

    for (const char* period : kCollectionPeriods)
        m_cboCollectionPeriod.AddString(period);
    m_cboCollectionPeriod.SetCurSel(0);

    SetTimer(IDT_PLOT_STARTUP, 200);
    SetTimer(IDT_PLOT_WATCH, 300);
    return TRUE;
}

BOOL CDialogPlot::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        if (msg->wParam == VK_ESCAPE)
            return TRUE;
        if (msg->wParam == VK_RETURN && m_pTabCtrl && m_pTabCtrl->IsCurrentPage(PAGE_VIEW_PLOT))
            return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
}

void CDialogPlot::SetChartText(int index, double x, double y, long alignment,
                               const std::string& caption, COLORREF colour) {
    m_chart.SetCurrentText(short(index));
    m_chart.SetTextX(x);
    m_chart.SetTextY(y);
    m_chart.SetTextAlign(std::int32_t(alignment));
    m_chart.SetTextCaption(caption);
    m_chart.SetTextColor(std::int32_t(colour));
}

void CDialogPlot::SetChartTextCaption(int index, const std::string& caption) {
    m_chart.SetCurrentText(short(index));
    m_chart.SetTextCaption(caption);
}

void CDialogPlot::PlaceChartText(int index, double x, double y) {
    m_chart.SetCurrentText(short(index));
    m_chart.SetTextX(x);
    m_chart.SetTextY(y);
}

void CDialogPlot::SetSeriesPoints(int series) {
    m_chart.SetCurrentSeries(short(series));
    m_chart.SetSeriesPoints(m_chkPoints.GetCheck() == BST_CHECKED ? 1 : 0);
}
