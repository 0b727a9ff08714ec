#include "framework/SerialDevice.h"
#include "framework/SerialLocksInternal.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

const char kDevicePrefix[] = "\\\\.\\";

bool PortsFolderFromEnvironment(std::string* folder) {
    const char* env = std::getenv("TRELVORAN_PORTS");
    if (env == nullptr || env[0] == '\0')
        return false;
    *folder = env;
    return true;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    const passwd* pw = getpwuid(getuid());
    if (pw != nullptr && pw->pw_dir != nullptr)
        return pw->pw_dir;
    return std::string();
}

std::string TableDevice(int n) {
    char buf[32];
    if (n >= 1 && n <= 16)
        std::snprintf(buf, sizeof buf, "/dev/ttyS%d", n - 1);
    else if (n >= 17 && n <= 48)
        std::snprintf(buf, sizeof buf, "/dev/ttyUSB%d", n - 17);
    else if (n >= 49 && n <= 80)
        std::snprintf(buf, sizeof buf, "/dev/ttyACM%d", n - 49);
    else
        return std::string();
    return buf;
}

} // namespace

std::string ComDevicePath(int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\\\\.\\COM%d", n);
    return buf;
}

int ComPortNumber(const char* path) {
    if (path == nullptr)
        return 0;
    const size_t prefixLen = sizeof kDevicePrefix - 1;
    if (std::strncmp(path, kDevicePrefix, prefixLen) == 0)
        path += prefixLen;
    if (std::toupper(static_cast<unsigned char>(path[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(path[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(path[2])) != 'M')
        return 0;
    const char* digits = path + 3;
    if (digits[0] < '1' || digits[0] > '9')
        return 0;
    int n = digits[0] - '0';
    if (digits[1] != '\0') {
        if (digits[1] < '0' || digits[1] > '9' || digits[2] != '\0')
            return 0;
        n = n * 10 + (digits[1] - '0');
    }
    return n;
}

std::string PortsFolder() {
    std::string folder;
    if (PortsFolderFromEnvironment(&folder))
        return folder;
    const std::string home = HomeFolder();
    if (home.empty())
        return std::string();
    return home + "/.config/trelvoran/ports";
}

std::string ResolveDevicePath(const char* path) {
    if (path == nullptr || path[0] == '\0')
        return std::string();
    const int n = ComPortNumber(path);
    if (n == 0) {
        if (std::strncmp(path, kDevicePrefix, sizeof kDevicePrefix - 1) == 0)
            return std::string();
        return path;
    }

    std::string folder;
    const bool onlyLinks = PortsFolderFromEnvironment(&folder);
    if (!onlyLinks)
        folder = PortsFolder();
    if (!folder.empty()) {
        const std::string link = folder + "/COM" + std::to_string(n);
        struct stat st;
        if (lstat(link.c_str(), &st) == 0)
            return link;
    }
    if (onlyLinks)
        return std::string();
    return TableDevice(n);
}

// --- The device ---------------------------------------------------------------------------

namespace {

constexpr int64_t kReadIntervalMs = 50;
constexpr int64_t kWriteMsPerByte = 100;

struct BaudSpeed {
    unsigned baud;
    speed_t speed;
};

// B0 is left out on purpose: setting it drops DTR, which hangs up a modem.
const BaudSpeed kSpeeds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},     {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},   {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200}, {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400},
#ifdef B460800
    {460800, B460800},
#endif
#ifdef B921600
    {921600, B921600},
#endif
};

bool SpeedForBaud(unsigned baud, speed_t* speed) {
    for (const BaudSpeed& s : kSpeeds) {
        if (s.baud == baud) {
            *speed = s.speed;
            return true;
        }
    }
    return false;
}

unsigned BaudForSpeed(speed_t speed) {
    for (const BaudSpeed& s : kSpeeds) {
        if (s.speed == speed)
            return s.baud;
    }
    return 0;
}

int64_t MonotonicMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int MsUntil(int64_t end) {
    const int64_t left = end - MonotonicMs();
    if (left <= 0)
        return 0;
    return int(std::min<int64_t>(left, INT_MAX));
}

// No echo, no translation of CR or LF, no XON/XOFF, no signals, no parity marking or
// checking (a parity error must not turn a byte into NUL), no hardware handshake; read()
// returns at once with what is there.
void MakeRaw(termios& t) {
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR |
                           ICRNL | IXON | IXOFF | IXANY | IMAXBEL);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN | NOFLSH |
                           TOSTOP | ECHOCTL | ECHOPRT | ECHOKE);
    t.c_cflag &= ~tcflag_t(CRTSCTS);
    // HUPCL: the last close drops DTR, a kill -9's too, so a modem hangs up.
    t.c_cflag |= CLOCAL | CREAD | HUPCL;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

std::string PortLabel(const char* path, const std::string& device) {
    const int n = ComPortNumber(path);
    if (n == 0)
        return path != nullptr ? path : "";
    std::string label = "COM" + std::to_string(n);
    if (!device.empty())
        label += " (" + device + ")";
    return label;
}

std::string OpenErrorText(const std::string& label, int err) {
    switch (err) {
    case EACCES:
    case EPERM:
        return label + ": permission denied; add your user to the dialout group and log in again";
    case EBUSY:
    case EWOULDBLOCK:
        return label + " is in use by another program";
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return label + ": no such device";
    default:
        return label + ": " + std::strerror(err);
    }
}

bool IsPseudoTerminalFd(int fd) {
    char name[128];
    return ttyname_r(fd, name, sizeof name) == 0 && std::strncmp(name, "/dev/pts/", 9) == 0;
}

} // namespace

SerialDevice::~SerialDevice() {
    Close();
}

bool SerialDevice::IsKnownBaud(unsigned baud) {
    speed_t speed;
    return SpeedForBaud(baud, &speed);
}

bool SerialDevice::Fail(std::string* error, const std::string& reason) {
    Close();
    if (error != nullptr)
        *error = reason;
    return false;
}

bool SerialDevice::Open(const char* path, std::string* error) {
    Close();
    const std::string device = ResolveDevicePath(path);
    const std::string label = PortLabel(path, device);
    if (device.empty())
        return Fail(error, label + ": no serial device is set up for this port");

    m_fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return Fail(error, OpenErrorText(label, errno));
    if (!isatty(m_fd))
        return Fail(error, label + " is not a serial device");
    // flock holds against every other open, root and this process included; exclusive mode
    // keeps out programs that do not lock, and a live UUCP lock file is another program's.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(error, OpenErrorText(label, errno));
    int exclusive = 0;
    if (ioctl(m_fd, TIOCGEXCL, &exclusive) == 0 && exclusive)
        return Fail(error, OpenErrorText(label, EBUSY));
    const int owner = LiveLockOwner(device);
    if (owner != 0 && owner != int(getpid()))
        return Fail(error, OpenErrorText(label, EBUSY));
    m_exclusive = ioctl(m_fd, TIOCEXCL) == 0;

    termios t;
    if (tcgetattr(m_fd, &t) != 0)
        return Fail(error, OpenErrorText(label, errno));
    m_opened = t;
    m_restore = true;
    MakeRaw(t);
    if (tcsetattr(m_fd, TCSANOW, &t) != 0)
        return Fail(error, OpenErrorText(label, errno));
    m_pseudo = IsPseudoTerminalFd(m_fd);
    m_lockFile = WriteLockFile(device);
    if (error != nullptr)
        error->clear();
    return true;
}

void SerialDevice::Close() {
    if (m_fd >= 0) {
        // Output the driver could not send would make close() wait for it.
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0)
            tcflush(m_fd, TCOFLUSH);
        if (m_restore) {
            // DTR drops whether or not the settings given back keep HUPCL;
            // then the port gets back what it had when we opened it.
            int dtr = TIOCM_DTR;
            ioctl(m_fd, TIOCMBIC, &dtr);
            tcsetattr(m_fd, TCSANOW, &m_opened);
        }
        // Left set, exclusive mode would refuse the next open while anyone else keeps the tty
        // open. Only ours: after a failed lock the flag belongs to whoever holds the device.
        if (m_exclusive)
            ioctl(m_fd, TIOCNXCL);
        close(m_fd);
    }
    RemoveLockFile(m_lockFile);
    m_lockFile.clear();
    m_fd = -1;
    m_exclusive = false;
    m_restore = false;
    m_pseudo = false;
    m_hungUp = false;
}

