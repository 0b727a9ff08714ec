// The steps of a scheduled call without a window: from the Schedule's
// request through the connection (a direct link at once, else the modem's
// reply) and the site's up to three commands to the end of the call. Given
// the call's progress, the command texts and what the line delivered, each
// step updates the progress and says what to send, what to show and which
// timer to arm, as a list of effects the Communicate page carries out in
// order, after it has taken the progress back. Plain C++, no Qt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Timers of a scheduled call, all stopped by a hang-up.
constexpr unsigned IDT_WAITCONNECT = 10009;
constexpr unsigned IDT_CHECKREPLY = 10010;
constexpr unsigned IDT_COMMAND1 = 10011;
constexpr unsigned IDT_WAITCMD1 = 10012;
constexpr unsigned IDT_COMMAND2 = 10013;
constexpr unsigned IDT_WAITCMD2 = 10014;
constexpr unsigned IDT_COMMAND3 = 10015;
constexpr unsigned IDT_WAITCMD3 = 10016;
constexpr unsigned IDT_ENDSESSION = 10017;

// Step of a scheduled call.
enum class SessionState : std::uint8_t {
    None = 0,     // no scheduled call
    Dialling = 1, // "+++" sent, dial command due
    Waiting = 2,  // waiting for the modem's reply
    Checking = 3, // reply bytes to check, or connected
    Command1 = 4, // command 1 running
    Command1Done = 5,
    Command2 = 6,
    Command2Done = 7,
    Command3 = 8,
    Ending = 9,  // the end step is due
    Hangup = 10, // hung up, "ATH" due: no step of the call runs
};

// What a step reads and changes; the page keeps each in its own member.
struct CallProgress {
    SessionState state = SessionState::None;
    int rxCount = 0;            // bytes received since last looked
    int connectSecondsLeft = 0; // seconds left to wait for the modem's reply
    int cmdSecondsLeft = 0;     // seconds of silence the running command still gets
    bool quietSecondSeen = false;
    bool dataSeen = false;     // bytes arrived while a command of this call was watched
    bool dumpWord = false;     // the running command holds a dump word
    bool collectReply = false; // the poll collects the modem's reply
    bool connected = false;    // result '1' or '9': a Hangup publishes what came
    bool directLink = false;
};

struct SessionEffect {
    enum class Kind {
        Result,       // the call's result `result` to the Schedule
        DataReceived, // whether data came (`received`) to the Schedule
        Occupy,       // direct link: the line in use, the controls locked
        Dial,         // dial `text` as "Dial" does
        SendCr,       // one CR to the logger, the poll paused around it
        Status,       // status line "Schedule: <site> - `text`"
        ClearReply,   // the reply buffer emptied
        CloseDump,    // an open dump file closed
        CloseCapture, // the capture file closed
        HandBack,     // command `command`'s dump event back when it is the tracked one
        OpenCapture,  // command `command`'s capture file opened
        SendCommand,  // command `command` goes out, the hang-up countdown reloaded
        TrackDump,    // command `command` is the site's tracked incremental dump
        BlankCaptureLabel,
        BlankDumpDate,
        Hangup,  // hung up as "Hangup" does
        Release, // direct link: controls and line free again, status blank
        Arm,     // timer `timer` in `ms`
    };
    Kind kind{};
    std::string text{};
    char result = 0;
    bool received = false;
    int command = 0;
    unsigned timer = 0;
    int ms = 0;
};

class CallSteps {
public:
    using Effects = std::vector<SessionEffect>;

    // Whether the session timer `id` belongs to the step `state` is at; a
    // timer left over from a call hung up does nothing.
    static bool IsDue(SessionState state, unsigned id);
    // Command 1 to 3 that runs (or has just finished) at `state`; 0 for none.
    static int CommandOf(SessionState state);

    // The Schedule's request with the number `phone` ("D..." a direct link).
    static Effects PickUp(CallProgress& p, const char* phone, bool portOpen);
    // The dial command has gone out: the modem's reply is watched.
    static Effects DialSent(CallProgress& p);
    static Effects WaitConnect(CallProgress& p);
    // `reply`: the 100 bytes the poll collected.
    static Effects CheckReply(CallProgress& p, const char* reply);
    // Command k (1 to 3) is due with its text `command`; `trackedCommand`
    // is the digit of the site's tracked command.
    static Effects Command(CallProgress& p, int k, const char* command, char trackedCommand);
    // The once-a-second watch of command k.
    static Effects WatchCommand(CallProgress& p, int k);
    static Effects End(CallProgress& p);
    // The user's Hangup during a call: what a connected call captured is
    // published; no step of the call runs after it.
    static Effects Hangup(CallProgress& p);
};
