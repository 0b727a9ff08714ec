// Y axes, unit captions, resizing and printing.
#include "plot/DialogPlot.h"

void CDialogPlot::ArrangeYAxes() {}

void CDialogPlot::PlaceUnitLabels() {}

void CDialogPlot::SetUnitCaptions() {}

void CDialogPlot::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
}

void CDialogPlot::OnPrint() {}

void CDialogPlot::OnProperties() {}
