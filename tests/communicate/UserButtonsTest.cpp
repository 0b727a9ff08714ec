// The user buttons on the page: "buttn.cfg", the levels and the Button
// Definitions dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "communicate/ButtonDefineDlg.h"
#include "tests/support/MainWindowHarness.h"

namespace {

// The lines of the file that the defaults make.
std::vector<std::string> DefaultLines() {
    std::string caption[kButtonSlots], data[kButtonSlots];
    unsigned char plot[kButtonSlots] = {};
    FillDefaultButtons({caption, data, plot});
    std::vector<std::string> lines;
    for (int i = 1; i <= kButtonCount; ++i)
        lines.push_back(caption[i] + "," + data[i] + (plot[i] ? ",1\r\n" : ",0\r\n"));
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line;
    return bytes;
}

class UserButtonsTest : public testing::Test {
protected:
    std::string Text(int id) { return h.Select().GetDlgItem(id)->GetWindowText(); }
    void PageClick(int id) { h.Select().Item<CButton>(id)->Click(); }
    void RightClick(int k) { h.Select().Item<CButtonHS>(kUserButtonIds[k - 1])->OnRButtonDown(); }
    static std::string Row(CDialog& d, int id) { return d.GetDlgItem(id)->GetWindowText(); }
    static void Press(CDialog& d, int id) { d.Item<CButton>(id)->Click(); }

    MainWindowHarness h;
};

TEST_F(UserButtonsTest, LevelsAndTheDialogSaveEveryLevelTogether) {
    h.AddPort(1);
    h.Start();
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), Join(DefaultLines()));
    EXPECT_EQ(Text(IDC_USER_BUTTON8), "Help");
    PageClick(IDC_LEVEL_DOWN);
    EXPECT_EQ(Text(IDC_LEVEL) + Text(IDC_USER_BUTTON1), "Level 9");
    for (int i = 0; i < 3; ++i)
        PageClick(IDC_LEVEL_UP);
    EXPECT_EQ(Text(IDC_LEVEL), "Level 3");

    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        EXPECT_EQ(Row(d, IDC_DEFINE_LEVEL), "Level 3"); // the page's level
        TestEnv::Advance(100);
        Press(d, IDC_DEFINE_PREV_LEVEL);
        auto* caption = d.Item<CEdit>(IDC_DEFINE_CAPTION1);
        caption->SetWindowText("");
        caption->UserType("a,b"); // refused
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
    std::vector<std::string> expected = DefaultLines();
    expected[8] = "Twenty charac,DUR^M,1\r\n";
    expected[71] = "," + std::string(59, 'd') + ",1\r\n";
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), Join(expected));
    EXPECT_EQ(Text(IDC_LEVEL), "Level 3");
    EXPECT_EQ(h.Select().GetButtonCaption(9), "Twenty charac");

    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        d.Item<CEdit>(IDC_DEFINE_CAPTION1)->UserType("changed");
        Press(d, IDCANCEL);
        return IDCANCEL;
    });
    RightClick(1);
    h.modal.VerifyDone();
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), Join(expected));
}

TEST_F(UserButtonsTest, OkNeverWritesRowsTheUserDidNotEmpty) {
    h.AddPort(1);
    h.Start();
    // OK before the file has been read writes the page's definitions.
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        Press(d, IDOK);
        return IDOK;
    });
    RightClick(2);
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), Join(DefaultLines()));

    // A file that cannot be written: the dialog stays open with the edits,
    // and the defaults the reload falls back on are told of once.
    const std::string path = h.env.DataFolder() + "/buttn.cfg";
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    const std::string warning = "Could not write " + path + ".\nIs a directory";
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [&](CDialog& d) {
        TestEnv::Advance(100);
        EXPECT_EQ(Row(d, IDC_DEFINE_CAPTION1), "Status");
        h.modal.ExpectMessage(warning, "Warning");
        Press(d, IDOK);
        EXPECT_FALSE(d.IsEnded());
        Press(d, IDCANCEL);
        return IDCANCEL;
    });
    RightClick(1);
    h.modal.ExpectMessage(warning, "Warning");
    TestEnv::Advance(50);
    h.modal.VerifyDone();

    // The file gone: the page's definitions and the edit.
    std::filesystem::remove(path);
    h.modal.ExpectDialog(IDD_BUTTON_DEFINE, [](CDialog& d) {
        TestEnv::Advance(100);
        d.Item<CEdit>(IDC_DEFINE_DATA1)->SetWindowText("STATUS^M");
        Press(d, IDOK);
        return IDOK;
    });
    RightClick(2);
    std::vector<std::string> expected = DefaultLines();
    expected[0] = "Status,STATUS^M,0\r\n";
    EXPECT_EQ(h.ReadDataFile("buttn.cfg"), Join(expected));
}

} // namespace
