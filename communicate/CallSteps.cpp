#include "communicate/CallSteps.h"

#include "communicate/CallSession.h"

namespace {

using Kind = SessionEffect::Kind;
using Effects = CallSteps::Effects;

SessionEffect Effect(Kind kind) {
    return {.kind = kind};
}

SessionEffect Status(std::string text) {
    return {.kind = Kind::Status, .text = std::move(text)};
}

SessionEffect Result(char result) {
    return {.kind = Kind::Result, .result = result};
}

SessionEffect DataReceived(bool received) {
    return {.kind = Kind::DataReceived, .received = received};
}

SessionEffect OfCommand(Kind kind, int k) {
    return {.kind = kind, .command = k};
}

SessionEffect Arm(unsigned timer, int ms) {
    return {.kind = Kind::Arm, .timer = timer, .ms = ms};
}

SessionState Running(int k) {
    return SessionState(int(SessionState::Command1) + 2 * (k - 1));
}

unsigned WatchTimer(int k) {
    return IDT_WAITCMD1 + unsigned(2 * (k - 1));
}

// Connected: command 1 follows after the logger has had its CR.
void Connected(CallProgress& p, Effects& out) {
    p.connected = true;
    p.rxCount = 0;
    out.push_back(Effect(Kind::SendCr));
    out.push_back(Status("Connected !"));
    out.push_back(Arm(IDT_COMMAND1, 1500));
}

// Command k is over: the next one, or the end step after command 3.
void Finish(CallProgress& p, int k, Effects& out) {
    if (k == 1) {
        p.state = SessionState::Command1Done;
        out.push_back(Arm(IDT_COMMAND2, 200));
    } else if (k == 2) {
        p.state = SessionState::Command2Done;
        out.push_back(Arm(IDT_COMMAND3, 200));
    } else {
        p.state = SessionState::Ending;
        out.push_back(Arm(IDT_ENDSESSION, 100));
    }
}

} // namespace

bool CallSteps::IsDue(SessionState state, unsigned id) {
    switch (id) {
    case IDT_WAITCONNECT:
        return state == SessionState::Waiting;
    case IDT_CHECKREPLY:
    case IDT_COMMAND1:
        return state == SessionState::Checking;
    case IDT_COMMAND2:
        return state == SessionState::Command1Done;
    case IDT_COMMAND3:
        return state == SessionState::Command2Done;
    case IDT_WAITCMD1:
    case IDT_WAITCMD2:
    case IDT_WAITCMD3:
        return state == Running(int(id - IDT_WAITCMD1) / 2 + 1);
    case IDT_ENDSESSION:
        return state == SessionState::Ending;
    default:
        return false;
    }
}

int CallSteps::CommandOf(SessionState state) {
    switch (state) {
    case SessionState::Command1:
    case SessionState::Command1Done:
        return 1;
    case SessionState::Command2:
    case SessionState::Command2Done:
        return 2;
    case SessionState::Command3:
        return 3;
    default:
        return 0;
    }
}

CallSteps::Effects CallSteps::PickUp(CallProgress& p, const char* phone, bool portOpen) {
    Effects out;
    // Nothing of the previous call may be handed back as this site's.
    p.dataSeen = false;
    p.connected = false;
    p.directLink = phone[0] == 'D';
    if (p.directLink && !portOpen) {
        // No line to the logger: the call fails at once, nothing is sent or captured.
        out.push_back(Result('8'));
        out.push_back(DataReceived(false));
        out.push_back(Status("No Comm Port"));
        return out;
    }
    if (p.directLink) {
        out.push_back(Result('9'));
        out.push_back(Effect(Kind::Occupy));
        p.state = SessionState::Checking;
        Connected(p, out);
    } else {
        p.state = SessionState::Dialling;
        out.push_back({.kind = Kind::Dial, .text = phone});
        out.push_back(Status("Dialing..."));
    }
    out.push_back(Effect(Kind::CloseDump));
    return out;
}

CallSteps::Effects CallSteps::DialSent(CallProgress& p) {
    p.state = SessionState::Waiting;
    p.connectSecondsLeft = 40;
    p.rxCount = 0;
    p.collectReply = true;
    return {Arm(IDT_WAITCONNECT, 2000), Effect(Kind::ClearReply)};
}

