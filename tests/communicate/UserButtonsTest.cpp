// The user buttons on the page: "buttn.cfg", the levels and the Button
// Definitions dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "communicate/ButtonConfig.h"
#include "communicate/ButtonDefineDlg.h"
#include "tests/support/MainWindowHarness.h"

namespace {

std::string DefaultFile() {
    std::string caption[kButtonSlots], data[kButtonSlots];
    unsigned char plot[kButtonSlots] = {};
    FillDefaultButtons({caption, data, plot});
    return FormatButtonFile({caption, data, plot});
}

// The 72 lines of a file.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t end = bytes.find('\n', pos);
        lines.push_back(bytes.substr(pos, end == std::string::npos ? end : end - pos + 1));
        pos = end == std::string::npos ? bytes.size() : end + 1;
    }
    return lines;
}

class UserButtonsTest : public testing::Test {
protected:
    void SetUp() override { h.AddPort(1); }

    std::string Text(int id) { return h.Select().GetDlgItem(id)->GetWindowText(); }
    void RightClick(int k) { h.Select().Item<CButtonHS>(kUserButtonIds[k - 1])->OnRButtonDown(); }
    static std::string Row(CDialog& d, int id) { return d.GetDlgItem(id)->GetWindowText(); }
    static void Press(CDialog& d, int id) { d.Item<CButton>(id)->Click(); }

    MainWindowHarness h;
};

TEST_F(UserButtonsTest, DefaultsOnAFreshFolderAndLevelsWrapRound) {
    h.Start();
    h.modal.VerifyDone();
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), DefaultFile());
    EXPECT_EQ(Text(IDC_LEVEL), "Level 1");
    EXPECT_EQ(Text(IDC_USER_BUTTON1), "Status");
    EXPECT_EQ(Text(IDC_USER_BUTTON8), "Help");

    h.Select().Item<CButton>(IDC_LEVEL_DOWN)->Click();
    EXPECT_EQ(Text(IDC_LEVEL), "Level 9");
    EXPECT_EQ(Text(IDC_USER_BUTTON1), "");
    EXPECT_TRUE(h.Select().Terminal().HasFocus());
    h.Select().Item<CButton>(IDC_LEVEL_UP)->Click();
    h.Select().Item<CButton>(IDC_LEVEL_UP)->Click();
    EXPECT_EQ(Text(IDC_LEVEL), "Level 2");
    EXPECT_EQ(Text(IDC_USER_BUTTON8), "Dump All");
}

TEST_F(UserButtonsTest, AnEmptyFileGivesEmptyButtonsAndStaysAsItIs) {
    h.WriteDataFile("buttn.cfg", "");
    h.Start();
    EXPECT_EQ(Text(IDC_USER_BUTTON1), "");
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), "");
}

TEST_F(UserButtonsTest, DialogSavesEveryLevelTogetherAndCancelSavesNothing) {
    h.Start();
    for (int i = 0; i < 2; ++i)
        h.Select().Item<CButton>(IDC_LEVEL_UP)->Click();

    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        // The page's level, shown at once.
        EXPECT_EQ(Row(d, IDC_DEFINE_LEVEL), "Level 3");
        TestEnv::Advance(100);
        Press(d, IDC_DEFINE_PREV_LEVEL);
        EXPECT_EQ(Row(d, IDC_DEFINE_CAPTION1), "Dump Rain");
        auto* caption = d.Item<CEdit>(IDC_DEFINE_CAPTION1);
        caption->SetWindowText("");
        caption->UserType("a,b"); // refused whole
        caption->UserType("Twenty characters ok");
        Press(d, IDC_DEFINE_PREV_LEVEL);
        Press(d, IDC_DEFINE_PREV_LEVEL);
        EXPECT_EQ(Row(d, IDC_DEFINE_LEVEL), "Level 9");
        d.Item<CEdit>(IDC_DEFINE_DATA1 + 14)->UserType(std::string(70, 'd'));
        Press(d, IDC_DEFINE_PLOT_ROWS[7]);
        Press(d, IDOK);
        return IDOK;
    });
    RightClick(5);
    h.modal.VerifyDone();

    std::vector<std::string> expected = Lines(DefaultFile());
    expected[8] = "Twenty charac,DUR^M,1\r\n";
    expected[71] = "," + std::string(59, 'd') + ",1\r\n";
    EXPECT_EQ(Lines(h.ReadDataFile("buttn.cfg")), expected);
    EXPECT_EQ(Text(IDC_LEVEL), "Level 3");
    EXPECT_EQ(h.Select().GetButtonCaption(9), "Twenty charac");

    const std::string saved = h.ReadDataFile("buttn.cfg");
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        TestEnv::Advance(100);
        d.Item<CEdit>(IDC_DEFINE_CAPTION1)->UserType("changed");
        Press(d, IDC_DEFINE_NEXT_LEVEL);
        d.Item<CEdit>(IDC_DEFINE_CAPTION1)->UserType("again");
        Press(d, IDCANCEL);
        return IDCANCEL;
    });
    RightClick(1);
    h.modal.VerifyDone();
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), saved);
    EXPECT_EQ(Text(IDC_LEVEL), "Level 3");
}

TEST_F(UserButtonsTest, OkNeverWritesRowsTheUserDidNotEmpty) {
    h.Start();
    // OK before the file has been read.
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        Press(d, IDOK);
        return IDOK;
    });
    RightClick(2);
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), DefaultFile());

    // The file gone meanwhile: the page's definitions and the edit.
    std::filesystem::remove(h.env.DataFolder() + "/buttn.cfg");
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        TestEnv::Advance(100);
        d.Item<CEdit>(IDC_DEFINE_DATA1)->SetWindowText("STATUS^M");
        Press(d, IDOK);
        return IDOK;
    });
    RightClick(2);
    h.modal.VerifyDone();
    std::vector<std::string> expected = Lines(DefaultFile());
    expected[0] = "Status,STATUS^M,1\r\n";
    expected[0][expected[0].size() - 3] = '0';
    EXPECT_EQ(Lines(h.ReadDataFile("buttn.cfg")), expected);
}

TEST_F(UserButtonsTest, AFileThatCannotBeWrittenIsToldAndOkKeepsTheEdits) {
    const std::string path = h.env.DataFolder() + "/buttn.cfg";
    std::filesystem::create_directories(path); // a folder in the file's place
    h.Start();
    // The defaults are in force; the warning follows the start-up step.
    EXPECT_EQ(h.Select().GetButtonCaption(3), "Dump Rain");
    EXPECT_EQ(h.Select().GetPortNumber(), 1);
    h.modal.ExpectMessage("Could not write " + path + ".\nIs a directory", "Warning");
    TestEnv::Advance(50);
    h.modal.VerifyDone();

    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [&](CDialog& d) {
        TestEnv::Advance(100);
        EXPECT_EQ(Row(d, IDC_DEFINE_CAPTION1), "Status");
        h.modal.ExpectMessage("Could not write " + path + ".\nIs a directory", "Warning");
        Press(d, IDOK);
        EXPECT_FALSE(d.IsEnded());
        Press(d, IDCANCEL);
        return IDCANCEL;
    });
    RightClick(1);
    h.modal.ExpectMessage("Could not write " + path + ".\nIs a directory", "Warning");
    TestEnv::Advance(50);
    h.modal.VerifyDone();
}

} // namespace
