// Command texts, button lines and dump names, without a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "communicate/ButtonConfig.h"
#include "communicate/CommandEscapes.h"
#include "communicate/DumpNaming.h"

namespace {

using V = std::vector<std::string>;

// Every piece of `command` until it ends, a pause shown as "~".
V Pieces(const std::string& command, const PieceContext& context = {}) {
    char buffer[103] = {};
    command.copy(buffer, 100);
    V out;
    std::size_t pos = 0;
    for (Piece p; out.size() < 50;) {
        p = NextPiece(buffer, sizeof buffer, pos, context);
        if (p.bytes.empty() && !p.pause)
            break;
        out.push_back(p.bytes + (p.pause ? "~" : ""));
    }
    return out;
}

TEST(CommandTextTest, PiecesEscapesAndDumpWords) {
    PieceContext at;
    at.now = LocalTime{2026, 3, 7, 4, 5, 9, 6};
    EXPECT_EQ(Pieces("^M~T=^T^M~D=^D^d^M", at),
              (V{"\r", "~", "T=04:05:09\r", "~", "D=07/03/2603/07/26\r"}));
    EXPECT_EQ(Pieces("ST^mXY"), (V{"ST\r", "XY"}));
    EXPECT_EQ(Pieces("AB~CD^M"), (V{"AB~", "CD\r"}));
    EXPECT_EQ(Pieces("^^M"), V{"^\r"});
    EXPECT_EQ(Pieces("A^XB^l^"), V{"A^XB^l^"});
    EXPECT_EQ(Pieces("DUR/10/^t/^L^M"), V{"DUR/10/^t/^L\r"}); // from a button

    // A scheduled call's last dump event, or a cut after the dump word
    // without a whole one.
    PieceContext call;
    call.dumpEventCommand = '1';
    call.dumpEvent = "08:15:00 07/12/26";
    char text[103] = "DUR/10/^t/^L^M";
    std::size_t pos = 0;
    const Piece piece = NextPiece(text, sizeof text, pos, call);
    EXPECT_EQ(piece.bytes, "DUR/10/08:15/07/12/26\r");
    EXPECT_EQ(piece.bookmarkHour * 10000 + piece.bookmarkMinute * 100 + piece.bookmarkSecond,
              81500);
    EXPECT_EQ(piece.dumpDate, "07/12/26");
    for (const char* event : {"", "08:15:00"}) {
        call.dumpEvent = event;
        EXPECT_EQ(Pieces("DUR/10/^t/^L^MST^M", call), (V{"DUR\r", "ST\r"})) << event;
        EXPECT_EQ(Pieces("DUR/5/^t", call), V{"DUR\r"});
        EXPECT_EQ(Pieces("X/^L^M", call), V{"X/^L\r"});
    }

    const std::pair<const char*, const char*> words[] = {
        {"DURV\r", "Durv"}, {"DURX", "Durn"},   {"DUBVX", "Dubv"},  {"dubvi/5", "Dubvi"},
        {"DuBvE", "Dubve"}, {"DUBVT", "Dubvt"}, {"dutmp", "Dutmp"}, {"DUALL", "Duall"},
        {"DUX\r", "-"},     {" DUR", "-"}};
    for (const auto& [word, prefix] : words) {
        const int kind = MatchDumpWord(word);
        EXPECT_EQ(kind < 0 ? "-" : std::string(DumpKindAt(kind).prefix), prefix) << word;
    }
}

TEST(CommandTextTest, ButtonFileAndDumpNames) {
    auto parse = [](const char* line) {
        const ButtonDefinition d = ParseButtonLine(line);
        return d.caption + "|" + d.data + "|" + char('0' + d.plot);
    };
    EXPECT_EQ(parse("X,Y,10\r\n") + parse("X,Y, 1") + parse("A,B") + parse("Status"),
              "X|Y|1X|Y|0A||0||0");

    const std::string dir = testing::TempDir() + "cmdtext-" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
    std::string caption[kButtonSlots], data[kButtonSlots];
    unsigned char plot[kButtonSlots] = {};
    FillDefaultButtons({caption, data, plot});
    const std::string defaults = FormatButtonFile({caption, data, plot});
    EXPECT_EQ(defaults.size(), 581u);
    EXPECT_EQ(defaults.substr(0, 15), "Status,ST^M,0\r\n");
    EXPECT_EQ(defaults.find(",,0\r\n"), 581u - 56 * 5); // lines 17 to 72

    // A long line keeps 80 bytes and shifts nothing; a short file leaves
    // the rest empty.
    std::ofstream(dir + "/buttn.cfg", std::ios::binary)
        << "A,a,1\r\n" + std::string(300, 'x') + "\r\nC,c,1\r\n";
    ASSERT_TRUE(ReadButtonFile(dir + "/buttn.cfg", {caption, data, plot}));
    EXPECT_EQ(caption[2] + caption[3] + data[3] + caption[4] + caption[72], "Cc");
    std::ofstream(dir + "/buttn.cfg", std::ios::trunc); // empty: read, all 72 empty
    ASSERT_TRUE(ReadButtonFile(dir + "/buttn.cfg", {caption, data, plot}));
    EXPECT_EQ(caption[1] + data[3], "");

    // Numbering: digits right after the prefix, any case, never touching a
    // name that is taken (here a dangling link the search does not list).
    for (const char* name : {"DurnDemo.plt", "Dubvi005.plt", "durn007.plt", "Durn-9.plt"})
        std::ofstream(dir + "/" + name) << "x";
    std::filesystem::create_symlink(dir + "/elsewhere", dir + "/Dutmp001.plt");
    int error = 0;
    EXPECT_EQ(CreateNextDumpFile(dir, "Durn", &error), "Durn008.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Dubv", &error), "Dubv001.plt");
    EXPECT_EQ(CreateNextDumpFile(dir, "Dutmp", &error), "Dutmp002.plt");
    EXPECT_FALSE(std::filesystem::exists(dir + "/elsewhere"));
    EXPECT_EQ(NextDumpNumber({"Durn999.plt"}, "Durn"), 1000);
    EXPECT_EQ(NextDumpNumber({"Durn99999999999999999999.plt"}, "Durn"), kMaxDumpNumber);
    std::filesystem::remove_all(dir);
}

} // namespace
