// Who holds a serial device: UUCP lock files, flock and exclusive mode, and the probe that
// asks without changing anything.
#include "framework/SerialDevice.h"
#include "framework/SerialLocksInternal.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

std::vector<std::string>& Folders() {
    static std::vector<std::string> folders = {"/run/lock", "/var/lock"};
    return folders;
}

std::string RealPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string out = real;
    std::free(real);
    return out;
}

// The process id in a lock file: ten ASCII digits (HDB) or a binary int (old UUCP).
int LockOwner(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return 0;
    char text[32] = {};
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    // Four bytes that are not all digits and blanks are a binary id.
    if (n == ssize_t(sizeof(int)) && std::strspn(text, "0123456789 \n") != sizeof(int)) {
        int binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        return binary > 0 ? binary : 0;
    }
    if (n <= 0)
        return 0;
    return std::atoi(text);
}

bool ProcessIsAlive(int pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

} // namespace

const std::vector<std::string>& LockFolders() {
    return Folders();
}

void SetLockFolders(const std::vector<std::string>& folders) {
    Folders() = folders;
}

std::string LockFileName(const std::string& device) {
    std::string name = RealPath(device);
    if (name.compare(0, 5, "/dev/") == 0)
        name.erase(0, 5);
    else if (const std::size_t slash = name.rfind('/'); slash != std::string::npos)
        name.erase(0, slash + 1);
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return "LCK.." + name;
}

int LiveLockOwner(const std::string& device) {
    const std::string name = LockFileName(device);
    for (const std::string& folder : LockFolders()) {
        const int pid = LockOwner(folder + "/" + name);
        if (ProcessIsAlive(pid))
            return pid;
    }
    return 0;
}

std::string WriteLockFile(const std::string& device) {
    const std::string name = LockFileName(device);
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", int(getpid()));
    for (const std::string& folder : LockFolders()) {
        const std::string path = folder + "/" + name;
        for (int attempt = 0; attempt < 2; ++attempt) {
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd >= 0) {
                const bool whole = write(fd, text, std::strlen(text)) == ssize_t(std::strlen(text));
                close(fd);
                if (whole)
                    return path;
                unlink(path.c_str());
                break;
            }
            // A dead process's lock is stale: take its place.
            if (errno != EEXIST || ProcessIsAlive(LockOwner(path)) || unlink(path.c_str()) != 0)
                break;
        }
    }
    return std::string();
}

void RemoveLockFile(const std::string& path) {
    if (!path.empty() && LockOwner(path) == int(getpid()))
        unlink(path.c_str());
}

PortProbe ProbePort(const char* path) {
    const std::string device = ResolveDevicePath(path);
    if (device.empty())
        return PortProbe::Missing;
    // No setting is touched: only open, look at the locks and close.
    const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case EACCES:
        case EPERM:
            return PortProbe::NoPermission;
        case EBUSY:
            return PortProbe::InUse;
        default:
            return PortProbe::Missing;
        }
    }
    PortProbe result = PortProbe::Available;
    int exclusive = 0;
    if (!isatty(fd))
        result = PortProbe::Missing;
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        result = PortProbe::InUse;
    else if ((ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive) || LiveLockOwner(device) != 0)
        result = PortProbe::InUse;
    close(fd); // also lets go of the flock
    return result;
}
