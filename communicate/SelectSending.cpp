// The Communicate page's command sending: a user button's data goes to the
// logger piece by piece, its escapes expanded, one timer step a piece.
#include <algorithm>
#include <cstring>

#include "communicate/CommandEscapes.h"
#include "communicate/DialogSelect.h"
#include "framework/Clock.h"
#include "framework/FileWarning.h"
#include "framework/ModalRunner.h"
#include "shell/CommPort.h"

namespace {

constexpr std::size_t kCommandChars = 100;

} // namespace

void CDialogSelect::LoadCommand(const char* text) {
    std::memset(m_szCommand, 0, sizeof m_szCommand);
    if (text) // two NULs or more follow what is kept
        std::memcpy(m_szCommand, text, strnlen(text, kCommandChars));
    m_pCommandPos = m_szCommand;
}

void CDialogSelect::OnUserButton(int k) {
    KillTimer(IDT_POLL);
    // A step still pending from the last command must not send the new one
    // while the plot question is open.
    KillTimer(IDT_SENDNEXT);
    m_nButtonIndex = BYTE((m_nButtonLevel - 1) * 8 + k);
    LoadCommand(m_strData[m_nButtonIndex].c_str());
    CloseDump();
    m_stcDumpDate.SetWindowText("");
    if (m_bPlot[m_nButtonIndex]) {
        const int answer =
            MessageBox("Would you like to plot this data?", "Plot?", MB_YESNO | MB_ICONQUESTION);
        // Ended by a signal: the button's command is not sent.
        if (ModalRunner::Get().IsEnding())
            return;
        if (answer == IDYES)
            m_nDumpState = DumpState::Armed;
    }
    m_cDumpEventCommand = 0;
    SendCommandStep();
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::SendCommand(const char* text, char dumpEventCommand, const char* dumpEvent) {
    LoadCommand(text);
    m_cDumpEventCommand = dumpEventCommand;
    std::memset(m_szDumpEvent, 0, sizeof m_szDumpEvent);
    if (dumpEvent)
        std::memcpy(m_szDumpEvent, dumpEvent, strnlen(dumpEvent, sizeof m_szDumpEvent - 1));
    SendCommandStep();
}

void CDialogSelect::SendCommandStep() {
    PieceContext context;
    context.now = Clock::LocalNow();
    context.dumpEventCommand = m_cDumpEventCommand;
    context.dumpEvent.assign(m_szDumpEvent, strnlen(m_szDumpEvent, sizeof m_szDumpEvent));
    std::size_t pos = std::size_t(m_pCommandPos - m_szCommand);
    const Piece piece = NextPiece(m_szCommand, sizeof m_szCommand, pos, context);
    m_pCommandPos = m_szCommand + pos;

    if (!piece.dumpDate.empty())
        m_stcDumpDate.SetWindowText("Dump Date: " + piece.dumpDate);

    const UINT next = piece.pause ? 500 : 50;
    if (piece.bytes.empty()) {
        // A pause on its own; an empty piece otherwise ends the command.
        if (piece.pause)
            SetTimer(IDT_SENDNEXT, next);
        return;
    }
    const std::size_t length = std::min(piece.bytes.size(), sizeof m_szPiece - 1);
    std::memcpy(m_szPiece, piece.bytes.data(), length);
    m_szPiece[length] = '\0';

    ResetAutoHangup();
    const int kind = m_nDumpState == DumpState::Armed ? MatchDumpWord(piece.bytes) : -1;
    if (kind >= 0) {
        // The dump command follows a lone CR 200 ms later; the rest of the
        // command is not sent.
        StartDump(kind);
        const BYTE cr = '\r';
        m_pCommPort->Write(&cr, 1);
        SetTimer(DumpKindAt(kind).timerId, 200);
        return;
    }
    m_pCommPort->Write(reinterpret_cast<const BYTE*>(m_szPiece), DWORD(length));
    if (m_nBaudIndex != BAUD_INDEX_SDI12)
        InsertAtTerminalEnd(std::string(m_szPiece, length));
    if (m_nCaptureKind == CaptureKind::Raw)
        WriteRawCapture(m_szPiece, int(length));
    m_editTerminal.SetFocus();
    SetTimer(IDT_SENDNEXT, next);
}

void CDialogSelect::OnCommandTimer(UINT id) {
    if (id == IDT_SENDNEXT) {
        KillTimer(IDT_SENDNEXT);
        SendCommandStep();
        return;
    }
    if (id == IDT_BUTTONWARNING) {
        KillTimer(IDT_BUTTONWARNING);
        WarnFileFailure("Could not write", ButtonFilePath(),
                        m_nButtonFileError > 0 ? m_nButtonFileError : 0);
        return;
    }
    for (int k = 0; k < kDumpKindCount; ++k) {
        if (DumpKindAt(k).timerId != id)
            continue;
        KillTimer(id);
        KillTimer(IDT_POLL);
        SendPendingCommand();
        SetTimer(IDT_POLL, 100);
        return;
    }
}
