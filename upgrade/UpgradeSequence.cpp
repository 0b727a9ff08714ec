// The Firmware Upgrade page's side of the programming sequence: "Start Upgrade", the steps'
// timers and "Stop Upgrade" go to the sequence, and what it asks for is done on the port and
// the page's controls.
#include <algorithm>
#include <cstring>

#include "framework/ModalRunner.h"
#include "framework/Text.h"
#include "framework/Timers.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"
#include "upgrade/DialogUpgrade.h"

namespace {

int StepLabelId(StepLabel label) {
    switch (label) {
    case StepLabel::Version:
        return IDC_STEP_VERSION;
    case StepLabel::Password:
        return IDC_STEP_PASSWORD;
    case StepLabel::Erase:
        return IDC_STEP_ERASE;
    case StepLabel::Copy:
        return IDC_STEP_COPY;
    case StepLabel::Execute:
        return IDC_STEP_EXECUTE;
    case StepLabel::Programming:
        return IDC_STEP_PROGRAMMING;
    case StepLabel::Complete:
        return IDC_STEP_COMPLETE;
    }
    return 0;
}

} // namespace

void CDialogUpgrade::KillSteps() {
    for (UINT id = IDT_SDI12_ADDRESS_QUERY; id <= IDT_NEW_VERSION; ++id)
        KillTimer(id);
}

DWORD CDialogUpgrade::ReadReply(DWORD count, DWORD ms) {
    if (m_pCommPort == nullptr)
        return 0;
    m_pCommPort->SetTimeouts(ms);
    return m_pCommPort->Read(m_abRx, std::min<DWORD>(count, sizeof m_abRx));
}

void CDialogUpgrade::SetLine(DWORD baud, int byteSize) {
    if (m_pCommPort == nullptr)
        return;
    m_pCommPort->SetBaudRate(baud);
    if (byteSize == 7) {
        m_pCommPort->SetEvenParity();
        m_pCommPort->SetSevenBits();
    }
}

void CDialogUpgrade::Perform(ProgrammingSequence::Effects effects) {
    using Kind = UpgradeEffect::Kind;
    while (!effects.empty()) {
        ProgrammingSequence::Effects next;
        for (const UpgradeEffect& e : effects) {
            switch (e.kind) {
            case Kind::RestartHangup:
                if (m_pTabCtrl)
                    m_pTabCtrl->RestartHangupTimeout();
                break;
            case Kind::GetLine:
                next = m_pCommPort ? m_sequence.LineRead(m_pCommPort->GetBaudRate(),
                                                         m_pCommPort->GetByteSize())
                                   : m_sequence.LineRead(9600, 8);
                break;
            case Kind::SetLine:
                SetLine(DWORD(e.baud), e.byteSize);
                break;
            case Kind::Send:
                m_nTxLength = int(std::min(e.text.size(), sizeof m_abTx));
                std::memcpy(m_abTx, e.text.data(), std::size_t(m_nTxLength));
                SendCommand(e.readEcho);
                break;
            case Kind::Read:
                next = m_sequence.Reply(m_abRx, ReadReply(DWORD(e.count), DWORD(e.ms)));
                break;
            case Kind::Ask:
                next = m_sequence.Answer(
                    MessageBox(e.text.c_str(), "Warning", MB_YESNO | MB_ICONEXCLAMATION) == IDYES);
                break;
            case Kind::Message:
                Warn(e.text.c_str());
                break;
            case Kind::Status:
                SetStatus(e.text.c_str());
                break;
            case Kind::LabelText:
                if (CWnd* label = GetDlgItem(StepLabelId(e.label)))
                    label->SetWindowText(e.text);
                break;
            case Kind::ShowLabel:
                ShowStepLabel(StepLabelId(e.label), e.show);
                break;
            case Kind::TxLine:
                m_stcTxLine.SetWindowText(e.text);
                break;
            case Kind::RxLine:
                m_stcRxLine.SetWindowText(e.text);
                break;
            case Kind::Counts:
                m_stcSendCount.SetWindowText(Format("%d", e.sends));
                m_stcReSendCount.SetWindowText(Format("%d", e.reSends));
                break;
            case Kind::Progress:
                m_progress.SetPos(e.position);
                break;
            case Kind::Release:
                ReleasePage();
                break;
            case Kind::Arm:
                SetTimer(UINT(e.timer), UINT(e.ms));
                break;
            }
            // A box ended by a signal: nothing after it is done.
            if ((e.kind == Kind::Ask || e.kind == Kind::Message) && ModalRunner::Get().IsEnding())
                return;
            if (e.kind == Kind::GetLine || e.kind == Kind::Read || e.kind == Kind::Ask)
                break; // the sequence goes on from the answer
        }
        effects = std::move(next);
    }
}

void CDialogUpgrade::OnBnClickedStartUpgrade() {
    if (TakePort() == nullptr)
        return;
    // A step left armed by an earlier run (a 30013 after a stop) must not share the port.
    KillSteps();
    Perform(m_sequence.Start());

    m_btnSelectFile.EnableWindow(FALSE);
    m_btnStartUpgrade.EnableWindow(FALSE);
    m_editPassword.EnableWindow(FALSE);
    EnableDeviceBoxes(FALSE);
    EnableTabs(FALSE);

    // The file is read and checked again: what is sent is what is on disk now.
    const std::string loaded = m_abImage;
    const LoadResult reread = ReadFirmware(m_strFirmwarePath);
    if (reread != LoadResult::Loaded) {
        m_stcFileLine.SetWindowText(FileLineText(
            reread == LoadResult::NotOpened ? "File not Found" : "File Content Suspect"));
        m_btnSelectFile.EnableWindow(TRUE);
        m_editPassword.EnableWindow(TRUE);
        EnableDeviceBoxes(TRUE);
        EnableTabs(TRUE);
        return;
    }
    if (m_abImage != loaded)
        m_stcFileLine.SetWindowText(
            Format("%s - changed on disk, %d records", m_strFirmwarePath.c_str(), m_nLineCount));

    Perform(m_sequence.Begin(CheckedDevice(), m_frames, m_abImage, m_editPassword.GetWindowText()));
}

void CDialogUpgrade::OnSequenceTimer(UINT id) {
    KillTimer(id);
    Perform(m_sequence.Timer(id));
}

void CDialogUpgrade::OnBnClickedStopUpgrade() {
    m_sequence.RequestStop();
}

void CDialogUpgrade::EndForSignal() {
    TimerQueue::Instance().KillAll(this);
    Perform(m_sequence.End());
}
