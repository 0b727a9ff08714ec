#include <gtest/gtest.h>

#include <QTabBar>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/MainWindowHarness.h"
#include "tests/support/UiDriver.h"

namespace {

class TabCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        h.Start();
        for (int k = 0; k < 4; ++k)
            pageShows.Watch(Tabs().GetItemData(k)->GetWidget());
    }
    void TearDown() override { h.modal.VerifyDone(); }

    CXTabCtrl& Tabs() { return h.Tabs(); }
    // The pages that are shown.
    std::vector<int> Shown() {
        std::vector<int> shown;
        for (int k = 0; k < 4; ++k) {
            if (Tabs().GetItemData(k)->IsWindowVisible())
                shown.push_back(k);
        }
        return shown;
    }
    int Recorded() {
        int recorded = -1;
        for (int k = 0; k < 4; ++k) {
            if (Tabs().IsCurrentPage(k))
                recorded = k;
        }
        return recorded;
    }

    MainWindowHarness h;
    // Show and hide events of the pages.
    int shows = 0;
    ui::EventSpy pageShows{{QEvent::Show, QEvent::Hide}, [this] { ++shows; }};
};

TEST_F(TabCtrlTest, ChangeIsShownAtOnceAndRecordedFiftyMillisecondsLater) {
    ui::ClickTab(Tabs(), 1);
    EXPECT_EQ(Tabs().GetCurSel(), 1);
    EXPECT_EQ(Shown(), std::vector<int>{1});
    EXPECT_EQ(Recorded(), 0);
    TestEnv::Advance(49);
    EXPECT_EQ(Recorded(), 0);
    TestEnv::Advance(1);
    EXPECT_EQ(Recorded(), 1);

    // Two quick changes: one page shown throughout, the last one recorded
    // 50 ms after the second change.
    ui::ClickTab(Tabs(), 2);
    EXPECT_EQ(Shown(), std::vector<int>{2});
    TestEnv::Advance(20);
    ui::ClickTab(Tabs(), 3);
    EXPECT_EQ(Shown(), std::vector<int>{3});
    TestEnv::Advance(49);
    EXPECT_EQ(Recorded(), 1);
    TestEnv::Advance(1);
    EXPECT_EQ(Recorded(), 3);

    // The keyboard goes the same way.
    ui::Key(ui::TabBar(Tabs()), Qt::Key_Left);
    EXPECT_EQ(Shown(), std::vector<int>{2});
    TestEnv::Advance(50);
    EXPECT_EQ(Recorded(), 2);
}

TEST_F(TabCtrlTest, DisabledTabRefusesTheUser) {
    Tabs().EnableTab(2, FALSE);
    EXPECT_FALSE(Tabs().IsTabEnabled(2));
    EXPECT_TRUE(Tabs().IsTabEnabled(1));
    shows = 0;
    ui::ClickTab(Tabs(), 2);
    EXPECT_EQ(Tabs().GetCurSel(), 0);
    EXPECT_EQ(Shown(), std::vector<int>{0});
    TestEnv::Advance(100);
    EXPECT_EQ(Recorded(), 0);
    EXPECT_EQ(shows, 0);

    // Refused while a change is still being recorded: the change stands.
    ui::ClickTab(Tabs(), 1);
    TestEnv::Advance(20);
    ui::ClickTab(Tabs(), 2);
    EXPECT_EQ(Tabs().GetCurSel(), 1);
    EXPECT_EQ(Shown(), std::vector<int>{1});
    TestEnv::Advance(100);
    EXPECT_EQ(Recorded(), 1);
    ui::Key(ui::TabBar(Tabs()), Qt::Key_Right);
    EXPECT_EQ(Tabs().GetCurSel(), 1);
    EXPECT_EQ(Shown(), std::vector<int>{1});

    Tabs().EnableTab(2, TRUE);
    ui::ClickTab(Tabs(), 2);
    EXPECT_EQ(Shown(), std::vector<int>{2});

    // Indices outside the tabs change nothing.
    Tabs().EnableTab(4, FALSE);
    Tabs().EnableTab(-1, FALSE);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(Tabs().IsTabEnabled(k)) << k;
    EXPECT_FALSE(Tabs().IsTabEnabled(4));
    EXPECT_FALSE(Tabs().IsTabEnabled(-1));
}

TEST_F(TabCtrlTest, SelectTabByTheProgram) {
    shows = 0;
    EXPECT_TRUE(Tabs().SelectTab(0));
    EXPECT_EQ(shows, 0);

    Tabs().EnableTab(1, FALSE);
    EXPECT_FALSE(Tabs().SelectTab(1));
    EXPECT_FALSE(Tabs().SelectTab(4));
    EXPECT_FALSE(Tabs().SelectTab(-1));
    EXPECT_EQ(Tabs().GetCurSel(), 0);
    EXPECT_EQ(shows, 0);

    EXPECT_TRUE(Tabs().SelectTab(2));
    EXPECT_EQ(Tabs().GetCurSel(), 2);
    EXPECT_EQ(Shown(), std::vector<int>{2});
    // The caller records the page itself.
    TestEnv::Advance(100);
    EXPECT_EQ(Recorded(), 0);

    Tabs().EnableTab(0, FALSE);
    shows = 0;
    EXPECT_FALSE(Tabs().SelectTab(0));
    EXPECT_EQ(Tabs().GetCurSel(), 2);
    EXPECT_EQ(shows, 0);
    // Already selected comes before disabled.
    Tabs().EnableTab(2, FALSE);
    EXPECT_TRUE(Tabs().SelectTab(2));
    EXPECT_EQ(shows, 0);
    EXPECT_EQ(Shown(), std::vector<int>{2});
}

