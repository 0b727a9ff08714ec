// The Firmware Upgrade page's send primitive and "Send Reset".
#include <algorithm>

#include "shell/CommPort.h"
#include "upgrade/DialogUpgrade.h"

void CDialogUpgrade::SendBytes(const BYTE* bytes, int length, bool echo) {
    if (m_pCommPort == nullptr)
        return;
    m_pCommPort->Purge();
    m_pCommPort->SetTimeouts(200);
    if (m_pCommPort->Write(bytes, DWORD(length)) < DWORD(length)) {
        Warn("Error Txing !!!");
        return;
    }
    // An SDI-12 line gives back everything sent on it.
    if (echo)
        m_pCommPort->Read(m_abRx, DWORD(std::min<int>(length, sizeof m_abRx)));
}

void CDialogUpgrade::SendCommand(bool echo) {
    SendBytes(m_abTx, m_nTxLength, echo);
}

void CDialogUpgrade::OnBnClickedSendReset() {
    if (TakePort() == nullptr)
        return;
    Perform(ProgrammingSequence::SendReset(CheckedDevice()));
}
