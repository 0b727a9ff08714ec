// The Communicate page's side of a scheduled call: it takes the Schedule's
// request, connects (a direct link at once, else through the modem and its
// reply), runs the site's up to three commands each into its own capture
// file, hands the tracked command's dump event back and ends the call.
#include <cstring>

#include "communicate/CallSession.h"
#include "communicate/DialogSelect.h"
#include "framework/Clock.h"
#include "framework/Files.h"
#include "framework/Text.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

void CDialogSelect::ShowSessionStatus(const char* step) {
    m_stcStatus.SetWindowText(Format("Schedule: %s - %s", m_szCallSite, step));
}

void CDialogSelect::WriteSessionCr() {
    KillTimer(IDT_POLL);
    const BYTE cr = '\r';
    m_pCommPort->Write(&cr, 1);
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::PickUpScheduledCall() {
    // The request waits while the Firmware Upgrade page owns the port, and
    // while a call of the user's own or the last one's hang-up holds it.
    if (IsCurrent(PAGE_FIRMWARE_UPGRADE) || m_nSessionState != SESSION_NONE ||
        m_pTabCtrl->IsModemInUse())
        return;
    m_pTabCtrl->ClearScheduledCall();
    // Nothing of the previous call may be handed back as this site's.
    m_capture.ClearTrackedCommand();
    m_bSessionData = 0;
    m_bSessionConnected = 0;
    // A capture the user started must not take the call's bytes.
    StopCapture();

    BoundedCopy(m_szCallSite, sizeof m_szCallSite - 1, m_pTabCtrl->GetSiteName());
    const char* phone = m_pTabCtrl->GetPhoneNumber();
    m_bDirectLink = phone[0] == 'D';
    if (m_bDirectLink && !m_pCommPort->IsOpen()) {
        // No line to the logger: the call fails at once, nothing is sent or captured.
        m_pTabCtrl->SetCallResult('8');
        m_pTabCtrl->SetDataReceived(0);
        ShowSessionStatus("No Comm Port");
        return;
    }
    if (m_bDirectLink) {
        m_pTabCtrl->SetCallResult('9');
        m_pTabCtrl->SetModemInUse(1);
        DisableControls();
        m_nSessionState = SESSION_CHECKING;
        m_bSessionConnected = 1;
        m_nRxCount = 0;
        WriteSessionCr();
        ShowSessionStatus("Connected !");
        SetTimer(IDT_COMMAND1, 1500);
    } else {
        m_editPhoneNumber.SetWindowText(phone);
        OnChangePhoneNumber();
        m_nSessionState = SESSION_DIALLING;
        OnDial();
        ShowSessionStatus("Dialing...");
    }
    CloseDump();
}

void CDialogSelect::OnSessionTimer(UINT id) {
    switch (id) {
    case IDT_WAITCONNECT:
        OnWaitConnect();
        break;
    case IDT_CHECKREPLY:
        OnCheckReply();
        break;
    case IDT_COMMAND1:
    case IDT_COMMAND2:
    case IDT_COMMAND3:
        OnSessionCommand(int(id - IDT_COMMAND1) / 2 + 1);
        break;
    case IDT_WAITCMD1:
    case IDT_WAITCMD2:
    case IDT_WAITCMD3:
        OnWatchCommand(int(id - IDT_WAITCMD1) / 2 + 1);
        break;
    case IDT_ENDSESSION:
        OnEndSession();
        break;
    default:
        break;
    }
}

void CDialogSelect::OnWaitConnect() {
    KillTimer(IDT_WAITCONNECT);
    if (m_nSessionState != SESSION_WAITING)
        return;
    if (m_nRxCount != 0) {
        m_nSessionState = SESSION_CHECKING;
        SetTimer(IDT_CHECKREPLY, 500);
    } else if (m_nConnectSecondsLeft == 0) {
        // No answer: hung up without the end step.
        m_bCollectReply = 0;
        ShowSessionStatus("Hangup...");
        m_pTabCtrl->SetCallResult('4');
        OnHangup();
    } else {
        ShowSessionStatus("Waiting for connection...");
        SetTimer(IDT_WAITCONNECT, 1000);
    }
}

void CDialogSelect::OnCheckReply() {
    KillTimer(IDT_CHECKREPLY);
    if (m_nSessionState != SESSION_CHECKING)
        return;
    m_bCollectReply = 0;
    const char result = ScanModemReply(m_szModemReply, m_nRxCount);
    if (result == '1') {
        m_pTabCtrl->SetCallResult('1');
        m_bSessionConnected = 1;
        m_nRxCount = 0;
        WriteSessionCr();
        ShowSessionStatus("Connected !");
        SetTimer(IDT_COMMAND1, 1500);
    } else if (result != 0) {
        m_pTabCtrl->SetCallResult(result);
        m_nSessionState = SESSION_ENDING;
        SetTimer(IDT_ENDSESSION, 100);
    } else {
        // Collected afresh: no comparison reads what came before.
        std::memset(m_szModemReply, 0, sizeof m_szModemReply);
        m_bCollectReply = 1;
        m_nRxCount = 0;
        ShowSessionStatus("Waiting for connection...");
        m_nSessionState = SESSION_WAITING;
        SetTimer(IDT_WAITCONNECT, 1000);
    }
}

void CDialogSelect::CloseSessionCapture() {
    if (m_nCaptureKind == CaptureKind::None)
        return;
    m_fileCapture.Close();
    m_nCaptureKind = CaptureKind::None;
}

void CDialogSelect::OnSessionCommand(int k) {
    const UINT timers[4] = {0, IDT_COMMAND1, IDT_COMMAND2, IDT_COMMAND3};
    const BYTE before[4] = {0, SESSION_CHECKING, SESSION_COMMAND1_DONE, SESSION_COMMAND2_DONE};
    KillTimer(timers[k]);
    if (m_nSessionState != before[k])
        return;
    if (k >= 2) {
        CloseSessionCapture();
        HandBackDumpEvent(k - 1);
    } else {
        // The Schedule hands the call line over taken apart.
        static_assert(sizeof m_szCmd1 > kCallCommandChars && sizeof m_szFile1 > kCallFileChars);
        const CallCommands& call = m_pTabCtrl->GetCallCommands();
        char* commands[3] = {m_szCmd1, m_szCmd2, m_szCmd3};
        char* files[3] = {m_szFile1, m_szFile2, m_szFile3};
        char* appends[3] = {m_cAppend1, m_cAppend2, m_cAppend3};
        char* forms[3] = {m_cForm1, m_cForm2, m_cForm3};
        for (int c = 0; c < 3; ++c) {
            const CallCommand& from = call.command[c];
            CutCallCommand(from.szCommand, from.szFile, from.cAppend, from.cForm, commands[c],
                           files[c], appends[c], forms[c]);
        }
        char lastDumpEvent[20];
        m_pTabCtrl->GetLastDumpEvent(lastDumpEvent);
        m_capture.BeginCall(m_pTabCtrl->GetDumpEventCommand(), lastDumpEvent);
        m_bSessionData = 0;
    }
    const char* command = k == 1 ? m_szCmd1 : k == 2 ? m_szCmd2 : m_szCmd3;
    ShowSessionStatus(Format("Command%d...", k).c_str());
    if (k == 1)
        OpenCaptureFile(m_szFile1, m_cAppend1, m_cForm1);
    else if (k == 2)
        OpenCaptureFile(m_szFile2, m_cAppend2, m_cForm2);
    else
        OpenCaptureFile(m_szFile3, m_cAppend3, m_cForm3);

    if (command[0] == '\0') {
        FinishSessionCommand(k);
        return;
    }
    ResetAutoHangup();
    m_capture.StopTracking();
    char text[100];
    BoundedCopy(text, sizeof text - 1, command);
    m_nSessionState = BYTE(SESSION_COMMAND1 + 2 * (k - 1));
    KillTimer(IDT_POLL);
    SendCommand(text, m_capture.DumpEventCommand(), m_capture.DumpEvent());
    SetTimer(IDT_POLL, 100);
    SetTimer(IDT_WAITCMD1 + UINT(2 * (k - 1)), 2000);
    m_nRxCount = 0;
    m_nCmdSecondsLeft = 3;
    m_bQuietSecondSeen = 0;

    if (!IsIncrementalDumpCommand(command))
        return;
    m_nCmdSecondsLeft = 25;
    if (m_capture.DumpEventCommand() != '0' + k)
        return;
    // The tracked dump's running total is its own, whatever came before.
    m_capture.BeginTracking();
    m_nStoredRepeats = 0;
    if (m_capture.HasDumpEvent()) {
        m_nStoredRepeats = m_pTabCtrl->GetDumpEventRepeats();
        char storedTotal[15];
        m_pTabCtrl->GetDumpEventTotal(storedTotal);
        m_capture.BeginSkipping(m_nStoredRepeats, storedTotal);
    }
}

void CDialogSelect::FinishSessionCommand(int k) {
    if (k == 1) {
        m_nSessionState = SESSION_COMMAND1_DONE;
        SetTimer(IDT_COMMAND2, 200);
    } else if (k == 2) {
        m_nSessionState = SESSION_COMMAND2_DONE;
        SetTimer(IDT_COMMAND3, 200);
    } else {
        m_nSessionState = SESSION_ENDING;
        SetTimer(IDT_ENDSESSION, 100);
    }
}

void CDialogSelect::OnWatchCommand(int k) {
    const UINT timer = IDT_WAITCMD1 + UINT(2 * (k - 1));
    KillTimer(timer);
    if (m_nSessionState != SESSION_COMMAND1 + 2 * (k - 1))
        return;
    if (m_nRxCount != 0) {
        if (m_bQuietSecondSeen || m_nRxCount > 40)
            m_nCmdSecondsLeft = m_bDumpWord ? 7 : 3;
        m_nRxCount = 0;
        m_bSessionData = 1;
        SetTimer(timer, 1000);
    } else if (m_nCmdSecondsLeft > 0) {
        --m_nCmdSecondsLeft;
        m_bQuietSecondSeen = 1;
        SetTimer(timer, 1000);
    } else {
        FinishSessionCommand(k);
    }
}

void CDialogSelect::OnEndSession() {
    KillTimer(IDT_ENDSESSION);
    if (m_nSessionState != SESSION_ENDING)
        return;
    CloseSessionCapture();
    HandBackDumpEvent(3);
    m_bSessionConnected = 0;
    m_stcCaptureFile.SetWindowText("");
    m_pTabCtrl->SetDataReceived(m_bSessionData);
    m_stcDumpDate.SetWindowText("");
    ShowSessionStatus("Hangup...");
    if (!m_bDirectLink) {
        OnHangup();
        return;
    }
    m_nSessionState = SESSION_NONE;
    m_editTerminal.SetFocus();
    EnableControls();
    m_editTerminal.SetFocus();
    m_pTabCtrl->SetModemInUse(0);
    m_stcStatus.SetWindowText("");
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::HandBackDumpEvent(int k) {
    if (m_capture.DumpEventCommand() != '0' + k)
        return;
    m_pTabCtrl->SetLastDumpEvent(m_capture.DumpEvent());
    if (m_capture.IsSkipping()) {
        // Nothing past the stored event came: what was stored stands.
        m_pTabCtrl->SetDumpEventRepeats(m_nStoredRepeats);
        m_pTabCtrl->SetDumpEventTotal(m_capture.StoredTotalText());
        return;
    }
    if (m_capture.EventRepeats() != 0)
        m_pTabCtrl->SetDumpEventRepeats(m_capture.EventRepeats());
    m_pTabCtrl->SetDumpEventTotal(m_capture.TotalText().c_str());
}

void CDialogSelect::HandBackOnHangup() {
    if (!m_bSessionConnected)
        return;
    m_bSessionConnected = 0;
    // Commands before the one running (or just finished) were handed back
    // when their successor started.
    int k = 0;
    if (m_nSessionState >= SESSION_COMMAND1 && m_nSessionState <= SESSION_COMMAND3)
        k = (m_nSessionState - SESSION_COMMAND1) / 2 + 1;
    if (k != 0)
        HandBackDumpEvent(k);
    m_pTabCtrl->SetDataReceived(m_bSessionData);
}

bool CDialogSelect::IsIncrementalDumpCommand(const char* text) {
    bool dumpWord = false;
    const bool incremental = ::IsIncrementalDumpCommand(text, &dumpWord);
    m_bDumpWord = dumpWord ? 1 : 0;
    return incremental;
}

void CDialogSelect::OpenCaptureFile(const char* templ, const char* append, const char* form) {
    m_nCaptureKind = CaptureKind::None;
    if (templ[0] == '\0')
        return;
    const CaptureKind kind = CaptureKindOfLetter(form[0]);
    if (kind == CaptureKind::None)
        return;
    m_capture.StartCapture(kind);
    const std::string name = ExpandCaptureName(templ, Clock::LocalNow());
    const std::string path = IsFullCapturePath(templ) ? name : JoinPath(m_szDataFolder, name);
    m_stcCaptureFile.SetWindowText(name);
    // A file that will not open leaves the command without capture, untold.
    if (m_fileCapture.Open(path, append[0] == 'A'))
        m_nCaptureKind = kind;
}
