// A modal runner for tests: every message box and modal dialog must be
// expected by the test, in order, and is answered from the script. An
// unexpected one fails the test at once and is answered with Cancel.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/ModalRunner.h"

class ScriptedModal : public ModalRunner {
public:
    struct Shown {
        std::string kind; // "message", "dialog", "file"
        std::string text;
        std::string caption;
        UINT type = 0;
    };

    ScriptedModal();
    ~ScriptedModal() override;

    // A message box whose text and caption must match; answered with `answer`
    // after `upForMs` of virtual time has passed with the box up (the
    // program's timers fire meanwhile, as they do in a real modal loop).
    void ExpectMessage(const std::string& text, const std::string& caption, int answer = IDOK,
                       long long upForMs = 0);
    // A modal dialog of template `templateId`; `act` may inspect and change
    // it and returns the result (or ends it itself). `upForMs` of virtual
    // time passes before `act` runs.
    void ExpectDialog(int templateId, std::function<int(CDialog&)> act = nullptr,
                      long long upForMs = 0);
    // A file dialog, answered with `path` (empty: cancelled).
    void ExpectFileDialog(const std::string& path,
                          std::function<void(FileDialogRequest&)> check = nullptr);

    // What was shown, in order.
    const std::vector<Shown>& History() const { return m_history; }
    bool AllAnswered() const { return m_script.empty(); }
    // Fails the test when expected entries were never shown.
    void VerifyDone();

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    int RunDialog(CDialog& dialog) override;
    bool FileDialog(FileDialogRequest& request) override;

private:
    struct Entry {
        std::string kind;
        std::string text;
        std::string caption;
        int answer = IDOK;
        long long upForMs = 0;
        int templateId = 0;
        std::function<int(CDialog&)> act;
        std::function<void(FileDialogRequest&)> fileCheck;
    };
    std::deque<Entry> m_script;
    std::vector<Shown> m_history;
};
