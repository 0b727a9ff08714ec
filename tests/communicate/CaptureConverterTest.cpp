#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "communicate/CaptureConverter.h"

namespace {

struct StringOutput : CaptureOutput {
    std::string bytes;
    std::string dumpDate;
    bool WriteCapture(const char* data, std::size_t count) override {
        bytes.append(data, count);
        return true;
    }
    void ShowDumpDate(const std::string& text) override { dumpDate = text; }
};

// Feeds `bytes` to the converter in chunks split at random places, as the
// poll hands them over.
void Feed(CCaptureConverter& c, CaptureKind kind, const std::string& bytes, unsigned seed) {
    std::mt19937 random(seed);
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t n = std::min<std::size_t>(1 + random() % 100, bytes.size() - pos);
        if (kind == CaptureKind::Raw)
            c.CaptureRawLines(bytes.data() + pos, int(n));
        else
            c.CaptureFormattedLines(kind, bytes.data() + pos, int(n));
        pos += n;
    }
}

std::string Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines)
        out += std::string(line) + "\r\n";
    return out;
}

// A converter's starting bucket size and total.
CaptureConversion Starting(double increment, int decimals, double total = 0.0) {
    CaptureConversion start;
    start.m_dIncrement = increment;
    start.m_nDecimals = decimals;
    start.m_dTotal = total;
    return start;
}

std::string Convert(CaptureKind kind, const std::string& input, unsigned seed = 1) {
    StringOutput out;
    CCaptureConverter c(&out);
    Feed(c, kind, input, seed);
    return out.bytes;
}

const std::string kRainDump =
    Lines({"Site: RAIN001 HS     0.2", "00:00:00 12/03/24", "06:30:12", "09:15:40",
           "0.5/01 Rain Increment Set", "09:20:05", "14:02:11 12/03/24 Connect", "Record End"});

TEST(CaptureConverterTest, RainDumpInEveryFormWhateverTheChunks) {
    const std::string csv1 =
        Lines({"Site: RAIN001 HS     0.2", "12/03/24 06:30:12,0.2", "12/03/24 09:15:40,0.4",
               "12/03/24 09:20:05,0.9", "12/03/24 14:02:11,LoggerConnect", "Record End"});
    const std::string csv2 =
        Lines({"Site: RAIN001 HS     0.2", "12/03/24 06:30:12,0.2", "12/03/24 09:15:40,0.2",
               "12/03/24 09:20:05,0.5", "12/03/24 14:02:11,LoggerConnect", "Record End"});
    const std::string tideda =
        Lines({"RAIN001    1 INCREMENTAL", "2    20240312      063012", "0    20240312      080000",
               "2    20240312      091540", "5    20240312      092005"});
    ASSERT_EQ(csv1.size(), 140u);
    ASSERT_EQ(csv2.size(), 140u);
    ASSERT_EQ(tideda.size(), 134u);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        EXPECT_EQ(Convert(CaptureKind::Csv1, kRainDump, seed), csv1);
        EXPECT_EQ(Convert(CaptureKind::Csv2, kRainDump, seed), csv2);
        EXPECT_EQ(Convert(CaptureKind::Tideda, kRainDump, seed), tideda);
        // Raw keeps every byte as received.
        EXPECT_EQ(Convert(CaptureKind::Raw, kRainDump + "half a li", seed), kRainDump);
    }
}

