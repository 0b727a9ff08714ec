// The Schedule page in the whole main window on the virtual clock, with
// scripted boxes, in a temporary data folder. The test plays the
// Communicate page's side of a scheduled call through the tab control.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "framework/TextViewer.h"
#include "schedule/DialogSchedule.h"
#include "schedule/SiteFile.h"
#include "shell/XTabCtrl.h"
#include "tests/schedule/ScheduleTestFiles.h"
#include "tests/support/MainWindowHarness.h"

namespace {

std::string SiteLine(int site, const std::string& name, const std::string& phone,
                     const std::string& retries, const std::string& start,
                     const std::string& interval, char unit) {
    char number[8];
    std::snprintf(number, sizeof number, "#%03d", site);
    return std::string(number) + "," + name + "," + phone + "," + retries + "," + start + "," +
           interval + "," + unit + ",ST^M,cap.txt,A,R,,,,R,,,,R\r\n";
}

// "site.cfg" of default lines with the given lines in place.
std::string SiteFile(const std::map<int, std::string>& lines) {
    std::string bytes;
    for (int site = 1; site <= kSiteCount; ++site) {
        auto it = lines.find(site);
        bytes += it != lines.end() ? it->second : DefaultSiteLine(site);
    }
    return bytes;
}

// Default "last.cfg" lines.
std::string DefaultEvents(int count) {
    std::string bytes;
    for (int n = 0; n < count; ++n)
        bytes += "0,,1,0.0\r\n";
    return bytes;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        out.push_back(bytes.substr(pos, lf == std::string::npos ? lf : lf + 1 - pos));
        pos = lf == std::string::npos ? bytes.size() : lf + 1;
    }
    return out;
}

// The Communicate page's part: takes a request at the end of a second and
// reports the result at the end of the next.
struct FakeCommunicate {
    char result = '4';
    BYTE data = 0;
    std::string event; // handed back when not empty
    BYTE repeats = 0;
    std::string total = "0.000000";
    bool answer = true; // false: the request is never taken
    bool busy = false;
    std::vector<std::string> phones;
    std::vector<std::string> names;
    std::vector<std::string> commands;

    void Step(CXTabCtrl& tabs) {
        if (busy) {
            busy = false;
            tabs.SetCallResult(result);
            tabs.SetDataReceived(data);
            if (!event.empty()) {
                tabs.SetLastDumpEvent(event.c_str());
                tabs.SetDumpEventRepeats(repeats);
                tabs.SetDumpEventTotal(total.c_str());
            }
            tabs.SetModemInUse(0);
        } else if (answer && tabs.IsScheduledCall()) {
            tabs.ClearScheduledCall();
            tabs.SetModemInUse(1);
            phones.push_back(tabs.GetPhoneNumber());
            names.push_back(tabs.GetSiteName());
            commands.push_back(CallLine(tabs.GetCallCommands()));
            busy = true;
        }
    }
};

struct RecordingViewer {
    bool ok = true;
    std::vector<std::string> opened;
};

class SchedulePage : public testing::Test {
protected:
    ~SchedulePage() override { TextViewer::Set({}); }

    void StartAt(const LocalTime& wall) {
        m_start = SiteTimeFromLocal(wall);
        Clock::UseVirtual(wall);
        h.Start();
        // The test plays the Communicate page's side: the real page's
        // one-second tick, which takes requests, is stopped.
        h.Select().KillTimer(IDT_SECOND);
    }
    CDialogSchedule& Page() { return *h.Main().GetSchedulePage(); }
    CListCtrl& List() { return Page().SiteList(); }
    std::string Cell(int site, int col) { return List().GetItemText(site - 1, col); }
    std::string Colors(int site) {
        COLORREF text = 0;
        COLORREF back = 0;
        List().GetRowColors(site - 1, &text, &back);
        std::ostringstream out;
        out << GetRValue(text) << "," << GetGValue(text) << "," << GetBValue(text) << " on "
            << GetRValue(back) << "," << GetGValue(back) << "," << GetBValue(back);
        return out.str();
    }
    void Press(int id) { Page().Item<CButton>(id)->Click(); }
    std::string Log() { return h.ReadDataFile("log.txt"); }
    bool Exists(const char* name) { return FileExists(h.env.DataFolder() + "/" + name); }

    // Whole seconds, the fake Communicate page acting after each.
    void Seconds(int n) {
        for (int i = 0; i < n; ++i) {
            TestEnv::Advance(1000);
            comms.Step(h.Tabs());
        }
    }
    // The wall clock set (by hand, or a daylight-saving change).
    void SetWall(const LocalTime& wall) {
        Clock::SetVirtualLocal(wall);
        m_start.seconds = SiteTimeFromLocal(wall).seconds - (Clock::NowMs() - 100) / 1000;
    }
    // On to the second that shows `wall` (the tick of that second included).
    void SecondsTo(const LocalTime& wall) {
        const long long elapsed = (Clock::NowMs() - 100) / 1000;
        Seconds(int(SiteTimeFromLocal(wall).seconds - m_start.seconds - elapsed));
    }

