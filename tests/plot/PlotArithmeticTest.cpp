// Zoom ladder, readouts and the rain total between two marks, without a window.
#include <gtest/gtest.h>

#include "plot/DumpReader.h"
#include "plot/RainTotal.h"
#include "plot/ZoomLadder.h"

namespace {

double Ole(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return PlotTimeToOle(MakePlotTime(y, mo, d, h, mi, s));
}

double Total(const std::string& dump, double a, double b, bool dayFirst = true) {
    DumpMemorySource source(dump);
    return CountRainTotal(source, dayFirst, a, b);
}

} // namespace

TEST(ZoomLadder, BoundsAndCaptions) {
    EXPECT_STREQ(ZoomInStep(0.1).caption, "2 Hours"); // strict bound
    EXPECT_STREQ(ZoomInStep(1.0 / 12).caption, "10 Mins");
    EXPECT_DOUBLE_EQ(ZoomInStep(1.0 / 144).span, 1.0 / 144);
    EXPECT_STREQ(ZoomInStep(20.0).caption, "1 Week");
    EXPECT_STREQ(ZoomInStep(366.0).caption, "1 Year");

    EXPECT_TRUE(ZoomOutStep(1.0, 5.0).zoomAll);            // 7 days pass 5
    EXPECT_STREQ(ZoomOutStep(1.0, 7.0).caption, "1 Week"); // equal stays
    EXPECT_TRUE(ZoomOutStep(1.0 / 144, 1.0 / 24).zoomAll); // 2 hours not below 1 hour
    EXPECT_STREQ(ZoomOutStep(1.0 / 144, 1.0).caption, "2 Hours");
    const ZoomStep all = ZoomOutStep(20.0, 20.0);
    EXPECT_TRUE(all.zoomAll);
    EXPECT_STREQ(all.caption, "Zoom All");
    EXPECT_DOUBLE_EQ(all.span, 20.0);
    EXPECT_TRUE(ZoomOutStep(20.0 / 1.00005, 20.0).zoomAll); // the 1.0001 factor

    EXPECT_EQ(FormatReadout(3, 12.5, false), "12.50V");
    EXPECT_EQ(FormatReadout(4, -10.0, true), "T=-10.0C");
    EXPECT_EQ(FormatReadout(1, 1e300, true).size(), 306u);
}

TEST(RainTotal, CountsTipsAndRainLinesBetweenMarks) {
    // No blank in the title: the count starts at 1.0, then a date line sets 0.5.
    const std::string rain = "DUR\r\r\nGauge\r\n00:00:00 02/01/10\r\n08:00:00\r\n09:00:00\r\n"
                             "10:00:00 02/01/10 0.5/01 Rain Increment Set\r\n10:00:01\r\n"
                             "11:00:00\r\n25:00:00\r\n";
    const double from = Ole(2010, 1, 2, 7), to = Ole(2010, 1, 2, 12);
    EXPECT_DOUBLE_EQ(Total(rain, from, to), 3.0);
    EXPECT_DOUBLE_EQ(Total(rain, to, from), 3.0);
    EXPECT_DOUBLE_EQ(Total(rain, from, from), 0.0);
    // Half a second of tolerance at both marks.
    const double s = 1.0 / 86400;
    EXPECT_DOUBLE_EQ(Total(rain, Ole(2010, 1, 2, 8) + 0.4 * s, Ole(2010, 1, 2, 9) - 0.4 * s), 2.0);
    EXPECT_DOUBLE_EQ(Total(rain, Ole(2010, 1, 2, 8) + 1.0 * s, Ole(2010, 1, 2, 9) - 1.0 * s), 0.0);
    // Month first; no month test (the date is simply not valid).
    EXPECT_DOUBLE_EQ(Total(rain, Ole(2010, 2, 1, 7), Ole(2010, 2, 1, 12), false), 3.0);
    EXPECT_DOUBLE_EQ(Total("dur/\r\nx\r\nG 0.2\r\n01:00:00\r\n02:00:00\r\n03:00:00\r\n",
                           Ole(2000, 1, 1), Ole(2000, 1, 2)),
                     0.6);
    // All parameters: the amounts of "1," lines from line 3 on.
    const std::string all = "duall\r\n1,01/02/10,10:00:00,9\r\n1,01/02/10,10:00:00,0.25\r\n"
                            "2,01/02/10,10:00:00,5\r\n1,01/02/10,11:00:00,0.5\r\n";
    EXPECT_DOUBLE_EQ(Total(all, Ole(2010, 2, 1), Ole(2010, 2, 2)), 0.75);
    EXPECT_DOUBLE_EQ(Total("durv\r\n", 1.0, 2.0), 0.0);
    EXPECT_DOUBLE_EQ(Total("dubv\r\nS\r\n01:00:00 5.2 13.2\r\n", 0.0, 1e6), 0.0);
    double total = -1.0;
    EXPECT_FALSE(CountRainTotalFile("NoSuchDump.plt", true, 1.0, 2.0, &total));
}