void SerialDevice::Purge() {
    if (m_fd >= 0)
        tcflush(m_fd, TCIOFLUSH);
}

SerialLine SerialDevice::GetLine() const {
    SerialLine line;
    termios t;
    if (m_fd < 0 || tcgetattr(m_fd, &t) != 0)
        return line;
    line.baud = BaudForSpeed(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5:
        line.byteSize = 5;
        break;
    case CS6:
        line.byteSize = 6;
        break;
    case CS7:
        line.byteSize = 7;
        break;
    default:
        line.byteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        line.parity = 'N';
    else
        line.parity = (t.c_cflag & PARODD) ? 'O' : 'E';
    line.twoStopBits = (t.c_cflag & CSTOPB) != 0;
    return line;
}

bool SerialDevice::SetLine(const SerialLine& line) {
    termios t;
    speed_t speed = B0;
    if (m_fd < 0 || (line.baud != 0 && !SpeedForBaud(line.baud, &speed)) ||
        tcgetattr(m_fd, &t) != 0)
        return false;
    MakeRaw(t);
    if (line.baud != 0) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
    switch (line.byteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    default:
        t.c_cflag |= CS8;
        break;
    }
    if (line.parity == 'E' || line.parity == 'O')
        t.c_cflag |= PARENB;
    if (line.parity == 'O')
        t.c_cflag |= PARODD;
    if (line.twoStopBits)
        t.c_cflag |= CSTOPB;
    return tcsetattr(m_fd, TCSANOW, &t) == 0;
}

void SerialDevice::RaiseModemLines() {
    int lines = TIOCM_DTR | TIOCM_RTS;
    if (m_fd >= 0)
        ioctl(m_fd, TIOCMBIS, &lines);
}

std::size_t SerialDevice::Read(unsigned char* buffer, std::size_t count, int totalMs) {
    if (m_fd < 0 || buffer == nullptr || count == 0)
        return 0;
    std::size_t got = 0;
    const int64_t totalEnd = MonotonicMs() + std::max(totalMs, 0);
    int64_t end = totalEnd;
    while (got < count) {
        const int waitMs = totalMs > 0 ? MsUntil(end) : 0;
        pollfd p = {m_fd, POLLIN, 0};
        const int rc = poll(&p, 1, waitMs);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            break; // time-out
        if (!(p.revents & POLLIN)) {
            m_hungUp = true; // hang-up or error with nothing left to read
            break;
        }
        const ssize_t n = read(m_fd, buffer + got, count - got);
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && waitMs > 0)))
            continue;
        if (n == 0 || (n < 0 && errno != EAGAIN)) {
            m_hungUp = true; // 0 after POLLIN: hung up; EIO: the device is gone
            break;
        }
        if (n < 0)
            break;
        got += std::size_t(n);
        end = std::min(totalEnd, MonotonicMs() + kReadIntervalMs);
    }
    return got;
}

