#include <gtest/gtest.h>

#include <random>

#include "tests/upgrade/HexFixtures.h"
#include "upgrade/IntelHex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<HexFrame> Frames(const std::string& file, bool px70 = false) {
    std::vector<HexFrame> frames;
    EXPECT_TRUE(ConvertHexFile(file.data(), file.size(), px70, &frames)) << file;
    return frames;
}

bool Refused(const std::string& file, bool px70 = false) {
    std::vector<HexFrame> frames;
    const bool ok = ConvertHexFile(file.data(), file.size(), px70, &frames);
    return !ok && frames.empty();
}

std::string Bytes(const HexFrame& f) {
    return std::string(reinterpret_cast<const char*>(f.bytes), f.length);
}

std::vector<std::string> AllBytes(const std::vector<HexFrame>& frames) {
    std::vector<std::string> out;
    for (const HexFrame& f : frames)
        out.push_back(Bytes(f));
    return out;
}

TEST(IntelHexTest, RecordLinesBecomeFramesSplitAfter22Bytes) {
    const std::string eof = HexLine(0, 1, {});
    EXPECT_EQ(eof, ":00000001FF");
    const std::string file = HexLine(0x0100, 0, DataBytes(16, 1)) + "\r\n" +
                             HexLine(0x0110, 0, DataBytes(32, 2)) + "\r\n" +
                             HexLine(0x0130, 0, DataBytes(17, 3)) + "\r\n" + eof + "\r\n";
    const std::vector<HexFrame> frames = Frames(file);
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0].length, 22); // ':' and 21 binary bytes
    EXPECT_EQ(frames[0].bytes[1], 16);
    EXPECT_EQ(frames[0].bytes[2], 0x01);
    EXPECT_EQ(frames[0].bytes[5], DataBytes(16, 1)[0]);
    EXPECT_EQ(frames[1].length, 23); // 32 data bytes: 23 + 16
    EXPECT_EQ(frames[2].length, 16);
    EXPECT_TRUE(frames[1].firstPiece);
    EXPECT_FALSE(frames[2].firstPiece);
    EXPECT_EQ(frames[2].bytes[0], ':');
    EXPECT_EQ(frames[3].length, 23); // 17 data bytes: one frame, no lone ':' after it
    EXPECT_EQ(Bytes(frames[4]), std::string(":\x00\x00\x00\x01\xFF", 6));
    EXPECT_EQ(HexFrameDump(frames[4], file.data(), file.size()), ": 0x00 0x00 0x00 0x01 0xFF");
    EXPECT_EQ(HexFrameDump(frames[2], file.data(), file.size()).substr(0, 3), " 0x");

    // Line ends and letter case change nothing on the line.
    const std::vector<std::string> expected = AllBytes(Frames(FirmwareFile(40)));
    EXPECT_EQ(AllBytes(Frames(FirmwareFile(40, "\n"))), expected);
    EXPECT_EQ(AllBytes(Frames(FirmwareFile(40, "\r"))), expected);
    EXPECT_EQ(AllBytes(Frames(FirmwareFile(40, "\r\n", true))), expected);
    // Blank lines are skipped, whatever follows the end-of-file record is ignored.
    EXPECT_EQ(AllBytes(Frames("\r\n" + FirmwareFile(40, "\n\n") + "garbage\x1A")), expected);
    EXPECT_EQ(HexPairToByte('a', 'F'), 0xAF);
    EXPECT_EQ(HexPairToByte('g', '1'), 0x01);
}

TEST(IntelHexTest, OnlyARecordsFirstPieceCanBeTheLast) {
    // A continuation whose fifth byte is 0x01 is data, not an end-of-file record.
    std::vector<int> data(30, 0x01);
    const std::string file = HexLine(0x0000, 0, data) + "\n" + HexLine(0x0000, 4, {0x00, 0x00}) +
                             "\n" + HexLine(0, 1, {}) + "\n";
    const std::vector<HexFrame> frames = Frames(file);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[1].bytes[4], 0x01);
    for (bool px70 : {false, true})
        EXPECT_FALSE(IsLastHexFrame(frames[1], px70));
    // PX70 ends at any record that is not data; the others at end-of-file only.
    EXPECT_FALSE(IsLastHexFrame(frames[2], false));
    EXPECT_TRUE(IsLastHexFrame(frames[2], true));
    EXPECT_TRUE(IsLastHexFrame(frames[3], false));
    EXPECT_FALSE(IsLastHexFrame(frames[0], true));
}

TEST(IntelHexTest, RefusesMalformedFiles) {
    const std::string good = HexLine(0x10, 0, DataBytes(16, 5));
    const std::string eof = HexLine(0, 1, {}) + "\r\n";
    std::string badSum = good;
    badSum.back() = badSum.back() == '0' ? '1' : '0';
    const std::string cases[] = {
        "",                                                        // empty
        good + "\r\n",                                             // no end-of-file record
        "0" + good.substr(1) + "\r\n" + eof,                       // no ':'
        good + "0\r\n" + eof,                                      // odd digits
        good.substr(0, 9) + "zz" + good.substr(11) + "\r\n" + eof, // not hex
        ":10001000" + good.substr(9, 20) + "\r\n" + eof,           // short of its count
        badSum + "\r\n" + eof,                                     // checksum
        good + " \r\n" + eof,                                      // text behind the digits
        ":00000001\r\n",                                           // record too short
    };
    for (const std::string& file : cases)
        EXPECT_TRUE(Refused(file)) << file;

    // PX70 stops at the first record that is not data: none may come before the last data.
    const std::string leading = HexLine(0, 4, {0x00, 0x00}) + "\r\n" + good + "\r\n" + eof;
    EXPECT_FALSE(Refused(leading));
    EXPECT_TRUE(Refused(leading, true));
    EXPECT_FALSE(Refused(good + "\r\n" + HexLine(0, 5, {0, 0, 0, 0}) + "\r\n" + eof, true));

    std::string huge = FirmwareFile(1);
    huge.resize(kHexFileLimit + 1, '\n');
    EXPECT_TRUE(Refused(huge));
}

TEST(IntelHexTest, MutatedFilesNeverBreakTheConverter) {
    std::mt19937 random(1234);
    const std::string base =
        FirmwareFile(6) + HexLine(0, 4, {0, 1}) + "\n" + HexLine(0x20, 0, DataBytes(40, 9)) + "\n";
    for (int round = 0; round < 3000; ++round) {
        std::string file = base;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % file.size();
            switch (random() % 3) {
            case 0:
                file[at] = char(random() % 256);
                break;
            case 1:
                file.erase(at, 1 + random() % 8);
                break;
            default:
                file.insert(at, 1, "0123456789ABCDEF:\r\n"[random() % 19]);
                break;
            }
            if (file.empty())
                file = ":";
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    }
}

} // namespace
