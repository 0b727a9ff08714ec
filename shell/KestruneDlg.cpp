#include "shell/KestruneDlg.h"

#include <QApplication>

#include "communicate/DialogSelect.h"
#include "framework/MessageMap.h"
#include "framework/ModalRunner.h"
#include "framework/Timers.h"
#include "plot/DialogPlot.h"
#include "resources/Icons.h"
#include "resources/ResourceShell.h"
#include "schedule/DialogSchedule.h"
#include "shell/InfoDialogs.h"
#include "upgrade/DialogUpgrade.h"

namespace {
const MessageMapEntry<CKestruneDlg> kMessageMap[] = {
    OnNotify<CKestruneDlg>(BN_CLICKED, ID_HELP, &CKestruneDlg::OnHelp),
    OnNotify<CKestruneDlg>(BN_CLICKED, IDC_ABOUT, &CKestruneDlg::OnAbout),
    OnNotify<CKestruneDlg>(BN_CLICKED, IDC_WHERES_MY_DATA, &CKestruneDlg::OnWhereIsMyData),
};
} // namespace

CKestruneDlg::CKestruneDlg(CWnd* parent) : CDialog(IDD_KESTRUNE_DIALOG, parent) {}

CKestruneDlg::~CKestruneDlg() {
    if (IsCreated())
        DestroyWindow();
}

void CKestruneDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_AUTOPOLL_DISABLED, m_stcAutopollDisabled);
    DDX_Control(pDX, IDC_PROGRAM_ICON, m_stcIcon);
    DDX_Control(pDX, IDOK, m_btnExit);
    DDX_Control(pDX, ID_HELP, m_btnHelp);
    DDX_Control(pDX, IDC_TAB, m_tabCtrl);
    DDX_Control(pDX, IDC_ABOUT, m_btnAbout);
    DDX_Control(pDX, IDC_WHERES_MY_DATA, m_btnWhereIsMyData);
}

BOOL CKestruneDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    QWidget* window = GetWidget();

    // The window manager's own menu cannot take an About entry; the
    // "About" button offers it.
    window->setWindowIcon(LoadAppIcon(IDR_MAINFRAME));
    QApplication::setWindowIcon(LoadAppIcon(IDR_MAINFRAME));
    window->setWindowFlags(window->windowFlags() | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);

    m_imageList.Create(LoadBitmapResource(IDB_TABS), 15, RGB(0, 255, 0));
    m_tabCtrl.SetImageList(&m_imageList);

    m_pSelect = AddPage<CDialogSelect>(IDD_SELECT, "Communicate", 0);
    m_pPlot = AddPage<CDialogPlot>(IDD_PLOT, "View Plot", 1);
    m_tabCtrl.SetNewDump(0);
    m_pSchedule = AddPage<CDialogSchedule>(IDD_SCHEDULE, "Schedule", 2);
    m_pUpgrade = AddPage<CDialogUpgrade>(IDD_UPGRADE, "Firmware Upgrade", 3);

    m_tabCtrl.SetSelectedColor(RGB(0, 0, 255));
    m_tabCtrl.SetMouseOverColor(RGB(255, 255, 255));

    ShowWindow(SW_SHOWMAXIMIZED);
    SetTimer(IDT_BLINK, 100);
    return TRUE;
}

template <class Page> Page* CKestruneDlg::AddPage(int templateId, const char* caption, int image) {
    auto* page = new Page();
    page->Create(templateId, &m_tabCtrl);
    m_tabCtrl.AddTab(page, caption, image);
    // Only now may the page reach the shared state (from its timers).
    page->m_pTabCtrl = &m_tabCtrl;
    return page;
}

BOOL CKestruneDlg::OnCommand(UINT id, UINT code) {
    if (DispatchNotify(this, kMessageMap, id, code))
        return TRUE;
    return CDialog::OnCommand(id, code);
}

BOOL CKestruneDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN || (msg->wParam != VK_RETURN && msg->wParam != VK_ESCAPE))
        return CDialog::PreTranslateMessage(msg);
    // A stray key must not end the program (and every scheduled call with
    // it): Enter works only on a push button that has the focus ("Exit"
    // among them), Esc not at all.
    if (msg->wParam == VK_RETURN) {
        for (CButton* button : {&m_btnExit, &m_btnHelp, &m_btnAbout, &m_btnWhereIsMyData}) {
            if (button->HasFocus()) {
                button->Click();
                break;
            }
        }
    }
    return TRUE;
}

bool CKestruneDlg::RefuseWhileModemInUse() {
    if (!m_tabCtrl.IsModemInUse())
        return false;
    MessageBox("Press 'Hangup' on the Communicate Tab and then exit", "Information",
               MB_ICONINFORMATION);
    return true;
}

void CKestruneDlg::OnOK() {
    if (RefuseWhileModemInUse())
        return;
    CDialog::OnOK();
}

void CKestruneDlg::OnCancel() {
    if (RefuseWhileModemInUse())
        return;
    CDialog::OnCancel();
}

