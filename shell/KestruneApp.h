// CKestruneApp: runs the main window modally; when it ends, the program ends.
#pragma once

#include "framework/WinTypes.h"

class CKestruneApp {
public:
    CKestruneApp() = default;
    virtual ~CKestruneApp() = default;
    virtual BOOL InitInstance();
};
