// CKestruneDlg: the main window. It holds the tab control with the shared
// page state, creates the four pages, lays them out, blinks the
// auto-polling warning and refuses to close while the modem is in use.
#pragma once

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "shell/XTabCtrl.h"

class CDialogSelect;
class CDialogPlot;
class CDialogSchedule;
class CDialogUpgrade;

constexpr UINT IDT_BLINK = 10000;
constexpr UINT IDT_ENDING = 10001;

class CKestruneDlg : public CDialog {
public:
    explicit CKestruneDlg(CWnd* parent = nullptr);
    ~CKestruneDlg() override;

    CXTabCtrl& GetTabCtrl() { return m_tabCtrl; }
    CDialogSelect* GetSelectPage() const { return m_pSelect; }
    CDialogPlot* GetPlotPage() const { return m_pPlot; }
    CDialogSchedule* GetSchedulePage() const { return m_pSchedule; }
    CDialogUpgrade* GetUpgradePage() const { return m_pUpgrade; }

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;
    void OnDestroy() override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnTimer(UINT id) override;
    void OnGetMinMaxInfo(MINMAXINFO* info) override;
    BOOL OnCommand(UINT id, UINT code) override;
    // Esc never ends the program; Enter clicks only a focused push button.
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnHelp();
    void OnAbout();
    void OnWhereIsMyData();
    // A termination signal: every box and dialog up ends and nothing more
    // starts; a modem call up is hung up first (for at most 4 s), then the
    // window ends as Exit ends it, without its question.
    void EndOnSignal();

private:
    // Creates a page as a child of the tab control and adds its tab.
    template <class Page> Page* AddPage(int templateId, const char* caption, int image);
    // True (after telling the user) while the modem line is in use.
    bool RefuseWhileModemInUse();

    CStatic m_stcAutopollDisabled;
    CStatic m_stcIcon;
    CButton m_btnExit;
    CButton m_btnHelp;
    CXTabCtrl m_tabCtrl;
    CImageList m_imageList;
    CDialogSelect* m_pSelect = nullptr;
    CDialogUpgrade* m_pUpgrade = nullptr;
    CDialogSchedule* m_pSchedule = nullptr;
    CDialogPlot* m_pPlot = nullptr;
    BYTE m_bBlinkOn = 0;
    BYTE m_bEnding = 0;
    // 100 ms ticks of the hang-up before the end.
    int m_nEndingTicks = 0;
    CButton m_btnAbout;
    CButton m_btnWhereIsMyData;
};
