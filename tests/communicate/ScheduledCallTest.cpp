// Scheduled calls end to end: the Schedule page hands sites over on the
// virtual clock, the Communicate page calls them through a simulated modem
// (or a direct link) with a scripted logger on a pseudo-terminal.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "schedule/DialogSchedule.h"
#include "schedule/DumpEventFile.h"
#include "schedule/SiteFile.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PtySimulatedModem.h"

namespace {

using Answer = SimulatedModem::Answer;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + "\r\n";
    return out;
}

const std::string kRainDump =
    Lines({"Site: RAIN001 HS     0.2", "00:00:00 12/03/24", "06:30:12", "09:15:40",
           "0.5/01 Rain Increment Set", "09:20:05", "14:02:11 12/03/24 Connect", "Record End"});

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ScheduledCallTest : public testing::Test {
protected:
    // Sites by number: name, phone and the call line; every one ticked, due
    // at 10:15 on 7 March 2026 and every 15 minutes. `events`: "last.cfg"
    // lines by site.
    void Start(const std::map<int, std::pair<std::string, std::string>>& sites,
               const std::map<int, std::string>& events = {}, bool direct = false) {
        std::string siteFile;
        std::string enabled = "0,";
        std::string eventFile;
        for (int site = 1; site <= kSiteCount; ++site) {
            auto it = sites.find(site);
            char number[16];
            std::snprintf(number, sizeof number, "#%03d", site);
            siteFile += it == sites.end() ? DefaultSiteLine(site)
                                          : std::string(number) + "," + it->second.first + "," +
                                                it->second.second + ",1,10:15 07-03-2026,15,M," +
                                                m_callLines[site] + "\r\n";
            enabled += it == sites.end() ? "0," : "1,";
            auto event = events.find(site);
            eventFile += event == events.end() ? DefaultDumpEventLine() : event->second;
        }
        h.WriteDataFile("site.cfg", siteFile);
        h.WriteDataFile("en.cfg", enabled);
        h.WriteDataFile("last.cfg", eventFile);
        peer = &h.AddPort(1);
        modem = std::make_unique<SimulatedModem>(*peer);
        modem->direct = direct;
        Clock::UseVirtual(Wall(2026, 3, 7, 10, 14, 50));
        h.Start();
        modem->Attach();
    }

    // Steps the clock until `done` holds; the ms it took, or -1 past `limitMs`.
    long long RunUntil(const std::function<bool()>& done, long long limitMs, int stepMs = 100) {
        for (long long spent = 0; spent <= limitMs; spent += stepMs) {
            if (done())
                return spent;
            TestEnv::Advance(stepMs);
        }
        return -1;
    }
    std::string Status() { return h.Select().GetDlgItem(IDC_STATUS)->GetWindowText(); }
    std::string Data(const std::string& name) { return h.ReadDataFile(name); }
    std::string Path(const std::string& name) { return h.env.DataFolder() + "/" + name; }
    CDialogSchedule& Schedule() { return *h.Main().GetSchedulePage(); }
    void Hangup() { h.Select().Item<CButton>(IDC_HANGUP)->Click(); }
    // The result texts of the log lines of `site`.
    std::vector<std::string> Outcomes(int site) {
        char tag[16];
        std::snprintf(tag, sizeof tag, "Site#%03d", site);
        std::vector<std::string> out;
        std::istringstream log(Data("log.txt"));
        for (std::string line; std::getline(log, line);)
            if (line.find(tag) != std::string::npos)
                out.push_back(line.substr(line.find("Attempt#") + 11));
        return out;
    }
    std::string EventLine(int site) {
        std::istringstream file(Data("last.cfg"));
        std::string line;
        for (int n = 0; n < site; ++n)
            std::getline(file, line);
        return line;
    }

    std::map<int, std::string> m_callLines;
    MainWindowHarness h;
    PtyPeer* peer = nullptr;
    std::unique_ptr<SimulatedModem> modem;
};

