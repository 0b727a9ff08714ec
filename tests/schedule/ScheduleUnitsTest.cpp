// The Schedule's plain units: times and intervals, the settings files, the
// call queue and the poll-log line.
#include <gtest/gtest.h>

#include <climits>

#include "framework/Files.h"
#include "schedule/CallQueue.h"
#include "schedule/PollLog.h"
#include "schedule/ScheduleConfig.h"
#include "schedule/ScheduleStatus.h"
#include "schedule/ScheduleTime.h"
#include "tests/support/TestEnv.h"

namespace {

SiteTime At(int y, int mo, int d, int h, int mi, int s) {
    return MakeSiteTime(y, mo, d, h, mi, s);
}

// The next connection of a site loaded at `now`.
std::string Next(const char* start, const char* interval, char unit, const SiteTime& now) {
    std::string column;
    const SiteTime first = ParseStartField(start, &column);
    return FormatNextConnection(NextConnectionAfter(first, ParseInterval(interval, unit), now));
}

TEST(ScheduleTimeTest, NextConnectionIsTheFirstStepMoreThanOneSecondAhead) {
    const char* start = "08:00 01-01-2008";
    EXPECT_EQ(Next(start, "15", 'M', At(2026, 12, 7, 10, 7, 30)), "10:15 07-Dec-2026");
    EXPECT_EQ(Next(start, "15", 'M', At(2026, 12, 7, 10, 14, 58)), "10:15 07-Dec-2026");
    EXPECT_EQ(Next(start, "15", 'M', At(2026, 12, 7, 10, 14, 59)), "10:30 07-Dec-2026");
    EXPECT_EQ(Next(start, "1", 'H', At(2026, 12, 7, 10, 0, 0)), "11:00 07-Dec-2026");
    // 1 January 2008 was a Tuesday; so is 8 December 2026.
    EXPECT_EQ(Next(start, "7", 'D', At(2026, 12, 7, 10, 0, 0)), "08:00 08-Dec-2026");
    EXPECT_EQ(Next(start, "7", 'X', At(2026, 12, 8, 8, 0, 0)), "08:00 15-Dec-2026");
    // Five hours across midnight: 20:00, then 01:00, not re-aligned to 00:00.
    EXPECT_EQ(Next("00:00 01-01-2026", "5", 'H', At(2026, 1, 1, 19, 30, 0)), "20:00 01-Jan-2026");
    EXPECT_EQ(Next("00:00 01-01-2026", "5", 'H', At(2026, 1, 1, 20, 0, 0)), "01:00 02-Jan-2026");
    // A start still to come is the next connection itself.
    EXPECT_EQ(Next("09:05 03-03-2030", "1", 'M', At(2026, 12, 7, 10, 0, 0)), "09:05 03-Mar-2030");

    // Due when the next connection lies no later than one second ahead.
    const SiteTime next = At(2026, 12, 7, 10, 15, 0);
    EXPECT_FALSE(IsDue(next, At(2026, 12, 7, 10, 14, 58)));
    EXPECT_TRUE(IsDue(next, At(2026, 12, 7, 10, 14, 59)));
    EXPECT_TRUE(IsDue(next, At(2026, 12, 7, 13, 0, 0)));
}

TEST(ScheduleTimeTest, UnreadableStartsAndIntervalsAreNeverDue) {
    std::string column;
    EXPECT_FALSE(ParseStartField("-", &column).valid);
    EXPECT_EQ(column, "-");
    EXPECT_FALSE(ParseStartField("8:00 01-01-2008", &column).valid);
    EXPECT_EQ(column, "8:00 01-01-2008");
    EXPECT_FALSE(ParseStartField("08:00 31-02-2009", &column).valid);
    EXPECT_EQ(column, "08:00 31-Feb-2009");
    EXPECT_FALSE(ParseStartField("08:00 01-13-2009", &column).valid);
    EXPECT_EQ(column, "08:00 01-\?\?\?-2009");
    EXPECT_TRUE(ParseStartField("23:59 29-02-2024", &column).valid);
    EXPECT_EQ(column, "23:59 29-Feb-2024");

    const SiteTime now = At(2026, 12, 7, 10, 0, 0);
    EXPECT_EQ(Next("-", "15", 'M', now), "");
    EXPECT_TRUE(ParseInterval("-15", 'M').IsZero());
    EXPECT_TRUE(ParseInterval("abc", 'H').IsZero());
    EXPECT_TRUE(ParseInterval("00", 'H').IsZero());
    EXPECT_FALSE(ParseInterval("99999999999999999999", 'D').valid);
    EXPECT_EQ(Next("08:00 01-01-2008", "99999999", 'D', now), "");
    EXPECT_EQ(Next("08:00 01-01-2008", "-15", 'M', now), "08:00 01-Jan-2008");
    EXPECT_FALSE(IsDue(ParseStartField("-", &column), now));
    // A clock at the end of the number range gives no time, not a wrapped one.
    const SiteTime start = ParseStartField("08:00 01-01-2008", &column);
    for (const long long far : {LLONG_MAX, LLONG_MAX - 1, LLONG_MAX / 2})
        EXPECT_FALSE(
            NextConnectionAfter(start, ParseInterval("15", 'M'), SiteTime{far, true}).valid);

    EXPECT_EQ(IntervalColumnText("1", 'H'), "1 hr");
    EXPECT_EQ(IntervalColumnText("01", 'H'), "01 hrs");
    EXPECT_EQ(IntervalColumnText("1", 'M'), "1 min");
    EXPECT_EQ(IntervalColumnText("7", 'D'), "7 days");
    EXPECT_EQ(IntervalColumnText("0", 'M'), "-");
    char month[4];
    MonthName(month, 0);
    EXPECT_STREQ(month, "???");
    MonthName(month, 12);
    EXPECT_STREQ(month, "Dec");
}

TEST(ScheduleConfigTest, SettingsFilesByteForByte) {
    char status[kSiteCount + 1];
    ParseStatusConfig("1,2,0,x,\r\n9,", status);
    EXPECT_EQ(status[1], '1');
    EXPECT_EQ(status[2], '2');
    EXPECT_EQ(status[3], '0');
    EXPECT_EQ(status[4], '0'); // garbled
    EXPECT_EQ(status[5], '0'); // past the line
    EXPECT_EQ(status[300], '0');
    const std::string stat = FormatStatusConfig(status);
    ASSERT_EQ(stat.size(), 603u);
    EXPECT_EQ(stat.substr(0, 8), "1,2,0,0,");
    EXPECT_EQ(stat.substr(600), std::string("\r\n\0", 3));

    BYTE enabled[kSiteCount + 1] = {};
    bool disable = false;
    ParseEnableConfig("1,1,0,1x,,1", &disable, enabled);
    EXPECT_TRUE(disable);
    EXPECT_EQ(enabled[1], 1);
    EXPECT_EQ(enabled[2], 0);
    EXPECT_EQ(enabled[3], 1);
    EXPECT_EQ(enabled[4], 0);
    EXPECT_EQ(enabled[5], 1);
    EXPECT_EQ(enabled[6], 0);
    const std::string en = FormatEnableConfig(false, enabled);
    ASSERT_EQ(en.size(), 605u);
    EXPECT_EQ(en.substr(0, 12), "0,1,0,1,0,1,");
    EXPECT_EQ(en.substr(602), std::string("\r\n\0", 3));

    int widths[9];
    ParseColumnWidths("100,100,100,100,100,100,100,100,800\r\n", widths);
    EXPECT_EQ(widths[0], 100);
    EXPECT_EQ(widths[8], 800);
    const int recorded[9] = {10, 20, 30, 40, 50, 60, 70, 80, 360};
    EXPECT_EQ(FormatColumnWidths(recorded), "10,20,30,40,50,60,70,80,360\r\n");
    // Missing numbers, an LF before the comma, and text past the bytes read.
    ParseColumnWidths("5,6\r\n7,8,9", widths);
    EXPECT_EQ(widths[0], 5);
    EXPECT_EQ(widths[1], 6);
    EXPECT_EQ(widths[2], 0);
    EXPECT_EQ(widths[8], 0);
    ParseColumnWidths("1,2,3,4,5,6,7,8,", widths);
    EXPECT_EQ(widths[7], 8);
    EXPECT_EQ(widths[8], 0);
}

TEST(CallQueueTest, FirstInFirstOutWithoutDuplicates) {
    CallQueue queue;
    EXPECT_TRUE(queue.Add(7));
    EXPECT_TRUE(queue.Add(3));
    EXPECT_TRUE(queue.Add(7));
    EXPECT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.TakeFirst(), 7);
    EXPECT_EQ(queue.TakeFirst(), 3);
    EXPECT_EQ(queue.TakeFirst(), 0);
    for (int site = 1; site <= 100; ++site)
        queue.Add(site);
    EXPECT_FALSE(queue.Add(101));
    EXPECT_FALSE(queue.Contains(101));
    EXPECT_EQ(queue.TakeFirst(), 1);
    EXPECT_EQ(queue.entries[98], 100);
    EXPECT_EQ(queue.entries[99], 0);
    EXPECT_TRUE(queue.Add(101));
    EXPECT_EQ(queue.entries[99], 101);
}

