// The About box, the four help dialogs and "Where's My Data ?".
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "resources/ResourceShell.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};

class CHelpCommsDlg : public CDialog {
public:
    CHelpCommsDlg() : CDialog(IDD_HELP_COMMS) {}
};

class CHelpPlotDlg : public CDialog {
public:
    CHelpPlotDlg() : CDialog(IDD_HELP_PLOT) {}
};

class CHelpScheduleDlg : public CDialog {
public:
    CHelpScheduleDlg() : CDialog(IDD_HELP_SCHEDULE) {}
};

class CHelpUpgradeDlg : public CDialog {
public:
    CHelpUpgradeDlg() : CDialog(IDD_HELP_UPGRADE) {}
};

class CMyDataDlg : public CDialog {
public:
    CMyDataDlg() : CDialog(IDD_MYDATA) {}
    // Kept whole: a long path is shown, never cut.
    void SetPath(const char* path) { m_szPath = path ? path : ""; }
    BOOL OnInitDialog() override;

private:
    std::string m_szPath;
};
