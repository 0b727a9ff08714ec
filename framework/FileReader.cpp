#include "framework/FileReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CFileReader::~CFileReader() {
    Close();
}

bool CFileReader::Open(const std::string& path, std::uint64_t limit) {
    Close();
    m_error = 0;
    m_cut = false;
    // Non-blocking: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        m_error = errno != 0 ? errno : EIO;
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
        ::close(fd);
        errno = m_error;
        return false;
    }
    m_fd = fd;
    m_left = limit;
    m_pos = m_end = 0;
    return true;
}

void CFileReader::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_pos = m_end = 0;
}

bool CFileReader::Fill() {
    m_pos = m_end = 0;
    if (m_fd < 0)
        return false;
    if (m_left == 0) {
        // One byte past the limit tells a cut file from one that ends there.
        char probe = 0;
        ssize_t n = 0;
        do
            n = ::read(m_fd, &probe, 1);
        while (n < 0 && errno == EINTR);
        m_cut = n > 0;
        Close();
        return false;
    }
    const std::size_t want = m_left < sizeof m_buffer ? std::size_t(m_left) : sizeof m_buffer;
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            m_error = errno;
        if (n <= 0) {
            Close();
            return false;
        }
        m_end = std::size_t(n);
        m_left -= std::uint64_t(n);
        return true;
    }
}

std::size_t CFileReader::Read(void* buffer, std::size_t count) {
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        if (m_pos == m_end && !Fill())
            break;
        const std::size_t take = std::min(count - done, m_end - m_pos);
        std::memcpy(out + done, m_buffer + m_pos, take);
        m_pos += take;
        done += take;
    }
    return done;
}

void CFileReader::ReadRest(std::string* bytes) {
    while (m_pos < m_end || Fill()) {
        bytes->append(m_buffer + m_pos, m_end - m_pos);
        m_pos = m_end;
    }
}

std::size_t CFileReader::ReadLine(char* buffer, std::size_t size) {
    std::size_t kept = 0;
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !Fill())
            break;
        if (!any && size > 0)
            buffer[0] = '\0';
        any = true;
        const char* start = m_buffer + m_pos;
        const void* lf = std::memchr(start, '\n', m_end - m_pos);
        const std::size_t span =
            lf ? std::size_t(static_cast<const char*>(lf) - start) + 1 : m_end - m_pos;
        const std::size_t room = size > kept + 1 ? size - kept - 1 : 0;
        const std::size_t take = std::min(span, room);
        std::memcpy(buffer + kept, start, take);
        kept += take;
        m_pos += span;
        if (lf)
            break;
    }
    if (any && size > 0)
        buffer[kept] = '\0';
    return kept;
}

bool CFileReader::ReadLine(std::string& line, std::size_t keep) {
    line.clear();
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !Fill())
            break;
        any = true;
        const char* start = m_buffer + m_pos;
        const void* lf = std::memchr(start, '\n', m_end - m_pos);
        const std::size_t span =
            lf ? std::size_t(static_cast<const char*>(lf) - start) + 1 : m_end - m_pos;
        if (line.size() < keep)
            line.append(start, std::min(span, keep - line.size()));
        m_pos += span;
        if (lf)
            break;
    }
    return any;
}

bool ReadFileStart(const std::string& path, std::string* bytes, std::size_t limit, int* error) {
    CFileReader file;
    bytes->clear();
    if (!file.Open(path, limit)) {
        if (error)
            *error = file.Error();
        return false;
    }
    file.ReadRest(bytes);
    if (error)
        *error = file.Error();
    return true;
}