TEST_F(ScheduledCallTest, EveryModemAnswerOverTheCallsOfAQuarterHour) {
    m_callLines[2] = "ST^M,Site35_^Y^m^D.csv,,R,,,,,,,,";
    m_callLines[3] = "ST^M,busy.txt,,R,,,,,,,,";
    m_callLines[4] = "ST^M,,,,,,,,,,,";
    m_callLines[5] = ",named.txt,,R,,,,R,,,,R";
    m_callLines[6] = "ST^M,,,,,,,,,,,";
    m_callLines[7] = "ST^M,,,,,,,,,,,";
    Start({{2, {"Gorge", "555"}},
           {3, {"Ford", "556"}},
           {4, {"Pool", "557"}},
           {5, {"Dry", "558"}},
           {6, {"Mute", "559"}},
           {7, {"Still", "560"}}},
          {{3, "1,09:00:00 01/03/26,3,1.0\r\n"}});
    modem->echo = true;
    modem->numbers = {{"555", Answer::Connect},
                      {"556", Answer::Busy},
                      {"558", Answer::Connect},
                      {"559", Answer::NoCarrier},
                      {"560", Answer::NoDialtone}};
    modem->replies["ST"] = {{300, "Status "}, {900, "OK\r\n"}};

    // Gorge: dialled, CONNECT after the echo, one command into a file named
    // by the date.
    ASSERT_GE(RunUntil([&] { return Status() == "Schedule: Gorge - Dialing..."; }, 15000), 0);
    EXPECT_TRUE(h.Tabs().IsModemInUse());
    ASSERT_GE(RunUntil([&] { return Status() == "Schedule: Gorge - Command1..."; }, 15000), 0);
    EXPECT_FALSE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    EXPECT_EQ(h.Tabs().GetCallResult(), '1');

    // Ford is busy: "+++" at once, "ATH" 2 s later.
    ASSERT_GE(RunUntil([&] { return modem->dialled.size() == 2; }, 30000), 0);
    const int hangups = modem->hangups;
    const long long busy = RunUntil([&] { return modem->hangups > hangups; }, 10000);
    // The answer after 3 s, seen on the next wait tick, checked 500 ms later.
    EXPECT_GE(busy, 6000);
    EXPECT_LE(busy, 7000);

    // Pool stays silent: hung up about 40 s after the dial command.
    ASSERT_GE(RunUntil([&] { return modem->dialled.size() == 3; }, 30000), 0);
    const long long silent = RunUntil([&] { return modem->hangups > hangups + 1; }, 60000);
    EXPECT_GE(silent, 40000);
    EXPECT_LE(silent, 45000);

    TestEnv::Advance(5 * 60 * 1000);
    EXPECT_EQ(modem->dialled, (std::vector<std::string>{"555", "556", "557", "558", "559", "560"}));
    EXPECT_EQ(modem->hangups, 6);
    // The first CR after each connection, and no command of the empty call.
    EXPECT_EQ(modem->loggerLines, (std::vector<std::string>{"", "ST", ""}));
    EXPECT_EQ(Outcomes(2), std::vector<std::string>{"Connected OK \r"});
    EXPECT_EQ(Outcomes(3), std::vector<std::string>{"Busy \r"});
    EXPECT_EQ(Outcomes(4), std::vector<std::string>{"No Answer \r"});
    EXPECT_EQ(Outcomes(5), std::vector<std::string>{"No Rxed Data \r"});
    EXPECT_EQ(Outcomes(6), std::vector<std::string>{"No Carrier \r"});
    EXPECT_EQ(Outcomes(7), std::vector<std::string>{"No Dialtone \r"});
    EXPECT_EQ(Data("stat.cfg").substr(0, 14), "0,1,5,4,3,6,7,");
    EXPECT_EQ(Data("Site35_260307.csv"), "ST\rStatus OK\r\n");
    EXPECT_TRUE(std::filesystem::exists(Path("named.txt")));
    EXPECT_EQ(Data("named.txt"), "");
    EXPECT_FALSE(std::filesystem::exists(Path("busy.txt")));
    EXPECT_EQ(EventLine(3), "1,09:00:00 01/03/26,3,1.0\r");
    EXPECT_EQ(Status(), "");
    EXPECT_FALSE(h.Tabs().IsModemInUse());
    EXPECT_TRUE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    h.modal.VerifyDone();
}

