#include "schedule/ScheduleFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "framework/FileReader.h"
#include "framework/Files.h"
#include "schedule/DumpEventFile.h"
#include "schedule/FieldReader.h"
#include "schedule/SiteFile.h"

namespace {

int LastError() {
    return errno != 0 ? errno : EIO;
}

} // namespace

std::string DefaultLineOf(ScheduleFileKind kind, int site) {
    return kind == ScheduleFileKind::Site ? DefaultSiteLine(site) : DefaultDumpEventLine();
}

std::size_t ReadLineOfSite(const std::string& path, ScheduleFileKind kind, int site, char* buffer,
                           std::size_t size) {
    CFileReader file;
    if (size < 2 || !file.Open(path))
        return 0;
    if (site < 1)
        site = 1;
    if (site > kSiteCount)
        site = kSiteCount;
    char skip[kLineBufferSize];
    for (int n = 1; n < site; ++n)
        if (ReadFileLine(file, skip) == 0)
            break;
    std::size_t count = ReadFileLine(file, buffer, size);
    if (count == 0) {
        const std::string line = DefaultLineOf(kind, site);
        count = line.size() < size ? line.size() : size - 1;
        std::memcpy(buffer, line.data(), count);
        buffer[count] = '\0';
    }
    return count;
}

std::string TempPathFor(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "-temp";
    return path.substr(0, dot) + "-temp" + path.substr(dot);
}

FileResult WriteFileWhole(const std::string& path, const std::string& tempPath,
                          const std::string& bytes, bool synced) {
    FileResult result;
    WriteFileIfDifferent(path, tempPath, bytes, &result.error, &result.path, synced);
    return result;
}

FileResult WriteFileWhole(const std::string& path, const std::string& bytes, bool synced) {
    return WriteFileWhole(path, TempPathFor(path), bytes, synced);
}

FileResult CreateDefaultFile(const std::string& path, ScheduleFileKind kind, bool synced) {
    return WriteFileWhole(
        path, kind == ScheduleFileKind::Site ? DefaultSiteFile() : DefaultDumpEventFile(), synced);
}

FileResult ReplaceLineOfSite(const std::string& path, const std::string& tempPath,
                             ScheduleFileKind kind, int site, const std::string& newLine) {
    FileResult result;
    if (site < 1 || site > kSiteCount) {
        result.error = EINVAL;
        result.path = path;
        return result;
    }
    std::string old;
    errno = 0;
    if (!ReadWholeFile(path, &old, CFileReader::kDefaultLimit)) {
        if (errno != ENOENT) {
            result.error = LastError();
            result.path = path;
            return result;
        }
        old.clear();
    }

    // Lines 1..301 of the old file, each through its LF (the last may lack it).
    std::string bytes;
    bytes.reserve(old.size() + newLine.size() + 64);
    std::size_t pos = 0;
    for (int n = 1; n <= kSiteCount + 1; ++n) {
        std::string line;
        if (pos < old.size()) {
            const std::size_t lf = old.find('\n', pos);
            const std::size_t end = lf == std::string::npos ? old.size() : lf + 1;
            line = old.substr(pos, end - pos);
            pos = end;
        } else if (n > kSiteCount) {
            break;
        } else {
            line = DefaultLineOf(kind, n);
        }
        // A last line without its LF gets CR LF when more lines follow it.
        if (!bytes.empty() && bytes.back() != '\n')
            bytes += "\r\n";
        bytes += n == site ? newLine : line;
    }
    return WriteFileWhole(path, tempPath, bytes);
}

FileResult ReplaceSiteLine(const std::string& folder, ScheduleFileKind kind, int site,
                           const std::string& newLine) {
    const bool siteFile = kind == ScheduleFileKind::Site;
    return ReplaceLineOfSite(JoinPath(folder, siteFile ? kSiteFileName : kDumpEventFileName),
                             JoinPath(folder, siteFile ? kSiteTempName : kDumpEventTempName), kind,
                             site, newLine);
}
