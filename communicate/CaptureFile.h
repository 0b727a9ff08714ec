// The open capture file of the Communicate page: created when missing,
// appended to or truncated, held exclusively while open, every write
// handed straight to the system so that readers see it at once. No Qt.
#pragma once

#include <cstddef>
#include <string>

class CCaptureFile {
public:
    CCaptureFile() = default;
    ~CCaptureFile();
    CCaptureFile(const CCaptureFile&) = delete;
    CCaptureFile& operator=(const CCaptureFile&) = delete;

    // Write only; `append` keeps the contents and moves to the end, else the
    // file is emptied. False when it cannot be opened or is held elsewhere.
    bool Open(const std::string& path, bool append);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // False when not every byte could be written.
    bool Write(const char* bytes, std::size_t count);

    const std::string& GetFilePath() const { return m_path; }
    // errno of the last failed Open or Write.
    int GetLastError() const { return m_nLastError; }

private:
    int m_fd = -1;
    std::string m_path;
    int m_nLastError = 0;
};
