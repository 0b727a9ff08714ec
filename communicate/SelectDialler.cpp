// The Communicate page's modem dialler: Dial and Hangup with their 2 s
// guard times, the automatic hang-up, Call Now, and the files that keep
// the phone number ("pn.cfg") and the hang-up choice ("hut.cfg").
#include <QLineEdit>
#include <QValidator>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "communicate/DialogSelect.h"
#include "framework/FileReader.h"
#include "framework/FileWarning.h"
#include "framework/Files.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

namespace {

// The Auto Hangup choices by list index: the seconds each loads, and its text.
constexpr int kAutoHangupSeconds[] = {0,   60,  120, 180, 240, 300,  360,
                                      420, 480, 540, 600, 900, 1200, 1800};
constexpr int kAutoHangupChoices = int(sizeof kAutoHangupSeconds / sizeof *kAutoHangupSeconds);
const char* const kAutoHangupEntries[kAutoHangupChoices] = {"0", "1", "2", "3",  "4",  "5",  "6",
                                                            "7", "8", "9", "10", "15", "20", "30"};

// The user types at most PHONE_NUMBER_LIMIT characters; a longer number that
// the program puts there (a stored one, a Schedule's) stays whole and may
// still be shortened.
class PhoneNumberLimit : public QValidator {
public:
    explicit PhoneNumberLimit(QLineEdit* edit)
        : QValidator(edit), m_nLength(int(edit->text().size())) {
        // The edit's own text is already the new one while it asks.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { m_nLength = int(text.size()); });
    }
    State validate(QString& input, int& pos) const override {
        (void)pos;
        if (input.size() > PHONE_NUMBER_LIMIT && input.size() > m_nLength)
            return Invalid;
        return Acceptable;
    }

private:
    int m_nLength;
};

// Reads at most `limit` bytes of a file in the data folder; false when it
// cannot be opened or is no regular file.
bool ReadSmallFile(const std::string& path, std::size_t limit, std::string* text) {
    std::string bytes;
    if (!ReadFileStart(path, &bytes, limit))
        return false;
    // What follows a NUL is not text.
    *text = bytes.substr(0, bytes.find('\0'));
    return true;
}

} // namespace

void CDialogSelect::LoadDiallerSettings() {
    if (m_cboAutoHangup.GetCount() == 0)
        for (const char* entry : kAutoHangupEntries)
            m_cboAutoHangup.AddString(entry);
    if (auto* line = qobject_cast<QLineEdit*>(m_editPhoneNumber.GetWidget());
        line && !line->validator())
        line->setValidator(new PhoneNumberLimit(line));

    // Read whole (up to 99 bytes), so that the rewrite the edit's change
    // notice makes never cuts a stored number.
    std::string number;
    if (ReadSmallFile(JoinPath(m_szDataFolder, "pn.cfg"), 99, &number))
        m_editPhoneNumber.SetWindowText(number);

    int index = 0;
    std::string choice;
    if (ReadSmallFile(JoinPath(m_szDataFolder, "hut.cfg"), 30, &choice)) {
        char* end = nullptr;
        const long value = std::strtol(choice.c_str(), &end, 10);
        if (end != choice.c_str() && value >= 0 && value < kAutoHangupChoices)
            index = int(value);
    }
    // A choice the program makes raises no notice: nothing is written and
    // the countdown stays as the start-up step left it.
    m_cboAutoHangup.SetCurSel(index);
}

void CDialogSelect::ResetAutoHangup() {
    if (!m_pTabCtrl)
        return;
    const int index = m_cboAutoHangup.GetCurSel();
    m_pTabCtrl->SetHangupTimeout(
        index >= 0 && index < kAutoHangupChoices ? kAutoHangupSeconds[index] : 0);
}

void CDialogSelect::SendModemString(const std::string& sent, const std::string& shown,
                                    bool capture) {
    m_pCommPort->Write(reinterpret_cast<const BYTE*>(sent.data()), DWORD(sent.size()));
    InsertAtTerminalEnd(shown);
    if (capture)
        WriteRawCapture(shown.data(), int(shown.size()));
}

