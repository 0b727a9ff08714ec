#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CaptureTest : public testing::Test {
protected:
    void SetUp() override {
        logger = &h.AddPort(1);
        h.Start();
        h.modal.VerifyDone();
        terminal = h.Select().Terminal().GetWidget();
        terminal->setFocus();
    }

    void LoggerSends(const std::string& bytes) {
        ASSERT_TRUE(logger->Send(bytes));
        TestEnv::Advance(200);
    }

    std::string Caption() { return h.Select().GetDlgItem(IDC_START_CAPTURE)->GetWindowText(); }
    std::string FileLabel() { return h.Select().GetDlgItem(IDC_CAPTURE_FILE)->GetWindowText(); }
    void PressStartCapture() { h.Select().Item<CButton>(IDC_START_CAPTURE)->Click(); }

    // "Start Capture", a form button (or another act on the dialog), and the
    // save dialog answered with `path` when one is expected.
    void StartCapture(std::function<void(CDialog&)> act, const std::string& path,
                      bool saveDialog = true, long long dialogUpForMs = 0) {
        h.modal.ExpectDialog(
            IDD_CAPTURE,
            [act](CDialog& d) {
                EXPECT_EQ(d.GetCaption(), "Capture Format");
                act(d);
                return IDOK;
            },
            dialogUpForMs);
        if (saveDialog)
            h.modal.ExpectFileDialog(path, [this](FileDialogRequest& r) { lastRequest = r; });
        PressStartCapture();
        h.modal.VerifyDone();
        terminal->setFocus();
    }
    static std::function<void(CDialog&)> Click(int id) {
        return [id](CDialog& d) { d.Item<CButton>(id)->Click(); };
    }
    static std::function<void(CDialog&)> Key(int qtKey) {
        return [qtKey](CDialog& d) { MainWindowHarness::Key(d.GetWidget(), qtKey); };
    }

    MainWindowHarness h;
    PtyPeer* logger = nullptr;
    QWidget* terminal = nullptr;
    FileDialogRequest lastRequest;
};

TEST_F(CaptureTest, FormatDialogHandsTheFormOverThroughCapCfg) {
    struct Form {
        int button;
        char byte;
        const char* caption;
        const char* filter;
    };
    const Form forms[] = {
        {IDC_CAPTURE_RAW, 1, "Stop Raw Capture",
         "Raw Capture Files (*.txt)|*.txt|All Files (*.*)|*.*||"},
        {IDC_CAPTURE_CSV1, 2, "Stop CSV-1 Capture",
         "CSV1 Capture Files (*.csv)|*.csv|All Files (*.*)|*.*||"},
        {IDC_CAPTURE_CSV2, 3, "Stop CSV-2 Capture",
         "CSV2 Capture Files (*.csv)|*.csv|All Files (*.*)|*.*||"},
        {IDC_CAPTURE_TIDEDA, 4, "Stop Tideda Capture",
         "Tideda Capture Files (*.txt)|*.txt|All Files (*.*)|*.*||"},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.caption);
        std::string captionDuringSave;
        h.modal.ExpectDialog(IDD_CAPTURE, [&](CDialog& d) {
            d.Item<CButton>(form.button)->Click();
            return IDOK;
        });
        h.modal.ExpectFileDialog("", [&](FileDialogRequest& r) {
            captionDuringSave = Caption();
            EXPECT_FALSE(r.open);
            EXPECT_EQ(r.filter, form.filter);
            EXPECT_EQ(r.title, "Capture File to save data");
            EXPECT_FALSE(r.overwritePrompt);
            // No capture file chosen yet this run: the data folder.
            EXPECT_EQ(r.initialFolder, h.env.DataFolder());
        });
        PressStartCapture();
        h.modal.VerifyDone();
        EXPECT_EQ(h.ReadDataFile("cap.cfg"), std::string(1, form.byte));
        EXPECT_EQ(captionDuringSave, form.caption);
        // A cancelled save: nothing open, the button as it was.
        EXPECT_EQ(Caption(), "Start Capture");
        EXPECT_EQ(FileLabel(), "");
        EXPECT_EQ(h.Select().GetCaptureKind(), CaptureKind::None);
    }

    // Enter ends the dialog without writing: the page acts on the last form.
    StartCapture(Key(Qt::Key_Return), "");
    EXPECT_EQ(lastRequest.filter, forms[3].filter);
    EXPECT_EQ(h.ReadDataFile("cap.cfg"), std::string(1, '\4'));

    // Cancel and Esc write 0, and the page does nothing more.
    StartCapture(Click(IDCANCEL), "", false);
    EXPECT_EQ(h.ReadDataFile("cap.cfg"), std::string(1, '\0'));
    h.WriteDataFile("cap.cfg", std::string(1, '\2'));
    StartCapture(Key(Qt::Key_Escape), "", false);
    EXPECT_EQ(h.ReadDataFile("cap.cfg"), std::string(1, '\0'));

    // Without "cap.cfg" Enter leads nowhere.
    std::filesystem::remove(h.env.DataFolder() + "/cap.cfg");
    StartCapture(Key(Qt::Key_Return), "", false);
    EXPECT_FALSE(std::filesystem::exists(h.env.DataFolder() + "/cap.cfg"));
    EXPECT_EQ(Caption(), "Start Capture");
}