TEST(CaptureConverterTest, HeadersSetTheBucketSize) {
    struct Case {
        const char* line;
        double increment;
        int decimals;
        const char* tideda; // empty: nothing written
    };
    const Case cases[] = {
        {"Site: RAIN001 HS     0.2", 0.2, 1, "RAIN001    1 INCREMENTAL"},  // A, code at 13
        {"S RAIN002 HS     12.5", 12.5, 1, "RAIN002    1 INCREMENTAL"},    // A, code at 14
        {"Site: RAIN003 HS    1.25", 1.25, 2, "RAIN003    1 INCREMENTAL"}, // B at 13
        {"Site: RAIN003 HS    0.25", 0.25, 2, "RAIN003    1 INCREMENTAL"},
        {"Site: RAIN003 HS     .25", 0.25, 2, "RAIN003    1 INCREMENTAL"},
        {"S RAIN004 ML     2.50", 2.5, 2, "RAIN004    1 INCREMENTAL"}, // B at 14
        {"Site RAIN005 HS     5", 5, 0, "RAIN005    1 INCREMENTAL"},   // C1 to C5
        {"Site RAIN006 HS     10", 10, 0, "RAIN006    1 INCREMENTAL"},
        {"Site RAIN007 HS     100", 100, 0, "RAIN007    1 INCREMENTAL"},
        {"Site RAIN008 HS     1000", 1000, 0, "RAIN008    1 INCREMENTAL"},
        {"Site RAIN009 HS     10000", 10000, 0, "RAIN009    1 INCREMENTAL"},
        {"Site RAIN011 MJ       0.5", 0.5, 1, "IN011 M    1 INCREMENTAL"},
        {"Site: RIVER01 MA 10.234", 0.3, 3, "RIVER01    1 ABSOLUTE"}, // D
        {"Site: RAIN010 XX     0.2", 0.3, 3, ""},                     // no code
        {"Site RAIN012 XX     12", 0.3, 3, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.line);
        for (CaptureKind kind : {CaptureKind::Csv1, CaptureKind::Tideda}) {
            StringOutput out;
            CCaptureConverter c(&out, Starting(0.3, 3, 7));
            Feed(c, kind, Lines({k.line}), 3);
            EXPECT_DOUBLE_EQ(c.Conversion().m_dIncrement, k.increment);
            EXPECT_EQ(c.Conversion().m_nDecimals, k.decimals);
            const bool taken = *k.tideda != '\0';
            const bool incremental = taken && k.decimals != 3;
            EXPECT_EQ(c.Conversion().m_dTotal, incremental ? 0.0 : 7.0);
            if (kind == CaptureKind::Tideda)
                EXPECT_EQ(out.bytes, taken ? Lines({k.tideda}) : "");
            else
                EXPECT_EQ(out.bytes, taken ? Lines({k.line}) : "");
        }
    }
    char record[32];
    EXPECT_EQ(CCaptureConverter::FormatTidedaHeader("RIVER01", record, 'A'), 23);
}

TEST(CaptureConverterTest, IncrementLinesInEveryForm) {
    struct Case {
        const char* line;
        double increment;
        int decimals;
    };
    const Case cases[] = {
        {"0.5/01 Rain Increment Set", 0.5, 1}, {"0.25/01 Rain Increment Set", 0.25, 2},
        {".5/01 Rain Increment Set", 0.5, 1},  {"X 0.2/01 Increment Set", 0.2, 1},
        {"X 0.25/01 Increment Set", 0.25, 2},  {"X 12.5/02 Increment Set", 25, 1},
        {"X 10/01 Increment Set", 10, 0},      {"X 100/01 Increment Set", 100, 0},
        {"X 1000/01 Increment Set", 1000, 0},  {"X 10000/01 Increment Set", 10000, 0},
        {"X  1/02 Increment Set", 2, 0},       {"X 1/02 Increment Set", 0.3, 3},
        {"0.5/01Rain Increment Set", 0.3, 3},  {"X 1.0.01 Increment Set", 0.3, 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.line);
        StringOutput out;
        CCaptureConverter c(&out, Starting(0.3, 3));
        Feed(c, CaptureKind::Csv2, Lines({k.line}), 5);
        EXPECT_DOUBLE_EQ(c.Conversion().m_dIncrement, k.increment);
        EXPECT_EQ(c.Conversion().m_nDecimals, k.decimals);
        EXPECT_EQ(out.bytes, "");
    }
    // Totals with a two-decimal bucket.
    const std::string dump = Lines(
        {"00:00:00 12/03/24", "0.25/01 Rain Increment Set", "01:00:00", "02:00:00", "03:00:00"});
    EXPECT_EQ(
        Convert(CaptureKind::Csv1, dump),
        Lines({"12/03/24 01:00:00,0.25", "12/03/24 02:00:00,0.50", "12/03/24 03:00:00,0.75"}));
    // Tideda writes ten times the bucket in full.
    EXPECT_EQ(Convert(CaptureKind::Tideda, dump).substr(0, 6), "2.5   ");
    EXPECT_EQ(Convert(CaptureKind::Tideda, Lines({"Site RAIN005 HS     1", "01:00:00"})),
              Lines({"RAIN005    1 INCREMENTAL", "10    20000000      010000"}));
}

