// The Firmware Upgrade page's programming sequence: one one-shot timer per step, from
// "Start Upgrade" through the SDI-12 address check or the logger's password and program-mode
// stages to the records and the new version.
#include <algorithm>
#include <cstring>

#include "framework/Files.h"
#include "framework/Text.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"
#include "upgrade/DialogUpgrade.h"

namespace {

// Records sent back to back within one tick of the record loop.
constexpr int kRecordsPerTick = 50;
// Missing or unknown replies to one record before the loop gives up.
constexpr int kMaxRetries = 5;
// Refusals (NAK) of one record in a row before the loop gives up.
constexpr int kMaxRefusals = 20;

} // namespace

void CDialogUpgrade::ArmStep(UINT id, UINT ms) {
    SetTimer(id, ms);
}

void CDialogUpgrade::BeginStep(UINT id) {
    KillTimer(id);
    if (m_pTabCtrl)
        m_pTabCtrl->RestartHangupTimeout();
}

void CDialogUpgrade::KillSteps() {
    for (UINT id = IDT_SDI12_ADDRESS_QUERY; id <= IDT_NEW_VERSION; ++id)
        KillTimer(id);
}

DWORD CDialogUpgrade::ReadReply(DWORD count, DWORD ms) {
    if (m_pCommPort == nullptr)
        return 0;
    m_pCommPort->SetTimeouts(ms);
    return m_pCommPort->Read(m_abRx, count);
}

std::string CDialogUpgrade::ReplyText(DWORD count) const {
    // A reply's text lies between its first byte and its line end.
    if (count < 3)
        return {};
    return std::string(reinterpret_cast<const char*>(m_abRx) + 1, count - 3);
}

void CDialogUpgrade::ShowRxLine(DWORD count) {
    std::string line;
    for (DWORD k = 0; k < count; ++k)
        line += Format("(%c) 0x%02X ", char(m_abRx[k]), unsigned(m_abRx[k]));
    m_stcRxLine.SetWindowText(line);
}

void CDialogUpgrade::RestoreLineSettings() {
    if (m_pCommPort == nullptr)
        return;
    m_pCommPort->SetBaudRate(DWORD(m_nSavedBaud));
    if (m_nSavedByteSize == 7) {
        m_pCommPort->SetEvenParity();
        m_pCommPort->SetSevenBits();
    }
}

void CDialogUpgrade::EndSdi12Road() {
    ReleasePage();
    RestoreLineSettings();
}

void CDialogUpgrade::OnBnClickedStartUpgrade() {
    if (TakePort() == nullptr)
        return;
    // A step left armed by an earlier run (a 30013 after a stop) must not share the port.
    KillSteps();

    m_stcSendCount.SetWindowText("0");
    m_stcReSendCount.SetWindowText("0");
    m_bStop = 0;
    m_progress.SetPos(0);

    m_btnSelectFile.EnableWindow(FALSE);
    m_btnStartUpgrade.EnableWindow(FALSE);
    m_editPassword.EnableWindow(FALSE);
    EnableDeviceBoxes(FALSE);
    EnableTabs(FALSE);

    // The file is read and checked again: what is sent is what is on disk now.
    const std::string loaded = m_abImage;
    const LoadResult reread = ReadFirmware(m_strFirmwarePath);
    if (reread != LoadResult::Loaded) {
        m_stcFileLine.SetWindowText(reread == LoadResult::NotOpened ? "File not Found"
                                                                    : "File Content Suspect");
        m_btnSelectFile.EnableWindow(TRUE);
        m_editPassword.EnableWindow(TRUE);
        EnableDeviceBoxes(TRUE);
        EnableTabs(TRUE);
        return;
    }
    if (m_abImage != loaded)
        m_stcFileLine.SetWindowText(
            Format("%s - changed on disk, %d records", m_strFirmwarePath.c_str(), m_nLineCount));

    const DeviceType device = CheckedDevice();
    if (device == DeviceType::Px70) {
        m_stcErase.SetWindowText("Erasing Data Flash");
        m_stcCopy.SetWindowText("Copying Firmware to Data Flash");
        m_stcExecute.SetWindowText("Executing from Data Flash");
    } else {
        m_stcErase.SetWindowText("Erasing Program Flash");
        m_stcCopy.SetWindowText("---");
        m_stcExecute.SetWindowText("Executing Firmware Upgrade");
    }
    m_stcProgramming.SetWindowText("Programming....");
    HideStepLabels();
    ArmStep(IsSdi12Device(device) ? IDT_SDI12_ADDRESS_QUERY : IDT_LOGGER_PASSWORD, 100);
}

// --- SDI-12 road -----------------------------------------------------------

