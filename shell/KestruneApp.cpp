#include "shell/KestruneApp.h"

#include "framework/Environment.h"
#include "framework/ModalRunner.h"
#include "framework/TerminationSignals.h"
#include "shell/KestruneDlg.h"

BOOL CKestruneApp::InitInstance() {
    // A second copy on the same data folder would rewrite its files and call
    // the schedule's sites too: it changes nothing and ends.
    const std::string folder = DataFolderPath();
    if (!m_lock.Acquire(folder)) {
        AfxMessageBox(("Trelvoran is already running with the data folder " + folder).c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        m_nExitCode = 1;
        return FALSE;
    }
    // A signal ends the run as Exit does, without its question: every modal
    // loop ends, a call up is hung up, the pages close their files and the
    // port, the lock goes.
    CKestruneDlg dlg;
    TerminationSignals endOnSignal([&dlg](int) { dlg.EndOnSignal(); });
    dlg.DoModal();
    m_lock.Release();
    return FALSE;
}
