// The dump-file reader on dumps built in memory.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "framework/Text.h"
#include "plot/DumpReader.h"

namespace {

struct Point {
    int series;
    double time;
    double value;
};

struct Collect : DumpSink {
    int kind = -1;
    std::vector<std::string> titles, messages;
    std::vector<Point> points;
    DumpSummary summary;
    int ends = 0;
    void OnKind(std::uint8_t k) override { kind = k; }
    void OnTitle(const std::string& t) override { titles.push_back(t); }
    void OnPoint(int s, double t, double v) override { points.push_back({s, t, v}); }
    void OnMessage(const std::string& m) override { messages.push_back(m); }
    void OnEnd(const DumpSummary& s) override {
        summary = s;
        ++ends;
    }
    std::vector<Point> Series(int s) const {
        std::vector<Point> out;
        for (const Point& p : points)
            if (p.series == s)
                out.push_back(p);
        return out;
    }
};

DumpReadResult Read(const std::string& bytes, Collect* sink, bool dayFirst = true, int period = 0) {
    DumpMemorySource source(bytes);
    DumpReadOptions options;
    options.dayFirst = dayFirst;
    options.periodIndex = period;
    return ReadDump(source, options, *sink);
}

double Ole(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return PlotTimeToOle(MakePlotTime(y, mo, d, h, mi, s));
}

void ExpectPoint(const Point& p, int series, double time, double value) {
    EXPECT_EQ(p.series, series);
    EXPECT_NEAR(p.time, time, 1e-9);
    EXPECT_NEAR(p.value, value, 1e-9);
}

} // namespace

TEST(DumpReader, KindsTitlesAndSlash) {
    struct Case {
        const char* first;
        int kind;
        const char* title;
    };
    const Case cases[] = {
        {"DURV\r", PLOT_KIND_RIVER, "River Plot :  Site A"},
        {"dur", PLOT_KIND_RAIN, "Rainfall Plot :  Site A"},
        {"DuBvI", PLOT_KIND_BATT_INT, "BattV Internal Plot :  Site A"},
        {"dubve", PLOT_KIND_BATT_EXT, "BattV External Plot :  Site A"},
        {"dubvt", PLOT_KIND_BATT_TEMP, "BattV + Temp Plot :  Site A"},
        {"DUBV", PLOT_KIND_BATT, "BattV Internal + External Plot :  Site A"},
        {"dutmp", PLOT_KIND_TEMP, "Temperature Plot :  Site A"},
        {"DUALL", PLOT_KIND_ALL, "Plot of All Parameters :  Site A"},
        {"hello", PLOT_KIND_NONE, "Site A"},
    };
    for (const Case& c : cases) {
        Collect sink;
        Read(std::string(c.first) + "\r\nSite A\r\n", &sink);
        EXPECT_EQ(sink.kind, c.kind) << c.first;
        ASSERT_EQ(sink.titles.size(), 1u) << c.first;
        EXPECT_EQ(sink.titles[0], c.title);
    }
    // A slash puts the title on line 3; line 2 is neither title nor record.
    Collect slash;
    Read("dur/x\r\n00:00:00 01/01/10\r\nGauge 0.5\r\n01:00:00\r\n", &slash);
    EXPECT_EQ(slash.kind, PLOT_KIND_RAIN);
    ASSERT_EQ(slash.titles.size(), 1u);
    EXPECT_EQ(slash.titles[0], "Rainfall Plot :  Gauge 0.5");
    ASSERT_EQ(slash.Series(0).size(), 2u);
    ExpectPoint(slash.Series(0)[0], 0, Ole(2000, 1, 1), 0.5);
    // An empty file is kind 0 without records; a title of one byte drops it.
    Collect empty;
    Read("", &empty);
    EXPECT_EQ(empty.kind, PLOT_KIND_NONE);
    EXPECT_FALSE(empty.summary.anyRecord);
    Collect bare;
    Read("durv\n\n", &bare);
    EXPECT_EQ(bare.titles, std::vector<std::string>{"River Plot :  "});
    // A rain title without a blank is the line alone.
    Collect plain;
    Read("dur\r\nGauge\r\n", &plain);
    EXPECT_EQ(plain.titles, std::vector<std::string>{"Gauge"});
}

