#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

#include <string>
#include <vector>

#include "framework/Clock.h"
#include "framework/ModalRunner.h"
#include "framework/Timers.h"
#include "framework/Wnd.h"
#include "tests/support/ScriptedModal.h"
#include "tests/support/TestEnv.h"

namespace {

// A window that records its timer ticks and can act inside them.
class Recorder : public CWnd {
public:
    explicit Recorder(std::vector<std::string>* log, const char* name) : m_log(log), m_name(name) {}
    void OnTimer(UINT id) override {
        m_log->push_back(m_name + ":" + std::to_string(id) + "@" + std::to_string(Clock::NowMs()));
        if (onTick)
            onTick(id);
    }
    std::function<void(UINT)> onTick;

private:
    std::vector<std::string>* m_log;
    std::string m_name;
};

class TimersTest : public testing::Test {
protected:
    TestEnv env;
    std::vector<std::string> log;
};

TEST_F(TimersTest, PeriodicTimerRepeatsAndReArmingRestartsIt) {
    Recorder w(&log, "w");
    w.SetTimer(1, 100);
    TestEnv::Advance(250);
    EXPECT_EQ(log, (std::vector<std::string>{"w:1@100", "w:1@200"}));
    log.clear();
    // Re-arming a running timer starts its period again from now.
    w.SetTimer(1, 100); // now 250
    TestEnv::Advance(90);
    EXPECT_TRUE(log.empty());
    w.SetTimer(1, 100); // now 340
    TestEnv::Advance(100);
    EXPECT_EQ(log, (std::vector<std::string>{"w:1@440"}));
}

TEST_F(TimersTest, KilledTimersNeverFireAndOneShotsKillThemselves) {
    Recorder w(&log, "w");
    w.onTick = [&](UINT id) { w.KillTimer(id); };
    w.SetTimer(7, 50);
    w.SetTimer(8, 60);
    EXPECT_TRUE(w.KillTimer(8));
    EXPECT_FALSE(w.KillTimer(8));
    TestEnv::Advance(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"w:7@50"}));
    EXPECT_FALSE(TimerQueue::Instance().IsSet(&w, 7));
}

TEST_F(TimersTest, TimersDueTogetherFireInArmingOrder) {
    Recorder a(&log, "a");
    Recorder b(&log, "b");
    b.SetTimer(2, 100);
    a.SetTimer(1, 100);
    a.SetTimer(3, 100);
    TestEnv::Advance(100);
    EXPECT_EQ(log, (std::vector<std::string>{"b:2@100", "a:1@100", "a:3@100"}));
}

TEST_F(TimersTest, SameIdOnTwoWindowsAreTwoTimers) {
    Recorder a(&log, "a");
    Recorder b(&log, "b");
    a.SetTimer(10000, 30);
    b.SetTimer(10000, 40);
    a.KillTimer(10000);
    TestEnv::Advance(40);
    EXPECT_EQ(log, (std::vector<std::string>{"b:10000@40"}));
}

TEST_F(TimersTest, ChainOfOneShotsRunsAtEachStepsOwnInstant) {
    Recorder w(&log, "w");
    w.onTick = [&](UINT id) {
        w.KillTimer(id);
        if (id < 3)
            w.SetTimer(id + 1, id == 1 ? 2000 : 500);
    };
    w.SetTimer(1, 100);
    TestEnv::Advance(10000);
    EXPECT_EQ(log, (std::vector<std::string>{"w:1@100", "w:2@2100", "w:3@2600"}));
}

TEST_F(TimersTest, SlowHandlerDoesNotCauseBurst) {
    // A handler that takes longer than several periods (the clock moves on
    // while it runs) is followed by one late tick, then the normal period.
    Recorder w(&log, "w");
    int ticks = 0;
    w.onTick = [&](UINT) {
        if (++ticks == 1)
            Clock::AdvanceVirtualTo(Clock::NowMs() + 350);
    };
    w.SetTimer(1, 100);
    TestEnv::Advance(100); // fires at 100, the handler ends at 450
    EXPECT_EQ(ticks, 1);
    TestEnv::Advance(1); // the missed ticks come as one
    EXPECT_EQ(ticks, 2);
    TestEnv::Advance(98);
    EXPECT_EQ(ticks, 2);
    TestEnv::Advance(2);
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimersTest, DestroyedWindowLeavesNoTimer) {
    {
        Recorder w(&log, "w");
        w.SetTimer(1, 10);
    }
    TestEnv::Advance(100);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(TimerQueue::Instance().Count(), 0u);
}

TEST_F(TimersTest, VirtualWallClockFollowsTimers) {
    const LocalTime start = Clock::LocalNow();
    TestEnv::Advance(61 * 1000);
    const LocalTime later = Clock::LocalNow();
    EXPECT_EQ(start.hour, 9);
    EXPECT_EQ(start.minute, 30);
    EXPECT_EQ(later.minute, 31);
    EXPECT_EQ(later.second, 1);
}

} // namespace

// Timers keep running while a message box is up: on the virtual clock when
// the script lets time pass, and on the real clock inside Qt's modal loop.
TEST_F(TimersTest, TimersFireWhileAMessageBoxIsUp) {
    Recorder w(&log, "w");
    {
        ScriptedModal modal;
        modal.ExpectMessage("Busy", "Trelvoran", IDOK, 250);
        w.SetTimer(1, 100);
        EXPECT_EQ(ModalRunner::Get().MessageBox("Busy", "Trelvoran", MB_OK), IDOK);
        modal.VerifyDone();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"w:1@100", "w:1@200"}));
    w.KillTimer(1);
    log.clear();

    Clock::UseReal();
    ModalRunner::Set(nullptr);
    w.SetTimer(2, 20);
    int ticks = 0;
    w.onTick = [&](UINT) {
        if (++ticks == 3) {
            w.KillTimer(2);
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                box->reject();
        }
    };
    QTimer::singleShot(5000, [] { // a safety net: never hang the run
        if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            box->reject();
    });
    ModalRunner::Get().MessageBox("Waiting", "Trelvoran", MB_OK);
    EXPECT_EQ(ticks, 3);
    Clock::UseVirtual(TestEnv::DefaultStart());
}
