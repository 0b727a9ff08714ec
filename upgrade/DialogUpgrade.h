// CDialogUpgrade: the Firmware Upgrade page, a child dialog of the main window's tab control.
#pragma once

#include "framework/Dialog.h"
#include "resources/ResourceUpgrade.h"

class CXTabCtrl;

class CDialogUpgrade : public CDialog {
public:
    CDialogUpgrade() : CDialog(IDD_UPGRADE) {}
    ~CDialogUpgrade() override = default;

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;
};
