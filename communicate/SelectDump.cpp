// The Communicate page's dump files: a dump word met while a dump is armed
// opens the next numbered file of its kind, which takes the dump command and
// then every byte the logger sends until the dump is closed.
#include <cerrno>
#include <cstring>

#include "communicate/CommandEscapes.h"
#include "communicate/DialogSelect.h"
#include "communicate/DumpNaming.h"
#include "framework/FileWarning.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

void CDialogSelect::KillDumpTimers() {
    for (int k = 0; k < kDumpKindCount; ++k)
        KillTimer(DumpKindAt(k).timerId);
}

void CDialogSelect::CloseDump() {
    // A second step still pending must not send the dump command after the
    // dump has ended.
    KillDumpTimers();
    if (HasDumpFile(m_nDumpState)) {
        m_fileDump.Close();
        for (CStatic& label : m_stcFileLabel)
            label.SetWindowText("");
    }
    m_nDumpState = DumpState::Idle;
}

void CDialogSelect::StartDump(int kind) {
    CloseDump();
    const DumpKind& dump = DumpKindAt(kind);
    m_nDumpState = dump.announced;
    int error = 0;
    const std::string name = CreateNextDumpFile(m_szDataFolder, dump.prefix, &error);
    if (name.empty() ||
        !m_fileDump.Open(JoinPath(m_szDataFolder, name), CFile::modeWrite | CFile::typeBinary)) {
        CloseDump();
        return;
    }
    if (m_nButtonIndex >= 1 && (m_nButtonIndex - 1) / 8 + 1 == m_nButtonLevel)
        m_stcFileLabel[(m_nButtonIndex - 1) % 8].SetWindowText(name);
    if (m_pTabCtrl) {
        m_pTabCtrl->SetNewDump(1);
        m_pTabCtrl->SetPlotFileName(name);
    }
}

void CDialogSelect::SendPendingCommand() {
    if (IsDumpAnnounced(m_nDumpState))
        m_nDumpState = ReceivingOf(m_nDumpState);
    const std::string command(m_szPiece, strnlen(m_szPiece, sizeof m_szPiece));
    m_pCommPort->Write(reinterpret_cast<const BYTE*>(command.data()), DWORD(command.size()));
    // Echoed at every baud, SDI-12 included.
    InsertAtTerminalEnd(command);
    WriteDump(command.data(), int(command.size()));
    if (m_nCaptureKind == CaptureKind::Raw)
        WriteRawCapture(command.data(), int(command.size()));
    m_editTerminal.SetFocus();
}

void CDialogSelect::WriteDump(const char* bytes, int count) {
    // Only a receiving dump with its file open takes bytes.
    if (!IsDumpReceiving(m_nDumpState) || !m_fileDump.IsOpen() || count <= 0)
        return;
    errno = 0;
    if (m_fileDump.Write(bytes, std::size_t(count))) {
        m_fileDump.Flush();
        return;
    }
    const int error = errno;
    const std::string path = m_fileDump.GetFilePath();
    CloseDump();
    WarnFileFailure("Could not write", path, error);
}