    MainWindowHarness h;
    FakeCommunicate comms;
    SiteTime m_start;
};

const char kBlack[] = "0,0,0 on 255,255,255";
const char kGreen[] = "0,0,0 on 0,255,0";
const char kRed[] = "255,255,255 on 255,0,0";
const char kGrey[] = "90,90,90 on 200,200,200";
const char kYellow[] = "0,0,0 on 255,255,0";

TEST_F(SchedulePage, StartsWithEveryFileMissing) {
    StartAt(Wall(2026, 12, 7, 10, 7, 30));
    ASSERT_EQ(List().GetItemCount(), 300);
    ASSERT_EQ(List().GetColumnCount(), 8);
    EXPECT_EQ(Cell(300, 0), "300");
    for (int col = 1; col < 8; ++col)
        EXPECT_EQ(Cell(1, col), (col == 3 || col == 4) ? "-" : "") << col;
    EXPECT_FALSE(List().GetCheck(0));
    EXPECT_EQ(Colors(1), kBlack);
    EXPECT_EQ(h.ReadDataFile("last.cfg").size(), 3000u);
    EXPECT_FALSE(Exists("stat.cfg"));
    EXPECT_FALSE(Exists("en.cfg"));
    EXPECT_FALSE(Exists("site.cfg"));
    // The widths as the list has them, the list's width last.
    CRect client;
    List().GetClientRect(&client);
    const std::vector<std::string> cw = Lines(h.ReadDataFile("cw.cfg"));
    ASSERT_EQ(cw.size(), 1u);
    EXPECT_NE(cw[0].find("," + std::to_string(client.Width()) + "\r\n"), std::string::npos);
    Seconds(120);
    EXPECT_EQ(Page().Queue().Count(), 0);
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, RowsColoursBoxesAndTheirFiles) {
    h.WriteDataFile("site.cfg",
                    SiteFile({{1, SiteLine(1, "Weir", "D123", "1", "08:00 01-01-2008", "1", 'H')},
                              {2, SiteLine(2, "Gorge", "555", "1", "08:00 01-01-2008", "01", 'H')},
                              {3, SiteLine(3, "Ford", "556", "1", "08:00 01-01-2008", "0", 'M')},
                              {4, SiteLine(4, "Pool", "557", "1", "08:00 31-02-2009", "5", 'M')}}));
    h.WriteDataFile("stat.cfg", "1,2,0,5,");
    h.WriteDataFile("en.cfg", "0,1,1,1");
    StartAt(Wall(2026, 12, 7, 10, 7, 30));

    EXPECT_EQ(Cell(1, COL_SITE_NAME), "Weir");
    EXPECT_EQ(Cell(1, COL_PHONE), "Direct");
    EXPECT_EQ(Cell(1, COL_START), "08:00 01-Jan-2008");
    EXPECT_EQ(Cell(1, COL_INTERVAL), "1 hr");
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "11:00 07-Dec-2026");
    EXPECT_EQ(Cell(1, COL_STATUS), "All OK");
    EXPECT_EQ(Cell(2, COL_INTERVAL), "01 hrs");
    EXPECT_EQ(Cell(2, COL_STATUS), "No Phone Number");
    EXPECT_EQ(Cell(3, COL_START), "-");
    EXPECT_EQ(Cell(3, COL_INTERVAL), "-");
    EXPECT_EQ(Cell(3, COL_NEXT_CONNECTION), "");
    EXPECT_EQ(Cell(4, COL_START), "08:00 31-Feb-2009");
    EXPECT_EQ(Cell(4, COL_NEXT_CONNECTION), "");
    EXPECT_EQ(Cell(5, COL_START), "-"); // a default site
    EXPECT_EQ(Colors(1), kGreen);
    EXPECT_EQ(Colors(2), kRed);
    EXPECT_EQ(Colors(3), kBlack);
    EXPECT_TRUE(List().GetCheck(0) && List().GetCheck(2) && !List().GetCheck(3));

    // Unticking clears the status at the check 50 ms later; "stat.cfg" is
    // rewritten only when a status changes.
    List().UserToggleCheck(1);
    TestEnv::Advance(60);
    EXPECT_EQ(Cell(2, COL_STATUS), "");
    EXPECT_EQ(h.ReadDataFile("stat.cfg").substr(0, 10), "1,0,0,0,0,");
    EXPECT_EQ(h.ReadDataFile("en.cfg").substr(0, 10), "0,1,0,1,0,");
    std::filesystem::remove(h.env.DataFolder() + "/stat.cfg");
    List().UserToggleCheck(2);
    TestEnv::Advance(60);
    EXPECT_FALSE(Exists("stat.cfg"));
    EXPECT_EQ(h.ReadDataFile("en.cfg").substr(0, 10), "0,1,0,0,0,");
    EXPECT_EQ(h.ReadDataFile("en.cfg").size(), 605u);

    // The box: grey enabled rows, the queue emptied, the flag, "en.cfg".
    Page().QueueSite(7);
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    EXPECT_EQ(Colors(1), kGrey);
    EXPECT_EQ(Colors(2), kBlack);
    EXPECT_EQ(Page().Queue().Count(), 0);
    EXPECT_EQ(h.Tabs().IsAutoPollDisabled(), 1);
    EXPECT_EQ(h.ReadDataFile("en.cfg")[0], '1');
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    EXPECT_EQ(h.Tabs().IsAutoPollDisabled(), 0);
    EXPECT_EQ(Colors(1), kGreen);
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, ShortAndGarbledFilesAndColumnWidths) {
    h.WriteDataFile("site.cfg", SiteLine(1, "Only", "1", "1", "08:00 01-01-2008", "15", 'M'));
    h.WriteDataFile("stat.cfg", "1");
    h.WriteDataFile("last.cfg", "2,10:00:00 01/12/26,3,4.5\r\n0,,\r\n");
    h.WriteDataFile("cw.cfg", "100,100,100,100,100,100,100,100,800\r\n");
    StartAt(Wall(2026, 12, 7, 10, 7, 30));
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "10:15 07-Dec-2026");
    EXPECT_EQ(Cell(1, COL_LAST_EVENT), "10:00:00 01/12/26");
    // Past the end of the short file: default sites, never line 1 again.
    EXPECT_EQ(Cell(2, COL_SITE_NAME), "");
    EXPECT_EQ(Cell(2, COL_NEXT_CONNECTION), "");
    EXPECT_EQ(Page().GetStatus(1), '1');
    EXPECT_EQ(Page().GetStatus(2), '0');
    EXPECT_EQ(Page().GetDumpEvent(2).repeats, '1');
    EXPECT_STREQ(Page().GetDumpEvent(3).total, "0.0");

    // Proportional widths at a resize: a list 400 wide gives 50 each.
    CRect client;
    List().GetClientRect(&client);
    const int frame = List().GetWidget()->width() - client.Width();
    Page().OnSize(0, 400 + frame + 25, 300);
    List().GetClientRect(&client);
    ASSERT_EQ(client.Width(), 400);
    for (int col = 0; col < 8; ++col)
        EXPECT_EQ(List().GetColumnWidth(col), 50) << col;
    // The end of a divider drag records the widths.
    List().UserResizeColumn(1, 90);
    EXPECT_EQ(h.ReadDataFile("cw.cfg"), "50,90,50,50,50,50,50,10,400\r\n");
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, ZeroListWidthInColumnFileDoesNotCrash) {
    {
        // Resized before its load (the main window opens maximized first).
        CDialogSchedule early;
        ASSERT_TRUE(early.Create(IDD_SCHEDULE, nullptr));
        early.OnSize(SIZE_MAXIMIZED, 1200, 800);
    }
    h.WriteDataFile("cw.cfg", "100,-5,100\r\n");
    StartAt(Wall(2026, 12, 7, 10, 7, 30));
    Page().OnSize(0, 700, 400);
    Page().OnSize(0, 10, 10); // narrower than the controls
    EXPECT_EQ(Page().GetColumnWidths()[8], 0);
    EXPECT_GE(List().GetColumnWidth(7), 0);
}

