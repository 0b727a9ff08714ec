#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

// The page with a pseudo-terminal modem on COM1; files may be put into the
// data folder before the start.
class DiallerTest : public testing::Test {
protected:
    void Start() {
        modem = &h.AddPort(1);
        h.Start();
        h.modal.VerifyDone();
        // Off the one-second ticks, so that a countdown ends between two
        // advances.
        TestEnv::Advance(500);
        modem->Drain();
    }

    CDialogSelect& Page() { return h.Select(); }
    CEdit& Phone() { return *Page().Item<CEdit>(IDC_PHONE_NUMBER); }
    CComboBox& AutoHangup() { return *Page().Item<CComboBox>(IDC_AUTO_HANGUP); }
    void Click(int id) { Page().Item<CButton>(id)->Click(); }
    bool Enabled(int id) { return Page().GetDlgItem(id)->IsWindowEnabled(); }
    bool ModemInUse() { return h.Tabs().IsModemInUse() != 0; }
    // Nothing more has come from the program.
    bool LineQuiet() { return modem->ReadAvailable(0).empty(); }

    MainWindowHarness h;
    PtyPeer* modem = nullptr;
};

const int kLockedControls[] = {IDC_AUTO_HANGUP,  IDC_CLEAR_SCREEN, IDC_PHONE_NUMBER,
                               IDC_DIAL,         IDC_COMBO_BAUD,   IDC_START_CAPTURE,
                               IDC_LEVEL_UP,     IDC_LEVEL_DOWN,   IDC_USER_BUTTON1,
                               IDC_USER_BUTTON8, IDC_TERMINAL,     IDC_COMBO_PORT};

TEST_F(DiallerTest, DialAndHangupWithTheirGuardTimes) {
    Start();
    const std::string capture = h.env.Root() + "/modem.txt";
    h.modal.ExpectDialog(IDD_CAPTURE, [](CDialog& d) {
        d.Item<CButton>(IDC_CAPTURE_RAW)->Click();
        return IDOK;
    });
    h.modal.ExpectFileDialog(capture);
    Click(IDC_START_CAPTURE);
    h.modal.VerifyDone();

    Phone().UserType("5551234");
    Click(IDC_DIAL);
    EXPECT_TRUE(modem->Expect("+++"));
    EXPECT_TRUE(ModemInUse());
    for (int id : kLockedControls)
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_HANGUP));
    EXPECT_FALSE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    EXPECT_TRUE(h.Tabs().IsTabEnabled(PAGE_SCHEDULE));

    TestEnv::Advance(1999);
    EXPECT_TRUE(LineQuiet());
    TestEnv::Advance(1);
    EXPECT_TRUE(modem->Expect("ATDT5551234\r"));
    for (int id : kLockedControls)
        EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    EXPECT_TRUE(ModemInUse());

    Page().GetDlgItem(IDC_STATUS)->SetWindowText("Schedule: x");
    Click(IDC_HANGUP);
    EXPECT_TRUE(modem->Expect("+++"));
    EXPECT_FALSE(Enabled(IDC_DIAL));
    TestEnv::Advance(1999);
    EXPECT_TRUE(LineQuiet());
    TestEnv::Advance(1);
    EXPECT_TRUE(modem->Expect("ATH\r"));
    EXPECT_FALSE(ModemInUse());
    EXPECT_TRUE(Enabled(IDC_DIAL));
    EXPECT_EQ(Page().GetDlgItem(IDC_STATUS)->GetWindowText(), "");

    EXPECT_EQ(h.Terminal(), "+++ATDT5551234\r\nDialing...\r\n+++ATH\r\nHanging Up\r\n");
    Click(IDC_START_CAPTURE);
    std::ifstream in(capture, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), "+++ATDT5551234\r\n+++ATH\r\n");
}

TEST_F(DiallerTest, HangupCallsOffADialStillWaitingAndWorksWithoutACall) {
    Start();
    // No number: a warning and nothing else.
    h.modal.ExpectMessage("A Phone Number must be entered!", "Warning");
    Click(IDC_DIAL);
    h.modal.VerifyDone();
    EXPECT_FALSE(ModemInUse());
    EXPECT_TRUE(LineQuiet());

    Phone().UserType("5551234");
    Click(IDC_DIAL);
    TestEnv::Advance(1000);
    Click(IDC_HANGUP);
    TestEnv::Advance(1999);
    EXPECT_TRUE(modem->Expect("++++++"));
    EXPECT_TRUE(ModemInUse());
    TestEnv::Advance(1);
    EXPECT_TRUE(modem->Expect("ATH\r"));
    TestEnv::Advance(5000);
    EXPECT_TRUE(LineQuiet());
    EXPECT_FALSE(ModemInUse());
    EXPECT_TRUE(Enabled(IDC_DIAL));

    // Hangup with no call still goes through both steps.
    Click(IDC_HANGUP);
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("+++ATH\r"));
    EXPECT_FALSE(ModemInUse());
}