TEST(PollLogTest, LineLayout) {
    const LocalTime when = Wall(2026, 12, 7, 10, 15, 1);
    const std::string line =
        FormatLogStart(when, 12, "Weir", "Direct", 2) + FormatLogResult(STATUS_DIRECT);
    EXPECT_EQ(line, "07-Dec-2026 10:15:01  Site#012                  Weir           Direct  "
                    "Attempt#2  Direct Connection Test \r\n");
    EXPECT_EQ(line.size(), 107u);
    EXPECT_NE(FormatLogStart(when, 1, "ABCDEFGHIJKLMNOPQRSTUVWXY", "1", 1)
                  .find("  ABCDEFGHIJKLMNOPQRST  "),
              std::string::npos);
    // A name is cut at 20 characters, whatever their bytes; the column stays 20 characters.
    const std::string lodz = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA Kaliska G\xC5\x82\xC3\xB3wna";
    const struct {
        std::string name;
        std::string column;
    } names[] = {
        {lodz, " " + lodz},                                             // 19 characters, 23 bytes
        {"ABCDEFGHIJKLMNOPQRS\xC5\x8C", "ABCDEFGHIJKLMNOPQRS\xC5\x8C"}, // 20, 21 bytes
        {"\xC5\x8C" + std::string(20, 'a'), "\xC5\x8C" + std::string(19, 'a')},
        {"Caf\xE9 " + std::string(20, 'b'), "Caf\xE9 " + std::string(15, 'b')}, // Latin-1
    };
    for (const auto& n : names)
        EXPECT_NE(FormatLogStart(when, 1, n.name.c_str(), "1", 1).find("  " + n.column + "  "),
                  std::string::npos)
            << n.name;
    EXPECT_EQ(FormatLogResult(STATUS_NONE), "Disabled while connected \r\n");
    EXPECT_EQ(FormatLogResult(STATUS_OK), "Connected OK \r\n");
    EXPECT_EQ(FormatLogResult('x'), "??? \r\n");
    EXPECT_STREQ(StatusText('x'), "");
    EXPECT_STREQ(StatusText(STATUS_MODEM_ERROR), "Modem Error - Unknown");

    // A run ended during a call left its line open: the next line starts on
    // a line of its own; a result still goes on the end of its start.
    TestEnv env;
    const std::string path = env.Root() + "/log.txt";
    const std::string start = FormatLogStart(when, 3, "Weir", "Direct", 1);
    for (const std::string& left : {std::string(), start, start + "\r", start + "OK \r\n"}) {
        ASSERT_TRUE(ReplaceFileContents(path, left));
        ASSERT_TRUE(StartLogLine(path, start));
        ASSERT_TRUE(AppendToLog(path, FormatLogResult(STATUS_OK)));
        std::string bytes;
        ASSERT_TRUE(ReadWholeFile(path, &bytes));
        const std::string closed = left.empty() || left.back() == '\n' ? left
                                   : left.back() == '\r'               ? left + "\n"
                                                                       : left + "\r\n";
        EXPECT_EQ(bytes, closed + start + "Connected OK \r\n");
    }
}

} // namespace
