#include "schedule/PollLog.h"

#include <algorithm>

#include "framework/Files.h"
#include "framework/Text.h"
#include "schedule/ScheduleStatus.h"
#include "schedule/ScheduleTime.h"

namespace {

// The name in a column 20 characters wide, right-aligned: its first 20
// characters.
std::string NameColumn(const char* name) {
    std::string text = name ? name : "";
    text.resize(Utf8CharPrefixLength(text, 20));
    return std::string(20 - std::min<std::size_t>(20, Utf8CharCount(text)), ' ') + text;
}

} // namespace

std::string FormatLogStart(const LocalTime& now, int site, const char* name, const char* phone,
                           int attempt) {
    char month[4];
    MonthName(month, now.month);
    return Format("%02d-%s-%04d %02d:%02d:%02d  Site#%03d  %s  %15s  Attempt#%d  ", now.day, month,
                  now.year, now.hour, now.minute, now.second, site, NameColumn(name).c_str(),
                  phone ? phone : "", attempt);
}

std::string FormatLogResult(char status) {
    return std::string(LogResultText(status)) + " \r\n";
}

namespace {

bool Append(const std::string& path, const std::string& piece, bool startsLine) {
    CFile file;
    if (!file.Open(path, CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                             CFile::typeBinary))
        return false;
    const std::uint64_t length = file.SeekToEnd();
    std::string bytes = piece;
    if (startsLine && length > 0) {
        char last[2] = {0, 0};
        const std::uint64_t tail = length >= 2 ? 2 : 1;
        file.Seek(length - tail);
        const std::size_t got = file.Read(last, std::size_t(tail));
        const bool closed = got == 2 && last[0] == '\r' && last[1] == '\n';
        if (!closed)
            bytes.insert(0, got >= 1 && last[got - 1] == '\r' ? "\n" : "\r\n");
        file.SeekToEnd();
    }
    return file.Write(bytes);
}

} // namespace

bool AppendToLog(const std::string& path, const std::string& piece) {
    return Append(path, piece, false);
}

bool StartLogLine(const std::string& path, const std::string& piece) {
    return Append(path, piece, true);
}
