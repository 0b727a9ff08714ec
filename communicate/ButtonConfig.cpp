#include "communicate/ButtonConfig.h"

#include <cerrno>

#include "framework/FileReader.h"
#include "framework/Files.h"

namespace {

struct DefaultButton {
    const char* caption;
    const char* data;
    unsigned char plot;
};

const DefaultButton kDefaults[16] = {
    {"Status", "ST^M", 0},       {"Comm", "COM^M", 0},         {"Dump Rain", "DUR^M", 1},
    {"Dump River", "DURV^M", 1}, {"Set Time", "T=^T^M", 0},    {"Set Date", "D=^D^M", 0},
    {"Water Level", "WL^M", 0},  {"Help", "?^M", 0},           {"Dump Rain", "DUR^M", 1},
    {"Dump River", "DURV^M", 1}, {"Dump BVInt", "DUBVI^M", 1}, {"Dmp BVExt", "DUBVE^M", 1},
    {"Dump BV", "DUBV^M", 1},    {"Dmp BV+T", "DUBVT^M", 1},   {"Dump Temp", "DUTMP^M", 1},
    {"Dump All", "DUALL^M", 1},
};

} // namespace

ButtonDefinition ParseButtonLine(const std::string& line) {
    ButtonDefinition def;
    // The line ends at a NUL as a C string would.
    const std::string text = line.substr(0, line.find('\0'));
    const std::size_t first = text.find(',');
    if (first == std::string::npos)
        return def;
    def.caption = text.substr(0, first);
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string::npos)
        return def;
    def.data = text.substr(first + 1, second - first - 1);
    def.plot = (second + 1 < text.size() && text[second + 1] == '1') ? 1 : 0;
    return def;
}

bool ReadButtonFile(const std::string& path, ButtonArrays buttons) {
    // 72 lines, each cut to its first 80 bytes; a runaway file (no line
    // ends within a megabyte) reads as no file.
    CFileReader file;
    if (!file.Open(path, 1u << 20))
        return false;
    ButtonDefinition defs[kButtonCount + 1];
    std::string line;
    for (int i = 1; i <= kButtonCount; ++i)
        if (file.ReadLine(line, std::size_t(kButtonLineBytes)))
            defs[i] = ParseButtonLine(line);
    if (file.Cut())
        return false;
    for (int i = 1; i <= kButtonCount; ++i) {
        buttons.caption[i] = defs[i].caption;
        buttons.data[i] = defs[i].data;
        buttons.plot[i] = defs[i].plot;
    }
    return true;
}

void FillDefaultButtons(ButtonArrays buttons) {
    for (int i = 1; i <= kButtonCount; ++i) {
        const bool builtIn = i <= 16;
        buttons.caption[i] = builtIn ? kDefaults[i - 1].caption : "";
        buttons.data[i] = builtIn ? kDefaults[i - 1].data : "";
        buttons.plot[i] = builtIn ? kDefaults[i - 1].plot : 0;
    }
}

std::string FormatButtonFile(ButtonArrays buttons) {
    std::string bytes;
    for (int i = 1; i <= kButtonCount; ++i) {
        bytes += buttons.caption[i];
        bytes += ',';
        bytes += buttons.data[i];
        bytes += buttons.plot[i] ? ",1\r\n" : ",0\r\n";
    }
    return bytes;
}

bool WriteButtonFile(const std::string& path, ButtonArrays buttons, int* error, bool synced) {
    return WriteFileIfDifferent(path, FormatButtonFile(buttons), error, synced);
}
