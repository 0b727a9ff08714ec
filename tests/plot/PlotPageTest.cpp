// The View Plot page in the main window on the virtual clock: start-up and
// the file list, the new-dump pickup, "units.cfg" and the radio buttons,
// the control timers, "Edit / View", the drop-down and the keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "framework/TextViewer.h"
#include "framework/Timers.h"
#include "plot/DialogPlot.h"
#include "plot/UnitsConfig.h"
#include "tests/support/MainWindowHarness.h"

namespace {

class PlotPageTest : public testing::Test {
protected:
    void Start(std::vector<std::string> files = {"DurnDemo.plt", "DurvDemo.plt", "Durn001.plt"}) {
        for (const std::string& f : files)
            h.WriteDataFile(f, "DUR\r\n");
        h.Start();
        TestEnv::Advance(300); // the page's start-up step
    }
    CDialogPlot& Page() { return *h.Main().GetPlotPage(); }
    std::vector<std::string> Listed() {
        std::vector<std::string> names;
        for (int i = 0; i < Page().m_cboPlotFile.GetCount(); ++i)
            names.push_back(Page().m_cboPlotFile.GetLBText(i));
        return names;
    }
    std::string Selected() {
        return Page().m_cboPlotFile.GetLBText(Page().m_cboPlotFile.GetCurSel());
    }
    // The file plotted since the last call ("" when none), and how.
    std::string Plotted(int* fresh = nullptr) {
        std::string name = Page().m_strPlotFile;
        if (fresh)
            *fresh = Page().m_bFreshPlot;
        Page().m_strPlotFile.clear();
        Page().m_bFreshPlot = -1;
        return name;
    }

    MainWindowHarness h;
};

} // namespace

TEST_F(PlotPageTest, StartUpListsSelectsAndPlotsEachTimeThePageComesForward) {
    std::filesystem::create_directories(h.env.DataFolder() + "/DuDir.plt");
    Start();
    CDialogPlot& page = Page();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Durn001.plt", "DurnDemo.plt", "DurvDemo.plt"}));
    EXPECT_EQ(Selected(), "DurvDemo.plt");
    EXPECT_EQ(page.m_stcMessage.GetWindowText(), "Waiting");
    EXPECT_EQ(page.m_chart.Chart()->Model().TextCount(), 23);
    EXPECT_EQ(page.m_chart.Chart()->Model().Text(16)->x, 0.93);
    EXPECT_EQ(page.m_chart.Chart()->Model().Text(22)->caption, "oC");
    EXPECT_EQ(page.m_chart.Chart()->Model().Text(4)->color, RGB(0, 192, 0));
    EXPECT_EQ(page.m_cboCollectionPeriod.GetLBText(page.m_cboCollectionPeriod.GetCurSel()),
              "Daily");
    TestEnv::Advance(1000);
    EXPECT_EQ(Plotted(), "");

    int fresh = 0;
    h.ChooseTab(1);
    TestEnv::Advance(150);
    EXPECT_EQ(Plotted(&fresh), "DurvDemo.plt");
    EXPECT_EQ(fresh, 1);
    TestEnv::Advance(1000);
    EXPECT_EQ(Plotted(), "");
    h.ChooseTab(0);
    TestEnv::Advance(200);
    h.ChooseTab(1);
    TestEnv::Advance(150);
    EXPECT_EQ(Plotted(&fresh), "DurvDemo.plt");
    EXPECT_EQ(fresh, 1);
}

