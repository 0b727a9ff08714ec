// "buttn.cfg": the 72 user-button definitions, one line each,
// "caption,data,flag" CR LF, with no quoting. Plain C++.
#pragma once

#include <string>

constexpr int kButtonCount = 72; // nine levels of eight
constexpr int kButtonSlots = 81; // indexes 1 to 72 are used
constexpr int kButtonLineBytes = 80;

struct ButtonDefinition {
    std::string caption;
    std::string data;
    unsigned char plot = 0;
};

// The arrays a page or dialog keeps, indexed 1 to 72.
struct ButtonArrays {
    std::string* caption;
    std::string* data;
    unsigned char* plot;
};

// Splits one line: the caption up to the first comma, the data up to the
// second, and the flag 1 when the byte after the second comma is '1'.
ButtonDefinition ParseButtonLine(const std::string& line);

// Reads 72 lines into `buttons`, each line taken to its LF and cut to its
// first 80 bytes; missing lines give empty definitions. False (and
// `buttons` untouched) when the file cannot be opened, is no regular file
// or runs on past a megabyte within those lines.
bool ReadButtonFile(const std::string& path, ButtonArrays buttons);

// The sixteen built-in definitions on levels 1 and 2, the rest empty.
void FillDefaultButtons(ButtonArrays buttons);

// The 72 lines as the file holds them.
std::string FormatButtonFile(ButtonArrays buttons);

// Replaces the file with the 72 lines (old or new, never half; not
// rewritten when it already holds them); on failure `error` gets the
// errno value and the file is as it was. Unsynced, nothing waits for the
// disk (a power cut may leave the old file).
bool WriteButtonFile(const std::string& path, ButtonArrays buttons, int* error, bool synced = true);
