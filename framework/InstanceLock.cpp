#include "framework/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "framework/Files.h"

InstanceLock::~InstanceLock() {
    Release();
}

bool InstanceLock::Acquire(const std::string& folder) {
    Release();
    const std::string path = folder + ".lock";
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0)
        CreateFolder(path.substr(0, slash));
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        close(fd);
        return !taken;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release() {
    if (m_fd >= 0)
        close(m_fd); // the lock goes with the file's last descriptor
    m_fd = -1;
}
