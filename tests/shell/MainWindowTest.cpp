#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTabBar>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/Clock.h"
#include "framework/InstanceLock.h"
#include "framework/Text.h"
#include "framework/Timers.h"
#include "resources/ResourceShell.h"
#include "shell/KestruneApp.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/UiDriver.h"

namespace {

std::string Geometry(const CRect& r) {
    return Format("%d,%d %dx%d", r.left, r.top, r.Width(), r.Height());
}

std::string Geometry(CWnd* wnd) {
    return wnd ? Geometry(wnd->GetRectInParent()) : "missing";
}

CWnd* Page(CKestruneDlg& main, int index) {
    return main.GetTabCtrl().GetItemData(index);
}

// The layout for a client area of cx x cy. Buttons, static and icon keep
// their template sizes.
void ExpectLayout(CKestruneDlg& main, int cx, int cy) {
    SCOPED_TRACE(Format("client %dx%d", cx, cy));
    EXPECT_EQ(Geometry(&main.GetTabCtrl()), Format("7,7 %dx%d", cx - 15, cy - 50));
    EXPECT_EQ(Geometry(main.GetDlgItem(ID_HELP)), Format("7,%d 75x22", cy - 34));
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_AUTOPOLL_DISABLED)), Format("120,%d 130x16", cy - 28));
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_PROGRAM_ICON)),
              Format("%d,%d 30x32", cx - 317, cy - 37));
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_WHERES_MY_DATA)),
              Format("%d,%d 93x22", cx - 277, cy - 34));
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_ABOUT)), Format("%d,%d 75x22", cx - 172, cy - 34));
    EXPECT_EQ(Geometry(main.GetDlgItem(IDOK)), Format("%d,%d 75x22", cx - 83, cy - 34));
    for (int page = 0; page < 4; ++page)
        EXPECT_EQ(Geometry(Page(main, page)), Format("5,28 %dx%d", cx - 30, cy - 80))
            << "page " << page;
}

TEST(MainWindowTest, LayoutFollowsTheWindowDownToTheMinimumSize) {
    MainWindowHarness h;
    h.Start();
    QWidget* window = h.Main().GetWidget();
    EXPECT_TRUE(window->isMaximized());
    ExpectLayout(h.Main(), window->width(), window->height());

    window->showNormal();
    window->resize(1000, 700);
    ExpectLayout(h.Main(), 1000, 700);
    window->resize(300, 200);
    EXPECT_EQ(window->width(), 740);
    EXPECT_EQ(window->height(), 570);
    ExpectLayout(h.Main(), 740, 570);

    // At the minimum size every control of every page, those a page shows
    // only later among them, lies within the page: none is out of reach.
    for (int index = 0; index < 4; ++index) {
        QWidget* page = Page(h.Main(), index)->GetWidget();
        for (QWidget* control : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const CWnd* wnd = CWnd::FromWidget(control);
            const int id = wnd ? wnd->GetDlgCtrlID() : 0;
            if ((id == IDOK || id == IDCANCEL) && control->isHidden())
                continue; // the templates' unused OK and Cancel
            EXPECT_TRUE(page->rect().contains(control->geometry()))
                << "page " << index << ", control " << id;
        }
    }
    h.modal.VerifyDone();
}

// The main window with its pages not yet created.
class MainWindowWithoutPages : public CKestruneDlg {
public:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};

TEST(MainWindowTest, ResizeBeforeThePagesExistMovesNothing) {
    TestEnv env;
    ScriptedModal modal;
    MainWindowWithoutPages main;
    ASSERT_TRUE(main.Create(IDD_KESTRUNE_DIALOG));
    main.GetWidget()->show();
    main.GetWidget()->resize(900, 700);
    // Still where the template put them.
    EXPECT_EQ(Geometry(&main.GetTabCtrl()), "10,11 732x487");
    EXPECT_EQ(Geometry(main.GetDlgItem(IDOK)), "667,505 75x22");
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_AUTOPOLL_DISABLED)), "111,510 130x16");
    EXPECT_EQ(Geometry(main.GetDlgItem(IDC_PROGRAM_ICON)), "439,495 30x32");
}

