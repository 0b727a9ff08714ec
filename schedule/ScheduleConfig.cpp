#include "schedule/ScheduleConfig.h"

#include "schedule/FieldReader.h"

namespace {

// The first line, through its LF.
std::string FirstLine(const std::string& bytes) {
    const std::size_t lf = bytes.find('\n');
    return lf == std::string::npos ? bytes : bytes.substr(0, lf + 1);
}

int ReadInt(const std::string& bytes, std::size_t pos) {
    while (pos < bytes.size() && (bytes[pos] == ' ' || bytes[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < bytes.size() && (bytes[pos] == '-' || bytes[pos] == '+'))
        negative = bytes[pos++] == '-';
    long long value = 0;
    for (; pos < bytes.size() && bytes[pos] >= '0' && bytes[pos] <= '9'; ++pos) {
        if (value < 1000000000LL)
            value = value * 10 + (bytes[pos] - '0');
    }
    if (value > 1000000000LL)
        value = 1000000000LL;
    return int(negative ? -value : value);
}

} // namespace

std::string FormatStatusConfig(const char* status) {
    std::string line;
    line.reserve(2 * kSiteCount + 3);
    for (int site = 1; site <= kSiteCount; ++site) {
        line += status[site];
        line += ',';
    }
    line.append("\r\n", 2);
    line.push_back('\0');
    return line;
}

void ParseStatusConfig(const std::string& bytes, char* status) {
    const std::string line = FirstLine(bytes);
    for (int site = 1; site <= kSiteCount; ++site) {
        const std::size_t pos = std::size_t(2 * (site - 1));
        const char c = pos < line.size() ? line[pos] : '0';
        status[site] = (c >= '1' && c <= '9') ? c : '0';
    }
}

std::string FormatEnableConfig(bool disableAutoPolling, const BYTE* enabled) {
    std::string line = disableAutoPolling ? "1," : "0,";
    for (int site = 1; site <= kSiteCount; ++site)
        line += enabled[site] ? "1," : "0,";
    line.append("\r\n", 2);
    line.push_back('\0');
    return line;
}

void ParseEnableConfig(const std::string& bytes, bool* disableAutoPolling, BYTE* enabled) {
    const std::string line = FirstLine(bytes);
    *disableAutoPolling = !line.empty() && line[0] == '1';
    // One comma field per site; at the line's end every further field is empty.
    const char* p = line.size() > 2 ? line.c_str() + 2 : "";
    char field[2];
    for (int site = 1; site <= kSiteCount; ++site) {
        p = CopyField(p, field);
        enabled[site] = field[0] == '1' ? 1 : 0;
    }
}

std::string FormatColumnWidths(const int* widths) {
    std::string line;
    for (int i = 0; i < kColumnCount + 1; ++i) {
        if (i)
            line += ',';
        line += std::to_string(widths[i]);
    }
    return line + "\r\n";
}

void ParseColumnWidths(const std::string& bytes, int* widths) {
    widths[0] = ReadInt(bytes, 0);
    std::size_t pos = 0;
    bool ended = false;
    for (int n = 1; n <= kColumnCount; ++n) {
        while (!ended && pos < bytes.size() && bytes[pos] != ',') {
            if (bytes[pos] == '\n')
                ended = true;
            ++pos;
        }
        if (ended || pos >= bytes.size()) {
            ended = true;
            widths[n] = 0;
            continue;
        }
        ++pos; // past the n-th comma
        widths[n] = (pos < bytes.size() && bytes[pos] == '\n') ? 0 : ReadInt(bytes, pos);
    }
}