TEST_F(SchedulePage, DoubleClickEditsTheSiteAndViewLog) {
    h.WriteDataFile("site.cfg", SiteFile({}));
    StartAt(Wall(2026, 12, 7, 10, 7, 30));
    List().UserDoubleClick(4); // nothing selected: no dialog
    List().UserClick(4);
    // Cancel still re-reads both lines of the site, and only its own.
    h.modal.ExpectDialog(IDD_EDIT_SCHEDULE, [&](CDialog&) {
        h.WriteDataFile(
            "site.cfg",
            SiteFile({{5, SiteLine(5, "New", "9", "2", "08:00 01-01-2008", "2", 'D')}}));
        h.WriteDataFile("last.cfg", std::string("0,,1,0.0\r\n") + "0,,1,0.0\r\n" + "0,,1,0.0\r\n" +
                                        "0,,1,0.0\r\n" + "1,08:00:00 06/12/26,,12.5\r\n");
        return IDCANCEL;
    });
    List().UserDoubleClick(4);
    EXPECT_EQ(Cell(5, COL_SITE_NAME), "New");
    EXPECT_EQ(Cell(5, COL_INTERVAL), "2 days");
    EXPECT_EQ(Cell(5, COL_NEXT_CONNECTION), "08:00 08-Dec-2026");
    EXPECT_EQ(Page().GetDumpEvent(5).command, '1');
    EXPECT_STREQ(Page().GetDumpEvent(5).event, "08:00:00 06/12/26");
    EXPECT_EQ(Page().GetDumpEvent(5).repeats, '1'); // an empty field, not NUL
    EXPECT_STREQ(Page().GetDumpEvent(5).total, "12.5");
    EXPECT_EQ(Page().GetDumpEvent(4).command, '0');

    RecordingViewer viewer;
    TextViewer::Set([&viewer](const std::string& path) {
        viewer.opened.push_back(path);
        return std::string(viewer.ok ? "" : "no text viewer was found (xdg-open)");
    });
    h.modal.ExpectMessage("Log file does not exist yet!\n\n", "Warning");
    Press(IDC_SCHEDULE_VIEW_LOG);
    EXPECT_TRUE(viewer.opened.empty());
    h.WriteDataFile("log.txt", "x");
    Press(IDC_SCHEDULE_VIEW_LOG);
    EXPECT_EQ(viewer.opened, std::vector<std::string>{h.env.DataFolder() + "/log.txt"});
    viewer.ok = false;
    h.modal.ExpectMessage("Could not open " + h.env.DataFolder() +
                              "/log.txt: no text viewer was found (xdg-open)",
                          "Warning");
    Press(IDC_SCHEDULE_VIEW_LOG);
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, NamesKeepEveryCharacter) {
    const std::string otaki = "\xC5\x8Ctaki Weir"; // "Ōtaki Weir" in UTF-8
    // Hand-edited: 19 characters in 23 bytes, and a name whose 51st byte starts an "Ä".
    const std::string lodz = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA Kaliska G\xC5\x82\xC3\xB3wna";
    const std::string aa = std::string(50, 'a');
    h.WriteDataFile(
        "site.cfg",
        SiteFile({{2, SiteLine(2, "Caf\xE9", "", "1", "-", "0", 'M')},
                  {3, SiteLine(3, aa + "\xC3\x84", "D", "1", "10:15 07-12-2026", "15", 'M')},
                  {4, SiteLine(4, lodz, "D", "1", "10:15 07-12-2026", "15", 'M')}}));
    h.WriteDataFile("en.cfg", "0,1,1,1,1,");
    StartAt(Wall(2026, 12, 7, 10, 14, 0));
    // A name written by another tool in Latin-1 still shows.
    EXPECT_EQ(Cell(2, COL_SITE_NAME), "Caf\xC3\xA9");

    List().UserClick(0);
    h.modal.ExpectDialog(IDD_EDIT_SCHEDULE, [&](CDialog& d) {
        CEdit& name = *d.Item<CEdit>(IDC_ES_NAME);
        // The 51-byte limit falls inside the last character: it is left out whole.
        name.UserType(std::string(50, 'a') + "\xC5\x8C");
        EXPECT_EQ(name.GetWindowText(), std::string(50, 'a'));
        name.SetWindowText("");
        name.UserType(otaki);
        d.Item<CEdit>(IDC_ES_PHONE)->UserType("0123");
        d.Item<CEdit>(IDC_ES_INTERVAL)->SetWindowText("15");
        d.Item<CButton>(IDC_ES_UNIT_MIN)->Click();
        d.Item<CButton>(IDOK)->Click();
        return IDOK;
    });
    List().UserDoubleClick(0);
    h.modal.VerifyDone();
    EXPECT_EQ(Lines(h.ReadDataFile("site.cfg"))[0].substr(0, 17), "#001," + otaki + ",");
    EXPECT_EQ(Cell(1, COL_SITE_NAME), otaki);

    comms.result = '1';
    comms.data = 1;
    SecondsTo(Wall(2026, 12, 7, 10, 15, 30));
    // The hand-off's 51 bytes end before the "Ä"; the log keeps all 19 characters.
    EXPECT_EQ(comms.names, (std::vector<std::string>{otaki, aa, lodz}));
    EXPECT_NE(Log().find("Site#001  " + std::string(10, ' ') + otaki + "  "), std::string::npos);
    EXPECT_NE(Log().find("Site#003  " + std::string(20, 'a') + "  "), std::string::npos);
    EXPECT_NE(Log().find("Site#004   " + lodz + "  "), std::string::npos);
}

