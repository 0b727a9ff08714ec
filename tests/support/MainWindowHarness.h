// The whole main window on the virtual clock, headless, with pseudo-terminal
// COM ports and scripted message boxes: what a page test starts from.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "communicate/DialogSelect.h"
#include "shell/KestruneDlg.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestEnv.h"

class MainWindowHarness {
public:
    MainWindowHarness();
    ~MainWindowHarness();

    // A pseudo-terminal linked as COMn; the harness keeps it.
    PtyPeer& AddPort(int n);
    // Writes a file into the data folder (created first) before start-up.
    void WriteDataFile(const std::string& name, const std::string& bytes);
    std::string ReadDataFile(const std::string& name) const;

    // Creates the main window and runs the Communicate page's start-up step.
    void Start();

    CKestruneDlg& Main() { return *m_main; }
    CXTabCtrl& Tabs() { return m_main->GetTabCtrl(); }
    CDialogSelect& Select() { return *m_main->GetSelectPage(); }
    // The terminal's bytes.
    std::string Terminal() { return Select().Terminal().GetWindowText(); }

    // A key press as the keyboard makes it, sent to `target`.
    static void Key(QWidget* target, int qtKey, const QString& text = QString());
    // Types printable text into `target`, one key per character.
    static void Type(QWidget* target, const std::string& text);
    // The user picks tab `index`; the page is recorded 50 ms later.
    void ChooseTab(int index);

    TestEnv env;
    ScriptedModal modal;

private:
    std::unique_ptr<CKestruneDlg> m_main;
    std::map<int, std::unique_ptr<PtyPeer>> m_ports;
};
