// CDialogSelect: the Communicate page.
#pragma once

#include "framework/Dialog.h"
#include "resources/Resource.h"

class CXTabCtrl;

class CDialogSelect : public CDialog {
public:
    CDialogSelect() : CDialog(IDD_SELECT) {}
    ~CDialogSelect() override = default;

    // The main window's tab control, set after the page window exists.
    CXTabCtrl* m_pTabCtrl = nullptr;
};