void CDialogUpgrade::StepSdi12AddressQuery() {
    BeginStep(IDT_SDI12_ADDRESS_QUERY);
    m_nSavedBaud = int(m_pCommPort->GetBaudRate());
    m_nSavedByteSize = m_pCommPort->GetByteSize();
    m_pCommPort->SetBaudRate(1200);
    m_pCommPort->SetEvenParity();
    m_pCommPort->SetSevenBits();
    const DeviceType device = CheckedDevice();
    SendText(kSdi12AddressQuery, kSdi12AddressQueryLength(device));
    SetStatus("Getting SDI-12 Address");
    ArmStep(IDT_SDI12_ADDRESS_REPLY, 500);
}

void CDialogUpgrade::ShowSdi12Stages() {
    m_stcCopy.SetWindowText("---");
    m_stcExecute.SetWindowText("Executing Firmware Upgrade");
    ShowStepLabel(IDC_STEP_COPY, true);
    ShowStepLabel(IDC_STEP_EXECUTE, true);
}

void CDialogUpgrade::GoToRecordsAtFullSpeed(const char* status) {
    SetStatus(status);
    ShowSdi12Stages();
    m_pCommPort->SetBaudRate(9600);
    ArmStep(IDT_START_RECORDS, 600);
}

void CDialogUpgrade::StepSdi12AddressReply() {
    BeginStep(IDT_SDI12_ADDRESS_REPLY);
    const DWORD n = ReadReply(15, 400);
    if (n == 3 && m_abRx[1] == '\r' && m_abRx[2] == '\n') {
        if (m_abRx[0] == '0') {
            SetStatus("Address 0 - OK");
            ShowSdi12Stages();
            ArmStep(IDT_SDI12_PROGRAM_COMMAND, 500);
            return;
        }
        Warn("Set the transducer SDI-12 Address to 0 and try again");
        EndSdi12Road();
        return;
    }
    if (n == 1) {
        GoToRecordsAtFullSpeed("May be in Program Mode");
        return;
    }
    if (n == 0) {
        ArmStep(IDT_SDI12_LATE_REPLY, 4500);
        return;
    }
    Warn("Unknown reply, check cables, RS232 mode and try again");
    EndSdi12Road();
}

void CDialogUpgrade::StepSdi12ProgramCommand() {
    KillTimer(IDT_SDI12_PROGRAM_COMMAND);
    SendText(kSdi12ProgramCommand(CheckedDevice()));
    SetStatus("Erasing Program Flash");
    ShowStepLabel(IDC_STEP_ERASE, true);
    ArmStep(IDT_SDI12_PROGRAM_REPLY, 1000);
}

void CDialogUpgrade::StepSdi12ProgramReply() {
    BeginStep(IDT_SDI12_PROGRAM_REPLY);
    const DWORD n = ReadReply(18, 200);
    if (n == 0) {
        SetStatus("No Response to Xprog command");
        EndSdi12Road();
        return;
    }
    GoToRecordsAtFullSpeed(n == 8 ? "Erase Done" : "Already in Program Mode");
}

