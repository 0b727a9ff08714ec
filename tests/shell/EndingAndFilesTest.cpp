// The program's files under faults: every settings file replaced whole or
// not at all, start-up with a FIFO, a device, a folder or a runaway file in
// a settings file's place, and a termination signal ending the run as Exit
// does.
#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "communicate/ButtonConfig.h"
#include "framework/FileReader.h"
#include "framework/Files.h"
#include "framework/InstanceLock.h"
#include "framework/TerminationSignals.h"
#include "plot/UnitsConfig.h"
#include "resources/ResourceSelect.h"
#include "resources/ResourceShell.h"
#include "schedule/DialogSchedule.h"
#include "schedule/ScheduleFiles.h"
#include "shell/KestruneApp.h"
#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

// Answers every box with OK (Yes to a question) and every dialog through `onDialog`, recording
// the boxes' texts.
class RecordingModal : public ModalRunner {
public:
    int MessageBox(const std::string& text, const std::string&, UINT type) override {
        texts.push_back(text);
        return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
    }
    int RunDialog(CDialog& dialog) override { return onDialog ? onDialog(dialog) : IDCANCEL; }
    bool FileDialog(FileDialogRequest&) override { return false; }
    void CloseAll(const CDialog*) override { ended = true; }

    std::vector<std::string> texts;
    std::function<int(CDialog&)> onDialog;
    bool ended = false;
};

bool Told(const RecordingModal& modal, const std::string& name) {
    return std::any_of(modal.texts.begin(), modal.texts.end(),
                       [&](const std::string& text) { return text.find(name) != text.npos; });
}

// Every kind of settings file, written the way the program writes it, with
// the replace failing at its last step: the file keeps its old bytes, no
// temporary file stays, and the user is told where the program tells. The same
// write without the failure changes the file, so each does go through it.
TEST(SettingsFilesTest, EveryKindIsReplacedWholeOrNotAtAll) {
    MainWindowHarness h;
    h.WriteDataFile("comms.cfg", "001, 3");
    h.AddPort(1);
    h.Start();
    h.modal.VerifyDone();
    RecordingModal modal;
    ModalRunner::Set(&modal);
    const std::string folder = h.env.DataFolder();
    auto path = [&](const char* name) { return JoinPath(folder, name); };

    std::string captions[73], data[73];
    unsigned char plots[73] = {};
    const ButtonArrays buttons{captions, data, plots};
    FillDefaultButtons(buttons);
    int round = 0;
    struct Kind {
        const char* name;
        bool told;
        std::function<void()> write;
    };
    const Kind kinds[] = {
        {"comms.cfg", true,
         [&] { h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->UserSelect(4 + round); }},
        {"pn.cfg", true,
         [&] { h.Select().Item<CEdit>(IDC_PHONE_NUMBER)->SetWindowText(std::to_string(round)); }},
        {"hut.cfg", true,
         [&] { h.Select().Item<CComboBox>(IDC_AUTO_HANGUP)->UserSelect(1 + round); }},
        {"cap.cfg", true,
         [&] {
             modal.onDialog = [&](CDialog& dlg) {
                 dlg.Item<CButton>(round ? IDC_CAPTURE_CSV1 : IDC_CAPTURE_RAW)->Click();
                 return IDOK;
             };
             h.Select().Item<CButton>(IDC_START_CAPTURE)->Click();
         }},
        {"buttn.cfg", false,
         [&] {
             captions[1] = round ? "Second" : "First";
             int error = 0;
             EXPECT_EQ(WriteButtonFile(path("buttn.cfg"), buttons, &error), round == 1);
         }},
        {"units.cfg", false,
         [&] {
             WriteUnitsConfig(path("units.cfg"), UnitsConfig{round == 1, round == 0});
         }},
        {"stat.cfg", false,
         [&] { EXPECT_EQ(WriteFileWhole(path("stat.cfg"), round ? "b" : "a").ok(), round == 1); }},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        ASSERT_TRUE(ReplaceFileContents(path(kind.name), "old"));
        modal.texts.clear();
        round = 0;
        FailNextReplaceAt(ReplaceStep::Rename, ENOSPC);
        kind.write();
        FailNextReplaceAt(ReplaceStep::None, 0);
        EXPECT_EQ(h.ReadDataFile(kind.name), "old");
        EXPECT_EQ(FindFiles(folder, "*.part"), std::vector<std::string>{});
        EXPECT_EQ(FindFiles(folder, "*-temp*"), std::vector<std::string>{});
        EXPECT_EQ(Told(modal, kind.name), kind.told);
        round = 1;
        kind.write();
        EXPECT_NE(h.ReadDataFile(kind.name), "old");
    }

    // The phone number follows the box without a sync; leaving the box
    // syncs it (a failing sync is told).
    CEdit& phone = *h.Select().Item<CEdit>(IDC_PHONE_NUMBER);
    phone.GetWidget()->setFocus();
    phone.SetWindowText("0800");
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), "0800");
    modal.texts.clear();
    FailNextReplaceAt(ReplaceStep::Sync, EIO);
    h.Select().Terminal().GetWidget()->setFocus();
    FailNextReplaceAt(ReplaceStep::None, 0);
    EXPECT_TRUE(Told(modal, "pn.cfg"));
    EXPECT_EQ(h.ReadDataFile("pn.cfg"), "0800");
    ModalRunner::Set(&h.modal);
}