TEST_F(PlotPageTest, NewDumpIsPickedUpWhenThePageIsNextBroughtForward) {
    Start();
    CXTabCtrl& tabs = h.Tabs();
    auto newDump = [&](const std::string& file, const std::string& announced) {
        if (!file.empty())
            h.WriteDataFile(file, "DURV\r\n");
        tabs.SetPlotFileName(announced);
        tabs.SetNewDump(1);
        h.ChooseTab(1);
        TestEnv::Advance(150);
    };
    newDump("Durn002.plt", "Durn002.plt");
    EXPECT_EQ(tabs.IsNewDump(), 0);
    EXPECT_EQ(Listed().size(), 4u);
    EXPECT_EQ(Selected(), "Durn002.plt");
    EXPECT_EQ(Plotted(), "Durn002.plt");

    // Announced while the page is current: waits for the next arrival.
    h.WriteDataFile("Durn003.plt", "DUR\r\n");
    tabs.SetPlotFileName("Durn003.plt");
    tabs.SetNewDump(1);
    TestEnv::Advance(500);
    EXPECT_EQ(tabs.IsNewDump(), 1);
    EXPECT_EQ(Listed().size(), 4u);
    EXPECT_EQ(Plotted(), "");
    h.ChooseTab(0);
    TestEnv::Advance(200);
    h.ChooseTab(1);
    TestEnv::Advance(150);
    EXPECT_EQ(Selected(), "Durn003.plt");
    EXPECT_EQ(Plotted(), "Durn003.plt");

    // Not listed, or differing only in case: the last entry.
    h.ChooseTab(0);
    TestEnv::Advance(200);
    newDump("", "Durn009.plt");
    EXPECT_EQ(Plotted(), "DurvDemo.plt");
    h.ChooseTab(0);
    TestEnv::Advance(200);
    newDump("", "DURN003.PLT");
    EXPECT_EQ(Plotted(), "DurvDemo.plt");
}

TEST_F(PlotPageTest, EmptyListHidesTheChartWithAMessage) {
    h.WriteDataFile("units.cfg", "M,D"); // an old data folder: no demo files
    Start({});
    h.ChooseTab(1);
    TestEnv::Advance(150);
    EXPECT_EQ(Page().m_cboPlotFile.GetCurSel(), -1);
    EXPECT_FALSE(Page().m_chart.IsWindowVisible());
    EXPECT_EQ(Page().m_stcMessage.GetWindowText(), "No plot files to select from !");
    EXPECT_EQ(Plotted(), "");
    h.modal.ExpectMessage("Could not find the Plot File!\n\n", "Warning");
    Page().m_btnEditView.Click();
    h.modal.VerifyDone();
}

TEST(UnitsConfigTest, ReadsEveryFormAsTheBytesSay) {
    const std::string path = testing::TempDir() + "units-test.cfg";
    struct Case {
        const char* bytes; // null: no file
        bool imperial, dayFirst;
    };
    const Case cases[] = {{nullptr, false, true}, {"", false, true},        {"I", true, true},
                          {"I,M", true, false},   {"M,M", false, false},    {"i,D", false, true},
                          {"I;D", true, false},   {"M,D\r\n", false, true}, {"I,", true, true}};
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        if (c.bytes) {
            FILE* f = std::fopen(path.c_str(), "wb");
            std::fputs(c.bytes, f);
            std::fclose(f);
        }
        const UnitsConfig u = ReadUnitsConfig(path);
        EXPECT_EQ(u.imperial, c.imperial) << (c.bytes ? c.bytes : "(none)");
        EXPECT_EQ(u.dayFirst, c.dayFirst) << (c.bytes ? c.bytes : "(none)");
    }
    EXPECT_FALSE(WriteUnitsConfig(testing::TempDir() + "no/such/folder/units.cfg", {}));
}

