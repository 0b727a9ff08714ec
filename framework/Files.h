// Files in binary mode and the file-system services the program uses:
// folders, copies, renames, deletes, finding files by pattern. Paths are
// joined with '/'. No Qt in here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CFile {
public:
    enum : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    bool Open(const std::string& path, unsigned flags);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_path; }

    std::size_t Read(void* buffer, std::size_t count);
    // False when not every byte could be written.
    bool Write(const void* data, std::size_t count);
    bool Write(const std::string& bytes) { return Write(bytes.data(), bytes.size()); }
    void Flush();
    std::uint64_t GetLength() const;
    std::uint64_t SeekToEnd();
    void SeekToBegin();
    // Moves to `pos` from the start; the new position (0 on failure).
    std::uint64_t Seek(std::uint64_t pos);
    std::uint64_t GetPosition() const;

private:
    int m_fd = -1;
    std::string m_path;
};

std::string JoinPath(const std::string& folder, const std::string& name);
bool FileExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Creates the folder and its missing parents; true only when the folder
// itself did not exist before and now does. When a folder cannot be made,
// errno holds the reason.
bool CreateFolder(const std::string& path);
// Replaces the file at `path` with `bytes`: a temporary file beside it is
// written, synced and renamed over it, then the folder is synced. On failure
// the original stays as it was, no temporary file is left, and `error` (and
// errno) get the system's reason.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, int* error = nullptr);
// The same through the temporary file `tempPath`; on failure `failedPath`
// (when given) names the file the failure was at. Unsynced, the temporary
// file is renamed over without waiting for the disk: a kill still leaves
// the old or the new bytes, a power cut may leave the old ones.
bool ReplaceFileContentsVia(const std::string& path, const std::string& tempPath,
                            const std::string& bytes, int* error = nullptr,
                            std::string* failedPath = nullptr, bool synced = true);
// True when the file at `path` is a regular file holding exactly `bytes`.
bool FileHolds(const std::string& path, const std::string& bytes);
// ReplaceFileContentsVia, unless the file already holds exactly `bytes`
// (then nothing is written and the result is true).
bool WriteFileIfDifferent(const std::string& path, const std::string& tempPath,
                          const std::string& bytes, int* error = nullptr,
                          std::string* failedPath = nullptr, bool synced = true);
// The same through "<path>.part".
bool WriteFileIfDifferent(const std::string& path, const std::string& bytes, int* error = nullptr,
                          bool synced = true);

// The steps of a replace, for tests that make one of them fail.
enum class ReplaceStep { None, Open, Write, Sync, Rename };
// The next replace fails at `step` with `error` as the system's reason,
// once; ReplaceStep::None clears it.
void FailNextReplaceAt(ReplaceStep step, int error);
// Copies, replacing the target through ReplaceFileContents.
bool CopyFileReplace(const std::string& from, const std::string& to);
bool DeleteFileAt(const std::string& path);
bool RenameFile(const std::string& from, const std::string& to);
// Names (not paths) of the files in `folder` matching `pattern` ('*', '?'),
// without regard to case, sorted by name.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern);
// The whole of a regular file, opened without blocking; false (errno EFBIG)
// for one longer than `limit`, ENODEV for a FIFO or device, EISDIR for a
// folder.
bool ReadWholeFile(const std::string& path, std::string* bytes, std::size_t limit = 64u << 20);
std::string CurrentDirectory();
std::string ExecutableDirectory();
