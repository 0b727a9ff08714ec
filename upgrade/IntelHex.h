// Intel HEX firmware files: checking a file and turning its record lines into the frames that
// go to a logger, ':' followed by up to 22 bytes of the binary record. Plain C++, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Bytes of one frame on the line: ':' and at most 22 binary bytes.
constexpr int kHexFrameBytes = 23;
// A file longer than this is not a firmware file.
constexpr std::size_t kHexFileLimit = std::size_t(16) << 20;

constexpr std::uint8_t kHexRecordData = 0x00;
constexpr std::uint8_t kHexRecordEndOfFile = 0x01;

// One piece of a record line. A record of up to 22 binary bytes (16 data bytes make 21) is
// one frame; a longer one goes out in several, each behind its own ':'.
struct HexFrame {
    std::uint8_t bytes[kHexFrameBytes] = {};
    std::uint8_t length = 0;      // ':' included
    bool firstPiece = false;      // the piece that holds the record's count, address and type
    std::uint8_t recordType = 0;  // the record's type (same for every piece of it)
    std::uint32_t textOffset = 0; // index in the file of the piece's first hex digit
};

// '0'-'9', 'A'-'F' and 'a'-'f' give their values; any other character gives 0.
std::uint8_t HexPairToByte(char high, char low);

// The first fault found in a firmware file, and the line (from 1) it is on; 0 when it is on
// no line.
enum class HexFault { None, TooLarge, NotARecord, BadChecksum, UnknownType, DataAfterLast, NoEnd };
struct HexCheck {
    HexFault fault = HexFault::None;
    int line = 0;
};

// Checks a whole file and converts its records up to and including the end-of-file record.
// Lines end at CR, LF or CR LF; blank lines are skipped and whatever follows the end-of-file
// record is ignored. Every other line must be ':' and an even number of hex digits (either
// case) whose byte count matches the line's length, whose bytes sum to 0 modulo 256 and whose
// type is one of 00 to 05. With `px70` no record other than a data record may come before the
// last data record (that device takes the first such record as the last). False, with no
// frames, for any fault, for a file without an end-of-file record and for one larger than
// kHexFileLimit; `check` (when given) gets the first fault.
bool ConvertHexFile(const char* text, std::size_t length, bool px70, std::vector<HexFrame>* frames,
                    HexCheck* check = nullptr);

// What is wrong, for the user: "bad checksum on line 12", "no end record", ...; empty for none.
std::string HexFaultText(const HexCheck& check);

// The frame is the last one to send: its record is the end-of-file record, or for PX70 any
// record that is not a data record. Only a record's first piece can be the last.
bool IsLastHexFrame(const HexFrame& frame, bool px70);

// The diagnostics line of a frame: ":" for a record's first piece, then " 0x" and the two hex
// digits of each byte as they stand in the file.
std::string HexFrameDump(const HexFrame& frame, const char* text, std::size_t length);
