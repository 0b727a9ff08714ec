// A termination signal on each road where the program is busy: the run ends
// as Exit ends it, nothing the user did not ask for happens after it (no byte
// but a call's hang-up goes to the line, no file is written, no port is
// opened), and no lock stays.
#include <gtest/gtest.h>

#include <QApplication>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>

#include "communicate/DialogSelect.h"
#include "framework/Files.h"
#include "framework/InstanceLock.h"
#include "framework/ModalRunner.h"
#include "resources/ResourceSelect.h"
#include "shell/KestruneApp.h"
#include "shell/KestruneDlg.h"
#include "shell/XTabCtrl.h"
#include "tests/support/PtySimulatedModem.h"
#include "tests/support/TestEnv.h"

namespace {

// Boxes answered by `onMessage` (OK when unset), the main window driven by
// `onMain`, the capture dialog by a click on Raw, file dialogs with `file`.
class RoadModal : public ModalRunner {
public:
    int MessageBox(const std::string& text, const std::string&, UINT) override {
        return onMessage ? onMessage(text) : IDOK;
    }
    int RunDialog(CDialog& dialog) override {
        if (auto* main = dynamic_cast<CKestruneDlg*>(&dialog)) {
            onMain(*main);
            return IDCANCEL; // as the ended loop returns
        }
        dialog.Item<CButton>(IDC_CAPTURE_RAW)->Click();
        return IDOK;
    }
    bool FileDialog(FileDialogRequest& request) override {
        request.fileName = file;
        return !file.empty();
    }
    void CloseAll(const CDialog*) override { ended = true; }