TEST(DumpReader, RainIncrementsFromTitleAndDateLines) {
    struct Case {
        const char* title;
        const char* dateLine;
        double increment;
        bool inTitle; // the title gave a number
    };
    const Case cases[] = {
        {"Gauge .5", "", 50.0, true},
        {"Gauge  0.2", "", 0.2, true},
        {"Site 7 Rain Gauge 0.2 ", "", 0.2, true}, // trailing blank
        {"Gauge 0.2\t", "", 0.2, true},            // trailing tab
        {"Gauge\t.5 \t ", "", 50.0, true},         // tab before, blanks and tabs after
        {"Gauge", "", 1.0, false},
        {"Gauge mm", "", 1.0, false},
        {"Gauge 0.2 mm", "", 1.0, false}, // the number is not the last word
        {"Gauge ", "", 1.0, false},
        {"0.2", "", 1.0, false}, // a lone word follows no blank
        {"Gauge 0.2", "00:00:00 02/01/10", 0.2, true},
        {"Gauge", "00:00:00 02/01/10 0.5/01 Rain Increment Set", 0.5, false},
        {"Gauge 1", "00:00:00 02/01/10 0.25/02 Rain Increment Set", 0.5, true},
        {"Gauge 1", "00:00:00 02/01/10 0.2/01 Increment Set", 0.2, true},
        {"Gauge 1", "00:00:00 02/01/10 x0.25/02 Increment Set", 0.5, true},
        {"Gauge 1", "00:00:00 02/01/10 10.5/02 Increment Set", 21.0, true},
        {"Gauge 1", "00:00:00 02/01/10 25/02 Increment Set", 50.0, true},
        {"Gauge 1", "00:00:00 02/01/10 125/02 Increment Set", 250.0, true},
        {"Gauge 1", "00:00:00 02/01/10 1250/01 Increment Set", 1250.0, true},
        {"Gauge 1", "00:00:00 02/01/10 12500/01 Increment Set", 12500.0, true},
        {"Gauge 1", "00:00:00 02/01/10 0.5/01 Rain Increment Sat", 1.0, true},
    };
    for (const Case& c : cases) {
        Collect sink;
        std::string dump = std::string("DUR\r\r\n") + c.title + "\r\n";
        if (*c.dateLine)
            dump += std::string(c.dateLine) + "\r\n";
        DumpReadResult r = Read(dump + "08:00:00\r\n", &sink);
        EXPECT_DOUBLE_EQ(r.rainIncrement, c.increment) << c.title << " | " << c.dateLine;
        EXPECT_EQ(r.titleIncrement, c.inTitle) << c.title << " | " << c.dateLine;
        ASSERT_FALSE(sink.Series(0).empty());
        EXPECT_DOUBLE_EQ(sink.Series(0)[0].value, c.increment) << c.title << c.dateLine;
    }
}

