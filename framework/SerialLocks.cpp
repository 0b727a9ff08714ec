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
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// The process holding a flock on the device, as /proc/locks lists it; 0 when none is listed.
// A line reads "1: FLOCK  ADVISORY  WRITE 4242 00:05:1234 0 EOF" (device in hex, inode in
// decimal); one with "->" is a waiter, not a holder.
int FlockHolder(const std::string& device) {
    struct stat st {};
    if (stat(device.c_str(), &st) != 0)
        return 0;
    FILE* locks = std::fopen("/proc/locks", "re");
    if (locks == nullptr)
        return 0;
    int holder = 0;
    char line[256];
    while (holder == 0 && std::fgets(line, sizeof line, locks) != nullptr) {
        char kind[16] = {};
        int pid = 0;
        unsigned high = 0;
        unsigned low = 0;
        unsigned long inode = 0;
        if (std::strstr(line, "->") == nullptr &&
            std::sscanf(line, "%*d: %15s %*s %*s %d %x:%x:%lu", kind, &pid, &high, &low, &inode) ==
                5 &&
            std::strcmp(kind, "FLOCK") == 0 && high == major(st.st_dev) &&
            low == minor(st.st_dev) && inode == st.st_ino && pid > 0)
            holder = pid;
    }
    std::fclose(locks);
    return holder;
}

// The name of a running program, from /proc; empty when it cannot be read.
std::string ProgramName(int pid) {
    char path[40];
    std::snprintf(path, sizeof path, "/proc/%d/comm", pid);
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::string();
    char name[64] = {};
    const ssize_t n = read(fd, name, sizeof name - 1);
    close(fd);
    std::string out(name, n > 0 ? std::size_t(n) : 0);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\0'))
        out.pop_back();
    return out;
}

void FindHolder(const std::string& device, PortHolder* holder) {
    if (holder == nullptr)
        return;
    holder->pid = LiveLockOwner(device);
    if (holder->pid == 0)
        holder->pid = FlockHolder(device);
    holder->program = holder->pid != 0 ? ProgramName(holder->pid) : std::string();
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

PortProbe ProbePort(const char* path, PortHolder* holder) {
    if (holder != nullptr)
        *holder = PortHolder();
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
            FindHolder(device, holder);
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
    if (result == PortProbe::InUse)
        FindHolder(device, holder);
    return result;
}

std::string PortProbeText(const char* path, PortProbe probe, const PortHolder& holder) {
    const std::string device = ResolveDevicePath(path);
    const int n = ComPortNumber(path);
    std::string label = n != 0 ? "COM" + std::to_string(n) : std::string(path ? path : "");
    if (!device.empty() && device != label)
        label += " (" + RealPath(device) + ")";
    switch (probe) {
    case PortProbe::Available:
        return std::string();
    case PortProbe::InUse:
        if (holder.pid == 0)
            return label + " is in use by another program.";
        if (holder.program.empty())
            return label + " is in use by process " + std::to_string(holder.pid) + ".";
        return label + " is in use by " + holder.program + " (pid " + std::to_string(holder.pid) +
               ").";
    case PortProbe::NoPermission:
        return label + " may not be opened: permission denied.";
    case PortProbe::Missing:
        break;
    }
    return label + " is gone: no such device.";
}