TEST(CaptureConverterTest, EightOClockEventsRiverValuesAndDroppedLines) {
    const std::string dump =
        Lines({"Site: RAIN001 HS     0.2", "00:00:00 12/03/24", "07:59:59", "08:00:00",
               "00:00:00 13/03/24", "00:00:00 14/03/24", "10:15:00 1.234", "10:16:00 1.23",
               "10:16:30 12.3", "2,14/03/24,10:16:00,12.6", "unknown line",
               "14:02:11 15/03/24 Connect", "10:17:00 1.236"});
    EXPECT_EQ(
        Convert(CaptureKind::Tideda, dump),
        Lines({"RAIN001    1 INCREMENTAL", "2    20240312      075959", "0    20240312      080000",
               "2    20240312      080000", "0    20240313      080000",
               "0    20240314      080000", "1.234    20240314      101500",
               "1.23    20240314      101600", "1.236    20240315      101700"}));
    EXPECT_EQ(Convert(CaptureKind::Csv2, dump),
              Lines({"Site: RAIN001 HS     0.2", "12/03/24 07:59:59,0.2", "12/03/24 08:00:00,0.2",
                     "14/03/24 10:15:00,1.234", "14/03/24 10:16:00,1.23",
                     "15/03/24 14:02:11,LoggerConnect", "15/03/24 10:17:00,1.236"}));
    // Before any date line the date reads as zeros.
    EXPECT_EQ(Convert(CaptureKind::Csv2, Lines({"06:30:12"})), Lines({"00/00/00 06:30:12,0"}));
}

TEST(CaptureConverterTest, ConnectAndDisconnectLinesRestartTheTotal) {
    const std::string dump = Lines({"Site: RAIN001 HS     0.2", "00:00:00 12/03/24", "06:30:12",
                                    "09:15:40", "14:02:11 12/03/24 Connect", "14:30:00",
                                    "15:00:00 12/03/24 Disconnect", "15:10:00"});
    EXPECT_EQ(Convert(CaptureKind::Csv1, dump),
              Lines({"Site: RAIN001 HS     0.2", "12/03/24 06:30:12,0.2", "12/03/24 09:15:40,0.4",
                     "12/03/24 14:02:11,LoggerConnect", "12/03/24 14:30:00,0.2",
                     "12/03/24 15:00:00,LoggerDisconnect", "12/03/24 15:10:00,0.2"}));
}

// A scheduled call whose site's stored event, 10:16:02 on 12/03/24, was
// taken once before with the total 5.0: the converter skips up to it.
struct TrackedCall {
    explicit TrackedCall(const CaptureConversion& start = {}) : c(&out, start) {
        c.BeginCall('1', "10:16:02 12/03/24");
        c.BeginTracking();
        c.BeginSkipping(1, "5.0");
    }
    StringOutput out;
    CCaptureConverter c;
};

