#include "upgrade/IntelHex.h"

#include <cstdio>

namespace {

int NibbleOf(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool IsBlank(const char* text, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
        if (text[i] != ' ' && text[i] != '\t')
            return false;
    }
    return true;
}

// Binary bytes of a frame after its ':'.
constexpr std::size_t kPieceBytes = kHexFrameBytes - 1;
// Record types 00 (data) to 05 (start linear address).
constexpr std::uint8_t kHexLastRecordType = 0x05;

bool Refuse(std::vector<HexFrame>* frames, HexCheck* check, HexFault fault, int line) {
    frames->clear();
    if (check != nullptr)
        *check = {fault, line};
    return false;
}

} // namespace

std::uint8_t HexPairToByte(char high, char low) {
    const int h = NibbleOf(high);
    const int l = NibbleOf(low);
    return std::uint8_t((h < 0 ? 0 : h) * 16 + (l < 0 ? 0 : l));
}

bool ConvertHexFile(const char* text, std::size_t length, bool px70, std::vector<HexFrame>* frames,
                    HexCheck* check) {
    frames->clear();
    if (check != nullptr)
        *check = {};
    if (text == nullptr || length > kHexFileLimit)
        return Refuse(frames, check, HexFault::TooLarge, 0);

    bool sawOtherRecord = false;
    int line = 0;
    std::size_t pos = 0;
    while (pos < length) {
        std::size_t end = pos;
        while (end < length && text[end] != '\r' && text[end] != '\n')
            ++end;
        const std::size_t begin = pos;
        pos = end;
        if (pos < length && text[pos] == '\r')
            ++pos;
        if (pos < length && text[pos] == '\n')
            ++pos;
        ++line;
        if (IsBlank(text, begin, end))
            continue;

        // ':' and an even number of hex digits: count, address (2), type, data, checksum.
        const std::size_t digits = end - begin - 1;
        if (text[begin] != ':' || digits % 2 != 0 || digits / 2 < 5)
            return Refuse(frames, check, HexFault::NotARecord, line);
        const std::size_t total = digits / 2;
        unsigned sum = 0;
        bool hex = true;
        for (std::size_t i = begin + 1; i < end; ++i)
            hex = hex && NibbleOf(text[i]) >= 0;
        if (!hex)
            return Refuse(frames, check, HexFault::NotARecord, line);
        for (std::size_t k = 0; k < total; ++k)
            sum += HexPairToByte(text[begin + 1 + 2 * k], text[begin + 2 + 2 * k]);
        const std::size_t count = HexPairToByte(text[begin + 1], text[begin + 2]);
        if (count + 5 != total)
            return Refuse(frames, check, HexFault::NotARecord, line);
        if ((sum & 0xFF) != 0)
            return Refuse(frames, check, HexFault::BadChecksum, line);
        const std::uint8_t type = HexPairToByte(text[begin + 7], text[begin + 8]);
        if (type > kHexLastRecordType)
            return Refuse(frames, check, HexFault::UnknownType, line);
        if (type == kHexRecordData && sawOtherRecord && px70)
            return Refuse(frames, check, HexFault::DataAfterLast, line);
        if (type != kHexRecordData)
            sawOtherRecord = true;

        for (std::size_t first = 0; first < total; first += kPieceBytes) {
            HexFrame frame;
            frame.bytes[0] = ':';
            frame.firstPiece = first == 0;
            frame.recordType = type;
            frame.textOffset = std::uint32_t(begin + 1 + 2 * first);
            std::size_t n = 0;
            for (; n < kPieceBytes && first + n < total; ++n) {
                const std::size_t at = frame.textOffset + 2 * n;
                frame.bytes[1 + n] = HexPairToByte(text[at], text[at + 1]);
            }
            frame.length = std::uint8_t(1 + n);
            frames->push_back(frame);
        }
        if (type == kHexRecordEndOfFile)
            return true;
    }
    return Refuse(frames, check, HexFault::NoEnd, 0);
}

std::string HexFaultText(const HexCheck& check) {
    char text[80];
    switch (check.fault) {
    case HexFault::None:
        return std::string();
    case HexFault::TooLarge:
        std::snprintf(text, sizeof text, "the file is larger than %zu MB", kHexFileLimit >> 20);
        break;
    case HexFault::NotARecord:
        std::snprintf(text, sizeof text, "line %d is not a record", check.line);
        break;
    case HexFault::BadChecksum:
        std::snprintf(text, sizeof text, "bad checksum on line %d", check.line);
        break;
    case HexFault::UnknownType:
        std::snprintf(text, sizeof text, "unknown record type on line %d", check.line);
        break;
    case HexFault::DataAfterLast:
        std::snprintf(text, sizeof text, "line %d is data past the record the PX70 ends at",
                      check.line);
        break;
    case HexFault::NoEnd:
        return "no end record";
    }
    return text;
}

bool IsLastHexFrame(const HexFrame& frame, bool px70) {
    if (!frame.firstPiece)
        return false;
    return px70 ? frame.recordType != kHexRecordData : frame.recordType == kHexRecordEndOfFile;
}

std::string HexFrameDump(const HexFrame& frame, const char* text, std::size_t length) {
    std::string dump = frame.firstPiece ? ":" : "";
    for (int k = 1; k < frame.length; ++k) {
        const std::size_t at = frame.textOffset + 2 * std::size_t(k - 1);
        if (at + 1 >= length)
            break;
        dump += " 0x";
        dump += text[at];
        dump += text[at + 1];
    }
    return dump;
}
