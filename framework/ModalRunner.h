// Everything modal goes through here: message boxes, modal dialogs, file
// dialogs. Production shows them; tests install a runner that answers from
// a script, so nothing ever blocks.
#pragma once

#include <string>

#include "framework/WinTypes.h"

class CDialog;
class CPrintDialog;

struct FileDialogRequest {
    bool open = true;       // false: a save dialog
    std::string defaultExt; // without the dot
    std::string fileName;   // initial name; on success the chosen path
    std::string filter;     // "Text|*.txt|All Files (*.*)|*.*||"
    std::string initialFolder;
    std::string title;           // empty: the platform's own
    bool overwritePrompt = true; // save dialogs
};

class ModalRunner {
public:
    virtual ~ModalRunner() = default;

    // Returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(const std::string& text, const std::string& caption, UINT type) = 0;
    // The dialog's window exists and is initialised; returns when it ends.
    virtual int RunDialog(CDialog& dialog) = 0;
    // True when the user chose a file (its path in request.fileName).
    virtual bool FileDialog(FileDialogRequest& request) = 0;
    // The print set-up dialog (framework/PrintDialog.cpp); IDOK or IDCANCEL.
    virtual int PrintDialog(CPrintDialog& dialog);
    // The program is ending (a termination signal): every modal loop
    // running (message boxes, dialogs, file and print dialogs, a main window
    // run modally) but `keep`'s ends as Cancel would end it, and any later
    // one answers Cancel at once. From here on IsEnding() is true: code
    // after a box asks it and stops there, doing nothing of any road.
    void EndAll(const CDialog* keep = nullptr) {
        m_bEnding = true;
        CloseAll(keep);
    }
    bool IsEnding() const { return m_bEnding; }

    static ModalRunner& Get();
    // Installs a runner (tests); null restores the one that shows things.
    static void Set(ModalRunner* runner);

protected:
    // Ends the modal loops running but `keep`'s (see EndAll).
    virtual void CloseAll(const CDialog* keep) { (void)keep; }

private:
    bool m_bEnding = false;
};

int AfxMessageBox(const char* text, UINT type = MB_OK);
