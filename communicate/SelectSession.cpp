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
    if (IsCurrent(PAGE_FIRMWARE_UPGRADE) || m_nSessionState != SessionState::None ||
        m_pTabCtrl->IsModemInUse())
        return;
    m_pTabCtrl->ClearScheduledCall();
    m_capture.ClearTrackedCommand();
    // A capture the user started must not take the call's bytes.
    StopCapture();
    BoundedCopy(m_szCallSite, sizeof m_szCallSite - 1, m_pTabCtrl->GetSiteName());
    CallProgress p = SessionProgress();
    const CallSteps::Effects effects =
        CallSteps::PickUp(p, m_pTabCtrl->GetPhoneNumber(), m_pCommPort->IsOpen());
    CarryOut(p, effects);
}

void CDialogSelect::OnSessionTimer(UINT id) {
    KillTimer(id);
    if (!CallSteps::IsDue(m_nSessionState, id))
        return;
    CallProgress p = SessionProgress();
    CallSteps::Effects effects;
    if (id == IDT_WAITCONNECT) {
        effects = CallSteps::WaitConnect(p);
    } else if (id == IDT_CHECKREPLY) {
        effects = CallSteps::CheckReply(p, m_szModemReply);
    } else if (id == IDT_COMMAND1 || id == IDT_COMMAND2 || id == IDT_COMMAND3) {
        const int k = int(id - IDT_COMMAND1) / 2 + 1;
        if (k == 1)
            TakeCallLine();
        const char* command = k == 1 ? m_szCmd1 : k == 2 ? m_szCmd2 : m_szCmd3;
        effects = CallSteps::Command(p, k, command, m_capture.DumpEventCommand());
    } else if (id == IDT_ENDSESSION) {
        effects = CallSteps::End(p);
    } else {
        effects = CallSteps::WatchCommand(p, int(id - IDT_WAITCMD1) / 2 + 1);
    }
    CarryOut(p, effects);
}

CallProgress CDialogSelect::SessionProgress() const {
    CallProgress p;
    p.state = m_nSessionState;
    p.rxCount = m_nRxCount;
    p.connectSecondsLeft = m_nConnectSecondsLeft;
    p.cmdSecondsLeft = m_nCmdSecondsLeft;
    p.quietSecondSeen = m_bQuietSecondSeen != 0;
    p.dataSeen = m_bSessionData != 0;
    p.dumpWord = m_bDumpWord != 0;
    p.collectReply = m_bCollectReply != 0;
    p.connected = m_bSessionConnected != 0;
    p.directLink = m_bDirectLink != 0;
    return p;
}

void CDialogSelect::CarryOut(const CallProgress& p, const CallSteps::Effects& effects) {
    m_nSessionState = p.state;
    m_nRxCount = p.rxCount;
    m_nConnectSecondsLeft = p.connectSecondsLeft;
    m_nCmdSecondsLeft = BYTE(p.cmdSecondsLeft);
    m_bQuietSecondSeen = p.quietSecondSeen;
    m_bSessionData = p.dataSeen;
    m_bDumpWord = p.dumpWord;
    m_bCollectReply = p.collectReply;
    m_bSessionConnected = p.connected;
    m_bDirectLink = p.directLink;
    for (const SessionEffect& e : effects)
        CarryOut(e);
}

void CDialogSelect::CarryOut(const SessionEffect& e) {
    using Kind = SessionEffect::Kind;
    switch (e.kind) {
    case Kind::Result:
        m_pTabCtrl->SetCallResult(e.result);
        break;
    case Kind::DataReceived:
        m_pTabCtrl->SetDataReceived(e.received ? 1 : 0);
        break;
    case Kind::Occupy:
        m_pTabCtrl->SetModemInUse(1);
        DisableControls();
        break;
    case Kind::Dial:
        m_editPhoneNumber.SetWindowText(e.text);
        OnChangePhoneNumber();
        OnDial();
        break;
    case Kind::SendCr:
        WriteSessionCr();
        break;
    case Kind::Status:
        ShowSessionStatus(e.text.c_str());
        break;
    case Kind::ClearReply:
        std::memset(m_szModemReply, 0, sizeof m_szModemReply);
        break;
    case Kind::CloseDump:
        CloseDump();
        break;
    case Kind::CloseCapture:
        CloseSessionCapture();
        break;
    case Kind::HandBack:
        HandBackDumpEvent(e.command);
        break;
    case Kind::OpenCapture:
        if (e.command == 1)
            OpenCaptureFile(m_szFile1, m_cAppend1, m_cForm1);
        else if (e.command == 2)
            OpenCaptureFile(m_szFile2, m_cAppend2, m_cForm2);
        else
            OpenCaptureFile(m_szFile3, m_cAppend3, m_cForm3);
        break;
    case Kind::SendCommand:
        SendSessionCommand(e.command);
        break;
    case Kind::TrackDump:
        TrackDump();
        break;
    case Kind::BlankCaptureLabel:
        m_stcCaptureFile.SetWindowText("");
        break;
    case Kind::BlankDumpDate:
        m_stcDumpDate.SetWindowText("");
        break;
    case Kind::Hangup:
        OnHangup();
        break;
    case Kind::Release:
        m_editTerminal.SetFocus();
        EnableControls();
        m_editTerminal.SetFocus();
        m_pTabCtrl->SetModemInUse(0);
        m_stcStatus.SetWindowText("");
        SetTimer(IDT_POLL, 100);
        break;
    case Kind::Arm:
        SetTimer(e.timer, e.ms);
        break;
    }
}

void CDialogSelect::TakeCallLine() {
    // The Schedule hands the call line over taken apart.
    static_assert(sizeof m_szCmd1 > kCallCommandChars && sizeof m_szFile1 > kCallFileChars);
    const CallCommands& call = m_pTabCtrl->GetCallCommands();
    char* commands[3] = {m_szCmd1, m_szCmd2, m_szCmd3};
    char* files[3] = {m_szFile1, m_szFile2, m_szFile3};
    char* appends[3] = {m_cAppend1, m_cAppend2, m_cAppend3};
    char* forms[3] = {m_cForm1, m_cForm2, m_cForm3};
    for (int c = 0; c < 3; ++c) {
        const CallCommand& from = call.command[c];
        CutCallCommand(from.szCommand, from.szFile, from.cAppend, from.cForm, commands[c], files[c],
                       appends[c], forms[c]);
    }
    char lastDumpEvent[20];
    m_pTabCtrl->GetLastDumpEvent(lastDumpEvent);
    m_capture.BeginCall(m_pTabCtrl->GetDumpEventCommand(), lastDumpEvent);
}

void CDialogSelect::SendSessionCommand(int k) {
    ResetAutoHangup();
    m_capture.StopTracking();
    char text[100];
    BoundedCopy(text, sizeof text - 1, k == 1 ? m_szCmd1 : k == 2 ? m_szCmd2 : m_szCmd3);
    KillTimer(IDT_POLL);
    SendCommand(text, m_capture.DumpEventCommand(), m_capture.DumpEvent());
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::TrackDump() {
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

void CDialogSelect::CloseSessionCapture() {
    if (m_nCaptureKind == CaptureKind::None)
        return;
    m_fileCapture.Close();
    m_nCaptureKind = CaptureKind::None;
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
