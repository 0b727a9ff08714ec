// The serial port: a COM port with Win32-style time-outs, a thin layer over the termios
// device (framework/SerialDevice).
#pragma once

#include "framework/SerialDevice.h"
#include "framework/WinTypes.h"

#include <functional>
#include <string>

class CCommPort {
public:
    CCommPort();
    virtual ~CCommPort();
    CCommPort(const CCommPort&) = delete;
    CCommPort& operator=(const CCommPort&) = delete;

    // Opens "\\.\COMn" (see ResolveDevicePath) or a device path. Closes a port that is still
    // open first. Fails, leaving the object closed, when the device is missing, is not a tty
    // or is held by another open. The line is raw from here on; baud and framing stay as the
    // driver had them. A port that another program holds (flock, exclusive mode, a live UUCP
    // lock file) is refused; while open, our own UUCP lock file is kept where we may write it.
    bool Open(const char* path);
    void Close();
    // Discards both buffers.
    void Purge();
    // Takes the driver's current settings into the reported settings.
    void GetState();

    // Every settings step purges first, the "get" ones too. Each setting is read back from the
    // device, and the "get" ones report what it took; only on a pseudo-terminal (which forces
    // 8N1) is the framing asked for kept as reported.
    void SetBaudRate(DWORD baud); // 8N1, DTR and RTS raised; an unknown rate changes nothing
    DWORD GetBaudRate();
    void SetEvenParity();
    void SetSevenBits();
    BYTE GetByteSize();
    bool IsParityEven() const;

    // Read: up to ms for the first byte, then at most 50 ms between bytes, never longer than
    // ms in all. Write: up to 100 ms per byte until the bytes have left the driver. Until the
    // first call a read takes only what is already queued.
    void SetTimeouts(DWORD ms);
    DWORD Write(const BYTE* data, DWORD count);
    DWORD Read(BYTE* buffer, DWORD count);
    // Takes only what is already queued, whatever the time-outs: never waits.
    DWORD ReadQueued(BYTE* buffer, DWORD count);

    bool IsOpen() const;
    // The last Read or Write found the line hung up or the device gone (a pulled USB
    // adapter); cleared by Open and Close. Such reads and writes return 0 at once.
    bool IsHungUp() const;
    // Why the last Open failed, one line; empty after a successful Open.
    const std::string& GetOpenError() const;

    // Off: Read takes only what is queued and Write does not wait for the driver (tests on a
    // virtual clock). On by default.
    static void SetRealWaits(bool on);
    // Tests: called at the start of every Read and ReadQueued with the count of bytes this port has
    // written since it was opened, so that a simulated device can take them and answer first.
    static void SetReadHook(std::function<void(unsigned long long written)> hook);

private:
    // Sets the line and takes back what the device reports.
    void Apply(const SerialLine& wanted);

    SerialDevice m_device;
    SerialLine m_line;
    DWORD m_readTotalMs = 0;
    std::string m_openError;
    unsigned long long m_nWritten = 0;

    static bool s_realWaits;
    static std::function<void(unsigned long long)> s_readHook;
};
