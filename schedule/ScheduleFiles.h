// The schedule's files in the data folder: reading one site's line,
// replacing it through a temporary file, default files, and whole-file
// rewrites that never leave a truncated file behind. Plain C++.
#pragma once

#include <cstddef>
#include <string>

constexpr const char* kSiteFileName = "site.cfg";
constexpr const char* kSiteTempName = "site-temp.cfg";
constexpr const char* kDumpEventFileName = "last.cfg";
constexpr const char* kDumpEventTempName = "last-temp.cfg";
constexpr const char* kTemplateFileName = "copy.cfg";

enum class ScheduleFileKind { Site, DumpEvent };

// Outcome of a write: error is 0 on success, else the errno value (EIO when
// the system gave none) and path names the file that failed.
struct FileResult {
    int error = 0;
    std::string path;
    bool ok() const { return error == 0; }
};

// The default line of site n in a file of this kind.
std::string DefaultLineOf(ScheduleFileKind kind, int site);

// Reads site n's line (n - 1 lines skipped) into `buffer` (at most size - 1
// bytes and a NUL); a line missing from a short file gives the default line.
// Returns the bytes kept, or 0 when the file cannot be opened (the buffer is
// then left as it was).
std::size_t ReadLineOfSite(const std::string& path, ScheduleFileKind kind, int site, char* buffer,
                           std::size_t size);

// Writes `bytes` to `tempPath` completely and syncs it, then renames it over
// `path` and syncs the folder; a file already holding `bytes` is left as it
// is. On any failure the temporary file is removed and `path` is left as it
// was. Unsynced, nothing waits for the disk: a kill still leaves the old or
// the new bytes, a power cut may leave the old ones.
FileResult WriteFileWhole(const std::string& path, const std::string& tempPath,
                          const std::string& bytes, bool synced = true);
// The temporary name beside a file: "x.cfg" gives "x-temp.cfg".
std::string TempPathFor(const std::string& path);
// WriteFileWhole through TempPathFor(path).
FileResult WriteFileWhole(const std::string& path, const std::string& bytes, bool synced = true);

// Creates the file with its 300 default lines.
FileResult CreateDefaultFile(const std::string& path, ScheduleFileKind kind, bool synced = true);

// Replaces site n's line (1..300) with `newLine` (which ends with CR LF):
// the lines before and after are copied byte for byte however long they
// are, a short file is padded with default lines so that the new line lands
// on its own site, a line 301 is kept and anything after it dropped. A
// missing file counts as 300 default lines. Through `tempPath` and a rename.
FileResult ReplaceLineOfSite(const std::string& path, const std::string& tempPath,
                             ScheduleFileKind kind, int site, const std::string& newLine);
// The same in the data folder, with "site.cfg"/"site-temp.cfg" or
// "last.cfg"/"last-temp.cfg".
FileResult ReplaceSiteLine(const std::string& folder, ScheduleFileKind kind, int site,
                           const std::string& newLine);
