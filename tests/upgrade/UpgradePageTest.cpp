#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "framework/Files.h"
#include "shell/CommPort.h"
#include "tests/upgrade/HexFixtures.h"
#include "tests/upgrade/UpgradeBench.h"

namespace {

const char kNoPort[] =
    "No Comm Port is open.\nSelect a Comm Port on the Communicate tab and try again.";

struct BoxRow {
    int id;
    bool password;
    int note;
    bool diagnostics;
};

const BoxRow kBoxes[] = {
    {IDC_DEVICE_QUENTA, true, 0, true},
    {IDC_DEVICE_PX70, true, 0, false},
    {IDC_DEVICE_PX80, true, 0, true},
    {IDC_DEVICE_FERRANT, false, 0, true},
    {IDC_DEVICE_VX5400, false, IDC_NOTE_VX5400, true},
    {IDC_DEVICE_VX6400, false, IDC_NOTE_VX6400, true},
    {IDC_DEVICE_LINDQVAR, false, IDC_NOTE_LINDQVAR, true},
    {IDC_DEVICE_LINDQVAR_PLUS, false, IDC_NOTE_LINDQVAR_PLUS, true},
};

TEST(UpgradePageTest, DeviceTypesNotesPasswordAndDiagnosticsView) {
    UpgradeBench b;
    b.Show();
    EXPECT_EQ(b.Button(IDC_DEVICE_QUENTA).GetCheck(), BST_CHECKED);
    EXPECT_FALSE(b.Enabled(IDC_START_UPGRADE));
    for (int id :
         {IDC_STEP_VERSION, IDC_STEP_PASSWORD, IDC_STEP_ERASE, IDC_STEP_COPY, IDC_STEP_EXECUTE,
          IDC_STEP_PROGRAMMING, IDC_STEP_COMPLETE, IDC_TX_LINE, IDC_STOP_UPGRADE, IDC_SEND_RESET})
        EXPECT_FALSE(b.Visible(id)) << id;

    for (bool more : {false, true}) {
        if (more) {
            b.Click(IDC_MORE);
            EXPECT_EQ(b.Text(IDC_MORE), "Hide");
            EXPECT_TRUE(b.Visible(IDC_TX_LINE));
            EXPECT_TRUE(b.Visible(IDC_RESEND_COUNT));
        }
        for (const BoxRow& row : kBoxes) {
            SCOPED_TRACE(row.id);
            b.Click(row.id);
            b.Click(row.id); // the checked box stays checked
            for (const BoxRow& other : kBoxes)
                EXPECT_EQ(b.Button(other.id).GetCheck(), other.id == row.id ? 1 : 0);
            for (int note :
                 {IDC_NOTE_VX5400, IDC_NOTE_VX6400, IDC_NOTE_LINDQVAR, IDC_NOTE_LINDQVAR_PLUS})
                EXPECT_EQ(b.Visible(note), note == row.note);
            EXPECT_EQ(b.Visible(IDC_PASSWORD), row.password);
            EXPECT_EQ(b.Visible(IDC_PASSWORD_LABEL), row.password);
            EXPECT_EQ(b.Visible(IDC_STOP_UPGRADE), more && row.diagnostics);
            EXPECT_EQ(b.Visible(IDC_SEND_RESET), more && row.diagnostics);
            EXPECT_EQ(b.Text(IDC_FILE_LINE), "No File Selected");
        }
    }
    b.Click(IDC_MORE);
    EXPECT_EQ(b.Text(IDC_MORE), "More +");
    EXPECT_FALSE(b.Visible(IDC_RX_LINE));
    EXPECT_FALSE(b.Visible(IDC_SEND_RESET));

    // Enter and Esc go nowhere while the page is current.
    MSG key;
    key.message = WM_KEYDOWN;
    for (UINT vk : {VK_RETURN, VK_ESCAPE}) {
        key.wParam = vk;
        EXPECT_TRUE(b.page->PreTranslateMessage(&key));
    }
}

TEST(UpgradePageTest, SelectFileChecksTheWholeFileBeforeRememberingIt) {
    UpgradeBench b;
    b.Show();
    const std::string cfg = b.h.env.DataFolder() + "/File.cfg";

    // Cancelled: the first browse opens in the home folder, with the hex filter and title.
    b.h.modal.ExpectFileDialog("", [&](FileDialogRequest& r) {
        EXPECT_EQ(r.filter, "Files (*.hex)|*.hex|All Files (*.*)|*.*||");
        EXPECT_EQ(r.title, "Select Firmware to be Upgraded");
        EXPECT_EQ(r.initialFolder, b.h.env.Root() + "/home");
        EXPECT_FALSE(b.TabsEnabled());
    });
    b.Click(IDC_SELECT_FILE);
    EXPECT_EQ(b.Text(IDC_FILE_LINE), "No File Selected");
    EXPECT_TRUE(b.TabsEnabled());

    std::string badSum = FirmwareFile(3, "\n");
    badSum[20] = badSum[20] == '0' ? '1' : '0';
    const struct {
        std::string path;
        std::string line;
    } refused[] = {
        {b.h.env.Root() + "/missing.hex", "File not Found"},
        {b.h.env.Root(), std::string("File not Found: ") + std::strerror(EISDIR)},
        {b.WriteFile("empty.hex", ""), "File Could not be Opened: the file is empty"},
        {b.WriteFile("text.hex", "hello\r\n"), "File Content Suspect: line 1 is not a record"},
        {b.WriteFile("sum.hex", badSum), "File Content Suspect: bad checksum on line 1"},
        {b.WriteFile("open.hex", HexLine(0, 0, DataBytes(16, 1)) + "\n"),
         "File Content Suspect: no end record"},
    };
    for (const auto& r : refused) {
        b.h.modal.ExpectFileDialog(r.path, [](FileDialogRequest& req) {
            EXPECT_TRUE(req.initialFolder.empty()); // later browses set none
        });
        b.Click(IDC_SELECT_FILE);
        EXPECT_EQ(b.Text(IDC_FILE_LINE), r.line) << r.path;
        EXPECT_FALSE(FileExists(cfg));
        EXPECT_TRUE(b.TabsEnabled());
        EXPECT_TRUE(b.Enabled(IDC_SELECT_FILE));
        EXPECT_FALSE(b.Enabled(IDC_START_UPGRADE));
    }

    // An LF-only file loads, counting its frames; the tabs wait for the load.
    const std::string good = b.WriteFile("fw/Good.HEX", FirmwareFile(30, "\n", true));
    b.h.modal.ExpectFileDialog(good);
    b.Click(IDC_SELECT_FILE);
    EXPECT_EQ(b.Text(IDC_FILE_LINE), good);
    EXPECT_EQ(b.Text(IDC_UPGRADE_STATUS), "Reading File....");
    EXPECT_FALSE(b.TabsEnabled());
    EXPECT_EQ(b.h.ReadDataFile("File.cfg"), good);
    TestEnv::Advance(100);
    EXPECT_EQ(b.Text(IDC_UPGRADE_STATUS), "File Read");
    EXPECT_TRUE(b.Enabled(IDC_START_UPGRADE));
    EXPECT_TRUE(b.TabsEnabled());
    EXPECT_EQ(b.page->GetFrameCount(), 31);

    // Another device type wants the file chosen again; Lindqvar has its own filter.
    b.Click(IDC_DEVICE_LINDQVAR);
    EXPECT_EQ(b.Text(IDC_FILE_LINE), "No File Selected");
    EXPECT_FALSE(b.Enabled(IDC_START_UPGRADE));
    b.h.modal.ExpectFileDialog("", [](FileDialogRequest& r) {
        EXPECT_EQ(r.filter, "Lindqvar Files (LQ*.hex)|LQ*.hex|All Files (*.*)|*.*||");
    });
    b.Click(IDC_SELECT_FILE);
    EXPECT_EQ(b.page->GetFirmwarePath(), good);
    b.h.modal.VerifyDone();
}

TEST(UpgradePageTest, LastFileIsRecalledWholeWhenThePageIsFirstShown) {
    // A path well over 255 characters.
    const std::string folder(120, 'd');
    UpgradeBench b;
    const std::string path =
        b.WriteFile(folder + "/" + folder + "/firmware.hex", FirmwareFile(4, "\r"));
    ASSERT_GT(path.size(), 255u);
    b.h.WriteDataFile("File.cfg", path);
    TestEnv::Advance(1000);
    EXPECT_EQ(b.Text(IDC_FILE_LINE), "No File Selected"); // not shown yet

    b.h.ChooseTab(3);
    TestEnv::Advance(100);
    EXPECT_EQ(b.Text(IDC_FILE_LINE), path);
    EXPECT_EQ(b.Text(IDC_UPGRADE_STATUS), "Reading File....");
    EXPECT_TRUE(b.TabsEnabled());
    EXPECT_FALSE(b.Enabled(IDC_SELECT_FILE));
    TestEnv::Advance(100);
    EXPECT_EQ(b.Text(IDC_UPGRADE_STATUS), "File Read");
    EXPECT_TRUE(b.Enabled(IDC_START_UPGRADE));
    EXPECT_EQ(b.page->GetFrameCount(), 5);

    // The first browse opens where the recalled file lies.
    b.h.modal.ExpectFileDialog("", [&](FileDialogRequest& r) {
        EXPECT_EQ(r.initialFolder, path.substr(0, path.rfind('/')));
    });
    b.Click(IDC_SELECT_FILE);
    b.h.modal.VerifyDone();
}

TEST(UpgradePageTest, SendResetGoesOnTheLineAndNeedsAnOpenPort) {
    UpgradeBench b;
    b.Show();
    b.Click(IDC_MORE);
    b.Click(IDC_SEND_RESET);
    EXPECT_TRUE(b.peer->Expect(std::string(":\x00\x00\x00\x01\xFF", 6)));
    EXPECT_EQ(b.Text(IDC_TX_LINE), ": 0x00 0x00 0x00 0x01 0xFF");

    // An SDI-12 line echoes; the echo is read back and dropped.
    b.Click(IDC_DEVICE_VX5400);
    CCommPort::SetReadHook([&](unsigned long long) { b.peer->Send(b.peer->ReadAvailable(200)); });
    b.Click(IDC_SEND_RESET);
    CCommPort::SetReadHook(nullptr);
    EXPECT_EQ(b.peer->QueuedForProgram(), 0);
}

TEST(UpgradePageTest, WithoutAnOpenPortNothingIsSent) {
    UpgradeBench none(false);
    none.Show();
    none.Load(none.WriteFile("fw.hex", FirmwareFile(2)));
    ASSERT_TRUE(none.Enabled(IDC_START_UPGRADE));
    none.Click(IDC_MORE);
    none.h.modal.ExpectMessage(kNoPort, "Warning");
    none.Click(IDC_SEND_RESET);
    none.h.modal.ExpectMessage(kNoPort, "Warning");
    none.Click(IDC_START_UPGRADE);
    none.h.modal.VerifyDone();
    EXPECT_TRUE(none.Enabled(IDC_START_UPGRADE));
    EXPECT_TRUE(none.TabsEnabled());
}

} // namespace
