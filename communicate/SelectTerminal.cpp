// The Communicate page's serial poll, terminal and keyboard.
#include <algorithm>
#include <cstring>

#include "communicate/DialogSelect.h"
#include "framework/Clock.h"
#include "framework/Text.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

namespace {

// One tick keeps reading while reads come back full, so that a fast line
// (up to 5760 bytes a second) never overflows the driver's buffer; the
// bounds keep the page responsive.
constexpr int kMaxBlocksPerTick = 64;
constexpr std::int64_t kMaxReadingPerTickMs = 100;

} // namespace

void CDialogSelect::Poll() {
    KillTimer(IDT_POLL);
    if (IsCurrent(PAGE_FIRMWARE_UPGRADE)) {
        // The port belongs to the Firmware Upgrade page meanwhile.
        CloseDump();
        StopCapture();
        SetTimer(IDT_POLL, 100);
        return;
    }
    if (IsCurrent(PAGE_VIEW_PLOT))
        CloseDump();

    // Only what is already queued: a silent line must never hold the window.
    const std::int64_t start = Clock::NowMs();
    for (int block = 0; block < kMaxBlocksPerTick; ++block) {
        const DWORD n = m_pCommPort->ReadQueued(reinterpret_cast<BYTE*>(m_szReadBuffer),
                                                DWORD(sizeof m_szReadBuffer));
        if (n == 0)
            break;
        HandleReceived(m_szReadBuffer, int(n));
        if (n < sizeof m_szReadBuffer || Clock::NowMs() - start >= kMaxReadingPerTickMs)
            break;
    }
    ReportLostLine();
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::ReportLostLine() {
    if (!m_pCommPort->IsHungUp() || m_bLostLineReported)
        return;
    m_bLostLineReported = 1;
    MessageBox(Format("COM%d has stopped answering: the device was unplugged or the line was "
                      "lost.\nChoose the port again once it is back.",
                      m_nPortNumber)
                   .c_str(),
               "Warning", MB_ICONEXCLAMATION);
}

void CDialogSelect::HandleReceived(const char* bytes, int count) {
    m_nTotalReceived += count;
    ResetAutoHangup();

    if (m_bCollectReply && m_nRxCount + count < 90) {
        std::memcpy(m_szModemReply + m_nRxCount, bytes, std::size_t(count));
        m_szModemReply[m_nRxCount + count] = '\0';
    }
    m_nRxCount += count;

    // The terminal shows nothing for a NUL and goes on with what follows;
    // the dump file and the capture still get every byte.
    std::string shown(bytes, std::size_t(count));
    std::erase(shown, '\0');
    TrimTerminal();
    InsertAtTerminalEnd(shown);

    if (IsDumpReceiving(m_nDumpState))
        WriteDump(bytes, count);

    if (m_nCaptureKind == CaptureKind::Raw)
        CaptureRawLines(bytes, count);
    else if (m_nCaptureKind != CaptureKind::None)
        CaptureFormattedLines(bytes, count);
}

void CDialogSelect::TrimTerminal() {
    const int limit = m_editTerminal.GetLimitText();
    const int length = m_editTerminal.Model().Length();
    if (length <= limit - 1000)
        return;
    int cut = m_editTerminal.LineIndex(m_editTerminal.LineFromChar(2000));
    // A first line longer than 2000 characters: cut inside it rather than
    // never trimming at all.
    if (cut <= 0)
        cut = std::min(2000, length);
    m_editTerminal.SetSel(0, cut);
    m_editTerminal.ScrollCaret();
    m_editTerminal.ReplaceSel(std::string());
}

void CDialogSelect::InsertAtTerminalEnd(const std::string& bytes) {
    const int end = m_editTerminal.Model().Length();
    m_editTerminal.SetSel(end, end, TRUE);
    m_editTerminal.ReplaceSel(bytes);
    m_editTerminal.ScrollCaret();
}

void CDialogSelect::OnClearScreen() {
    m_editTerminal.SetWindowText("");
    m_stcDumpDate.SetWindowText("");
    m_editTerminal.SetFocus();
}

void CDialogSelect::SendTypedByte(BYTE byte) {
    const bool sdi12 = m_nBaudIndex == BAUD_INDEX_SDI12;
    KillTimer(IDT_POLL);
    m_pCommPort->Write(&byte, 1);
    if (!sdi12) {
        if (byte == VK_BACK) {
            // The last character shown goes, whoever sent it.
            const int end = m_editTerminal.Model().Length();
            if (end > 0) {
                m_editTerminal.SetSel(end - 1, end);
                m_editTerminal.ReplaceSel(std::string());
            }
        } else {
            InsertAtTerminalEnd(std::string(1, char(byte)));
        }
    }
    CloseDump();
    if (m_nCaptureKind == CaptureKind::Raw && !sdi12)
        WriteRawCapture(reinterpret_cast<const char*>(&byte), 1);
    SetTimer(IDT_POLL, 50);
    ResetAutoHangup();
}

BOOL CDialogSelect::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        m_nLastKey = int(msg->wParam);
        switch (msg->wParam) {
        case VK_ESCAPE: {
            const BYTE esc = 27;
            m_pCommPort->Write(&esc, 1);
            return TRUE;
        }
        case VK_TAB:
            if (IsCurrent(PAGE_COMMUNICATE) && m_btnCapture.HasFocus()) {
                m_editTerminal.SetFocus();
                return TRUE;
            }
            return FALSE;
        case VK_RETURN:
            if (IsCurrent(PAGE_COMMUNICATE)) {
                SendTypedByte('\r');
                m_stcDumpDate.SetWindowText("");
            }
            return TRUE;
        default:
            return FALSE;
        }
    }
    if (msg->message == WM_CHAR) {
        m_nLastKey = int(msg->wParam);
        if (msg->wParam == 27)
            return TRUE; // its byte went with the key press
        if (msg->wParam == VK_TAB)
            return FALSE;
        if (IsCurrent(PAGE_COMMUNICATE) && m_editTerminal.HasFocus())
            SendTypedByte(BYTE(msg->wParam));
        return FALSE;
    }
    return CDialog::PreTranslateMessage(msg);
}
