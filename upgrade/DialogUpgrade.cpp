#include "upgrade/DialogUpgrade.h"

#include "framework/MessageMap.h"
#include "shell/CommPort.h"
#include "shell/XTabCtrl.h"

namespace {

const MessageMapEntry<CDialogUpgrade> kMessageMap[] = {
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_SELECT_FILE, &CDialogUpgrade::OnBnClickedSelectFile),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_START_UPGRADE,
                             &CDialogUpgrade::OnBnClickedStartUpgrade),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_FERRANT,
                             &CDialogUpgrade::OnBnClickedDeviceFerrant),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_QUENTA,
                             &CDialogUpgrade::OnBnClickedDeviceQuenta),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_PX70, &CDialogUpgrade::OnBnClickedDevicePx70),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_PX80, &CDialogUpgrade::OnBnClickedDevicePx80),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_SEND_RESET, &CDialogUpgrade::OnBnClickedSendReset),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_STOP_UPGRADE, &CDialogUpgrade::OnBnClickedStopUpgrade),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_MORE, &CDialogUpgrade::OnBnClickedMore),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_VX5400,
                             &CDialogUpgrade::OnBnClickedDeviceVx5400),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_VX6400,
                             &CDialogUpgrade::OnBnClickedDeviceVx6400),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_LINDQVAR,
                             &CDialogUpgrade::OnBnClickedDeviceLindqvar),
    OnNotify<CDialogUpgrade>(BN_CLICKED, IDC_DEVICE_LINDQVAR_PLUS,
                             &CDialogUpgrade::OnBnClickedDeviceLindqvarPlus),
};

const char kNoPort[] =
    "No Comm Port is open.\nSelect a Comm Port on the Communicate tab and try again.";

} // namespace

CDialogUpgrade::CDialogUpgrade() : CDialog(IDD_UPGRADE) {}

CDialogUpgrade::~CDialogUpgrade() = default;

void CDialogUpgrade::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTE_VX6400, m_stcNoteVx6400);
    DDX_Control(pDX, IDC_NOTE_VX5400, m_stcNoteVx5400);
    DDX_Control(pDX, IDC_DEVICE_VX6400, m_chkVx6400);
    DDX_Control(pDX, IDC_PASSWORD_LABEL, m_stcPasswordLabel);
    DDX_Control(pDX, IDC_DEVICE_VX5400, m_chkVx5400);
    DDX_Control(pDX, IDC_TX_LABEL, m_stcTxLabel);
    DDX_Control(pDX, IDC_SEND_LABEL, m_stcSendLabel);
    DDX_Control(pDX, IDC_RX_LABEL, m_stcRxLabel);
    DDX_Control(pDX, IDC_RESEND_LABEL, m_stcReSendLabel);
    DDX_Control(pDX, IDC_MORE, m_btnMore);
    DDX_Control(pDX, IDC_STOP_UPGRADE, m_btnStopUpgrade);
    DDX_Control(pDX, IDC_SEND_RESET, m_btnSendReset);
    DDX_Control(pDX, IDC_TX_LINE, m_stcTxLine);
    DDX_Control(pDX, IDC_RX_LINE, m_stcRxLine);
    DDX_Control(pDX, IDC_SEND_COUNT, m_stcSendCount);
    DDX_Control(pDX, IDC_RESEND_COUNT, m_stcReSendCount);
    DDX_Control(pDX, IDC_DEVICE_PX80, m_chkPx80);
    DDX_Control(pDX, IDC_DEVICE_QUENTA, m_chkQuenta);
    DDX_Control(pDX, IDC_DEVICE_PX70, m_chkPx70);
    DDX_Control(pDX, IDC_DEVICE_FERRANT, m_chkFerrant);
    DDX_Control(pDX, IDC_STEP_COMPLETE, m_stcComplete);
    DDX_Control(pDX, IDC_STEP_VERSION, m_stcVersion);
    DDX_Control(pDX, IDC_UPGRADE_STATUS, m_stcStatus);
    DDX_Control(pDX, IDC_STEP_PROGRAMMING, m_stcProgramming);
    DDX_Control(pDX, IDC_STEP_PASSWORD, m_stcPasswordAccepted);
    DDX_Control(pDX, IDC_FILE_LINE, m_stcFileLine);
    DDX_Control(pDX, IDC_STEP_ERASE, m_stcErase);
    DDX_Control(pDX, IDC_STEP_EXECUTE, m_stcExecute);
    DDX_Control(pDX, IDC_STEP_COPY, m_stcCopy);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Control(pDX, IDC_START_UPGRADE, m_btnStartUpgrade);
    DDX_Control(pDX, IDC_SELECT_FILE, m_btnSelectFile);
    DDX_Control(pDX, IDC_DEVICE_LINDQVAR, m_chkLindqvar);
    DDX_Control(pDX, IDC_DEVICE_LINDQVAR_PLUS, m_chkLindqvarPlus);
    DDX_Control(pDX, IDC_NOTE_LINDQVAR, m_stcNoteLindqvar);
    DDX_Control(pDX, IDC_NOTE_LINDQVAR_PLUS, m_stcNoteLindqvarPlus);
}