TEST_F(SchedulePage, MinuteCheckQueuesDueSitesOnce) {
    std::map<int, std::string> lines;
    for (int site = 1; site <= 101; ++site)
        lines[site] = SiteLine(site, "S", "5", "1", "08:00 01-01-2008", "15", 'M');
    lines[150] = SiteLine(150, "Hourly", "5", "1", "09:00 01-01-2008", "1", 'H');
    lines[151] = SiteLine(151, "Bad", "5", "1", "08:00 01-01-2008", "-15", 'M');
    h.WriteDataFile("site.cfg", SiteFile(lines));
    std::string en = "0,";
    for (int site = 1; site <= kSiteCount; ++site)
        en += site == 101 ? "0," : "1,";
    h.WriteDataFile("en.cfg", en);
    StartAt(Wall(2026, 12, 7, 10, 7, 30));
    h.Tabs().SetModemInUse(1); // hold every call: the queue stays as it is
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "10:15 07-Dec-2026");
    EXPECT_EQ(Cell(151, COL_NEXT_CONNECTION), "");

    SecondsTo(Wall(2026, 12, 7, 10, 14, 59));
    EXPECT_EQ(Page().Queue().Count(), 0);
    Seconds(1); // the first tick of 10:15
    EXPECT_EQ(Page().Queue().Count(), 100);
    EXPECT_EQ(Page().Queue().entries[0], 1);
    EXPECT_FALSE(Page().Queue().Contains(101)); // not enabled
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "10:30 07-Dec-2026");
    EXPECT_EQ(Cell(101, COL_NEXT_CONNECTION), "10:15 07-Dec-2026");

    // Due again while still queued: not twice; the hourly site is dropped
    // by the full queue.
    SecondsTo(Wall(2026, 12, 7, 11, 0, 0));
    EXPECT_EQ(Page().Queue().Count(), 100);
    EXPECT_FALSE(Page().Queue().Contains(150));
    EXPECT_EQ(Cell(150, COL_NEXT_CONNECTION), "12:00 07-Dec-2026");

    // Polling disabled over a due minute: moved on, nothing queued.
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    SecondsTo(Wall(2026, 12, 7, 11, 15, 0));
    EXPECT_EQ(Page().Queue().Count(), 0);
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "11:30 07-Dec-2026");
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    SecondsTo(Wall(2026, 12, 7, 11, 30, 0));
    EXPECT_EQ(Page().Queue().Count(), 100);

    // The wall clock set forward three hours: each overdue site once, at
    // the next minute change; set back: nothing until the next connection.
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    SetWall(Wall(2026, 12, 7, 14, 30, 30));
    Seconds(1);
    EXPECT_EQ(Page().Queue().Count(), 0); // the same minute of the hour
    SecondsTo(Wall(2026, 12, 7, 14, 31, 0));
    EXPECT_EQ(Page().Queue().Count(), 100);
    EXPECT_FALSE(Page().Queue().Contains(150)); // behind the hundred
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "14:45 07-Dec-2026");
    EXPECT_EQ(Cell(150, COL_NEXT_CONNECTION), "15:00 07-Dec-2026");
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    SetWall(Wall(2026, 12, 7, 12, 0, 0));
    SecondsTo(Wall(2026, 12, 7, 14, 44, 59));
    EXPECT_EQ(Page().Queue().Count(), 0);
    Seconds(1);
    EXPECT_EQ(Page().Queue().Count(), 100);
    h.Tabs().SetModemInUse(0);
}

