#include "tests/support/PtyPeer.h"

#include "framework/SerialDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

// Waits for the kernel or the program end as soon as the bytes are there; their limits only
// catch a hang, so a busy machine never reaches them.
constexpr int kSendWaitMs = 20000;

long long NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

int MsUntil(long long end) {
    const long long left = end - NowMs();
    return left > 0 ? int(left) : 0;
}

void CloseFd(int& fd) {
    if (fd >= 0)
        close(fd);
    fd = -1;
}

void MakeRawFd(int fd) {
    termios t;
    if (tcgetattr(fd, &t) != 0)
        return;
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
}

} // namespace

PtyPeer::PtyPeer() {
    if (openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        ADD_FAILURE() << "openpty: " << std::strerror(errno);
        m_master = m_slave = -1;
        return;
    }
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    // The master raw too: it would otherwise echo and translate what the program writes.
    MakeRawFd(m_master);
    MakeRawFd(m_slave);
    char name[256];
    if (ttyname_r(m_slave, name, sizeof name) == 0)
        m_slavePath = name;
    else
        ADD_FAILURE() << "ttyname_r: " << std::strerror(errno);
}

PtyPeer::~PtyPeer() {
    Release();
    for (const std::string& link : m_links)
        unlink(link.c_str());
    CloseFd(m_master);
    CloseFd(m_slave);
}

bool PtyPeer::LinkAs(const std::string& dir, int comNumber) {
    const std::string link = dir + "/COM" + std::to_string(comNumber);
    if (symlink(m_slavePath.c_str(), link.c_str()) != 0) {
        ADD_FAILURE() << "symlink " << link << ": " << std::strerror(errno);
        return false;
    }
    m_links.push_back(link);
    return true;
}

int PtyPeer::QueuedForProgram() const {
    int queued = 0;
    if (m_slave < 0 || ioctl(m_slave, FIONREAD, &queued) != 0)
        return -1;
    return queued;
}

bool PtyPeer::Send(const std::string& bytes) {
    if (m_master < 0) {
        ADD_FAILURE() << "Send on a peer without a master";
        return false;
    }
    const long long end = NowMs() + kSendWaitMs;
    const int target = QueuedForProgram() + int(bytes.size());
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN && MsUntil(end) > 0) {
            pollfd p = {m_master, POLLOUT, 0};
            poll(&p, 1, MsUntil(end));
            continue;
        }
        ADD_FAILURE() << "Send wrote " << sent << " of " << bytes.size() << " bytes";
        return false;
    }
    // The kernel hands the bytes over to the slave a moment later.
    for (;;) {
        const int queued = QueuedForProgram();
        if (queued >= target)
            return true;
        if (queued < 0 || MsUntil(end) == 0)
            break;
        poll(nullptr, 0, 1);
    }
    ADD_FAILURE() << "Send: only " << QueuedForProgram() << " of " << target
                  << " bytes queued for the program after " << kSendWaitMs << " ms";
    return false;
}

