#include "schedule/SiteFile.h"

#include <cstdio>
#include <cstdlib>

#include "framework/Text.h"
#include "schedule/FieldReader.h"
#include "schedule/ScheduleTime.h"

namespace {

// The text with every comma, CR, LF and NUL left out, cut to `limit`.
std::string CleanField(const std::string& text, std::size_t limit) {
    std::string out;
    for (char c : text) {
        if (out.size() >= limit)
            break;
        if (c != ',' && c != '\r' && c != '\n' && c != '\0')
            out += c;
    }
    return out;
}

int LeadingNumber(const char* text) {
    int value = 0;
    for (int i = 0; i < 6 && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

// The attempts field as atoi reads it: blanks, a sign, then digits (" 3" and "+3" are 3).
int AttemptsOf(const char* field) {
    const long attempts = std::strtol(field, nullptr, 10);
    return attempts >= 1 && attempts <= 9 ? int(attempts) : 1;
}

} // namespace

std::string DefaultSiteLine(int site) {
    char line[48];
    std::snprintf(line, sizeof line, "#%03d,,,,-,0,D,,,,R,,,,R,,,,R\r\n", site);
    return line;
}

std::string DefaultSiteFile() {
    std::string bytes;
    bytes.reserve(9000);
    for (int site = 1; site <= kSiteCount; ++site)
        bytes += DefaultSiteLine(site);
    return bytes;
}

std::string FormatSiteLine(const SiteRecord& record) {
    char number[16];
    std::snprintf(number, sizeof number, "#%03d,", record.site);
    std::string line = number;
    line += CleanField(record.name, kMaxSiteName) + ",";
    line += CleanField(record.phone, kMaxPhone) + ",";
    const int attempts = record.attempts >= 1 && record.attempts <= 9 ? record.attempts : 1;
    line += char('0' + attempts);
    line += ",";
    std::string start = CleanField(record.start, kStartFieldLength);
    line += (start.empty() ? std::string("-") : start) + ",";
    // A whole number of at most 9 digits; anything else is "0" (never due).
    bool digits = !record.interval.empty() && record.interval.size() <= 9;
    for (char c : record.interval)
        digits = digits && c >= '0' && c <= '9';
    line += (digits ? record.interval : std::string("0")) + ",";
    line += record.unit == 'M' ? "M," : record.unit == 'H' ? "H," : "D,";
    for (int k = 0; k < 3; ++k) {
        const SiteCommand& cmd = record.commands[k];
        line += CleanField(cmd.command, kMaxCommand) + ",";
        line += CleanField(cmd.file, kMaxCaptureName) + ",";
        line += cmd.append ? "A," : ",";
        line += WrittenFormLetter(cmd.form);
        if (k < 2)
            line += ",";
    }
    line += "\r\n";
    return line;
}

SiteRecord ParseSiteLine(const char* line) {
    // No reader holds more of a line than its line buffer.
    char bounded[kLineBufferSize];
    BoundedCopy(bounded, sizeof bounded - 1, line);
    SiteRecord record;
    char field[kFieldBufferSize];
    const char* p = CopyField(bounded, field);
    record.site = field[0] == '#' ? LeadingNumber(field + 1) : 0;
    p = CopyField(p, field);
    record.name = field;
    p = CopyField(p, field);
    record.phone = field;
    p = CopyField(p, field);
    record.attempts = AttemptsOf(field);
    p = CopyField(p, field);
    record.start = field;
    p = CopyField(p, field);
    record.interval = field;
    p = CopyField(p, field);
    record.unit = field[0] == 'M' ? 'M' : field[0] == 'H' ? 'H' : 'D';
    for (SiteCommand& cmd : record.commands) {
        p = CopyField(p, field);
        cmd.command = field;
        p = CopyField(p, field);
        cmd.file = field;
        p = CopyField(p, field);
        cmd.append = field[0] == 'A';
        p = CopyField(p, field);
        cmd.form = field[0];
    }
    return record;
}

CallCommands CallCommandsOf(const SiteRecord& record) {
    CallCommands call;
    for (int k = 0; k < 3; ++k) {
        const SiteCommand& from = record.commands[k];
        CallCommand& to = call.command[k];
        const char form[2] = {from.form, '\0'};
        CutCallCommand(from.command.c_str(), from.file.c_str(), from.append ? "A" : "", form,
                       to.szCommand, to.szFile, to.cAppend, to.cForm);
    }
    return call;
}

bool ReadStartField(const std::string& field, StartTime* time) {
    if (field == "-" || field.size() != kStartFieldLength)
        return false;
    const char* text = field.c_str();
    time->hour = LeadingNumber(text);
    time->minute = LeadingNumber(text + 3);
    time->day = LeadingNumber(text + 6);
    time->month = LeadingNumber(text + 9);
    time->year = LeadingNumber(text + 12);
    return true;
}

std::string FormatStartField(const StartTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d %02d-%02d-%04d", time.hour, time.minute, time.day,
                  time.month, time.year);
    return text;
}

bool IsRealStartTime(const StartTime& time) {
    return MakeSiteTime(time.year, time.month, time.day, time.hour, time.minute, 0).valid;
}
