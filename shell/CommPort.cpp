#include "shell/CommPort.h"

#include <algorithm>

bool CCommPort::s_realWaits = true;
std::function<void(unsigned long long)> CCommPort::s_readHook;

CCommPort::CCommPort() = default;

CCommPort::~CCommPort() {
    Close();
}

void CCommPort::SetRealWaits(bool on) {
    s_realWaits = on;
}

void CCommPort::SetReadHook(std::function<void(unsigned long long written)> hook) {
    s_readHook = std::move(hook);
}

bool CCommPort::IsOpen() const {
    return m_device.IsOpen();
}

bool CCommPort::IsHungUp() const {
    return m_device.IsHungUp();
}

const std::string& CCommPort::GetOpenError() const {
    return m_openError;
}

bool CCommPort::IsParityEven() const {
    return m_line.parity == 'E';
}

bool CCommPort::Open(const char* path) {
    Close();
    if (!m_device.Open(path, &m_openError))
        return false;
    m_line = SerialLine();
    m_nWritten = 0;
    GetState();
    return true;
}

void CCommPort::Close() {
    m_device.Close();
}

void CCommPort::Purge() {
    m_device.Purge();
}

void CCommPort::GetState() {
    if (IsOpen())
        m_line = m_device.GetLine();
}

void CCommPort::Apply(const SerialLine& wanted) {
    m_device.SetLine(wanted);
    // What the device took; a pseudo-terminal forces 8N1, so there the framing asked for is
    // what the port reports.
    m_line = m_device.GetLine();
    if (m_device.IsPseudoTerminal()) {
        m_line.byteSize = wanted.byteSize;
        m_line.parity = wanted.parity;
        m_line.twoStopBits = wanted.twoStopBits;
    }
}

void CCommPort::SetBaudRate(DWORD baud) {
    if (!IsOpen())
        return;
    Purge();
    if (!SerialDevice::IsKnownBaud(baud))
        return;
    SerialLine wanted;
    wanted.baud = baud;
    Apply(wanted);
    m_device.RaiseModemLines();
}

DWORD CCommPort::GetBaudRate() {
    if (!IsOpen())
        return 0;
    Purge();
    return m_line.baud;
}

void CCommPort::SetEvenParity() {
    if (!IsOpen())
        return;
    Purge();
    SerialLine wanted = m_line;
    wanted.parity = 'E';
    Apply(wanted);
}

void CCommPort::SetSevenBits() {
    if (!IsOpen())
        return;
    Purge();
    SerialLine wanted = m_line;
    wanted.byteSize = 7;
    Apply(wanted);
}

BYTE CCommPort::GetByteSize() {
    if (!IsOpen())
        return 0;
    Purge();
    return BYTE(m_line.byteSize);
}

void CCommPort::SetTimeouts(DWORD ms) {
    if (IsOpen())
        m_readTotalMs = ms;
}

DWORD CCommPort::Read(BYTE* buffer, DWORD count) {
    if (s_readHook && IsOpen())
        s_readHook(m_nWritten);
    const int totalMs = s_realWaits ? int(std::min<DWORD>(m_readTotalMs, 1u << 30)) : 0;
    return DWORD(m_device.Read(buffer, count, totalMs));
}

DWORD CCommPort::ReadQueued(BYTE* buffer, DWORD count) {
    if (s_readHook && IsOpen())
        s_readHook(m_nWritten);
    return DWORD(m_device.Read(buffer, count, 0));
}

DWORD CCommPort::Write(const BYTE* data, DWORD count) {
    const DWORD sent = DWORD(m_device.Write(data, count, s_realWaits));
    m_nWritten += sent;
    return sent;
}
