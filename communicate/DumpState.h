// DumpState: where the Communicate page's dump stands. Idle, armed by a Yes
// to the plot question, then for each dump kind announced (the file is
// open, the dump command waits for its second step) and receiving (the
// command has gone out; received bytes go into the file). Plain C++.
#pragma once

enum class DumpState : int {
    Idle = 0,
    Armed = 1,
    DurnAnnounced = 2,
    DurnReceiving = 3,
    DurvAnnounced = 4,
    DurvReceiving = 5,
    DubvAnnounced = 6,
    DubvReceiving = 7,
    DubviAnnounced = 8,
    DubviReceiving = 9,
    DubveAnnounced = 10,
    DubveReceiving = 11,
    DubvtAnnounced = 12,
    DubvtReceiving = 13,
    DutmpAnnounced = 14,
    DutmpReceiving = 15,
    DuallAnnounced = 16,
    DuallReceiving = 17,
};

// A dump file is open: announced or receiving.
constexpr bool HasDumpFile(DumpState state) {
    return int(state) >= int(DumpState::DurnAnnounced);
}

constexpr bool IsDumpAnnounced(DumpState state) {
    return HasDumpFile(state) && int(state) % 2 == 0;
}

constexpr bool IsDumpReceiving(DumpState state) {
    return HasDumpFile(state) && int(state) % 2 == 1;
}

// The receiving state that follows an announced one.
constexpr DumpState ReceivingOf(DumpState announced) {
    return DumpState(int(announced) + 1);
}