void PtyPeer::ReadInto(std::string& out) {
    if (m_master < 0)
        return;
    char buf[4096];
    for (;;) {
        // A read on the master also hands over bytes that the kernel has not yet passed on.
        const ssize_t n = read(m_master, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
}

std::string PtyPeer::ReadAvailable(int waitMs) {
    std::string out;
    out.swap(m_pending);
    ReadInto(out);
    if (out.empty() && waitMs > 0 && m_master >= 0) {
        pollfd p = {m_master, POLLIN, 0};
        poll(&p, 1, waitMs);
        ReadInto(out);
    }
    return out;
}

std::string PtyPeer::Take(std::size_t count, int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    std::string out;
    out.swap(m_pending);
    for (;;) {
        ReadInto(out);
        if (out.size() >= count)
            break;
        const int waitMs = MsUntil(end);
        if (waitMs == 0 || m_master < 0) {
            ADD_FAILURE() << "the program wrote " << count - out.size()
                          << " bytes that never arrived";
            return out;
        }
        pollfd p = {m_master, POLLIN, 0};
        poll(&p, 1, waitMs);
    }
    m_pending = out.substr(count);
    out.resize(count);
    return out;
}

testing::AssertionResult PtyPeer::Expect(const std::string& bytes, int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    for (;;) {
        ReadInto(m_pending);
        if (m_pending.size() >= bytes.size())
            break;
        if (m_pending.compare(0, m_pending.size(), bytes, 0, m_pending.size()) != 0)
            break; // already different
        const int waitMs = MsUntil(end);
        if (waitMs == 0 || m_master < 0)
            break;
        pollfd p = {m_master, POLLIN, 0};
        poll(&p, 1, waitMs);
    }
    if (m_pending.compare(0, bytes.size(), bytes) == 0) {
        m_pending.erase(0, bytes.size());
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "expected \"" << Printable(bytes) << "\" from the program, got \""
           << Printable(m_pending) << "\"";
}

void PtyPeer::Drain() {
    m_pending.clear();
    ReadInto(m_pending);
    m_pending.clear();
}

void PtyPeer::Hold() {
    if (m_hold >= 0)
        return;
    m_hold = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_hold < 0) {
        ADD_FAILURE() << "Hold: open " << m_slavePath << ": " << std::strerror(errno);
        return;
    }
    if (flock(m_hold, LOCK_EX | LOCK_NB) != 0) {
        ADD_FAILURE() << "Hold: flock " << m_slavePath << ": " << std::strerror(errno);
        CloseFd(m_hold);
    }
}

void PtyPeer::Release() {
    CloseFd(m_hold);
}

void PtyPeer::MakeSlaveCooked() {
    termios t;
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0) {
        ADD_FAILURE() << "MakeSlaveCooked: tcgetattr failed";
        return;
    }
    t.c_iflag = ICRNL | IXON | IXOFF | BRKINT | INPCK | PARMRK | IMAXBEL;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | ICANON | ISIG | IEXTEN;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (tcsetattr(m_slave, TCSANOW, &t) != 0)
        ADD_FAILURE() << "MakeSlaveCooked: tcsetattr: " << std::strerror(errno);
}

void PtyPeer::HangUp() {
    m_pending.clear();
    CloseFd(m_master);
}

std::string PtyPeer::Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        switch (c) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        default:
            if (c >= 0x20 && c < 0x7F) {
                out += char(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            }
        }
    }
    return out;
}

TempPortsFolder::TempPortsFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/trelvoran-ports-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp " << pattern << ": " << std::strerror(errno);
        return;
    }
    m_path = buf.data();
    if (const char* previous = std::getenv("TRELVORAN_PORTS")) {
        m_hadPrevious = true;
        m_previous = previous;
    }
    setenv("TRELVORAN_PORTS", m_path.c_str(), 1);
    // UUCP lock files go into the folder too, never into the machine's.
    m_previousLockFolders = LockFolders();
    SetLockFolders({m_path});
}

TempPortsFolder::~TempPortsFolder() {
    SetLockFolders(m_previousLockFolders);
    if (m_hadPrevious)
        setenv("TRELVORAN_PORTS", m_previous.c_str(), 1);
    else
        unsetenv("TRELVORAN_PORTS");
    if (m_path.empty())
        return;
    if (DIR* dir = opendir(m_path.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                unlink((m_path + "/" + name).c_str());
        }
        closedir(dir);
    }
    rmdir(m_path.c_str());
}

std::string InUseText(int n, const PtyPeer& peer, int pid) {
    char program[64] = {};
    char path[40];
    std::snprintf(path, sizeof path, "/proc/%d/comm", pid);
    if (FILE* comm = std::fopen(path, "r")) {
        if (std::fscanf(comm, "%63s", program) != 1)
            program[0] = '\0';
        std::fclose(comm);
    }
    return "COM" + std::to_string(n) + " (" + peer.SlavePath() + ") is in use by " + program +
           " (pid " + std::to_string(pid) + ").";
}
