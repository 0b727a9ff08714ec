// Reading settings, schedule and path files: opened without blocking, read
// only when they are regular files, never past a limit, through a buffer.
// A FIFO, a device or a directory in a file's place fails at once with the
// reason. No Qt in here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CFileReader {
public:
    // What a settings file may hold at most unless its reader says otherwise.
    static constexpr std::uint64_t kDefaultLimit = 4u << 20;

    CFileReader() = default;
    ~CFileReader();
    CFileReader(const CFileReader&) = delete;
    CFileReader& operator=(const CFileReader&) = delete;

    // False when the file is missing, unreadable or not a regular file;
    // Error() then says why (EISDIR for a folder, ENODEV for a FIFO, a
    // device or a socket). At most `limit` bytes are read.
    bool Open(const std::string& path, std::uint64_t limit = kDefaultLimit);
    void Close();
    // The errno value of the last failure, 0 when there was none.
    int Error() const { return m_error; }
    // True once reading stopped at the limit with more of the file after it.
    bool Cut() const { return m_cut; }

    std::size_t Read(void* buffer, std::size_t count);
    // The rest of the file, up to the limit, appended to `bytes`.
    void ReadRest(std::string* bytes);
    // One line through its LF, keeping at most size - 1 bytes and a NUL; the
    // rest of a longer line is read and dropped. Returns the bytes kept, 0 at
    // the end (the buffer is then left as it was).
    std::size_t ReadLine(char* buffer, std::size_t size);
    // The same into `line`, keeping at most `keep` bytes; false at the end.
    bool ReadLine(std::string& line, std::size_t keep);

private:
    bool Fill();

    int m_fd = -1;
    int m_error = 0;
    bool m_cut = false;
    std::uint64_t m_left = 0; // bytes the limit still allows
    char m_buffer[8192];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
};

// At most the first `limit` bytes of a file; false (with `error`) when it
// cannot be opened as a regular file. A longer file is cut, not refused.
bool ReadFileStart(const std::string& path, std::string* bytes, std::size_t limit,
                   int* error = nullptr);
