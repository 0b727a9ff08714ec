// CDialogSchedule: the Schedule page, a child dialog of the main window's tab control.
#pragma once

#include "framework/Dialog.h"
#include "resources/ResourceSchedule.h"

class CXTabCtrl;

class CDialogSchedule : public CDialog {
public:
    CDialogSchedule() : CDialog(IDD_SCHEDULE) {}
    ~CDialogSchedule() override = default;

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;
};
