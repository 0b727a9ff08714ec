#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "communicate/CallSteps.h"

namespace {

using Kind = SessionEffect::Kind;

// The effects as one line, e.g. "Result1 Cr Status:Connected ! Arm10011/1500".
std::string Describe(const CallSteps::Effects& effects) {
    static const char* const names[] = {
        "Result",     "Data",      "Occupy",    "Dial:",    "Cr",      "Status:",
        "ClearReply", "CloseDump", "Close",     "HandBack", "Open",    "Send",
        "Track",      "BlankFile", "BlankDate", "Hangup",   "Release", "Arm"};
    std::string out;
    for (const SessionEffect& e : effects) {
        out += (out.empty() ? "" : " ") + std::string(names[int(e.kind)]) + e.text;
        if (e.kind == Kind::Result)
            out += e.result;
        else if (e.kind == Kind::DataReceived)
            out += e.received ? '1' : '0';
        else if (e.command != 0)
            out += std::to_string(e.command);
        else if (e.kind == Kind::Arm)
            out += std::to_string(e.timer) + "/" + std::to_string(e.ms);
    }
    return out;
}

TEST(CallStepsTest, PickUpAndTheModemsReply) {
    struct Case {
        const char* name;
        SessionState state;
        int rx;
        int secondsLeft;
        const char* reply; // null: the wait tick, else the reply check
        SessionState next;
        bool collect; // the poll still collects the reply
        const char* effects;
    };
    const Case cases[] = {
        {"bytes seen", SessionState::Waiting, 3, 20, nullptr, SessionState::Checking, true,
         "Arm10010/500"},
        {"still waiting", SessionState::Waiting, 0, 1, nullptr, SessionState::Waiting, true,
         "Status:Waiting for connection... Arm10009/1000"},
        {"no answer", SessionState::Waiting, 0, 0, nullptr, SessionState::Waiting, false,
         "Status:Hangup... Result4 Hangup"},
        {"connect", SessionState::Checking, 24, 30, "ATDT555\r\r\nCoNnEcT 9600\r\n",
         SessionState::Checking, false, "Result1 Cr Status:Connected ! Arm10011/1500"},
        {"busy", SessionState::Checking, 6, 30, "BUSY\r\n", SessionState::Ending, false,
         "Result5 Arm10017/100"},
        {"echo alone", SessionState::Checking, 8, 30, "ATDT555\r", SessionState::Waiting, true,
         "ClearReply Status:Waiting for connection... Arm10009/1000"},
    };
    for (const Case& c : cases) {
        CallProgress p;
        p.state = c.state;
        p.rxCount = c.rx;
        p.connectSecondsLeft = c.secondsLeft;
        p.collectReply = true;
        char reply[100] = {};
        if (c.reply)
            std::strncpy(reply, c.reply, 89);
        const auto effects = c.reply ? CallSteps::CheckReply(p, reply) : CallSteps::WaitConnect(p);
        EXPECT_EQ(Describe(effects), c.effects) << c.name;
        EXPECT_EQ(p.state, c.next) << c.name;
        EXPECT_EQ(p.connected, std::strcmp(c.name, "connect") == 0) << c.name;
        EXPECT_EQ(p.collectReply, c.collect) << c.name;
    }

    CallProgress p;
    EXPECT_EQ(Describe(CallSteps::PickUp(p, "Direct", false)), "Result8 Data0 Status:No Comm Port");
    EXPECT_EQ(p.state, SessionState::None);
    EXPECT_EQ(Describe(CallSteps::PickUp(p, "Direct", true)),
              "Result9 Occupy Cr Status:Connected ! Arm10011/1500 CloseDump");
    EXPECT_EQ(p.state, SessionState::Checking);
    p = {};
    EXPECT_EQ(Describe(CallSteps::PickUp(p, "555", true)), "Dial:555 Status:Dialing... CloseDump");
    EXPECT_EQ(p.state, SessionState::Dialling);
    EXPECT_EQ(Describe(CallSteps::DialSent(p)), "Arm10009/2000 ClearReply");
    EXPECT_EQ(p.connectSecondsLeft, 40);
}

TEST(CallStepsTest, CommandsTheirBudgetsAndTheEnd) {
    struct Step {
        int k;
        const char* command;
        char tracked;
        SessionState next;
        const char* effects;
    };
    const Step steps[] = {
        {1, "", '0', SessionState::Command1Done, "Status:Command1... Open1 Arm10013/200"},
        {2, "ST^M", '1', SessionState::Command2,
         "Close HandBack1 Status:Command2... Open2 Send2 Arm10014/2000"},
        {3, "DUR/5^M", '3', SessionState::Command3,
         "Close HandBack2 Status:Command3... Open3 Send3 Arm10016/2000 Track3"},
        {3, "", '3', SessionState::Ending, "Close HandBack2 Status:Command3... Open3 Arm10017/100"},
    };
    for (const Step& s : steps) {
        CallProgress p;
        p.dataSeen = true;
        EXPECT_EQ(Describe(CallSteps::Command(p, s.k, s.command, s.tracked)), s.effects)
            << s.k << s.command;
        EXPECT_EQ(p.state, s.next);
        EXPECT_EQ(p.dataSeen, s.k != 1);
    }

    // Bytes by watch tick; a command ends 2 + b s after it started without
    // output, b + 1 ticks after its last tick with output. A dump pausing
    // six seconds after its first lines is waited for.
    struct Watch {
        const char* command;
        std::vector<int> rx;
        int endsAfterMs;
    };
    const Watch watches[] = {
        {"ST^M", {}, 5000},          {"DUR/5^M", {}, 27000},
        {"ST^M", {10}, 6000},        {"ST^M", {0, 10}, 7000},
        {"DUALL^M", {0, 10}, 11000}, {"DUR/5^M", {50}, 10000},
        {"DUR/5^M", {10}, 28000},    {"DUALL^M", {60, 0, 0, 0, 0, 0, 0, 10}, 17000},
    };
    for (const Watch& w : watches) {
        CallProgress p;
        p.state = SessionState::Command1Done;
        CallSteps::Command(p, 2, w.command, '0');
        int ms = 2000;
        for (std::size_t tick = 0; p.state == SessionState::Command2 && ms < 60000; ++tick) {
            p.rxCount = tick < w.rx.size() ? w.rx[tick] : 0;
            const auto effects = CallSteps::WatchCommand(p, 2);
            if (p.state == SessionState::Command2)
                ms += effects.at(0).ms;
        }
        EXPECT_EQ(ms, w.endsAfterMs) << w.command << " " << w.rx.size();
        EXPECT_EQ(p.state, SessionState::Command2Done);
        EXPECT_EQ(p.dataSeen, !w.rx.empty()) << w.command;
    }

    CallProgress p;
    p.state = SessionState::Ending;
    p.connected = p.dataSeen = p.directLink = true;
    EXPECT_EQ(Describe(CallSteps::End(p)),
              "Close HandBack3 BlankFile Data1 BlankDate Status:Hangup... Release");
    EXPECT_EQ(p.state, SessionState::None);
    p.state = SessionState::Ending;
    p.directLink = false;
    EXPECT_EQ(Describe(CallSteps::End(p)),
              "Close HandBack3 BlankFile Data1 BlankDate Status:Hangup... Hangup");
    EXPECT_EQ(p.state, SessionState::Ending);

    // The user's Hangup hands back the command running or just finished.
    p.state = SessionState::Command2Done;
    p.connected = true;
    EXPECT_EQ(Describe(CallSteps::Hangup(p)), "HandBack2 Data1 BlankFile Close");
    EXPECT_EQ(p.state, SessionState::Hangup);
    EXPECT_EQ(Describe(CallSteps::Hangup(p)), "BlankFile Close");
    EXPECT_FALSE(CallSteps::IsDue(SessionState::Hangup, IDT_WAITCMD2));
    EXPECT_TRUE(CallSteps::IsDue(SessionState::Command2, IDT_WAITCMD2));
    EXPECT_FALSE(CallSteps::IsDue(SessionState::Command2, IDT_WAITCMD3));
}

} // namespace
