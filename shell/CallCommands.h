// The call line of a scheduled call, taken apart: up to three commands,
// each with its capture file, append flag and capture form. The Schedule
// fills it from a site line; the Communicate page runs it. Plain C++.
#pragma once

#include <cstddef>

constexpr std::size_t kCallCommandChars = 100;
constexpr std::size_t kCallFileChars = 100;
constexpr std::size_t kCallLineChars = 799;

struct CallCommand {
    char szCommand[kCallCommandChars + 1] = {}; // logger command with its escapes
    char szFile[kCallFileChars + 1] = {};       // capture file name template
    char cAppend[2] = {};                       // "A": append to the capture file
    char cForm[2] = {}; // form letter as written: 'R', '1', '2', 'T'; any other: no capture
};

struct CallCommands {
    CallCommand command[3];
};

// Written out as a call line (its fields, the commas between them and the
// CR), the commands stay within the call line's 799 bytes.
static_assert(3 * (kCallCommandChars + kCallFileChars + 2) + 11 + 1 <= kCallLineChars);
