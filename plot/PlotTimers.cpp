// The page's timers: start-up, the watch for the page being brought forward
// (with a new dump), and the one-shot runs that the controls arm.
#include "plot/DialogPlot.h"
#include "plot/DumpReader.h"
#include "shell/PageIndex.h"
#include "shell/XTabCtrl.h"

void CDialogPlot::OnTimer(UINT id) {
    switch (id) {
    case IDT_PLOT_STARTUP:
        KillTimer(IDT_PLOT_STARTUP);
        m_szDataFolder = m_pTabCtrl ? m_pTabCtrl->GetDataFolder() : "";
        LoadUnitsConfig();
        FillPlotFileList();
        m_cboPlotFile.SetCurSel(m_cboPlotFile.GetCount() - 1);
        m_strListedName = m_cboPlotFile.GetLBText(m_cboPlotFile.GetCurSel());
        break;
    case IDT_PLOT_WATCH:
        KillTimer(IDT_PLOT_WATCH);
        OnWatch();
        SetTimer(IDT_PLOT_WATCH, 100);
        break;
    case IDT_PLOT_SHOW:
    case IDT_PLOT_REPLOT:
        KillTimer(id);
        PlotSelected(1);
        break;
    case IDT_PLOT_PERIOD:
        KillTimer(IDT_PLOT_PERIOD);
        PlotSelected(0);
        break;
    case IDT_PLOT_POINTS:
        KillTimer(IDT_PLOT_POINTS);
        for (int series = 1; series <= 4; ++series)
            SetSeriesPoints(series);
        break;
    case IDT_PLOT_FILL:
        KillTimer(IDT_PLOT_FILL);
        m_chart.SetCurrentSeries(SERIES_RIVER);
        m_chart.SetSeriesFill(m_chkFill.GetCheck() == BST_CHECKED);
        break;
    case IDT_PLOT_AXES:
        KillTimer(IDT_PLOT_AXES);
        ArrangeYAxes();
        PlaceUnitLabels();
        break;
    default:
        break;
    }
    CDialog::OnTimer(id);
}

void CDialogPlot::OnWatch() {
    if (!m_pTabCtrl || !m_pTabCtrl->IsCurrentPage(PAGE_VIEW_PLOT)) {
        m_bPageShown = 0;
        return;
    }
    if (m_bPageShown)
        return;
    // The page has just been brought forward.
    if (m_pTabCtrl->IsNewDump()) {
        m_pTabCtrl->SetNewDump(0);
        FillPlotFileList();
        m_cboPlotFile.SetCurSel(FindPlotFile(m_pTabCtrl->GetPlotFileName()));
        m_strListedName = m_cboPlotFile.GetLBText(m_cboPlotFile.GetCurSel());
    }
    SetTimer(IDT_PLOT_SHOW, 0);
    m_bPageShown = 1;
}

void CDialogPlot::PlotSelected(int freshPlot) {
    const int selected = m_cboPlotFile.GetCurSel();
    if (selected < 0) {
        m_chart.ShowWindow(SW_HIDE);
        m_stcMessage.SetWindowText("No plot files to select from !");
        m_stcMessage.ShowWindow(SW_SHOW);
        return;
    }
    m_strPlotFile = m_cboPlotFile.GetLBText(selected);
    m_bFreshPlot = freshPlot;
    ProcessPlotFile(m_strPlotFile);
}

void CDialogPlot::OnPoints() {
    SetTimer(IDT_PLOT_POINTS, 100);
}

void CDialogPlot::OnFill() {
    SetTimer(IDT_PLOT_FILL, 100);
}

void CDialogPlot::OnSelchangePlotFile() {
    m_strListedName = m_cboPlotFile.GetLBText(m_cboPlotFile.GetCurSel());
    SetTimer(IDT_PLOT_REPLOT, 100);
}

void CDialogPlot::OnSelchangeCollectionPeriod() {
    SetTimer(IDT_PLOT_PERIOD, 100);
}

void CDialogPlot::OnPlotSeparately() {
    SetTimer(IDT_PLOT_AXES, 50);
}