using Changes = std::vector<std::pair<long long, bool>>;

// Steps the clock a millisecond at a time; when `wnd` was shown or hidden.
Changes Watch(CWnd* wnd, long long spanMs) {
    Changes changes;
    bool visible = wnd->IsWindowVisible();
    for (long long n = 0; n < spanMs; ++n) {
        TestEnv::Advance(1);
        if (wnd->IsWindowVisible() != visible) {
            visible = !visible;
            changes.emplace_back(Clock::NowMs(), visible);
        }
    }
    return changes;
}

TEST(MainWindowTest, WarningBlinksWhileAutoPollingIsDisabled) {
    MainWindowHarness h;
    h.Start(); // the blink timer ticks at 100 ms, then every 500 ms
    CWnd* warning = h.Main().GetDlgItem(IDC_AUTOPOLL_DISABLED);
    ASSERT_NE(warning, nullptr);
    EXPECT_FALSE(warning->IsWindowVisible());
    // Past the Schedule page's first tick (2000 ms), which publishes its box.
    EXPECT_TRUE(Watch(warning, 2150).empty());

    h.Tabs().SetAutoPollDisabled(1); // at 2250
    EXPECT_EQ(Watch(warning, 2400),
              (Changes{{2600, true}, {3100, false}, {3600, true}, {4100, false}, {4600, true}}));
    // Cleared while shown: hidden at the next tick, and for good.
    h.Tabs().SetAutoPollDisabled(0);
    EXPECT_EQ(Watch(warning, 2000), (Changes{{5100, false}}));
    h.Tabs().SetAutoPollDisabled(1); // at 6650
    EXPECT_EQ(Watch(warning, 500), (Changes{{7100, true}}));
    h.modal.VerifyDone();
}

const char kHangupFirst[] = "Press 'Hangup' on the Communicate Tab and then exit";

struct CloseWay {
    const char* name;
    std::function<void(CKestruneDlg&)> act;
    int result;
};

TEST(MainWindowTest, EveryWayOfClosingWaitsForTheModem) {
    const CloseWay ways[] = {
        {"Exit button", [](CKestruneDlg& m) { ui::Click(*m.GetDlgItem(IDOK)); }, IDOK},
        {"Enter on Exit",
         [](CKestruneDlg& m) {
             QWidget* exit = m.GetDlgItem(IDOK)->GetWidget();
             exit->setFocus();
             ui::Key(exit, Qt::Key_Return);
         },
         IDOK},
        {"close box", [](CKestruneDlg& m) { m.GetWidget()->close(); }, IDCANCEL},
    };
    for (const CloseWay& way : ways) {
        SCOPED_TRACE(way.name);
        MainWindowHarness h;
        h.Start();
        h.Tabs().SetModemInUse(1);
        h.modal.ExpectMessage(kHangupFirst, "Information");
        way.act(h.Main());
        h.modal.VerifyDone();
        ASSERT_FALSE(h.modal.History().empty());
        EXPECT_EQ(h.modal.History().back().type & MB_ICONMASK, MB_ICONINFORMATION);
        EXPECT_FALSE(h.Main().IsEnded());
        EXPECT_TRUE(h.Main().GetWidget()->isVisible());

        h.Tabs().SetModemInUse(0);
        way.act(h.Main());
        EXPECT_TRUE(h.Main().IsEnded());
        EXPECT_EQ(h.Main().GetResult(), way.result);
        EXPECT_FALSE(h.Main().GetWidget()->isVisible());
    }
}

