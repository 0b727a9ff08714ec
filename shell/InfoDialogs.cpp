#include "shell/InfoDialogs.h"

BOOL CMyDataDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_PATH_PLOTS, IDC_PATH_SCHEDULE, IDC_PATH_CONFIG}) {
        if (CWnd* item = GetDlgItem(id))
            item->SetWindowText(m_szPath);
    }
    return TRUE;
}
