// CDialogPlot: the View Plot page, a child dialog of the main window's tab
// control. It lists the dump files of the data folder, keeps the unit system
// and the date order in "units.cfg", notices a new dump when it is brought
// forward and plots the chosen file in the strip chart.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Dialog.h"
#include "framework/OleDate.h"
#include "plot/Strip.h"
#include "resources/ResourcePlot.h"

class CXTabCtrl;

constexpr UINT IDT_PLOT_STARTUP = 20000;
constexpr UINT IDT_PLOT_WATCH = 20001;
constexpr UINT IDT_PLOT_SHOW = 20002;
constexpr UINT IDT_PLOT_POINTS = 20003;
constexpr UINT IDT_PLOT_FILL = 20004;
constexpr UINT IDT_PLOT_REPLOT = 20005;
constexpr UINT IDT_PLOT_PERIOD = 20006;
constexpr UINT IDT_PLOT_AXES = 20007;

constexpr int kChartTextCount = 23;
constexpr int kChartSeriesCount = 6;

class CDialogPlot : public CDialog {
public:
    explicit CDialogPlot(CWnd* parent = nullptr);
    ~CDialogPlot() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnTimer(UINT id) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnCommand(UINT id, UINT code) override;
    BOOL OnNotify(UINT id, UINT code, NMHDR* payload) override;

    // Buttons, boxes and lists.
    void OnZoomIn();
    void OnZoomOut();
    void OnPrint();
    void OnPoints();
    void OnFill();
    void OnSelchangePlotFile();
    void OnProperties();
    void OnDropdownPlotFile();
    void OnImperial();
    void OnMetric();
    void OnSelchangeCollectionPeriod();
    void OnDmy();
    void OnMdy();
    void OnEditView();
    void OnPlotSeparately();

    // Chart events.
    void OnChartRangeChanged();
    void OnChartCursor(double time);
    void OnChartMouseDown(short button, short shift, long x, long y);
    void OnChartMouseUp(short button, short shift, long x, long y);

    // The chart's notifications, unpacked for the event handlers.
    void NotifyChartRange(NMHDR* payload);
    void NotifyChartCursor(NMHDR* payload);
    void NotifyChartMouseDown(NMHDR* payload);
    void NotifyChartMouseUp(NMHDR* payload);

    // Chart text objects and series.
    void SetChartText(int index, double x, double y, long alignment, const std::string& caption,
                      COLORREF colour);
    void SetChartTextCaption(int index, const std::string& caption);
    void PlaceChartText(int index, double x, double y);
    void SetSeriesPoints(int series);

    // The file list and the settings file.
    void FillPlotFileList();
    int FindPlotFile(const std::string& name);
    void LoadUnitsConfig();

    // Plotting, time window and axes.
    void ProcessPlotFile(const std::string& name);
    void SetTimeWindow(double centre, double width);
    void ArrangeYAxes();
    void PlaceUnitLabels();
    void SetUnitCaptions();

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;
    CButton m_btnEditView;
    CButton m_chkAutoScale;
    CStatic m_stcCollectionPeriod;
    CComboBox m_cboCollectionPeriod;
    CButton m_btnProperties;
    CComboBox m_cboPlotFile;
    CStatic m_stcMessage;
    CStatic m_stcZoomLevel;
    CButton m_chkPoints;
    CButton m_chkFill;
    CButton m_btnPrint;
    CButton m_btnZoomOut;
    CButton m_btnZoomIn;
    CStrip m_chart;
    CButton m_radMetric;
    CButton m_radImperial;
    CButton m_radDmy;
    CButton m_radMdy;
    // The data folder, whole.
    std::string m_szDataFolder;
    int m_bPageShown = 0;
    double m_dMinTime = 0.0;
    double m_dMaxTime = 0.0;
    double m_dSpan = 0.0;
    BYTE m_nPlotKind = 0;
    double m_dRainIncrement = 0.0;
    int m_bCursorSet = 0;
    int m_bFreshPlot = 0;
    double m_dCursorTime = 0.0;
    double m_dFullSpan = 0.0;
    COleDateTimeSpan m_tsCollectionPeriod;
    int m_bStartSet = 0;
    double m_dStartTime = 0.0;
    double m_dEndTime = 0.0;
    int m_bDayFirst = 0;
    std::string m_strPlotFile;
    std::string m_strPlotPath;
    CButton m_chkHoldRain;
    CButton m_chkHoldRiver;
    CButton m_chkHoldBvInt;
    CButton m_chkHoldBvExt;
    CButton m_chkHoldTemp;
    CButton m_chkPlotSeparately;

    // Plot building, zoom, axes and the rain total (PlotBuild.cpp, PlotZoom.cpp,
    // PlotAxes.cpp, PlotRainTotal.cpp).
    // The empty time range a fresh plot without held series starts from:
    // 1 January 2200 to 1 January 1990.
    static constexpr double kEmptyRangeStart = 109575.0;
    static constexpr double kEmptyRangeEnd = 32874.0;
    // The hold box of series 0 (rain) to 4 (temperature); enabled while the
    // series holds data.
    CButton& HoldBox(int series);
    const CButton& HoldBox(int series) const;
    // Prepares the series of a dump kind as soon as line 1 names it.
    void PrepareKind(std::uint8_t kind);
    // Quantities 0 rain, 1 river, 2 battery voltage, 3 temperature.
    bool IsQuantityPresent(int quantity) const;
    // The y axis the series is drawn on, as ArrangeYAxes lays them out.
    int AxisOfSeries(int series) const;

private:
    // Time range of each series 0 to 4 from the file that brought it, and the
    // series the file being plotted brings (bit per series).
    struct SeriesRange {
        double from = kEmptyRangeStart, to = kEmptyRangeEnd;
    };
    SeriesRange m_seriesRange[5];
    unsigned m_broughtSeries = 0;
    // A ticked series with data that the file being plotted does not bring.
    bool IsHeldOver(int series) const;
    // The time range of the held series that the file does not bring.
    void HeldRange(double* from, double* to) const;
    // A fresh plot of another file: the readouts, the rain total and the zoom
    // caption of the file before go, but not those of what Hold keeps.
    void ClearOtherFileTexts();
    // The file plotted last, to tell a fresh plot of another file from one
    // of the same file.
    std::string m_strLastPlotted;

    void ShowPlotMessage(const char* text);
    void HideSeries(int series);
    double ZoomCentre() const;
    void ScaleYAxis(int axis, double lo, double hi);
    void AssignSeriesAxis(int series, int axis);
    // A point (time, value) on each series below `below` whose box is disabled.
    void AddPlaceholders(int below, double time, double value);

private:
    // Plots the selected file (fresh or keeping the window), or says that
    // there is none.
    void PlotSelected(int freshPlot);
    void OnWatch();
    // Rewrites "units.cfg" from the radio buttons.
    void SaveUnitsConfig(bool synced = true);
    std::string UnitsPath() const;
    // The name of the selected file, remembered when the list is refilled.
    std::string m_strListedName;
};