TEST(DumpReader, RainPeriodsAndEndPoints) {
    // Daily, 0.2, day first: the date line at midnight does not close the first
    // period, the tip at 07:00 does.
    Collect sink;
    DumpReadResult r = Read("DUR\r\r\nGauge 0.2\r\n00:00:00 02/01/10\r\n08:00:00\r\n08:30:00\r\n"
                            "00:00:00 03/01/10\r\n07:00:00\r\n",
                            &sink);
    ASSERT_EQ(sink.points.size(), 3u);
    ExpectPoint(sink.points[0], 0, Ole(2010, 1, 2), 0.4);
    ExpectPoint(sink.points[1], 0, Ole(2010, 1, 3), 0.2);
    ExpectPoint(sink.points[2], 0, Ole(2010, 1, 4), 0.0);
    EXPECT_EQ(r.periodSeconds, 86400);
    EXPECT_TRUE(sink.summary.complete && sink.summary.anyRecord);
    EXPECT_NEAR(sink.summary.earliest, Ole(2010, 1, 2), 1e-9);
    EXPECT_NEAR(sink.summary.latest, Ole(2010, 1, 4), 1e-9);
    EXPECT_DOUBLE_EQ(sink.summary.low, -2.0);
    EXPECT_NEAR(sink.summary.high, 0.4, 1e-9);

    // Hourly: a tip exactly at S + period stays in the period ending there; equal
    // totals give one point; the dry gap gives one zero point; then a new total.
    Collect hourly;
    Read("dur\r\nG 1\r\n00:00:00 05/06/10\r\n00:30:00\r\n01:00:00\r\n01:30:00\r\n02:00:00\r\n"
         "05:10:00\r\n05:20:00\r\n05:30:00\r\n",
         &hourly, true, 1);
    ASSERT_EQ(hourly.points.size(), 4u);
    ExpectPoint(hourly.points[0], 0, Ole(2010, 6, 5, 0), 2.0);
    ExpectPoint(hourly.points[1], 0, Ole(2010, 6, 5, 2), 0.0);
    ExpectPoint(hourly.points[2], 0, Ole(2010, 6, 5, 5), 3.0);
    ExpectPoint(hourly.points[3], 0, Ole(2010, 6, 5, 6), 0.0);

    // The first period starts at the first record's time truncated by the period.
    const int minutes[] = {24 * 60, 60, 15, 10, 5};
    const double starts[] = {Ole(2010, 6, 5), Ole(2010, 6, 5, 13), Ole(2010, 6, 5, 13, 45),
                             Ole(2010, 6, 5, 13, 40), Ole(2010, 6, 5, 13, 45)};
    for (int i = 0; i < 5; ++i) {
        Collect p;
        DumpReadResult pr = Read("dur\r\nG 1\r\n13:47:29 05/06/10\r\n13:48:00\r\n", &p, true, i);
        EXPECT_EQ(pr.periodSeconds, minutes[i] * 60);
        ASSERT_EQ(p.points.size(), 2u) << i;
        ExpectPoint(p.points[0], 0, starts[i], 1.0);
        ExpectPoint(p.points[1], 0, starts[i] + minutes[i] / 1440.0, 0.0);
    }

    // An invalid first record (hour 25) still counts its tip into the first
    // period with a valid time, and gives no time of its own.
    Collect invalid;
    Read("dur\r\nG 1\r\n25:00:00\r\n10:00:00\r\n", &invalid);
    ASSERT_EQ(invalid.points.size(), 2u);
    ExpectPoint(invalid.points[0], 0, Ole(2000, 1, 1), 2.0);
    EXPECT_NEAR(invalid.summary.earliest, Ole(2000, 1, 1), 1e-9);
    // No valid time at all: no points, no range.
    Collect none;
    Read("dur\r\nG 1\r\n25:00:00\r\n", &none);
    EXPECT_TRUE(none.summary.anyRecord);
    EXPECT_FALSE(none.summary.hasTimeRange);
    EXPECT_TRUE(none.points.empty());
}

TEST(DumpReader, PointKindsValuesAndAllParameters) {
    // Battery + temperature: values kept on lines that do not fit the columns;
    // the temperature's column moves with a blank at 18.
    Collect bt;
    Read("dubvt\r\nS 1\r\n00:00:00 01/02/10\r\n01:00:00 12.5 13.2 -4.5\r\n"
         "02:00:00 12.4 13.10 21.0\r\n03:00:00 x\r\nxx\r\n",
         &bt);
    ASSERT_EQ(bt.points.size(), 9u);
    ExpectPoint(bt.points[0], SERIES_BV_INT, Ole(2010, 2, 1, 1), 12.5);
    ExpectPoint(bt.points[2], SERIES_TEMP, Ole(2010, 2, 1, 1), -4.5);
    ExpectPoint(bt.points[5], SERIES_TEMP, Ole(2010, 2, 1, 2), 21.0);
    ExpectPoint(bt.points[7], SERIES_BV_EXT, Ole(2010, 2, 1, 3), 13.1);
    EXPECT_DOUBLE_EQ(bt.summary.low, -4.5);
    EXPECT_DOUBLE_EQ(bt.summary.high, 21.0);

    Collect b;
    Read("DUBV\r\nS 1\r\n01:00:00 5.2 13.2\r\n", &b);
    ASSERT_EQ(b.points.size(), 2u);
    ExpectPoint(b.points[1], SERIES_BV_EXT, Ole(2000, 1, 1, 1), 13.2);

    // All parameters, month first, years 79 and 80; type 0 only widens the range.
    Collect all;
    DumpReadResult r =
        Read("duall\r\nSite\r\n1,01/02/79,10:00:00,0.5\r\n2,01/02/79,10:15:00,1.25\r\n"
             "3,01/02/79,10:15:00,12.1\r\n4,01/02/79,10:15:00,13.1\r\n5,01/02/79,10:15:00,-3\r\n"
             "0,01/02/80,10:15:00,99\r\n1,01/02/79,11:30:00,0.3\r\nnot a record\r\n",
             &all, false, 1);
    EXPECT_EQ(r.kind, PLOT_KIND_ALL);
    std::vector<Point> rain = all.Series(SERIES_RAIN);
    ASSERT_EQ(rain.size(), 3u);
    ExpectPoint(rain[0], 0, Ole(2079, 1, 2, 10), 0.5);
    ExpectPoint(rain[1], 0, Ole(2079, 1, 2, 11), 0.3);
    ExpectPoint(rain[2], 0, Ole(2079, 1, 2, 12), 0.0);
    ExpectPoint(all.Series(SERIES_RIVER)[0], 1, Ole(2079, 1, 2, 10, 15), 1.25);
    ExpectPoint(all.Series(SERIES_TEMP)[0], 4, Ole(2079, 1, 2, 10, 15), -3.0);
    EXPECT_EQ(all.Series(SERIES_BV_INT).size(), 1u);
    EXPECT_NEAR(all.summary.earliest, Ole(1980, 1, 2, 10, 15), 1e-9);
    EXPECT_DOUBLE_EQ(all.summary.high, 99.0);
}

