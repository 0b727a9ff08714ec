#include "shell/KestruneApp.h"

#include "shell/KestruneDlg.h"

BOOL CKestruneApp::InitInstance() {
    CKestruneDlg dlg;
    dlg.DoModal();
    return FALSE;
}
