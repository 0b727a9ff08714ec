// User buttons sending to a logger on a pseudo-terminal, on the virtual
// clock: pieces, their timing and echo, the plot question and dump files.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"

namespace {

const char kPlot[] = "Would you like to plot this data?";

class CommandSendingTest : public testing::Test {
protected:
    // Buttons 1 to 8 of level 1 from "caption,data,flag" lines.
    void StartWith(const std::vector<std::string>& lines, LocalTime at = TestEnv::DefaultStart()) {
        std::string file;
        for (const std::string& line : lines)
            file += line + "\r\n";
        h.WriteDataFile("buttn.cfg", file);
        Clock::UseVirtual(at);
        logger = &h.AddPort(1);
        h.Start();
        h.modal.VerifyDone();
    }

    // Clicks button k (answering the plot question when `plot` is given)
    // and marks the time.
    void Click(int k, int plot = 0) {
        if (plot)
            h.modal.ExpectMessage(kPlot, "Plot?", plot);
        mark = Clock::NowMs();
        h.Select().Item<CButton>(kUserButtonIds[k - 1])->Click();
    }

    // `bytes` are the next to reach the logger, `at` ms after the click and
    // not a millisecond earlier.
    testing::AssertionResult At(long long at, const std::string& bytes) {
        const long long now = Clock::NowMs() - mark;
        if (at > now) {
            TestEnv::Advance(at - 1 - now);
            const std::string early = logger->ReadAvailable(30);
            if (!early.empty())
                return testing::AssertionFailure()
                       << "before " << at << " ms: \"" << PtyPeer::Printable(early) << "\"";
            TestEnv::Advance(1);
        }
        return logger->Expect(bytes);
    }

    void LoggerSends(const std::string& bytes, long long ms = 200) {
        ASSERT_TRUE(logger->Send(bytes));
        TestEnv::Advance(ms);
    }

    std::string Label(int k) {
        return h.Select().GetDlgItem(kFileLabelIds[k - 1])->GetWindowText();
    }