TEST_F(SchedulePage, ClockJumpingAnHourCallsOnceAndMovesOn) {
    h.WriteDataFile(
        "site.cfg",
        SiteFile({{1, SiteLine(1, "Weir", "0123", "1", "00:00 29-03-2026", "15", 'M')}}));
    h.WriteDataFile("en.cfg", "0,1,");
    StartAt(Wall(2026, 3, 29, 1, 59, 30));
    h.Tabs().SetModemInUse(1);
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "02:00 29-Mar-2026");
    SecondsTo(Wall(2026, 3, 29, 1, 59, 59));
    SetWall(Wall(2026, 3, 29, 3, 0, 0)); // as at a change to summer time
    Seconds(1);
    EXPECT_EQ(Page().Queue().Count(), 1);
    EXPECT_EQ(Cell(1, COL_NEXT_CONNECTION), "03:15 29-Mar-2026");
    SecondsTo(Wall(2026, 3, 29, 3, 14, 59));
    EXPECT_EQ(Page().Queue().Count(), 1);
    h.Tabs().SetModemInUse(0);
}

TEST_F(SchedulePage, AnUnwritableLogIsToldOnce) {
    h.WriteDataFile("site.cfg",
                    SiteFile({{1, SiteLine(1, "Dry", "", "1", "10:15 07-12-2026", "15", 'M')}}));
    h.WriteDataFile("en.cfg", "0,1,");
    std::filesystem::create_directories(h.env.DataFolder() + "/log.txt");
    StartAt(Wall(2026, 12, 7, 10, 14, 50));
    h.modal.ExpectMessage(
        FileFailureText("Could not write", h.env.DataFolder() + "/log.txt", EISDIR), "Warning");
    SecondsTo(Wall(2026, 12, 7, 10, 30, 30));
    EXPECT_EQ(Page().GetStatus(1), '2');
    EXPECT_EQ(h.ReadDataFile("stat.cfg").substr(0, 2), "2,");
    h.modal.VerifyDone();
}

