// Printing the chart, and the chart's own property pages.
#include "framework/PrintDialog.h"
#include "plot/DialogPlot.h"

void CDialogPlot::OnPrint() {
    CWaitCursor wait;
    CPrintDialog dialog("PlotChart");
    if (dialog.DoModal() != IDOK)
        return;
    QPainter* dc = dialog.StartDoc();
    if (!dc) {
        MessageBox("Could not print the plot!", "Warning", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_chart.PrintChart(dc, 1.0, 1.0, 9.0, 5.0);
    dialog.EndDoc();
}

void CDialogPlot::OnProperties() {
    m_chart.ShowProperties();
}