void CDialogSelect::OnDial() {
    if (m_editPhoneNumber.GetWindowTextLength() == 0) {
        MessageBox("A Phone Number must be entered!", "Warning", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    KillTimer(IDT_POLL);
    if (m_pTabCtrl)
        m_pTabCtrl->SetModemInUse(1);
    SendModemString("+++", "+++", true);
    m_editTerminal.SetFocus();
    SetTimer(IDT_POLL, 100);
    SetTimer(IDT_DIAL, 2000);
    ResetAutoHangup();
    DisableControls();
}

void CDialogSelect::OnDialStep() {
    KillTimer(IDT_DIAL);
    KillTimer(IDT_POLL);
    const std::string number = m_editPhoneNumber.GetWindowText();
    SendModemString("ATDT" + number + "\r", "ATDT" + number + "\r\n", true);
    if (m_nSessionState != SessionState::None) {
        // A scheduled call waits for the modem's reply from here.
        EnableTabsAndHangup();
        CallProgress p = SessionProgress();
        const CallSteps::Effects effects = CallSteps::DialSent(p);
        CarryOut(p, effects);
    } else {
        EnableControls();
    }
    m_editTerminal.SetFocus();
    InsertAtTerminalEnd("Dialing...\r\n");
    ResetAutoHangup();
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::OnHangup() {
    KillTimer(IDT_POLL);
    // A dial still waiting for its guard time is called off: the number
    // must not go out in the middle of the hang-up.
    KillTimer(IDT_DIAL);
    m_pCommPort->Write(reinterpret_cast<const BYTE*>("+++"), 3);
    InsertAtTerminalEnd("+++");
    if (m_nSessionState != SessionState::None) {
        // Nothing of the call runs after this: no reply check, no piece of
        // a command still to go.
        for (UINT id : {IDT_WAITCONNECT, IDT_CHECKREPLY, IDT_COMMAND1, IDT_WAITCMD1, IDT_COMMAND2,
                        IDT_WAITCMD2, IDT_COMMAND3, IDT_WAITCMD3, IDT_ENDSESSION, IDT_SENDNEXT})
            KillTimer(id);
        CallProgress p = SessionProgress();
        const CallSteps::Effects effects = CallSteps::Hangup(p);
        CarryOut(p, effects);
    } else {
        WriteRawCapture("+++", 3);
    }
    m_editTerminal.SetFocus();
    SetTimer(IDT_POLL, 100);
    SetTimer(IDT_HANGUP, 2000);
    DisableControls();
}

void CDialogSelect::OnHangupStep() {
    KillTimer(IDT_HANGUP);
    KillTimer(IDT_POLL);
    SendModemString("ATH\r", "ATH\r\n", true);
    m_editTerminal.SetFocus();
    // The call is over before the tabs open again.
    m_nSessionState = SessionState::None;
    EnableControls();
    InsertAtTerminalEnd("Hanging Up\r\n");
    if (m_pTabCtrl)
        m_pTabCtrl->SetModemInUse(0);
    m_stcStatus.SetWindowText("");
    SetTimer(IDT_POLL, 100);
}

void CDialogSelect::OnSecondTick() {
    KillTimer(IDT_SECOND);
    if (m_pTabCtrl) {
        // The countdown runs whether or not the modem is in use; only the
        // tick that reaches 0 while it is hangs up.
        int left = m_pTabCtrl->GetHangupTimeLeft();
        if (left != 0) {
            m_pTabCtrl->SetHangupTimeLeft(--left);
            if (left == 0 && m_pTabCtrl->IsModemInUse())
                OnHangup();
        }
        // A scheduled call's request goes before Call Now, which waits for a free line.
        const bool lineFree = !m_pTabCtrl->IsModemInUse() && m_nSessionState == SessionState::None;
        if (m_pTabCtrl->IsScheduledCall())
            PickUpScheduledCall();
        else if (m_pTabCtrl->IsCallNow() && lineFree)
            CallNow();
    }
    if (m_nConnectSecondsLeft != 0)
        --m_nConnectSecondsLeft;
    SetTimer(IDT_SECOND, 1000);
}

void CDialogSelect::CallNow() {
    // The Schedule's number is taken whole, even past what may be typed.
    m_editPhoneNumber.SetWindowText(m_pTabCtrl->GetPhoneNumber());
    m_pTabCtrl->ClearCallNow();
    OnChangePhoneNumber();
    OnDial();
}

void CDialogSelect::DisableControls() {
    if (m_pTabCtrl)
        m_pTabCtrl->EnableTab(PAGE_FIRMWARE_UPGRADE, FALSE);
    for (CWnd* control : std::initializer_list<CWnd*>{
             &m_cboAutoHangup, &m_btnClearScreen, &m_editPhoneNumber, &m_btnDial, &m_cboBaud,
             &m_btnCapture, &m_btnLevelUp, &m_btnLevelDown, &m_editTerminal, &m_cboPort})
        control->EnableWindow(FALSE);
    for (CButtonHS& button : m_btnUser)
        button.EnableWindow(FALSE);
}

void CDialogSelect::EnableControls() {
    EnableTabsAndHangup();
    for (CWnd* control : std::initializer_list<CWnd*>{
             &m_cboAutoHangup, &m_btnClearScreen, &m_editPhoneNumber, &m_btnDial, &m_cboBaud,
             &m_btnCapture, &m_btnLevelUp, &m_btnLevelDown, &m_editTerminal, &m_cboPort})
        control->EnableWindow(TRUE);
    for (CButtonHS& button : m_btnUser)
        button.EnableWindow(TRUE);
}

void CDialogSelect::EnableTabsAndHangup() {
    // The Firmware Upgrade page stays shut while a scheduled call uses the line.
    if (m_pTabCtrl)
        for (int tab = 0; tab < 4; ++tab)
            if (tab != PAGE_FIRMWARE_UPGRADE || m_nSessionState == SessionState::None)
                m_pTabCtrl->EnableTab(tab, TRUE);
    m_btnHangup.EnableWindow(TRUE);
}

bool CDialogSelect::WriteDialFile(const char* name, const std::string& bytes, BYTE& warned,
                                  bool synced) {
    const std::string path = JoinPath(m_szDataFolder, name);
    if (FileHolds(path, bytes)) {
        warned = 0;
        return false;
    }
    int error = 0;
    if (ReplaceFileContentsVia(path, path + ".part", bytes, &error, nullptr, synced)) {
        warned = 0;
        return true;
    }
    if (!warned) {
        warned = 1;
        WarnFileFailure("Could not write", path, error);
    }
    return false;
}

void CDialogSelect::OnChangePhoneNumber() {
    // Every keystroke renames a new file into place without waiting for the
    // disk: a kill leaves the old number or the new one.
    if (WriteDialFile("pn.cfg", m_editPhoneNumber.GetWindowText(), m_bPhoneFileWarned, false))
        m_bPhoneFileUnsynced = 1;
}

void CDialogSelect::OnKillfocusPhoneNumber() {
    if (!m_bPhoneFileUnsynced)
        return;
    m_bPhoneFileUnsynced = 0;
    const std::string path = JoinPath(m_szDataFolder, "pn.cfg");
    int error = 0;
    if (!ReplaceFileContents(path, m_editPhoneNumber.GetWindowText(), &error) &&
        !m_bPhoneFileWarned) {
        m_bPhoneFileWarned = 1;
        WarnFileFailure("Could not write", path, error);
    }
}

void CDialogSelect::OnSelchangeAutoHangup() {
    WriteDialFile("hut.cfg", std::to_string(m_cboAutoHangup.GetCurSel()), m_bHangupFileWarned,
                  true);
    ResetAutoHangup();
    m_editTerminal.SetFocus();
}
