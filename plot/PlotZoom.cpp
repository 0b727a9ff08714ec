// Zoom, the time window and the cursor readouts.
#include "plot/DialogPlot.h"

void CDialogPlot::SetTimeWindow(double centre, double width) {
    (void)centre;
    (void)width;
}

void CDialogPlot::OnZoomIn() {}

void CDialogPlot::OnZoomOut() {}

void CDialogPlot::OnChartRangeChanged() {}

void CDialogPlot::OnChartCursor(double time) {
    (void)time;
}

void CDialogPlot::OnChartMouseDown(short button, short shift, long x, long y) {
    (void)button;
    (void)shift;
    (void)x;
    (void)y;
}
