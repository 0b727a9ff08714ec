// "site.cfg": one SiteRecord line per site, 300 lines, 19 comma fields and
// CR LF. Plain C++.
#pragma once

#include <cstddef>
#include <string>

#include "shell/CallCommands.h"

constexpr int kSiteCount = 300;
// The longest line a reader holds, CR LF and NUL included; a field buffer.
constexpr std::size_t kLineBufferSize = 800;
constexpr std::size_t kFieldBufferSize = 400;

// Widths of the text fields as the readers of the schedule rely on them.
constexpr std::size_t kMaxSiteName = 51;
constexpr std::size_t kMaxPhone = 51;
constexpr std::size_t kMaxCommand = 99;
constexpr std::size_t kMaxCaptureName = 100;
constexpr std::size_t kStartFieldLength = 16;

struct SiteCommand {
    std::string command; // logger command with its escapes
    std::string file;    // capture file name template
    bool append = false; // "A"
    // 'R' Raw, '1' CSV-1, '2' CSV-2, 'T' Tideda; as read, any other byte
    // (NUL for an empty field) stands: the dialog shows it as Raw, a
    // scheduled call captures nothing for it.
    char form = 'R';
};

struct SiteRecord {
    int site = 1;               // 1..300, written "#%03d"
    std::string name;           //
    std::string phone;          // 'D' first: a direct serial link
    int attempts = 1;           // 1..9
    std::string start = "-";    // "hh:mm dd-mm-yyyy" or "-"
    std::string interval = "0"; // whole number of units
    char unit = 'D';            // 'M', 'H' or 'D'
    SiteCommand commands[3];
};

// Hour, minute, day, month and year of a start field.
struct StartTime {
    int hour = 0;
    int minute = 0;
    int day = 1;
    int month = 1;
    int year = 2008;
};

// "#%03d,,,,-,0,D,,,,R,,,,R,,,,R\r\n" of site n.
std::string DefaultSiteLine(int site);
// The 300 default lines (9000 bytes).
std::string DefaultSiteFile();

// The line as the Edit Schedule dialog writes it, CR LF included. Text
// fields lose any comma, CR, LF or NUL and are cut to their widths, so a
// line always reads back as the same fields on the same site.
std::string FormatSiteLine(const SiteRecord& record);

// The one reader of a "site.cfg" line (NUL-terminated or ending at CR/LF;
// at most its first kLineBufferSize - 1 bytes are read), field by field:
// attempts outside 1..9 count as 1; a unit other than 'M' or 'H' is days;
// the form letter is kept as read. Text fields are cut at the field buffer.
SiteRecord ParseSiteLine(const char* line);

// The call line handed to the Communicate page: the three commands of the
// record, each text cut to its field, "A" or nothing, the form letter.
CallCommands CallCommandsOf(const SiteRecord& record);

// A start field is used only when it is exactly 16 characters and not "-":
// hour, minute, day, month and year from positions 0, 3, 6, 9 and 12, each a
// decimal number up to its first non-digit. False leaves `time` alone.
bool ReadStartField(const std::string& field, StartTime* time);
// "%02d:%02d %02d-%02d-%04d".
std::string FormatStartField(const StartTime& time);
// True for a date and time that exists (seconds 0).
bool IsRealStartTime(const StartTime& time);
