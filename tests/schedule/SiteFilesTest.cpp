// site.cfg, last.cfg and copy.cfg: readers, writers, defaults and the
// one-line replacement, without a window.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

#include "framework/FileReader.h"
#include "framework/Files.h"
#include "schedule/DumpEventFile.h"
#include "schedule/FieldReader.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/SiteFile.h"
#include "tests/schedule/ScheduleTestFiles.h"
#include "tests/support/TestEnv.h"

namespace {

int LineCount(const std::string& bytes) {
    int n = 0;
    for (char c : bytes)
        n += c == '\n';
    return n;
}

// A 300-line site file whose lines all differ.
std::string NumberedSiteFile(int lines) {
    std::string bytes;
    for (int n = 1; n <= lines; ++n)
        bytes += "#" + std::to_string(n) + ",Site " + std::to_string(n) + ",555" +
                 std::to_string(n) + ",2,-,0,D,,,,R,,,,R,,,,R\r\n";
    return bytes;
}

class SiteFiles : public testing::Test {
protected:
    std::string Path(const char* name) const { return JoinPath(m_env.Root(), name); }
    TestEnv m_env;
};

} // namespace

TEST(FieldReader, CopyFieldAndReadFileLine) {
    char field[8];
    const char* line = ",abc\r\n";
    const char* p = CopyField(line, field);
    EXPECT_STREQ("", field);
    EXPECT_EQ(line + 1, p);
    p = CopyField(p, field);
    EXPECT_STREQ("abc", field);
    EXPECT_EQ(line + 4, p); // the CR
    EXPECT_EQ(p, CopyField(p, field));
    EXPECT_STREQ("", field);
    // A field longer than the destination is cut there and skipped to its end.
    p = CopyField("0123456789abc,next", field);
    EXPECT_STREQ("0123456", field);
    CopyField(p, field);
    EXPECT_STREQ("next", field);

    TestEnv env;
    const std::string path = JoinPath(env.Root(), "lines.txt");
    WriteAll(path, "ab\r\n" + std::string(2000, 'x') + "\r\nc\r\nlast");
    CFileReader file;
    ASSERT_TRUE(file.Open(path));
    char buffer[kLineBufferSize];
    EXPECT_EQ(4u, ReadFileLine(file, buffer));
    EXPECT_STREQ("ab\r\n", buffer);
    EXPECT_EQ(799u, ReadFileLine(file, buffer));
    EXPECT_EQ(std::string(799, 'x'), buffer);
    EXPECT_EQ(3u, ReadFileLine(file, buffer)); // the next line, not the long line's rest
    EXPECT_STREQ("c\r\n", buffer);
    EXPECT_EQ(4u, ReadFileLine(file, buffer));
    EXPECT_STREQ("last", buffer);
    EXPECT_EQ(0u, ReadFileLine(file, buffer));
    EXPECT_STREQ("last", buffer); // left as it was
}

