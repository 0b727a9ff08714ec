// COM port numbers, the serial devices behind them, and the termios device itself. Plain
// C++, no Qt.
#pragma once

#include <cstddef>
#include <string>
#include <termios.h>
#include <vector>

// The device path the program uses for port n: "\\.\COMn".
std::string ComDevicePath(int n);

// The port number of "\\.\COMn" or "COMn" (any letter case, n from 1 to 99 without leading
// zeros); 0 for any other path.
int ComPortNumber(const char* path);

// The folder whose COMn links name the ports: $TRELVORAN_PORTS when set and not empty,
// else ~/.config/trelvoran/ports (empty when there is no home folder).
std::string PortsFolder();

// The device to open for a path. A COM port resolves to the entry COMn of the ports folder
// (a link, followed when the device is opened; a dangling link still claims the number),
// else, when $TRELVORAN_PORTS is not set, to the fixed table:
//   COM1-16 -> /dev/ttyS0-15, COM17-48 -> /dev/ttyUSB0-31, COM49-80 -> /dev/ttyACM0-31;
// COM81-99 only through a link. No match, or a "\\.\" path that names no COM port, gives an
// empty string. Any other path is returned as given.
std::string ResolveDevicePath(const char* path);

// The UUCP lock folders: a live process's "LCK..<device>" there holds its device. By default
// /run/lock and /var/lock; tests name their own.
const std::vector<std::string>& LockFolders();
void SetLockFolders(const std::vector<std::string>& folders);
// The UUCP lock file name of a device: its path under /dev with '/' as '_' ("LCK..ttyUSB0",
// "LCK..pts_3"), after the links to it are followed.
std::string LockFileName(const std::string& device);

// What a probe of a port found. The probe opens the device without changing any setting,
// tests the locks (flock, exclusive mode, UUCP lock files) and closes it again.
enum class PortProbe { Available, InUse, NoPermission, Missing };
// The program holding a port in use, as its live UUCP lock file or /proc/locks (flock) tells
// it: pid 0 when neither does; the name from /proc/<pid>/comm, empty when unreadable.
struct PortHolder {
    int pid = 0;
    std::string program;
};
PortProbe ProbePort(const char* path, PortHolder* holder = nullptr);
// One sentence on a port a probe did not find available, naming it and its device:
// "COM1 (/dev/ttyUSB0) is in use by picocom (pid 4242)."; empty for an available port.
std::string PortProbeText(const char* path, PortProbe probe, const PortHolder& holder);

// A line's framing as the device has it.
struct SerialLine {
    unsigned baud = 0; // 0: a rate the table does not know
    int byteSize = 8;
    char parity = 'N'; // 'N', 'E' or 'O'
    bool twoStopBits = false;
};

// One termios serial device, held exclusively: open and locks, raw mode, line settings,
// reads with time-outs and drained writes. No Qt.
class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    // Opens "\\.\COMn" (see ResolveDevicePath) or a device path: a tty that no flock, no
    // exclusive mode and no live UUCP lock holds. The line is made raw, with HUPCL; baud and
    // framing stay as the driver had them. Close drops DTR and gives the device back the
    // settings it had here. While open, our own UUCP lock file is kept where a lock folder
    // lets us write it. On failure `error` gets one line naming the port and the reason.
    bool Open(const char* path, std::string* error);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    // A pseudo-terminal takes only 8N1, whatever it is asked.
    bool IsPseudoTerminal() const { return m_pseudo; }
    // The last Read or Write found the line hung up or the device gone; cleared by Open and
    // Close.
    bool IsHungUp() const { return m_hungUp; }

    // Sets baud and framing, keeping the line raw; a baud of 0 keeps the device's rate (B0,
    // which hangs up a modem, is never set). False when the rate is not one the table knows.
    bool SetLine(const SerialLine& line);
    // What the device has now.
    SerialLine GetLine() const;
    // Raises DTR and RTS (a pseudo-terminal has no modem lines; that is no error).
    void RaiseModemLines();
    // Discards both buffers.
    void Purge();

    // Up to `totalMs` for the first byte, then at most 50 ms between bytes, never longer than
    // `totalMs` in all; 0 takes only what is queued.
    std::size_t Read(unsigned char* buffer, std::size_t count, int totalMs);
    // With `wait`, up to 100 ms per byte until the bytes have left the driver; without, what
    // the driver takes at once.
    std::size_t Write(const unsigned char* data, std::size_t count, bool wait);

    static bool IsKnownBaud(unsigned baud);

private:
    bool Fail(std::string* error, const std::string& reason);

    int m_fd = -1;
    bool m_exclusive = false; // this object set TIOCEXCL
    termios m_opened{};       // the settings the device had when opened
    bool m_restore = false;   // m_opened is to be given back on Close
    bool m_pseudo = false;
    bool m_hungUp = false;
    std::string m_lockFile;
};
