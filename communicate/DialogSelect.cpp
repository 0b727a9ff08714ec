#include "communicate/DialogSelect.h"

#include <memory>
#include <vector>

#include "communicate/DataFolder.h"
#include "framework/Environment.h"
#include "framework/FileWarning.h"
#include "framework/MessageMap.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

namespace {

const MessageMapEntry<CDialogSelect> kMessageMap[] = {
    OnNotify<CDialogSelect>(CBN_SELCHANGE, IDC_COMBO_PORT, &CDialogSelect::OnSelchangePort),
    OnNotify<CDialogSelect>(CBN_DROPDOWN, IDC_COMBO_PORT, &CDialogSelect::OnDropdownPort),
    OnNotify<CDialogSelect>(CBN_SELCHANGE, IDC_COMBO_BAUD, &CDialogSelect::OnSelchangeBaud),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_CLEAR_SCREEN, &CDialogSelect::OnClearScreen),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_START_CAPTURE, &CDialogSelect::OnStartCapture),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_DIAL, &CDialogSelect::OnDial),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_HANGUP, &CDialogSelect::OnHangup),
    OnNotify<CDialogSelect>(EN_CHANGE, IDC_PHONE_NUMBER, &CDialogSelect::OnChangePhoneNumber),
    OnNotify<CDialogSelect>(EN_KILLFOCUS, IDC_PHONE_NUMBER, &CDialogSelect::OnKillfocusPhoneNumber),
    OnNotify<CDialogSelect>(CBN_SELCHANGE, IDC_AUTO_HANGUP, &CDialogSelect::OnSelchangeAutoHangup),
    OnNotifyRange<CDialogSelect>(BNHS_RCLICKED, IDC_USER_BUTTON1, IDC_USER_BUTTON5,
                                 &CDialogSelect::OnDefineButtons),
    OnNotifyRange<CDialogSelect>(BNHS_RCLICKED, IDC_USER_BUTTON6, IDC_USER_BUTTON8,
                                 &CDialogSelect::OnDefineButtons),
    OnNotifyRange<CDialogSelect>(BN_CLICKED, IDC_USER_BUTTON1, IDC_USER_BUTTON5,
                                 &CDialogSelect::OnButtonClicked),
    OnNotifyRange<CDialogSelect>(BN_CLICKED, IDC_USER_BUTTON6, IDC_USER_BUTTON8,
                                 &CDialogSelect::OnButtonClicked),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_LEVEL_UP, &CDialogSelect::OnNextLevel),
    OnNotify<CDialogSelect>(BN_CLICKED, IDC_LEVEL_DOWN, &CDialogSelect::OnPrevLevel),
};

// The port object lives for the whole run: pages that borrow it may outlive
// the Communicate page. It is freed when the process ends.
std::vector<std::unique_ptr<CCommPort>>& PortsOfTheRun() {
    static std::vector<std::unique_ptr<CCommPort>> ports;
    return ports;
}

} // namespace

CDialogSelect::CDialogSelect() : CDialog(IDD_SELECT) {}

CDialogSelect::~CDialogSelect() {
    // Open dump and capture files close with the page; the port object
    // stays, closed, until the process ends.
    CloseDump();
    StopCapture();
    if (m_pCommPort)
        m_pCommPort->Close();
}

void CDialogSelect::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FRAMING, m_stcFraming);
    DDX_Control(pDX, IDC_LEVEL, m_stcLevel);
    DDX_Control(pDX, IDC_DUMP_DATE, m_stcDumpDate);
    DDX_Control(pDX, IDC_CAPTURE_FILE, m_stcCaptureFile);
    DDX_Control(pDX, IDC_STATUS, m_stcStatus);
    DDX_Control(pDX, IDC_AUTO_HANGUP, m_cboAutoHangup);
    DDX_Control(pDX, IDC_CLEAR_SCREEN, m_btnClearScreen);
    DDX_Control(pDX, IDC_PHONE_NUMBER, m_editPhoneNumber);
    DDX_Control(pDX, IDC_HANGUP, m_btnHangup);
    DDX_Control(pDX, IDC_DIAL, m_btnDial);
    DDX_Control(pDX, IDC_COMBO_BAUD, m_cboBaud);
    for (int k = 0; k < 8; ++k)
        DDX_Control(pDX, kFileLabelIds[k], m_stcFileLabel[k]);
    DDX_Control(pDX, IDC_START_CAPTURE, m_btnCapture);
    for (int k = 0; k < 8; ++k)
        DDX_Control(pDX, kUserButtonIds[k], m_btnUser[k]);
    DDX_Control(pDX, IDC_TERMINAL, m_editTerminal);
    DDX_Control(pDX, IDC_COMBO_PORT, m_cboPort);
    DDX_Control(pDX, IDC_LEVEL_DOWN, m_btnLevelDown);
    DDX_Control(pDX, IDC_LEVEL_UP, m_btnLevelUp);
}

