// Converts a rain dump into each capture form, as the poll hands it over
// in reads of 100 bytes, and reports MB/s per form. The records go to a
// sink that only counts them.
//
//   capture_convert_bench [--bytes N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "communicate/CaptureConverter.h"

namespace {

struct CountingOutput : CaptureOutput {
    std::size_t bytes = 0;
    bool WriteCapture(const char* data, std::size_t count) override {
        (void)data;
        bytes += count;
        return true;
    }
    void ShowDumpDate(const std::string& text) override { (void)text; }
};

// A header, then a day's date line and tips, day after day.
std::string MakeRainDump(std::size_t size) {
    std::string dump = "Site: RAIN001 HS     0.2\r\n";
    char line[64];
    for (int day = 0; dump.size() < size; ++day) {
        std::snprintf(line, sizeof line, "00:00:00 %02d/%02d/24\r\n", 1 + day % 28,
                      1 + day / 28 % 12);
        dump += line;
        for (int tip = 0; tip < 400 && dump.size() < size; ++tip) {
            const int s = tip * 200;
            std::snprintf(line, sizeof line, "%02d:%02d:%02d\r\n", s / 3600 % 24, s / 60 % 60,
                          s % 60);
            dump += line;
        }
    }
    dump += "Record End\r\n";
    return dump;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t size = 10u << 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--bytes") == 0)
            size = std::strtoull(argv[i + 1], nullptr, 10);
    const std::string dump = MakeRainDump(size);
    const struct {
        CaptureKind kind;
        const char* name;
    } forms[] = {{CaptureKind::Raw, "Raw"},
                 {CaptureKind::Csv1, "CSV-1"},
                 {CaptureKind::Csv2, "CSV-2"},
                 {CaptureKind::Tideda, "Tideda"}};
    for (const auto& form : forms) {
        CountingOutput out;
        CCaptureConverter converter(&out);
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t pos = 0; pos < dump.size(); pos += 100) {
            const int n = int(std::min<std::size_t>(100, dump.size() - pos));
            if (form.kind == CaptureKind::Raw)
                converter.CaptureRawLines(dump.data() + pos, n);
            else
                converter.CaptureFormattedLines(form.kind, dump.data() + pos, n);
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-7s %8.1f MB/s  (%zu bytes in, %zu bytes out)\n", form.name,
                    double(dump.size()) / 1e6 / seconds, dump.size(), out.bytes);
    }
    return 0;
}