// A click on a tab, then Space, Enter or Esc: the program runs on.
TEST(MainWindowTest, NoStrayKeyAfterATabClickEndsTheProgram) {
    MainWindowHarness h;
    h.Start();
    ui::Activate(h.Main());
    for (int tab : {PAGE_VIEW_PLOT, PAGE_SCHEDULE, PAGE_FIRMWARE_UPGRADE, PAGE_COMMUNICATE}) {
        SCOPED_TRACE(tab);
        ui::ClickTab(h.Tabs(), tab);
        TestEnv::Advance(100);
        for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape}) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            EXPECT_NE(focus, h.Main().GetDlgItem(IDOK)->GetWidget()) << "focus fell on Exit";
            ui::Key(focus, key, key == Qt::Key_Space ? QString(" ") : QString());
            EXPECT_FALSE(h.Main().IsEnded()) << key;
        }
    }
    QWidget* exit = h.Main().GetDlgItem(IDOK)->GetWidget();
    exit->setFocus();
    ui::Key(exit, Qt::Key_Return);
    EXPECT_TRUE(h.Main().IsEnded());
    EXPECT_EQ(h.Main().GetResult(), IDOK);
    h.modal.VerifyDone();
}

TEST(MainWindowTest, EnterAndEscInsideAPageNeverEndTheWindow) {
    MainWindowHarness h;
    h.Start();
    for (BYTE modem : {0, 1}) {
        h.Tabs().SetModemInUse(modem);
        const std::pair<int, int> targets[] = {
            {PAGE_COMMUNICATE, IDC_TERMINAL},
            {PAGE_COMMUNICATE, IDC_PHONE_NUMBER},
            {PAGE_VIEW_PLOT, 0},
            {PAGE_SCHEDULE, 0},
        };
        for (auto [page, control] : targets) {
            SCOPED_TRACE(Format("modem %d page %d control %d", modem, page, control));
            h.ChooseTab(page);
            auto* dlg = dynamic_cast<CDialog*>(Page(h.Main(), page));
            ASSERT_NE(dlg, nullptr);
            QWidget* target = control ? dlg->GetDlgItem(control)->GetWidget() : dlg->GetWidget();
            target->setFocus();
            ui::Key(target, Qt::Key_Return);
            ui::Key(target, Qt::Key_Escape);
            EXPECT_FALSE(h.Main().IsEnded());
            EXPECT_TRUE(h.Main().GetWidget()->isVisible());
        }
    }
    h.modal.VerifyDone();
}

std::function<int(CDialog&)> ExpectModal(const char* caption) {
    return [caption](CDialog& dlg) {
        EXPECT_TRUE(dlg.GetWidget()->isModal());
        EXPECT_FALSE(dlg.IsChildDialog());
        EXPECT_EQ(dlg.GetCaption(), caption);
        return IDOK;
    };
}

TEST(MainWindowTest, HelpFollowsThePageRecordedFiftyMillisecondsAfterAChange) {
    MainWindowHarness h;
    h.Start();
    CWnd& help = *h.Main().GetDlgItem(ID_HELP);
    const char* comms = "Help with Communicate Screen";

    h.modal.ExpectDialog(IDD_HELP_COMMS, ExpectModal(comms));
    ui::Click(help);

    ui::ClickTab(h.Tabs(), PAGE_VIEW_PLOT);
    TestEnv::Advance(40);
    h.modal.ExpectDialog(IDD_HELP_COMMS, ExpectModal(comms));
    ui::Click(help);
    TestEnv::Advance(10);
    h.modal.ExpectDialog(IDD_HELP_PLOT, ExpectModal("Help with View Plot Screen"));
    ui::Click(help);

    ui::ClickTab(h.Tabs(), PAGE_SCHEDULE);
    TestEnv::Advance(50);
    h.modal.ExpectDialog(IDD_HELP_SCHEDULE, ExpectModal("Help with Schedule Screen"));
    ui::Click(help);

    ui::ClickTab(h.Tabs(), PAGE_FIRMWARE_UPGRADE);
    TestEnv::Advance(1);
    h.modal.ExpectDialog(IDD_HELP_SCHEDULE);
    ui::Click(help);
    TestEnv::Advance(49);
    h.modal.ExpectDialog(IDD_HELP_UPGRADE, ExpectModal("Help with Firmware Upgrade Screen"));
    ui::Click(help);
    h.modal.VerifyDone();
}

