// The call line of a scheduled call, taken apart: up to three commands,
// each with its capture file, append flag and capture form. The Schedule
// fills it from a site line; the Communicate page runs it. Plain C++.
#pragma once

#include <cstddef>

constexpr std::size_t kCallCommandChars = 100;
constexpr std::size_t kCallFileChars = 100;
constexpr std::size_t kCallLineChars = 799;

// The letters a call line gives the capture forms Raw, CSV-1, CSV-2 and
// Tideda, in that order.
constexpr char kCaptureFormLetters[4] = {'R', '1', '2', 'T'};

// The place of a form letter in kCaptureFormLetters; -1 for any other byte.
constexpr int FormIndexOfLetter(char letter) {
    for (int i = 0; i < 4; ++i)
        if (kCaptureFormLetters[i] == letter)
            return i;
    return -1;
}

// A form letter as the Schedule writes it back: any other byte is Raw's.
constexpr char WrittenFormLetter(char letter) {
    return FormIndexOfLetter(letter) < 0 ? kCaptureFormLetters[0] : letter;
}

struct CallCommand {
    char szCommand[kCallCommandChars + 1] = {}; // logger command with its escapes
    char szFile[kCallFileChars + 1] = {};       // capture file name template
    char cAppend[2] = {};                       // "A": append to the capture file
    char cForm[2] = {};                         // form letter as written; any other: no capture
};

struct CallCommands {
    CallCommand command[3];
};

// One call command's fields into buffers of the widths above (each one
// longer for its NUL), cut to those widths: the command, the file name
// template, and the first byte of the append flag and of the form.
void CutCallCommand(const char* command, const char* file, const char* append, const char* form,
                    char* toCommand, char* toFile, char* toAppend, char* toForm);

// Written out as a call line (its fields, the commas between them and the
// CR), the commands stay within the call line's 799 bytes.
static_assert(3 * (kCallCommandChars + kCallFileChars + 2) + 11 + 1 <= kCallLineChars);
