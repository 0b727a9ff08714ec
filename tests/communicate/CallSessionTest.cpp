#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "communicate/CallSession.h"
#include "communicate/CaptureConverter.h"
#include "tests/support/TestEnv.h"

namespace {

TEST(CallSessionTest, IncrementalDumpCommands) {
    struct Case {
        const char* text;
        bool incremental;
        bool dumpWord;
    };
    const Case cases[] = {
        {"DUR/5^M", true, true},      {"DUR^M", false, false},    {"xDUR^M/", false, true},
        {"dubvi/3/^t^M", true, true}, {"DUBVT/12^M", true, true}, {"DUALL^Mxx", false, true},
        {"ST^M", false, false},       {"DUX/5^M", false, false},  {"", false, false},
    };
    for (const Case& c : cases) {
        bool dumpWord = true;
        EXPECT_EQ(IsIncrementalDumpCommand(c.text, &dumpWord), c.incremental) << c.text;
        EXPECT_EQ(dumpWord, c.dumpWord) << c.text;
    }
}

TEST(CallSessionTest, CaptureNamesRepliesAndTotals) {
    const LocalTime t = Wall(2026, 3, 7, 9, 5, 4);
    EXPECT_EQ(ExpandCaptureName("Site35_^Y^m^D.csv", t), "Site35_260307.csv");
    EXPECT_EQ(ExpandCaptureName("^H^M^S^x^", t), "090504^x^");
    EXPECT_EQ(ExpandCaptureName(std::string(200, 'n').c_str(), t).size(), 97u);
    EXPECT_EQ(ExpandCaptureName((std::string(96, 'n') + "^Y^Y").c_str(), t).size(), 98u);
    EXPECT_TRUE(IsFullCapturePath("/tmp/x.csv"));
    EXPECT_TRUE(IsFullCapturePath("C:x.csv"));
    EXPECT_FALSE(IsFullCapturePath("sub/x.csv"));

    auto scan = [](const std::string& bytes, int count) {
        char reply[100] = {};
        std::memcpy(reply, bytes.data(), std::min<std::size_t>(bytes.size(), 89));
        return ScanModemReply(reply, count);
    };
    EXPECT_EQ(scan("ATDT555\r\r\nCoNnEcT 9600\r\n", 24), '1');
    EXPECT_EQ(scan("ATDT555\r", 8), 0); // the echo alone
    EXPECT_EQ(scan("BUSY", 4), 0);      // limit 0: nothing compared
    EXPECT_EQ(scan("BUSY\r\n", 6), '5');
    EXPECT_EQ(scan("NO CARRIER\r\n", 12), '6');
    EXPECT_EQ(scan("\r\nno dialtone\r\n", 15), '7');
    EXPECT_EQ(scan("busy", 2), '5'); // a short count still compares two offsets
    EXPECT_EQ(scan(std::string(88, 'x') + "c", 200), 0);

    char text[15];
    const struct {
        double value;
        const char* text;
    } totals[] = {{12.5, "12.500000"},
                  {0.0, "0.000000"},
                  {9999999.25, "9999999.250000"},
                  {10000000.25, "10000000.25000"},
                  {-1234567.5, "-1234567.50000"},
                  {12345678901234.0, "12345678901234"},
                  {1e30, "1.000000e+30"}};
    for (const auto& t2 : totals) {
        FormatTotalText(t2.value, text);
        EXPECT_STREQ(text, t2.text);
    }
    EXPECT_DOUBLE_EQ(ReadTotalText("5.600000"), 5.6);
    EXPECT_DOUBLE_EQ(ReadTotalText("rain"), 0.0);
}

} // namespace