TEST(MainWindowTest, AboutAndWhereIsMyDataOpenModally) {
    MainWindowHarness h;
    h.Start();
    h.modal.ExpectDialog(IDD_ABOUTBOX, ExpectModal("About Trelvoran"));
    ui::Click(*h.Main().GetDlgItem(IDC_ABOUT));

    auto showsFolder = [](const std::string& folder) {
        return [folder](CDialog& dlg) {
            ExpectModal("Where's My Data ?")(dlg);
            for (int id : {IDC_PATH_PLOTS, IDC_PATH_SCHEDULE, IDC_PATH_CONFIG}) {
                CWnd* path = dlg.GetDlgItem(id);
                EXPECT_EQ(path ? path->GetWindowText() : "missing", folder) << id;
            }
            return IDOK;
        };
    };
    // The data folder the Communicate page published at start-up.
    h.modal.ExpectDialog(IDD_MYDATA, showsFolder(h.env.DataFolder()));
    ui::Click(*h.Main().GetDlgItem(IDC_WHERES_MY_DATA));

    std::string deep = h.env.AppData();
    while (deep.size() < 450)
        deep += "/a-rather-long-folder-name";
    deep += "/TrelvoranFiles";
    h.Tabs().SetDataFolder(deep.c_str());
    h.modal.ExpectDialog(IDD_MYDATA, showsFolder(deep));
    ui::Click(*h.Main().GetDlgItem(IDC_WHERES_MY_DATA));
    h.modal.VerifyDone();
}

TEST(MainWindowTest, ProgramRunsTheMainWindowModallyAndEndsWithIt) {
    TestEnv env;
    ScriptedModal modal;
    std::vector<QPointer<QWidget>> pages;
    modal.ExpectDialog(IDD_KESTRUNE_DIALOG, [&](CDialog& dlg) {
        auto& main = dynamic_cast<CKestruneDlg&>(dlg);
        EXPECT_TRUE(dlg.GetWidget()->isModal());
        EXPECT_TRUE(dlg.GetWidget()->isMaximized());
        EXPECT_EQ(dlg.GetCaption(), "Trelvoran Rev 4.06");
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(Page(main, k)->IsWindowVisible(), k == 0) << k;
            pages.emplace_back(Page(main, k)->GetWidget());
        }
        EXPECT_TRUE(main.GetTabCtrl().IsCurrentPage(PAGE_COMMUNICATE));
        TestEnv::Advance(100);
        ui::Click(*dlg.GetDlgItem(IDOK));
        EXPECT_TRUE(dlg.IsEnded());
        return IDCANCEL;
    });
    CKestruneApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    modal.VerifyDone();
    ASSERT_EQ(pages.size(), 4u);
    for (const QPointer<QWidget>& page : pages)
        EXPECT_TRUE(page.isNull());
    // Nothing of the window keeps ticking.
    EXPECT_EQ(TimerQueue::Instance().Count(), 0u);
}

// A second copy on a data folder that another copy holds says so, ends with
// a non-zero status and changes nothing.
TEST(MainWindowTest, SecondCopyOnALockedDataFolderChangesNothing) {
    TestEnv env;
    ScriptedModal modal;
    std::filesystem::create_directories(env.DataFolder());
    std::ofstream(env.DataFolder() + "/comms.cfg") << "002, 5";
    InstanceLock first;
    ASSERT_TRUE(first.Acquire(env.DataFolder()));

    modal.ExpectMessage("Trelvoran is already running with the data folder " + env.DataFolder(),
                        "Trelvoran");
    CKestruneApp second;
    EXPECT_EQ(second.InitInstance(), FALSE);
    EXPECT_NE(second.GetExitCode(), 0);
    modal.VerifyDone();
    std::ifstream in(env.DataFolder() + "/comms.cfg");
    std::string config;
    std::getline(in, config);
    EXPECT_EQ(config, "002, 5");
    EXPECT_EQ(TimerQueue::Instance().Count(), 0u);

    // Once the first copy has ended, the next one runs.
    first.Release();
    modal.ExpectDialog(IDD_KESTRUNE_DIALOG, [](CDialog&) { return IDOK; });
    CKestruneApp third;
    third.InitInstance();
    EXPECT_EQ(third.GetExitCode(), 0);
    modal.VerifyDone();
}

} // namespace