// Tab `index`'s centre in the tab control's client coordinates.
CPoint CentreOf(const CTabCtrl& tabs, int index) {
    CRect r;
    EXPECT_TRUE(tabs.GetItemRect(index, &r));
    return CPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The mouse comes to `at` (client coordinates of the tab control); moves
// outside the row of tabs reach no tab.
void MouseAt(CXTabCtrl& tabs, CPoint at) {
    CRect screen;
    tabs.GetWindowRect(&screen);
    const CPoint cursor{screen.left + at.x, screen.top + at.y};
    SetCursorPosForTest(&cursor);
    QTabBar* bar = ui::TabBar(tabs);
    const QPoint inBar = QPoint(at.x, at.y) - bar->pos();
    if (bar->rect().contains(inBar))
        ui::MoveMouse(bar, inBar);
    bar->grab(); // paints the tabs as the screen would
}

TEST_F(TabCtrlTest, TabUnderTheMouseIsPaintedWhite) {
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF blue = RGB(0, 0, 255);
    const COLORREF normal = GetSysColor(COLOR_BTNTEXT);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    ASSERT_NE(normal, white);
    ASSERT_NE(grey, white);
    auto colour = [&](int k) { return Tabs().CaptionColor(k, k == Tabs().GetCurSel()); };
    EXPECT_EQ(colour(0), blue);
    EXPECT_EQ(colour(1), normal);

    MouseAt(Tabs(), CentreOf(Tabs(), 1));
    EXPECT_EQ(colour(1), white);
    EXPECT_EQ(colour(2), normal);
    EXPECT_EQ(colour(0), blue);

    // Off the tabs: back within the 10 ms of the hover timer.
    MouseAt(Tabs(), CPoint{200, 200});
    TestEnv::Advance(10);
    EXPECT_EQ(colour(1), normal);
    EXPECT_EQ(Tabs().GetHoverTab(), -1);

    MouseAt(Tabs(), CentreOf(Tabs(), 0));
    EXPECT_EQ(colour(0), blue);
    MouseAt(Tabs(), CPoint{200, 200});
    TestEnv::Advance(10);

    Tabs().EnableTab(3, FALSE);
    MouseAt(Tabs(), CentreOf(Tabs(), 3));
    EXPECT_EQ(colour(3), grey);

    // Back on an enabled tab after the disabled one.
    MouseAt(Tabs(), CPoint{200, 200});
    TestEnv::Advance(10);
    MouseAt(Tabs(), CentreOf(Tabs(), 2));
    EXPECT_EQ(colour(2), white);
    SetCursorPosForTest(nullptr);
}

TEST(SharedPageStateTest, CopiesStayWithinTheirFields) {
    CXTabCtrl tabs;
    EXPECT_EQ(tabs.GetCommPort(), nullptr);

    // The call line's fields, even without a NUL, are cut to their widths.
    CallCommands call;
    std::memset(static_cast<void*>(&call), 'x', sizeof call);
    tabs.SetCallCommands(call);
    for (const CallCommand& c : tabs.GetCallCommands().command)
        EXPECT_EQ(std::string(c.szCommand) + "," + c.szFile + "," + c.cAppend + "," + c.cForm,
                  std::string(100, 'x') + "," + std::string(100, 'x') + ",x,x");
    tabs.SetSiteName("Weir 3\r\nnext");
    EXPECT_STREQ(tabs.GetSiteName(), "Weir 3\r");
    tabs.SetSiteName(std::string(150, 's').c_str());
    EXPECT_EQ(std::string(tabs.GetSiteName()), std::string(99, 's'));

    // Bounded fields cut a longer source, and their readers write no more
    // than the field holds.
    char out[32];
    tabs.SetLastDumpEvent("12:30:00 14/03/26 and more");
    std::memset(out, '#', sizeof out);
    tabs.GetLastDumpEvent(out);
    EXPECT_EQ(std::string(out), std::string("12:30:00 14/03/26 and more").substr(0, 19));
    EXPECT_EQ(out[20], '#');
    tabs.SetDumpEventTotal("123456789.0123456");
    std::memset(out, '#', sizeof out);
    tabs.GetDumpEventTotal(out);
    EXPECT_STREQ(out, "123456789.0123");
    EXPECT_EQ(out[15], '#');

    // Both requests share one phone number.
    tabs.RequestScheduledCall(std::string(120, '7').c_str());
    EXPECT_EQ(std::string(tabs.GetPhoneNumber()), std::string(99, '7'));
    tabs.RequestScheduledCall("0212345678");
    tabs.RequestCallNow("555");
    EXPECT_STREQ(tabs.GetPhoneNumber(), "555");
    EXPECT_TRUE(tabs.IsScheduledCall());
    EXPECT_TRUE(tabs.IsCallNow());
}

} // namespace