TEST_F(DiallerTest, AutomaticHangupCountsDownFromTheLastTraffic) {
    Start();
    AutoHangup().UserSelect(11);
    EXPECT_EQ(h.Tabs().GetHangupTimeLeft(), 900);
    EXPECT_EQ(h.ReadDataFile("hut.cfg"), "11");

    // The countdown reaching 0 without the modem in use does nothing.
    AutoHangup().UserSelect(1);
    TestEnv::Advance(120000);
    EXPECT_TRUE(LineQuiet());

    Phone().UserType("5551234");
    Click(IDC_DIAL);
    TestEnv::Advance(2000); // the dial step reloads the countdown
    EXPECT_TRUE(modem->Expect("+++ATDT5551234\r"));
    TestEnv::Advance(30000);
    // A byte from the modem starts the 60 s again.
    ASSERT_TRUE(modem->Send("X"));
    TestEnv::Advance(59000);
    EXPECT_TRUE(LineQuiet());
    TestEnv::Advance(1000);
    EXPECT_TRUE(modem->Expect("+++"));
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("ATH\r"));
    EXPECT_FALSE(ModemInUse());

    // Off: never.
    AutoHangup().UserSelect(0);
    Click(IDC_DIAL);
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("+++ATDT5551234\r"));
    TestEnv::Advance(600000);
    EXPECT_TRUE(LineQuiet());
    EXPECT_TRUE(ModemInUse());
}

TEST_F(DiallerTest, SettingsFilesSurviveARestart) {
    const std::string longNumber = "0123456789012345678901234567890123456789"; // 40
    h.WriteDataFile("pn.cfg", longNumber);
    h.WriteDataFile("hut.cfg", "14");
    Start();
    EXPECT_EQ(Phone().GetWindowText(), longNumber);
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), longNumber);
    EXPECT_EQ(AutoHangup().GetCurSel(), 0);
    EXPECT_EQ(h.ReadDataFile("hut.cfg"), "14");
    EXPECT_EQ(h.Tabs().GetHangupTimeLeft(), 0);
    Click(IDC_DIAL);
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("+++ATDT" + longNumber + "\r"));

    // Typing stops at 30 characters; every change is stored at once.
    Phone().SetWindowText("");
    Phone().UserType("555 12");
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), "555 12");
    Phone().UserType(std::string(24, '7'));
    Phone().UserType("8");
    EXPECT_EQ(Phone().GetWindowText(), "555 12" + std::string(24, '7'));
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), "555 12" + std::string(24, '7'));
}

TEST(DiallerStartTest, HangupChoiceOutsideTheListIsOff) {
    for (const char* bad : {"-1", "x", "", "3"}) {
        MainWindowHarness h;
        h.WriteDataFile("hut.cfg", bad);
        h.AddPort(1);
        h.Start();
        EXPECT_EQ(h.Select().Item<CComboBox>(IDC_AUTO_HANGUP)->GetCurSel(),
                  std::string(bad) == "3" ? 3 : 0);
        EXPECT_EQ(h.ReadDataFile("hut.cfg"), bad);
    }
}

TEST_F(DiallerTest, CallNowDialsTheSchedulesNumberWhole) {
    Start();
    const std::string number = "0064" + std::string(40, '1'); // past what may be typed
    h.Tabs().RequestCallNow(number.c_str());
    TestEnv::Advance(1000);
    EXPECT_FALSE(h.Tabs().IsCallNow());
    EXPECT_EQ(Phone().GetWindowText(), number);
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), number);
    EXPECT_TRUE(modem->Expect("+++"));
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("ATDT" + number + "\r"));
    EXPECT_TRUE(Enabled(IDC_DIAL));
    EXPECT_TRUE(ModemInUse());
}

TEST_F(DiallerTest, HalfHourHangupAndAScheduledCallBeforeCallNowInOneTick) {
    Start();
    AutoHangup().UserSelect(13);
    EXPECT_EQ(AutoHangup().GetLBText(13), "30");
    EXPECT_EQ(h.Tabs().GetHangupTimeLeft(), 1800);

    // Both requests wait for the same tick (they share the number): one dial, the
    // scheduled call's; Call Now waits while that call holds the line.
    h.Tabs().RequestCallNow("555");
    h.Tabs().SetSiteName("Weir");
    h.Tabs().RequestScheduledCall("555");
    TestEnv::Advance(1000);
    EXPECT_FALSE(h.Tabs().IsScheduledCall());
    EXPECT_TRUE(h.Tabs().IsCallNow());
    EXPECT_TRUE(modem->Expect("+++"));
    TestEnv::Advance(2000);
    EXPECT_TRUE(modem->Expect("ATDT555\r"));
    TestEnv::Advance(5000);
    EXPECT_TRUE(LineQuiet());
    EXPECT_TRUE(h.Tabs().IsCallNow());
}

} // namespace
