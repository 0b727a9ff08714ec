// The rain total between two Shift-clicks, counted from the dump on disk.
#include "framework/OleDate.h"
#include "framework/Text.h"
#include "plot/DialogPlot.h"
#include "plot/RainTotal.h"

void CDialogPlot::OnChartMouseUp(short button, short shift, long x, long y) {
    (void)x;
    (void)y;
    if (!m_chkHoldRain.IsWindowEnabled() || shift != 1 || button != 1 || !m_bStartSet)
        return;
    CWaitCursor wait;
    m_dEndTime = m_dCursorTime;
    m_bStartSet = 0;
    SetChartTextCaption(15, FormatOleDate(m_dEndTime, "End  %I:%M:%S %p %#d-%b-%Y"));
    SetChartTextCaption(17, "\\");
    SetChartTextCaption(18, "/");
    double total = 0.0;
    if (!CountRainTotalFile(m_strPlotPath, m_bDayFirst != 0, m_dStartTime, m_dEndTime, &total)) {
        SetChartTextCaption(16, "???");
        return;
    }
    SetChartTextCaption(16, Format("%7.1f", total));
}
