// CDialogPlot: the View Plot page, a child dialog of the main window's tab control.
#pragma once

#include "framework/Dialog.h"
#include "resources/ResourcePlot.h"

class CXTabCtrl;

class CDialogPlot : public CDialog {
public:
    CDialogPlot() : CDialog(IDD_PLOT) {}
    ~CDialogPlot() override = default;

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;
};