TEST(SiteLines, DefaultsAndWritersAreByteExact) {
    EXPECT_EQ("#007,,,,-,0,D,,,,R,,,,R,,,,R\r\n", DefaultSiteLine(7));
    const std::string sites = DefaultSiteFile();
    EXPECT_EQ(9000u, sites.size());
    EXPECT_EQ("#300,,,,-,0,D,,,,R,,,,R,,,,R\r\n", LineOf(sites, 300));
    const std::string events = DefaultDumpEventFile();
    EXPECT_EQ(3000u, events.size());
    EXPECT_EQ("0,,1,0.0\r\n", LineOf(events, 300));

    // The default line reads back with attempts 1 and no usable start.
    SiteRecord blank = ParseSiteLine(DefaultSiteLine(7).c_str());
    EXPECT_EQ(7, blank.site);
    EXPECT_EQ(1, blank.attempts);
    StartTime start;
    EXPECT_FALSE(ReadStartField(blank.start, &start));
    EXPECT_FALSE(ReadStartField("8:00 01-01-2008", &start)); // 15 characters

    SiteRecord site;
    site.site = 5;
    site.name = "Weir";
    site.phone = "D0123";
    site.attempts = 3;
    site.start = "08:05 31-12-2009";
    site.interval = "15";
    site.unit = 'M';
    site.commands[0] = {"DUR/10/^t/^L^M", "DUR_^Y^m^D.plt", true, '1'};
    site.commands[2] = {"ST^M", "Site72.txt", false, 'T'};
    const std::string line = FormatSiteLine(site);
    EXPECT_EQ("#005,Weir,D0123,3,08:05 31-12-2009,15,M,DUR/10/^t/^L^M,DUR_^Y^m^D.plt,A,1,"
              ",,,R,ST^M,Site72.txt,,T\r\n",
              line);
    EXPECT_EQ(line, FormatSiteLine(ParseSiteLine(line.c_str())));
    ASSERT_TRUE(ReadStartField(site.start, &start));
    EXPECT_EQ(8, start.hour);
    EXPECT_EQ(5, start.minute);
    EXPECT_EQ(31, start.day);
    EXPECT_EQ(12, start.month);
    EXPECT_EQ(2009, start.year);
    EXPECT_EQ(site.start, FormatStartField(start));
    EXPECT_TRUE(IsRealStartTime(start));
    EXPECT_FALSE(IsRealStartTime({0, 0, 31, 2, 2009}));
    EXPECT_TRUE(IsRealStartTime({23, 59, 29, 2, 2008}));

    // Nothing typed can shift a field or a line: separators are dropped,
    // texts cut to their widths, an interval that is no whole number is "0".
    site.name = std::string("a,b\r\nc") + std::string(80, 'n');
    site.interval = "-5x";
    site.commands[1].command = std::string(150, 'c');
    const SiteRecord back = ParseSiteLine(FormatSiteLine(site).c_str());
    EXPECT_EQ("abc" + std::string(48, 'n'), back.name);
    EXPECT_EQ("0", back.interval);
    EXPECT_EQ(std::string(99, 'c'), back.commands[1].command);
    EXPECT_EQ("Site72.txt", back.commands[2].file);
    EXPECT_EQ('T', back.commands[2].form);

    // A hand-edited attempts field reads as atoi reads it; outside 1 to 9 it is 1.
    const struct {
        const char* field;
        int attempts;
    } attempts[] = {{"3", 3},     {" 3", 3},  {"+3", 3}, {"\t 9", 9},       {"3x", 3},
                    {"  +7 ", 7}, {"-3", 1},  {"0", 1},  {"12", 1},         {"", 1},
                    {"x3", 1},    {"+ 3", 1}, {"10", 1}, {"99999999999", 1}};
    for (const auto& a : attempts) {
        const std::string line = std::string("#009,Weir,0123,") + a.field + ",-,15,M\r\n";
        EXPECT_EQ(ParseSiteLine(line.c_str()).attempts, a.attempts) << '"' << a.field << '"';
    }
}

// The call line reaches the Communicate page taken apart by the site line's
// one reader: each field within its width (a longer one cut, its rest
// skipped), nothing past the line's end or its line buffer, and the form
// letter as written, since a scheduled call captures nothing for an unknown
// one.
TEST(SiteLines, CallLineIsHandedOverTakenApart) {
    const auto call = [](const std::string& rest) {
        const std::string line = "#004,Weir,0123,2,-,15,M," + rest;
        return CallLine(CallCommandsOf(ParseSiteLine(line.c_str())));
    };
    EXPECT_EQ(call("DUR/5^M," + std::string(120, 'f') + ",AB,1\r\nX,y,A,T"),
              "DUR/5^M," + std::string(100, 'f') + ",A,1,,,,,,,,");
    EXPECT_EQ(call("ST^M,a.txt,,,VER^M,b.txt,x,Q,c,d,A,T\r\n"),
              "ST^M,a.txt,,,VER^M,b.txt,,Q,c,d,A,T");
    // Byte 800 of a line lies past every line buffer: the form letter there
    // and the command after it are not read.
    EXPECT_EQ(call(std::string(770, 'c') + ",f,A,R,DUR^M,g,,T\r\n"),
              std::string(100, 'c') + ",f,A,,,,,,,,,");
}