// The attempt and result pieces of the log lines of `site`.
std::vector<std::string> Outcomes(const std::string& log, int site) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "Site#%03d", site);
    std::vector<std::string> out;
    for (const std::string& line : Lines(log))
        if (line.find(tag) != std::string::npos)
            out.push_back(line.substr(line.find("Attempt#")));
    return out;
}

TEST_F(SchedulePage, AttemptsResultsAndPollLog) {
    h.WriteDataFile(
        "site.cfg",
        SiteFile({{1, SiteLine(1, "Weir", "0123", "3", "10:15 07-12-2026", "15", 'M')},
                  {2, SiteLine(2, "ABCDEFGHIJKLMNOPQRSTUVWXY", "D5", "2", "10:45 07-12-2026", "15",
                               'M')},
                  {3, SiteLine(3, "Dry", "", "3", "11:00 07-12-2026", "15", 'M')},
                  {4, SiteLine(4, "Twelve", "44", "12", "11:15 07-12-2026", "1", 'H')}}));
    h.WriteDataFile("en.cfg", "0,1,1,1,1,");
    StartAt(Wall(2026, 12, 7, 10, 14, 0));

    // Site 1, every call "No Answer": three attempts, then none until 10:30.
    comms.result = '4';
    SecondsTo(Wall(2026, 12, 7, 10, 15, 0));
    EXPECT_EQ(Page().GetCallingSite(), 1);
    EXPECT_EQ(Cell(1, COL_STATUS), "Call in Progress...");
    EXPECT_EQ(Colors(1), kYellow);
    EXPECT_EQ(h.Tabs().GetCallResult(), '8'); // nothing of an earlier call
    EXPECT_EQ(CallLine(h.Tabs().GetCallCommands()), "ST^M,cap.txt,A,R,,,,R,,,,R");
    SecondsTo(Wall(2026, 12, 7, 10, 16, 0));
    const std::string first = Lines(Log())[0];
    EXPECT_EQ(first.substr(0, 32), "07-Dec-2026 10:15:00  Site#001  ");
    EXPECT_EQ(first.substr(32, 48),
              std::string(16, ' ') + "Weir  " + std::string(11, ' ') + "0123  Attempt#1");
    EXPECT_EQ(Outcomes(Log(), 1),
              (std::vector<std::string>{"Attempt#1  No Answer \r\n", "Attempt#2  No Answer \r\n",
                                        "Attempt#3  No Answer \r\n"}));
    EXPECT_EQ(Colors(1), kRed);
    EXPECT_EQ(comms.phones, std::vector<std::string>(3, "0123"));
    EXPECT_EQ(Page().Queue().Count(), 0);

    // Connected without data: retried; with data: done.
    comms.result = '1';
    comms.data = 0;
    SecondsTo(Wall(2026, 12, 7, 10, 30, 2));
    comms.data = 1;
    SecondsTo(Wall(2026, 12, 7, 10, 31, 0));
    EXPECT_EQ(Outcomes(Log(), 1).size(), 5u);
    EXPECT_EQ(Outcomes(Log(), 1)[3], "Attempt#1  No Rxed Data \r\n");
    EXPECT_EQ(Outcomes(Log(), 1)[4], "Attempt#2  Connected OK \r\n");
    EXPECT_EQ(Page().GetStatus(1), '1');
    List().UserToggleCheck(0);

    // A direct site: "Direct", twice per series, the name cut to 20.
    comms.result = '9';
    SecondsTo(Wall(2026, 12, 7, 10, 46, 0));
    EXPECT_EQ(Outcomes(Log(), 2),
              (std::vector<std::string>{"Attempt#1  Direct Connection Test \r\n",
                                        "Attempt#2  Direct Connection Test \r\n"}));
    EXPECT_NE(Log().find("Site#002  ABCDEFGHIJKLMNOPQRST  " + std::string(9, ' ') + "Direct  "),
              std::string::npos);
    EXPECT_EQ(comms.phones.back(), "Direct");
    EXPECT_EQ(comms.names.back(), "ABCDEFGHIJKLMNOPQRSTUVWXY");
    EXPECT_EQ(Colors(2), kGreen);
    List().UserToggleCheck(1);

    // No phone: "No Phone Number" at each connection time and no call, the
    // attempts counting on: #1, #2, #3, #1. Retry field "12" counts as 1.
    const std::size_t calls = comms.phones.size();
    SecondsTo(Wall(2026, 12, 7, 11, 45, 30));
    EXPECT_EQ(Outcomes(Log(), 3), (std::vector<std::string>{"Attempt#1  No Phone Number \r\n",
                                                            "Attempt#2  No Phone Number \r\n",
                                                            "Attempt#3  No Phone Number \r\n",
                                                            "Attempt#1  No Phone Number \r\n"}));
    EXPECT_EQ(Outcomes(Log(), 4),
              std::vector<std::string>{"Attempt#1  Direct Connection Test \r\n"});
    EXPECT_EQ(comms.phones.size(), calls + 1);
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, EachSeriesStartsWholeAfterTheSiteLeavesTheQueue) {
    h.WriteDataFile("site.cfg",
                    SiteFile({{1, SiteLine(1, "Weir", "0123", "3", "10:15 07-12-2026", "15", 'M')},
                              {2, SiteLine(2, "Link", "D1", "2", "10:15 07-12-2026", "15", 'M')}}));
    h.WriteDataFile("en.cfg", "0,1,0,");
    StartAt(Wall(2026, 12, 7, 10, 14, 50));
    comms.result = '4';
    // The first attempt fails; its retry waits while the Firmware Upgrade page is shown.
    const auto failOnceAndHold = [&](const LocalTime& due) {
        SecondsTo(due);
        h.ChooseTab(PAGE_FIRMWARE_UPGRADE);
        Seconds(4);
        ASSERT_TRUE(Page().Queue().Contains(1));
    };
    failOnceAndHold(Wall(2026, 12, 7, 10, 15, 0));
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    Press(IDC_SCHEDULE_DISABLE_AUTOPOLL);
    h.ChooseTab(PAGE_SCHEDULE);
    failOnceAndHold(Wall(2026, 12, 7, 10, 30, 0));
    List().UserToggleCheck(0);
    TestEnv::Advance(300);
    List().UserToggleCheck(0);
    TestEnv::Advance(300);
    EXPECT_FALSE(Page().Queue().Contains(1));
    h.ChooseTab(PAGE_SCHEDULE);
    failOnceAndHold(Wall(2026, 12, 7, 10, 45, 0));
    // Edited (and saved) while its retry waits.
    List().UserClick(0);
    h.modal.ExpectDialog(IDD_EDIT_SCHEDULE, [&](CDialog& d) {
        d.Item<CButton>(IDOK)->Click();
        return IDOK;
    });
    List().UserDoubleClick(0);
    EXPECT_FALSE(Page().Queue().Contains(1));
    h.ChooseTab(PAGE_SCHEDULE);
    SecondsTo(Wall(2026, 12, 7, 11, 1, 0));
    EXPECT_EQ(Outcomes(Log(), 1),
              (std::vector<std::string>{"Attempt#1  No Answer \r\n", "Attempt#1  No Answer \r\n",
                                        "Attempt#1  No Answer \r\n", "Attempt#1  No Answer \r\n",
                                        "Attempt#2  No Answer \r\n", "Attempt#3  No Answer \r\n"}));

    // A direct link that brings nothing back is a failure, retried; with data it is green.
    List().UserToggleCheck(0);
    List().UserToggleCheck(1);
    comms.result = '9';
    comms.data = 0;
    SecondsTo(Wall(2026, 12, 7, 11, 15, 10));
    // Ticked at 11:01, it is due at once (11:02) and again at 11:15.
    EXPECT_EQ(
        Outcomes(Log(), 2),
        (std::vector<std::string>{"Attempt#1  No Rxed Data \r\n", "Attempt#2  No Rxed Data \r\n",
                                  "Attempt#1  No Rxed Data \r\n", "Attempt#2  No Rxed Data \r\n"}));
    EXPECT_EQ(Colors(2), kRed);
    comms.data = 1;
    SecondsTo(Wall(2026, 12, 7, 11, 30, 10));
    EXPECT_EQ(Outcomes(Log(), 2)[4], "Attempt#1  Direct Connection Test \r\n");
    EXPECT_EQ(Colors(2), kGreen);
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, DumpEventsComeBackOnlyFromConnectedCalls) {
    h.WriteDataFile(
        "site.cfg",
        SiteFile({{1, SiteLine(1, "Weir", "0123", "1", "10:15 07-12-2026", "15", 'M')}}));
    h.WriteDataFile("last.cfg", std::string("1,10:00:00 01/12/26,2,3.5\r\n") + DefaultEvents(299));
    h.WriteDataFile("en.cfg", "0,1,");
    StartAt(Wall(2026, 12, 7, 10, 14, 50));
    const std::string before = h.ReadDataFile("last.cfg");

    // The same event and repeat count: untouched, whatever the total.
    comms.result = '1';
    comms.data = 1;
    comms.event = "10:00:00 01/12/26";
    comms.repeats = 2;
    comms.total = "0.000000";
    SecondsTo(Wall(2026, 12, 7, 10, 15, 30));
    EXPECT_EQ(h.ReadDataFile("last.cfg"), before);
    EXPECT_EQ(std::string(h.Tabs().GetSiteName()), "Weir");

    // A busy line hands back nothing of its own.
    comms.result = '5';
    comms.event = "11:00:00 01/12/26";
    SecondsTo(Wall(2026, 12, 7, 10, 30, 30));
    EXPECT_EQ(h.ReadDataFile("last.cfg"), before);

    // A higher repeat count of the same stamp is stored.
    comms.result = '1';
    comms.event = "10:00:00 01/12/26";
    comms.repeats = 3;
    comms.total = "7.25";
    SecondsTo(Wall(2026, 12, 7, 10, 45, 30));
    EXPECT_EQ(Lines(h.ReadDataFile("last.cfg"))[0], "1,10:00:00 01/12/26,3,7.25\r\n");
    EXPECT_EQ(Lines(h.ReadDataFile("last.cfg"))[1], "0,,1,0.0\r\n");
    EXPECT_EQ(Cell(1, COL_LAST_EVENT), "10:00:00 01/12/26");
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, WhatHoldsOrEndsAHandOff) {
    h.WriteDataFile(
        "site.cfg",
        SiteFile({{1, SiteLine(1, "Weir", "0123", "3", "10:15 07-12-2026", "15", 'M')}}));
    h.WriteDataFile("en.cfg", "0,1,");
    StartAt(Wall(2026, 12, 7, 10, 14, 50));
    h.Tabs().SetCallResult('1'); // a previous call's result
    h.Tabs().SetDataReceived(1);

    // The Firmware Upgrade page holds the queue.
    h.ChooseTab(PAGE_FIRMWARE_UPGRADE);
    SecondsTo(Wall(2026, 12, 7, 10, 15, 5));
    EXPECT_EQ(Page().GetCallingSite(), 0);
    EXPECT_TRUE(Page().Queue().Contains(1));
    h.ChooseTab(PAGE_SCHEDULE);

    // A request never taken: no result is taken, nothing stale logged.
    comms.answer = false;
    Seconds(10);
    EXPECT_EQ(Page().GetCallingSite(), 1);
    EXPECT_EQ(Lines(Log()).size(), 1u);
    EXPECT_EQ(Log().find("\r\n"), std::string::npos);
    // Call Now is refused while the scheduled call waits.
    List().UserClick(0);
    h.modal.ExpectMessage("Already using the modem !!\nDisconnect and try again.", "Warning");
    Press(IDC_SCHEDULE_CALL_NOW);

    // Taken at last, and the site unticked during the call.
    comms.answer = true;
    comms.result = '1';
    Seconds(1);
    List().UserToggleCheck(0);
    Seconds(3);
    EXPECT_NE(Log().find("Attempt#1  Disabled while connected \r\n"), std::string::npos);
    EXPECT_EQ(Page().Queue().Count(), 0);
    EXPECT_EQ(Page().GetStatus(1), '0');
    h.modal.VerifyDone();
}

