#include "schedule/DumpEventFile.h"

#include <cstring>

#include "schedule/FieldReader.h"

namespace {

// Shorter lines are read as the default line.
constexpr std::size_t kShortestLine = 10;

// The text of a fixed buffer up to its NUL, its end, or the first comma, CR
// or LF.
std::string FieldText(const char* text, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const char c = text[i];
        if (c == '\0' || c == ',' || c == '\r' || c == '\n')
            break;
        out += c;
    }
    return out;
}

} // namespace

const char* DefaultDumpEventLine() {
    return "0,,1,0.0\r\n";
}

std::string DefaultDumpEventFile() {
    std::string bytes;
    bytes.reserve(3000);
    for (int site = 0; site < 300; ++site)
        bytes += DefaultDumpEventLine();
    return bytes;
}

DumpEventRecord ParseDumpEventLine(const char* line, std::size_t length) {
    DumpEventRecord record;
    if (line == nullptr || length < 10)
        return record;
    char field[400];
    const char* p = CopyField(line, field);
    record.command = field[0] >= '0' && field[0] <= '3' ? field[0] : '0';
    p = CopyField(p, record.event);
    p = CopyField(p, field);
    record.repeats = field[0] >= '0' && field[0] <= '~' ? field[0] : '1';
    CopyField(p, record.total);
    for (std::size_t end = std::strlen(record.total); end > 0 && record.total[end - 1] == ' ';)
        record.total[--end] = '\0';
    return record;
}

std::string FormatDumpEventLine(const DumpEventRecord& record) {
    std::string line;
    line += record.command >= '0' && record.command <= '3' ? record.command : '0';
    line += ',';
    line += FieldText(record.event, sizeof record.event);
    line += ',';
    line += RepeatChar(RepeatCount(record.repeats));
    line += ',';
    line += FieldText(record.total, sizeof record.total);
    // A line under 10 bytes reads as the default line: a short total is
    // padded with spaces, which the reader drops again.
    if (line.size() + 2 < kShortestLine)
        line.append(kShortestLine - 2 - line.size(), ' ');
    line += "\r\n";
    return line;
}

char RepeatChar(int count) {
    if (count < 0)
        count = 0;
    if (count > kMaxRepeatCount)
        count = kMaxRepeatCount;
    return char('0' + count);
}

int RepeatCount(char repeats) {
    const int count = static_cast<unsigned char>(repeats) - '0';
    return count < 0 ? 0 : count > kMaxRepeatCount ? kMaxRepeatCount : count;
}
