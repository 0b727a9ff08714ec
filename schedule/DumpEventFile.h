// "last.cfg": one DumpEventRecord line per site, 300 lines of four comma
// fields and CR LF; the same line opens "copy.cfg". Plain C++.
#pragma once

#include <cstddef>
#include <string>

constexpr std::size_t kDumpEventSize = 20;  // event text and NUL
constexpr std::size_t kEventTotalSize = 15; // running total and NUL
// The highest repeat count a line can hold: '0' + 78 is '~'.
constexpr int kMaxRepeatCount = 78;

struct DumpEventRecord {
    char command = '0';                  // tracked command '0' (none) to '3'
    char event[kDumpEventSize] = "";     // time stamp of the last record captured
    char repeats = '1';                  // '0' plus the repeat count
    char total[kEventTotalSize] = "0.0"; // running total as text
};

// "0,,1,0.0\r\n".
const char* DefaultDumpEventLine();
// The 300 default lines (3000 bytes).
std::string DefaultDumpEventFile();

// Reads a line of `length` bytes: fewer than 10 bytes give the default
// record; an empty command field gives '0' (so does one outside '0'..'3'),
// an empty repeat field or one outside '0'..'~' gives '1'; the event and the
// total are cut at 19 and 14 characters, the total's trailing spaces dropped.
DumpEventRecord ParseDumpEventLine(const char* line, std::size_t length);

// command, ',', event, ',', repeat character, ',', total, CR LF. The texts
// stop at a comma, CR, LF or NUL, and a short total is padded with spaces to
// make the line 10 bytes, so the line always reads back the same.
std::string FormatDumpEventLine(const DumpEventRecord& record);

// '0' plus the count, the count held to 0..78.
char RepeatChar(int count);
// The count of a repeat character, 0..78.
int RepeatCount(char repeats);