TEST_F(SchedulePage, CallNowMessagesAndRequest) {
    h.WriteDataFile("site.cfg", SiteFile({{1, SiteLine(1, "A", "0123", "1", "-", "0", 'M')},
                                          {2, SiteLine(2, "B", "", "1", "-", "0", 'M')},
                                          {3, SiteLine(3, "C", "D5", "1", "-", "0", 'M')}}));
    StartAt(Wall(2026, 12, 7, 10, 14, 50));
    h.modal.ExpectMessage("No Site is selected !!\nSelect a site and try again.", "Warning");
    Press(IDC_SCHEDULE_CALL_NOW);
    List().UserClick(1);
    h.modal.ExpectMessage("No phone number has been entered for this site.", "Warning");
    Press(IDC_SCHEDULE_CALL_NOW);
    List().UserClick(2);
    h.modal.ExpectMessage(
        "Direct connection, no need to use 'Call Now' - just click on 'Communicate' tab.",
        "Warning");
    Press(IDC_SCHEDULE_CALL_NOW);
    List().UserClick(0);
    h.Tabs().SetModemInUse(1);
    h.modal.ExpectMessage("Already using the modem !!\nDisconnect and try again.", "Warning");
    Press(IDC_SCHEDULE_CALL_NOW);
    h.Tabs().SetModemInUse(0);
    h.ChooseTab(PAGE_SCHEDULE);
    Press(IDC_SCHEDULE_CALL_NOW);
    EXPECT_EQ(h.Tabs().IsCallNow(), 1);
    EXPECT_EQ(std::string(h.Tabs().GetPhoneNumber()), "0123");
    EXPECT_EQ(h.Tabs().GetShownTab(), PAGE_COMMUNICATE);
    EXPECT_TRUE(h.Tabs().IsCurrentPage(PAGE_COMMUNICATE));
    EXPECT_EQ(Page().Queue().Count(), 0);
    EXPECT_EQ(h.Tabs().IsScheduledCall(), 0);
    h.modal.VerifyDone();
}

} // namespace