TEST(CaptureConverterTest, RecordCheckSkipsWhatAnEarlierCallCaptured) {
    TrackedCall raw;
    Feed(raw.c, CaptureKind::Raw, Lines({"10:16:00 12/03/24", "10:16:02", "10:16:02"}), 1);
    EXPECT_EQ(raw.out.bytes, "10:16:02\r\n");
    EXPECT_EQ(raw.c.EventRepeats(), 2); // the skipped repeat counts
    EXPECT_EQ(raw.c.Conversion().m_dTotal, 5.0);
    Feed(raw.c, CaptureKind::Raw, Lines({"10:17:45", "10:30:00 13/03/24"}), 1);
    EXPECT_STREQ(raw.c.DumpEvent(), "10:30:00 13/03/24");
    EXPECT_EQ(raw.c.EventRepeats(), 1);
    EXPECT_EQ(raw.out.dumpDate, "Dump Date: 13/03/24");

    TrackedCall shapes;
    Feed(shapes.c, CaptureKind::Raw,
         "\n\r\nSite: X\r\n2,12/03/24,10:16:00,12.6\r\n10:16:02\r\n10:20:00 1.5\r\n", 2);
    EXPECT_EQ(shapes.out.bytes, "\n10:20:00 1.5\r\n");
    EXPECT_EQ(shapes.out.dumpDate, "");

    // CSV-1: the header read while skipping gives the bucket size, and the
    // total continues from the stored one.
    TrackedCall csv;
    Feed(csv.c, CaptureKind::Csv1,
         Lines({"Site: RAIN001 HS     0.2", "10:16:00 12/03/24", "10:16:02", "10:17:45"}), 3);
    EXPECT_EQ(csv.out.bytes, Lines({"12/03/24 10:17:45,5.2"}));
    EXPECT_STREQ(csv.c.DumpEvent(), "10:17:45 12/03/24");

    // Only the stored event's own second is a repeat; a later one of its minute is not.
    TrackedCall later;
    Feed(later.c, CaptureKind::Raw, Lines({"10:16:00 12/03/24", "10:16:05"}), 5);
    EXPECT_TRUE(later.c.IsSkipping());
    EXPECT_EQ(later.c.EventRepeats(), 0);
    EXPECT_EQ(later.c.Conversion().m_dTotal, 0.0);

    // Without the bookmarked record the stored total is still restored.
    TrackedCall missed(Starting(0.2, 1));
    Feed(missed.c, CaptureKind::Csv1, Lines({"10:16:00 12/03/24", "10:18:00"}), 4);
    EXPECT_EQ(missed.out.bytes, Lines({"12/03/24 10:18:00,5.2"}));
}

// Tracked records in the raw capture: which are written, which event is kept
// and how often it was seen; a new call starts with no repeats.
TEST(CaptureConverterTest, TrackedRecordsAcrossDaysAndCalls) {
    struct Case {
        const char* what;
        bool skip;
        std::string received;
        std::string written;
        const char* event;
        int repeats;
    };
    const std::string otherDay = Lines({"2,12/03/24,10:20:00,1.5", "2,13/03/24,10:20:00,1.5"});
    const Case cases[] = {
        {"a record past the stored minute ends skipping and is kept", true,
         Lines({"2,12/03/24,10:20:00,1.5"}), Lines({"2,12/03/24,10:20:00,1.5"}),
         "10:20:00 12/03/24", 1},
        {"the same time on another day is no repeat", false, otherDay, otherDay,
         "10:20:00 13/03/24", 1},
        {"the same time on the same day is one", false,
         Lines({"2,12/03/24,10:20:00,1.5", "2,12/03/24,10:20:00,1.5"}),
         Lines({"2,12/03/24,10:20:00,1.5", "2,12/03/24,10:20:00,1.5"}), "10:20:00 12/03/24", 2},
        {"time lines", false, Lines({"10:20:00 12/03/24", "10:20:00", "10:20:00"}),
         Lines({"10:20:00 12/03/24", "10:20:00", "10:20:00"}), "10:20:00 12/03/24", 3},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        StringOutput out;
        CCaptureConverter c(&out);
        c.BeginCall('1', "10:16:02 12/03/24");
        c.BeginTracking();
        if (k.skip)
            c.BeginSkipping(1, "5.0");
        Feed(c, CaptureKind::Raw, k.received, 2);
        EXPECT_EQ(out.bytes, k.written);
        EXPECT_STREQ(c.DumpEvent(), k.event);
        EXPECT_EQ(c.EventRepeats(), k.repeats);
        EXPECT_FALSE(c.IsSkipping());
        c.BeginCall('1', k.event);
        EXPECT_EQ(c.EventRepeats(), 0) << "a new call counts afresh";
    }
}