TEST_F(PlotPageTest, UnitsFileRadiosAndControlTimers) {
    h.WriteDataFile("units.cfg", "I,M\r\n");
    Start();
    CDialogPlot& page = Page();
    EXPECT_EQ(h.ReadDataFile("units.cfg"), "I,M");
    EXPECT_EQ(page.m_radImperial.GetCheck(), BST_CHECKED);
    EXPECT_EQ(page.m_radMetric.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(page.m_radMdy.GetCheck(), BST_CHECKED);
    EXPECT_EQ(page.m_bDayFirst, 0);

    // Each pair keeps one button set, whatever the other pair does.
    page.m_radMetric.Click();
    EXPECT_EQ(h.ReadDataFile("units.cfg"), "M,M");
    page.m_radMetric.Click();
    EXPECT_EQ(page.m_radMetric.GetCheck(), BST_CHECKED);
    EXPECT_EQ(page.m_radMdy.GetCheck(), BST_CHECKED);
    int fresh = 0;
    page.m_radDmy.Click();
    EXPECT_EQ(h.ReadDataFile("units.cfg"), "M,D");
    EXPECT_EQ(page.m_radMdy.GetCheck(), BST_UNCHECKED);
    EXPECT_EQ(page.m_radMetric.GetCheck(), BST_CHECKED);
    EXPECT_EQ(page.m_bDayFirst, 1);
    TestEnv::Advance(100);
    EXPECT_EQ(Plotted(&fresh), "DurvDemo.plt");
    EXPECT_EQ(fresh, 1);
    page.m_radImperial.Click();
    EXPECT_EQ(h.ReadDataFile("units.cfg"), "I,D");
    page.m_radMdy.Click();
    EXPECT_EQ(h.ReadDataFile("units.cfg"), "I,M");

    // A burst of period choices replots once, keeping the window.
    TestEnv::Advance(100);
    Plotted();
    for (int i = 1; i <= 3; ++i) {
        page.m_cboCollectionPeriod.UserSelect(i);
        TestEnv::Advance(40);
    }
    EXPECT_EQ(Plotted(), "");
    TestEnv::Advance(60);
    EXPECT_EQ(Plotted(&fresh), "DurvDemo.plt");
    EXPECT_EQ(fresh, 0);
    TestEnv::Advance(500);
    EXPECT_EQ(Plotted(), "");

    // "Points" three times within 100 ms: one run, after the last click.
    const ChartModel& chart = page.m_chart.Chart()->Model();
    page.m_chkPoints.Click();
    TestEnv::Advance(40);
    page.m_chkPoints.Click();
    TestEnv::Advance(40);
    page.m_chkPoints.Click();
    TestEnv::Advance(99);
    EXPECT_FALSE(chart.Style(1)->points);
    TestEnv::Advance(1);
    for (int s = 1; s <= 4; ++s)
        EXPECT_TRUE(chart.Style(s)->points) << s;
    EXPECT_FALSE(chart.Style(0)->points);
    page.m_chkFill.Click();
    TestEnv::Advance(100);
    EXPECT_TRUE(chart.Style(1)->fill);
}

TEST_F(PlotPageTest, EditViewDropDownAndKeys) {
    Start();
    CDialogPlot& page = Page();
    std::vector<std::string> opened;
    bool viewerWorks = true;
    TextViewer::Set([&](const std::string& path) {
        opened.push_back(path);
        return std::string(viewerWorks ? "" : "no text viewer was found (xdg-open)");
    });
    page.m_btnEditView.Click();
    ASSERT_EQ(opened, std::vector<std::string>{h.env.DataFolder() + "/DurvDemo.plt"});
    viewerWorks = false;
    h.modal.ExpectMessage("Could not open " + h.env.DataFolder() +
                              "/DurvDemo.plt: no text viewer was found (xdg-open)",
                          "Warning");
    page.m_btnEditView.Click();
    h.modal.VerifyDone();

    // The file went away (or became a folder): not found.
    std::filesystem::remove(h.env.DataFolder() + "/DurvDemo.plt");
    std::filesystem::create_directories(h.env.DataFolder() + "/DurvDemo.plt");
    h.modal.ExpectMessage("Could not find the Plot File!\n\n", "Warning");
    page.m_btnEditView.Click();
    h.modal.VerifyDone();
    TextViewer::Set(nullptr);
    std::filesystem::remove(h.env.DataFolder() + "/DurvDemo.plt");
    h.WriteDataFile("DurvDemo.plt", "DURV\r\n");

    // Dropping the list down keeps the file shown, though one sorts before it.
    page.m_cboPlotFile.UserSelect(1); // DurnDemo.plt
    h.WriteDataFile("Durn000.plt", "DUR\r\n");
    page.m_cboPlotFile.UserDropDown();
    EXPECT_EQ(Selected(), "DurnDemo.plt");
    EXPECT_EQ(page.m_cboPlotFile.GetCurSel(), 2);
    // Gone: the position decides.
    std::filesystem::remove(h.env.DataFolder() + "/DurnDemo.plt");
    page.m_cboPlotFile.UserDropDown();
    EXPECT_EQ(page.m_cboPlotFile.GetCurSel(), 2);

    MSG esc{WM_KEYDOWN, VK_ESCAPE}, enter{WM_KEYDOWN, VK_RETURN};
    EXPECT_TRUE(page.PreTranslateMessage(&esc));
    h.ChooseTab(1);
    EXPECT_TRUE(page.PreTranslateMessage(&enter));
}
