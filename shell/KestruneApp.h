// CKestruneApp: runs the main window modally; when it ends, the program ends.
// One copy runs per data folder.
#pragma once

#include "framework/InstanceLock.h"
#include "framework/WinTypes.h"

class CKestruneApp {
public:
    CKestruneApp() = default;
    virtual ~CKestruneApp() = default;
    virtual BOOL InitInstance();
    // The process's exit status: non-zero when another copy held the data folder.
    int GetExitCode() const { return m_nExitCode; }

private:
    InstanceLock m_lock;
    int m_nExitCode = 0;
};
