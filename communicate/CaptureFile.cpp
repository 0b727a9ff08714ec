#include "communicate/CaptureFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

CCaptureFile::~CCaptureFile() {
    Close();
}

bool CCaptureFile::Open(const std::string& path, bool append) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_nLastError = errno;
        return false;
    }
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (S_ISDIR(st.st_mode))
        error = EISDIR;
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    if (error != 0) {
        m_nLastError = error;
        ::close(fd);
        return false;
    }
    // Emptied only once it is ours.
    if ((append ? lseek(fd, 0, SEEK_END) : (ftruncate(fd, 0) == 0 ? 0 : -1)) < 0 &&
        S_ISREG(st.st_mode)) {
        m_nLastError = errno;
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void CCaptureFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

bool CCaptureFile::Write(const char* bytes, std::size_t count) {
    if (m_fd < 0)
        return false;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(m_fd, bytes + done, count - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_nLastError = n < 0 ? errno : EIO;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}