TEST(DumpReader, TipRunsReadAsLineByLine) {
    // Bare tip lines are taken in runs; every line ended "\r\r\n" means the
    // same but is read line by line. Near misses among the tips must stop a
    // run and read as they would alone.
    const std::string increment = "00:00:00 02/01/10 0.5/01 Rain Increment Set";
    const std::string nearMisses[] = {
        "24:00:00",  "23:60:00",  "23:59:60",     "99:99:99",          "1a:00:00",  "12:3a:00",
        "12:30:0a",  "12:30:00 ", "12.30:00",     "12:30:00x",         "12:30:007", "1:30:00",
        " 12:30:00", "12:30",     "12:30:00 2.5", "00:00:00 31/02/10", increment};
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        std::string fast = "DUR\r\nG 0.2\r\n", slow = fast;
        const char* end = round % 2 ? "\n" : "\r\n";
        const auto add = [&](const std::string& line) {
            fast += line + end;
            slow += line + "\r\r\n";
        };
        for (int day = 1; day <= 3; ++day) {
            add("00:00:00 0" + std::to_string(day) + "/03/10");
            int s = int(rng() % 3600);
            for (int i = 0; i < 60; ++i) {
                add(Format("%02d:%02d:%02d", s / 3600 % 24, s / 60 % 60, s % 60));
                s += int(rng() % 2000) - 200; // now and then back in time
                if (rng() % 8 == 0)
                    add(nearMisses[rng() % std::size(nearMisses)]);
            }
        }
        Collect a, b;
        Read(fast, &a, true, round % 5);
        Read(slow, &b, true, round % 5);
        ASSERT_EQ(a.points.size(), b.points.size()) << round;
        for (std::size_t i = 0; i < a.points.size(); ++i) {
            EXPECT_EQ(a.points[i].time, b.points[i].time) << round << " " << i;
            EXPECT_EQ(a.points[i].value, b.points[i].value) << round << " " << i;
        }
        EXPECT_EQ(a.summary.earliest, b.summary.earliest);
        EXPECT_EQ(a.summary.latest, b.summary.latest);
        EXPECT_EQ(a.summary.low, b.summary.low);
        EXPECT_EQ(a.summary.high, b.summary.high);
    }
}

TEST(DumpReader, IllegalMonthsStopTheReading) {
    const std::string river = "durv\r\nS\r\n00:00:00 13/12/10\r\n01:00:00 1.5\r\n"
                              "00:00:00 14/13/10\r\n02:00:00 1.6\r\n";
    Collect dmy;
    Read(river, &dmy, true);
    EXPECT_EQ(dmy.messages, std::vector<std::string>{"Illegal date, try swapping DMY to MDY !"});
    EXPECT_EQ(dmy.points.size(), 1u); // the points read so far stay
    EXPECT_FALSE(dmy.summary.complete);
    Collect mdy;
    Read(river, &mdy, false);
    EXPECT_EQ(mdy.messages, std::vector<std::string>{"Illegal date, try swapping MDY to DMY !"});
    EXPECT_TRUE(mdy.points.empty());
    Collect all;
    Read("duall\r\nS\r\n1,01/13/10,10:00:00,1\r\n", &all);
    EXPECT_EQ(all.messages.size(), 1u);
    EXPECT_EQ(all.ends, 1);
}