    MainWindowHarness h;
    PtyPeer* logger = nullptr;
    long long mark = 0;
};

TEST_F(CommandSendingTest, PiecesKeepTheirTimingAndTakeTheClockWhenBuilt) {
    LocalTime at{2026, 3, 7, 14, 3, 8, 6};
    StartWith({"Example,^M^M~~~T=^T^M~~~D=^D^M~~~ST^M,0", "Tail,~ST^MXY,0"}, at);
    TestEnv::Advance(1000 - Clock::NowMs()); // 14:03:09.0
    Click(1);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_TRUE(At(50, "\r"));
    EXPECT_TRUE(At(1600, "T=14:03:10\r"));
    EXPECT_TRUE(At(3150, "D=07/03/26\r"));
    EXPECT_TRUE(At(4700, "ST\r"));
    TestEnv::Advance(1000);
    EXPECT_EQ(logger->ReadAvailable(30), "");
    EXPECT_EQ(h.Terminal(), "\r\rT=14:03:10\rD=07/03/26\rST\r");

    // At SDI-12 the pieces go out without echo.
    h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->UserSelect(7);
    Click(2);
    EXPECT_TRUE(At(500, "ST\r"));
    EXPECT_TRUE(At(550, "XY"));
    EXPECT_EQ(h.Terminal(), "\r\rT=14:03:10\rD=07/03/26\rST\r");
}

TEST_F(CommandSendingTest, DumpRecordsTheCommandAndTheReplyOnly) {
    StartWith({"Status,ST^M,0", "Other,ST^M,0", "Dump Rain,DUR^M,1"});
    // Even at SDI-12 the dump command is echoed; the wake-up CR never is.
    h.Select().Item<CComboBox>(IDC_COMBO_BAUD)->UserSelect(7);
    Click(3, IDYES);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_EQ(h.Tabs().IsNewDump(), 1);
    EXPECT_EQ(h.Tabs().GetPlotFileName(), "Durn001.plt");
    EXPECT_EQ(Label(3), "Durn001.plt");
    LoggerSends("\r\n>", 100); // the answer to the wake-up CR
    EXPECT_TRUE(At(200, "DUR\r"));

    const std::string reply = "\r\nRAIN DUMP\r\n01/03/26 00:00:00 0.2\r\n01/03/26 00:15:00 0.4\r\n";
    for (std::size_t pos = 0; pos < reply.size(); pos += 7)
        LoggerSends(reply.substr(pos, 7), 100);
    TestEnv::Advance(200);
    EXPECT_EQ(h.ReadDataFile("Durn001.plt"), "DUR\r" + reply);
    EXPECT_EQ(h.Terminal(), "\r\n>DUR\r" + reply);

    // Paging away and back shows the name again while the file is open.
    h.Select().Item<CButton>(IDC_LEVEL_UP)->Click();
    EXPECT_EQ(Label(3), "");
    h.Select().Item<CButton>(IDC_LEVEL_DOWN)->Click();
    EXPECT_EQ(Label(3), "Durn001.plt");

    // A typed key ends the dump.
    MainWindowHarness::Type(h.Select().Terminal().GetWidget(), "x");
    EXPECT_TRUE(logger->Expect("x"));
    LoggerSends("later");
    EXPECT_EQ(h.ReadDataFile("Durn001.plt"), "DUR\r" + reply);
    EXPECT_EQ(h.Select().GetDumpState(), DumpState::Idle);
    EXPECT_EQ(Label(3), "");
}

TEST_F(CommandSendingTest, EveryWayOfEndingADump) {
    StartWith({"Lead,^MDUR^M,1", "Dump,DUR^M,1", "Late,~~DUR^M,1", "Pause,~~ST^M,0"});

    Click(2, IDYES);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_TRUE(At(200, "DUR\r"));
    // A click closes the dump first; unarmed, "DUR" is an ordinary piece.
    Click(1, IDNO);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_TRUE(At(50, "DUR\r"));
    LoggerSends("reply");
    EXPECT_EQ(h.ReadDataFile("Durn001.plt"), "DUR\r");
    EXPECT_FALSE(std::filesystem::exists(h.env.DataFolder() + "/Durn002.plt"));

    // Enter within 200 ms of the wake-up CR: the dump command never goes.
    Click(2, IDYES);
    EXPECT_TRUE(At(0, "\r"));
    TestEnv::Advance(100);
    MainWindowHarness::Key(h.Select().Terminal().GetWidget(), Qt::Key_Return);
    EXPECT_TRUE(logger->Expect("\r"));
    TestEnv::Advance(500);
    EXPECT_EQ(logger->ReadAvailable(30), "");
    EXPECT_EQ(h.ReadDataFile("Durn002.plt"), "");

    // Bytes that arrive while the dump is only armed reach the terminal.
    Click(3, IDYES);
    LoggerSends("early");
    EXPECT_TRUE(At(1000, "\r"));
    EXPECT_TRUE(At(1200, "DUR\r"));
    EXPECT_EQ(h.ReadDataFile("Durn003.plt"), "DUR\r");

    // The View Plot page closes the dump; the terminal keeps receiving.
    h.ChooseTab(PAGE_VIEW_PLOT);
    TestEnv::Advance(100);
    LoggerSends("abc");
    EXPECT_EQ(h.ReadDataFile("Durn003.plt"), "DUR\r");
    EXPECT_EQ(h.Terminal().substr(h.Terminal().size() - 3), "abc");

    // A step still pending from the last command waits for the plot
    // question's answer, however long it is open.
    h.ChooseTab(PAGE_COMMUNICATE);
    logger->Drain();
    Click(4);
    TestEnv::Advance(200);
    h.modal.ExpectMessage(kPlot, "Plot?", IDYES, 2000);
    h.Select().Item<CButton>(kUserButtonIds[1])->Click();
    EXPECT_TRUE(logger->Expect("\r"));
    TestEnv::Advance(200);
    EXPECT_TRUE(logger->Expect("DUR\r"));
    EXPECT_EQ(h.ReadDataFile("Durn004.plt"), "DUR\r");
}

TEST_F(CommandSendingTest, DumpFileFailures) {
    StartWith({"Dump,DUR^M,1"});
    // No data folder: no file and no flag, but the command still goes.
    const std::string folder = h.env.DataFolder();
    std::filesystem::rename(folder, folder + ".away");
    Click(1, IDYES);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_TRUE(At(200, "DUR\r"));
    EXPECT_EQ(h.Tabs().IsNewDump(), 0);
    EXPECT_EQ(h.Select().GetDumpState(), DumpState::Idle);
    EXPECT_EQ(Label(1), "");
    std::filesystem::rename(folder + ".away", folder);

    // A write that fails closes the dump with one warning.
    Click(1, IDYES);
    EXPECT_TRUE(At(0, "\r"));
    EXPECT_TRUE(At(200, "DUR\r"));
    const std::string path = folder + "/Durn001.plt";
    h.modal.ExpectMessage("Could not write " + path + ".\nFile too large", "Warning");
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &small);
    LoggerSends("0123456789");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    LoggerSends("more");
    h.modal.VerifyDone();
    EXPECT_EQ(h.Select().GetDumpState(), DumpState::Idle);
    EXPECT_EQ(h.ReadDataFile("Durn001.plt"), "DUR\r0123");
}

} // namespace
