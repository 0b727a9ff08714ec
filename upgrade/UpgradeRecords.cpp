// The Firmware Upgrade page's send primitive, the records of the image and "Send Reset".
#include <algorithm>
#include <cstring>

#include "shell/CommPort.h"
#include "upgrade/DialogUpgrade.h"

void CDialogUpgrade::SendBytes(const BYTE* bytes, int length) {
    if (m_pCommPort == nullptr)
        return;
    m_pCommPort->Purge();
    m_pCommPort->SetTimeouts(200);
    if (m_pCommPort->Write(bytes, DWORD(length)) < DWORD(length)) {
        Warn("Error Txing !!!");
        return;
    }
    // An SDI-12 line gives back everything sent on it.
    if (IsSdi12Device(CheckedDevice()))
        m_pCommPort->Read(m_abRx, DWORD(std::min<int>(length, sizeof m_abRx)));
}

void CDialogUpgrade::SendCommand() {
    SendBytes(m_abTx, m_nTxLength);
}

void CDialogUpgrade::SendText(const char* text, std::size_t length) {
    m_nTxLength = int(std::min(length, sizeof m_abTx));
    std::memcpy(m_abTx, text, std::size_t(m_nTxLength));
    SendCommand();
}

void CDialogUpgrade::SendText(const char* text) {
    SendText(text, std::strlen(text));
}

int CDialogUpgrade::SendNextRecord() {
    if (m_nReadPos >= int(m_frames.size()))
        return 1; // not reached: every loaded image ends with its last record
    const HexFrame& frame = m_frames[std::size_t(m_nReadPos++)];
    std::memcpy(m_abTx, frame.bytes, frame.length);
    m_nTxLength = frame.length;
    m_bTxLast = IsLastHexFrame(frame, CheckedDevice() == DeviceType::Px70);
    m_stcTxLine.SetWindowText(HexFrameDump(frame, m_abImage.data(), m_abImage.size()));
    m_stcRxLine.SetWindowText("");
    SendCommand();
    return m_bTxLast ? 1 : 0;
}

int CDialogUpgrade::ResendRecord() {
    m_stcRxLine.SetWindowText("");
    SendCommand();
    return m_bTxLast ? 1 : 0;
}

void CDialogUpgrade::OnBnClickedSendReset() {
    if (TakePort() == nullptr)
        return;
    // Its own buffer: a record waiting to be sent again stays as it is.
    const BYTE endOfFile[] = {':', 0x00, 0x00, 0x00, kHexRecordEndOfFile, 0xFF};
    m_stcTxLine.SetWindowText(": 0x00 0x00 0x00 0x01 0xFF");
    SendBytes(endOfFile, int(sizeof endOfFile));
}