BOOL CDialogSelect::OnInitDialog() {
    CDialog::OnInitDialog();

    m_szDataFolder = DataFolderPath();
    int folderError = 0;
    PrepareDataFolder(m_szDataFolder, &folderError);
    if (folderError != 0) {
        // Told once: the settings files that cannot be saved there follow from it.
        m_bToldConfigFailure = 1;
        WarnFileFailure("Could not create the data folder", m_szDataFolder, folderError);
    }

    m_nButtonLevel = 1;
    m_bCollectReply = 0;
    m_nDumpState = DumpState::Idle;
    m_nCaptureKind = CaptureKind::None;
    m_stcStatus.SetWindowText("");
    m_stcDumpDate.SetWindowText("");
    for (CStatic& label : m_stcFileLabel)
        label.SetWindowText("");
    m_stcCaptureFile.SetWindowText("");

    const DWORD table[8] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 1200};
    for (int k = 0; k < 8; ++k)
        m_dwBaudTable[k] = table[k];
    for (const char* entry : {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "SDI-12"})
        m_cboBaud.AddString(entry);
    m_nPortNumber = 0;

    auto port = std::make_unique<CCommPort>();
    m_pCommPort = port.get();
    PortsOfTheRun().push_back(std::move(port));

    m_nBaudIndex = 3;
    m_dwBaudRate = 9600;

    m_fontTerminal = QFont("Courier New");
    m_fontTerminal.setStyleHint(QFont::Monospace);
    m_fontTerminal.setFixedPitch(true);
    m_fontTerminal.setPixelSize(12);
    if (QWidget* terminal = m_editTerminal.GetWidget())
        terminal->setFont(m_fontTerminal);
    // The start-up step gives the terminal the focus; given it now as well,
    // the window maps with it and the step repaints nothing for it.
    m_editTerminal.SetFocus();

    SetTimer(IDT_STARTUP, 100);
    SetTimer(IDT_SECOND, 1000);
    return TRUE;
}

BOOL CDialogSelect::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

bool CDialogSelect::IsCurrent(int page) const {
    return m_pTabCtrl && m_pTabCtrl->IsCurrentPage(page);
}

void CDialogSelect::OnTimer(UINT id) {
    switch (id) {
    case IDT_STARTUP:
        KillTimer(IDT_STARTUP);
        if (m_pTabCtrl)
            m_pTabCtrl->SetDataFolder(m_szDataFolder.c_str());
        CloseDump();
        LoadButtons();
        RestorePort();
        m_editTerminal.SetFocus();
        if (m_pTabCtrl) {
            m_pTabCtrl->SetHangupTimeLeft(0);
            m_pTabCtrl->SetModemInUse(0);
        }
        LoadDiallerSettings();
        SetTimer(IDT_POLL, 100);
        break;
    case IDT_POLL:
        Poll();
        break;
    case IDT_SECOND:
        OnSecondTick();
        break;
    case IDT_DIAL:
        OnDialStep();
        break;
    case IDT_HANGUP:
        OnHangupStep();
        break;
    case IDT_WAITCONNECT:
    case IDT_CHECKREPLY:
    case IDT_COMMAND1:
    case IDT_WAITCMD1:
    case IDT_COMMAND2:
    case IDT_WAITCMD2:
    case IDT_COMMAND3:
    case IDT_WAITCMD3:
    case IDT_ENDSESSION:
        OnSessionTimer(id);
        break;
    default:
        OnCommandTimer(id);
        break;
    }
}

void CDialogSelect::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (!m_editTerminal.IsCreated())
        return;
    SetRedraw(FALSE);
    m_editTerminal.MoveWindow(10, 75, cx - 20, cy - 90);
    m_stcStatus.SetWindowPos(10, cy - 14, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_stcDumpDate.SetWindowPos(380, cy - 14, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetRedraw(TRUE);
    Invalidate();
}

void CDialogSelect::OnClose() {
    for (UINT id : {10006u, 10000u, 10002u, 10003u, 10004u, 10005u, 10001u, 10008u, 10009u, 10010u,
                    10011u, 10012u, 10013u, 10014u, 10015u, 10016u, 10017u})
        KillTimer(id);
    // The port object is kept for the run (see PortsOfTheRun); only the
    // line is let go.
    if (m_pCommPort)
        m_pCommPort->Close();
}
