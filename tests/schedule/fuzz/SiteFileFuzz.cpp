// Fuzz target over the schedule's readers and parsers: any bytes as a
// "site.cfg" or "last.cfg" must read without a crash or an overrun, write
// back as lines of the same shape, and survive a one-line replacement.
// Build with -DTRELVORAN_FUZZ=ON and clang (libFuzzer).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "framework/FileReader.h"
#include "framework/Files.h"
#include "schedule/DumpEventFile.h"
#include "schedule/FieldReader.h"
#include "schedule/ScheduleFiles.h"
#include "schedule/SiteFile.h"

namespace {

void Check(bool ok) {
    if (!ok)
        __builtin_trap();
}

int Commas(const std::string& s) {
    int n = 0;
    for (char c : s)
        n += c == ',';
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string dir = "/tmp/trelvoran-fuzz-" + std::to_string(getpid());
    static const bool made = CreateFolder(dir) || IsDirectory(dir);
    Check(made);
    const std::string path = dir + "/site.cfg";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        CFile out;
        Check(out.Open(path, CFile::modeCreate | CFile::modeWrite));
        Check(out.Write(bytes));
    }

    // Fields straight out of the raw bytes (NUL-terminated copy).
    std::string text = bytes;
    const char* p = text.c_str();
    char field[8];
    for (int i = 0; i < 40; ++i)
        p = CopyField(p, field);

    CFileReader in;
    Check(in.Open(path));
    char line[kLineBufferSize];
    while (std::size_t n = ReadFileLine(in, line)) {
        Check(n < sizeof line);
        const SiteRecord record = ParseSiteLine(line);
        const std::string site = FormatSiteLine(record);
        Check(Commas(site) == 18 && site == FormatSiteLine(ParseSiteLine(site.c_str())));
        for (const CallCommand& c : CallCommandsOf(record).command)
            Check(strnlen(c.szCommand, sizeof c.szCommand) < sizeof c.szCommand &&
                  strnlen(c.szFile, sizeof c.szFile) < sizeof c.szFile && c.cAppend[1] == '\0' &&
                  c.cForm[1] == '\0');
        const std::string event = FormatDumpEventLine(ParseDumpEventLine(line, n));
        Check(Commas(event) == 3);
    }
    in.Close();

    const int site = 1 + int(size % kSiteCount);
    const std::string newLine = DefaultSiteLine(site);
    if (ReplaceLineOfSite(path, dir + "/site-temp.cfg", ScheduleFileKind::Site, site, newLine)
            .ok()) {
        Check(ReadLineOfSite(path, ScheduleFileKind::Site, site, line, sizeof line) > 0);
        Check(newLine == line);
    }
    return 0;
}