std::size_t SerialDevice::Write(const unsigned char* data, std::size_t count, bool wait) {
    if (m_fd < 0 || data == nullptr || count == 0)
        return 0;
    const int64_t end = MonotonicMs() + kWriteMsPerByte * int64_t(count);
    std::size_t sent = 0;
    while (sent < count) {
        const ssize_t n = write(m_fd, data + sent, count - sent);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            m_hungUp = true;
            return sent;
        }
        if (!wait)
            return sent;
        const int waitMs = MsUntil(end);
        if (waitMs == 0)
            return sent;
        pollfd p = {m_fd, POLLOUT, 0};
        const int rc = poll(&p, 1, waitMs);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            return sent;
        if (!(p.revents & POLLOUT)) {
            m_hungUp = true;
            return sent;
        }
    }
    if (!wait)
        return sent;

    // Wait until the driver has sent everything, about as long as the queue needs at the
    // line's rate, never past the write's time-out.
    const unsigned baud = GetLine().baud;
    for (;;) {
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        const int waitMs = MsUntil(end);
        if (waitMs == 0)
            break;
        const int64_t rate = baud != 0 ? baud : 9600;
        const int64_t needMs = int64_t(queued) * 11 * 1000 / rate + 1;
        poll(nullptr, 0, int(std::min<int64_t>(needMs, waitMs)));
    }
    return sent;
}