struct Stand {
    const char* kind;
    std::function<void(const std::string&)> make;
};

class StartupTest : public testing::TestWithParam<Stand> {};

// What this process has read through read() and the like, in bytes.
long long BytesRead() {
    std::ifstream io("/proc/self/io");
    for (std::string key; io >> key;) {
        long long value = 0;
        io >> value;
        if (key == "rchar:")
            return value;
    }
    ADD_FAILURE() << "no /proc/self/io";
    return 0;
}

// Each settings file in turn replaced by something that is no settings
// file: the window is up within a second, with the file's default.
TEST_P(StartupTest, NoSettingsFileHoldsTheWindow) {
    const char* const names[] = {"comms.cfg", "buttn.cfg", "pn.cfg",   "hut.cfg",
                                 "units.cfg", "site.cfg",  "last.cfg", "stat.cfg",
                                 "en.cfg",    "cw.cfg",    "File.cfg"};
    for (const char* name : names) {
        SCOPED_TRACE(name);
        MainWindowHarness h;
        RecordingModal modal;
        ModalRunner::Set(&modal);
        std::filesystem::create_directories(h.env.DataFolder());
        GetParam().make(JoinPath(h.env.DataFolder(), name));
        h.AddPort(1);
        const long long before = BytesRead();
        h.Start();
        h.ChooseTab(3); // the Firmware page reads "File.cfg" when first shown
        h.ChooseTab(0);
        // A FIFO opened blocking would hang here; a device or a huge file is
        // read no further than a settings file's limit (and the little else
        // a start reads).
        const long long read = BytesRead() - before;
        EXPECT_LT(read, (long long)CFileReader::kDefaultLimit + (1 << 20));
        EXPECT_EQ(h.Select().GetButtonCaption(1), "Status");
        EXPECT_EQ(h.Select().Item<CEdit>(IDC_PHONE_NUMBER)->GetWindowText(), "");
        EXPECT_EQ(h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->GetCurSel(), 3);
        ModalRunner::Set(&h.modal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    InPlaceOfTheFile, StartupTest,
    testing::Values(
        Stand{"Fifo", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
        Stand{"DevZero",
              [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); }},
        Stand{"Folder", [](const std::string& p) { ASSERT_EQ(mkdir(p.c_str(), 0755), 0); }},
        Stand{"FiftyMegabytes",
              [](const std::string& p) {
                  ASSERT_TRUE(ReplaceFileContents(p, ""));
                  ASSERT_EQ(truncate(p.c_str(), 50 << 20), 0);
              }}),
    [](const testing::TestParamInfo<Stand>& info) { return std::string(info.param.kind); });

// The files the first start-up writes hold what a second one would write:
// the second start rewrites none of them.
TEST(StartupFilesTest, ASecondStartRewritesNothing) {
    MainWindowHarness h;
    h.AddPort(1);
    h.Start();
    TestEnv::Advance(2500); // every page's start-up step and first tick
    const char* const names[] = {"buttn.cfg", "comms.cfg", "units.cfg", "last.cfg", "cw.cfg"};
    std::vector<struct stat> before;
    for (const char* name : names) {
        struct stat st {};
        ASSERT_EQ(stat(JoinPath(h.env.DataFolder(), name).c_str(), &st), 0) << name;
        before.push_back(st);
    }
    h.Start();
    TestEnv::Advance(2500);
    EXPECT_EQ(h.Main().GetSchedulePage()->SiteList().GetItemCount(), kSiteCount);
    for (std::size_t i = 0; i < before.size(); ++i) {
        struct stat st {};
        ASSERT_EQ(stat(JoinPath(h.env.DataFolder(), names[i]).c_str(), &st), 0);
        EXPECT_EQ(st.st_ino, before[i].st_ino) << names[i];
        EXPECT_EQ(st.st_mtim.tv_nsec, before[i].st_mtim.tv_nsec) << names[i];
    }
    for (const char* temporary : {"*.part", "*-temp*"})
        EXPECT_EQ(FindFiles(h.env.DataFolder(), temporary), std::vector<std::string>{});
}

// SIGTERM while a dump arrives on an open port: the run ends as Exit ends
// it, without its question; the dump holds every byte the program took, the
// port's lock file is gone and the data folder's lock is free.
TEST(TerminationTest, SigtermEndsTheRunAsExitDoes) {
    TestEnv env;
    std::filesystem::create_directories(env.DataFolder());
    ASSERT_TRUE(ReplaceFileContents(env.DataFolder() + "/buttn.cfg", "Dump,DUR^M,1\r\n"));
    ASSERT_TRUE(ReplaceFileContents(env.DataFolder() + "/comms.cfg", "001, 3"));
    PtyPeer logger;
    ASSERT_TRUE(logger.LinkAs(env.Ports(), 1));
    const std::string reply = "\r\nRAIN DUMP\r\n01/03/26 00:00:00 0.2\r\n01/03/26 00:15:00 0.4\r\n";

    RecordingModal modal;
    ModalRunner::Set(&modal);
    modal.onDialog = [&](CDialog& dlg) {
        auto& main = dynamic_cast<CKestruneDlg&>(dlg);
        TestEnv::Advance(100);
        EXPECT_EQ(FindFiles(env.Locks(), "LCK..*").size(), 1u);
        main.GetSelectPage()->Item<CButton>(kUserButtonIds[0])->Click();
        EXPECT_TRUE(logger.Expect("\r"));
        logger.Send("\r\n>");
        TestEnv::Advance(300);
        EXPECT_TRUE(logger.Expect("DUR\r"));
        for (std::size_t pos = 0; pos < reply.size(); pos += 9) {
            logger.Send(reply.substr(pos, 9));
            TestEnv::Advance(100);
        }
        std::raise(SIGTERM);
        for (int turn = 0; turn < 100 && !modal.ended; ++turn)
            QApplication::processEvents();
        EXPECT_TRUE(modal.ended);
        return IDCANCEL; // as the ended loop returns
    };
    CKestruneApp app;
    app.InitInstance();
    ModalRunner::Set(nullptr);
    EXPECT_EQ(app.GetExitCode(), 0);
    EXPECT_EQ(modal.texts, std::vector<std::string>{"Would you like to plot this data?"});
    std::string dump;
    ASSERT_TRUE(ReadWholeFile(env.DataFolder() + "/Durn001.plt", &dump));
    EXPECT_EQ(dump, "DUR\r" + reply);
    EXPECT_EQ(FindFiles(env.Locks(), "LCK..*"), std::vector<std::string>{});
    InstanceLock next;
    EXPECT_TRUE(next.Acquire(env.DataFolder()));
    // The signal's own disposition is back once the run is over.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

} // namespace