void CDialogUpgrade::StepSdi12LateReply() {
    BeginStep(IDT_SDI12_LATE_REPLY);
    // The 400 ms of the address reply still hold.
    const DWORD n = m_pCommPort->Read(m_abRx, 15);
    if (n == 1) {
        GoToRecordsAtFullSpeed("May be in Program Mode");
        return;
    }
    if (MessageBox("Bad or No reply, check cables and RS232 mode.\n\nTry upgrading the firmware "
                   "anyway?",
                   "Warning", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        GoToRecordsAtFullSpeed("May be in Program Mode");
        return;
    }
    EndSdi12Road();
}

// --- Logger road -----------------------------------------------------------

bool CDialogUpgrade::IsNakReply(DWORD count) {
    if (count == 0)
        count = ReadReply(1, 2000);
    return count == 1 && m_abRx[0] == kNak;
}

int CDialogUpgrade::CheckPassword() {
    const std::string password = m_editPassword.GetWindowText();
    if (password.size() != 4) {
        SetStatus("Enter 4 char password");
        return -1;
    }

    SendText("\r");
    ReadReply(50, 200);

    SendText(kVersionRequest);
    DWORD n = ReadReply(50, 700);
    if (n >= 21) {
        SetStatus("Version Read");
        m_stcVersion.SetWindowText("Previous Version : " + ReplyText(n));
        ShowStepLabel(IDC_STEP_VERSION, true);
    } else if (IsNakReply(n)) {
        SetStatus("Already in program mode");
        return 3;
    }

    const std::string command = kPasswordPrefix + password + "\r";
    SendText(command.data(), command.size());
    n = ReadReply(50, 700);
    if (n == 20 && ReplyText(n) == kPasswordAccepted) {
        SetStatus("Password Accepted");
        return 1;
    }
    if (n == 21 && ReplyText(n) == kPasswordIncorrect) {
        SetStatus("Incorrect Password");
        return 2;
    }
    if (IsNakReply(n)) {
        SetStatus("Already in program mode");
        return 3;
    }
    if (n == 0) {
        SetStatus("No response");
        return 0;
    }
    SetStatus("Invalid response");
    return -2;
}

void CDialogUpgrade::SendProgramModeRequest() {
    const DeviceType device = CheckedDevice();
    std::memcpy(m_abTx, kProgramModeEntry, kProgramModeEntryLength);
    if (device == DeviceType::Ferrant)
        m_abTx[1] = kProgramModeEntryFerrant1;
    m_abTx[5] = kProgramModeType(device);
    m_nTxLength = kProgramModeEntryLength;
    SendCommand();
}

int CDialogUpgrade::ReadNewVersion() {
    const bool ferrant = CheckedDevice() == DeviceType::Ferrant;
    SendText(ferrant ? kFerrantVersionRequest : kVersionRequest);
    const DWORD n = ReadReply(50, 700);
    if (n >= 21 || (ferrant && n >= 6 && n <= 8)) {
        SetStatus(("New Version : " + ReplyText(n)).c_str());
        return 1;
    }
    if (IsNakReply(n)) {
        SetStatus("Error -> Still in program mode !!!");
        return 3;
    }
    if (n == 0) {
        SetStatus("Error -> No Reply to Version Request !!!");
        return 0;
    }
    SetStatus("Error -> Illegal response to Version Request !!!");
    return 2;
}

void CDialogUpgrade::StepLoggerPassword() {
    BeginStep(IDT_LOGGER_PASSWORD);
    if (CheckedDevice() == DeviceType::Ferrant) {
        ArmStep(IDT_LOGGER_PROGRAM_MODE, 100);
        return;
    }
    switch (CheckPassword()) {
    case 1:
        ShowStepLabel(IDC_STEP_PASSWORD, true);
        ArmStep(IDT_LOGGER_PROGRAM_MODE, 1000);
        return;
    case 3:
        ArmStep(IDT_START_RECORDS, 1000);
        return;
    case 2:
        Warn("Wrong Password - Note it is Case Sensitive. Change the password and try again");
        break;
    case 0:
        Warn("No Reply from Logger. Check cables, comm port and power");
        break;
    case -1:
        Warn("Enter the 4 character Password");
        break;
    default:
        Warn("Invalid response. Check Logger baud rate is set correctly");
        break;
    }
    ReleasePage();
}

void CDialogUpgrade::StepLoggerProgramMode() {
    BeginStep(IDT_LOGGER_PROGRAM_MODE);
    const bool px70 = CheckedDevice() == DeviceType::Px70;
    SendProgramModeRequest();
    const DWORD n = ReadReply(1, 3000);
    if (n == 1 && m_abRx[0] == kEraseStarted) {
        SetStatus(px70 ? "Erasing Data Flash" : "Erasing Program Flash");
        ShowStepLabel(IDC_STEP_ERASE, true);
        ArmStep(px70 ? IDT_LOGGER_COPY_STAGE : IDT_LOGGER_EXECUTE_STAGE, 2000);
        return;
    }
    if (n == 1 && m_abRx[0] == kNak) {
        SkipToRecords();
        return;
    }
    SetStatus(px70 ? "Erasing Data Flash -> Invalid programming response"
                   : "Erasing Program Flash -> Invalid programming response");
    Warn("Check the correct Device Type is selected !!!!\nIf Ok then turn Device Power off and "
         "on - and try programming sequence again");
    ReleasePage();
}

void CDialogUpgrade::StepLoggerCopyStage() {
    BeginStep(IDT_LOGGER_COPY_STAGE);
    const DWORD n = ReadReply(1, 3000);
    if (n == 1 && m_abRx[0] == kCopyStarted) {
        SetStatus("Copying Program to Data Flash");
        ShowStepLabel(IDC_STEP_COPY, true);
        ArmStep(IDT_LOGGER_EXECUTE_STAGE, 1000);
        return;
    }
    if (n == 1 && m_abRx[0] == kNak) {
        SkipToRecords();
        return;
    }
    SetStatus("Copying Program to Data Flash -> Invalid programming response");
    Warn("Turn Logger Power off and on - then try programming sequence again");
    ReleasePage();
}

void CDialogUpgrade::StepLoggerExecuteStage() {
    BeginStep(IDT_LOGGER_EXECUTE_STAGE);
    const DWORD n = ReadReply(1, 3000);
    if (n == 1 && m_abRx[0] == kExecuteStarted) {
        SetStatus(CheckedDevice() == DeviceType::Px70 ? "Executing from Data Flash"
                                                      : "Executing Program Download");
        ShowStepLabel(IDC_STEP_EXECUTE, true);
        ArmStep(IDT_START_RECORDS, 1000);
        return;
    }
    if (n == 1 && m_abRx[0] == kNak) {
        SkipToRecords();
        return;
    }
    SetStatus("Executing from Data Flash -> Invalid programming response");
    Warn("Turn Logger Power off and on - then try Firmare Upgrade sequence again");
    ReleasePage();
}

void CDialogUpgrade::SkipToRecords() {
    SetStatus("Already in Programming Mode");
    ArmStep(IDT_START_RECORDS, 1000);
}

// --- Records ---------------------------------------------------------------

void CDialogUpgrade::StepStartRecords() {
    BeginStep(IDT_START_RECORDS);
    SetStatus("Upgrading Firmware");
    ShowStepLabel(IDC_STEP_PROGRAMMING, true);
    m_nRecordsSent = 0;
    m_nReadPos = 0;
    m_nRetries = 0;
    m_nSendCount = 0;
    m_nReSendCount = 0;
    m_nAccepted = 0;
    m_nRefusals = 0;
    ArmStep(IDT_RECORDS, 100);
}

void CDialogUpgrade::CompleteRecords() {
    ShowStepLabel(IDC_STEP_PROGRAMMING, false);
    ShowStepLabel(IDC_STEP_COMPLETE, true);
    SetStatus("Waiting for Reset");
    ArmStep(IDT_NEW_VERSION, IsSdi12Device(CheckedDevice()) ? 500 : 7500);
}

void CDialogUpgrade::StepRecords() {
    BeginStep(IDT_RECORDS);
    const DeviceType device = CheckedDevice();
    const DWORD replyLength = device == DeviceType::Px70 ? 2 : 1;

    bool rearm = false;
    for (int acked = 0;;) {
        int last;
        if (m_nRetries != 0) {
            last = ResendRecord();
            ++m_nReSendCount;
        } else {
            last = SendNextRecord();
            ++m_nRecordsSent;
            ++m_nSendCount;
        }
        m_stcSendCount.SetWindowText(Format("%d", m_nSendCount));
        m_stcReSendCount.SetWindowText(Format("%d", m_nReSendCount));

        const DWORD n = ReadReply(replyLength, 4000);
        ShowRxLine(n);
        if (n >= 1 && m_abRx[0] == kAck) {
            m_nRetries = 0;
            m_nRefusals = 0;
            ++m_nAccepted;
            if (last) {
                CompleteRecords();
                break;
            }
            if (++acked >= kRecordsPerTick) {
                rearm = true;
                break;
            }
            continue;
        }
        if (n >= 1 && m_abRx[0] == kNak) {
            ++m_nRetries;
            if (last) {
                CompleteRecords();
                break;
            }
            // A record the logger never takes must not hold the port for ever.
            if (++m_nRefusals < kMaxRefusals)
                rearm = true;
            else
                FailRecords();
            break;
        }
        if (m_nRetries < kMaxRetries) {
            ++m_nRetries;
            rearm = true;
            break;
        }
        FailRecords();
        break;
    }

    if (m_nLineCount > 0)
        m_progress.SetPos(
            std::min(100, int(static_cast<long long>(m_nRecordsSent) * 100 / m_nLineCount)));
    if (!rearm)
        return;
    if (m_bStop) {
        StopRecords();
        return;
    }
    ArmStep(IDT_RECORDS, 50);
}

void CDialogUpgrade::FailRecords() {
    SetStatus("Programming -> Invalid Response");
    Warn("Invalid response during programming. Try clicking on 'Start Upgrade' again");
    if (IsSdi12Device(CheckedDevice()))
        RestoreLineSettings();
    ReleasePage();
}

void CDialogUpgrade::StopRecords() {
    // The bar and labels show what the logger took, not what was sent.
    if (m_nLineCount > 0)
        m_progress.SetPos(
            std::min(100, int(static_cast<long long>(m_nAccepted) * 100 / m_nLineCount)));
    m_stcProgramming.SetWindowText("Programming Stopped");
    SetStatus(Format("Upgrade Stopped - %d records accepted", m_nAccepted).c_str());
    if (IsSdi12Device(CheckedDevice()))
        RestoreLineSettings();
    ReleasePage();
    Warn("Upgrade stopped - the logger may still be in program mode.\nTurn Logger Power off and "
         "on - then try programming sequence again");
}

void CDialogUpgrade::StepNewVersion() {
    BeginStep(IDT_NEW_VERSION);
    if (IsSdi12Device(CheckedDevice())) {
        SetStatus("");
        RestoreLineSettings();
    } else {
        ReadNewVersion();
    }
    ReleasePage();
}