TEST_F(ScheduledCallTest, DirectLinkThreeFormsAndTheTrackedDump) {
    const std::string tidePath = h.env.Root() + "/tide.txt";
    m_callLines[1] = "ST^M,raw.txt,,R,DUR/10/^t/^L^M,rain.csv,A,1,DR^M," + tidePath + ",,T";
    h.WriteDataFile("rain.csv", "old\r\n");
    Start({{1, {"Weir", "D1"}}}, {{1, "2,10:16:02 12/03/24,1,5.0\r\n"}}, true);
    modem->replies["ST"] = {{200, "Status OK\r\n"}};
    // The records up to the stored event and its one repeat are skipped.
    const std::string records = Lines({"Site: RAIN001 HS     0.2", "10:16:00 12/03/24", "10:16:02",
                                       "10:17:45", "10:20:00", "10:20:00"});
    modem->replies["DUR/10/10:16/12/03/24"] = {{4000, records.substr(0, 40)},
                                               {9000, records.substr(40)}};
    modem->replies["DR"] = {{500, kRainDump}};

    ASSERT_GE(RunUntil([&] { return Status() == "Schedule: Weir - Command2..."; }, 30000), 0);
    EXPECT_EQ(h.Tabs().GetCallResult(), '9');
    EXPECT_FALSE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    EXPECT_EQ(h.Select().GetDlgItem(IDC_DUMP_DATE)->GetWindowText(), "Dump Date: 12/03/24");
    // The incremental dump waits its 25 quiet seconds for the logger.
    ASSERT_GE(RunUntil([&] { return Status() == "Schedule: Weir - Command3..."; }, 40000), 0);
    ASSERT_GE(RunUntil([&] { return !h.Tabs().IsModemInUse(); }, 30000), 0);
    EXPECT_EQ(Status(), "");
    EXPECT_TRUE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));

    EXPECT_EQ(modem->loggerLines,
              (std::vector<std::string>{"", "ST", "DUR/10/10:16/12/03/24", "DR"}));
    EXPECT_EQ(Data("raw.txt"), "ST\rStatus OK\r\n");
    EXPECT_EQ(Data("rain.csv"), "old\r\n" + Lines({"12/03/24 10:17:45,5.2", "12/03/24 10:20:00,5.4",
                                                   "12/03/24 10:20:00,5.6"}));
    EXPECT_EQ(ReadFile(tidePath), Lines({"RAIN001    1 INCREMENTAL", "2    20240312      063012",
                                         "0    20240312      080000", "2    20240312      091540",
                                         "5    20240312      092005"}));
    TestEnv::Advance(2000);
    EXPECT_EQ(EventLine(1), "2,10:20:00 12/03/24,2,5.600000\r");
    EXPECT_EQ(Outcomes(1), std::vector<std::string>{"Direct Connection Test \r"});

    // The next call skips both repeats and goes on from the stored total.
    modem->replies["DUR/10/10:20/12/03/24"] = {
        {1000, Lines({"Site: RAIN001 HS     0.2", "10:20:00 12/03/24", "10:20:00", "10:25:00"})}};
    modem->loggerLines.clear();
    ASSERT_GE(RunUntil([&] { return h.Tabs().IsModemInUse(); }, 20 * 60 * 1000, 1000), 0);
    ASSERT_GE(RunUntil([&] { return !h.Tabs().IsModemInUse(); }, 120000), 0);
    EXPECT_EQ(modem->loggerLines[2], "DUR/10/10:20/12/03/24");
    EXPECT_EQ(Data("rain.csv").substr(Data("rain.csv").size() - 23), "12/03/24 10:25:00,5.8\r\n");
    TestEnv::Advance(2000);
    EXPECT_EQ(EventLine(1), "2,10:25:00 12/03/24,1,5.800000\r");
    h.modal.VerifyDone();
}