TEST(DumpReader, LinesAcrossBlocksLongLinesAndLastLine) {
    // A source that hands out a few bytes at a time splits lines across blocks.
    struct Trickle : DumpSource {
        std::string bytes;
        std::size_t pos = 0;
        std::size_t Read(char* buffer, std::size_t count) override {
            const std::size_t n = std::min({count, bytes.size() - pos, std::size_t(3)});
            std::copy_n(bytes.data() + pos, n, buffer);
            pos += n;
            return n;
        }
    };
    Trickle t;
    t.bytes = "a\r\n" + std::string(300, 'x') + "\nbb\ncc\r\n" + std::string(250, 'y');
    DumpLineReader reader(t, 1);
    DumpLine line;
    std::vector<std::string> lines;
    while (reader.Next(&line))
        lines.emplace_back(line.data, line.size);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "a\r\n");
    EXPECT_EQ(lines[1], std::string(200, 'x'));
    EXPECT_EQ(lines[2], "bb\n");
    EXPECT_EQ(lines[3], "cc\r\n");
    EXPECT_EQ(lines[4], std::string(200, 'y'));

    // The last line is read once, with or without its LF; numbers stop at the line.
    for (const char* end : {"\r\n", ""}) {
        Collect sink;
        Read(std::string("durv\r\nS\r\n01:00:00 1.5\r\n02:00:00 2") + end, &sink);
        ASSERT_EQ(sink.points.size(), 2u);
        EXPECT_DOUBLE_EQ(sink.points[1].value, 2.0);
    }
    DumpLine shortLine{"12:0", 4};
    EXPECT_EQ(shortLine.IntAt(3), 0);
    EXPECT_EQ(shortLine.IntAt(9), 0);
    EXPECT_EQ((DumpLine{"  99999999999999", 16}.IntAt(0)), INT_MAX);
    EXPECT_EQ((DumpLine{"1e999", 5}.NumberAt(0)), 0.0);
    EXPECT_EQ((DumpLine{"inf", 3}.NumberAt(0)), 0.0);
    EXPECT_EQ((DumpLine{"-2.5e1x", 7}.NumberAt(0)), -25.0);
}

TEST(DumpReader, DemoDumpsAndSeededMutations) {
    std::vector<std::string> valid;
    for (const char* name : {"DurnDemo.plt", "DurvDemo.plt"}) {
        Collect sink;
        DumpReadResult r = ReadDumpFile(name, DumpReadOptions{}, sink);
        ASSERT_TRUE(r.opened) << name;
        EXPECT_TRUE(sink.summary.anyRecord && sink.summary.complete && sink.messages.empty());
        EXPECT_GE(sink.points.size(), 3u);
        EXPECT_LT(sink.summary.latest - sink.summary.earliest, 3650.0);
        std::string bytes;
        FILE* f = std::fopen(name, "rb");
        ASSERT_NE(f, nullptr);
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            bytes.append(buf, n);
        std::fclose(f);
        valid.push_back(bytes.substr(0, 700)); // short enough to mutate quickly
    }
    Collect missing;
    EXPECT_FALSE(ReadDumpFile("NoSuchDump.plt", DumpReadOptions{}, missing).opened);

    valid.push_back(
        "duall/\r\nx\r\nSite 1\r\n1,01/02/10,10:00:00,0.5\r\n2,01/02/10,10:15:00,1\r\n");
    valid.push_back("dubvt\r\nS\r\n00:00:00 01/02/10 0.5/01 Rain Increment Set\r\n"
                    "01:00:00 12.50 13.20 -4.5\r\n");
    std::mt19937 rng(12345);
    const char alphabet[] = "0123456789 :/,.\r\n-+eE\0\xff";
    for (int i = 0; i < 10000; ++i) {
        std::string bytes = valid[std::size_t(i) % valid.size()];
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = rng() % bytes.size();
            switch (rng() % 4) {
            case 0:
                bytes[at] = alphabet[rng() % (sizeof alphabet - 1)];
                break;
            case 1:
                bytes.erase(at, rng() % 40);
                break;
            case 2:
                bytes.insert(at, std::string(rng() % 300, alphabet[rng() % (sizeof alphabet - 1)]));
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        Collect sink;
        Read(bytes, &sink, rng() % 2, int(rng() % 6));
        ASSERT_EQ(sink.ends, 1);
        for (const Point& p : sink.points)
            ASSERT_TRUE(std::isfinite(p.time) && std::isfinite(p.value));
    }
}
