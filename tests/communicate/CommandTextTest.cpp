// Command texts, button definitions and dump names, without a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "communicate/ButtonConfig.h"
#include "communicate/CommandEscapes.h"
#include "communicate/DumpNaming.h"

namespace {

// Every piece of `command` until it ends, pauses shown as "~".
std::vector<std::string> Pieces(const std::string& command, PieceContext context = {}) {
    char buffer[103] = {};
    command.copy(buffer, 100);
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (int guard = 0; guard < 50; ++guard) {
        const Piece piece = NextPiece(buffer, sizeof buffer, pos, context);
        if (piece.bytes.empty() && !piece.pause)
            break;
        out.push_back(piece.bytes + (piece.pause ? "~" : ""));
    }
    return out;
}

using V = std::vector<std::string>;

TEST(CommandTextTest, EscapesAndPieces) {
    PieceContext at;
    at.now = LocalTime{2026, 3, 7, 4, 5, 9, 6};
    EXPECT_EQ(Pieces("^M^M~~~T=^T^M~D=^D^d^M", at),
              (V{"\r", "\r", "~", "~", "~", "T=04:05:09\r", "~", "D=07/03/2603/07/26\r"}));
    EXPECT_EQ(Pieces("ST"), V{"ST"});
    EXPECT_EQ(Pieces("ST^mXY"), (V{"ST\r", "XY"}));
    EXPECT_EQ(Pieces("AB~CD^M"), (V{"AB~", "CD\r"}));
    EXPECT_EQ(Pieces("^^M"), V{"^\r"});
    EXPECT_EQ(Pieces("A^XB^l^"), V{"A^XB^l^"});
    // From a button "^t" and "^L" are plain text.
    EXPECT_EQ(Pieces("DUR/10/^t/^L^M"), V{"DUR/10/^t/^L\r"});
}

TEST(CommandTextTest, LastDumpEventOfAScheduledCall) {
    PieceContext call;
    call.dumpEventCommand = '1';
    call.dumpEvent = "08:15:00 07/12/26";
    char text[103] = "DUR/10/^t/^L^M";
    std::size_t pos = 0;
    const Piece piece = NextPiece(text, sizeof text, pos, call);
    EXPECT_EQ(piece.bytes, "DUR/10/08:15/07/12/26\r");
    EXPECT_TRUE(piece.bookmark);
    EXPECT_EQ(piece.bookmarkHour * 10000 + piece.bookmarkMinute * 100 + piece.bookmarkSecond,
              81500);
    EXPECT_EQ(piece.dumpDate, "07/12/26");

    // Without a whole stored event the piece is cut after the dump word,
    // and the rest of that piece is skipped.
    for (const char* event : {"", "08:15:00"}) {
        call.dumpEvent = event;
        EXPECT_EQ(Pieces("DUR/10/^t/^L^MST^M", call), (V{"DUR\r", "ST\r"})) << event;
        EXPECT_EQ(Pieces("DUR/5/^t", call), V{"DUR\r"});
        EXPECT_EQ(Pieces("X/^L^M", call), V{"X/^L\r"});
    }
}

TEST(CommandTextTest, DumpWords) {
    auto prefix = [](const char* piece) {
        const int kind = MatchDumpWord(piece);
        return kind < 0 ? std::string("-") : std::string(DumpKindAt(kind).prefix);
    };
    EXPECT_EQ(prefix("DURV\r"), "Durv");
    EXPECT_EQ(prefix("DUR\r"), "Durn");
    EXPECT_EQ(prefix("DURX"), "Durn");
    EXPECT_EQ(prefix("DUBVX"), "Dubv");
    EXPECT_EQ(prefix("dubvi/5\r"), "Dubvi");
    EXPECT_EQ(prefix("DuBvE"), "Dubve");
    EXPECT_EQ(prefix("DUBVT"), "Dubvt");
    EXPECT_EQ(prefix("dutmp"), "Dutmp");
    EXPECT_EQ(prefix("DUALL"), "Duall");
    EXPECT_EQ(prefix("DUX\r"), "-");
    EXPECT_EQ(prefix("DU"), "-");
    EXPECT_EQ(prefix(" DUR"), "-");
}

TEST(CommandTextTest, ButtonLines) {
    auto parse = [](const char* line) {
        const ButtonDefinition d = ParseButtonLine(line);
        return d.caption + "|" + d.data + "|" + char('0' + d.plot);
    };
    EXPECT_EQ(parse("X,Y,10\r\n"), "X|Y|1");
    EXPECT_EQ(parse("X,Y, 1\r\n"), "X|Y|0");
    EXPECT_EQ(parse("A,B\r\n"), "A||0");
    EXPECT_EQ(parse("Status\r\n"), "||0");
    EXPECT_EQ(parse("A,B,C,1"), "A|B|0");

    const std::string dir = testing::TempDir() + "buttons-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::string caption[kButtonSlots], data[kButtonSlots];
    unsigned char plot[kButtonSlots] = {};
    const ButtonArrays arrays{caption, data, plot};

    // Defaults: the exact file.
    FillDefaultButtons(arrays);
    const std::string defaults = FormatButtonFile(arrays);
    EXPECT_EQ(defaults.size(), 581u);
    EXPECT_EQ(defaults.substr(0, 15), "Status,ST^M,0\r\n");
    EXPECT_EQ(defaults.substr(defaults.size() - 5 * 56), [] {
        std::string empty;
        for (int i = 17; i <= 72; ++i)
            empty += ",,0\r\n";
        return empty;
    }());

    // A long hand-edited line keeps its first 80 bytes and shifts nothing;
    // a short file leaves the rest empty.
    std::string lines;
    for (int i = 1; i <= 10; ++i)
        lines += i == 5 ? "L5," + std::string(300, 'x') + ",1\r\n"
                        : "B" + std::to_string(i) + ",D" + std::to_string(i) + ",1\r\n";
    std::ofstream(dir + "/buttn.cfg", std::ios::binary) << lines;
    ASSERT_TRUE(ReadButtonFile(dir + "/buttn.cfg", arrays));
    EXPECT_EQ(caption[5], "L5");
    EXPECT_EQ(data[5], "");
    EXPECT_EQ(caption[6], "B6");
    EXPECT_EQ(data[10], "D10");
    EXPECT_EQ(plot[10], 1);
    EXPECT_EQ(caption[11] + data[72], "");

    EXPECT_FALSE(ReadButtonFile(dir + "/missing.cfg", arrays));
    int error = 0;
    EXPECT_FALSE(WriteButtonFile(dir + "/no/such/buttn.cfg", arrays, &error));
    EXPECT_EQ(error, ENOENT);
    std::filesystem::remove_all(dir);
}

TEST(CommandTextTest, DumpNumbering) {
    const std::string dir = testing::TempDir() + "dumps-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    auto touch = [&](const std::string& name) { std::ofstream(dir + "/" + name) << "x"; };

    touch("DurnDemo.plt");
    touch("Dubvi005.plt");
    int error = 0;
    EXPECT_EQ(CreateNextDumpFile(dir, "Durn", &error), "Durn001.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Dubv", &error), "Dubv001.plt");
    touch("Durn007.plt");
    touch("durn004.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Durn", &error), "Durn008.plt");
    touch("Durn999.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Durn", &error), "Durn1000.plt");
    EXPECT_EQ(NextDumpNumber({"Durn-5.plt", "Durn 9.plt"}, "Durn"), 1);
    EXPECT_EQ(NextDumpNumber({"Durn99999999999999999999.plt"}, "Durn"), kMaxDumpNumber);

    // A name that is taken but not listed (a dangling link) is passed by and
    // never written through.
    std::filesystem::create_symlink(dir + "/elsewhere.plt", dir + "/Dutmp001.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Dutmp", &error), "Dutmp002.plt");
    EXPECT_FALSE(std::filesystem::exists(dir + "/elsewhere.plt"));

    EXPECT_EQ(CreateNextDumpFile(dir + "/gone", "Durn", &error), "");
    EXPECT_EQ(error, ENOENT);
    std::filesystem::remove_all(dir);
}

} // namespace