TEST_F(CaptureTest, RawCaptureHoldsWhatWasReceivedAndTypedAndAppends) {
    const std::string path = h.env.Root() + "/raw.txt";
    {
        std::ofstream old(path, std::ios::binary);
        old << "old\r\n";
    }
    // What arrives while the dialogs are up is shown, not captured.
    ASSERT_TRUE(logger->Send("early\r\n"));
    StartCapture(Click(IDC_CAPTURE_RAW), path, true, 300);
    EXPECT_EQ(h.Terminal(), "early\r\n");
    EXPECT_EQ(Caption(), "Stop Raw Capture");
    EXPECT_EQ(FileLabel(), "raw.txt");

    LoggerSends("LOGGER V1.0\r\n>");
    MainWindowHarness::Type(terminal, "ST");
    MainWindowHarness::Key(terminal, Qt::Key_Return);
    EXPECT_TRUE(logger->Expect("ST\r"));
    LoggerSends("\r\n12:0");
    LoggerSends("0:00 12/03/24\r\n\n>");
    // The file is readable while it grows.
    EXPECT_EQ(ReadFile(path), "old\r\nLOGGER V1.0\r\nST\r>\r\n12:00:00 12/03/24\r\n\n");

    // At SDI-12 typed keys go out but not into the capture.
    h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->UserSelect(7);
    terminal->setFocus();
    MainWindowHarness::Type(terminal, "0I!");
    EXPECT_TRUE(logger->Expect("0I!"));
    LoggerSends("0013\r\n");

    PressStartCapture(); // stops without a dialog
    EXPECT_EQ(Caption(), "Start Capture");
    EXPECT_EQ(FileLabel(), "");
    const std::string expected = "old\r\nLOGGER V1.0\r\nST\r>\r\n12:00:00 12/03/24\r\n\n>0013\r\n";
    EXPECT_EQ(ReadFile(path), expected);
    LoggerSends("after\r\n");
    EXPECT_EQ(ReadFile(path), expected);

    // The next save dialog opens where this capture went.
    StartCapture(Click(IDC_CAPTURE_RAW), "");
    EXPECT_EQ(lastRequest.initialFolder, h.env.Root());
}

TEST_F(CaptureTest, ConvertedCaptureTakesOnlyTheLoggerLines) {
    const std::string path = h.env.Root() + "/rain.csv";
    StartCapture(Click(IDC_CAPTURE_CSV2), path);
    MainWindowHarness::Type(terminal, "DUR");
    MainWindowHarness::Key(terminal, Qt::Key_Return);
    LoggerSends("\r\nSite: RAIN001 HS     0.2\r\n00:00:00 12/03/24\r\n06:3");
    LoggerSends("0:12\r\nRecord End\r\n");
    EXPECT_EQ(ReadFile(path),
              "Site: RAIN001 HS     0.2\r\n12/03/24 06:30:12,0.2\r\nRecord End\r\n");
    // The record check puts nothing in the "Dump Date" line by hand.
    EXPECT_EQ(h.Select().GetDlgItem(IDC_DUMP_DATE)->GetWindowText(), "");

    // The Firmware Upgrade page takes the port: the capture stops.
    h.ChooseTab(PAGE_FIRMWARE_UPGRADE);
    TestEnv::Advance(200);
    EXPECT_EQ(h.Select().GetCaptureKind(), CaptureKind::None);
    EXPECT_EQ(Caption(), "Start Capture");
}

TEST_F(CaptureTest, FileThatTakesNoMoreStopsTheCaptureWithOneWarning) {
    StartCapture(Click(IDC_CAPTURE_RAW), "/dev/full");
    ASSERT_EQ(h.Select().GetCaptureKind(), CaptureKind::Raw);
    h.modal.ExpectMessage("Could not write the capture file /dev/full.\nNo space left on device",
                          "Warning");
    LoggerSends("line one\r\nline two\r\n");
    LoggerSends("line three\r\n");
    h.modal.VerifyDone();
    EXPECT_EQ(h.Select().GetCaptureKind(), CaptureKind::None);
    EXPECT_EQ(Caption(), "Start Capture");
    EXPECT_EQ(FileLabel(), "");

    // A file that will not open: silently no capture.
    StartCapture(Click(IDC_CAPTURE_RAW), h.env.Root() + "/no/such/folder/x.txt");
    EXPECT_EQ(h.Select().GetCaptureKind(), CaptureKind::None);
    EXPECT_EQ(Caption(), "Start Capture");
}

} // namespace