BOOL CDialogUpgrade::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_btnStartUpgrade.EnableWindow(FALSE);

    m_bFirstBrowse = 1;

    HideStepLabels();
    m_bMore = 0;

    OnBnClickedDeviceQuenta();

    SetTimer(IDT_UPGRADE_STARTUP, 100);
    SetTimer(IDT_UPGRADE_RECALL, 200);
    return TRUE;
}

BOOL CDialogUpgrade::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

BOOL CDialogUpgrade::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_ESCAPE || msg->wParam == VK_RETURN) &&
        IsCurrent(PAGE_FIRMWARE_UPGRADE))
        return TRUE;
    return CDialog::PreTranslateMessage(msg);
}

void CDialogUpgrade::OnClose() {
    for (UINT id = IDT_UPGRADE_RECALL; id <= IDT_UPGRADE_LOAD; ++id)
        KillTimer(id);
}

void CDialogUpgrade::OnTimer(UINT id) {
    switch (id) {
    case IDT_UPGRADE_STARTUP:
        KillTimer(IDT_UPGRADE_STARTUP);
        if (m_pTabCtrl) {
            m_szDataFolder = m_pTabCtrl->GetDataFolder();
            m_pCommPort = m_pTabCtrl->GetCommPort();
        }
        break;
    case IDT_UPGRADE_RECALL:
        KillTimer(IDT_UPGRADE_RECALL);
        if (IsCurrent(PAGE_FIRMWARE_UPGRADE))
            RecallFirmwareFile();
        else
            SetTimer(IDT_UPGRADE_RECALL, 100);
        break;
    case IDT_UPGRADE_LOAD:
        LoadImage();
        break;
    case IDT_SDI12_ADDRESS_QUERY:
    case IDT_SDI12_ADDRESS_REPLY:
    case IDT_SDI12_PROGRAM_COMMAND:
    case IDT_SDI12_PROGRAM_REPLY:
    case IDT_SDI12_LATE_REPLY:
    case IDT_LOGGER_PASSWORD:
    case IDT_LOGGER_PROGRAM_MODE:
    case IDT_LOGGER_COPY_STAGE:
    case IDT_LOGGER_EXECUTE_STAGE:
    case IDT_START_RECORDS:
    case IDT_RECORDS:
    case IDT_NEW_VERSION:
        OnSequenceTimer(id);
        break;
    default:
        break;
    }
}

bool CDialogUpgrade::IsCurrent(int page) const {
    return m_pTabCtrl && m_pTabCtrl->IsCurrentPage(page);
}

CCommPort* CDialogUpgrade::TakePort() {
    // The Communicate page may open a port after this page started, or another one.
    if (m_pTabCtrl)
        m_pCommPort = m_pTabCtrl->GetCommPort();
    if (m_pCommPort == nullptr || !m_pCommPort->IsOpen()) {
        Warn(kNoPort);
        return nullptr;
    }
    return m_pCommPort;
}

void CDialogUpgrade::EnableTabs(BOOL enable) {
    if (!m_pTabCtrl)
        return;
    for (int tab = 0; tab < 4; ++tab)
        m_pTabCtrl->EnableTab(tab, enable);
}

void CDialogUpgrade::EnableDeviceBoxes(BOOL enable) {
    for (CButton* box : {&m_chkQuenta, &m_chkPx70, &m_chkPx80, &m_chkFerrant, &m_chkVx5400,
                         &m_chkVx6400, &m_chkLindqvar, &m_chkLindqvarPlus})
        box->EnableWindow(enable);
}

void CDialogUpgrade::ReleasePage() {
    m_btnSelectFile.EnableWindow(TRUE);
    m_btnStartUpgrade.EnableWindow(TRUE);
    m_editPassword.EnableWindow(TRUE);
    EnableDeviceBoxes(TRUE);
    EnableTabs(TRUE);
}

void CDialogUpgrade::ShowStepLabel(int id, bool show) {
    if (CWnd* label = GetDlgItem(id))
        label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CDialogUpgrade::HideStepLabels() {
    for (int id : {IDC_STEP_VERSION, IDC_STEP_PASSWORD, IDC_STEP_ERASE, IDC_STEP_COPY,
                   IDC_STEP_EXECUTE, IDC_STEP_PROGRAMMING, IDC_STEP_COMPLETE})
        ShowStepLabel(id, false);
}

void CDialogUpgrade::SetStatus(const char* text) {
    m_stcStatus.SetWindowText(text);
}

void CDialogUpgrade::Warn(const char* text) {
    MessageBox(text, "Warning", MB_OK | MB_ICONEXCLAMATION);
}