// A capture started anew owes nothing of the one before it: no half line,
// no 08:00 event; and a day ending inside the skipped records owes none.
TEST(CaptureConverterTest, NewCaptureAndSkippedDaysOweNothing) {
    struct Case {
        CaptureKind kind;
        const char* before; // received before StartCapture
        const char* after;
        std::string written;
    };
    const Case cases[] = {
        {CaptureKind::Raw, "10:1", "10:20:00\r\n", "10:20:00\r\n"},
        {CaptureKind::Csv2, "10:1", "10:20:00\r\n", Lines({"00/00/00 10:20:00,0.0"})},
        {CaptureKind::Tideda, "10:1", "10:20:00\r\n", Lines({"0    20000000      102000"})},
        {CaptureKind::Tideda, "00:00:00 12/03/24\r\n", "09:00:00\r\n",
         Lines({"0    20240312      090000"})},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.before) + " | " + k.after);
        StringOutput out;
        CCaptureConverter c(&out, Starting(0.0, 1));
        c.StartCapture(k.kind);
        Feed(c, k.kind, k.before, 1);
        out.bytes.clear();
        c.StartCapture(k.kind);
        Feed(c, k.kind, k.after, 1);
        EXPECT_EQ(out.bytes, k.written);
    }

    // The stored event is the first midnight of two; both days were captured before.
    StringOutput out;
    CCaptureConverter c(&out);
    c.BeginCall('1', "00:00:00 12/03/24");
    c.BeginTracking();
    c.BeginSkipping(2, "5.0");
    Feed(c, CaptureKind::Tideda, Lines({"00:00:00 12/03/24", "00:00:00 13/03/24"}), 1);
    EXPECT_EQ(out.bytes, "");
    Feed(c, CaptureKind::Tideda, Lines({"00:00:00 14/03/24"}), 1);
    EXPECT_EQ(out.bytes, Lines({"0    20240313      080000"}));
}

// The header shapes hold up to their longest line and no further.
TEST(CaptureConverterTest, HeaderLengthBounds) {
    struct Case {
        const char* tail;
        std::size_t length; // with CR LF
        bool taken;
    };
    const Case cases[] = {
        {"RAIN001 HS     0.2", 39, true},
        {"RAIN001 HS     0.2", 40, false}, // A
        {"RAIN009 HS     10000", 40, true},
        {"RAIN009 HS     10000", 41, false}, // C5
    };
    for (const Case& k : cases) {
        const std::string line = std::string(k.length - 2 - std::strlen(k.tail), 'S') + k.tail;
        SCOPED_TRACE(line);
        const std::string tideda = Convert(CaptureKind::Tideda, Lines({line.c_str()}));
        EXPECT_EQ(tideda, k.taken ? std::string(k.tail, 7) + "    1 INCREMENTAL\r\n" : "");
    }
}

TEST(CaptureConverterTest, LongLinesAndRandomBytesStayInside) {
    // 600 bytes without LF: the buffer's worth is one line, nothing is lost.
    const std::string longLine = std::string(600, 'x') + "\r\n";
    EXPECT_EQ(Convert(CaptureKind::Raw, longLine), longLine);
    EXPECT_EQ(Convert(CaptureKind::Csv1, longLine), "");

    const char* pieces[] = {"0",          "1",        "9",
                            ":",          "/",        ".",
                            " ",          ",",        "\r\n",
                            "\n",         "\r",       "Increment Set",
                            "Rain ",      "Connect",  " HS",
                            " ML",        " MJ",      " MA",
                            "Record End", "12:00:00", "00:00:00 12/03/24"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        while (bytes.size() < 2000) {
            if (random() % 4 == 0)
                bytes += char(random() % 256);
            else
                bytes += pieces[random() % (sizeof pieces / sizeof *pieces)];
        }
        StringOutput out;
        CCaptureConverter c(&out);
        if (round % 2)
            c.BeginTracking();
        if (round % 3 == 0)
            c.BeginSkipping((unsigned char)(round % 5), "");
        Feed(c, CaptureKind(1 + round % 4), bytes, unsigned(round));
        EXPECT_LE(std::strlen(c.DumpEvent()), 17u);
    }
}

} // namespace
