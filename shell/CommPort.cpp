#include "shell/CommPort.h"

#include "framework/SerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int64_t kReadIntervalMs = 50;
constexpr int64_t kWriteMsPerByte = 100;

struct BaudSpeed {
    DWORD baud;
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

bool SpeedForBaud(DWORD baud, speed_t* speed) {
    for (const BaudSpeed& s : kSpeeds) {
        if (s.baud == baud) {
            *speed = s.speed;
            return true;
        }
    }
    return false;
}

DWORD BaudForSpeed(speed_t speed) {
    for (const BaudSpeed& s : kSpeeds) {
        if (s.speed == speed)
            return s.baud;
    }
    return 0;
}

int64_t NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int MsUntil(int64_t end) {
    const int64_t left = end - NowMs();
    if (left <= 0)
        return 0;
    return int(std::min<int64_t>(left, INT_MAX));
}

// No echo, no translation of CR or LF, no XON/XOFF, no signals, no parity marking, no
// hardware handshake; read() returns at once with what is there.
void MakeRaw(termios& t) {
    t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR |
                           ICRNL | IXON | IXOFF | IXANY | IMAXBEL);
    t.c_oflag &= ~tcflag_t(OPOST);
    t.c_lflag &= ~tcflag_t(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN | NOFLSH |
                           TOSTOP | ECHOCTL | ECHOPRT | ECHOKE);
    t.c_cflag &= ~tcflag_t(CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
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

} // namespace

bool CCommPort::s_realWaits = true;

CCommPort::CCommPort() = default;

CCommPort::~CCommPort() {
    Close();
}

void CCommPort::SetRealWaits(bool on) {
    s_realWaits = on;
}

bool CCommPort::IsOpen() const {
    return m_bOpen != 0;
}

bool CCommPort::IsHungUp() const {
    return m_bHungUp;
}

const std::string& CCommPort::GetOpenError() const {
    return m_openError;
}

bool CCommPort::IsParityEven() const {
    return m_line.parity == kEvenParity;
}

bool CCommPort::Open(const char* path) {
    Close();
    m_openError.clear();

    const std::string device = ResolveDevicePath(path);
    const std::string label = PortLabel(path, device);
    if (device.empty())
        return FailOpen(label + ": no serial device is set up for this port");

    m_fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return FailOpen(OpenErrorText(label, errno));
    if (!isatty(m_fd))
        return FailOpen(label + " is not a serial device");
    // flock holds against every other open, root and this process included; TIOCEXCL keeps
    // out programs that do not lock.
    if (flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return FailOpen(OpenErrorText(label, errno));
    m_bExclusive = ioctl(m_fd, TIOCEXCL) == 0;

    termios t;
    if (tcgetattr(m_fd, &t) != 0)
        return FailOpen(OpenErrorText(label, errno));
    MakeRaw(t);
    if (tcsetattr(m_fd, TCSANOW, &t) != 0)
        return FailOpen(OpenErrorText(label, errno));

    m_bOpen = 1;
    m_line = LineSettings();
    GetState();
    return true;
}

bool CCommPort::FailOpen(const std::string& reason) {
    ReleaseDevice();
    m_openError = reason;
    return false;
}

void CCommPort::ReleaseDevice() {
    if (m_fd >= 0) {
        // Output the driver could not send would make close() wait for it.
        int queued = 0;
        if (m_bOpen && ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0)
            tcflush(m_fd, TCOFLUSH);
        // Left set, TIOCEXCL would refuse the next open while anyone else keeps the tty open.
        // Only ours: after a failed flock the flag belongs to whoever holds the device.
        if (m_bExclusive)
            ioctl(m_fd, TIOCNXCL);
        close(m_fd);
    }
    m_fd = -1;
    m_bOpen = 0;
    m_bHungUp = false;
    m_bExclusive = false;
}

void CCommPort::Close() {
    ReleaseDevice();
}

void CCommPort::Purge() {
    if (!m_bOpen)
        return;
    tcflush(m_fd, TCIOFLUSH);
}

void CCommPort::GetState() {
    if (!m_bOpen)
        return;
    termios t;
    if (tcgetattr(m_fd, &t) != 0)
        return;
    m_line.baudRate = BaudForSpeed(cfgetospeed(&t));
    switch (t.c_cflag & CSIZE) {
    case CS5:
        m_line.byteSize = 5;
        break;
    case CS6:
        m_line.byteSize = 6;
        break;
    case CS7:
        m_line.byteSize = 7;
        break;
    default:
        m_line.byteSize = 8;
        break;
    }
    if (!(t.c_cflag & PARENB))
        m_line.parity = kNoParity;
    else
        m_line.parity = (t.c_cflag & PARODD) ? kOddParity : kEvenParity;
    m_line.twoStopBits = (t.c_cflag & CSTOPB) != 0;
}

void CCommPort::ApplySettings(bool raiseModemLines) {
    termios t;
    if (tcgetattr(m_fd, &t) != 0)
        return;
    MakeRaw(t);
    speed_t speed;
    if (SpeedForBaud(m_line.baudRate, &speed)) {
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
    }
    t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB);
    switch (m_line.byteSize) {
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
    if (m_line.parity != kNoParity)
        t.c_cflag |= PARENB;
    if (m_line.parity == kOddParity)
        t.c_cflag |= PARODD;
    if (m_line.twoStopBits)
        t.c_cflag |= CSTOPB;
    tcsetattr(m_fd, TCSANOW, &t);
    if (raiseModemLines) {
        // A pseudo-terminal has no modem lines; that is not an error.
        int lines = TIOCM_DTR | TIOCM_RTS;
        ioctl(m_fd, TIOCMBIS, &lines);
    }
}

void CCommPort::SetBaudRate(DWORD baud) {
    if (!m_bOpen)
        return;
    Purge();
    speed_t speed;
    if (!SpeedForBaud(baud, &speed))
        return;
    m_line.baudRate = baud;
    m_line.byteSize = 8;
    m_line.parity = kNoParity;
    m_line.twoStopBits = false;
    ApplySettings(true);
}

DWORD CCommPort::GetBaudRate() {
    if (!m_bOpen)
        return 0;
    Purge();
    return m_line.baudRate;
}

void CCommPort::SetEvenParity() {
    if (!m_bOpen)
        return;
    Purge();
    m_line.parity = kEvenParity;
    ApplySettings(false);
}

void CCommPort::SetSevenBits() {
    if (!m_bOpen)
        return;
    Purge();
    m_line.byteSize = 7;
    ApplySettings(false);
}

BYTE CCommPort::GetByteSize() {
    if (!m_bOpen)
        return 0;
    Purge();
    return m_line.byteSize;
}

void CCommPort::SetTimeouts(DWORD ms) {
    if (!m_bOpen)
        return;
    m_readTotalMs = ms;
}

DWORD CCommPort::Read(BYTE* buffer, DWORD count) {
    return ReadWithin(buffer, count, m_readTotalMs, s_realWaits);
}

DWORD CCommPort::ReadQueued(BYTE* buffer, DWORD count) {
    return ReadWithin(buffer, count, 0, false);
}

DWORD CCommPort::ReadWithin(BYTE* buffer, DWORD count, DWORD totalMs, bool wait) {
    if (!m_bOpen || buffer == nullptr || count == 0)
        return 0;
    DWORD got = 0;
    const int64_t totalEnd = NowMs() + int64_t(totalMs);
    int64_t end = totalEnd;
    while (got < count) {
        const int waitMs = wait ? MsUntil(end) : 0;
        pollfd p = {m_fd, POLLIN, 0};
        const int rc = poll(&p, 1, waitMs);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            break; // time-out
        if (!(p.revents & POLLIN)) {
            m_bHungUp = true; // hang-up or error with nothing left to read
            break;
        }
        const ssize_t n = read(m_fd, buffer + got, count - got);
        if (n < 0 && (errno == EINTR || (errno == EAGAIN && waitMs > 0)))
            continue;
        if (n == 0 || (n < 0 && errno != EAGAIN)) {
            m_bHungUp = true; // 0 after POLLIN: hung up; EIO: the device is gone
            break;
        }
        if (n < 0)
            break;
        got += DWORD(n);
        end = std::min(totalEnd, NowMs() + kReadIntervalMs);
    }
    return got;
}

DWORD CCommPort::Write(const BYTE* data, DWORD count) {
    if (!m_bOpen || data == nullptr || count == 0)
        return 0;
    const int64_t end = NowMs() + kWriteMsPerByte * int64_t(count);
    DWORD sent = 0;
    while (sent < count) {
        const ssize_t n = write(m_fd, data + sent, count - sent);
        if (n > 0) {
            sent += DWORD(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            m_bHungUp = true;
            return sent;
        }
        if (!s_realWaits)
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
            m_bHungUp = true;
            return sent;
        }
    }
    if (!s_realWaits)
        return sent;

    // Wait until the driver has sent everything, about as long as the queue needs at the
    // line's rate, never past the write's time-out.
    for (;;) {
        int queued = 0;
        if (ioctl(m_fd, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        const int waitMs = MsUntil(end);
        if (waitMs == 0)
            break;
        const int64_t baud = m_line.baudRate != 0 ? m_line.baudRate : 9600;
        const int64_t needMs = int64_t(queued) * 11 * 1000 / baud + 1;
        poll(nullptr, 0, int(std::min<int64_t>(needMs, waitMs)));
    }
    return sent;
}