TEST_F(ScheduledCallTest, DirectLinkSilentOrWithoutAPortAndADumpThatPauses) {
    m_callLines[1] = "ST^M,raw.txt,A,R,,,,R,,,,R";
    Start({{1, {"Weir", "D1"}}}, {}, true);

    // The logger says nothing: red "No Rxed Data".
    ASSERT_GE(RunUntil([&] { return h.Tabs().IsModemInUse(); }, 30000), 0);
    ASSERT_GE(RunUntil([&] { return !h.Tabs().IsModemInUse(); }, 30000), 0);
    TestEnv::Advance(3000);
    EXPECT_EQ(Outcomes(1), std::vector<std::string>{"No Rxed Data \r"});
    EXPECT_EQ(Schedule().GetStatus(1), '3');
    EXPECT_EQ(Data("raw.txt"), "ST\r");

    // No port open: the call fails at once, nothing is captured as sent.
    h.Tabs().GetCommPort()->Close();
    ASSERT_GE(RunUntil([&] { return Outcomes(1).size() == 2 && !Outcomes(1)[1].empty(); },
                       16 * 60 * 1000, 1000),
              0);
    EXPECT_EQ(Outcomes(1)[1], "Modem Error - Unknown \r");
    EXPECT_EQ(Data("raw.txt"), "ST\r");
    EXPECT_FALSE(h.Tabs().IsModemInUse());
    h.modal.VerifyDone();
}

// A capture-file template of the full hundred characters keeps its last one:
// here a ':' that makes the name a path of its own, not one in the data folder.
TEST_F(ScheduledCallTest, AHundredCharacterCaptureTemplateIsTakenWhole) {
    const std::string name(97, 'c'); // what the name keeps of the template
    m_callLines[1] = "ST^M," + name + "cc:,,R,,,,R,,,,R";
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(h.env.Root());
    Start({{1, {"Weir", "D1"}}}, {}, true);
    modem->replies["ST"] = {{200, "Status OK\r\n"}};
    EXPECT_GE(RunUntil([&] { return h.Tabs().IsModemInUse(); }, 30000), 0);
    EXPECT_GE(RunUntil([&] { return !h.Tabs().IsModemInUse(); }, 30000), 0);
    TestEnv::Advance(3000);
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadFile(h.env.Root() + "/" + name), "ST\rStatus OK\r\n");
    EXPECT_FALSE(std::filesystem::exists(Path(name)));
    h.modal.VerifyDone();
}