TEST(DumpEventLines, ParserDefaultsAndRepeatCount) {
    auto parse = [](const std::string& line) {
        return ParseDumpEventLine(line.c_str(), line.size());
    };
    DumpEventRecord r = parse("0,,1,0.0\r\n");
    EXPECT_EQ('0', r.command);
    EXPECT_STREQ("", r.event);
    EXPECT_EQ('1', r.repeats);
    EXPECT_STREQ("0.0", r.total);
    // Under 10 bytes: the defaults, whatever the text.
    r = parse("3,x,5,9\r\n");
    EXPECT_EQ('0', r.command);
    EXPECT_STREQ("", r.event);
    // Empty one-character fields become '0' and '1'.
    r = parse(",12:00:00 01/02/09,,17.5\r\n");
    EXPECT_EQ('0', r.command);
    EXPECT_STREQ("12:00:00 01/02/09", r.event);
    EXPECT_EQ('1', r.repeats);
    EXPECT_STREQ("17.5", r.total);
    EXPECT_EQ("0,12:00:00 01/02/09,1,17.5\r\n", FormatDumpEventLine(r));
    // Over-long texts are cut at 19 and 14 characters.
    r = parse("2," + std::string(30, 'e') + ",<," + std::string(30, '9') + "\r\n");
    EXPECT_EQ('2', r.command);
    EXPECT_EQ(std::string(19, 'e'), r.event);
    EXPECT_EQ(std::string(14, '9'), r.total);
    EXPECT_EQ(12, RepeatCount(r.repeats));
    EXPECT_EQ('<', RepeatChar(12));
    EXPECT_EQ('~', RepeatChar(200)); // never a comma or a control byte
    EXPECT_EQ('0', RepeatChar(-3));
    // A record filled from outside cannot break its line.
    DumpEventRecord bad;
    bad.command = 'x';
    std::memcpy(bad.event, "12:00,x\r\nyyyyyyyyyyy", sizeof bad.event); // no NUL
    bad.repeats = ',';
    EXPECT_EQ("0,12:00,0,0.0\r\n", FormatDumpEventLine(bad));
    // Short records are padded to 10 bytes and read back as written.
    for (const char* total : {"", "1", "12", "123", "0.0"}) {
        DumpEventRecord shortOne;
        shortOne.command = '3';
        shortOne.repeats = RepeatChar(2);
        std::strcpy(shortOne.total, total);
        const std::string line = FormatDumpEventLine(shortOne);
        EXPECT_GE(line.size(), 10u) << line;
        r = parse(line);
        EXPECT_EQ('3', r.command) << line;
        EXPECT_EQ(2, RepeatCount(r.repeats)) << line;
        EXPECT_STREQ(total, r.total) << line;
    }
}

TEST_F(SiteFiles, ReplacementKeepsEveryOtherLineInPlace) {
    const std::string path = Path("site.cfg");
    const std::string temp = Path("site-temp.cfg");
    const std::string original = NumberedSiteFile(300);
    for (int site : {1, 150, 300}) {
        WriteAll(path, original);
        const std::string line = DefaultSiteLine(site);
        ASSERT_TRUE(ReplaceLineOfSite(path, temp, ScheduleFileKind::Site, site, line).ok());
        const std::string now = ReadAll(path);
        EXPECT_EQ(300, LineCount(now));
        for (int n = 1; n <= 300; ++n)
            ASSERT_EQ(n == site ? line : LineOf(original, n), LineOf(now, n)) << site << " " << n;
        EXPECT_FALSE(FileExists(temp));
    }

    // A line 301 is kept, anything after it dropped.
    WriteAll(path, NumberedSiteFile(303));
    ASSERT_TRUE(ReplaceLineOfSite(path, temp, ScheduleFileKind::Site, 2, "new\r\n").ok());
    EXPECT_EQ(WithLine(NumberedSiteFile(301), 2, "new\r\n"), ReadAll(path));

    // A short file is padded with default lines: the new line is site 8's.
    WriteAll(path, NumberedSiteFile(5));
    ASSERT_TRUE(ReplaceLineOfSite(path, temp, ScheduleFileKind::Site, 8, "eight\r\n").ok());
    std::string now = ReadAll(path);
    EXPECT_EQ(300, LineCount(now));
    EXPECT_EQ(LineOf(original, 5), LineOf(now, 5));
    EXPECT_EQ(DefaultSiteLine(6), LineOf(now, 6));
    EXPECT_EQ("eight\r\n", LineOf(now, 8));
    EXPECT_EQ(DefaultSiteLine(300), LineOf(now, 300));
    char buffer[kLineBufferSize];
    ReadLineOfSite(path, ScheduleFileKind::Site, 8, buffer, sizeof buffer);
    EXPECT_STREQ("eight\r\n", buffer);

    // A 2,000-byte line is copied whole and the lines after it stay aligned.
    const std::string longLine = "#004," + std::string(2000, 'L') + "\r\n";
    WriteAll(path, WithLine(original, 4, longLine));
    ASSERT_TRUE(ReplaceLineOfSite(path, temp, ScheduleFileKind::Site, 6, "six\r\n").ok());
    now = ReadAll(path);
    EXPECT_EQ(longLine, LineOf(now, 4));
    EXPECT_EQ("six\r\n", LineOf(now, 6));
    EXPECT_EQ(LineOf(original, 7), LineOf(now, 7));
    ReadLineOfSite(path, ScheduleFileKind::Site, 5, buffer, sizeof buffer);
    EXPECT_EQ(LineOf(original, 5), buffer);

    // Missing files: the reader gives the default line, the replacement
    // writes 300 lines with the new one in place; the whole files are
    // created with their defaults.
    const std::string last = Path("last.cfg");
    EXPECT_EQ(0u, ReadLineOfSite(last, ScheduleFileKind::DumpEvent, 1, buffer, sizeof buffer));
    ASSERT_TRUE(
        ReplaceSiteLine(m_env.Root(), ScheduleFileKind::DumpEvent, 3, "1,e,2,3.0\r\n").ok());
    now = ReadAll(last);
    EXPECT_EQ(300, LineCount(now));
    EXPECT_EQ("1,e,2,3.0\r\n", LineOf(now, 3));
    EXPECT_EQ("0,,1,0.0\r\n", LineOf(now, 4));
    ASSERT_TRUE(CreateDefaultFile(path, ScheduleFileKind::Site).ok());
    EXPECT_EQ(DefaultSiteFile(), ReadAll(path));
}