CallSteps::Effects CallSteps::WaitConnect(CallProgress& p) {
    if (p.rxCount != 0) {
        p.state = SessionState::Checking;
        return {Arm(IDT_CHECKREPLY, 500)};
    }
    if (p.connectSecondsLeft == 0) {
        // No answer: hung up without the end step.
        p.collectReply = false;
        return {Status("Hangup..."), Result('4'), Effect(Kind::Hangup)};
    }
    return {Status("Waiting for connection..."), Arm(IDT_WAITCONNECT, 1000)};
}

CallSteps::Effects CallSteps::CheckReply(CallProgress& p, const char* reply) {
    p.collectReply = false;
    const char result = ScanModemReply(reply, p.rxCount);
    Effects out;
    if (result == '1') {
        out.push_back(Result('1'));
        Connected(p, out);
    } else if (result != 0) {
        out.push_back(Result(result));
        p.state = SessionState::Ending;
        out.push_back(Arm(IDT_ENDSESSION, 100));
    } else {
        // Collected afresh: no comparison reads what came before.
        p.collectReply = true;
        p.rxCount = 0;
        p.state = SessionState::Waiting;
        out = {Effect(Kind::ClearReply), Status("Waiting for connection..."),
               Arm(IDT_WAITCONNECT, 1000)};
    }
    return out;
}

CallSteps::Effects CallSteps::Command(CallProgress& p, int k, const char* command,
                                      char trackedCommand) {
    Effects out;
    if (k >= 2) {
        out.push_back(Effect(Kind::CloseCapture));
        out.push_back(OfCommand(Kind::HandBack, k - 1));
    } else {
        p.dataSeen = false;
    }
    out.push_back(Status("Command" + std::to_string(k) + "..."));
    out.push_back(OfCommand(Kind::OpenCapture, k));
    if (command[0] == '\0') {
        Finish(p, k, out);
        return out;
    }
    p.state = Running(k);
    out.push_back(OfCommand(Kind::SendCommand, k));
    out.push_back(Arm(WatchTimer(k), 2000));
    p.rxCount = 0;
    p.cmdSecondsLeft = 3;
    p.quietSecondSeen = false;
    if (!IsIncrementalDumpCommand(command, &p.dumpWord))
        return out;
    // The logger gets 25 quiet seconds to start its dump.
    p.cmdSecondsLeft = 25;
    if (trackedCommand == '0' + k)
        out.push_back(OfCommand(Kind::TrackDump, k));
    return out;
}

CallSteps::Effects CallSteps::WatchCommand(CallProgress& p, int k) {
    Effects out;
    if (p.rxCount != 0) {
        // Output reloads the budget once a quiet second has passed or
        // plenty came; before that a dump keeps its starting budget.
        if (p.quietSecondSeen || p.rxCount > 40)
            p.cmdSecondsLeft = p.dumpWord ? 7 : 3;
        p.rxCount = 0;
        p.dataSeen = true;
        out.push_back(Arm(WatchTimer(k), 1000));
    } else if (p.cmdSecondsLeft > 0) {
        --p.cmdSecondsLeft;
        p.quietSecondSeen = true;
        out.push_back(Arm(WatchTimer(k), 1000));
    } else {
        Finish(p, k, out);
    }
    return out;
}

CallSteps::Effects CallSteps::End(CallProgress& p) {
    Effects out = {Effect(Kind::CloseCapture), OfCommand(Kind::HandBack, 3)};
    p.connected = false;
    out.push_back(Effect(Kind::BlankCaptureLabel));
    out.push_back(DataReceived(p.dataSeen));
    out.push_back(Effect(Kind::BlankDumpDate));
    out.push_back(Status("Hangup..."));
    if (!p.directLink) {
        // The hang-up's "ATH" ends the call.
        out.push_back(Effect(Kind::Hangup));
        return out;
    }
    p.state = SessionState::None;
    out.push_back(Effect(Kind::Release));
    return out;
}

CallSteps::Effects CallSteps::Hangup(CallProgress& p) {
    Effects out;
    p.collectReply = false;
    if (p.connected) {
        p.connected = false;
        // Commands before the one running (or just finished) were handed
        // back when their successor started.
        if (const int k = CommandOf(p.state))
            out.push_back(OfCommand(Kind::HandBack, k));
        out.push_back(DataReceived(p.dataSeen));
    }
    p.state = SessionState::Hangup;
    out.push_back(Effect(Kind::BlankCaptureLabel));
    out.push_back(Effect(Kind::CloseCapture));
    return out;
}