void CKestruneDlg::OnClose() {
    if (RefuseWhileModemInUse())
        return;
    EndDialog(IDCANCEL);
}

void CKestruneDlg::OnDestroy() {
    KillTimer(IDT_BLINK);
    KillTimer(IDT_ENDING);
    delete m_pSelect;
    m_pSelect = nullptr;
    delete m_pPlot;
    m_pPlot = nullptr;
    delete m_pSchedule;
    m_pSchedule = nullptr;
    delete m_pUpgrade;
    m_pUpgrade = nullptr;
}

void CKestruneDlg::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (!m_pSelect || !m_pPlot || !m_pSchedule || !m_pUpgrade)
        return;
    const UINT keep = SWP_NOZORDER | SWP_NOACTIVATE;
    m_tabCtrl.SetWindowPos(7, 7, cx - 15, cy - 50, keep);
    m_btnHelp.SetWindowPos(7, cy - 34, 0, 0, keep | SWP_NOSIZE);
    m_stcAutopollDisabled.SetWindowPos(120, cy - 28, 0, 0, keep | SWP_NOSIZE);
    m_stcIcon.SetWindowPos(cx - 317, cy - 37, 0, 0, keep | SWP_NOSIZE);
    m_btnWhereIsMyData.SetWindowPos(cx - 277, cy - 34, 0, 0, keep | SWP_NOSIZE);
    m_btnAbout.SetWindowPos(cx - 172, cy - 34, 0, 0, keep | SWP_NOSIZE);
    m_btnExit.SetWindowPos(cx - 83, cy - 34, 0, 0, keep | SWP_NOSIZE);
    for (CWnd* page : {static_cast<CWnd*>(m_pSelect), static_cast<CWnd*>(m_pPlot),
                       static_cast<CWnd*>(m_pSchedule), static_cast<CWnd*>(m_pUpgrade)})
        page->SetWindowPos(5, 28, cx - 30, cy - 80, keep);
}

void CKestruneDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
    // Every page's controls within its edges: the widest reach 702 pixels
    // (the Communicate page's top row), the lowest 486 (the Firmware page's
    // "More +"); the pages sit 30 by 80 pixels inside the window. It fits
    // an 800 x 600 screen.
    info->ptMinTrackSize = CPoint{740, 570};
}

void CKestruneDlg::EndOnSignal() {
    ModalRunner::Get().EndAll(this);
    if (m_bEnding)
        return;
    m_bEnding = 1;
    // Nothing of theirs runs any more: no start-up step, no call handed out
    // or recorded, no upgrade step.
    for (CWnd* page : {static_cast<CWnd*>(m_pPlot), static_cast<CWnd*>(m_pSchedule)})
        if (page)
            TimerQueue::Instance().KillAll(page);
    if (m_pUpgrade)
        m_pUpgrade->EndForSignal();
    if (m_pSelect && m_pSelect->EndForSignal()) {
        m_nEndingTicks = 0;
        SetTimer(IDT_ENDING, 100);
        return;
    }
    EndDialog(IDCANCEL);
}

void CKestruneDlg::OnTimer(UINT id) {
    if (id == IDT_ENDING) {
        // Ended by "ATH", or after 4 s whatever the hang-up has reached.
        if (!m_tabCtrl.IsModemInUse() || ++m_nEndingTicks >= 40) {
            KillTimer(IDT_ENDING);
            EndDialog(IDCANCEL);
        }
        return;
    }
    if (id != IDT_BLINK)
        return;
    KillTimer(IDT_BLINK);
    if (!m_tabCtrl.IsAutoPollDisabled()) {
        m_stcAutopollDisabled.ShowWindow(SW_HIDE);
        m_bBlinkOn = 0; // the next warning starts with its visible phase
    } else {
        m_bBlinkOn = m_bBlinkOn ? 0 : 1;
        m_stcAutopollDisabled.ShowWindow(m_bBlinkOn ? SW_SHOW : SW_HIDE);
    }
    SetTimer(IDT_BLINK, 500);
}

void CKestruneDlg::OnHelp() {
    if (m_tabCtrl.IsCurrentPage(PAGE_COMMUNICATE)) {
        CHelpCommsDlg dlg;
        dlg.DoModal();
    } else if (m_tabCtrl.IsCurrentPage(PAGE_VIEW_PLOT)) {
        CHelpPlotDlg dlg;
        dlg.DoModal();
    } else if (m_tabCtrl.IsCurrentPage(PAGE_SCHEDULE)) {
        CHelpScheduleDlg dlg;
        dlg.DoModal();
    } else {
        CHelpUpgradeDlg dlg;
        dlg.DoModal();
    }
}

void CKestruneDlg::OnAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CKestruneDlg::OnWhereIsMyData() {
    CMyDataDlg dlg;
    dlg.SetPath(m_tabCtrl.GetDataFolder());
    dlg.DoModal();
}
