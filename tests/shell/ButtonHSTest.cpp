#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "framework/Text.h"
#include "resources/ResourceShell.h"
#include "shell/ButtonHS.h"
#include "shell/InfoDialogs.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestEnv.h"
#include "tests/support/UiDriver.h"

namespace {

// A dialog whose "Where'sMyData?" button is a right-click button; it logs
// every notification and, on a right click, runs a modal dialog.
class RightClickDialog : public CDialog {
public:
    explicit RightClickDialog(std::vector<std::string>* log)
        : CDialog(IDD_KESTRUNE_DIALOG), m_log(log) {}
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_WHERES_MY_DATA, m_button);
    }
    BOOL OnCommand(UINT id, UINT code) override {
        m_log->push_back(Format("command %u/%u", id, code));
        if (code == BNHS_RCLICKED) {
            CAboutDlg about;
            about.DoModal();
        }
        return TRUE;
    }
    CButtonHS m_button;

private:
    std::vector<std::string>* m_log;
};

TEST(ButtonHSTest, RightPressNotifiesTheDialogFirstAndLeftClickStaysAClick) {
    TestEnv env;
    ScriptedModal modal;
    std::vector<std::string> log;
    RightClickDialog dlg(&log);
    ASSERT_TRUE(dlg.Create(IDD_KESTRUNE_DIALOG));
    ui::Activate(dlg);
    ui::EventSpy presses({QEvent::MouseButtonPress},
                         [&] { log.push_back("press reached dialog"); });
    presses.Watch(dlg.GetWidget());
    QWidget* button = dlg.m_button.GetWidget();

    modal.ExpectDialog(IDD_ABOUTBOX, [&](CDialog&) {
        log.push_back("modal dialog");
        return IDOK;
    });
    ui::Press(button, Qt::RightButton);
    modal.VerifyDone();
    // The dialog's handler runs to its end, then the press goes on (the
    // button leaves a right press to its parent).
    EXPECT_EQ(log,
              (std::vector<std::string>{"command 4/9", "modal dialog", "press reached dialog"}));
    log.clear();
    ui::Release(button, Qt::RightButton);
    EXPECT_TRUE(log.empty());

    ui::Click(button, Qt::LeftButton);
    EXPECT_EQ(log, (std::vector<std::string>{"command 4/0"}));
}

} // namespace
