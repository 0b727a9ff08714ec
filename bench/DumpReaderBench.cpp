// The dump-file reader on a large rain dump.
//
//   dumpreader --generate FILE   writes a 100 MB rain dump (3,000 days from
//                                1 January 2000, about 3,300 tips a day)
//   dumpreader --time FILE [--wc]
//                                reads it once under "5 Mins" (the file
//                                already cached, so the whole process can be
//                                timed against `wc -l`); with --wc reads it
//                                once to cache it, then times the reader and
//                                `wc -l` here
//   dumpreader --print FILE [--mdy] [--period N]
//                                prints what the reader delivers
// Plain C++ like the reader, so that its start-up is the reader's alone; the
// View Plot page on the same file is timed by dumpplot.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/BenchClock.h"
#include "bench/DumpBench.h"
#include "plot/DumpReader.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

int Generate(const char* path) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::perror(path);
        return 1;
    }
    std::string out = "DUR\r\r\nSite: BENCH HS     0.2\r\n";
    const PlotSeconds first = MakePlotTime(2000, 1, 1, 0, 0, 0);
    const int tipsPerDay = 3300;
    for (int day = 0; day < 3000; ++day) {
        const PlotFields d = PlotTimeFields(first + PlotSeconds(day) * 86400);
        char line[64];
        std::snprintf(line, sizeof line, "00:00:00 %02d/%02d/%02d\r\n", d.day, d.month,
                      d.year % 100);
        out += line;
        for (int i = 1; i <= tipsPerDay; ++i) {
            const int s = int(std::int64_t(i) * 86399 / tipsPerDay);
            std::snprintf(line, sizeof line, "%02d:%02d:%02d\r\n", s / 3600, s / 60 % 60, s % 60);
            out += line;
        }
        if (out.size() > (1u << 22)) {
            std::fwrite(out.data(), 1, out.size(), f);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), f);
    std::fclose(f);
    return 0;
}

int Time(const char* path, bool againstWc) {
    const long size = FileSize(path);
    if (size < 0) {
        std::perror(path);
        return 1;
    }
    const double mb = double(size) / 1e6;
    DumpReadOptions options;
    options.periodIndex = 4;
    if (againstWc) {
        CountSink warm;
        ReadDumpFile(path, options, warm); // brings the file into the cache
    }
    CountSink sink;
    const double cpu0 = ThreadCpuSeconds();
    const auto t0 = Clock::now();
    ReadDumpFile(path, options, sink);
    const double reader = Seconds(t0, Clock::now());
    const double cpu = ThreadCpuSeconds() - cpu0;
    std::printf("reader  %8.1f MB/s (%ld points; %.1f MB/s of thread CPU)\n", mb / reader,
                sink.points, mb / cpu);
    if (!againstWc)
        return 0;
    const std::string command = std::string("wc -l < '") + path + "' > /dev/null";
    const auto t1 = Clock::now();
    const int rc = std::system(command.c_str());
    const double wc = Seconds(t1, Clock::now());
    if (rc != 0)
        std::fprintf(stderr, "wc -l failed\n");
    std::printf("wc -l   %8.1f MB/s\n", mb / wc);
    std::printf("ratio   %8.3f (reader / wc -l)\n", wc / reader);
    return 0;
}

std::string Stamp(double ole) {
    PlotSeconds s;
    if (!OleToPlotTime(ole, &s))
        return "invalid";
    const PlotFields f = PlotTimeFields(s);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

struct PrintSink : DumpSink {
    void OnKind(std::uint8_t kind) override { std::printf("kind %d\n", kind); }
    void OnTitle(const std::string& title) override { std::printf("title %s\n", title.c_str()); }
    void OnPoint(int series, double time, double value) override {
        std::printf("point %d %s %.6g\n", series, Stamp(time).c_str(), value);
    }
    void OnMessage(const std::string& message) override {
        std::printf("message %s\n", message.c_str());
    }
    void OnEnd(const DumpSummary& s) override {
        std::printf("records %s\n", s.anyRecord ? "yes" : "no");
        if (s.complete && s.anyRecord) {
            if (s.hasTimeRange)
                std::printf("range %s %s\n", Stamp(s.earliest).c_str(), Stamp(s.latest).c_str());
            else
                std::printf("range none\n");
            std::printf("values %.6g %.6g\n", s.low, s.high);
        }
    }
};

int Print(const char* path, bool dayFirst, int period) {
    DumpReadOptions options;
    options.dayFirst = dayFirst;
    options.periodIndex = period;
    PrintSink sink;
    const DumpReadResult r = ReadDumpFile(path, options, sink);
    if (!r.opened) {
        std::printf("message No Plot File Found!\n");
        return 1;
    }
    std::printf("increment %.6g\n", r.rainIncrement);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: dumpreader --generate FILE | "
                         "--time FILE [--wc] | --print FILE [--mdy] [--period N]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string mode = argv[1];
    if (mode == "--generate")
        return Generate(argv[2]);
    if (mode == "--time") {
        if (argc > 4 || (argc == 4 && std::strcmp(argv[3], "--wc") != 0))
            return Usage();
        return Time(argv[2], argc == 4);
    }
    if (mode == "--print") {
        bool dayFirst = true;
        int period = 0;
        for (int i = 3; i < argc; ++i) {
            if (std::strcmp(argv[i], "--mdy") == 0)
                dayFirst = false;
            else if (std::strcmp(argv[i], "--period") == 0 && i + 1 < argc)
                period = std::atoi(argv[++i]);
            else
                return Usage();
        }
        return Print(argv[2], dayFirst, period);
    }
    return Usage();
}