TEST_F(SiteFiles, FailedReplacementLeavesTheOriginal) {
    const std::string path = Path("last.cfg");
    const std::string temp = Path("last-temp.cfg");
    const std::string original = DefaultDumpEventFile();
    WriteAll(path, original);

    // The temporary name taken by a folder: nothing can be written.
    ASSERT_EQ(0, mkdir(temp.c_str(), 0755));
    FileResult result = ReplaceLineOfSite(path, temp, ScheduleFileKind::DumpEvent, 1, "x\r\n");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(temp, result.path);
    EXPECT_EQ(original, ReadAll(path));
    EXPECT_FALSE(WriteFileWhole(path, temp, "whole").ok());
    EXPECT_EQ(original, ReadAll(path));
    rmdir(temp.c_str());

    // A full disk: the write stops short; the original stays, no temporary file.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    result = ReplaceLineOfSite(path, temp, ScheduleFileKind::DumpEvent, 150, "1,e,2,3.0\r\n");
    const FileResult whole = WriteFileWhole(path, std::string(5000, 'w'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(EFBIG, result.error);
    EXPECT_EQ(temp, result.path);
    EXPECT_EQ(EFBIG, whole.error);
    EXPECT_EQ(original, ReadAll(path));
    EXPECT_FALSE(FileExists(temp));

    // A folder where the file should be: refused, left alone.
    const std::string folder = Path("site.cfg");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    EXPECT_FALSE(ReplaceSiteLine(m_env.Root(), ScheduleFileKind::Site, 1, "x\r\n").ok());
    EXPECT_TRUE(IsDirectory(folder));
    EXPECT_FALSE(FileExists(Path("site-temp.cfg")));
}

// Random bytes through both readers and both parsers: never a crash, an
// overrun (the sanitizer build watches) or a line that writes back as
// another number of fields.
TEST_F(SiteFiles, MalformedInputIsReadSafely) {
    std::mt19937 random(1234);
    const std::string path = Path("fuzz.cfg");
    const char alphabet[] = {',', '\r', '\n', '\0', 'A', 'D', 'T', '1', '2', '-', '#', '9', 'x'};
    for (int round = 0; round < 120; ++round) {
        std::string bytes(random() % 3000, '\0');
        for (char& c : bytes)
            c = random() % 4 ? alphabet[random() % sizeof alphabet] : char(random());
        WriteAll(path, bytes);
        CFileReader file;
        ASSERT_TRUE(file.Open(path));
        char line[kLineBufferSize];
        while (std::size_t n = ReadFileLine(file, line)) {
            ASSERT_LT(n, sizeof line);
            const std::string site = FormatSiteLine(ParseSiteLine(line));
            ASSERT_EQ(site, FormatSiteLine(ParseSiteLine(site.c_str())));
            ASSERT_EQ(18, std::count(site.begin(), site.end(), ','));
            const std::string event = FormatDumpEventLine(ParseDumpEventLine(line, n));
            ASSERT_EQ(3, std::count(event.begin(), event.end(), ','));
            ASSERT_EQ(1, std::count(event.begin(), event.end(), '\n'));
        }
        ReadLineOfSite(path, ScheduleFileKind::Site, int(random() % 302), line, sizeof line);
    }
}
