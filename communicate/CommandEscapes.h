// Command texts sent in pieces: the escapes ("^M", "^T", "^D", "^d", "^t",
// "^L", "~") and the dump words that may begin a piece. Plain C++.
#pragma once

#include <cstddef>
#include <string>

#include "communicate/DumpState.h"
#include "framework/Clock.h"

// What a piece may take from outside the command.
struct PieceContext {
    LocalTime now;
    // 0 for a user button; during a scheduled call the site's tracked
    // command '0' to '3', which turns "^t" and "^L" on.
    char dumpEventCommand = 0;
    // The site's last dump event "HH:MM:SS DD/MM/YY", or empty.
    std::string dumpEvent;
};

struct Piece {
    std::string bytes;     // what goes to the port; empty: the command ends
    bool pause = false;    // a "~" ended it: the next piece follows 500 ms later
    bool bookmark = false; // "^t" set the three values below
    int bookmarkHour = 0;
    int bookmarkMinute = 0;
    int bookmarkSecond = 0;
    std::string dumpDate; // "^L" substituted this date
};

// Builds the next piece of `command` (a NUL ends it) from `pos`, which it
// moves past what it took. A piece ends after "^M"/"^m", at the end of the
// text, or at a "~". Never reads past `size` bytes.
Piece NextPiece(const char* command, std::size_t size, std::size_t& pos,
                const PieceContext& context);

// The dump kinds, in the order their words are matched.
struct DumpKind {
    const char* word;    // "DURV"
    const char* prefix;  // file name prefix "Durv"
    DumpState announced; // the dump state while the file waits for the command
    unsigned timerId;    // the second step's timer
};

constexpr int kDumpKindCount = 8;
const DumpKind& DumpKindAt(int index);

// The kind whose word begins `piece` (any letter case), or -1.
int MatchDumpWord(const std::string& piece);