    std::function<int(const std::string&)> onMessage;
    std::function<void(CKestruneDlg&)> onMain;
    std::string file;
    bool ended = false;
};

std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string bytes;
        if (entry.is_regular_file())
            ReadWholeFile(entry.path().string(), &bytes);
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

struct RoadRun {
    CKestruneDlg& main;
    RoadModal& modal;
    SimulatedModem& modem;
    PtyPeer& far;
    std::function<void()> signal;
};

struct Road {
    const char* name;
    const char* comms;
    // Brings the run to where the signal falls and raises it there.
    std::function<void(RoadRun&)> reach;
    // What the far end takes after the signal.
    std::string after;
    // What the capture file holds at the end.
    std::string capture;
};

void PrintTo(const Road& road, std::ostream* out) {
    *out << road.name;
}

void Advance(long long ms) {
    TestEnv::Advance(ms);
}

void Connect(SimulatedModem& modem) {
    for (int step = 0; step < 200 && !modem.IsOnline(); ++step)
        Advance(100);
    ASSERT_TRUE(modem.IsOnline());
}

class SignalRoadTest : public testing::TestWithParam<Road> {};

TEST_P(SignalRoadTest, NothingFollowsButTheHangup) {
    const Road& road = GetParam();
    TestEnv env;
    std::filesystem::create_directories(env.DataFolder());
    ASSERT_TRUE(ReplaceFileContents(env.DataFolder() + "/buttn.cfg", "Dump,DUR^M,1\r\n"));
    ASSERT_TRUE(ReplaceFileContents(env.DataFolder() + "/comms.cfg", road.comms));
    ASSERT_TRUE(ReplaceFileContents(env.DataFolder() + "/pn.cfg", "555"));
    PtyPeer far;
    ASSERT_TRUE(far.LinkAs(env.Ports(), 1));
    SimulatedModem modem(far);
    modem.numbers["555"] = SimulatedModem::Answer::Connect;
    modem.Attach();

    RoadModal modal;
    modal.file = env.Root() + "/capture.txt";
    ModalRunner::Set(&modal);
    std::size_t mark = 0;
    std::map<std::string, std::string> filesAtSignal;
    const auto signal = [&] {
        far.Drain();
        mark = modem.received.size();
        filesAtSignal = FilesIn(env.DataFolder());
        std::raise(SIGTERM);
        for (int turn = 0; turn < 100 && !modal.ended; ++turn)
            QApplication::processEvents();
        EXPECT_TRUE(modal.ended);
    };
    modal.onMain = [&](CKestruneDlg& main) {
        RoadRun run{main, modal, modem, far, signal};
        road.reach(run);
        // A hang-up runs on the timers; nothing else may keep the run up.
        for (int step = 0; step < 100 && !main.IsEnded(); ++step)
            Advance(100);
        EXPECT_TRUE(main.IsEnded());
    };
    CKestruneApp app;
    app.InitInstance();
    ModalRunner::Set(nullptr);

    EXPECT_EQ(app.GetExitCode(), 0);
    EXPECT_EQ(PtyPeer::Printable(modem.received.substr(mark) + far.ReadAvailable()),
              PtyPeer::Printable(road.after));
    EXPECT_EQ(FilesIn(env.DataFolder()), filesAtSignal);
    EXPECT_EQ(FindFiles(env.Locks(), "LCK..*"), std::vector<std::string>{});
    InstanceLock next;
    EXPECT_TRUE(next.Acquire(env.DataFolder()));
    std::string captured;
    ReadWholeFile(modal.file, &captured);
    EXPECT_EQ(captured, road.capture);
}

INSTANTIATE_TEST_SUITE_P(
    Roads, SignalRoadTest,
    testing::Values(
        // The plot question ended: the button's "DUR" is not sent, no dump starts.
        Road{"PlotQuestion", "001, 3",
             [](RoadRun& run) {
                 Advance(100);
                 run.modal.onMessage = [&](const std::string& text) {
                     EXPECT_EQ(text, "Would you like to plot this data?");
                     run.signal();
                     return IDCANCEL;
                 };
                 run.main.GetSelectPage()->Item<CButton>(kUserButtonIds[0])->Click();
             },
             "", ""},
        // The remembered port is gone: COM1 is not opened, "comms.cfg" keeps COM5.
        Road{"StartupPortBox", "005, 3",
             [](RoadRun& run) {
                 run.modal.onMessage = [&](const std::string& text) {
                     EXPECT_EQ(text, "The previously used Comm Port is not available.\n"
                                     "COM5 is gone: no such device.\n"
                                     "Select a new comm Port.");
                     run.signal();
                     return IDCANCEL;
                 };
                 Advance(100);
             },
             "", ""},
        // A call up is hung up as "Hangup" does before the end.
        Road{"ModemCall", "001, 3",
             [](RoadRun& run) {
                 Advance(100);
                 run.main.GetSelectPage()->Item<CButton>(IDC_DIAL)->Click();
                 Connect(run.modem);
                 run.signal();
             },
             "+++ATH\r", ""},
        // A signal within the 2 s of "Dial": the number is never dialled.
        Road{"Dialling", "001, 3",
             [](RoadRun& run) {
                 Advance(100);
                 run.main.GetSelectPage()->Item<CButton>(IDC_DIAL)->Click();
                 Advance(500);
                 run.signal();
             },
             "+++ATH\r", ""},
        Road{"ScheduledCall", "001, 3",
             [](RoadRun& run) {
                 Advance(100);
                 run.main.GetTabCtrl().SetSiteName("Gorge");
                 run.main.GetTabCtrl().RequestScheduledCall("555");
                 Connect(run.modem);
                 run.signal();
             },
             "+++ATH\r", ""},
        // A capture keeps what came and takes nothing more.
        Road{"CaptureRunning", "001, 3",
             [](RoadRun& run) {
                 Advance(100);
                 run.main.GetSelectPage()->Item<CButton>(IDC_START_CAPTURE)->Click();
                 run.far.Send("12.5\r\n");
                 Advance(200);
                 run.signal();
                 run.far.Send("13.0\r\n");
             },
             "", "12.5\r\n"}),
    [](const testing::TestParamInfo<Road>& info) { return std::string(info.param.name); });

} // namespace