TEST_F(ScheduledCallTest, HangupInEveryWindowAndTheFirmwarePageHoldingTheLine) {
    for (int site = 1; site <= 6; ++site)
        m_callLines[site] = "ST^M,,,,,,,,,,,";
    m_callLines[4] = "A^M~B^M,,,,,,,,,,,";
    m_callLines[5] = "DUR/5/^t^M,t5.csv,,1,ST^M,,,,,,,";
    Start({{1, {"S1", "551"}},
           {2, {"S2", "552"}},
           {3, {"S3", "553"}},
           {4, {"S4", "554"}},
           {5, {"S5", "555"}},
           {6, {"S6", "556"}}},
          {{5, "1,10:16:02 12/03/24,1,5.0\r\n"}});
    for (const char* number : {"551", "552", "553", "554", "555", "556"})
        modem->numbers[number] = Answer::Connect;
    modem->replies["A"] = {{100, "data\r\n"}};
    modem->replies["ST"] = {{100, "ok\r\n"}};
    modem->replies["DUR/5/10:16"] = {
        {1000, Lines({"Site: RAIN001 HS     0.2", "10:16:02 12/03/24", "10:18:00"})}};

    // A capture the user started is stopped when the call is taken.
    const std::string manual = h.env.Root() + "/manual.txt";
    h.modal.ExpectDialog(IDD_CAPTURE, [](CDialog& d) {
        d.Item<CButton>(IDC_CAPTURE_RAW)->Click();
        return IDOK;
    });
    h.modal.ExpectFileDialog(manual);
    h.Select().Item<CButton>(IDC_START_CAPTURE)->Click();

    // The Firmware Upgrade page current over the due time: the line stays quiet.
    h.ChooseTab(PAGE_FIRMWARE_UPGRADE);
    TestEnv::Advance(20000);
    EXPECT_EQ(Schedule().GetCallingSite(), 0);
    EXPECT_EQ(peer->ReadAvailable(30), "");
    h.ChooseTab(PAGE_COMMUNICATE);

    // Dialling.
    ASSERT_GE(RunUntil([&] { return Status() == "Schedule: S1 - Dialing..."; }, 3000, 10), 0);
    EXPECT_EQ(h.Select().GetDlgItem(IDC_START_CAPTURE)->GetWindowText(), "Start Capture");
    Hangup();
    // Waiting for the modem's reply (the first call never dialled).
    ASSERT_GE(RunUntil([&] { return modem->dialled.size() == 1; }, 30000, 10), 0);
    EXPECT_FALSE(h.Tabs().IsTabEnabled(PAGE_FIRMWARE_UPGRADE));
    TestEnv::Advance(1000);
    Hangup();
    // The reply seen, its check due.
    ASSERT_GE(RunUntil(
                  [&] {
                      return modem->dialled.size() == 2 &&
                             h.Select().GetSessionState() == SessionState::Checking;
                  },
                  30000, 10),
              0);
    Hangup();
    // A command with a piece still to go.
    ASSERT_GE(
        RunUntil([&] { return h.Select().GetSessionState() == SessionState::Command1; }, 30000, 10),
        0);
    Hangup();
    // The tracked dump once its records came: they are handed back.
    ASSERT_GE(RunUntil([&] { return modem->loggerLines.size() == 4; }, 30000, 10), 0);
    TestEnv::Advance(3000);
    Hangup();
    TestEnv::Advance(3 * 60 * 1000);

    EXPECT_EQ(modem->dialled, (std::vector<std::string>{"552", "553", "554", "555", "556"}));
    EXPECT_EQ(modem->hangups, 6);
    EXPECT_EQ(modem->loggerLines, (std::vector<std::string>{"", "A", "", "DUR/5/10:16", "", "ST"}));
    // The piece due after the Hangup never went out.
    EXPECT_EQ(modem->received.find("B\r"), std::string::npos)
        << PtyPeer::Printable(modem->received);
    for (int site = 1; site <= 3; ++site)
        EXPECT_EQ(Outcomes(site), std::vector<std::string>{"Modem Error - Unknown \r"}) << site;
    EXPECT_EQ(Outcomes(4), std::vector<std::string>{"No Rxed Data \r"});
    EXPECT_EQ(Outcomes(5), std::vector<std::string>{"Connected OK \r"});
    EXPECT_EQ(Outcomes(6), std::vector<std::string>{"Connected OK \r"});
    EXPECT_EQ(Data("t5.csv"), "12/03/24 10:18:00,5.2\r\n");
    EXPECT_EQ(EventLine(5), "1,10:18:00 12/03/24,1,5.200000\r");
    EXPECT_EQ(ReadFile(manual), "");
    EXPECT_FALSE(h.Tabs().IsModemInUse());
    EXPECT_EQ(Schedule().GetCallingSite(), 0);
    h.modal.VerifyDone();
}

} // namespace
