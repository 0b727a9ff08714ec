// The rain total between two Shift-clicks.
#include "plot/DialogPlot.h"

void CDialogPlot::OnChartMouseUp(short button, short shift, long x, long y) {
    (void)button;
    (void)shift;
    (void)x;
    (void)y;
}
